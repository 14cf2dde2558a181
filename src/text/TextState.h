// The text being edited and every line number that must follow it when lines
// come and go. Lines are heap blocks holding a counted string: byte 0 is the
// capacity (0..255) and also the length, bytes 1..capacity the text padded
// with blanks. Entry 0 of the table is the status row's text, not a text line.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

namespace lumo {

inline constexpr int MaxLines = 24575;            // 0x5FFF: table slots less entry 0
inline constexpr int TableSlots = MaxLines + 1;
inline constexpr size_t TableBytes = 98304;       // what the table costs in the budget
inline constexpr size_t DefaultBudget = 9u << 20; // 9 MiB: the largest text fits
inline constexpr int StatusCapacity = 132;

struct PositionMark {
  int16_t Line = 0;  // cursor line of the mark, 0 = unset
  int16_t Top = 0;   // top line of the window when it was set
  int16_t Col = 0;   // cursor column
};

struct TextState {
  TextState();
  ~TextState();
  TextState(const TextState&) = delete;
  TextState& operator=(const TextState&) = delete;

  // The line table: Lines[1..LineCount] are text lines, Lines[0] the status row.
  uint8_t** Lines = nullptr;
  int16_t LineCount = 0;
  // Lines read by the loader are carved out of two areas (LineStore.cpp says
  // why two) instead of one allocation each: a load is then a copy per line
  // and nothing more. Such a line is never freed on its own; the areas go
  // with FreeAllLines.
  struct LoadArea {
    uint8_t* Base = nullptr;
    size_t Used = 0;   // bytes handed out
    size_t Ready = 0;  // bytes whose pages are already in
  };
  LoadArea Areas[2];

  // Memory budget: the "free heap" that allocations of text are checked against.
  size_t BudgetLimit = DefaultBudget;  // total bytes allowed
  size_t BudgetUsed = 0;               // bytes currently held by the table and lines

  // Cursor and window.
  int16_t CurLine = 1;    // line of the cursor
  int16_t CurCol = 1;     // column of the cursor, 1-based
  int16_t TopLine = 1;    // line shown in screen row 3
  uint8_t HScroll = 0;    // line columns hidden on the left

  // Blocks and marks, 0 = unset. The store renumbers all of them.
  int16_t BlockFirst = 0, BlockLast = 0;
  int16_t RectFirstLine = 0, RectLastLine = 0;
  int16_t RectFirstCol = 0, RectLastCol = 0;
  int16_t LineMark[4] = {0, 0, 0, 0};  // [1..3]
  PositionMark PosMark[3];             // [1..2]
  // Get back (Ctrl+F3): a ring of earlier positions; an entry with Col 0 is empty.
  PositionMark Jumps[16];
  uint8_t JumpIndex = 0;               // newest entry, modulo 16
  int16_t ColumnMark = 1;

  // Margins.
  int16_t LeftMargin = 1;
  uint8_t RightMargin = 254;   // typing margin and least capacity of new lines
  uint8_t FormatWidth = 254;   // paragraph width
  uint8_t BlankLength = 254;   // length of the shared blank string (RightMargin at load)
  uint8_t TabStep = 8;
  uint8_t TabStops[33] = {};   // [1..32]

  // Flags and modes.
  bool Modified = false;           // text differs from the file
  uint8_t OpFailed = 0;            // 0 = the last operation succeeded
  bool InsertMode = true;          // typed characters are inserted, else overwrite
  bool RusMode = false;            // typed Latin letters become Cyrillic
  bool PseudographicsMode = true;  // Shift + keypad types box drawing
  bool ProgramTextMode = false;    // Pascal templates on Ctrl+letters
  bool LengthLimit = true;         // typing wraps at the margins

  // Line history ring and the one-key snapshots.
  uint8_t HistorySlot[16][256] = {};  // counted strings
  uint8_t HistoryNewest = 255;        // 255 = nothing pushed yet
  bool LineSaved = false;             // current line pushed in this editing episode
  uint8_t Snapshot[2][256] = {};      // counted strings
  int16_t SnapshotCol[2] = {1, 1};
  uint8_t SnapshotToggle = 0;

  // How the store reports a refusal ("too many lines", "no memory"): the
  // application shows it on the message row and waits; tests record it.
  std::function<void(TextState&, std::string_view message)> Notify;
};

// Setting a mark overwrites what it held. The mark commands and the prompt
// line (which takes the same keys while a prompt is open) both set them here.
inline void SetLineMark(TextState& t, int k) { t.LineMark[k] = t.CurLine; }
inline void SetPositionMark(TextState& t, int k) { t.PosMark[k] = {t.CurLine, t.TopLine, t.CurCol}; }

}  // namespace lumo

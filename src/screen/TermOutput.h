// Cell output to a terminal: the bytes that turn what the terminal shows into
// what the editor wrote. It is pure (no I/O): the terminal code sends the
// result in one write, the tests feed it into a terminal emulator.
//
// TermFront is the terminal as far as we know it: one 32-bit value per cell,
// row after row, holding the cell (attribute << 8 | character) or UnknownCell
// where the terminal may show anything; beside the cells the state the next
// bytes depend on: the SGR attribute in force, where the terminal's cursor
// stands and whether it is visible. Each of these may be unknown, and unknown
// is always safe: it only costs bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "screen/Console.h"

namespace lumo {

inline constexpr uint32_t UnknownCell = 0xFFFFFFFFu;

struct TermFront {
  int W = 0, H = 0;             // geometry the cells were recorded for
  std::vector<uint32_t> Cells;  // W * H, row-major
  bool NeedClear = true;        // the next render starts with a full clear
  int Attr = -1;                // attribute of the SGR in force, -1 unknown
  int Row = -1, Col = -1;       // the terminal's cursor (0-based), -1 unknown
  int Visible = -1;             // cursor visibility: -1 unknown, 0 hidden, 1 shown
  // Whether an erase paints in the colours set (back-colour erase, as nearly
  // every terminal does): then a clear leaves blanks in the editor's plain
  // colours, and those cells need not be sent after it.
  bool EraseInColour = true;

  // After this the terminal is taken to show anything: the next render
  // clears it and sends every cell that is not blank (a forced update).
  void Forget() { NeedClear = true; }
};

// The bytes that make the terminal show back[0..w*h) with the cursor at
// (cursorCol, cursorRow), 0-based; a position outside the screen hides it.
// Updates front to match. Nothing changed gives an empty string.
std::string RenderUpdate(TermFront& front, const Cell* back, int w, int h, int cursorCol,
                         int cursorRow);

// The SGR that switches from attribute `from` (-1 unknown) to `to`; empty
// when they are the same.
std::string SgrBytes(int from, uint8_t to);

// The plain notice shown instead of the editor while the terminal is smaller
// than cols x rows allow: the page, cleared, with the text wrapped into the
// columns there are. Leaves the cursor hidden.
std::string SizeNoticeBytes(int cols, int rows);
// The notice's lines (UTF-8) as they are laid out for a cols x rows terminal:
// at most rows lines, none longer than cols characters.
std::vector<std::string> SizeNoticeLines(int cols, int rows);

}  // namespace lumo

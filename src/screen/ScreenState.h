// What the drawing code keeps between calls: the console, display settings,
// the message row's idle cell, and the marks of what is to be drawn next.
#pragma once
#include <cstdint>
#include "screen/Console.h"

namespace lumo {

// The state besides the text that the window's rows are drawn from. The draw
// step keeps the one it last drew with; any difference but the cursor's line
// means every row, since a scroll, a block, a mark or a line that came or
// went moves or recolours rows everywhere.
struct WindowView {
  int16_t Top = 0, LineCount = 0;
  int16_t CurLine = 0, CurCol = 0;  // 0 without the cursor cross: no row shows them
  int16_t Block[2] = {}, Rect[4] = {}, LineMark[4] = {};
  uint8_t Left = 0, FileType = 0, CommentColour = 0;
  bool operator==(const WindowView&) const = default;
};

// What changed on screen since the last draw step. Commands mark the text
// lines they changed; the loop marks the status row and, at its redraw
// point, the whole window. Marks pile up while input is waiting and are all
// drawn when it runs dry.
struct DrawMarks {
  bool Shown = false;   // the window is on screen, so changes of the view show on it
  bool Window = false;  // every text row
  bool Status = false;  // the status row
  uint8_t Count = 0;    // Lines[0..Count) are text lines to draw again
  int16_t Lines[8] = {};
  WindowView View;      // what the shown window was drawn from
};

struct ScreenState {
  Console* Con = nullptr;        // where cells go and keys come from
  size_t CellIndex = 0;          // the current-cell pointer of CellAt, as an index
  bool CursorCross = true;       // option "+" turns it off
  bool HalfScroll = true;        // sideways scroll by half screens; option "J" turns it off
  uint8_t CommentColour = 3;     // option "C" digit
  uint8_t FileType = 0;          // 2 = program text ("{" comments are coloured)
  Cell MessageIdle = MakeCell(0xB0, 7);  // drawn with bit 0x0800 while LengthLimit is off
  uint8_t ChoicePreselect = 1;   // option a choice bar starts on
  uint16_t ChoiceResult = 0;     // answer of the last choice bar
  KeyCode ChoiceKey = 0;         // the key that answered it
  uint32_t ChoiceBarsShown = 0;  // how many choice bars have been asked so far
  uint8_t RawShift = 0;          // shift state of the last key as the console gave it
  int16_t PageStep = 22;         // screen height - 3
  DrawMarks Marks;               // what the next draw step draws
};

}  // namespace lumo

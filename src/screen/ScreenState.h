// What the drawing code keeps between calls: the console, display settings
// and the message row's idle cell.
#pragma once
#include <cstdint>
#include "screen/Console.h"

namespace lumo {

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
  uint8_t RawShift = 0;          // shift state of the last key as the console gave it
  int16_t PageStep = 22;         // screen height - 3
};

}  // namespace lumo

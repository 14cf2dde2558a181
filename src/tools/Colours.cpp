// The colour command asks in bars: what to colour, then the letters' and
// the background's colour and blinking. Every bar can be left without a
// trace: the line is touched only after the last answer. A marker takes the
// place of the blanks before it where there are some, so the coloured text
// keeps its columns.
#include "tools/Colours.h"

#include <string>

#include "app/Typing.h"
#include "screen/KeyNames.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"
#include "text/WordScan.h"

namespace lumo {
namespace {

enum Scope { ControlByte = 1, Word = 2, WholeLine = 3, RowEnd = 4, TextEnd = 5 };
constexpr int LeaveAll = 80;

// The marker bytes the window reads (the first byte of a marker).
constexpr uint8_t WordMarker = 2, RowMarker = 0, TextEndMarker = 1, LineMarker = 9;

// A bar of numbered bytes: the title, then each of the n bytes as an item.
std::string ByteBar(std::string_view title, int n) {
  std::string bar(title);
  for (int b = 0; b < n; ++b) {
    bar += char(b);
    bar += '|';
  }
  return bar;
}

// The value a bar of bytes or colours gives: Enter takes the lit item (the
// first is 0), a digit or function key its own number. -1 for Esc (and the
// digit 0, which answers like it), -2 for leaving at once.
int AskValue(Editor& e, std::string_view bar, std::string_view hint) {
  e.ChoicePreselect = 1;
  const int answer = ChoiceBar(e, bar, hint, 0x17, 0x01, 0x0F, 0x0D);
  if (answer == LeaveAll) return -2;
  if (answer == 0) return -1;
  using namespace keys;
  return e.ChoiceKey == Enter || e.ChoiceKey == KpEnter ? answer - 1 : answer;
}

// The first column of the word at or left of col.
int WordStart(std::string_view line, int col) {
  if (!IsWordByte(ByteAt(line, col)))
    while (col > 1 && !IsWordByte(ByteAt(line, col - 1))) --col;
  while (col > 1 && IsWordByte(ByteAt(line, col - 1))) --col;
  return col;
}

void PutMarker(Editor& e, int scope, std::string marker) {
  const int16_t col = e.CurCol;
  PushHistory(e, e.CurLine);
  const std::string_view line = LineBytes(e, e.CurLine);
  if (scope == WholeLine) {
    marker.assign(marker.rbegin(), marker.rend());
    e.CurCol = int16_t(TextLength(line) + 1);
  } else {
    if (scope == Word) e.CurCol = int16_t(WordStart(line, e.CurCol));
    int blanks = 0;
    while (blanks < int(marker.size()) && e.CurCol - blanks > 1 && ByteAt(line, e.CurCol - blanks - 1) == ' ')
      ++blanks;
    if (blanks > 0) {
      LineEdit w = EditLine(e, e.CurLine);
      w.Erase(e.CurCol - blanks, blanks);
      if (!CommitLine(e, e.CurLine, w)) {
        e.CurCol = col;
        return;
      }
      e.CurCol = int16_t(e.CurCol - blanks);
    }
  }
  const bool insert = e.InsertMode;
  e.InsertMode = true;
  TypeString(e, marker);
  e.InsertMode = insert;
  e.CurCol = col;
  MarkLine(e, e.CurLine);
}

}  // namespace

Reentry ColoursKey(Editor& e, KeyCode) {
  int scope = ControlByte;
  for (;;) {
    e.ChoicePreselect = uint8_t(scope);
    scope = ChoiceBar(e, Texts::ColourScope, {}, 0x3F, 0x2F, 0x50, 0x0D);
    if (scope == 0 || scope == LeaveAll) return Reentry::Update;
    if (scope == ControlByte) {
      const int v = AskValue(e, ByteBar(Texts::ColourControl, 32), Texts::ColourControlHint);
      if (v == -2) return Reentry::Update;
      if (v == -1) continue;
      TypeChar(e, uint8_t(v));
      return Reentry::Update;
    }
    const int fore = AskValue(e, ByteBar(Texts::ColourFore, 16), {});
    if (fore == -2) return Reentry::Update;
    if (fore == -1) continue;
    int back = AskValue(e, ByteBar(Texts::ColourBack, 8), {});
    if (back == -2) return Reentry::Update;
    if (back == -1) continue;
    const int blink = AskChoice(e, Texts::ColourBlink);
    if (blink == 0 || blink == 3 || blink == LeaveAll) return Reentry::Update;
    if (blink == 2) back += 8;
    const uint8_t first = scope == Word ? WordMarker : scope == WholeLine ? LineMarker
                          : scope == RowEnd ? RowMarker : TextEndMarker;
    std::string marker{char(first), char(fore)};
    if (back > 0) marker += char(back);
    PutMarker(e, scope, marker);
    return Reentry::Update;
  }
}

}  // namespace lumo

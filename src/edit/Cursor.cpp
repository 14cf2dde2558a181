// The cursor commands, in the order of the key table: column steps, line
// steps and their groups of 4 and 8, Home and End, pages, the ends of the
// text, scrolling the window by one row, the window's top and bottom, F5,
// the word steps, tab stops, then going to a line by number and the jump
// ring that Get back walks.
//
// Every command sets only CurLine, CurCol and TopLine and returns to the
// update point, where the loop scrolls the cursor into view. Moving to
// another line always goes through MoveToLine, which starts a new editing
// episode (LineSaved cleared) so that the first change on the new line is
// saved in the line history. The screen row of the cursor, CurLine − TopLine
// + 3, is what several commands keep while the window moves under it.
#include "edit/Cursor.h"

#include <algorithm>

#include "edit/Words.h"
#include "screen/StatusRow.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"
#include "tools/PromptEditor.h"

namespace lumo {
namespace {

bool OnLine(const Editor& e) { return e.CurLine >= 1 && e.CurLine <= e.LineCount; }
std::string_view CurrentLine(const Editor& e) { return LineBytes(e, e.CurLine); }
int CurrentCapacity(const Editor& e) { return Capacity(e, e.CurLine); }
int ScreenRow(const Editor& e) { return e.CurLine - e.TopLine + 3; }
int ScreenHeight(const Editor& e) { return e.Con ? e.Con->H() : e.PageStep + 3; }
int LastLine(const Editor& e) { return std::max<int>(e.LineCount, 1); }

void SetTop(Editor& e, int top) { e.TopLine = int16_t(std::clamp(top, 1, LastLine(e))); }

// The repeated forms step one line at a time, so that marking by movement
// can later act on every step as the single keys do.
void StepsUp(Editor& e, int count) {
  count = std::min(count, e.CurLine - 1);
  for (int i = 0; i < count; ++i) MoveToLine(e, e.CurLine - 1);
}

void StepsDown(Editor& e, int count) {
  count = std::min(count, e.LineCount - e.CurLine);
  for (int i = 0; i < count; ++i) MoveToLine(e, e.CurLine + 1);
}

// Alt+Right's step, which Alt+Left ends with too: to the column after the
// next word, and one further when that column is a gap of the line.
int WordwiseRightFrom(const Editor& e, int col) {
  const std::string_view line = CurrentLine(e);
  col = WordEndRightAt(line, col, 1);
  const uint8_t b = ByteAt(line, col);
  if (col <= CurrentCapacity(e) && (b == ' ' || IsDelimiter(b))) ++col;
  return col;
}

}  // namespace

Reentry LeftKey(Editor& e, KeyCode) {
  if (e.CurCol > 1) --e.CurCol;
  return Reentry::Update;
}

// The cursor may stand one column past the capacity, beyond the text.
Reentry RightKey(Editor& e, KeyCode) {
  if (OnLine(e) && e.CurCol <= CurrentCapacity(e)) ++e.CurCol;
  return Reentry::Update;
}

Reentry UpKey(Editor& e, KeyCode) {
  StepsUp(e, 1);
  return Reentry::Update;
}

Reentry DownKey(Editor& e, KeyCode) {
  if (e.CurLine < e.LineCount) {
    StepsDown(e, 1);
  } else {
    // Enter does add a line here, so the user is told which keys do.
    ShowMessage(e, Texts::OnLastLine, 1);
  }
  return Reentry::Update;
}

Reentry Up4Key(Editor& e, KeyCode) {
  StepsUp(e, 4);
  return Reentry::Update;
}

Reentry Down4Key(Editor& e, KeyCode) {
  StepsDown(e, 4);
  return Reentry::Update;
}

Reentry Up8Key(Editor& e, KeyCode) {
  StepsUp(e, 8);
  return Reentry::Update;
}

Reentry Down8Key(Editor& e, KeyCode) {
  StepsDown(e, 8);
  return Reentry::Update;
}

// Repeated Home walks: first non-blank column, left margin, column 1.
Reentry HomeKey(Editor& e, KeyCode) {
  if (!OnLine(e)) return Reentry::Update;
  const std::string_view line = CurrentLine(e);
  const size_t blank = line.find_first_not_of(' ');
  const int first = blank == std::string_view::npos ? e.LeftMargin : int(blank) + 1;
  if (e.CurCol > first) e.CurCol = int16_t(first);
  else if (e.CurCol > e.LeftMargin) e.CurCol = e.LeftMargin;
  else e.CurCol = 1;
  return Reentry::Update;
}

// Trailing colour markers are not text: End stops after the last character.
Reentry EndKey(Editor& e, KeyCode) {
  if (OnLine(e)) e.CurCol = int16_t(TextLength(CurrentLine(e)) + 1);
  return Reentry::Update;
}

// Near the top the window stops at line 1 and the cursor keeps its row.
Reentry PageUpKey(Editor& e, KeyCode) {
  if (e.TopLine - e.PageStep >= 1) {
    SetTop(e, e.TopLine - e.PageStep);
    MoveToLine(e, e.CurLine - e.PageStep);
  } else {
    const int row = ScreenRow(e);
    e.TopLine = 1;
    MoveToLine(e, row - 2);
  }
  e.LineSaved = false;
  return Reentry::Update;
}

// Near the end the last line goes to the top of the window, cursor on it.
Reentry PageDownKey(Editor& e, KeyCode) {
  if (e.TopLine + e.PageStep <= e.LineCount) {
    SetTop(e, e.TopLine + e.PageStep);
    MoveToLine(e, std::min<int>(e.CurLine + e.PageStep, e.LineCount));
  } else {
    SetTop(e, e.LineCount);
    MoveToLine(e, e.LineCount);
  }
  e.LineSaved = false;
  return Reentry::Update;
}

Reentry TextTopKey(Editor& e, KeyCode) {
  PushJump(e);
  const int row = ScreenRow(e);
  e.TopLine = 1;
  MoveToLine(e, row - 2);
  e.LineSaved = false;
  return Reentry::Update;
}

// The last line lands in the bottom row with the cursor keeping its row; a
// text that fits in the window has nowhere to go, and nothing is pushed.
Reentry TextBottomKey(Editor& e, KeyCode) {
  const int top = e.LineCount - e.PageStep;
  if (top <= 0) return Reentry::Update;
  PushJump(e);
  const int row = ScreenRow(e);
  SetTop(e, top);
  MoveToLine(e, top + row - 3);
  return Reentry::Update;
}

// The text moves up one row under a cursor that stays on its line; the
// cursor's line must not leave the window at the top.
Reentry ScrollUpKey(Editor& e, KeyCode) {
  if (e.TopLine < e.LineCount && e.TopLine < e.CurLine) ++e.TopLine;
  return Reentry::Update;
}

Reentry ScrollDownKey(Editor& e, KeyCode) {
  if (e.TopLine > 1 && ScreenRow(e) < ScreenHeight(e)) --e.TopLine;
  return Reentry::Update;
}

void CursorToWindowTop(Editor& e) {
  MoveToLine(e, e.TopLine);
  e.LineSaved = false;
}

void CursorToWindowBottom(Editor& e) {
  MoveToLine(e, std::min<int>(e.TopLine + e.PageStep, e.LineCount));
  e.LineSaved = false;
}

Reentry WindowEdgeKey(Editor& e, KeyCode) {
  if (e.CurLine > e.TopLine) CursorToWindowTop(e);
  else CursorToWindowBottom(e);
  return Reentry::Update;
}

Reentry LineToTopKey(Editor& e, KeyCode) {
  e.TopLine = e.CurLine;
  return Reentry::Update;
}

// From the last character of the text the step first goes one column right,
// so it lands on the start of the last word rather than the one before it;
// a start that the scan leaves unchanged steps one further left.
Reentry WordLeftKey(Editor& e, KeyCode) {
  if (!OnLine(e)) return Reentry::Update;
  const std::string_view line = CurrentLine(e);
  const int from = e.CurCol;
  int col = from;
  if (TextLength(line) <= col && ByteAt(line, col - 1) != ' ') ++col;
  col = WordStartLeftAt(line, col);
  if (col == from && col > 1) --col;
  e.CurCol = int16_t(col);
  return Reentry::Update;
}

// The word steps never leave the line: past the capacity the cursor goes back
// to just after the text.
Reentry WordRightKey(Editor& e, KeyCode) {
  if (!OnLine(e)) return Reentry::Update;
  const std::string_view line = CurrentLine(e);
  const int col = WordEndRightAt(line, e.CurCol, 0);
  e.CurCol = int16_t(col > CurrentCapacity(e) ? TextLength(line) + 1 : col);
  return Reentry::Update;
}

Reentry WordwiseRightKey(Editor& e, KeyCode) {
  if (OnLine(e)) e.CurCol = int16_t(WordwiseRightFrom(e, e.CurCol));
  return Reentry::Update;
}

Reentry WordwiseLeftKey(Editor& e, KeyCode) {
  if (!OnLine(e)) return Reentry::Update;
  const std::string_view line = CurrentLine(e);
  const int col = WordStartLeftAt(line, WordStartLeftAt(line, e.CurCol));
  e.CurCol = int16_t(WordwiseRightFrom(e, col));
  return Reentry::Update;
}

// Tab only moves; nothing is inserted.
Reentry NextTabKey(Editor& e, KeyCode) {
  for (int k = 1; k <= 32; ++k)
    if (e.TabStops[k] > e.CurCol) {
      e.CurCol = e.TabStops[k];
      break;
    }
  return Reentry::Update;
}

// A stop of 0 has not been computed; it is no column to go to.
Reentry PrevTabKey(Editor& e, KeyCode) {
  if (e.CurCol <= 1) return Reentry::Update;
  for (int k = 32; k >= 1; --k)
    if (e.TabStops[k] != 0 && e.TabStops[k] < e.CurCol) {
      e.CurCol = e.TabStops[k];
      break;
    }
  return Reentry::Update;
}

bool ParseLineNumber(std::string_view text, int16_t& number) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t digits = i;
  long value = 0;
  for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 32768) return false;  // no 16-bit number, however many digits follow
  }
  if (i == digits) return false;
  while (i < n && text[i] == ' ') ++i;
  if (i != n) return false;
  if (negative) value = -value;
  if (value > 32767) return false;
  number = int16_t(value);
  return true;
}

// The position is pushed before the range test, so Get back returns even
// from an answer past the end of the text.
Reentry GoToLineKey(Editor& e, KeyCode) {
  PromptText answer;
  int16_t number = 0;
  for (;;) {
    ShowMessage(e, Texts::AskLineNumber, 0);
    PromptEditor(e, answer, PromptOther);
    if (e.OpFailed != 0 || answer.Length == 0) return Reentry::Redraw;
    if (ParseLineNumber(answer.View(), number)) break;
  }
  if (number <= 0) return Reentry::Redraw;
  PushJump(e);
  if (number > e.LineCount || number == e.CurLine) return Reentry::Redraw;
  e.TopLine = number;
  MoveToLine(e, number);
  return Reentry::Redraw;
}

void PushJump(Editor& e) {
  e.JumpIndex = uint8_t((e.JumpIndex + 1) % 16);
  e.Jumps[e.JumpIndex] = {e.CurLine, e.TopLine, e.CurCol};
}

// Empty entries and entries past the end of the text are skipped, but the
// index steps back in every case, so repeated presses walk the whole ring.
Reentry GetBackKey(Editor& e, KeyCode) {
  const uint8_t i = e.JumpIndex;
  const PositionMark back = e.Jumps[i];
  if (back.Col != 0 && back.Line >= 1 && back.Line <= e.LineCount) {
    e.Jumps[(i + 1) % 16] = {e.CurLine, e.TopLine, e.CurCol};
    MoveToLine(e, back.Line);
    e.TopLine = std::clamp<int16_t>(back.Top, 1, back.Line);
    e.CurCol = back.Col;
  }
  e.JumpIndex = uint8_t((i + 15) % 16);
  return Reentry::Update;
}

}  // namespace lumo

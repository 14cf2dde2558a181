// A jump to a mark makes the marked line the window's top line, so the place
// looks the same each time it is visited. Toggling a line's end marker types
// it as a character would be typed, but is no change to the text the user
// made: the modified flag and the line's editing episode stay as they were.
#include "edit/Marks.h"

#include "app/Typing.h"
#include "edit/Cursor.h"
#include "screen/KeyNames.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {
namespace {

using namespace keys;

// Which of a group of keys: Alt+1..Alt+0 have consecutive scan codes.
int MarkNumber(KeyCode key, KeyCode first) { return ScanOf(key) - ScanOf(first) + 1; }

// The store keeps marks inside the text; a line beyond it is no mark either.
bool OnText(const Editor& e, int line) { return line >= 1 && line <= e.LineCount; }

Reentry NoSuchMark(Editor& e) {
  ShowMessage(e, Texts::NoSuchMark, 1);
  return Reentry::Redraw;
}

void JumpTo(Editor& e, int line) {
  if (line == e.CurLine) return;
  e.TopLine = int16_t(line);
  MoveToLine(e, line);
}

}  // namespace

bool HasEndMarker(const Editor& e, int i) {
  const std::string_view line = LineBytes(e, i);
  const int end = TextLength(line);
  return end > 0 && ByteAt(line, end) == 0;
}

Reentry SetLineMarkKey(Editor& e, KeyCode key) {
  SetLineMark(e, MarkNumber(key, Alt(D1)));
  return Reentry::Update;
}

Reentry GoLineMarkKey(Editor& e, KeyCode key) {
  const int target = e.LineMark[MarkNumber(key, Alt(D4))];
  if (!OnText(e, target)) return NoSuchMark(e);
  PushJump(e);
  JumpTo(e, target);
  return Reentry::Update;
}

Reentry SetPositionMarkKey(Editor& e, KeyCode key) {
  SetPositionMark(e, MarkNumber(key, Alt(D7)));
  return Reentry::Update;
}

// The mark's own top line is not used: the marked line comes to the top as
// for a line mark.
Reentry GoPositionMarkKey(Editor& e, KeyCode key) {
  const PositionMark& mark = e.PosMark[MarkNumber(key, Alt(D9))];
  if (!OnText(e, mark.Line)) return NoSuchMark(e);
  PushJump(e);
  e.CurCol = mark.Col;
  JumpTo(e, mark.Line);
  return Reentry::Update;
}

// The whole column is kept, not its low byte: the column past a full line is
// 256, and its low byte would later put the cursor at column 0.
Reentry SetColumnMarkKey(Editor& e, KeyCode) {
  e.ColumnMark = e.CurCol;
  return Reentry::Read;
}

Reentry GoColumnMarkKey(Editor& e, KeyCode) {
  e.CurCol = e.ColumnMark;
  return Reentry::Update;
}

// The marker goes after a blank, so that it never touches the last word; the
// length limit is off meanwhile so that typing it never wraps the line.
Reentry ToggleEndMarkerKey(Editor& e, KeyCode) {
  const bool modified = e.Modified, saved = e.LineSaved, limit = e.LengthLimit;
  const int16_t col = e.CurCol;
  e.LengthLimit = false;
  if (HasEndMarker(e, e.CurLine)) {
    LineEdit w = EditLine(e, e.CurLine);
    w.B[TextLength(e, e.CurLine)] = ' ';
    if (CommitLine(e, e.CurLine, w)) MarkLine(e, e.CurLine);
  } else {
    e.CurCol = int16_t(TextLength(e, e.CurLine) + 1);
    TypeChar(e, ' ');
    TypeChar(e, 0);
  }
  e.CurCol = col;
  e.LineSaved = saved;
  e.Modified = modified;
  e.LengthLimit = limit;
  return Reentry::Update;
}

Reentry NextEndMarkerKey(Editor& e, KeyCode) {
  int found = 0;
  for (int i = e.CurLine + 1; i <= e.LineCount && found == 0; ++i)
    if (HasEndMarker(e, i)) found = i;
  for (int i = 1; i < e.CurLine && found == 0; ++i)
    if (HasEndMarker(e, i)) found = i;
  if (found == 0) return Reentry::Read;
  PushJump(e);
  e.TopLine = int16_t(found);
  MoveToLine(e, found);
  return Reentry::Update;
}

}  // namespace lumo

// The transforms run every byte through a 256-entry map, so one path serves
// case, layout and fill alike. History follows the cursor's episode: only
// the cursor's own line is ever pushed, since a push marks the episode as
// saved, and a push of another line would make the next change of the
// cursor line skip its own entry and Shift+F10 restore the wrong text.
// Blocks of several lines are changed without entries, as a ring of 16 could
// not hold them anyway.
#include "edit/Transforms.h"

#include <algorithm>
#include <array>

#include "edit/Cursor.h"
#include "screen/KeyNames.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/CaseMap.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/RusTable.h"
#include "text/Texts.h"
#include "text/WordScan.h"

namespace lumo {
namespace {

using ByteMap = std::array<uint8_t, 256>;

ByteMap MapOf(uint8_t (*f)(uint8_t)) {
  ByteMap m;
  for (int b = 0; b < 256; ++b) m[size_t(b)] = f(uint8_t(b));
  return m;
}

const ByteMap& Capitals() {
  static const ByteMap m = MapOf([](uint8_t b) { return ToCapital(b); });
  return m;
}
const ByteMap& Smalls() {
  static const ByteMap m = MapOf([](uint8_t b) { return ToSmall(b); });
  return m;
}

const ByteMap& MapForKey(KeyCode key) {
  using namespace keys;
  static const ByteMap toCyrillic = MapOf(RusTranslate), toLatin = MapOf(RusUntranslate);
  if (key == Shift(F3)) return toCyrillic;
  if (key == Shift(F4)) return toLatin;
  return key == Shift(F5) ? Capitals() : Smalls();
}

// The cursor line goes through a commit, which pushes it once per episode
// and cannot be refused here: the bytes change, the length does not.
void MapCursorLine(Editor& e, const ByteMap& map, int firstCol, int lastCol) {
  LineEdit w = EditLine(e, e.CurLine);
  for (int c = std::max(firstCol, 1), end = std::min(lastCol, w.Len); c <= end; ++c) w.B[c] = map[w.B[c]];
  CommitLine(e, e.CurLine, w);
}

// Lines first..last, columns firstCol..lastCol; the cursor line is pushed
// only when it is the whole block, or always when pushCursorLine says so.
void MapBlock(Editor& e, const ByteMap& map, int first, int last, int firstCol, int lastCol, bool pushCursorLine) {
  const bool own = e.CurLine >= first && e.CurLine <= last && (pushCursorLine || first == last);
  if (own) {
    if (first < e.CurLine) MapLineBytes(e, first, e.CurLine - 1, map.data(), firstCol, lastCol);
    MapCursorLine(e, map, firstCol, lastCol);
    if (e.CurLine < last) MapLineBytes(e, e.CurLine + 1, last, map.data(), firstCol, lastCol);
  } else {
    MapLineBytes(e, first, last, map.data(), firstCol, lastCol);
  }
  e.Modified = true;
  if (first == last) MarkLine(e, first);
  else MarkWindow(e);
}

// The word at the cursor is a run of bytes above 32; a cursor just past a
// word still takes that word.
void MapWordAtCursor(Editor& e, const ByteMap& map) {
  LineEdit w = EditLine(e, e.CurLine);
  int j = e.CurCol;
  if (const int before = std::max(j - 1, 1); w.At(before) != ' ') j = before;
  while (j >= 2 && w.At(j) > 32) --j;
  if (w.At(j) <= 32) ++j;
  for (; j <= w.Len && w.At(j) != ' '; ++j) w.B[j] = map[w.B[j]];
  CommitLine(e, e.CurLine, w);
  MarkLine(e, e.CurLine);
}

}  // namespace

Reentry BlockTransformKey(Editor& e, KeyCode key) {
  e.OpFailed = 0;
  const ByteMap& map = MapForKey(key);
  if (e.BlockFirst > 0) MapBlock(e, map, e.BlockFirst, e.BlockLast, 1, MaxLineBytes, false);
  else if (e.RectFirstLine > 0) MapBlock(e, map, e.RectFirstLine, e.RectLastLine, e.RectFirstCol, e.RectLastCol, false);
  else MapWordAtCursor(e, map);
  return Reentry::Update;
}

Reentry FillBlockKey(Editor& e, KeyCode) {
  e.OpFailed = 0;
  if (e.RectFirstLine == 0) {
    ShowMessage(e, Texts::NoBlock, 1);
    e.OpFailed = 1;
    return Reentry::Update;
  }
  ShowMessage(e, Texts::AskFillChar, 0);
  // Any key answers, Esc too: its character is the fill byte.
  uint8_t fill = CharOf(ReadKey(e));
  if (e.RusMode) fill = RusTranslate(fill);
  ByteMap map;
  map.fill(fill);
  MapBlock(e, map, e.RectFirstLine, e.RectLastLine, e.RectFirstCol, e.RectLastCol, true);
  // The redraw point puts the idle message row back over the question.
  return Reentry::Redraw;
}

Reentry WhereBlockKey(Editor& e, KeyCode) {
  const int line = e.BlockFirst > 0 ? e.BlockFirst : e.RectFirstLine;
  if (line == 0) return Reentry::Read;
  PushJump(e);
  MoveToLine(e, line);
  e.TopLine = e.CurLine;
  return Reentry::Redraw;
}

// A quick fix of one letter, without an entry of its own in the history.
Reentry LetterCaseKey(Editor& e, KeyCode key) {
  const ByteMap& map = key == keys::Ctrl(keys::F5) ? Capitals() : Smalls();
  MapLineBytes(e, e.CurLine, e.CurLine, map.data(), e.CurCol, e.CurCol);
  e.Modified = true;
  MarkLine(e, e.CurLine);
  return Reentry::Update;
}

Reentry FirstLetterKey(Editor& e, KeyCode key) {
  const bool capital = keys::CharAndScan(key) == keys::CharAndScan(keys::F5);
  const std::string_view s = LineBytes(e, e.CurLine);
  int p = WordStartLeftAt(s, e.CurCol);
  while (p <= int(s.size()) && !IsCasedLetter(ByteAt(s, p))) ++p;
  MapLineBytes(e, e.CurLine, e.CurLine, (capital ? Capitals() : Smalls()).data(), p, p);
  e.Modified = true;
  MarkLine(e, e.CurLine);
  return Reentry::Update;
}

}  // namespace lumo

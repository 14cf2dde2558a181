// The ring keeps one earlier version per editing episode of a line: the first
// change of a line pushes it, later changes in the same episode do not. Slots
// are counted strings; HistoryNewest names the newest and steps back as
// entries are restored, so repeated restores walk towards older versions.
// The snapshot pair is a second, finer memory: the current line before each
// of the last two keys, so that one key's effect can be undone and redone.
#include "text/LineHistory.h"

#include <cstring>
#include <string_view>

#include "text/LineEdit.h"
#include "text/LineStore.h"

namespace lumo {

void PushHistory(TextState& t, int i) {
  if (t.LineSaved) return;
  t.Modified = true;
  t.LineSaved = true;
  t.HistoryNewest = t.HistoryNewest < 15 ? uint8_t(t.HistoryNewest + 1) : 0;
  const uint8_t* p = t.Lines[i];
  std::memcpy(t.HistorySlot[t.HistoryNewest], p, size_t(p[0]) + 1);
}

void MoveToLine(TextState& t, int line) {
  line = line < 1 ? 1 : line > t.LineCount ? (t.LineCount > 0 ? t.LineCount : 1) : line;
  if (line != t.CurLine) t.LineSaved = false;
  t.CurLine = int16_t(line);
}

void TakeSnapshot(TextState& t) {
  t.SnapshotToggle ^= 1;
  const uint8_t* p = t.Lines[t.CurLine];
  std::memcpy(t.Snapshot[t.SnapshotToggle], p, size_t(p[0]) + 1);
  t.SnapshotCol[t.SnapshotToggle] = t.CurCol;
}

namespace {

std::string_view SlotText(const uint8_t* slot) {
  return {reinterpret_cast<const char*>(slot + 1), slot[0]};
}

bool CursorOnText(const TextState& t) {
  return t.Lines && t.CurLine >= 1 && t.CurLine <= t.LineCount;
}

}  // namespace

void RestoreBeforeEpisode(TextState& t) {
  if (!t.LineSaved || t.HistoryNewest > 15 || !CursorOnText(t)) return;
  CommitLine(t, t.CurLine, EditText(SlotText(t.HistorySlot[t.HistoryNewest])));
}

void RestoreFromRing(TextState& t) {
  t.HistoryNewest %= 16;
  const int n = t.HistoryNewest;
  InsertFromSlot(t, n);
  if (t.OpFailed) return;
  t.HistoryNewest = n == 0 ? 255 : uint8_t(n - 1);
}

void UndoLastChange(TextState& t) {
  if (!t.LineSaved || !CursorOnText(t)) return;
  const int other = t.SnapshotToggle ^ 1;
  if (!CommitLine(t, t.CurLine, EditText(SlotText(t.Snapshot[other])))) return;
  t.CurCol = t.SnapshotCol[other];
}

void InsertFromSlot(TextState& t, int n) {
  t.OpFailed = 0;
  if (n < 0 || n > 15 || !t.Lines) return;
  const uint8_t* slot = t.HistorySlot[n];
  // The store steps a refused index back; on the cursor's own variable that
  // would move the cursor off the text when it stands on line 1.
  int16_t at = t.CurLine < 1 ? 1 : t.CurLine;
  InsertLine(t, slot[0], at);
  t.LineSaved = false;
  if (t.OpFailed) return;
  t.CurLine = at;
  SetLineText(t, SlotText(slot), at);
}

}  // namespace lumo

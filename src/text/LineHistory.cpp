// The ring keeps one earlier version per editing episode of a line: the first
// change of a line pushes it, later changes in the same episode do not.
#include "text/LineHistory.h"

#include <cstring>

namespace lumo {

void PushHistory(TextState& t, int i) {
  if (t.LineSaved) return;
  t.Modified = true;
  t.LineSaved = true;
  t.HistoryNewest = t.HistoryNewest < 15 ? uint8_t(t.HistoryNewest + 1) : 0;
  const uint8_t* p = t.Lines[i];
  std::memcpy(t.HistorySlot[t.HistoryNewest], p, size_t(p[0]) + 1);
}

void TakeSnapshot(TextState& t) {
  t.SnapshotToggle ^= 1;
  const uint8_t* p = t.Lines[t.CurLine];
  std::memcpy(t.Snapshot[t.SnapshotToggle], p, size_t(p[0]) + 1);
  t.SnapshotCol[t.SnapshotToggle] = t.CurCol;
}

}  // namespace lumo

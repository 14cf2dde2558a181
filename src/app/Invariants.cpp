#include "app/Invariants.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "text/LineStore.h"

namespace lumo {
namespace {

std::string Fault(const char* what, long a, long b = 0) {
  return std::string(what) + " (" + std::to_string(a) + ", " + std::to_string(b) + ")";
}

// A line number that may be unset: 0, or a line of the text.
bool LineOrZero(long n, long count) { return n == 0 || (n >= 1 && n <= count); }

std::string CheckLines(const Editor& e, size_t& held) {
  if (!e.Lines) return "no line table";
  if (e.LineCount < 1 || e.LineCount > MaxLines) return Fault("LineCount out of range", e.LineCount);
  if (!e.Lines[0] || e.Lines[0][0] != StatusCapacity) return "status row block lost";
  held = TableBytes + size_t(StatusCapacity) + 1;
  unsigned sum = 0;
  for (int i = 1; i <= e.LineCount; ++i) {
    const uint8_t* p = e.Lines[i];
    if (!p) return Fault("line missing", i);
    sum += p[p[0]];  // the last byte: a block shorter than its capacity is out of bounds here
    held += size_t(p[0]) + 1;
  }
  // Slots past the end hold nothing: a stale pointer there would be freed twice.
  // Compared a page at a time: the checker runs before every key of a soak.
  static const uint8_t* const Zero[512] = {};
  for (int i = e.LineCount + 1; i <= MaxLines; i += 512) {
    const int n = std::min(512, MaxLines + 1 - i);
    if (std::memcmp(&e.Lines[i], Zero, sizeof(Zero[0]) * size_t(n)) == 0) continue;
    for (int k = i; k < i + n; ++k)
      if (e.Lines[k]) return Fault("slot past the end still set", k, e.LineCount);
  }
  volatile unsigned sink = sum;  // keeps the reads above from being dropped
  (void)sink;
  return {};
}

std::string CheckCursor(const Editor& e) {
  if (e.CurLine < 1 || e.CurLine > e.LineCount) return Fault("CurLine out of range", e.CurLine, e.LineCount);
  // Up and Down keep the column, so the cursor may stand past a shorter
  // line's capacity; every command must cope with that, but never with a
  // column no line can have.
  if (e.CurCol < 1 || e.CurCol > 256) return Fault("CurCol out of range", e.CurCol);
  if (e.TopLine < 1 || e.TopLine > e.CurLine) return Fault("TopLine below the cursor", e.TopLine, e.CurLine);
  if (e.Con) {
    const int rows = e.Con->H() - 2;
    if (e.CurLine - e.TopLine >= rows) return Fault("cursor below the window", e.CurLine, e.TopLine);
    const int col = e.CurCol - e.HScroll;
    if (col < 1 || (col > e.Con->W() && e.HScroll < 255))
      return Fault("cursor beside the window", e.CurCol, e.HScroll);
  }
  return {};
}

std::string CheckMarks(const Editor& e) {
  const long n = e.LineCount;
  for (int k = 1; k <= 3; ++k)
    if (!LineOrZero(e.LineMark[k], n)) return Fault("line mark out of range", k, e.LineMark[k]);
  for (int k = 1; k <= 2; ++k) {
    if (!LineOrZero(e.PosMark[k].Line, n)) return Fault("position mark out of range", k, e.PosMark[k].Line);
    if (e.PosMark[k].Line && (e.PosMark[k].Top < 1 || e.PosMark[k].Top > e.PosMark[k].Line))
      return Fault("position mark's top out of range", k, e.PosMark[k].Top);
  }
  if (!LineOrZero(e.BlockFirst, n) || !LineOrZero(e.BlockLast, n) || (e.BlockFirst == 0) != (e.BlockLast == 0) ||
      e.BlockFirst > e.BlockLast)
    return Fault("line block out of range", e.BlockFirst, e.BlockLast);
  if (!LineOrZero(e.RectFirstLine, n) || !LineOrZero(e.RectLastLine, n) ||
      (e.RectFirstLine == 0) != (e.RectLastLine == 0) || e.RectFirstLine > e.RectLastLine)
    return Fault("rectangular block out of range", e.RectFirstLine, e.RectLastLine);
  if (e.BlockFirst && e.RectFirstLine) return Fault("a line block and a rectangle at once", e.BlockFirst, e.RectFirstLine);
  if (e.RectFirstLine && (e.RectFirstCol < 1 || e.RectFirstCol > e.RectLastCol || e.RectLastCol > 256))
    return Fault("rectangular block columns out of range", e.RectFirstCol, e.RectLastCol);
  return {};
}

std::string CheckTables(const Editor& e) {
  if (e.TabStep < 1) return "TabStep 0";
  for (int k = 2; k <= 32; ++k)
    if (e.TabStops[k] < e.TabStops[k - 1]) return Fault("TabStops not rising", k, e.TabStops[k]);
  if (e.HistoryNewest != 255 && e.HistoryNewest > 15) return Fault("history index out of range", e.HistoryNewest);
  if (e.PromptIndex > 15) return Fault("prompt index out of range", e.PromptIndex);
  if (e.JumpIndex > 15) return Fault("jump index out of range", e.JumpIndex);
  if (e.SnapshotToggle > 1) return Fault("snapshot toggle out of range", e.SnapshotToggle);
  for (const std::string& s : e.PromptSlot)
    if (s.size() > 53) return Fault("prompt answer too long", long(s.size()));
  if (e.LeftMargin < 1 || e.LeftMargin > 255) return Fault("LeftMargin out of range", e.LeftMargin);
  return {};
}

}  // namespace

std::string CheckInvariants(const Editor& e) {
  size_t held = 0;
  std::string f = CheckLines(e, held);
  // Macro texts are held in the same budget as the lines. What they hold is
  // counted afresh: the running account is what could drift.
  size_t macros = 0;
  for (const std::optional<std::string>& m : e.Macro) {
    if (!m) continue;
    macros += m->size();
    if (f.empty() && m->size() > 255) f = Fault("macro text too long", long(m->size()));
  }
  if (f.empty() && macros != e.MacroBytes) f = Fault("macro account differs from the texts", long(e.MacroBytes), long(macros));
  held += macros;
  if (f.empty() && held != e.BudgetUsed)
    f = Fault("budget account differs from what the lines hold", long(e.BudgetUsed), long(held));
  if (f.empty()) f = CheckCursor(e);
  if (f.empty()) f = CheckMarks(e);
  if (f.empty()) f = CheckTables(e);
  return f;
}

}  // namespace lumo

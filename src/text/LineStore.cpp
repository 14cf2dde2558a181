// The line table is an array of pointers to blocks of 1 + capacity bytes.
// Every block's cost is counted in the budget so that the "free memory" the
// commands check and the status row shows is exact, and so that tests can
// set a small budget to reach the low-memory paths.
#include "text/LineStore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

#include "text/LineHistory.h"
#include "text/Texts.h"

namespace lumo {
namespace {

uint8_t* NewBlock(TextState& t, uint8_t capacity) {
  auto* p = static_cast<uint8_t*>(std::malloc(size_t(capacity) + 1));
  if (!p) return nullptr;
  std::memset(p + 1, ' ', capacity);
  p[0] = capacity;
  t.BudgetUsed += size_t(capacity) + 1;
  return p;
}

// Loaded lines come from two areas of their own. Most of what a large load
// costs is the kernel handing out fresh pages, one fault per 4 KiB page; the
// large area is made of huge pages where the kernel offers them (one fault per
// 2 MiB) and is filled in ahead of use. A huge page is costly to clear, so a
// short text stays in the small area of ordinary pages, taken as touched.
// Together the two hold MaxLines lines of the longest block, so a load never
// needs more (were it to, the rest would go to the heap).
constexpr size_t HugeBytes = size_t(2) << 20;
constexpr size_t AreaBytes[2] = {size_t(64) << 10, 3 * HugeBytes};
constexpr size_t FillStep = size_t(256) << 10;
static_assert(AreaBytes[0] + AreaBytes[1] >= size_t(MaxLines) * 256);

bool InChunk(const TextState& t, const uint8_t* p) {
  for (int i = 0; i < 2; ++i)
    if (t.Areas[i].Base && p >= t.Areas[i].Base && p < t.Areas[i].Base + AreaBytes[i]) return true;
  return false;
}

void FreeBlock(TextState& t, uint8_t* p) {
  if (!p) return;
  t.BudgetUsed -= size_t(p[0]) + 1;
  if (!InChunk(t, p)) std::free(p);
}

void FreeChunks(TextState& t) {
  for (int i = 0; i < 2; ++i) {
    if (t.Areas[i].Base) munmap(t.Areas[i].Base, AreaBytes[i]);
    t.Areas[i] = {};
  }
}

// A huge page must start on a 2 MiB boundary: the large area is mapped with
// room to slide and trimmed to the boundary.
uint8_t* MapArea(int i) {
  const bool huge = i == 1;
  const size_t slack = huge ? HugeBytes : 0, bytes = AreaBytes[i];
  void* m = mmap(nullptr, bytes + slack, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (m == MAP_FAILED) return nullptr;
  auto* p = static_cast<uint8_t*>(m);
  if (huge) {
    const size_t head = (HugeBytes - reinterpret_cast<uintptr_t>(p) % HugeBytes) % HugeBytes;
    if (head) munmap(p, head);
    if (slack > head) munmap(p + head + bytes, slack - head);
    p += head;
  }
  madvise(p, bytes, huge ? MADV_HUGEPAGE : MADV_NOHUGEPAGE);
  return p;
}

// A block for a loaded line from the areas; null when they are full.
uint8_t* ChunkBlock(TextState& t, uint8_t capacity) {
  const size_t need = size_t(capacity) + 1;
  int i = t.Areas[1].Base || t.Areas[0].Used + need > AreaBytes[0] ? 1 : 0;
  TextState::LoadArea& a = t.Areas[i];
  if (!a.Base && !(a.Base = MapArea(i))) return nullptr;
  if (a.Used + need > AreaBytes[i]) return nullptr;
  if (i == 1 && a.Used + need > a.Ready) {
    // Without huge pages one call still brings a run of pages in at once,
    // cheaper than a fault for each; with them the first call of a huge
    // page's range brings the whole page. Failure only leaves the pages to
    // come in as touched.
#ifdef MADV_POPULATE_WRITE
    madvise(a.Base + a.Ready, FillStep, MADV_POPULATE_WRITE);
#endif
    a.Ready += FillStep;
  }
  uint8_t* p = a.Base + a.Used;
  a.Used += need;
  p[0] = capacity;
  t.BudgetUsed += need;
  return p;
}

void Report(TextState& t, std::string_view message) {
  if (t.Notify) t.Notify(t, message);
  t.OpFailed = 1;
}

void Refuse(TextState& t, std::string_view message, int16_t& index) {
  Report(t, message);
  --index;
}

inline void BumpIfAtOrAfter(int16_t& v, int index, int count) {
  if (v != 0 && index <= v) v = int16_t(v + count);
}

// Room was made for count lines at slot at: every line number from there on
// moves down, the cursor's only when its line moved.
void Renumber(TextState& t, int at, int count) {
  for (int k = 1; k <= 3; ++k) BumpIfAtOrAfter(t.LineMark[k], at, count);
  for (int k = 1; k <= 2; ++k) {
    BumpIfAtOrAfter(t.PosMark[k].Line, at, count);
    BumpIfAtOrAfter(t.PosMark[k].Top, at, count);
  }
  if (at < t.CurLine) t.CurLine = int16_t(t.CurLine + count);
  BumpIfAtOrAfter(t.BlockFirst, at, count);
  BumpIfAtOrAfter(t.BlockLast, at, count);
  BumpIfAtOrAfter(t.RectFirstLine, at, count);
  BumpIfAtOrAfter(t.RectLastLine, at, count);
  t.Modified = true;
}

}  // namespace

TextState::TextState() = default;

TextState::~TextState() {
  if (Lines) {
    for (int i = 0; i <= LineCount; ++i)
      if (Lines[i] && !InChunk(*this, Lines[i])) std::free(Lines[i]);
    std::free(Lines);
  }
  FreeChunks(*this);
}

bool InitLineTable(TextState& t) {
  if (t.Lines) return true;
  if (FreeMemory(t) < TableBytes) return false;
  // Zeroed by the kernel and touched only as lines arrive: a short text
  // does not pay for the whole table's pages.
  t.Lines = static_cast<uint8_t**>(std::calloc(TableSlots, sizeof(uint8_t*)));
  if (!t.Lines) return false;
  t.BudgetUsed += TableBytes;
  t.Lines[0] = NewBlock(t, StatusCapacity);
  t.LineCount = 0;
  return true;
}

void FreeAllLines(TextState& t) {
  for (int i = 1; i <= t.LineCount; ++i) {
    FreeBlock(t, t.Lines[i]);
    t.Lines[i] = nullptr;
  }
  t.LineCount = 0;
  FreeChunks(t);
}

size_t FreeMemory(const TextState& t) {
  return t.BudgetUsed >= t.BudgetLimit ? 0 : t.BudgetLimit - t.BudgetUsed;
}

uint8_t TextLength(std::string_view s) {
  uint8_t c[256];
  size_t n = s.size() > 255 ? 255 : s.size();
  std::memcpy(c + 1, s.data(), n);
  size_t i = n;
  while (i > 0) {
    if (c[i] == ' ') {
      --i;
    } else if (c[i] == 9 && i > 1 && c[i - 1] < 32) {
      c[i] = c[i - 1] = ' ';
      if (i > 2 && c[i - 2] < 32) c[i - 2] = ' ';
    } else {
      break;
    }
  }
  return uint8_t(i);
}

void InsertLine(TextState& t, uint8_t capacity, int16_t& index) {
  t.OpFailed = 0;
  if (t.LineCount >= MaxLines) {
    Refuse(t, Texts::TooManyLines, index);
    return;
  }
  if (capacity >= FreeMemory(t)) {
    Refuse(t, Texts::NoMemory, index);
    return;
  }
  int at = index < 1 ? 1 : index > t.LineCount + 1 ? t.LineCount + 1 : index;
  uint8_t* block = NewBlock(t, capacity);
  if (!block) {
    Refuse(t, Texts::NoMemory, index);
    return;
  }
  std::memmove(&t.Lines[at + 1], &t.Lines[at], sizeof(uint8_t*) * size_t(t.LineCount - at + 1));
  t.Lines[at] = block;
  ++t.LineCount;
  Renumber(t, at, 1);
}

bool InsertLines(TextState& t, int at, std::span<const uint8_t> capacities) {
  const int count = int(capacities.size());
  if (count == 0) return true;
  if (at < 1 || at > t.LineCount + 1 || t.LineCount + count > MaxLines) return false;
  std::memmove(&t.Lines[at + count], &t.Lines[at], sizeof(uint8_t*) * size_t(t.LineCount - at + 1));
  for (int k = 0; k < count; ++k) {
    t.Lines[at + k] = NewBlock(t, capacities[size_t(k)]);
    if (t.Lines[at + k]) continue;
    while (--k >= 0) FreeBlock(t, t.Lines[at + k]);
    std::memmove(&t.Lines[at], &t.Lines[at + count], sizeof(uint8_t*) * size_t(t.LineCount - at + 1));
    return false;
  }
  t.LineCount = int16_t(t.LineCount + count);
  Renumber(t, at, count);
  return true;
}

bool CanHold(const TextState& t, int index, int length, size_t reserve) {
  return length <= Capacity(t, index) || size_t(length) + reserve < FreeMemory(t);
}

void RefuseNoMemory(TextState& t) { Report(t, Texts::NoMemory); }

bool SetLineText(TextState& t, std::string_view text, int index) {
  uint8_t* p = t.Lines[index];
  uint8_t cap = p[0];
  uint8_t padded[255];
  size_t n = text.size() > 255 ? 255 : text.size();
  std::memcpy(padded, text.data(), n);
  // Padding with blanks up to the capacity; a counted string stops at 255.
  size_t len = n;
  while (len < cap) padded[len++] = ' ';
  uint8_t l = TextLength({reinterpret_cast<const char*>(padded), len});
  if (l > cap) {
    uint8_t* grown = CanHold(t, index, l) ? static_cast<uint8_t*>(std::malloc(size_t(l) + 1)) : nullptr;
    if (!grown) {
      RefuseNoMemory(t);
      return false;
    }
    FreeBlock(t, p);
    t.BudgetUsed += size_t(l) + 1;
    grown[0] = l;
    t.Lines[index] = p = grown;
    cap = l;
  }
  size_t copy = len < cap ? len : cap;
  std::memcpy(p + 1, padded, copy);
  if (copy < cap) std::memset(p + 1 + copy, ' ', cap - copy);
  return true;
}

void DeleteLine(TextState& t, int16_t& index) {
  const int at = index;
  if (at < 1 || at > t.LineCount) return;
  PushHistory(t, at);
  t.Modified = true;
  if (t.LineCount == 1) {
    t.CurCol = 1;
    std::memset(t.Lines[1] + 1, ' ', t.Lines[1][0]);
    return;
  }
  FreeBlock(t, t.Lines[at]);
  std::memmove(&t.Lines[at], &t.Lines[at + 1], sizeof(uint8_t*) * size_t(t.LineCount - at));
  t.Lines[t.LineCount] = nullptr;

  for (int k = 1; k <= 3; ++k) {
    if (t.LineMark[k] > at) --t.LineMark[k];
    else if (t.LineMark[k] == at) t.LineMark[k] = 0;
  }
  for (int k = 1; k <= 2; ++k) {
    if (t.PosMark[k].Top > at) --t.PosMark[k].Top;
    if (t.PosMark[k].Line > at) --t.PosMark[k].Line;
    else if (t.PosMark[k].Line == at) t.PosMark[k].Line = 0;
  }
  if (t.BlockFirst > at) --t.BlockFirst;
  if (t.RectFirstLine > at) --t.RectFirstLine;
  if (t.BlockLast >= at) --t.BlockLast;
  if (t.RectLastLine >= at) --t.RectLastLine;

  --t.LineCount;
  if (index > t.LineCount) index = t.LineCount;
  t.LineSaved = false;
  if (at < t.CurLine) --t.CurLine;
  // A cursor left below the text (the caller deleted the last line through
  // another variable) would point at a freed slot.
  if (t.CurLine > t.LineCount) t.CurLine = t.LineCount;
  if (t.BlockLast < t.BlockFirst) t.BlockFirst = t.BlockLast = 0;
  if (t.RectLastLine < t.RectFirstLine) t.RectFirstLine = t.RectLastLine = 0;
}

namespace {

// A number that line-by-line deletion at `at` lowers while it is above at
// (the first line of a range, the top of a window) or while it is at or
// above at (the last line of a range).
int16_t Lowered(int16_t v, int at, int gone, bool last) {
  if (v == 0 || v < at || (!last && v == at)) return v;
  return int16_t(std::max(last ? at - 1 : at, v - gone));
}

// A single line's number: the lines that went are forgotten.
int16_t LineAfter(int16_t v, int at, int gone) {
  if (v == 0 || v < at) return v;
  return v < at + gone ? int16_t(0) : int16_t(v - gone);
}

}  // namespace

void DeleteLines(TextState& t, int at, int count) {
  count = std::min(count, t.LineCount - at + 1);
  if (at < 1 || count <= 0) return;
  // The ring holds 16 versions: only the last 16 lines' pushes survive, but
  // the newest slot steps on for every line, as the pushes would move it.
  if (count > 16) {
    for (int j = t.LineSaved ? 1 : 0; j < count - 16; ++j)
      t.HistoryNewest = t.HistoryNewest < 15 ? uint8_t(t.HistoryNewest + 1) : 0;
    t.LineSaved = false;
  }
  for (int j = std::max(0, count - 16); j < count; ++j) {
    if (j > 0) t.LineSaved = false;
    PushHistory(t, at + j);
  }
  t.Modified = true;
  // The last line of the text is never removed, only blanked.
  const bool whole = count == t.LineCount;
  const int gone = whole ? count - 1 : count;
  if (gone > 0) {
    for (int i = at; i < at + gone; ++i) FreeBlock(t, t.Lines[i]);
    std::memmove(&t.Lines[at], &t.Lines[at + gone], sizeof(uint8_t*) * size_t(t.LineCount - at - gone + 1));
    for (int i = t.LineCount - gone + 1; i <= t.LineCount; ++i) t.Lines[i] = nullptr;
    for (int k = 1; k <= 3; ++k) t.LineMark[k] = LineAfter(t.LineMark[k], at, gone);
    for (int k = 1; k <= 2; ++k) {
      t.PosMark[k].Top = Lowered(t.PosMark[k].Top, at, gone, false);
      t.PosMark[k].Line = LineAfter(t.PosMark[k].Line, at, gone);
    }
    t.BlockFirst = Lowered(t.BlockFirst, at, gone, false);
    t.RectFirstLine = Lowered(t.RectFirstLine, at, gone, false);
    t.BlockLast = Lowered(t.BlockLast, at, gone, true);
    t.RectLastLine = Lowered(t.RectLastLine, at, gone, true);
    t.LineCount = int16_t(t.LineCount - gone);
    // Blanking the only line left keeps that line's push of this episode.
    t.LineSaved = whole;
    t.CurLine = Lowered(t.CurLine, at, gone, false);
    if (t.CurLine > t.LineCount) t.CurLine = t.LineCount;
    if (t.BlockLast < t.BlockFirst) t.BlockFirst = t.BlockLast = 0;
    if (t.RectLastLine < t.RectFirstLine) t.RectFirstLine = t.RectLastLine = 0;
  }
  if (whole) {
    t.CurCol = 1;
    std::memset(t.Lines[1] + 1, ' ', t.Lines[1][0]);
  }
}

bool AppendLoadedLine(TextState& t, std::string_view text, uint8_t capacity) {
  uint8_t* p = ChunkBlock(t, capacity);
  if (!p) p = NewBlock(t, capacity);
  if (!p) return false;
  size_t n = text.size() < capacity ? text.size() : capacity;
  std::memcpy(p + 1, text.data(), n);
  std::memset(p + 1 + n, ' ', capacity - n);
  t.Lines[++t.LineCount] = p;
  return true;
}

}  // namespace lumo

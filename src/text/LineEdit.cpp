// The work copy is a plain array indexed by column, so that editing code
// reads as the columns it talks about. Its operations never fail: what does
// not fit the buffer marks the copy, and the store refuses it at commit.
#include "text/LineEdit.h"

#include <algorithm>
#include <cstring>

#include "text/LineHistory.h"
#include "text/LineStore.h"

namespace lumo {

int LineEdit::RawEnd() const {
  int i = Len;
  while (i > 0 && B[i] == ' ') --i;
  return i;
}

int LineEdit::TextEnd() const {
  const int raw = RawEnd();
  return raw > MaxLineBytes ? raw : TextLength(View());
}

void LineEdit::FillTo(int len) {
  if (len > Room) {
    Overflow = true;
    len = Room;
  }
  while (Len < len) B[++Len] = ' ';
}

void LineEdit::Insert(int col, std::string_view bytes) {
  col = std::max(col, 1);
  FillTo(col - 1);
  const int n = int(bytes.size());
  if (Len + n > Room) {
    Overflow = true;
    return;
  }
  std::memmove(B + col + n, B + col, size_t(Len - col + 1));
  std::memcpy(B + col, bytes.data(), size_t(n));
  Len += n;
}

void LineEdit::Erase(int col, int n) {
  col = std::max(col, 1);
  n = std::min(n, Len - col + 1);
  if (n <= 0) return;
  std::memmove(B + col, B + col + n, size_t(Len - col - n + 1));
  Len -= n;
}

LineEdit EditLine(const TextState& t, int index) {
  return EditText(LineBytes(t, index));
}

LineEdit EditText(std::string_view text) {
  LineEdit w;
  w.Overflow = text.size() > size_t(LineEdit::Room);
  w.Len = int(std::min(text.size(), size_t(LineEdit::Room)));
  if (w.Len > 0) std::memcpy(w.B + 1, text.data(), size_t(w.Len));
  return w;
}

Fit CheckFit(const TextState& t, int index, const LineEdit& w, size_t reserve) {
  if (w.Overflow || w.RawEnd() > MaxLineBytes) return Fit::TooLong;
  return CanHold(t, index, w.TextEnd(), reserve) ? Fit::Ok : Fit::NoMemory;
}

size_t GrowthCost(const TextState& t, int index, const LineEdit& w) {
  const int l = w.TextEnd();
  return l > Capacity(t, index) ? size_t(l) + 1 : 0;
}

bool CommitLine(TextState& t, int index, const LineEdit& w) {
  switch (CheckFit(t, index, w)) {
    case Fit::TooLong:
      t.OpFailed = 1;
      return false;
    case Fit::NoMemory:
      RefuseNoMemory(t);
      return false;
    case Fit::Ok:
      break;
  }
  PushHistory(t, index);
  t.Modified = true;
  return SetLineText(t, w.View(), index);
}

void MapLineBytes(TextState& t, int first, int last, const uint8_t* map) {
  MapLineBytes(t, first, last, map, 1, MaxLineBytes);
}

void MapLineBytes(TextState& t, int first, int last, const uint8_t* map, int firstCol, int lastCol) {
  firstCol = std::max(firstCol, 1);
  for (int i = first; i <= last; ++i) {
    uint8_t* p = LineAt(t, i);
    for (int c = firstCol, end = std::min<int>(lastCol, p[0]); c <= end; ++c) p[c] = map[p[c]];
  }
}

}  // namespace lumo

// Taking the word at the cursor. TakeWord reads a copy of the current line
// padded to the full 256 columns and either copies a piece of it or grows
// the rectangular block over it; the scans themselves are text/WordScan.
#include "edit/Words.h"

#include <algorithm>
#include <cstring>

#include "text/LineEdit.h"
#include "text/LineStore.h"

namespace lumo {

// The corner rule of rectangular blocks: a corner past the line's capacity
// moves back onto it; with a line block the line block grows instead, so the
// two kinds of block never exist together.
void MarkRectCorner(Editor& e, int col) {
  if (col > Capacity(e, e.CurLine)) --col;
  col = std::max(col, 1);
  const int16_t line = e.CurLine;
  if (e.BlockFirst > 0) {
    if (line > e.BlockLast) e.BlockLast = line;
    else if (line < e.BlockFirst) e.BlockFirst = line;
    return;
  }
  if (e.RectFirstLine == 0) {
    e.RectFirstLine = e.RectLastLine = line;
    e.RectFirstCol = e.RectLastCol = int16_t(col);
    return;
  }
  if (line > e.RectLastLine) e.RectLastLine = line;
  else if (line < e.RectFirstLine) e.RectFirstLine = line;
  if (col > e.RectLastCol) e.RectLastCol = int16_t(col);
  else if (col < e.RectFirstCol) e.RectFirstCol = int16_t(col);
}

void TakeWord(Editor& e, std::string& dst, uint16_t mode) {
  dst.clear();
  if (e.CurLine < 1 || e.CurLine > e.LineCount) return;
  const std::string_view stored = LineBytes(e, e.CurLine);
  const int capacity = int(stored.size());
  // A copy, since mode 1 changes a byte of it; columns past the capacity
  // read as blanks through ByteAt.
  char copy[256];
  std::memcpy(copy, stored.data(), stored.size());
  const std::string_view line(copy, stored.size());
  auto at = [line](int q) { return ByteAt(line, q); };

  const int cur = e.CurCol;
  int end = std::clamp(cur, 1, std::max(capacity, 1));
  if (mode == 1 && end <= capacity && IsControl(at(end))) copy[end - 1] = ' ';
  if (at(end) == ' ' && (end == 1 || at(end - 1) == ' ')) return;
  if (end > 1 && IsDelimiter(at(end)) && at(end - 1) == ' ') ++end;

  end = WordEndRightAt(line, end, 2);
  int start = std::min(WordStartLeftAt(line, end), cur);
  while (IsDelimiter(at(start))) ++start;

  if (mode < 4) {
    if (mode == 0) {
      // Trailing delimiters go also when a blank follows them ("foo," gives
      // foo): the word is wanted without its punctuation either way.
      while (end > start && IsDelimiter(at(end - 1))) --end;
      while (IsControl(at(start))) ++start;
    } else if (mode == 1) {
      end = cur;
    } else if (mode == 2 && at(end) == ' ') {
      ++end;
    }
    for (int q = start; q < end; ++q) dst += char(at(q));
    return;
  }

  const bool altZ = mode == TakeMarkAltZ;
  MarkRectCorner(e, start);
  if (IsWordByte(at(end))) --end;
  if (altZ) --end;
  else if (IsControl(at(end))) --end;
  MarkRectCorner(e, end);
  if (!(altZ && at(cur) == ' ')) MarkRectCorner(e, cur);
}

}  // namespace lumo

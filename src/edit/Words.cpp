// Words: the delimiter set, the two scans over a line and the taking of the
// word at the cursor. A line is read as its stored string with every column
// past the end counting as a blank, so the scans may start anywhere the
// cursor can stand (up to one past a capacity of 255) and every loop stops
// at column 0 or at a blank past the text. The scans work on int columns;
// the byte forms of the header are thin wrappers for callers that keep
// columns in bytes. TakeWord reads a copy of the current line padded to the
// full 256 columns and either copies a piece of it or grows the rectangular
// block over it.
#include "edit/Words.h"

#include <algorithm>
#include <cstring>

#include "text/LineStore.h"

namespace lumo {
namespace {

constexpr char Delimiters[] = ".,:;?!/\\()-*+=<>{}[]_\"'";
static_assert(sizeof Delimiters - 1 == 23);

// Colour markers are control bytes, so a word scan steps over them as a
// unit of their own instead of taking them for part of a word.
bool IsControl(uint8_t b) { return b < 32; }
bool IsWordByte(uint8_t b) { return b > 32 && !IsDelimiter(b); }

uint8_t ByteAt(std::string_view s, int p) {
  return p >= 1 && size_t(p) <= s.size() ? uint8_t(s[size_t(p) - 1]) : uint8_t(' ');
}

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

}  // namespace

bool IsDelimiter(uint8_t b) {
  return std::memchr(Delimiters, b, sizeof Delimiters - 1) != nullptr;
}

int WordStartLeftAt(std::string_view s, int p) {
  auto at = [s](int q) { return ByteAt(s, q); };
  auto skip = [&](bool (*what)(uint8_t)) {
    while (p > 0 && what(at(p))) --p;
  };
  skip(IsDelimiter);
  skip(IsWordByte);
  skip(IsControl);
  // Only from a blank (or a word's first byte) does the scan cross the gap
  // to the word before; a delimiter here already belongs to that word.
  if (p > 0 && !IsDelimiter(at(p))) {
    --p;
    while (p > 0 && at(p) == ' ') --p;
  }
  skip(IsDelimiter);
  skip(IsWordByte);
  skip(IsControl);
  return std::max(p, 0) + 1;
}

int WordEndRightAt(std::string_view s, int p, int mode) {
  const int length = TextLength(s);
  auto at = [s](int q) { return ByteAt(s, q); };
  auto skip = [&](bool (*what)(uint8_t)) {
    while (p <= length && what(at(p))) ++p;
  };
  // A delimiter that ends a word ("end." or "a, b") is stepped over first,
  // so a cursor standing on it goes on to the next word.
  if (IsDelimiter(at(p)) && at(p + 1) == ' ' && p <= length) ++p;
  if (mode == 1)
    while (p <= length && at(p) == ' ') ++p;
  skip(IsControl);
  skip(IsWordByte);
  if (mode != 1) {
    skip(IsDelimiter);
    if (mode == 0)
      while (p <= length && at(p) == ' ') ++p;
  }
  return p;
}

uint8_t WordStartLeft(std::string_view s, uint8_t p) {
  return uint8_t(std::min(WordStartLeftAt(s, p), 255));
}

uint8_t WordEndRight(std::string_view s, uint8_t p, uint8_t mode) {
  return uint8_t(std::min(WordEndRightAt(s, p, mode), 255));
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

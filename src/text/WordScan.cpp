// The delimiter set and the two scans over a line. A line is read as its
// stored string with every column past the end counting as a blank, so the
// scans may start anywhere the cursor can stand (up to one past a capacity of
// 255) and every loop stops at column 0 or at a blank past the text. The
// scans work on int columns; the byte forms are thin wrappers for callers
// that keep columns in bytes.
#include "text/WordScan.h"

#include <algorithm>
#include <cstring>

#include "text/LineEdit.h"
#include "text/LineStore.h"

namespace lumo {
namespace {

constexpr char Delimiters[] = ".,:;?!/\\()-*+=<>{}[]_\"'";
static_assert(sizeof Delimiters - 1 == 23);

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

}  // namespace lumo

#include "files/Utf8Text.h"

#include <array>
#include <cstring>

#include "text/Cp866.h"

namespace lumo {
namespace {

constexpr size_t MaxLine = 255;

// Code page 866 by character: the two-byte characters (Cyrillic, the Latin-1
// signs) in one table, the three-byte ones (box drawing, blocks, √ ∙ №) in
// another. 0 marks a character 866 lacks.
constexpr uint32_t ThreeFirst = 0x2100, ThreeEnd = 0x2600;
struct Tables {
  std::array<uint8_t, 0x800> Two{};
  std::array<uint8_t, ThreeEnd - ThreeFirst> Three{};
  constexpr Tables() {
    for (int i = 0; i < 128; ++i) {
      const uint32_t c = Cp866Upper[i];
      if (c < 0x800) Two[c] = uint8_t(0x80 + i);
      else Three[c - ThreeFirst] = uint8_t(0x80 + i);
    }
  }
};
constexpr Tables Map;
static_assert(Map.Two[0x401] == 0xF0 && Map.Two[0x44F] == 0xEF && Map.Three[0x2593 - ThreeFirst] == 0xB2);

}  // namespace

uint8_t Cp866Of(uint32_t code) {
  if (code < 0x80) return uint8_t(code);
  if (code < 0x800) return Map.Two[code];
  return code >= ThreeFirst && code < ThreeEnd ? Map.Three[code - ThreeFirst] : 0;
}

Utf8Verdict Utf8Reader::Verdict() const {
  if (M == Mode::Check) return Utf8Verdict::Foreign;
  return M == Mode::Convert && Multi ? Utf8Verdict::Convertible : Utf8Verdict::NotUtf8;
}

void Utf8Reader::Lacks() {
  M = Mode::Check;
  Mix = Mix || Converted;
}

void Utf8Reader::Invalid() {
  M = Mode::Off;
  Mix = Mix || Converted;
  Need = 0;
}

// One byte of a multi-byte character (or its lead). The ranges leave out
// overlong forms, surrogates and code points past U+10FFFF.
bool Utf8Reader::Step(uint8_t b) {
  if (Need) {
    if (b < Lo || b > Hi) return false;
    Code = Code << 6 | (b & 0x3Fu);
    Lo = 0x80, Hi = 0xBF;
    --Need;
    return true;
  }
  if (b >= 0xC2 && b <= 0xDF) {
    Need = 1, Code = b & 0x1Fu;
  } else if (b >= 0xE0 && b <= 0xEF) {
    Need = 2, Code = b & 0x0Fu;
    Lo = b == 0xE0 ? 0xA0 : 0x80;
    Hi = b == 0xED ? 0x9F : 0xBF;
  } else if (b >= 0xF0 && b <= 0xF4) {
    Need = 3, Code = b & 0x07u;
    Lo = b == 0xF0 ? 0x90 : 0x80;
    Hi = b == 0xF4 ? 0x8F : 0xBF;
  } else {
    return false;
  }
  return true;
}

// Decodes p[0..n) from the decoder's state; with emit, writes the 866 bytes
// to Out until it holds 255 (stopping before the next character). Returns
// where it stopped: n, a full Out, or a character that changed the mode.
size_t Utf8Reader::Run(const uint8_t* p, size_t n, bool emit) {
  const bool convert = M == Mode::Convert;
  size_t i = 0;
  while (i < n) {
    const uint8_t b = p[i];
    if (Need == 0) {
      if (emit && Len == MaxLine) return i;
      if (b < 0x80) {
        // Latin text goes eight bytes at a time.
        uint64_t w;
        if (i + 8 <= n && (!emit || size_t(Len) + 8 <= MaxLine) && (std::memcpy(&w, p + i, 8), !(w & 0x8080808080808080u))) {
          if (emit) std::memcpy(Out + Len, p + i, 8), Len = uint8_t(Len + 8);
          i += 8;
        } else {
          if (emit) Out[Len++] = char(b);
          ++i;
        }
        continue;
      }
      // Cyrillic is two bytes: straight through the table.
      if (b >= 0xC2 && b <= 0xDF && i + 1 < n && (p[i + 1] & 0xC0) == 0x80) {
        Multi = true;
        i += 2;
        if (convert) {
          const uint8_t c = Map.Two[(b & 0x1Fu) << 6 | (p[i - 1] & 0x3Fu)];
          if (c == 0) return Lacks(), i;
          if (emit) Out[Len++] = char(c);
        }
        continue;
      }
    }
    if (!Step(b)) return Invalid(), i;
    ++i;
    if (Need == 0) {
      Multi = true;
      if (convert) {
        const uint8_t c = Cp866Of(Code);
        if (c == 0) return Lacks(), i;
        if (emit) Out[Len++] = char(c);
      }
    }
  }
  return i;
}

void Utf8Reader::SkipBytes(const uint8_t* p, size_t n) {
  const size_t k = Run(p, n, false);
  // A character 866 lacks only turns converting into checking.
  if (M == Mode::Check && k < n) Run(p + k, n - k, false);
}

size_t Utf8Reader::Line(const char* s, size_t n, bool complete, bool high, std::string_view& line, bool& cut) {
  const auto* p = reinterpret_cast<const uint8_t*>(s);
  const bool first = AtStart;
  AtStart = false;
  if (M == Mode::Convert && high) {
    const size_t bom = first && n >= 3 && std::memcmp(s, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    Len = 0;
    const size_t stop = bom + Run(p + bom, n - bom, true);
    if (M == Mode::Convert && complete && stop < n) Run(p + stop, n - stop, false);
    if (M == Mode::Convert && complete && Need) Invalid();
    if (M == Mode::Convert) {
      if (bom || Len != stop) Converted = Multi = true;
      if (bom) BomSeen = true;
      line = {Out, Len};
      cut = !complete || stop < n;
      return complete ? n : stop;
    }
    // Not convertible after all: the line is given as read, and checked
    // again from its start.
    Need = 0;
  }
  const size_t took = complete ? n : MaxLine;
  line = {s, n < MaxLine ? n : MaxLine};
  cut = n > MaxLine;
  if (M == Mode::Check && high) {
    Run(p, took, false);
    if (complete) LineEnd();
  }
  return took;
}

}  // namespace lumo

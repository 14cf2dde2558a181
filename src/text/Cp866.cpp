// Code page 866 tables. The upper half (in the header, for conversions at
// compile time) is the published 866 layout; the lower control range maps to
// the PC glyphs for display but to the controls themselves as text.
#include "text/Cp866.h"

#include <algorithm>
#include <array>

namespace lumo {
namespace {

constexpr char16_t Low[32] = {
    u' ', u'☺', u'☻', u'♥', u'♦', u'♣', u'♠', u'•', u'◘', u'○', u'◙', u'♂', u'♀', u'♪', u'♫', u'☼',
    u'►', u'◄', u'↕', u'‼', u'¶', u'§', u'▬', u'↨', u'↑', u'↓', u'→', u'←', u'∟', u'↔', u'▲', u'▼',
};

int EncodeUtf8(uint32_t cp, char* out) {
  if (cp < 0x80) { out[0] = char(cp); return 1; }
  if (cp < 0x800) { out[0] = char(0xC0 | cp >> 6); out[1] = char(0x80 | (cp & 0x3F)); return 2; }
  out[0] = char(0xE0 | cp >> 12);
  out[1] = char(0x80 | ((cp >> 6) & 0x3F));
  out[2] = char(0x80 | (cp & 0x3F));
  return 3;
}

struct Glyphs {
  std::array<std::array<char, 4>, 256> Bytes{};
  std::array<uint8_t, 256> Len{};
  Glyphs() {
    for (int b = 0; b < 256; ++b) {
      uint32_t cp = b < 32 ? Low[b] : b == 0x7F ? u'⌂' : b < 0x80 ? uint32_t(b) : Cp866Upper[b - 0x80];
      Len[size_t(b)] = uint8_t(EncodeUtf8(cp, Bytes[size_t(b)].data()));
    }
  }
};

const Glyphs& GlyphTable() {
  static const Glyphs g;
  return g;
}

}  // namespace

std::string_view GlyphUtf8(uint8_t byte) {
  const Glyphs& g = GlyphTable();
  return {g.Bytes[byte].data(), g.Len[byte]};
}

uint32_t Cp866ToUnicode(uint8_t byte) { return byte < 0x80 ? byte : Cp866Upper[byte - 0x80]; }

namespace {

// The cp866 byte of the UTF-8 character at s[i], moving i past it.
char NextCp866(std::string_view s, size_t& i) {
  uint8_t b = uint8_t(s[i]);
  uint32_t cp;
  size_t n;
  if (b < 0x80) { cp = b; n = 1; }
  else if ((b & 0xE0) == 0xC0 && i + 1 < s.size()) { cp = (b & 0x1Fu) << 6 | (uint8_t(s[i + 1]) & 0x3Fu); n = 2; }
  else if ((b & 0xF0) == 0xE0 && i + 2 < s.size()) {
    cp = (b & 0x0Fu) << 12 | (uint8_t(s[i + 1]) & 0x3Fu) << 6 | (uint8_t(s[i + 2]) & 0x3Fu);
    n = 3;
  } else { cp = '?'; n = 1; }
  i += n;
  int c = UnicodeToCp866(cp);
  return char(c < 0 ? '?' : c);
}

}  // namespace

std::string Cp(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) out += NextCp866(s, i);
  return out;
}

size_t CpPrefix(std::string_view s, char* out, size_t max) {
  size_t n = 0;
  for (size_t i = 0; i < s.size() && n < max;) out[n++] = NextCp866(s, i);
  return n;
}

size_t AppendCp866(std::string_view s, std::string& out) {
  size_t leftOut = 0;
  for (size_t i = 0; i < s.size();) {
    const uint8_t b = uint8_t(s[i]);
    if (b < 0x80) {
      out += char(b);
      ++i;
      continue;
    }
    // Strict UTF-8: a stray or broken sequence is one character left out,
    // and the byte that broke it starts the next.
    const size_t n = b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    uint32_t cp = b & (0x7Fu >> n);
    size_t k = 1;
    for (; n && k < n && i + k < s.size() && (uint8_t(s[i + k]) & 0xC0) == 0x80; ++k) cp = cp << 6 | (uint8_t(s[i + k]) & 0x3Fu);
    static constexpr uint32_t Least[5] = {0, 0, 0x80, 0x800, 0x10000};
    const bool whole = n && k == n && cp >= Least[n] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    const int c = whole ? UnicodeToCp866(cp) : -1;
    if (c < 0) ++leftOut;
    else out += char(c);
    i += whole ? n : std::max<size_t>(k, 1);
  }
  return leftOut;
}

std::string Utf8FromCp866(std::string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  char buf[4];
  for (char c : s) out.append(buf, size_t(EncodeUtf8(Cp866ToUnicode(uint8_t(c)), buf)));
  return out;
}

}  // namespace lumo

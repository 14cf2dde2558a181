// The byte maps between code page 866, in which the text is held, and the
// two code pages Russian texts also come in: Windows-1251 ("ANSI") and
// KOI8-R. Every map leaves bytes 0..127 alone.
//
// 866 and KOI8-R hold nearly the same characters, so that pair is a true
// correspondence, made here from the two published layouts; the eight 866
// characters KOI8-R lacks take the eight KOI8-R places 866 lacks, so a text
// goes there and back byte for byte. 1251 has no box drawing: on the way
// out the lines become "¦" and "-", and what comes back in is letters and a
// few signs only.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "files/FileState.h"
#include "text/Cp866.h"

namespace lumo {

using ByteMap = std::array<uint8_t, 256>;

namespace codepages {

// KOI8-R's published layout of bytes 0x80-0xFF.
inline constexpr char16_t Koi8Upper[128] = {
    u'─', u'│', u'┌', u'┐', u'└', u'┘', u'├', u'┤', u'┬', u'┴', u'┼', u'▀', u'▄', u'█', u'▌', u'▐',
    u'░', u'▒', u'▓', u'⌠', u'■', u'∙', u'√', u'≈', u'≤', u'≥', u'\u00A0', u'⌡', u'°', u'²', u'·', u'÷',
    u'═', u'║', u'╒', u'ё', u'╓', u'╔', u'╕', u'╖', u'╗', u'╘', u'╙', u'╚', u'╛', u'╜', u'╝', u'╞',
    u'╟', u'╠', u'╡', u'Ё', u'╢', u'╣', u'╤', u'╥', u'╦', u'╧', u'╨', u'╩', u'╪', u'╫', u'╬', u'©',
    u'ю', u'а', u'б', u'ц', u'д', u'е', u'ф', u'г', u'х', u'и', u'й', u'к', u'л', u'м', u'н', u'о',
    u'п', u'я', u'р', u'с', u'т', u'у', u'ж', u'в', u'ь', u'ы', u'з', u'ш', u'э', u'щ', u'ч', u'ъ',
    u'Ю', u'А', u'Б', u'Ц', u'Д', u'Е', u'Ф', u'Г', u'Х', u'И', u'Й', u'К', u'Л', u'М', u'Н', u'О',
    u'П', u'Я', u'Р', u'С', u'Т', u'У', u'Ж', u'В', u'Ь', u'Ы', u'З', u'Ш', u'Э', u'Щ', u'Ч', u'Ъ',
};

// The 866 characters KOI8-R lacks (Є є Ї ї Ў ў № ¤) and the KOI8-R places
// 866 lacks (⌠ ⌡ ≈ ≤ ≥ ÷ © ²) that they are given.
inline constexpr uint8_t Koi8Spare[8][2] = {
    {0xF2, 0x93}, {0xF3, 0x9B}, {0xF4, 0x97}, {0xF5, 0x98},
    {0xF6, 0x99}, {0xF7, 0x9F}, {0xFC, 0xBF}, {0xFD, 0x9D},
};

constexpr ByteMap Identity() {
  ByteMap m{};
  for (int b = 0; b < 256; ++b) m[size_t(b)] = uint8_t(b);
  return m;
}

constexpr ByteMap MakeToKoi8() {
  ByteMap m = Identity();
  for (int b = 0x80; b < 0x100; ++b) {
    int koi = -1;
    for (int k = 0; k < 128; ++k)
      if (Koi8Upper[k] == Cp866Upper[b - 0x80]) koi = 0x80 + k;
    for (const auto& spare : Koi8Spare)
      if (spare[0] == b) koi = spare[1];
    m[size_t(b)] = uint8_t(koi);  // a character left without a place fails the checks below
  }
  return m;
}

constexpr ByteMap Inverse(const ByteMap& to) {
  ByteMap m = Identity();
  for (int b = 0; b < 256; ++b) m[to[size_t(b)]] = uint8_t(b);
  return m;
}

constexpr ByteMap MakeToAnsi() {
  ByteMap m = Identity();
  for (int b = 0x80; b <= 0xAF; ++b) m[size_t(b)] = uint8_t(b + 0x40);  // А..п
  for (int b = 0xB3; b <= 0xDA; ++b) m[size_t(b)] = '-';                // box drawing
  for (int b : {0xB3, 0xB4, 0xB5, 0xB6, 0xB9, 0xBA, 0xC3, 0xC6, 0xC7, 0xCC}) m[size_t(b)] = 0xA6;  // the vertical lines: ¦
  for (int b = 0xE0; b <= 0xEF; ++b) m[size_t(b)] = uint8_t(b + 0x10);  // р..я
  m[0xF0] = 0xA8;  // Ё
  m[0xF1] = 0xB8;  // ё
  return m;
}

constexpr ByteMap MakeFromAnsi() {
  ByteMap m = Identity();
  for (int b = 0xC0; b <= 0xEF; ++b) m[size_t(b)] = uint8_t(b - 0x40);
  for (int b = 0xF0; b <= 0xFF; ++b) m[size_t(b)] = uint8_t(b - 0x10);
  m[0xA8] = 0xF0;  // Ё
  m[0xB8] = 0xF1;  // ё
  m[0xB9] = 0xFC;  // №
  m[0xA6] = 0xB3;  // ¦ back as │
  m[0xAC] = 0xBF;  // ¬ as ┐
  m[0x86] = 0xC5;  // † as ┼
  return m;
}

// first, then second.
constexpr ByteMap Then(const ByteMap& first, const ByteMap& second) {
  ByteMap m{};
  for (int b = 0; b < 256; ++b) m[size_t(b)] = second[first[size_t(b)]];
  return m;
}

}  // namespace codepages

inline constexpr ByteMap ToKoi8 = codepages::MakeToKoi8();
inline constexpr ByteMap FromKoi8 = codepages::Inverse(ToKoi8);
inline constexpr ByteMap ToAnsi = codepages::MakeToAnsi();
inline constexpr ByteMap FromAnsi = codepages::MakeFromAnsi();
// For a text that was read as one code page and is really the other: the
// held bytes go back to what the file held, then come in the right way.
inline constexpr ByteMap AnsiToKoi8 = codepages::Then(ToKoi8, FromAnsi);  // read as KOI8-R, really 1251
inline constexpr ByteMap Koi8ToAnsi = codepages::Then(ToAnsi, FromKoi8);  // read as 1251, really KOI8-R

namespace codepages {

constexpr bool LowHalfKept(const ByteMap& m) {
  for (int b = 0; b < 128; ++b)
    if (m[size_t(b)] != b) return false;
  return true;
}

// Held text, written as 1251 and read back: every letter must return.
constexpr bool LettersSurviveAnsi() {
  for (int b = 0x80; b <= 0xF1; ++b) {
    const bool letter = b <= 0xAF || b >= 0xE0;
    if (letter && FromAnsi[ToAnsi[size_t(b)]] != b) return false;
  }
  return true;
}

// A text read in the wrong one of the two must show its own letters after
// the composed map: 1251 read as KOI8-R keeps Ё and ё too; KOI8-R read as
// 1251 has lost its Ё and ё already (1251 reads them as box drawing and "у").
constexpr bool ComposedGiveLettersBack() {
  for (int b = 0xA8; b <= 0xFF; ++b) {
    const bool ansiLetter = b >= 0xC0 || b == 0xA8 || b == 0xB8;
    if (ansiLetter && AnsiToKoi8[FromKoi8[size_t(b)]] != FromAnsi[size_t(b)]) return false;
    if (b >= 0xC0 && Koi8ToAnsi[FromAnsi[size_t(b)]] != FromKoi8[size_t(b)]) return false;
  }
  return true;
}

static_assert(LowHalfKept(ToKoi8) && LowHalfKept(ToAnsi) && LowHalfKept(FromAnsi));
// Each is the other's inverse on all 256 bytes, so both are one-to-one.
static_assert(Then(ToKoi8, FromKoi8) == Identity() && Then(FromKoi8, ToKoi8) == Identity());
static_assert(LettersSurviveAnsi() && ComposedGiveLettersBack());

}  // namespace codepages

// What a held line goes through on its way to a file in page; none for 866.
inline const ByteMap* WriteMap(CodePage page) {
  return page == CodePage::Ansi ? &ToAnsi : page == CodePage::Koi8 ? &ToKoi8 : nullptr;
}

// Recodes n bytes in place.
inline void RecodeBytes(char* p, size_t n, const ByteMap& map) {
  for (size_t i = 0; i < n; ++i) p[i] = char(map[uint8_t(p[i])]);
}

}  // namespace lumo

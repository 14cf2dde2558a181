// Letter case in code page 866. Only the Latin letters, the 32 Cyrillic
// capitals with their small letters and Ё/ё have a case here: the other
// letters of row 0xF0 (Є, Ї, Ў) stay as they are, as every other byte does,
// so a case change never touches box drawing or signs.
#pragma once
#include <cstdint>

namespace lumo {

constexpr uint8_t ToCapital(uint8_t b) {
  if ((b >= 'a' && b <= 'z') || (b >= 0xA0 && b <= 0xAF)) return uint8_t(b - 32);  // a..z, а..п
  if (b >= 0xE0 && b <= 0xEF) return uint8_t(b - 80);                              // р..я
  return b == 0xF1 ? 0xF0 : b;                                                     // ё
}

constexpr uint8_t ToSmall(uint8_t b) {
  if ((b >= 'A' && b <= 'Z') || (b >= 0x80 && b <= 0x8F)) return uint8_t(b + 32);  // A..Z, А..П
  if (b >= 0x90 && b <= 0x9F) return uint8_t(b + 80);                              // Р..Я
  return b == 0xF0 ? 0xF1 : b;                                                     // Ё
}

// A byte with a case: what the first-letter commands look for.
constexpr bool IsCasedLetter(uint8_t b) { return ToCapital(b) != ToSmall(b); }

}  // namespace lumo

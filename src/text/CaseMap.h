// Letter case in code page 866: Latin a..z, Cyrillic а..п, р..я and ё each
// have one capital, and every other byte is its own (Є, Ї, Ў too), so a case
// change never touches box drawing or signs. Comparisons that ignore case
// fold both sides to capitals through one table lookup per byte.
#pragma once
#include <array>
#include <cstdint>

namespace lumo {

struct CaseTables {
  std::array<uint8_t, 256> Capital{}, Small{};
};

consteval CaseTables MakeCaseTables() {
  CaseTables t;
  for (int b = 0; b < 256; ++b) t.Capital[size_t(b)] = t.Small[size_t(b)] = uint8_t(b);
  auto pair = [&t](int small, int capital) {
    t.Capital[size_t(small)] = uint8_t(capital);
    t.Small[size_t(capital)] = uint8_t(small);
  };
  for (int b = 'a'; b <= 'z'; ++b) pair(b, b - 32);
  for (int b = 160; b <= 175; ++b) pair(b, b - 32);  // а..п
  for (int b = 224; b <= 239; ++b) pair(b, b - 80);  // р..я
  pair(241, 240);                                     // ё
  return t;
}

inline constexpr CaseTables CaseMaps = MakeCaseTables();

constexpr uint8_t ToCapital(uint8_t b) { return CaseMaps.Capital[b]; }
constexpr uint8_t ToSmall(uint8_t b) { return CaseMaps.Small[b]; }

// A byte with a case: what the first-letter commands look for.
constexpr bool IsCasedLetter(uint8_t b) { return ToCapital(b) != ToSmall(b); }

static_assert(ToCapital(0xF1) == 0xF0 && ToSmall(0x9F) == 0xEF && ToCapital(0xF3) == 0xF3 && !IsCasedLetter('1'));

}  // namespace lumo

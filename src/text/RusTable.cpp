// The Russian typewriter layout on a Latin keyboard. RusTable lists, for
// each of its 136 positions, the key character that gives the position's
// result: positions 1-128 give the cp866 bytes 0x80-0xFF in order (so
// position i gives 0x7F + i), and the last eight give punctuation that moves
// on the Russian layout. Code-page characters that are not letters stand at
// their own positions and so give themselves. The table is searched from the
// first position; the lookup array below is that search done once at compile
// time, so typing a character costs one load.
#include "text/RusTable.h"

#include <array>
#include <cstddef>

namespace lumo {
namespace {

constexpr int TablePositions = 136;

// Each row names the results of its positions.
constexpr uint8_t RusTable[TablePositions] = {
    // А Б В Г Д Е Ж З И Й К Л М Н О П (0x80-0x8F)
    'F', '<', 'D', 'U', 'L', 'T', ':', 'P', 'B', 'Q', 'R', 'K', 'V', 'Y', 'J', 'G',
    // Р С Т У Ф Х Ц Ч Ш Щ Ъ Ы Ь Э Ю Я (0x90-0x9F)
    'H', 'C', 'N', 'E', 'A', '{', 'W', 'X', 'I', 'O', '}', 'S', 'M', '"', '>', 'Z',
    // а б в г д е ж з и й к л м н о п (0xA0-0xAF)
    'f', ',', 'd', 'u', 'l', 't', ';', 'p', 'b', 'q', 'r', 'k', 'v', 'y', 'j', 'g',
    // shades and box drawing give themselves (0xB0-0xDF)
    0xB0, 0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xB6, 0xB7, 0xB8, 0xB9, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF,
    0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xCF,
    0xD0, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0xDA, 0xDB, 0xDC, 0xDD, 0xDE, 0xDF,
    // р с т у ф х ц ч ш щ ъ ы ь э ю я (0xE0-0xEF)
    'h', 'c', 'n', 'e', 'a', '[', 'w', 'x', 'i', 'o', ']', 's', 'm', '\'', '.', 'z',
    // Ё ё, then the signs 0xF2-0xFF, which give themselves
    '~', '`', 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,
    // the eight moved punctuation keys; their results are in LastResults
    '/', '?', '|', '@', '#', '$', '^', '&',
};

// Results of positions 129-136: . , / " № ; : ?
constexpr uint8_t LastResults[8] = {'.', ',', '/', '"', 0xFC, ';', ':', '?'};

constexpr uint8_t ResultOf(int position) {  // 1-based
  return position <= 128 ? uint8_t(0x7F + position) : LastResults[position - 129];
}

constexpr std::array<uint8_t, 256> BuildLookup() {
  std::array<uint8_t, 256> map{};
  std::array<bool, 256> found{};
  for (int c = 0; c < 256; ++c) map[size_t(c)] = uint8_t(c);
  for (int pos = 1; pos <= TablePositions; ++pos) {
    const uint8_t key = RusTable[pos - 1];
    if (found[key]) continue;  // the first position holding a key wins
    found[key] = true;
    map[key] = ResultOf(pos);
  }
  return map;
}

// The search the other way: a result looked up among the results, the first
// position that gives it naming its key. "№" is given by its own position
// before "#" gives it, so it comes back as itself.
constexpr std::array<uint8_t, 256> BuildReverse() {
  std::array<uint8_t, 256> map{};
  std::array<bool, 256> found{};
  for (int c = 0; c < 256; ++c) map[size_t(c)] = uint8_t(c);
  for (int pos = 1; pos <= TablePositions; ++pos) {
    const uint8_t result = ResultOf(pos);
    if (found[result]) continue;
    found[result] = true;
    map[result] = RusTable[pos - 1];
  }
  return map;
}

constexpr std::array<uint8_t, 256> RusLookup = BuildLookup();
constexpr std::array<uint8_t, 256> RusReverse = BuildReverse();

static_assert(RusLookup['f'] == 0xA0 && RusLookup['F'] == 0x80);  // а, А
static_assert(RusLookup['z'] == 0xEF && RusLookup['~'] == 0xF0);  // я, Ё
static_assert(RusLookup['.'] == 0xEE && RusLookup['/'] == '.');   // ю, then the moved dot
static_assert(RusLookup['#'] == 0xFC && RusLookup[0xB3] == 0xB3);  // №, box drawing unchanged

static_assert(RusReverse[0xA0] == 'f' && RusReverse[0xFC] == 0xFC);   // а, № stays
static_assert(RusReverse['.'] == '/' && RusReverse[','] == '?');      // the moved signs

}  // namespace

uint8_t RusTranslate(uint8_t ch) { return RusLookup[ch]; }
uint8_t RusUntranslate(uint8_t ch) { return RusReverse[ch]; }

}  // namespace lumo

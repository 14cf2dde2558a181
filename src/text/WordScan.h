// What a word is: the delimiter set and the two scans over a line.
#pragma once
#include <cstdint>
#include <string_view>

namespace lumo {

bool IsDelimiter(uint8_t b);
// Colour markers are control bytes, so a word scan steps over them as a
// unit of their own instead of taking them for part of a word.
inline bool IsControl(uint8_t b) { return b < 32; }
inline bool IsWordByte(uint8_t b) { return b > 32 && !IsDelimiter(b); }
// s is a line's stored string (positions past its end count as blanks); p is
// 1-based. Results are 1-based columns as the scans define them.
uint8_t WordStartLeft(std::string_view s, uint8_t p);
uint8_t WordEndRight(std::string_view s, uint8_t p, uint8_t mode);
// The same scans on int columns: a line of capacity 255 lets the cursor
// stand at column 256, which the byte forms above cannot carry (they
// saturate at 255).
int WordStartLeftAt(std::string_view s, int p);
int WordEndRightAt(std::string_view s, int p, int mode);

}  // namespace lumo

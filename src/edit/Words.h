// What a word is: the delimiter set and the two scans over a line that the
// cursor commands, line operations, formatting and typing share.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include "app/Editor.h"

namespace lumo {

bool IsDelimiter(uint8_t b);
// s is a line's stored string (positions past its end count as blanks); p is
// 1-based. Results are 1-based columns as the scans define them.
uint8_t WordStartLeft(std::string_view s, uint8_t p);
uint8_t WordEndRight(std::string_view s, uint8_t p, uint8_t mode);
// Copies the word at the cursor (modes 0, 1, 2) into dst, or marks it as a
// rectangular block (modes 4 and up).
void TakeWord(Editor& e, std::string& dst, uint16_t mode);
// The marking keys pass their key's low 16 bits; Alt+Z leaves out the blank.
inline constexpr uint16_t TakeMarkAltZ = 0x2C00;

// The same scans on int columns: a line of capacity 255 lets the cursor
// stand at column 256, which the byte forms above cannot carry (they
// saturate at 255).
int WordStartLeftAt(std::string_view s, int p);
int WordEndRightAt(std::string_view s, int p, int mode);

}  // namespace lumo

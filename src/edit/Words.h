// The word at the cursor, over the scans of text/WordScan that the cursor
// commands, line operations, the prompt line and typing share.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include "app/Editor.h"
#include "screen/KeyNames.h"
#include "text/WordScan.h"

namespace lumo {

// Grows the rectangular block to take in (CurLine, col), or starts a 1x1
// one there; with a line block marked, the line block grows instead.
void MarkRectCorner(Editor& e, int col);
// Copies the word at the cursor (modes 0, 1, 2) into dst, or marks it as a
// rectangular block (modes 4 and up).
void TakeWord(Editor& e, std::string& dst, uint16_t mode);
// The marking keys pass their key's low 16 bits; Alt+Z leaves out the blank.
inline constexpr uint16_t TakeMarkAltZ = keys::CharAndScan(keys::Alt(keys::Z));

}  // namespace lumo

// The macro table: a text of up to 255 bytes for each key, typed where the
// cursor stands when the key is pressed with Ctrl and Alt. The table lives in
// the text's memory budget and goes to and from the macro file, one macro a
// line: the id in decimal, one blank, the text.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "app/Editor.h"
#include "screen/Console.h"
#include "screen/PcKeys.h"

namespace lumo {

inline constexpr size_t MacroFileLimit = size_t(1) << 20;  // bytes of the file read

// The key's macro id: the scan code, or for a function key its number; in
// the Russian layout the other half of the ids. Modifiers do not count.
uint8_t MacroId(KeyCode key, bool rusMode);
// Stores text as the macro of id, replacing an earlier one. False, with the
// table as it was, when the budget's free part is not larger than the text.
bool StoreMacro(Editor& e, uint8_t id, std::string_view text);
// Adds the macros of a file's bytes to the table. Lines are cut to 255 bytes;
// a line whose id is not a decimal number from 0 to 255 followed by a blank
// is skipped. Reading stops when the budget cannot hold the next text.
void ParseMacros(Editor& e, std::string_view bytes);
// The file's bytes for the table, in ascending id order.
std::string MacroBytes(const Editor& e);

}  // namespace lumo

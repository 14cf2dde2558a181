// Typing: the only way characters enter the text. The typing path applies the
// keyboard translations (box drawing on the keypad, the Russian layout) to an
// unclaimed key; TypeChar applies the typing rules (insert or overwrite, the
// two right margins, word wrap, list-marker continuation).
#pragma once
#include <cstdint>
#include <string_view>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// A key no command claimed, pressed without Alt.
void TypePath(Editor& e, KeyCode key);
void TypeChar(Editor& e, uint8_t ch);
// Types each character, then places the cursor.
void TypeString(Editor& e, std::string_view text);

}  // namespace lumo

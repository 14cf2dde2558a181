// Macros: a text for each key, typed by Ctrl+Alt+key. A key's macro id is its
// scan code (for function keys the function number), 128 higher in the
// Russian typing mode, whatever modifiers are held. The texts are held in
// the editor's memory budget like the lines of the text.
#pragma once
#include <string>
#include <string_view>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

inline constexpr std::string_view MacroFileName = "keydef.lmo";

uint8_t MacroId(const Editor& e, KeyCode key);
// Makes text the macro of id, replacing one it had; false (nothing changed)
// when the budget has no room for it.
bool StoreMacro(Editor& e, int id, std::string_view text);
// Adds the macros of a macro file's bytes, one "id text" a line. Lines
// without a number from 0 to 255 before their first blank are skipped; the
// reading stops when the budget is full. Nothing is removed.
void MacrosFromBytes(Editor& e, std::string_view bytes);
// The macro file for every defined macro, in rising id order.
std::string MacroFileBytes(const Editor& e);

}  // namespace lumo

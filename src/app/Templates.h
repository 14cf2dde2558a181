// The template keys: in Pascal texts a Ctrl key (and Alt+T) types a keyword
// or a call, the cursor put inside its parentheses; elsewhere each key does
// what it always did there: its control character, a word, or a command.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

Reentry TemplateKey(Editor& e, KeyCode key);

// Moves the line's text to end at RightMargin, if the margin is at most 132
// and the text fits; false (nothing moved) otherwise.
bool AlignRight(Editor& e);

}  // namespace lumo

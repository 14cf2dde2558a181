// Colouring text from the keyboard: the marker bytes that the window reads
// as colours, put before a word, at the cursor or after a line's text, and
// any control byte typed by choice.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

Reentry ColoursKey(Editor& e, KeyCode key);  // Ctrl+F10

}  // namespace lumo

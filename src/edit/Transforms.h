// Commands that change bytes where they stand: letter case and the Latin /
// Cyrillic keyboard layouts over the marked block or the word at the cursor,
// filling a rectangle with one character, single letters at the cursor, and
// the jump to the block. No line changes its length or capacity, so none of
// them can be refused for memory.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

Reentry BlockTransformKey(Editor& e, KeyCode key);  // Shift+F3..Shift+F6
Reentry FillBlockKey(Editor& e, KeyCode key);       // Alt+F
Reentry WhereBlockKey(Editor& e, KeyCode key);      // Alt+/
Reentry LetterCaseKey(Editor& e, KeyCode key);      // Ctrl+F5, Ctrl+F6
// Ctrl+Shift+F5 / F6, and Alt+F5 / F6 through the Alt fallback: the key's
// function number says which case.
Reentry FirstLetterKey(Editor& e, KeyCode key);

}  // namespace lumo

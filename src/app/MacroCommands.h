// The macro commands: defining a key's macro from the word at the cursor,
// typing it, and the macro file read and written.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// Both work whether or not the Ctrl+Alt keys are switched to macros: the
// menu reaches them by naming the key.
Reentry DefineMacroKey(Editor& e, KeyCode key);
Reentry PlayMacroKey(Editor& e, KeyCode key);

enum class MacroTransfer : uint8_t { SilentRead, Read, Write };
// False only when a write was begun and failed (the user was told); a name
// given up or a file that cannot be opened is no failure.
bool TransferMacros(Editor& e, MacroTransfer how);
// Macros defined since the file was last written are offered for saving.
// False when the user chose to save and the write failed.
bool OfferMacroSave(Editor& e);

}  // namespace lumo

// The macro commands: defining and typing a key's macro, the macro file read
// and written through the file-name prompt, and the offer to save changed
// macros before the editor ends or runs another one.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// The macro of key: defined from the word at the cursor, edited in the
// prompt, or typed at the cursor. Both act whether macro keys are on or not.
Reentry DefineMacro(Editor& e, KeyCode key);
Reentry TypeMacro(Editor& e, KeyCode key);

enum class MacroTransfer : uint8_t { SilentRead, Read, Write };
void TransferMacros(Editor& e, MacroTransfer how);

// Asks whether to write the macro file when macros were defined since it
// was last written.
void OfferMacroSave(Editor& e);

}  // namespace lumo

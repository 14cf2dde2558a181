// The key table: one row per bound key value, {value, procedure, label}. The
// dispatch, the menus' direct keys, the help and the tests all read these
// rows, so a binding exists in exactly one place. A row without a procedure
// reserves its key for a command that is not built yet: the key does nothing
// rather than being typed. Keys without a row go to the Alt fallback or the
// typing path.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>
#include "app/Editor.h"
#include "screen/Console.h"
#include "screen/KeyNames.h"

namespace lumo {

using Command = Reentry (*)(Editor& e, KeyCode key);

struct KeyBinding {
  KeyCode Value;
  Command Proc;       // nullptr: reserved for a later command
  std::string_view Label;  // the command's name in menus and help (code page 866), shared by its keys
};

std::span<const KeyBinding> KeyBindings();
// The row of exactly this value, or nullptr.
const KeyBinding* FindBinding(KeyCode key);

// The procedures of the small commands (SmallCommands.cpp).
Reentry EscapeKey(Editor& e, KeyCode key);
Reentry UnmarkBlocks(Editor& e, KeyCode key);
Reentry ToggleInsert(Editor& e, KeyCode key);
Reentry ToggleRus(Editor& e, KeyCode key);
Reentry TogglePseudographics(Editor& e, KeyCode key);
Reentry ToggleLimit(Editor& e, KeyCode key);
Reentry TypeBlank(Editor& e, KeyCode key);
Reentry TypeBackslash(Editor& e, KeyCode key);
Reentry TypeControl(Editor& e, KeyCode key);
Reentry ShowKeyCode(Editor& e, KeyCode key);
Reentry QuitAtOnce(Editor& e, KeyCode key);
Reentry SaveFile(Editor& e, KeyCode key);
Reentry UndoTakeFile(Editor& e, KeyCode key);
Reentry RestoreEpisode(Editor& e, KeyCode key);
Reentry RestoreRing(Editor& e, KeyCode key);
Reentry UndoChange(Editor& e, KeyCode key);
Reentry AltT(Editor& e, KeyCode key);

// Alt held and no row: the Latin letter or punctuation of the key's scan code,
// else the few Alt+function keys.
Reentry AltFallback(Editor& e, KeyCode key);
// Ctrl and Alt held and no row: the macro keys.
Reentry MacroStep(Editor& e, KeyCode key);

}  // namespace lumo

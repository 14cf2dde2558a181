// What only a menu does: the halves of Ctrl+Tab, the paragraph width, the
// box-drawing switch, the macro keys asked for by name, the history screen
// and the way out without Esc's unmarking first.
#pragma once
#include "app/Menus.h"

namespace lumo::menu {

MenuOutcome Exit(Editor& e);
MenuOutcome Keystrokes(Editor& e);
MenuOutcome UseKeyboard(Editor& e);
MenuOutcome WindowTop(Editor& e);
MenuOutcome WindowBottom(Editor& e);
MenuOutcome Columns(Editor& e);
// The ragged format also in program texts, where Ctrl+F types a template.
MenuOutcome RaggedFormat(Editor& e);
MenuOutcome PseudoOn(Editor& e);
MenuOutcome PseudoOff(Editor& e);
MenuOutcome DefineMacro(Editor& e);
MenuOutcome PlayMacro(Editor& e);
MenuOutcome ReadMacroFile(Editor& e);
MenuOutcome WriteMacroFile(Editor& e);
MenuOutcome MacrosOn(Editor& e);
MenuOutcome MacrosOff(Editor& e);

}  // namespace lumo::menu

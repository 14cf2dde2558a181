// The commands that run other programs: RUN on the saved file, help, and
// this editor nested on a side file (Ctrl+F4, Alt+F4).
#pragma once
#include <string>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// This editor on file, with the options it was started with; macros are
// offered for saving first, and the side file is read again after.
void RunNested(Editor& e, const std::string& file);

Reentry RunFileKey(Editor& e, KeyCode key);     // Alt+F2
Reentry HelpKey(Editor& e, KeyCode key);        // F1, Alt+H
Reentry EditOtherKey(Editor& e, KeyCode key);   // Ctrl+F4
Reentry EditShortsKey(Editor& e, KeyCode key);  // Alt+F4

}  // namespace lumo

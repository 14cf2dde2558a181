// The command loop: draw, place the cursor, read a key, run its command.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

inline constexpr KeyCode KeyEsc = 0x0000011B;
inline constexpr KeyCode KeyF2 = 0x0200FF02;
inline constexpr KeyCode KeyCtrlAltBackspace = 0x030C0E00;

// Runs until the exit sequence ends the editor or Ctrl+Alt+Backspace; ExitCode
// is then set.
void MainLoop(Editor& e);
// One key's command; false when the loop is to end.
bool Dispatch(Editor& e, KeyCode key);
// Draws the window and the status row and places the cursor.
void RedrawAll(Editor& e);

}  // namespace lumo

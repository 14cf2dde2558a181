// The command loop: bring the cursor into view, draw, read a key, run what
// the key table or the fallbacks make of it, and go on at the re-entry point
// the command returned.
#pragma once
#include "app/Editor.h"
#include "app/KeyTable.h"
#include "screen/Console.h"
#include "tools/Keystrokes.h"

namespace lumo {

// Runs until the exit sequence ends the editor or Ctrl+Alt+Backspace; ExitCode
// is then set.
void MainLoop(Editor& e);
// What the loop does with one key after reading it: the take-file mark, the
// snapshot for undo, then the dispatch.
Reentry HandleKey(Editor& e, KeyCode key);
// The key's command: a table row, the macro keys, the Alt fallback or typing.
Reentry Dispatch(Editor& e, KeyCode key);
// Moves TopLine and HScroll until the cursor's cell lies in the text window.
void ScrollToCursor(Editor& e);
// Scrolls, places the cursor and draws the window and the status row into
// the cells, whatever is marked: for a console whose size changed, which
// then shows every cell itself.
void RedrawAll(Editor& e);

}  // namespace lumo

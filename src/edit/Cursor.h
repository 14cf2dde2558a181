// Cursor and window movement: single steps, line groups, pages, the window's
// top and bottom, the ends of the text, word steps, tab stops, a line chosen
// by number, and the ring of earlier positions that Get back walks. The
// commands only set CurLine, CurCol and TopLine; the main loop scrolls the
// cursor into view afterwards.
#pragma once
#include <cstdint>
#include <string_view>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// Records the current position (top line, cursor line, column) in the
// jump ring; the searches and the jumps to marks call it too.
void PushJump(Editor& e);
// The text of a line-number answer as a signed 16-bit number: optional
// blanks around, an optional sign, decimal digits. False for anything else.
bool ParseLineNumber(std::string_view text, int16_t& number);
// The two halves of Ctrl+Tab, which the cursor menu offers one by one: the
// window's top line, and the line a page below it (at most the last).
void CursorToWindowTop(Editor& e);
void CursorToWindowBottom(Editor& e);

// Key procedures; the shifted forms that mark are edit/Blocks.h's.
Reentry LeftKey(Editor& e, KeyCode key);            // Left
Reentry RightKey(Editor& e, KeyCode key);           // Right
Reentry UpKey(Editor& e, KeyCode key);              // Up
Reentry DownKey(Editor& e, KeyCode key);            // Down
Reentry Up4Key(Editor& e, KeyCode key);             // Alt+Up
Reentry Down4Key(Editor& e, KeyCode key);           // Alt+Down
Reentry Up8Key(Editor& e, KeyCode key);             // Ctrl+Up
Reentry Down8Key(Editor& e, KeyCode key);           // Ctrl+Down
Reentry HomeKey(Editor& e, KeyCode key);            // Home
Reentry EndKey(Editor& e, KeyCode key);             // End
Reentry PageUpKey(Editor& e, KeyCode key);          // PgUp
Reentry PageDownKey(Editor& e, KeyCode key);        // PgDn
Reentry TextTopKey(Editor& e, KeyCode key);         // Ctrl+Home
Reentry TextBottomKey(Editor& e, KeyCode key);      // Ctrl+End
Reentry ScrollUpKey(Editor& e, KeyCode key);        // Ctrl+PgUp
Reentry ScrollDownKey(Editor& e, KeyCode key);      // Ctrl+PgDn
Reentry WindowEdgeKey(Editor& e, KeyCode key);      // Ctrl+Tab, Shift+Home
Reentry LineToTopKey(Editor& e, KeyCode key);       // F5
Reentry GoToLineKey(Editor& e, KeyCode key);        // F4
Reentry GetBackKey(Editor& e, KeyCode key);         // Ctrl+F3
Reentry WordLeftKey(Editor& e, KeyCode key);        // Ctrl+Left
Reentry WordRightKey(Editor& e, KeyCode key);       // Ctrl+Right
Reentry WordwiseLeftKey(Editor& e, KeyCode key);    // Alt+Left
Reentry WordwiseRightKey(Editor& e, KeyCode key);   // Alt+Right
Reentry NextTabKey(Editor& e, KeyCode key);         // Tab
Reentry PrevTabKey(Editor& e, KeyCode key);         // Shift+Tab

}  // namespace lumo

// Commands on whole lines and on words and characters inside a line: adding,
// duplicating, splitting, joining and deleting lines, blanking a line's end,
// deleting words and single characters. The building blocks work at CurLine
// and CurCol and are shared with formatting, block and paste commands; the
// key procedures below them are the table's entry points.
#pragma once
#include <cstdint>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// False, after the "too many lines" notice and with OpFailed set, when the
// text cannot take another line.
bool RoomForLine(Editor& e);

// A blank line of capacity RightMargin after the current one, cursor on it
// at LeftMargin.
void AddEmptyLine(Editor& e);
// A copy of the current line (same capacity and bytes) below it, cursor on it.
void DuplicateLine(Editor& e);
// The bytes from CurCol on go to a new line below, indented to LeftMargin;
// the cursor stays at the end of the first half.
void SplitLine(Editor& e);
// Pulls the next line up to the cursor column (or to the end of the text when
// the cursor stands inside it), as far as FormatWidth allows: the whole line,
// or only the words that fit.
void JoinLines(Editor& e);
// Removes the current line; on the last line only after the user agrees.
// True when the question was asked (both top rows need drawing again).
bool DeleteCurrentLine(Editor& e);
// Blanks the current line from CurCol to its capacity.
void BlankToEnd(Editor& e);
// Removes the word left of the cursor; flag 1 also takes the first byte of
// a following delimiter run.
void DeleteWordLeft(Editor& e, uint8_t flag);
// Removes the word at the cursor, or the run of delimiters and blanks there.
void DeleteWord(Editor& e);
// Removes the byte at CurCol; a rectangle on this line alone right of the
// cursor moves with its text. False when no byte went (the cursor past the
// line's capacity, or the store refused).
bool DeleteCharAtCursor(Editor& e);

// Key procedures.
Reentry AddLineKey(Editor& e, KeyCode key);        // F3
Reentry EnterKey(Editor& e, KeyCode key);          // Enter
Reentry PadEnterKey(Editor& e, KeyCode key);       // keypad Enter
Reentry DuplicateKey(Editor& e, KeyCode key);      // F8
Reentry SplitKey(Editor& e, KeyCode key);          // Alt+S
Reentry JoinKey(Editor& e, KeyCode key);           // Alt+J
Reentry DeleteLineKey(Editor& e, KeyCode key);     // Ctrl+Y
Reentry BlankToEndKey(Editor& e, KeyCode key);     // Ctrl+K
Reentry DeleteWordLeftKey(Editor& e, KeyCode key); // Ctrl+Backspace
Reentry DeleteWordKey(Editor& e, KeyCode key);     // Alt+W
Reentry DelKey(Editor& e, KeyCode key);            // Del
Reentry BackspaceKey(Editor& e, KeyCode key);      // Backspace

}  // namespace lumo

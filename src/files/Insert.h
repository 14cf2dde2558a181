// Taking a file into the text (Shift+F1): its lines go in after the cursor's
// line, and the last of them is remembered in e.InsertMark so that Ctrl+F1,
// as the next command, can take them out again. The key procedures of the
// file commands are declared here for the key table.
#pragma once
#include "app/Editor.h"
#include "files/AskFile.h"
#include "screen/Console.h"

namespace lumo {

// Asks for an existing file (starting from the block file name) and inserts
// its lines after line CurLine. The cursor stays where it was. e.OpFailed is
// 1 after Esc or when the text could not take every line.
void TakeFile(Editor& e);
// Inserts the lines of an opened file after line CurLine and sets the mark;
// returns how many lines went in. TakeFile's second half.
int InsertFileLines(Editor& e, int fd);

Reentry TakeFileKey(Editor& e, KeyCode key);  // Shift+F1

}  // namespace lumo

// Taking a file into the text (Shift+F1): its lines go in after the cursor's
// line, and the last of them is remembered in e.InsertMark so that Ctrl+F1,
// as the next command, can take them out again. Writing the line block out
// (Shift+F2) is its counterpart: both start from the block file name. The key
// procedures of the file commands are declared here for the key table.
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

// Asks for a file (starting from the block file name) and writes the line
// block to it: at the end of an existing file, or as a new file. A block of
// the whole text gives the text that name. e.OpFailed is 1 without a block,
// after Esc, or when the write failed.
void WriteBlock(Editor& e);

Reentry TakeFileKey(Editor& e, KeyCode key);  // Shift+F1
Reentry WriteBlockKey(Editor& e, KeyCode key);  // Shift+F2

}  // namespace lumo

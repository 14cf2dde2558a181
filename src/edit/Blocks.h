// Blocks: marking a line block or a rectangle, copying, moving, deleting and
// shifting it, and the exchange with the clipboard file. At most one block
// exists; the store keeps its line numbers in step with inserted and deleted
// lines, so the commands here only ever set it and act on it.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

bool HasBlock(const Editor& e);
// Clears whichever block is marked.
void Unmark(Editor& e);
// Removes the block's lines, or its columns from each of its lines, and
// unmarks; without a block, the no-block message and OpFailed.
void DeleteBlock(Editor& e);

// Key procedures.
Reentry MarkLineKey(Editor& e, KeyCode key);        // Alt+L
Reentry MarkAllKey(Editor& e, KeyCode key);         // Ctrl+A
Reentry MarkCornerKey(Editor& e, KeyCode key);      // Alt+B
Reentry MarkWordKey(Editor& e, KeyCode key);        // Alt+V, Alt+X, Alt+Z
Reentry MarkToEndKey(Editor& e, KeyCode key);       // Alt+E, Shift+End
Reentry MarkLineTextKey(Editor& e, KeyCode key);    // Alt+N
Reentry MarkUpKey(Editor& e, KeyCode key);          // Shift+Up, with Alt or Ctrl too
Reentry MarkDownKey(Editor& e, KeyCode key);        // Shift+Down, with Alt or Ctrl too
Reentry MarkLeftKey(Editor& e, KeyCode key);        // Shift+Left
Reentry MarkRightKey(Editor& e, KeyCode key);       // Shift+Right
Reentry MarkWordLeftKey(Editor& e, KeyCode key);    // Ctrl+Shift+Left
Reentry MarkWordRightKey(Editor& e, KeyCode key);   // Ctrl+Shift+Right
Reentry CopyBlockKey(Editor& e, KeyCode key);       // Alt+C, Alt+K
Reentry MoveBlockKey(Editor& e, KeyCode key);       // Alt+M
Reentry DeleteBlockKey(Editor& e, KeyCode key);     // Alt+G
Reentry ShiftBlockKey(Editor& e, KeyCode key);      // Ctrl+Ins, Ctrl+Del
Reentry BlockDelKey(Editor& e, KeyCode key);        // Del
Reentry ClipCopyKey(Editor& e, KeyCode key);        // Ctrl+C, Ctrl+X
Reentry ClipPasteKey(Editor& e, KeyCode key);       // Ctrl+V

}  // namespace lumo

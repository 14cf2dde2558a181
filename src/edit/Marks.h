// Marks: three line marks, two position marks, the column mark, and the lines
// whose text ends in a marker byte 0, which F12 visits in turn. The store
// renumbers the marks as lines come and go and clears one whose line goes, so
// these commands only ever set a mark or jump to it. Every jump records the
// place it left in the jump ring, for Get back.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// Whether line i's text ends in the marker byte.
bool HasEndMarker(const Editor& e, int i);

// Key procedures.
Reentry SetLineMarkKey(Editor& e, KeyCode key);      // Alt+1, Alt+2, Alt+3
Reentry GoLineMarkKey(Editor& e, KeyCode key);       // Alt+4, Alt+5, Alt+6
Reentry SetPositionMarkKey(Editor& e, KeyCode key);  // Alt+7, Alt+8
Reentry GoPositionMarkKey(Editor& e, KeyCode key);   // Alt+9, Alt+0
Reentry SetColumnMarkKey(Editor& e, KeyCode key);    // Alt+-
Reentry GoColumnMarkKey(Editor& e, KeyCode key);     // Alt+=
Reentry ToggleEndMarkerKey(Editor& e, KeyCode key);  // Ctrl+F12
Reentry NextEndMarkerKey(Editor& e, KeyCode key);    // F12

}  // namespace lumo

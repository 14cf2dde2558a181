// The history screen: the ring of earlier line versions on a screen of its
// own, with a prompt to insert one of them and a display of key codes.
#pragma once
#include "app/Editor.h"

namespace lumo {

// Shows the screen until a slot is chosen (Space, then its number) or
// Ctrl+Alt+Tab; the caller redraws everything afterwards.
void ShowHistoryScreen(Editor& e);

}  // namespace lumo

// The one key source of the main loop and of the prompt line: recording and
// replaying keystrokes will take their keys here. Pastes come through too;
// these two readers alone take them as text.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

KeyCode NextKey(Editor& e);

}  // namespace lumo

// The keys of completion and of the completion list.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// The completion key: the next byte of an accepted candidate, else a search
// whose offers are answered on the message row.
Reentry CompleteKey(Editor& e, KeyCode key);
// Space: an abbreviation before the cursor is replaced by its expansion,
// else a blank is typed.
Reentry SpaceKey(Editor& e, KeyCode key);
// Alt+\ (a word asked for) and Alt+Shift+\ (the current line) add a line to
// shorts.lmo in the current directory.
Reentry AppendShortsKey(Editor& e, KeyCode key);
// Alt+Space: read shorts.lmo again.
Reentry RereadShortsKey(Editor& e, KeyCode key);

}  // namespace lumo

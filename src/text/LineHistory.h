// The ring of earlier line versions and the one-key snapshot pair.
#pragma once
#include "text/TextState.h"

namespace lumo {

// Saves line i into the ring unless the current episode already did.
void PushHistory(TextState& t, int i);
// Puts the cursor on another line (kept inside the text); leaving a line
// ends its editing episode, so the next change there is pushed anew.
void MoveToLine(TextState& t, int line);
// Copies the current line and column into the other snapshot slot.
void TakeSnapshot(TextState& t);
// Shift+F10: the current line as it was before this episode's first change.
void RestoreBeforeEpisode(TextState& t);
// Alt+R: the newest not yet restored ring entry as a new line above the cursor.
void RestoreFromRing(TextState& t);
// Alt+Backspace: the current line as it was before the previous key.
void UndoLastChange(TextState& t);
// Inserts ring slot n above the cursor's line (the history screen's choice).
void InsertFromSlot(TextState& t, int n);

}  // namespace lumo

// The ring of earlier line versions and the one-key snapshot pair.
#pragma once
#include "text/TextState.h"

namespace lumo {

// Saves line i into the ring unless the current episode already did.
void PushHistory(TextState& t, int i);
// Copies the current line and column into the other snapshot slot.
void TakeSnapshot(TextState& t);

}  // namespace lumo

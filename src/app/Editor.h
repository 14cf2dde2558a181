// The one editing state: every subsystem's part of it in one plain struct, so
// a command can reach all of it and a test can make a fresh one.
#pragma once
#include "app/AppState.h"
#include "files/FileState.h"
#include "screen/ScreenState.h"
#include "text/TextState.h"

namespace lumo {

struct Editor : TextState, ScreenState, FileState, AppState {};

}  // namespace lumo

// The one editing state: every subsystem's part of it in one plain struct, so
// a command can reach all of it and a test can make a fresh one.
#pragma once
#include <cstdint>

#include "app/AppState.h"
#include "app/SearchState.h"
#include "files/FileState.h"
#include "screen/ScreenState.h"
#include "text/TextState.h"
#include "tools/ToolState.h"

namespace lumo {

struct Editor : TextState, ScreenState, FileState, AppState, ToolState, SearchState {};

// Where the loop goes on after a command: the redraw point (idle message row,
// the whole window, status), the update point (scrolling, status, the lines
// the command marked) or the read point (cursor placed, nothing new to draw).
enum class Reentry : uint8_t { Redraw, Update, Read };


}  // namespace lumo

// Writing the text, or a range of its lines, as a plain text file.
#pragma once
#include <string>
#include "app/Editor.h"

namespace lumo {

enum SaveMode { SaveAsIs = 0, SaveControlsBlank = 2, SaveControlsCoded = 4 };

// F2: writes the whole text to its file when it is modified, then the
// alternative copies. On failure Modified stays set and OpFailed is 1.
void SaveText(Editor& e);

// Writes lines first..last to fd in the given mode and the file's code page,
// each followed by the file's line end.
// Shows "writing" and restores the idle message row unless quiet. False when a
// write failed (the message is shown unless quiet).
bool SaveLines(Editor& e, int first, int last, int fd, int mode, bool quiet = false);

// After a hang-up or SIGTERM: writes the modified text beside its file as
// name + ".save" (or a numbered name when that exists), never over the file.
// Returns the name written, empty when nothing was written.
std::string WriteEmergencyCopy(Editor& e);

}  // namespace lumo

// From the command line to the first screen, and from the exit question to
// the process's end.
#pragma once
#include <string>
#include <vector>
#include "app/Editor.h"

namespace lumo {

// Start values the state needs before the command line is read.
void SetStartValues(Editor& e);
// Runs start-up with the arguments (without the program name). False when
// start-up failed (ExitCode is then 2).
bool StartEditor(Editor& e, const std::vector<std::string>& args);
void ShowCredits(Editor& e);
void ComputeTabStops(Editor& e);

// The exit question and what follows it. True when the editor is to end
// (ExitCode set), false when the user went back to editing.
bool ExitSequence(Editor& e);

}  // namespace lumo

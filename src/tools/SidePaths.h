// Where the editor's own files live: the per-user state directory for the
// settings, prompt history and clipboard files, and the look-up of shipped
// side files (help, macros, completion list).
#pragma once
#include <string>

namespace lumo {

// $XDG_STATE_HOME/lumo/ (default ~/.local/state/lumo/), with the final "/".
std::string StateDirectory();
// Creates the state directory (mode 0700) when a side file is first written.
bool EnsureStateDirectory();
// The running program's path (for side files beside it).
std::string ProgramPath();
// Looks for name in the current directory, then beside the program, then in
// ../share/lumo/ beside that; on success name becomes the path found.
bool FindSideFile(std::string& name, const std::string& programPath);

}  // namespace lumo

// Start-up settings, side-file paths and the exit code.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace lumo {

struct AppState {
  uint8_t ExitCode = 2;          // 2 until start-up has succeeded
  bool Credits = true;           // option "W" turns the credits screen off
  bool LoadKeystrokes = false;   // option "K"
  bool ClipexOn = false;         // option "#"
  std::string MarkerText = "??"; // "{}" in program texts
  std::string MacroFileName = "keydef.lmo";
  std::string SettingsFile;      // per-file settings path
  std::string HistoryFile;       // prompt history path
  std::string ClipFile;          // clipboard file path
  std::string ProgramPath;       // the running program, for side files
  std::vector<std::string> Args; // the command line after the program, for nested runs
  std::string NestedName = "keydef.lmo";  // the last name Ctrl+F4 was given
  bool Quit = false;             // the loop ends after the current key
  bool MacrosOn = true;          // Ctrl+Alt keys play (and with Shift define) macros
  int16_t TopBefore = 1;         // TopLine as it was when the current command began
  bool ReplaceWaiting = false;   // a search-and-replace run waits for its next match
};

}  // namespace lumo

// A nested editor is started directly with an argument vector: no shell reads
// a side file's name, whatever characters it holds. RUN goes through the
// command interpreter, as users' RUN scripts expect, with the file name
// quoted for /bin/sh. What the programs do is theirs: the editor reports
// nothing, and its own text is never touched by them.
#include "app/OutsideCommands.h"

#include <vector>

#include "app/MacroCommands.h"
#include "app/MainLoop.h"
#include "files/AskFile.h"
#include "files/Save.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/Cp866.h"
#include "text/Texts.h"
#include "tools/Completion.h"
#include "tools/Macros.h"
#include "tools/Outside.h"
#include "tools/SidePaths.h"

namespace lumo {
namespace {

constexpr const char* HelpFileName = "lumoview.hlp";

// Everything the screen shows is drawn again after another program had it.
Reentry Redrawn(Editor& e) {
  MarkWindow(e);
  MarkStatus(e);
  return Reentry::Redraw;
}

// The side file's path where the look-up finds it, else the name itself.
std::string SidePath(const Editor& e, std::string name) {
  std::string path = name;
  return FindSideFile(path, e.ProgramPath) ? path : name;
}

}  // namespace

void RunNested(Editor& e, const std::string& file) {
  // Without its own path the editor cannot start itself again; whatever
  // "lumo" PATH holds might be another program.
  if (e.ProgramPath.empty()) return;
  OfferMacroSave(e);
  std::vector<std::string> argv{e.ProgramPath};
  // Every option it was started with, but not its own file.
  for (size_t i = 0; i + 1 < e.Args.size(); ++i) argv.push_back(e.Args[i]);
  argv.push_back(file);
  RunProgram(e.Con, argv);
  if (file == ShortsName) ReadShorts(e);
  else if (file == MacroFileName) TransferMacros(e, MacroTransfer::SilentRead);
}

// A RUN on a file that did not save would work on what the disk holds, not
// on what the user sees: a failed save runs nothing.
Reentry RunFileKey(Editor& e, KeyCode) {
  SaveText(e);
  if (e.Modified || e.FileName.empty()) return Redrawn(e);
  RunInterpreter(e, " /C RUN " + e.FileName, "RUN " + ShellQuote(e.FileName));
  return Redrawn(e);
}

Reentry HelpKey(Editor& e, KeyCode) {
  std::string path = HelpFileName;
  if (!FindSideFile(path, e.ProgramPath)) {
    ShowMessage(e, std::string(Texts::FileNotFound) + HelpFileName, 1);
    return Reentry::Update;
  }
  RunNested(e, path);
  return Redrawn(e);
}

Reentry EditOtherKey(Editor& e, KeyCode) {
  OpenFile none;
  AskFile(e, e.NestedName, none, AskNameOnly);
  if (e.OpFailed != 0) return Reentry::Redraw;
  RunNested(e, SidePath(e, e.NestedName));
  return Redrawn(e);
}

Reentry EditShortsKey(Editor& e, KeyCode) {
  RunNested(e, SidePath(e, std::string(ShortsName)));
  return Redrawn(e);
}

}  // namespace lumo

#include "app/Run.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/MainLoop.h"
#include "app/Startup.h"
#include "files/Save.h"
#include "screen/StatusRow.h"
#include "screen/Terminal.h"
#include "screen/Window.h"
#include "tools/AtomicFile.h"
#include "tools/SidePaths.h"

namespace lumo {
namespace {

// The budget can be lowered to reach the low-memory paths from outside.
size_t BudgetFromEnvironment() {
  const char* v = std::getenv("LUMO_MEMORY_BUDGET");
  if (!v || !*v) return DefaultBudget;
  char* end = nullptr;
  unsigned long long n = std::strtoull(v, &end, 10);
  if (end == v || n == 0) return DefaultBudget;
  return size_t(n);
}

}  // namespace

int RunEditor(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  TermConsole term;
  std::string why;
  if (!term.Open(why)) {
    std::fprintf(stderr, "lumo: %s\n", why.c_str());
    return 2;
  }
  auto e = std::make_unique<Editor>();
  Editor& ed = *e;
  ed.Con = &term;
  ed.BudgetLimit = BudgetFromEnvironment();
  ed.ProgramPath = ProgramPath();
  ed.Notify = [](TextState& t, std::string_view msg) { ShowMessage(static_cast<Editor&>(t), msg, 1); };
  term.OnResize = [&ed, width = term.W()]() mutable {
    ed.PageStep = int16_t(ed.Con->H() - 3);
    ResizeMessageRow(ed, width);
    width = ed.Con->W();
    RedrawAll(ed);
  };
  term.OnHangup = [&ed, &term](int sig) {
    // The terminal is gone or we are told to stop: keep the work, then go.
    // A save cut short leaves its unfinished file behind unless told.
    AtomicFile::CancelAll();
    WriteEmergencyCopy(ed);
    term.Restore();
    _exit(128 + (sig > 0 ? sig : SIGHUP));
  };

  if (StartEditor(ed, args)) MainLoop(ed);
  HideWindow(ed);
  term.Clear();
  ShowScreen(ed);
  term.Restore();
  return ed.ExitCode;
}

}  // namespace lumo

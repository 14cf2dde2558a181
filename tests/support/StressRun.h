// One editor on a test console, driven key by key from a generator through
// the real main loop, with the whole state and the window on screen checked
// before every key. The text's file, the file offered for insertion and the
// side files live in a private directory.
#pragma once
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "TempDir.h"
#include "app/Editor.h"
#include "app/Invariants.h"
#include "app/MainLoop.h"
#include "app/Startup.h"
#include "files/CodePages.h"
#include "files/Load.h"
#include "screen/KeyNames.h"
#include "screen/TestConsole.h"
#include "screen/Window.h"
#include "text/LineStore.h"

namespace lumo::test {

// A small text with what the commands meet: a tab, a blank line, trailing
// blanks, a line wider than the window.
inline const char* const StressText =
    "program demo;\r\n"
    "\tbegin writeln('привет');\r\n"
    "\r\n"
    "  end.   \r\n"
    "a line that is rather longer than the window is wide, so that the window has to scroll sideways to show it\r\n";

class StressRun {
 public:
  explicit StressRun(std::string_view text, int w = 80, int h = 25, size_t budget = DefaultBudget)
      : Con(w, h), E(std::make_unique<Editor>()) {
    Editor& e = *E;
    e.Con = &Con;
    SetStartValues(e);
    ComputeTabStops(e);
    e.BudgetLimit = budget;
    e.FileName = e.BoundName = Dir / "text.txt";
    e.HistoryFile = Dir / "history";
    e.SettingsFile = Dir / "settings";
    e.ClipFile = Dir / "clip";
    // Refusals of the store are shown and waited for as in the program.
    e.Notify = [](TextState&, std::string_view) {};
    TempDir::Write(Dir / "text.txt", std::string(text));
    TempDir::Write(Dir / "insert.txt", "inserted one\r\n\tinserted two\r\n");
    std::filesystem::create_directory(Dir / "elsewhere");
    InitLineTable(e);
    LoadBytes(e, text);
    EnsureOneLine(e);
    e.Modified = false;
    e.ExitCode = 0;
  }

  // Feeds up to n keys from next through the main loop, checking the state
  // before each. Stops at the first fault; returns false then, with Fault
  // saying what was wrong after which key.
  bool Run(const std::function<KeyCode()>& next, long n) {
    long stopping = 0;
    Con.Feed = [&]() -> KeyCode {
      if (Fault.empty()) {
        std::string f = CheckInvariants(*E);
        if (f.empty()) f = StaleRow();
        if (!f.empty()) Fault = f + " after key " + std::to_string(Keys) + " (" + KeyName(Last) + ")";
      }
      if (Fault.empty() && Keys < n) {
        ++Keys;
        return Last = next();
      }
      // Winding down: Esc leaves any prompt or menu, Ctrl+Alt+Backspace the
      // loop, and now and then Ctrl+Alt+Tab the line history screen (in the
      // loop it takes the Esc after it, and the next key still ends it).
      // Past the limit the editor is stuck, and the run ends with the fault.
      if (++stopping > 1000 && Fault.empty()) Fault = "the editor does not stop";
      if (stopping > 2000) throw std::runtime_error(Fault);
      if (stopping % 8 == 4) return keys::Ctrl(keys::Alt(keys::Tab));
      return stopping % 2 ? keys::Esc : keys::Ctrl(keys::Alt(keys::Backspace));
    };
    while (Fault.empty() && Keys < n && stopping == 0) {
      E->Quit = false;
      MainLoop(*E);
    }
    Con.Feed = nullptr;
    if (Fault.empty()) Fault = CheckInvariants(*E);
    return Fault.empty();
  }

  // The window on screen must be what drawing it whole gives now: a change
  // that no mark reached stays stale there.
  std::string StaleRow() {
    if (!E->Marks.Shown) return {};
    const std::vector<Cell> shown(Con.Cells(), Con.Cells() + size_t(Con.W() * Con.H()));
    DrawWindow(*E);
    for (int r = 3; r <= Con.H(); ++r)
      if (!std::equal(&Con.At(r, 1), &Con.At(r, 1) + Con.W(), shown.begin() + (r - 1) * Con.W()))
        return "row " + std::to_string(r) + " was not drawn again";
    return {};
  }

  // The text as lines without their padding, as a save writes them.
  std::string Saved() const {
    std::string s;
    for (int i = 1; i <= E->LineCount; ++i) {
      std::string_view b = LineBytes(*E, i);
      size_t n = b.size();
      while (n > 0 && (b[n - 1] == ' ' || b[n - 1] == '\0')) --n;
      std::string line(b.substr(0, n));
      // A text read as 1251 or KOI8-R goes back in it.
      if (const ByteMap* out = WriteMap(E->FileCodePage)) RecodeBytes(line.data(), n, *out);
      s.append(line).append("\r\n");
    }
    return s;
  }

  TempDir Dir;
  TestConsole Con;
  std::unique_ptr<Editor> E;
  std::string Fault;
  long Keys = 0;
  KeyCode Last = 0;
};

}  // namespace lumo::test

// The end-to-end harness: one program run in a pseudo-terminal, its output
// read into a libvterm screen that the tests query cell by cell.
//
// A Session owns a temporary tree (work/ as the working directory, home/ as
// HOME, state/ as XDG_STATE_HOME, san/ for sanitizer reports) that is removed
// when the session ends. The parent keeps its own descriptor of the pty's
// slave side, so the line discipline can still be read after the program has
// gone: that is how a test sees whether the terminal was left in cooked mode.
//
// Nothing here sleeps for correctness: every wait pumps output until a
// predicate holds or a deadline passes.
#pragma once
#include <sys/types.h>
#include <termios.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "TempDir.h"

struct VTerm;
struct VTermScreen;

namespace lumo::e2e {

using Ms = std::chrono::milliseconds;
inline constexpr Ms DefaultWait{5000};

struct LaunchOptions {
  std::string Program;                 // empty: the editor under test
  std::vector<std::string> Args;       // after argv[0]
  int Cols = 80;
  int Rows = 25;
  std::vector<std::pair<std::string, std::string>> Env;  // added or overriding
};

// How the program ended.
struct ExitStatus {
  bool Exited = false;  // normal exit (Code valid), else killed by Signal
  int Code = -1;
  int Signal = 0;
};

// One expected fact about the screen: text from (Row, Col), and when Attr is
// not negative, the attribute of every cell the text covers (Len cells when
// Text is empty, for an attribute run over any characters).
struct Expect {
  int Row;
  int Col;
  std::string Text;  // UTF-8
  int Attr = -1;
  int Len = 0;
};

class Session {
 public:
  Session();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The session's directories.
  const std::string& WorkDir() const { return Work; }
  const std::string& StateDir() const { return State; }
  std::string PathOf(std::string_view name) const;  // relative: inside WorkDir
  void WriteFile(std::string_view name, std::string_view bytes) const;
  std::optional<std::string> ReadFile(std::string_view name) const;  // relative: WorkDir
  bool Exists(std::string_view name) const;

  // Starts the program; a session runs one program once.
  void Start(const LaunchOptions& opts);
  // The editor with these arguments on an 80x25 (or given) terminal.
  void StartEditor(std::vector<std::string> args, int cols = 80, int rows = 25,
                   std::vector<std::pair<std::string, std::string>> env = {}) {
    Start({"", std::move(args), cols, rows, std::move(env)});
  }

  // Input.
  void Send(std::string_view bytes);
  // Keys as measured terminals send them ("ab<Ctrl+F2>": names as in
  // tests/data/keys.tsv), one key per write; a lone Esc is
  // followed by a pause longer than the program's Esc timeout, or it would be
  // read as Alt with the next key.
  void Keys(std::string_view script);

  // Output: reads what is there, waiting at most `wait` for the first byte.
  // False once the program's side is closed and drained.
  bool Pump(Ms wait = Ms{0});
  // Pumps until pred holds (true) or the deadline passes (false).
  bool WaitFor(const std::function<bool()>& pred, Ms deadline = DefaultWait);
  bool WaitText(int row, int col, std::string_view utf8, Ms deadline = DefaultWait);
  // Waits until every expectation holds; returns the mismatches left at the
  // deadline (empty when the screen matched).
  std::string WaitScreen(const std::vector<Expect>& picture, Ms deadline = DefaultWait);
  std::string Mismatches(const std::vector<Expect>& picture) const;

  // Screen queries; rows and columns from 1. An attribute is -1 when a
  // colour is not one of the PC's 16.
  std::string Text(int row, int col, int len) const;  // UTF-8
  int Attr(int row, int col) const { return Cell(row, col, nullptr); }
  bool ScreenContains(std::string_view utf8) const;
  int CursorRow() const { return CurRow + 1; }
  int CursorCol() const { return CurCol + 1; }
  bool CursorVisible() const { return CursorShown; }
  bool AltScreen() const { return AltActive; }
  const std::string& RawOutput() const { return Raw; }
  // Rows as text with attribute runs, the cursor and the alternate-screen
  // flag: for failure messages.
  std::string Dump() const;

  // Process control.
  pid_t Pid() const { return Child; }
  void Resize(int cols, int rows);
  void Signal(int sig);
  void HangUp();  // closes the master side
  // Waits for the program to end, pumping its output meanwhile.
  std::optional<ExitStatus> WaitExit(Ms deadline = DefaultWait);
  bool Running();
  // The pty's line discipline now (also after the program ended, unless the
  // line was hung up) and as it was before the program started.
  std::optional<termios> TtyModes() const;
  const termios& InitialModes() const { return Initial; }
  // Sanitizer reports the program left behind (empty when none).
  std::string SanitizerReports() const;

 private:
  int Cell(int row, int col, std::string* utf8) const;  // the attribute; the glyph, a blank when empty

  test::TempDir Root;
  std::string Work = Root / "work", Home = Root / "home", State = Root / "state", San = Root / "san";
  int Master = -1;
  int Slave = -1;
  pid_t Child = -1;
  std::optional<ExitStatus> Ended;
  termios Initial{};
  int RowsN = 25, ColsN = 80;
  VTerm* Vt = nullptr;
  VTermScreen* Screen = nullptr;
  std::string Raw;
  bool AltActive = false;
  bool CursorShown = true;
  int CurRow = 0, CurCol = 0;
  bool Closed = false;

  friend struct SessionCallbacks;
};

// The editor under test, as the build gives it.
std::string EditorBinary();

// Bytes helpers for building files.
std::string Lines(const std::vector<std::string>& lines, std::string_view ending = "\r\n");

}  // namespace lumo::e2e

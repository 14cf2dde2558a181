// The world going wrong around the editor: the terminal closed under it or
// no longer reading, SIGTERM in the middle of a question, a file size limit
// at F2, a storm of resizes; and every way out, orderly or not, giving the
// terminal back.
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "EditorFixture.h"
#include "Keys.h"

namespace lumo::e2e {
namespace {

const std::string WriteError = "Ошибка записи или файл - только для чтения!";
const std::string GoToTitle = "     Введите номер строки:";

// A shell between the harness and the editor, for what the harness does
// not set itself (limits, an ignored signal). "$0" is the editor.
LaunchOptions ThroughShell(const std::string& script, std::vector<std::string> editorArgs) {
  LaunchOptions o;
  o.Program = "/bin/sh";
  o.Args = {"-c", script, EditorBinary()};
  o.Args.insert(o.Args.end(), editorArgs.begin(), editorArgs.end());
  return o;
}

class FaultTest : public EditorTest {
 protected:
  // The text made modified by typing at the start of line 1.
  void OpenModified() {
    S.WriteFile("a.txt", Original);
    ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}));
    TypeChange();
  }
  void TypeChange() {
    S.Keys("xy");
    ASSERT_TRUE(S.WaitText(3, 1, "xyabc")) << "typing does not reach the text";
  }
  std::optional<ExitStatus> Ended(Ms deadline = DefaultWait) {
    auto e = S.WaitExit(deadline);
    if (!e) ADD_FAILURE() << "the editor did not end";
    return e;
  }
  // The names in the working directory.
  std::set<std::string> WorkFiles() const {
    std::set<std::string> out;
    for (auto& f : std::filesystem::directory_iterator(S.WorkDir())) out.insert(f.path().filename().string());
    return out;
  }

  const std::string Original = "abc\r\nsecond line\r\n";
  const std::string Changed = "xyabc\r\nsecond line\r\n";
};

// Where the editor is when the end comes: the main loop, a question, a
// prompt for a number, a prompt for a file name.
struct Place {
  const char* Name;
  const char* Keys;
  int Row;
  const char* Shows;  // UTF-8 at (Row, 1) once the place is reached
};

const Place Places[] = {
    {"Editing", "", 3, "xyabc"},
    {"SaveQuestion", "<Esc>", 1, " Записать в файл ?"},
    {"LinePrompt", "<F4>", 2, "     Введите номер строки:"},
    {"NamePrompt", "<S-F1>", 2, "Введите имя файла или Esc: "},
};

// How the end comes.
enum class End { CloseTerminal, Sigterm, Sighup };

struct EndCase {
  End How;
  Place Where;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << int(c.How) << " " << c.Where.Name; }

class WorkSurvivesTest : public FaultTest, public testing::WithParamInterface<EndCase> {};

TEST_P(WorkSurvivesTest, TheChangedTextIsKeptBesideTheUntouchedFile) {
  const EndCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(OpenModified());
  S.Keys(c.Where.Keys);
  ASSERT_TRUE(S.WaitText(c.Where.Row, 1, c.Where.Shows)) << "did not reach " << c.Where.Name;
  int code = 128 + SIGHUP;
  switch (c.How) {
    case End::CloseTerminal: S.HangUp(); break;
    case End::Sigterm: S.Signal(SIGTERM); code = 128 + SIGTERM; break;
    case End::Sighup: S.Signal(SIGHUP); break;
  }
  auto e = Ended(Ms{3000});
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->Exited) << "killed by signal " << e->Signal;
  EXPECT_EQ(e->Code, code);
  EXPECT_EQ(S.ReadFile("a.txt"), Original) << "the file itself is not written";
  EXPECT_EQ(S.ReadFile("a.txt.save"), Changed);
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"a.txt", "a.txt.save"})) << "something else was left";
  if (c.How != End::CloseTerminal) ExpectTerminalRestored();
}

std::vector<EndCase> EndCases() {
  std::vector<EndCase> v;
  for (End how : {End::CloseTerminal, End::Sigterm, End::Sighup})
    for (const Place& p : Places) v.push_back({how, p});
  return v;
}

std::string EndCaseName(const testing::TestParamInfo<EndCase>& i) {
  const char* how[] = {"CloseTerminal", "Sigterm", "Sighup"};
  return std::string(how[int(i.param.How)]) + "In" + i.param.Where.Name;
}

INSTANTIATE_TEST_SUITE_P(Ends, WorkSurvivesTest, testing::ValuesIn(EndCases()), EndCaseName);

// A shell that ignores SIGHUP owns the terminal, the editor runs under it:
// when the terminal goes, the kernel signals only the shell, and the editor
// learns of it from reads that fail. It must end then, not spin on them.
TEST_F(FaultTest, AClosedTerminalEndsTheEditorEvenWithoutASignal) {
  S.WriteFile("a.txt", Original);
  S.Start(ThroughShell("trap '' HUP; exec 3<&0; \"$0\" \"$@\" <&3 3<&- & echo $! >pid; wait $!", {"-W", "a.txt"}));
  ASSERT_TRUE(S.WaitFor([&] { return EditorUp(S); })) << "the editor did not come up";
  ASSERT_NO_FATAL_FAILURE(TypeChange());
  pid_t editor = 0;
  std::ifstream(S.PathOf("pid")) >> editor;
  ASSERT_GT(editor, 0);
  S.HangUp();
  auto e = S.WaitExit(Ms{3000});
  if (!e) kill(editor, SIGKILL);  // do not leave it behind
  ASSERT_TRUE(e) << "the editor did not end after its terminal was closed";
  EXPECT_TRUE(e->Exited);
  EXPECT_EQ(e->Code, 128 + SIGHUP);
  EXPECT_EQ(S.ReadFile("a.txt"), Original);
  EXPECT_EQ(S.ReadFile("a.txt.save"), Changed);
}

// ulimit -f counts blocks of 512 bytes.
std::string BigText() {
  std::string s;
  for (int i = 0; i < 40; ++i) s += "line " + std::to_string(i) + " " + std::string(50, 'z') + "\r\n";
  return s;
}

TEST_F(FaultTest, AFileSizeLimitAtF2IsReportedAndTheEditorGoesOn) {
  const std::string text = BigText();
  S.WriteFile("a.txt", text);
  S.Start(ThroughShell("ulimit -f 2 && exec \"$0\" \"$@\"", {"-W", "a.txt"}));
  ASSERT_TRUE(S.WaitFor([&] { return EditorUp(S); })) << "the editor did not come up";
  S.Keys("q<F2>");
  EXPECT_EQ(S.WaitScreen({{2, 1, WriteError}}), "") << "the failure is not shown";
  // The message waits for a key; the text is still there, still modified.
  S.Keys("w");
  EXPECT_TRUE(S.WaitText(3, 1, "qwline 0 ")) << "the editor does not go on after the failure";
  EXPECT_TRUE(S.Running()) << "the editor ended";
  EXPECT_EQ(S.ReadFile("a.txt"), text);
  EXPECT_EQ(WorkFiles(), std::set<std::string>{"a.txt"});
  S.Keys("<C-A-BS>");
  auto e = Ended();
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->Exited) << "killed by signal " << e->Signal;
  EXPECT_EQ(S.ReadFile("a.txt"), text);
}

// SIGTERM while the failure message waits: the process ends without running
// the save's clean-up, which must not leave its unfinished file behind.
TEST_F(FaultTest, SigtermDuringAFailedSaveLeavesNoUnfinishedFile) {
  const std::string text = BigText();
  S.WriteFile("a.txt", text);
  S.Start(ThroughShell("ulimit -f 2 && exec \"$0\" \"$@\"", {"-W", "a.txt"}));
  ASSERT_TRUE(S.WaitFor([&] { return EditorUp(S); })) << "the editor did not come up";
  S.Keys("q<F2>");
  ASSERT_EQ(S.WaitScreen({{2, 1, WriteError}}), "");
  S.Signal(SIGTERM);
  auto e = Ended();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Code, 128 + SIGTERM);
  EXPECT_EQ(S.ReadFile("a.txt"), text);
  // The rescue copy meets the same limit; a part of it is no copy.
  EXPECT_EQ(WorkFiles(), std::set<std::string>{"a.txt"});
  ExpectTerminalRestored();
}

// Pumps until the program has written nothing for a while.
void Settle(Session& s) {
  for (int i = 0; i < 50; ++i) {
    size_t before = s.RawOutput().size();
    s.Pump(Ms{150});
    if (s.RawOutput().size() == before) return;
  }
}

// The cells (glyph and colours) and the cursor where two screens differ,
// the first 20 of them.
std::string Differences(const Session& s, const Session& fresh) {
  std::string out;
  int n = 0;
  for (int r = 1; r <= fresh.Rows(); ++r)
    for (int c = 1; c <= fresh.Cols(); ++c) {
      CellView a = s.Cell(r, c), b = fresh.Cell(r, c);
      if (a.Utf8 != b.Utf8 || a.Fg != b.Fg || a.Bg != b.Bg) {
        out += "row " + std::to_string(r) + " col " + std::to_string(c) + ": \"" + a.Utf8 + "\" " +
               std::to_string(a.Attr()) + ", fresh \"" + b.Utf8 + "\" " + std::to_string(b.Attr()) + "\n";
        if (++n == 20) return out + "...\n";
      }
    }
  if (s.CursorRow() != fresh.CursorRow() || s.CursorCol() != fresh.CursorCol())
    out += "cursor at " + std::to_string(s.CursorRow()) + "," + std::to_string(s.CursorCol()) + ", fresh at " +
           std::to_string(fresh.CursorRow()) + "," + std::to_string(fresh.CursorCol()) + "\n";
  return out;
}

// Resizes in quick succession, keys between them, one size too small for the
// editor: the last size must look exactly as a session started at that size.
TEST_F(FaultTest, ABurstOfResizesEndsInTheScreenOfTheLastSize) {
  std::string text;
  for (int i = 1; i <= 60; ++i) text += "row " + std::to_string(i) + " " + std::string(size_t(i * 7 % 130), '-') + "\r\n";
  S.WriteFile("a.txt", text);
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}, 80, 25));
  // The last step grows the terminal in both directions, beyond the editor's
  // width: what the smaller size did not draw must be drawn, what the wider
  // sizes drew beyond the editor's width must be gone.
  const int sizes[][2] = {{132, 40}, {90, 27}, {100, 30}, {60, 20}, {133, 50}, {120, 33}, {80, 24}, {110, 32}};
  std::string typed;
  for (int round = 0; round < 6; ++round) {
    for (size_t i = 0; i < std::size(sizes); ++i) {
      S.Resize(sizes[i][0], sizes[i][1]);
      if (i % 3 == 0) {
        std::string k(1, char('a' + (round * 8 + int(i)) % 26));
        S.Keys(k);
        typed += k;
      }
    }
  }
  const int cols = 110, rows = 32;  // the last size of the burst

  Session fresh;
  fresh.WriteFile("a.txt", text);
  fresh.StartEditor({"-W", "a.txt"}, cols, rows);
  ASSERT_TRUE(fresh.WaitFor([&] { return EditorUp(fresh); }));
  fresh.Keys(typed);
  ASSERT_TRUE(fresh.WaitText(3, 1, typed + "row 1 ")) << fresh.Dump();
  Settle(fresh);

  auto differences = [&] { return Differences(S, fresh); };
  S.WaitFor([&] { return differences().empty(); });
  std::string d = differences();
  EXPECT_TRUE(d.empty()) << d << "fresh session:\n" << fresh.Dump();
  EXPECT_TRUE(S.Running());
  EXPECT_EQ(fresh.SanitizerReports(), "");
}

// One resize to a wider and taller terminal: the screen is the one a
// session started at that size shows, the message row across the new width.
TEST_F(FaultTest, AWiderTerminalLooksLikeOneStartedThatWide) {
  const std::string text = Lines({"one", "two", "three", "four"});
  S.WriteFile("a.txt", text);
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}, 80, 25));
  S.Keys("<Down>x");
  ASSERT_TRUE(S.WaitText(4, 1, "xtwo"));
  S.Resize(132, 30);

  Session fresh;
  fresh.WriteFile("a.txt", text);
  fresh.StartEditor({"-W", "a.txt"}, 132, 30);
  ASSERT_TRUE(fresh.WaitFor([&] { return EditorUp(fresh); }));
  fresh.Keys("<Down>x");
  ASSERT_TRUE(fresh.WaitText(4, 1, "xtwo")) << fresh.Dump();
  Settle(fresh);
  S.WaitFor([&] { return Differences(S, fresh).empty(); });
  std::string d = Differences(S, fresh);
  EXPECT_TRUE(d.empty()) << d << "fresh session:\n" << fresh.Dump();
}

// A prompt on the message row belongs to the prompt: a resize must not
// clear it, and the answer still works.
TEST_F(FaultTest, AResizeDuringAPromptKeepsThePrompt) {
  S.WriteFile("a.txt", Lines({"1", "2", "3", "4", "5", "6", "7"}));
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}, 80, 25));
  S.Keys("<F4>");
  ASSERT_EQ(S.WaitScreen({{2, 1, GoToTitle}}), "");
  S.Resize(132, 30);
  S.Keys("6");
  EXPECT_EQ(S.WaitScreen({{2, 1, GoToTitle}, {2, 28, "6 "}}), "");
  S.Keys("<Enter>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=6 "}, {3, 1, "6 "}}), "");
  EXPECT_TRUE(S.WaitText(2, 100, "░░░░░░░░░░")) << "the idle row does not reach across";
}

// What the kernel says the process waits in (Linux).
std::string WaitChannel(pid_t pid) {
  std::ifstream f("/proc/" + std::to_string(pid) + "/wchan");
  std::string w;
  f >> w;
  return w;
}

// A terminal that stops reading (a frozen emulator, a stalled connection)
// leaves the editor blocked in a write of its screen. A SIGTERM then must
// still keep the text at once, not once the terminal reads again.
TEST_F(FaultTest, SigtermWhileTheTerminalDoesNotReadStillKeepsTheText) {
  ASSERT_NO_FATAL_FAILURE(OpenModified());
  // Redraws at large sizes, none of it read, until the editor is stuck.
  bool stuck = false;
  for (int i = 0; i < 200 && !stuck; ++i) {
    S.Resize(i % 2 ? 132 : 133, i % 2 ? 50 : 60);
    usleep(20000);
    std::string w = WaitChannel(S.Pid());
    stuck = !w.empty() && w != "0" && w.find("poll") == std::string::npos;
  }
  ASSERT_TRUE(stuck) << "the editor never blocked writing: " << WaitChannel(S.Pid());
  S.Signal(SIGTERM);
  bool saved = false;
  for (int i = 0; i < 150 && !saved; ++i) {
    usleep(20000);
    saved = S.ReadFile("a.txt.save") == Changed;
  }
  EXPECT_TRUE(saved) << "no rescue copy while the terminal does not read";
  // Once it reads again, the rest of the way out is as usual.
  auto e = Ended();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Code, 128 + SIGTERM);
  EXPECT_EQ(S.ReadFile("a.txt"), Original);
  ExpectTerminalRestored();
}

// Every way out gives the terminal back as it was found: the same line
// discipline to the last flag, and every mode the editor switched on
// switched off again after it was last switched on.
struct WayOut {
  const char* Name;
  std::function<void(Session&)> Leave;
  bool Exits;  // else killed by Signal
  int Code;    // the exit code or the signal
};

void PrintTo(const WayOut& w, std::ostream* os) { *os << w.Name; }

const WayOut WaysOut[] = {
    {"Esc", [](Session& s) { s.Keys("<Esc>"); }, true, 0},
    {"CtrlAltBackspace", [](Session& s) { s.Keys("<C-A-BS>"); }, true, 0},
    {"Sighup", [](Session& s) { s.Signal(SIGHUP); }, true, 128 + SIGHUP},
    {"Sigterm", [](Session& s) { s.Signal(SIGTERM); }, true, 128 + SIGTERM},
    {"Sigabrt", [](Session& s) { s.Signal(SIGABRT); }, false, SIGABRT},
    {"Sigsegv", [](Session& s) { s.Signal(SIGSEGV); }, false, SIGSEGV},
    {"Sigquit", [](Session& s) { s.Signal(SIGQUIT); }, false, SIGQUIT},
};

// What each mode's switching on and off look like on the wire.
const std::pair<const char*, const char*> ModeSwitches[] = {
    {"\x1b[?1049h", "\x1b[?1049l"},  // alternate screen
    {"\x1b[?7l", "\x1b[?7h"},        // autowrap
    {"\x1b[?25l", "\x1b[?25h"},      // cursor
    {"\x1b[>4;2m", "\x1b[>4m"},      // modifyOtherKeys
    {"\x1b[>1u", "\x1b[<u"},         // kitty keyboard flags
    {"\x1b[?1036h", "\x1b[?1036l"},  // metaSendsEscape
    {"\x1b[?2004h", "\x1b[?2004l"},  // bracketed paste
};

class WayOutTest : public FaultTest, public testing::WithParamInterface<WayOut> {};

TEST_P(WayOutTest, GivesTheTerminalBackAsItWasFound) {
  const WayOut& w = GetParam();
  S.WriteFile("a.txt", Original);
  // No core files from the fatal signals.
  S.Start(ThroughShell("ulimit -c 0; exec \"$0\" \"$@\"", {"-W", "a.txt"}));
  ASSERT_TRUE(S.WaitFor([&] { return EditorUp(S); })) << "the editor did not come up";
  S.Keys("<Down><End>");  // the cursor away from where it started
  ASSERT_TRUE(S.WaitText(1, 22, "line=2 "));
  w.Leave(S);
  auto e = Ended();
  ASSERT_TRUE(e);
  if (w.Exits) {
    EXPECT_TRUE(e->Exited) << "killed by signal " << e->Signal;
    EXPECT_EQ(e->Code, w.Code);
  } else {
    EXPECT_FALSE(e->Exited) << "the signal was swallowed: exit code " << e->Code;
    EXPECT_EQ(e->Signal, w.Code);
  }
  ExpectTerminalRestored();
  auto now = S.TtyModes();
  ASSERT_TRUE(now);
  const termios& was = S.InitialModes();
  EXPECT_EQ(now->c_iflag, was.c_iflag);
  EXPECT_EQ(now->c_oflag, was.c_oflag);
  EXPECT_EQ(now->c_cflag, was.c_cflag);
  EXPECT_EQ(now->c_lflag, was.c_lflag);
  for (int cc : {VINTR, VQUIT, VERASE, VKILL, VEOF, VMIN, VTIME, VSTART, VSTOP, VSUSP})
    EXPECT_EQ(now->c_cc[cc], was.c_cc[cc]) << "control character " << cc;
  const std::string& raw = S.RawOutput();
  for (auto [on, off] : ModeSwitches) {
    size_t lastOn = raw.rfind(on);
    ASSERT_NE(lastOn, std::string::npos) << "never switched on: " << (on + 1);
    size_t lastOff = raw.rfind(off);
    EXPECT_TRUE(lastOff != std::string::npos && lastOff > lastOn) << "left switched on: " << (on + 1);
  }
  EXPECT_EQ(S.ReadFile("a.txt"), Original);
  EXPECT_EQ(WorkFiles(), std::set<std::string>{"a.txt"});
}

INSTANTIATE_TEST_SUITE_P(Ways, WayOutTest, testing::ValuesIn(WaysOut),
                         [](const testing::TestParamInfo<WayOut>& i) { return std::string(i.param.Name); });

}  // namespace
}  // namespace lumo::e2e

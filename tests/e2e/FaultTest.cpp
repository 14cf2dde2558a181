// The ways out of the editor and the world going wrong around it: every way
// out, orderly or not, with what it leaves on disk and the terminal given
// back; the terminal closed under the editor or no longer reading, SIGTERM in
// the middle of a question, a file size limit at F2, a storm of resizes.
#include <signal.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

#include "EditorFixture.h"

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
void PrintTo(const Place& p, std::ostream* os) { *os << p.Name; }

const Place Places[] = {
    {"Editing", "", 3, "xyabc"},
    {"SaveQuestion", "<Esc>", 1, " Записать в файл ?"},
    {"LinePrompt", "<F4>", 2, "     Введите номер строки:"},
    {"NamePrompt", "<Shift+F1>", 2, "Введите имя файла или Esc: "},
};

// How the end comes.
enum class End { CloseTerminal, Sigterm, Sighup };
const char* const EndNames[] = {"CloseTerminal", "Sigterm", "Sighup"};

class WorkSurvivesTest : public FaultTest, public testing::WithParamInterface<std::tuple<End, Place>> {};

TEST_P(WorkSurvivesTest, TheChangedTextIsKeptBesideTheUntouchedFile) {
  const auto [how, where] = GetParam();
  ASSERT_NO_FATAL_FAILURE(OpenModified());
  S.Keys(where.Keys);
  ASSERT_TRUE(S.WaitText(where.Row, 1, where.Shows)) << "did not reach " << where.Name;
  if (how == End::CloseTerminal) S.HangUp();
  else S.Signal(how == End::Sigterm ? SIGTERM : SIGHUP);
  const ExitStatus e = Ended(Ms{3000});
  EXPECT_TRUE(e.Exited) << "killed by signal " << e.Signal;
  EXPECT_EQ(e.Code, 128 + (how == End::Sigterm ? SIGTERM : SIGHUP));
  EXPECT_EQ(S.ReadFile("a.txt"), Original) << "the file itself is not written";
  EXPECT_EQ(S.ReadFile("a.txt.save"), Changed);
  EXPECT_EQ(WorkFiles(), (std::set<std::string>{"a.txt", "a.txt.save"})) << "something else was left";
  if (how != End::CloseTerminal) ExpectTerminalRestored();
}

INSTANTIATE_TEST_SUITE_P(Ends, WorkSurvivesTest,
                         testing::Combine(testing::Values(End::CloseTerminal, End::Sigterm, End::Sighup),
                                          testing::ValuesIn(Places)),
                         [](const auto& i) {
                           return std::string(EndNames[int(std::get<0>(i.param))]) + "In" + std::get<1>(i.param).Name;
                         });

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

// The failure is reported and the editing goes on. SIGTERM while the failure
// message waits ends the process without the save's clean-up, which must not
// leave its unfinished file behind; the rescue copy meets the same limit, and
// a part of it is no copy.
TEST_F(FaultTest, AFileSizeLimitAtF2IsReportedAndLeavesNoPartBehind) {
  std::string text;  // over the limit: ulimit -f counts blocks of 512 bytes
  for (int i = 0; i < 40; ++i) text += "line " + std::to_string(i) + " " + std::string(50, 'z') + "\r\n";
  S.WriteFile("a.txt", text);
  S.Start(ThroughShell("ulimit -f 2 && exec \"$0\" \"$@\"", {"-W", "a.txt"}));
  ASSERT_TRUE(S.WaitFor([&] { return EditorUp(S); })) << "the editor did not come up";
  S.Keys("q<F2>");
  EXPECT_EQ(S.WaitScreen({{2, 1, WriteError}}), "") << "the failure is not shown";
  // The message waits for a key; the text is still there, still modified.
  S.Keys("w");
  EXPECT_TRUE(S.WaitText(3, 1, "qwline 0 ")) << "the editor does not go on after the failure";
  EXPECT_EQ(WorkFiles(), std::set<std::string>{"a.txt"});
  S.Keys("<F2>");
  ASSERT_EQ(S.WaitScreen({{2, 1, WriteError}}), "");
  S.Signal(SIGTERM);
  EXPECT_EQ(Ended().Code, 128 + SIGTERM);
  EXPECT_EQ(S.ReadFile("a.txt"), text);
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

  // The dump holds every cell's glyph and colours and the cursor.
  S.WaitFor([&] { return S.Dump() == fresh.Dump(); });
  EXPECT_EQ(S.Dump(), fresh.Dump());
  EXPECT_TRUE(S.Running());
  EXPECT_EQ(fresh.SanitizerReports(), "");
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
  EXPECT_EQ(Ended().Code, 128 + SIGTERM);
  EXPECT_EQ(S.ReadFile("a.txt"), Original);
  ExpectTerminalRestored();
}

// Every way out gives the terminal back as it was found: the same line
// discipline to the last flag, and every mode the editor switched on
// switched off again after it was last switched on. Only the save question
// writes the text; nothing else leaves a file.
struct WayOut {
  const char* Name;
  bool Change;  // the text modified first
  const char* Keys;  // a script, or one key's bytes when they start with ESC
  int Sig;           // sent instead when not 0
  bool Exits;  // else killed by Signal
  int Code;    // the exit code or the signal
  bool Asks;   // the save question was shown
  bool Saves;  // the file holds the change
};

void PrintTo(const WayOut& w, std::ostream* os) { *os << w.Name; }

// Ctrl+Alt+Backspace as xterm sends it once the editor has asked for
// modifyOtherKeys, with metaSendsEscape, and under the kitty protocol.
const WayOut WaysOut[] = {
    {"EscUnchanged", false, "<Esc>", 0, true, 0, false, false},
    {"CtrlAltBackspace", true, "\x1b[27;7;8~", 0, true, 0, false, false},
    {"CtrlAltBackspaceMeta", true, "\x1b\x08", 0, true, 0, false, false},
    {"CtrlAltBackspaceKitty", true, "\x1b[127;7u", 0, true, 0, false, false},
    {"AnswerOneSaves", true, "<Esc>1", 0, true, 1, true, true},
    {"AnswerTwoDrops", true, "<Esc>2", 0, true, 3, true, false},
    {"Sighup", false, "", SIGHUP, true, 128 + SIGHUP, false, false},
    {"Sigterm", false, "", SIGTERM, true, 128 + SIGTERM, false, false},
    {"Sigabrt", false, "", SIGABRT, false, SIGABRT, false, false},
    {"Sigsegv", false, "", SIGSEGV, false, SIGSEGV, false, false},
    {"Sigquit", false, "", SIGQUIT, false, SIGQUIT, false, false},
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
  if (w.Change) {
    ASSERT_NO_FATAL_FAILURE(TypeChange());
  }
  S.Keys("<Down><End>");  // the cursor away from where it started
  ASSERT_TRUE(S.WaitText(1, 22, "line=2 "));
  if (w.Sig) S.Signal(w.Sig);
  else if (w.Keys[0] == '\x1b' && w.Keys[1]) S.Send(w.Keys);
  else S.Keys(w.Keys);
  const ExitStatus e = Ended();
  EXPECT_EQ(e.Exited, w.Exits) << "exit code " << e.Code << ", signal " << e.Signal;
  EXPECT_EQ(w.Exits ? e.Code : e.Signal, w.Code);
  ExpectTerminalRestored();
  auto now = S.TtyModes();
  ASSERT_TRUE(now);
  const termios& was = S.InitialModes();
  for (tcflag_t termios::*flags : {&termios::c_iflag, &termios::c_oflag, &termios::c_cflag, &termios::c_lflag})
    EXPECT_EQ((*now).*flags, was.*flags);
  for (int cc : {VINTR, VQUIT, VERASE, VKILL, VEOF, VMIN, VTIME, VSTART, VSTOP, VSUSP})
    EXPECT_EQ(now->c_cc[cc], was.c_cc[cc]) << "control character " << cc;
  const std::string& raw = S.RawOutput();
  for (auto [on, off] : ModeSwitches) {
    size_t lastOn = raw.rfind(on);
    ASSERT_NE(lastOn, std::string::npos) << "never switched on: " << (on + 1);
    size_t lastOff = raw.rfind(off);
    EXPECT_TRUE(lastOff != std::string::npos && lastOff > lastOn) << "left switched on: " << (on + 1);
  }
  EXPECT_EQ(raw.find("Записать в файл") != std::string::npos, w.Asks);
  EXPECT_EQ(S.ReadFile("a.txt"), w.Saves ? Changed : Original);
  EXPECT_EQ(WorkFiles(), std::set<std::string>{"a.txt"});
  if (w.Change && !w.Asks) {  // dropping the text drops the settings too
    EXPECT_FALSE(S.Exists(StateFile("a.txt.LmIni"))) << "settings are not written on this way out";
    EXPECT_FALSE(S.Exists(StateFile("LumoSS")));
  }
}

INSTANTIATE_TEST_SUITE_P(Ways, WayOutTest, testing::ValuesIn(WaysOut),
                         [](const testing::TestParamInfo<WayOut>& i) { return std::string(i.param.Name); });

}  // namespace
}  // namespace lumo::e2e

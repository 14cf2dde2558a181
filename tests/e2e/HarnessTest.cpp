// The harness checked against /bin/sh and printf, so that a failing editor
// test means the editor and not the pty or the screen model: colours in the
// PC order, the alternate screen, the line discipline after exit, signals,
// hang-up, resize and the key encodings.
#include <gtest/gtest.h>
#include <signal.h>
#include <termios.h>

#include <filesystem>
#include <stdexcept>

#include "Harness.h"
#include "Keys.h"
#include "text/Cp866.h"

namespace lumo::e2e {
namespace {

void StartShell(Session& s, const std::string& script, int cols = 80, int rows = 25) {
  LaunchOptions o;
  o.Program = "/bin/sh";
  o.Args = {"-c", script};
  o.Cols = cols;
  o.Rows = rows;
  s.Start(o);
}

TEST(HarnessSelfTest, ColoursComeBackInPcOrderAndTextInBothCodings) {
  Session s;
  StartShell(s,
             "printf '\\033[?1049h\\033[31;44mAB\\033[0m\\033[93;101mC\\033[0m \\342\\230\\272"
             "\\320\\235\\320\\276\\033[36mx\\033[10;5H\\033[?25l'; read x");
  ASSERT_TRUE(s.WaitFor([&] { return s.Text(1, 1, 3) == "ABC" && !s.CursorVisible(); })) << s.Dump();
  EXPECT_EQ(s.Attr(1, 1), 0x14);  // ANSI red on blue = PC 4 on 1
  EXPECT_EQ(s.Attr(1, 3), 0xCE);  // bright yellow on bright red
  EXPECT_EQ(s.Attr(1, 4), 0x07);  // default colours read as light grey on black
  EXPECT_EQ(s.Cell(1, 8).Fg, 3);  // ANSI cyan 6 = PC 3
  EXPECT_EQ(s.Text(1, 5, 3), "☺Но");
  EXPECT_EQ(s.CpText(1, 5, 3), std::string("\x01") + Cp("Но"));
  EXPECT_EQ(s.CursorRow(), 10);
  EXPECT_EQ(s.CursorCol(), 5);
  EXPECT_TRUE(s.AltScreen());
  EXPECT_EQ(s.LastAltSwitch(), 'h');
  EXPECT_EQ(s.FindRow("AB"), 1);
  EXPECT_EQ(s.FindRow("absent"), 0);
  std::vector<Expect> good = {{1, 1, "AB", 0x14}, {1, 4, "", 0x07, 1}};
  std::vector<Expect> bad = {{1, 1, "AB", 0x41}};
  EXPECT_EQ(s.Mismatches(good), "");
  EXPECT_NE(s.Mismatches(bad), "");
  s.Send("\r");
  auto e = s.WaitExit();
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->Exited);
  EXPECT_EQ(e->Code, 0);
}

TEST(HarnessSelfTest, ExitCodeAltScreenAndLineDisciplineAfterExit) {
  {
    Session s;
    StartShell(s, "stty raw -echo; printf '\\033[?1049hup'; read x; printf '\\033[?1049l'; exit 3");
    ASSERT_TRUE(s.WaitText(1, 1, "up")) << s.Dump();
    auto running = s.TtyModes();
    ASSERT_TRUE(running);
    EXPECT_FALSE(running->c_lflag & ICANON);
    EXPECT_TRUE(s.InitialModes().c_lflag & ICANON);
    s.Send("\n");  // raw mode: no CR to NL mapping
    auto e = s.WaitExit();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code, 3);
    EXPECT_FALSE(s.AltScreen());
    EXPECT_EQ(s.LastAltSwitch(), 'l');
    // The shell left raw mode behind: the check sees it.
    auto after = s.TtyModes();
    ASSERT_TRUE(after);
    EXPECT_FALSE(after->c_lflag & (ICANON | ECHO));
  }
  {
    Session s;
    StartShell(s, "stty raw -echo; printf ready; read x; stty sane; exit 0");
    ASSERT_TRUE(s.WaitText(1, 1, "ready"));
    s.Send("\n");
    ASSERT_TRUE(s.WaitExit());
    auto after = s.TtyModes();
    ASSERT_TRUE(after);
    EXPECT_TRUE(after->c_lflag & ICANON);
    EXPECT_TRUE(after->c_lflag & ECHO);
  }
}

TEST(HarnessSelfTest, EnvironmentAndDirectoriesArePerSession) {
  std::string work;
  {
    Session s;
    work = s.WorkDir();
    LaunchOptions o;
    o.Program = "/bin/sh";
    o.Args = {"-c", "printf '%s|%s|%s|%s|%s' \"$HOME\" \"$XDG_STATE_HOME\" \"$TERM\" \"$(pwd)\" \"$EXTRA\"; read x"};
    o.Env = {{"EXTRA", "yes"}};
    o.Cols = 200;
    s.Start(o);
    std::string want = s.HomeDir() + "|" + s.StateDir() + "|xterm-256color|" + s.WorkDir() + "|yes";
    ASSERT_TRUE(s.WaitFor([&] { return s.RowText(1) == want; })) << s.Dump() << "\nwant " << want;
    s.WriteFile("f.txt", "abc");
    EXPECT_EQ(s.ReadFile("f.txt"), "abc");
    EXPECT_TRUE(s.Exists("f.txt"));
  }
  EXPECT_FALSE(std::filesystem::exists(work));
}

TEST(HarnessSelfTest, SignalsResizeAndHangUpReachTheProgram) {
  {
    Session s;
    StartShell(s, "trap 'exit 7' TERM; printf go; while :; do sleep 0.02; done");
    ASSERT_TRUE(s.WaitText(1, 1, "go"));
    s.Signal(SIGTERM);
    auto e = s.WaitExit();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code, 7);
  }
  {
    Session s;
    StartShell(s, "trap 'stty size' WINCH; printf go; while :; do sleep 0.02; done");
    ASSERT_TRUE(s.WaitText(1, 1, "go"));
    s.Resize(100, 30);
    EXPECT_TRUE(s.WaitFor([&] { return s.ScreenContains("30 100"); })) << s.Dump();
    EXPECT_EQ(s.Cols(), 100);
  }
  {
    Session s;
    StartShell(s, "trap 'echo > hung; exit 9' HUP; printf go; while :; do sleep 0.02; done");
    ASSERT_TRUE(s.WaitText(1, 1, "go"));
    s.HangUp();
    auto e = s.WaitExit();
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Code, 9);
    EXPECT_TRUE(s.Exists("hung"));
  }
}

TEST(HarnessSelfTest, KeyScriptsBecomeXtermBytes) {
  EXPECT_EQ(KeyBytes("F2"), "\x1bOQ");
  EXPECT_EQ(KeyBytes("F2", ModCtrl), "\x1b[1;5Q");
  EXPECT_EQ(KeyBytes("F5", ModShift), "\x1b[15;2~");
  EXPECT_EQ(KeyBytes("F12", ModCtrl | ModAlt), "\x1b[24;7~");
  EXPECT_EQ(KeyBytes("Up", ModAlt | ModShift), "\x1b[1;4A");
  EXPECT_EQ(KeyBytes("PgDn"), "\x1b[6~");
  EXPECT_EQ(KeyBytes("BS", ModCtrl | ModAlt), "\x1b[27;7;8~");
  EXPECT_EQ(KeyBytes("Tab", ModShift), "\x1b[Z");
  EXPECT_EQ(KeyBytes("y", ModCtrl), "\x19");
  EXPECT_EQ(KeyBytes("r", ModAlt), "\x1br");
  auto keys = ParseKeys("aй<Esc><C-F2><lt>");
  ASSERT_EQ(keys.size(), 5u);
  EXPECT_EQ(keys[1], "й");
  EXPECT_EQ(keys[2], "\x1b");
  EXPECT_EQ(keys[3], "\x1b[1;5Q");
  EXPECT_EQ(keys[4], "<");
  EXPECT_THROW(ParseKeys("<Nope>"), std::invalid_argument);
  EXPECT_THROW(ParseKeys("<Esc"), std::invalid_argument);

  // A lone Esc must reach the program as its own read, not glued to the next key.
  Session s;
  StartShell(s, "stty raw -echo; printf go; head -c 9 | od -An -tx1 | tr -d ' \\n'; printf .; read x");
  ASSERT_TRUE(s.WaitText(1, 1, "go"));
  s.Keys("<Esc>ab<F2><Enter><Up>");
  EXPECT_TRUE(s.WaitFor([&] { return s.ScreenContains("1b61621b4f510d1b5b."); })) << s.Dump();
}

}  // namespace
}  // namespace lumo::e2e

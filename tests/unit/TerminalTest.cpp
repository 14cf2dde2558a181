// What of the terminal console can be checked without a terminal: the mode
// lists undo exactly what they do, in mirrored order; Open refuses what is not
// a terminal and then leaves it untouched; the size rule.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <set>
#include <string>
#include "screen/TermModes.h"
#include "screen/Terminal.h"

namespace lumo {
namespace {

TEST(TermModes, EverySwitchOnHasItsSwitchOffInMirroredOrder) {
  std::set<std::string> names;
  std::string on, off;
  for (const TermMode& m : ModeTable()) {
    EXPECT_TRUE(names.insert(m.Name).second) << m.Name;
    std::string a = m.On, b = m.Off;
    ASSERT_TRUE(a.size() >= 3 && b.size() >= 3 && a.substr(0, 2) == "\x1b[" && b.substr(0, 2) == "\x1b[") << m.Name;
    // DEC private modes: the same number, set against reset
    if (a[2] == '?') {
      char set = a.back(), reset = set == 'h' ? 'l' : 'h';
      EXPECT_TRUE(set == 'h' || set == 'l') << m.Name;
      EXPECT_EQ(b, a.substr(0, a.size() - 1) + reset) << m.Name;
    }
    on += a;
    off = b + off;
  }
  EXPECT_EQ(ModesOnBytes(), on);
  EXPECT_EQ(ModesOffBytes(), off);
  // the alternate screen is entered first and left last, so that every other
  // mode is undone on the screen where it was set (kitty keeps a flag stack
  // per screen)
  EXPECT_EQ(ModeTable().front().On, std::string("\x1b[?1049h"));
  EXPECT_EQ(ModesOffBytes().substr(ModesOffBytes().size() - 8), "\x1b[?1049l");
  // what the keyboard rules and the output rely on is all there
  for (const char* needed : {"\x1b[>4;2m", "\x1b[>1u", "\x1b[?1036h", "\x1b[?2004h", "\x1b[?7l"})
    EXPECT_NE(on.find(needed), std::string::npos) << needed + 1;
  for (const char* needed : {"\x1b[?25h", "\x1b[<u", "\x1b[?2004l", "\x1b[?1036l", "\x1b[0m"})
    EXPECT_NE(off.find(needed), std::string::npos) << needed + 1;
}

// Runs Open with stdin from /dev/null and stdout into a pipe, then puts both
// back; returns what Open wrote.
std::string OpenWithoutTerminal(TermConsole& con, bool& opened, std::string& reason) {
  int savedIn = dup(STDIN_FILENO), savedOut = dup(STDOUT_FILENO);
  int null = open("/dev/null", O_RDONLY);
  int pipeFds[2];
  EXPECT_EQ(pipe(pipeFds), 0);
  dup2(null, STDIN_FILENO);
  dup2(pipeFds[1], STDOUT_FILENO);
  opened = con.Open(reason);
  con.Update(true);
  con.Restore();
  dup2(savedIn, STDIN_FILENO);
  dup2(savedOut, STDOUT_FILENO);
  close(savedIn);
  close(savedOut);
  close(null);
  close(pipeFds[1]);
  fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
  std::string written;
  char buf[256];
  for (ssize_t n; (n = read(pipeFds[0], buf, sizeof buf)) > 0;) written.append(buf, size_t(n));
  close(pipeFds[0]);
  return written;
}

TEST(TermConsole, RefusesWhatIsNotATerminalAndLeavesItAlone) {
  TermConsole con;
  bool opened = true;
  std::string reason;
  std::string written = OpenWithoutTerminal(con, opened, reason);
  EXPECT_FALSE(opened);
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(written, "");
  EXPECT_FALSE(TerminalModesActive());
  // a console that never opened reads no keys and waits for none
  EXPECT_FALSE(con.KeyWaiting() || con.WaitKey(5));
  EXPECT_EQ(con.W() * 100 + con.H(), 8025);
}

TEST(TermConsole, EditorWidthFollowsTheTerminalColumns) {
  for (auto [cols, width] : {std::pair{79, 0}, {80, 80}, {99, 80}, {100, 100}, {131, 100}, {132, 132}, {300, 132}})
    EXPECT_EQ(EditorWidth(cols), width) << cols;
}

}  // namespace
}  // namespace lumo

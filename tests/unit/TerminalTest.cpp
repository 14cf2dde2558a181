// What of the terminal console can be checked without a terminal: the mode
// lists undo exactly what they do, in mirrored order; Open refuses what is not
// a terminal and then leaves it untouched; the size rule.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
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

// Open with stdin from /dev/null and stdout into a file: it must refuse,
// say why, write nothing, and leave a console that reads and waits for no key.
TEST(TermConsole, RefusesWhatIsNotATerminalAndLeavesItAlone) {
  TermConsole con;
  std::string reason;
  FILE* out = std::tmpfile();
  int savedIn = dup(STDIN_FILENO), savedOut = dup(STDOUT_FILENO), null = open("/dev/null", O_RDONLY);
  dup2(null, STDIN_FILENO), dup2(fileno(out), STDOUT_FILENO);
  const bool opened = con.Open(reason);
  con.Update(true), con.Restore();
  dup2(savedIn, STDIN_FILENO), dup2(savedOut, STDOUT_FILENO);
  close(savedIn), close(savedOut), close(null);
  EXPECT_TRUE(!opened && !reason.empty() && !TerminalModesActive());
  EXPECT_EQ(lseek(fileno(out), 0, SEEK_END), 0);  // nothing written
  std::fclose(out);
  EXPECT_FALSE(con.KeyWaiting() || con.WaitKey(5));
  EXPECT_EQ(con.W() * 100 + con.H(), 8025);
}

TEST(TermConsole, EditorWidthFollowsTheTerminalColumns) {
  for (auto [cols, width] : {std::pair{79, 0}, {80, 80}, {99, 80}, {100, 100}, {131, 100}, {132, 132}, {300, 132}})
    EXPECT_EQ(EditorWidth(cols), width) << cols;
}

}  // namespace
}  // namespace lumo

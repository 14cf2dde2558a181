// The settings file read into a text of 100 lines on an 80 x 25 screen: what
// was written comes back, and whatever the text or the screen cannot hold is
// brought into it, so that the loop's first update leaves a sound state.
#include <gtest/gtest.h>

#include <cstdio>

#include "TempDir.h"
#include "TestEditor.h"
#include "app/Invariants.h"
#include "app/MainLoop.h"
#include "app/SideFiles.h"

namespace lumo {
namespace {

// Reads path as the next run does and writes the settings again to path +
// "+". Gives the faults found, then window, cursor, line marks, position
// marks as line/top/column, insert, Russian, limit, column mark.
std::string ReadBack(const std::string& path) {
  test::TestEditor t;
  t.SetLines(std::vector<std::string>(100, "text"));
  t->SettingsFile = path;
  ReadSettings(*t);
  ScrollToCursor(*t);
  t->SettingsFile = path + "+";
  WriteSettings(*t);
  const PositionMark* p = t->PosMark;
  char s[120];
  std::snprintf(s, sizeof s, "%d,%d,%d %d,%d,%d %d/%d/%d %d/%d/%d %d%d%d %d", t->TopLine, t->CurLine, t->CurCol,
                t->LineMark[1], t->LineMark[2], t->LineMark[3], p[1].Line, p[1].Top, p[1].Col, p[2].Line, p[2].Top,
                p[2].Col, t->InsertMode, t->RusMode, t->LengthLimit, t->ColumnMark);
  return CheckInvariants(*t) + s;
}

TEST(Settings, ComeBackIntoTheText) {
  test::TempDir dir;
  const std::string path = dir / "a.LmIni", start = "1,1,1 0,0,0 0/0/0 0/0/0 101 1";
  const std::pair<std::string, std::string> rows[] = {
      // Beyond the text or the screen, or not 0/1; the limit-on cell changes nothing.
      {"1\n500\n999\n101\n-3\n100\n1\n200\n5\n60\n50\n300\n2\n-1\n1968\n0\n", "78,100,256 0,0,100 0/0/0 50/50/256 101 1"},
      // Cut short, not numbers, a window above line 1 that no scroll corrects; CR LF ends.
      {"-2\r\n10\r\nabc\r\n 7 \r\n99999\r\n\x01\xFF\r\n12x\r\n", "1,10,1 7,0,0 0/0/0 0/0/0 101 1"},
      {"60\n70\n33\n0\n9\n0\n0\n0\n0\n75\n80\n256\n0\n1\n4016\n17\n", "60,70,33 0,9,0 0/0/0 80/75/256 010 17"}};
  for (const auto& [file, state] : rows) {
    test::TempDir::Write(path, file);
    EXPECT_EQ(ReadBack(path), state) << file;
  }
  EXPECT_EQ(test::TempDir::Read(path + "+"), rows[2].first);
  EXPECT_EQ(ReadBack(dir / "none"), start);
}

}  // namespace
}  // namespace lumo

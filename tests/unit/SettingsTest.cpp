// The settings file read into a text of 100 lines on an 80 x 25 screen: what
// was written comes back, and whatever the text or the screen cannot hold is
// brought into it, so the loop's first update leaves a sound state.
#include <gtest/gtest.h>

#include <cstdio>

#include "TempDir.h"
#include "TestEditor.h"
#include "app/Invariants.h"
#include "app/MainLoop.h"
#include "app/SideFiles.h"

namespace lumo {
namespace {

// Window, cursor, line marks, position marks as line/top/column, insert,
// Russian, limit, column mark.
std::string State(const Editor& e) {
  const PositionMark* p = e.PosMark;
  char s[120];
  std::snprintf(s, sizeof s, "%d,%d,%d %d,%d,%d %d/%d/%d %d/%d/%d %d%d%d %d", e.TopLine, e.CurLine, e.CurCol,
                e.LineMark[1], e.LineMark[2], e.LineMark[3], p[1].Line, p[1].Top, p[1].Col, p[2].Line, p[2].Top,
                p[2].Col, e.InsertMode, e.RusMode, e.LengthLimit, e.ColumnMark);
  return s;
}

struct Settings : ::testing::Test {
  test::TempDir Dir;
  test::TestEditor Read(const std::string& bytes) {
    test::TestEditor t;
    t.SetLines(std::vector<std::string>(100, "text"));
    t->SettingsFile = Dir / "a.txt.LmIni";
    // No bytes: no file at all.
    if (bytes.empty()) std::remove(t->SettingsFile.c_str());
    else test::TempDir::Write(t->SettingsFile, bytes);
    ReadSettings(*t);
    ScrollToCursor(*t);
    EXPECT_EQ(CheckInvariants(*t), "") << State(*t);
    return t;
  }
};

TEST_F(Settings, ValuesComeBackIntoTheText) {
  const char* start = "1,1,1 0,0,0 0/0/0 0/0/0 101 1";
  const std::pair<const char*, std::string> rows[] = {
      {"30\n40\n10\n5\n0\n100\n20\n25\n7\n1\n1\n3\n0\n1\n4016\n12\n", "30,40,10 5,0,100 25/20/7 1/1/3 010 12"},
      {"30\r\n40\r\n10\r\n", "30,40,10 0,0,0 0/0/0 0/0/0 101 1"},
      // Beyond the text or the screen, or not 0/1; line 15's limit-on value changes nothing.
      {"1\n500\n999\n101\n-3\n100\n1\n200\n5\n60\n50\n300\n2\n-1\n1968\n0\n", "78,100,256 0,0,100 0/0/0 50/50/256 101 1"},
      {"-2\n10\n-7\n", "1,10,1 0,0,0 0/0/0 0/0/0 101 1"},
      {"abc\n\n12x\n 7 \n99999\n\x01\xFF\n", "1,1,1 7,0,0 0/0/0 0/0/0 101 1"},
      {"", start}, {"\n\n\n", start}};
  for (const auto& [file, state] : rows) EXPECT_EQ(State(*Read(file)), state) << file;
}

TEST_F(Settings, WrittenStateComesBackOnTheNextRun) {
  test::TestEditor t = Read("");
  t->TopLine = 60, t->CurLine = 70, t->CurCol = 33, t->LineMark[2] = 9, t->PosMark[2] = {80, 75, 256};
  t->InsertMode = t->LengthLimit = false, t->RusMode = true, t->ColumnMark = 17;
  WriteSettings(*t);
  EXPECT_EQ(test::TempDir::Read(t->SettingsFile), "60\n70\n33\n0\n9\n0\n0\n0\n0\n75\n80\n256\n0\n1\n4016\n17\n");
  EXPECT_EQ(State(*Read(test::TempDir::Read(t->SettingsFile))), State(*t));
}

}  // namespace
}  // namespace lumo

// The command loop: scrolling the cursor into view, the order of what happens
// to each key (take-file mark, snapshot, dispatch), the re-entry points and
// the ways out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestEditor.h"
#include "app/MainLoop.h"
#include "text/LineHistory.h"

namespace lumo {
namespace {

using test::TestEditor;

std::vector<std::string> Numbered(int n) {
  std::vector<std::string> v;
  for (int i = 1; i <= n; ++i) v.push_back("line " + std::to_string(i));
  return v;
}

struct ScrollCase {
  int CurLine, TopLine, CurCol, HScroll;
  bool Half;
  int WantTop, WantHScroll;
};

TEST(Scrolling, CursorIsBroughtIntoView) {
  // 80 x 25: text rows 3..25 show 23 lines.
  const ScrollCase cases[] = {
      {10, 1, 1, 0, true, 1, 0},      // already visible
      {23, 1, 1, 0, true, 1, 0},      // last text row
      {24, 1, 1, 0, true, 2, 0},      // one below: one line up
      {60, 1, 1, 0, true, 38, 0},     // far below: cursor on the last row
      {5, 20, 1, 0, true, 5, 0},      // above: cursor line on top
      {1, 2, 1, 0, true, 1, 0},
      {1, 1, 80, 0, true, 1, 0},      // last column
      {1, 1, 81, 0, true, 1, 40},     // half a screen
      {1, 1, 200, 0, true, 1, 120},   // as many halves as it takes
      {1, 1, 81, 0, false, 1, 1},     // without the jump: just enough
      {1, 1, 200, 0, false, 1, 120},
      {1, 1, 41, 40, true, 1, 40},    // first visible column
      {1, 1, 40, 40, true, 1, 0},     // left edge, half a screen back
      {1, 1, 10, 160, true, 1, 0},    // back several halves
      {1, 1, 30, 40, false, 1, 29},   // without the jump: column 1
      {1, 1, 5, 20, true, 1, 0},      // a half step would pass 0: stops at 0
  };
  for (const ScrollCase& c : cases) {
    TestEditor t;
    t.SetLines(Numbered(100));
    t->CurLine = int16_t(c.CurLine);
    t->TopLine = int16_t(c.TopLine);
    t->CurCol = int16_t(c.CurCol);
    t->HScroll = uint8_t(c.HScroll);
    t->HalfScroll = c.Half;
    ScrollToCursor(*t);
    EXPECT_EQ(t->TopLine, c.WantTop) << c.CurLine << "/" << c.TopLine;
    EXPECT_EQ(t->HScroll, c.WantHScroll) << c.CurCol << "/" << c.HScroll << " half " << c.Half;
  }
}

TEST(Scrolling, FollowsTheScreenSize) {
  TestEditor t(132, 40);
  t.SetLines(Numbered(100));
  t->CurLine = 50;
  t->CurCol = 133;
  ScrollToCursor(*t);
  EXPECT_EQ(t->TopLine, 50 - 37);
  EXPECT_EQ(t->HScroll, 66);
  // A narrower screen after a resize: the old scroll is too far right.
  t.Con.SetSize(80, 25);
  t->CurCol = 10;
  ScrollToCursor(*t);
  EXPECT_EQ(t->HScroll, 0);
}

struct LoopTest : ::testing::Test {
  TestEditor T;
  void SetUp() override { T.SetLines(Numbered(5)); }
  // Runs the loop over these keys, then ends it with Ctrl+Alt+Backspace,
  // which comes once they have run out: the screen is drawn before it.
  void Run(std::vector<KeyCode> keys) {
    T->Quit = false;
    T.Con.Keys.assign(keys.begin(), keys.end());
    T.Con.Feed = [] { return KeyCode(0x030C0E00); };
    MainLoop(*T);
  }
};

TEST_F(LoopTest, KeysAlreadyWaitingAreDrawnOnceWhenTheyRunDry) {
  T->CurLine = 5;  // the last line: Down shows a message that waits for a key
  int updates = -1;
  T.Con.Keys = {0x00001E61, 0x00003062, 0x0200FF27, 0x00002E63};  // a b Down c
  T.Con.Feed = [&] {
    updates = T.Con.Updates;
    return KeyCode(0x030C0E00);
  };
  MainLoop(*T);
  EXPECT_GT(T.Con.WaitedMs, 0);  // the message did wait, but not on screen
  EXPECT_EQ(updates, 1);
  EXPECT_EQ(T.Con.Text(7, 1, 10), "abcline 5 ");
  EXPECT_EQ(T.Con.Text(1, 32, 8), "column=4");
}

TEST_F(LoopTest, DrawsAndPlacesTheCursorBeforeReading) {
  T.SetLines(Numbered(60));
  T->CurLine = 40;
  T->CurCol = 90;
  Run({});
  EXPECT_EQ(T->TopLine, 40 - 22);
  EXPECT_EQ(T->HScroll, 40);
  EXPECT_EQ(T.Con.CursorRow, 25 - 1);
  EXPECT_EQ(T.Con.CursorCol, 50 - 1);
  EXPECT_EQ(T.Con.Text(1, 22, 7), "line=40");
  // The top line is remembered after scrolling, before the command.
  EXPECT_EQ(T->TopBefore, 18);
  EXPECT_EQ(T->ExitCode, 0);
}

TEST_F(LoopTest, LengthLimitShowsOnTheIdleRow) {
  Run({0x00031C0D});  // Shift+Enter, raw Shift 3
  EXPECT_FALSE(T->LengthLimit);
  EXPECT_EQ(T.Con.Attr(2, 1), 15);
  Run({0x0203FF29});  // Shift+Ins
  EXPECT_TRUE(T->LengthLimit);
  EXPECT_EQ(T.Con.Attr(2, 1), 7);
}

TEST_F(LoopTest, EscWithABlockOnlyUnmarks) {
  T->BlockFirst = 2;
  T->BlockLast = 3;
  T.Con.Keys = {0x0000011B, 0x0000011B};
  MainLoop(*T);  // the second Esc ends: the text is unchanged
  EXPECT_EQ(T->BlockFirst, 0);
  EXPECT_TRUE(T->Quit);
  EXPECT_EQ(T->ExitCode, 0);
  EXPECT_EQ(T.Con.KeysRead, 2);
}

TEST_F(LoopTest, TakeFileUndoSurvivesOnlyTheMenu) {
  // Lines 3..5 came from the last take-file command with the cursor on 2.
  T->CurLine = 2;
  T->InsertMark = 5;
  Run({0x0200FF0A, 0x0203FF0A, 0x0204FF01});  // F10, Shift+F10, Ctrl+F1
  EXPECT_EQ(T->LineCount, 2);
  EXPECT_EQ(T.Line(2), "line 2");
  EXPECT_EQ(T->CurLine, 2);
  EXPECT_EQ(T->InsertMark, 0);

  T.SetLines(Numbered(5));
  T->CurLine = 2;
  T->InsertMark = 5;
  Run({0x00001E61, 0x0204FF01});  // any other key clears the mark
  EXPECT_EQ(T->LineCount, 5);
}

TEST_F(LoopTest, TakeFileUndoInTheMiddleKeepsTheCursor) {
  T.SetLines(Numbered(8));
  T->CurLine = 3;
  T->InsertMark = 6;
  Run({0x0204FF01});
  EXPECT_EQ(T->LineCount, 5);
  EXPECT_EQ(T.Line(3), "line 3");
  EXPECT_EQ(T.Line(4), "line 7");
  EXPECT_EQ(T->CurLine, 3);
  // The deleted lines went into the history.
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(T->HistorySlot[T->HistoryNewest] + 1), 6), "line 6");
}

TEST_F(LoopTest, SnapshotBeforeEveryKeyButCtrlF1) {
  T->CurLine = 1;
  T->SnapshotToggle = 0;
  Run({0x00001E61, 0x0204FF01});  // a, Ctrl+F1, Ctrl+Alt+Backspace
  // "a" and Ctrl+Alt+Backspace took one each; Ctrl+F1 none.
  EXPECT_EQ(T->SnapshotToggle, 0);
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(T->Snapshot[0] + 1), 7), "aline 1");
  EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(T->Snapshot[1] + 1), 6), "line 1");
}

}  // namespace
}  // namespace lumo

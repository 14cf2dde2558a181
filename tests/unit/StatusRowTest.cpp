// The two top rows through a test console: message waits, the
// idle message row on a resize, and choice bars driven by scripted keys. A bar is looked at while it waits by a
// console that copies rows 1 and 2 each time a key is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/KeyNames.h"
#include "screen/StatusRow.h"
#include "screen/TestConsole.h"
#include "text/Cp866.h"
#include "text/LineStore.h"
#include "TestEditor.h"

namespace lumo {
namespace {

using namespace keys;

class BarConsole : public TestConsole {
 public:
  using TestConsole::TestConsole;
  KeyCode ReadKey() override {
    Seen.emplace_back(Cells(), Cells() + 2 * W());
    return TestConsole::ReadKey();
  }
  std::vector<std::vector<Cell>> Seen;
};

// The editor on a test console that also copies the top rows at each read.
struct StatusFixture : ::testing::Test {
  test::TestEditor T;
  BarConsole Con;
  Editor& E = *T;
  StatusFixture() { E.Con = &Con; }
  // Attributes of row r at the given columns, to compare as one list.
  std::vector<int> Attrs(int r, std::initializer_list<int> cols) {
    std::vector<int> v;
    for (int c : cols) v.push_back(Con.Attr(r, c));
    return v;
  }
  // True when columns from..to of row r all have attribute a.
  bool AllAttr(int r, int from, int to, int a) {
    for (int c = from; c <= to; ++c)
      if (Con.Attr(r, c) != a) return false;
    return true;
  }
};

using MessageRow = StatusFixture;

// A bar line's control glyphs keep their own attributes. (The colours of
// messages are the screen cases'.)
TEST_F(MessageRow, BarLineGlyphsKeepTheirColours) {
  ShowBarLine(E, std::string("ab\x10", 3) + "c", 2, 0x1E);  // glyphs keep their attributes
  EXPECT_EQ(Con.Text(2, 1, 4) + Con.Text(2, 5, 76), "ab\x10" "c" + std::string(76, ' '));
  EXPECT_EQ(Attrs(2, {1, 3, 80}), (std::vector<int>{0x1E, 0x0C, 0x1E}));
}

TEST_F(MessageRow, Waits) {
  // 1: until a key (left waiting) or about 3 s, then the row is idle.
  Con.Keys.push_back(Q);
  ShowMessage(E, "done", 1);
  EXPECT_TRUE(Con.Keys.size() == 1 && Con.KeysRead == 0 && Con.At(2, 1) == E.MessageIdle);
  EXPECT_TRUE(Con.WaitedMs > 0 && Con.WaitedMs <= 3000) << Con.WaitedMs;
  Con.WaitedMs = 0;
  ShowMessage(E, "prompt", 22);  // below 30: shown, no wait
  EXPECT_EQ(Con.Text(2, 1, 6), "prompt");
  ShowMessage(E, "flash", 30);  // 30: shown and cleared
  EXPECT_EQ(Con.At(2, 1), E.MessageIdle);
  ShowMessage(E, "again", -5);
  EXPECT_TRUE(Con.Text(2, 1, 5) == "again" && Con.WaitedMs == 0);
}

// The console keeps the old cells when it grows or shrinks; an idle row must
// then be idle across the new width, a message or prompt stays as it was.
TEST_F(MessageRow, IdleRowFollowsTheWidth) {
  T.SetLines(std::vector<std::string>(20, "x"));
  E.BlockFirst = 3, E.BlockLast = 9;
  ClearMessage(E);
  Con.SetSize(132, 30);
  ResizeMessageRow(E, 80);
  EXPECT_TRUE(Con.Text(2) == std::string(129, char(0xB0)) + " 7 " && AllAttr(2, 1, 132, 7));
  Con.SetSize(100, 30);
  ResizeMessageRow(E, 132);
  EXPECT_EQ(Con.Text(2), std::string(97, char(0xB0)) + " 7 ");
  ShowMessage(E, "prompt", 22);
  Con.SetSize(132, 30);
  ResizeMessageRow(E, 100);
  EXPECT_TRUE(Con.Text(2, 1, 6) == "prompt" && Con.Attr(2, 100) == 0x0E);
}

using ChoiceBars = StatusFixture;

const std::string Bar = " Search ? | 1 yes | 2 no | 3 stop |";  // 4 separators, 3 options

// Leaving asks for 80 whatever the bar; a bar without options takes no
// answer, only refusal and leaving.
TEST_F(ChoiceBars, LeavingAndBarsWithoutOptions) {
  for (KeyCode leave : {Shift(Esc), Alt(Esc)}) {
    Con.Keys = {leave, D1};
    EXPECT_EQ(AskChoice(E, Bar), 80) << KeyName(leave);
    EXPECT_EQ(E.ChoiceResult * 10 + Con.Keys.size(), 801u);
  }
  Con.Keys = {Enter, D1, Right, D0};
  EXPECT_TRUE(AskChoice(E, " Note |") == 0 && Con.Keys.empty());
  Con.Keys = {Shift(Esc)};
  EXPECT_EQ(AskChoice(E, "no separators"), 80);
}

// The bar's colours are the cases'. The hint on row 2 has only its first "|"
// turned into a line. No key is waiting (the empty queue reads as Esc), so
// the draw step runs first: a status row still marked must not cover the bar.
TEST_F(ChoiceBars, HintAndRestoredRows) {
  T.SetLines({"x"});
  E.ChoicePreselect = 3;
  MarkStatus(E);
  Con.Keys = {Enter};
  EXPECT_EQ(ChoiceBar(E, Bar, "Hint | keys | more", 0x3F, 0x2F, 0x1C, 0x0D), 3);
  ASSERT_EQ(Con.Seen.size(), 1u);
  EXPECT_EQ(CellAttr(Con.Seen[0][26]), 0x9C);  // selected + 128 as a byte
  std::string row1, row2;
  for (int c = 0; c < 18; ++c) row1 += char(CellChar(Con.Seen[0][size_t(c)])), row2 += char(CellChar(Con.Seen[0][size_t(80 + c)]));
  EXPECT_EQ(row1 + "/" + row2, " Search ? \xB3 1 yes /Hint \xB3 keys | more");
  // Afterwards row 1 is the status row again and row 2 is idle.
  EXPECT_TRUE(Con.Text(1, 22, 6) == "line=1" && Con.At(2, 1) == E.MessageIdle);
}

}  // namespace
}  // namespace lumo

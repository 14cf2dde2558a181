// Cursor commands through the key table, as the loop runs them (the command,
// then scrolling the cursor into view): every step at its boundaries, pages
// on long and short texts, the word steps, tab stops, going to a line by
// number with good and bad answers, and walking back through the jump ring.
#include <gtest/gtest.h>

#include "TestEditor.h"
#include "app/MainLoop.h"
#include "app/Startup.h"
#include "edit/Cursor.h"

namespace lumo {
namespace {

using test::TestEditor;

constexpr KeyCode Left = 0x0200FF23, Right = 0x0200FF25, Up = 0x0200FF21, Down = 0x0200FF27;
constexpr KeyCode ShiftUp = 0x0202FF21, ShiftDown = 0x0202FF27;
constexpr KeyCode AltUp = 0x0208FF21, AltDown = 0x0208FF27, AltShiftUp = 0x020BFF21;
constexpr KeyCode CtrlUp = 0x0204FF21, CtrlDown = 0x0204FF27, CtrlShiftDown = 0x0207FF27;
constexpr KeyCode Home = 0x0200FF20, End = 0x0200FF26, PgUp = 0x0200FF22, PgDn = 0x0200FF28;
constexpr KeyCode CtrlHome = 0x0204FF20, CtrlEnd = 0x0204FF26;
constexpr KeyCode CtrlPgUp = 0x0204FF22, CtrlPgDn = 0x0204FF28;
constexpr KeyCode CtrlTab = 0x03049400, ShiftHome = 0x0202FF20, F5 = 0x0200FF05;
constexpr KeyCode CtrlLeft = 0x0204FF23, CtrlRight = 0x0204FF25;
constexpr KeyCode CtrlShiftLeft = 0x0207FF23, CtrlShiftRight = 0x0207FF25;
constexpr KeyCode AltLeft = 0x0208FF23, AltRight = 0x0208FF25;
constexpr KeyCode Tab = 0x00000F09, ShiftTab = 0x03020F00;
constexpr KeyCode F4 = 0x0200FF04, CtrlF3 = 0x0204FF03;
constexpr KeyCode Enter = 0x00001C0D, Esc = 0x0000011B;

// An 80 x 25 screen: the window shows 23 lines, PageStep is 22.
struct Mover : TestEditor {
  explicit Mover(int lines = 100) {
    ComputeTabStops(**this);
    std::vector<std::string> text;
    for (int i = 1; i <= lines; ++i) text.push_back("line " + std::to_string(i));
    SetLines(text);
  }
  void At(int line, int col = 1, int top = 1) {
    E->CurLine = int16_t(line);
    E->CurCol = int16_t(col);
    E->TopLine = int16_t(top);
  }
  void Press(KeyCode key, int times = 1) {
    for (int i = 0; i < times; ++i) {
      Dispatch(**this, key);
      ScrollToCursor(**this);
    }
  }
  // Typed answer keys for the prompt, then Enter.
  void Answer(std::string_view text) {
    for (char c : text) Con.Keys.push_back(KeyCode(uint8_t(c)));
    Con.Keys.push_back(Enter);
  }
  void ExpectAt(int line, int col, int top) {
    EXPECT_EQ(E->CurLine, line);
    EXPECT_EQ(E->CurCol, col);
    EXPECT_EQ(E->TopLine, top);
  }
};

// Sees the message row while a message waits for its key.
struct SpyConsole : TestConsole {
  bool WaitKey(int ms) override {
    Shown = Text(2);
    return TestConsole::WaitKey(ms);
  }
  std::string Shown;
};

TEST(Cursor, ColumnStepsStopAtColumnOneAndPastTheCapacity) {
  Mover t(3);
  t.At(1, 1);
  t.Press(Left);
  EXPECT_EQ(t->CurCol, 1);
  t.Press(Right, 300);
  EXPECT_EQ(t->CurCol, 255);  // capacity 254, one column beyond it
  t.Press(Left);
  EXPECT_EQ(t->CurCol, 254);

  t->RightMargin = 10;
  t.SetLines({"short"});
  t.At(1, 1);
  t.Press(Right, 20);
  EXPECT_EQ(t->CurCol, 11);
}

TEST(Cursor, LineStepsKeepTheColumnAndStartAnEpisode) {
  Mover t(3);
  t.SetLines({"a long first line", "ab", "a long third line"});
  t.At(1, 15);
  t->LineSaved = true;
  t.Press(Up);
  t.ExpectAt(1, 15, 1);
  EXPECT_TRUE(t->LineSaved) << "no move, the episode goes on";
  t.Press(Down);
  t.ExpectAt(2, 15, 1);  // past the end of "ab"
  EXPECT_FALSE(t->LineSaved);
  t.Press(ShiftDown);
  t.ExpectAt(3, 15, 1);
  t.Press(ShiftUp);
  t.ExpectAt(2, 15, 1);
}

TEST(Cursor, DownOnTheLastLineSaysSoAndStays) {
  Mover t(3);
  SpyConsole spy;
  t->Con = &spy;
  t.At(3, 4);
  t->LineSaved = true;
  t.Press(Down);
  t.ExpectAt(3, 4, 1);
  EXPECT_TRUE(t->LineSaved);
  EXPECT_NE(spy.Shown.find(Cp("Эта строка - последняя. Добавка новой - F3 или ВВОД.")),
            std::string::npos)
      << spy.Shown;
  EXPECT_GT(spy.WaitedMs, 0);

  // The group steps just stop, silently.
  spy.Shown.clear();
  spy.WaitedMs = 0;
  t.Press(AltDown);
  t.Press(CtrlShiftDown);
  t.ExpectAt(3, 4, 1);
  EXPECT_EQ(spy.WaitedMs, 0);
}

TEST(Cursor, GroupsOfFourAndEightStopAtTheEnds) {
  Mover t(30);
  t.At(4);
  t.Press(AltUp);
  EXPECT_EQ(t->CurLine, 1);
  t.At(3);
  t.Press(AltShiftUp);
  EXPECT_EQ(t->CurLine, 1);
  t.At(28);
  t.Press(AltDown);
  EXPECT_EQ(t->CurLine, 30);
  t.At(20);
  t.Press(AltDown);
  EXPECT_EQ(t->CurLine, 24);

  t.At(10, 7, 5);
  t.Press(CtrlUp);
  t.ExpectAt(2, 7, 2);  // scrolled up to the cursor
  t.Press(CtrlUp);
  EXPECT_EQ(t->CurLine, 1);
  t.Press(CtrlDown);
  EXPECT_EQ(t->CurLine, 9);
  t.At(25);
  t.Press(CtrlShiftDown);
  EXPECT_EQ(t->CurLine, 30);
  EXPECT_EQ(t->TopLine, 8) << "the cursor line comes into the bottom row";
}

TEST(Cursor, HomeWalksFirstNonBlankThenMarginThenColumnOne) {
  Mover t(1);
  t.SetLines({"    abc", "", "abc   "});
  t.At(1, 7);
  t.Press(Home);
  EXPECT_EQ(t->CurCol, 5);
  t.Press(Home);
  EXPECT_EQ(t->CurCol, 1);

  t->LeftMargin = 3;
  t.At(1, 7);
  t.Press(Home, 2);
  EXPECT_EQ(t->CurCol, 3);
  t.Press(Home);
  EXPECT_EQ(t->CurCol, 1);
  t.Press(Home);
  EXPECT_EQ(t->CurCol, 1);

  // An empty line has only the margin and column 1.
  t.At(2, 10);
  t.Press(Home);
  EXPECT_EQ(t->CurCol, 3);
  t.Press(Home);
  EXPECT_EQ(t->CurCol, 1);

  t.At(3, 50);
  t.Press(End);
  EXPECT_EQ(t->CurCol, 4);
  t.At(2, 50);
  t.Press(End);
  EXPECT_EQ(t->CurCol, 1);
}

TEST(Cursor, PagesKeepTheScreenRowNearTheEnds) {
  Mover t(100);
  t.At(5, 3, 1);
  t.Press(PgDn);
  t.ExpectAt(27, 3, 23);
  t.At(55, 3, 50);
  t.Press(PgUp);
  t.ExpectAt(33, 3, 28);

  // Near the top: the window stops at line 1, the cursor keeps row 8.
  t.At(15, 3, 10);
  t->LineSaved = true;
  t.Press(PgUp);
  t.ExpectAt(6, 3, 1);
  EXPECT_FALSE(t->LineSaved);
  t.Press(PgUp);
  t.ExpectAt(6, 3, 1);

  // Near the end: the last line at the top of the window, cursor on it.
  t.At(85, 3, 80);
  t.Press(PgDn);
  t.ExpectAt(100, 3, 100);
  t.At(90, 3, 78);
  t.Press(PgDn);
  t.ExpectAt(100, 3, 100);
  t.At(70, 3, 60);
  t.Press(PgDn);
  t.ExpectAt(92, 3, 82);

  Mover s(5);
  s.At(2, 1, 1);
  s.Press(PgDn);
  s.ExpectAt(5, 1, 5);
  s.Press(PgUp);
  s.ExpectAt(1, 1, 1);
}

TEST(Cursor, EndsOfTheTextKeepTheScreenRowAndPushTheJump) {
  Mover t(100);
  t.At(55, 7, 50);
  t.Press(CtrlHome);
  t.ExpectAt(6, 7, 1);
  EXPECT_EQ(t->JumpIndex, 1);
  t.Press(CtrlEnd);
  t.ExpectAt(83, 7, 78);  // row 8 again; line 100 in the bottom row
  EXPECT_EQ(t->JumpIndex, 2);
  t.At(100, 7, 78);
  t.Press(CtrlEnd);
  t.ExpectAt(100, 7, 78);

  // A text that fits in the window: Ctrl+End does nothing, pushes nothing.
  Mover s(10);
  s.At(3, 2, 1);
  s.Press(CtrlEnd);
  s.ExpectAt(3, 2, 1);
  EXPECT_EQ(s->JumpIndex, 0);
  Mover v(24);
  v.At(2);
  v.Press(CtrlEnd);
  v.ExpectAt(3, 1, 2);
}

TEST(Cursor, ScrollingByOneRowKeepsTheCursorLine) {
  Mover t(100);
  t.At(5, 1, 1);
  t.Press(CtrlPgUp);
  t.ExpectAt(5, 1, 2);
  t.At(5, 1, 5);
  t.Press(CtrlPgUp);
  t.ExpectAt(5, 1, 5);  // the cursor line is the top line already

  t.At(5, 1, 1);
  t.Press(CtrlPgDn);
  t.ExpectAt(5, 1, 1);
  t.At(20, 1, 10);
  t.Press(CtrlPgDn);
  t.ExpectAt(20, 1, 9);
  t.At(32, 1, 10);  // bottom row
  t.Press(CtrlPgDn);
  t.ExpectAt(32, 1, 10);

  Mover s(1);
  s.Press(CtrlPgUp);
  s.ExpectAt(1, 1, 1);
}

TEST(Cursor, WindowTopAndBottomAndLineToTop) {
  Mover t(100);
  t.At(15, 4, 10);
  t.Press(CtrlTab);
  t.ExpectAt(10, 4, 10);
  t.Press(ShiftHome);
  t.ExpectAt(32, 4, 10);
  t.Press(CtrlTab);
  t.ExpectAt(10, 4, 10);

  Mover s(5);
  s.Press(CtrlTab);
  s.ExpectAt(5, 1, 1);

  t.At(20, 4, 10);
  t.Press(F5);
  t.ExpectAt(20, 4, 20);
}

TEST(Cursor, WordSteps) {
  Mover t(1);
  // Three words of five, four and five letters at columns 1, 7 and 12.
  t.SetLines({"aaaaa bbbb ccccc", "a.b c", "ab cd", "ab  cd", "ab cd ef", "a.b"});
  struct Step {
    int Line;
    KeyCode Key;
    int From, To;
  };
  const Step steps[] = {
      {1, CtrlLeft, 14, 7},  {1, CtrlLeft, 12, 7}, {1, CtrlLeft, 1, 1},
      {1, CtrlLeft, 16, 12},  // from the last character: its own word
      {1, CtrlLeft, 17, 12},  {1, CtrlLeft, 40, 12},
      {1, CtrlShiftLeft, 14, 7},
      {6, CtrlLeft, 3, 2},  // the scan stays put: one column further left
      {2, CtrlRight, 1, 3},  {1, CtrlRight, 1, 7}, {1, CtrlRight, 12, 17},
      {1, CtrlRight, 17, 17}, {1, CtrlShiftRight, 7, 12},
      {1, CtrlRight, 255, 17},  // past the capacity: back to the text's end
      {3, AltRight, 1, 4},  {4, AltRight, 1, 4}, {4, AltRight, 4, 8},  // the blank after the text is a gap too
      {5, AltLeft, 7, 4},
  };
  for (const Step& s : steps) {
    t.At(s.Line, s.From);
    t.Press(s.Key);
    EXPECT_EQ(t->CurCol, s.To) << "line " << s.Line << " key " << std::hex << s.Key << std::dec
                               << " from " << s.From;
    EXPECT_EQ(t->CurLine, s.Line);
  }
}

TEST(Cursor, TabStopsMoveWithoutTyping) {
  Mover t(1);
  t.At(1, 1);
  t.Press(Tab);
  EXPECT_EQ(t->CurCol, 9);
  t.At(1, 9);
  t.Press(Tab);
  EXPECT_EQ(t->CurCol, 17);
  t.At(1, 250);  // past the last stop (249)
  t.Press(Tab);
  EXPECT_EQ(t->CurCol, 250);
  EXPECT_EQ(t.Line(1), "line 1");

  t.At(1, 10);
  t.Press(ShiftTab);
  EXPECT_EQ(t->CurCol, 9);
  t.Press(ShiftTab);
  EXPECT_EQ(t->CurCol, 1);
  t.Press(ShiftTab);
  EXPECT_EQ(t->CurCol, 1);

  // A left margin of 3 moves every stop.
  t->LeftMargin = 3;
  ComputeTabStops(*t);
  t.At(1, 2);
  t.Press(Tab);
  EXPECT_EQ(t->CurCol, 3);
  t.At(1, 3);
  t.Press(ShiftTab);
  EXPECT_EQ(t->CurCol, 3) << "no stop left of the margin";
}

TEST(Cursor, LineNumbersAreSixteenBitDecimals) {
  int16_t n = 0;
  EXPECT_TRUE(ParseLineNumber("15", n));
  EXPECT_EQ(n, 15);
  EXPECT_TRUE(ParseLineNumber("  +7 ", n));
  EXPECT_EQ(n, 7);
  EXPECT_TRUE(ParseLineNumber("-32768", n));
  EXPECT_EQ(n, -32768);
  EXPECT_TRUE(ParseLineNumber("00032767", n));
  EXPECT_EQ(n, 32767);
  for (std::string_view bad : {"", " ", "-", "32768", "99999999999999999999", "1 2", "12a", "x"})
    EXPECT_FALSE(ParseLineNumber(bad, n)) << bad;
}

TEST(Cursor, GoToLineTakesGoodAnswers) {
  Mover t(100);
  t.At(5, 9, 2);
  t->LineSaved = true;
  t.Answer("40");
  t.Press(F4);
  t.ExpectAt(40, 9, 40);
  EXPECT_FALSE(t->LineSaved);
  EXPECT_EQ(t->JumpIndex, 1);
  EXPECT_EQ(t->Jumps[1].Line, 5);
  EXPECT_EQ(t->Jumps[1].Top, 2);
  EXPECT_EQ(t->Jumps[1].Col, 9);

  // A wrong answer is asked again; the next one is taken.
  t.Answer("x4");
  t.Answer("12");
  t.Press(F4);
  t.ExpectAt(12, 9, 12);
  EXPECT_TRUE(t.Con.Keys.empty());

  // The current line: pushed, nothing moves.
  t.Answer("12");
  t.Press(F4);
  t.ExpectAt(12, 9, 12);
  EXPECT_EQ(t->JumpIndex, 3);
}

TEST(Cursor, GoToLineIgnoresZeroNegativeEmptyAndCancel) {
  Mover t(100);
  for (std::string_view answer : {"0", "-3", ""}) {
    t.At(5, 2, 3);
    t.Answer(answer);
    t.Press(F4);
    t.ExpectAt(5, 2, 3);
    EXPECT_EQ(t->JumpIndex, 0) << answer;
    EXPECT_TRUE(t.Con.Keys.empty());
  }
  t.Con.Keys.push_back(Esc);
  t.Press(F4);
  t.ExpectAt(5, 2, 3);
  EXPECT_EQ(t->JumpIndex, 0);

  // Not a 16-bit number: asked again, then cancelled.
  t.Answer("70000");
  t.Con.Keys.push_back(Esc);
  t.Press(F4);
  t.ExpectAt(5, 2, 3);
  EXPECT_TRUE(t.Con.Keys.empty());
}

TEST(Cursor, GetBackReturnsFromAnAnswerPastTheEnd) {
  Mover t(100);
  t.At(30, 6, 25);
  t.Answer("500");
  t.Press(F4);
  t.ExpectAt(30, 6, 25);
  t.Press(Down, 3);
  t.Press(Right);
  t.Press(CtrlF3);
  t.ExpectAt(30, 6, 25);
}

TEST(Cursor, GetBackWalksTheRing) {
  Mover t(100);
  // Empty: only the index steps back.
  t.At(7, 3, 4);
  t.Press(CtrlF3);
  t.ExpectAt(7, 3, 4);
  EXPECT_EQ(t->JumpIndex, 15);

  t->JumpIndex = 0;
  t.Answer("40");
  t.Press(F4);  // pushes (7, 3, top 4)
  t.Answer("60");
  t.Press(F4);  // pushes (40, 3, top 40)
  t.At(60, 11, 60);
  t->LineSaved = true;
  t.Press(CtrlF3);
  t.ExpectAt(40, 3, 40);
  EXPECT_FALSE(t->LineSaved);
  EXPECT_EQ(t->Jumps[3].Line, 60) << "where Get back came from";
  EXPECT_EQ(t->Jumps[3].Col, 11);
  t.Press(CtrlF3);
  t.ExpectAt(7, 3, 4);
  EXPECT_EQ(t->JumpIndex, 0);

  // An entry past the end of the text is skipped, the index still steps.
  t->Jumps[0] = {90, 85, 4};
  t.SetLines({"a", "b", "c"});
  t.At(2, 1, 1);
  t.Press(CtrlF3);
  t.ExpectAt(2, 1, 1);
  EXPECT_EQ(t->JumpIndex, 15);
}

TEST(Cursor, PushJumpWrapsAroundSixteenEntries) {
  Mover t(100);
  for (int i = 1; i <= 17; ++i) {
    t.At(i, 1, i);
    PushJump(*t);
  }
  EXPECT_EQ(t->JumpIndex, 1);
  EXPECT_EQ(t->Jumps[1].Line, 17);
  EXPECT_EQ(t->Jumps[0].Line, 16);
  EXPECT_EQ(t->Jumps[2].Line, 2) << "the oldest entry, line 1, was overwritten";
}

}  // namespace
}  // namespace lumo

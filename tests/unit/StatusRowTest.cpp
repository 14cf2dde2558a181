// The two top rows through a test console: the status fields and their
// colours, message colouring and waits, the idle message row, and choice
// bars driven by scripted keys. A bar is looked at while it waits by a
// console that copies row 1 each time a key is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "screen/StatusRow.h"
#include "screen/TestConsole.h"
#include "text/Cp866.h"
#include "text/LineStore.h"

namespace lumo {
namespace {

constexpr KeyCode Esc = 0x0000011B, ShiftEsc = 0x0002011B, AltEsc = 0x03080100;
constexpr KeyCode Enter = 0x00001C0D, PadEnter = 0x0000E00D;
constexpr KeyCode Home = 0x0200FF20, Left = 0x0200FF23, Right = 0x0200FF25, End = 0x0200FF26;
constexpr KeyCode F2 = 0x0200FF02, F5 = 0x0200FF05, ShiftF2 = 0x0202FF02;
constexpr KeyCode Digit(char c) { return KeyCode(uint8_t(c)); }

// Remembers row 1 (characters and attributes) as it was when each key was read.
class BarConsole : public TestConsole {
 public:
  using TestConsole::TestConsole;
  KeyCode ReadKey() override {
    std::vector<Cell> row(Cells(), Cells() + W());
    Seen.push_back(row);
    return TestConsole::ReadKey();
  }
  std::vector<std::vector<Cell>> Seen;
};

struct StatusFixture : ::testing::Test {
  BarConsole Con;
  Editor E;

  StatusFixture() {
    E.Con = &Con;
    InitLineTable(E);
  }

  int Add(const std::string& text, uint8_t capacity = 0) {
    int16_t at = int16_t(E.LineCount + 1);
    InsertLine(E, capacity ? capacity : uint8_t(text.size()), at);
    SetLineText(E, text, at);
    return at;
  }

  std::string Row1(int col, int n) { return Con.Text(1, col, n); }
};

using StatusFields = StatusFixture;

TEST_F(StatusFields, PositionAndSizeFields) {
  for (int i = 0; i < 300; ++i) Add("line");
  E.CurLine = 12;
  E.CurCol = 5;
  E.FileName = "a-rather-long-file-name.txt";
  DrawStatus(E);
  EXPECT_EQ(Row1(1, 21), "a-rather-long-file-na");
  EXPECT_EQ(Row1(22, 10), "line=12   ");
  EXPECT_EQ(Row1(32, 11), "column=5   ");
  EXPECT_EQ(Row1(43, 10), "size=300  ");
  EXPECT_EQ(Row1(53, 7), "memory=");
  EXPECT_EQ(Row1(77, 4), "123 ");

  E.FileName = "x";
  E.CurLine = 24575;
  E.CurCol = 255;
  DrawStatus(E);
  EXPECT_EQ(Row1(1, 21), "x" + std::string(20, ' '));
  EXPECT_EQ(Row1(22, 10), "line=24575");
  EXPECT_EQ(Row1(32, 11), "column=255 ");

  // The system's names are UTF-8: 21 characters are shown, not 21 bytes.
  E.FileName = "черновик-письма-другу.txt";
  DrawStatus(E);
  EXPECT_EQ(Row1(1, 21), Cp("черновик-письма-другу"));
}

TEST_F(StatusFields, MemoryFieldPlacesK) {
  Add("x");
  E.BudgetLimit = E.BudgetUsed + 512 * 1024 + 100;
  DrawStatus(E);
  EXPECT_EQ(Row1(53, 13), "memory=512K  ");
  E.BudgetLimit = E.BudgetUsed + 9000 * 1024;
  DrawStatus(E);
  EXPECT_EQ(Row1(53, 13), "memory=9000K ");
  E.BudgetLimit = E.BudgetUsed + 12345 * 1024;
  DrawStatus(E);
  EXPECT_EQ(Row1(53, 13), "memory=1234K ");
  E.BudgetLimit = E.BudgetUsed;
  DrawStatus(E);
  EXPECT_EQ(Row1(53, 13), "memory=0  K  ");
}

TEST_F(StatusFields, ByteUnderCursor) {
  Add(std::string("Ab\x01", 3), 10);
  E.CurLine = 1;
  E.CurCol = 1;
  DrawStatus(E);
  EXPECT_EQ(Row1(66, 11), "'A'=41/65  ");
  E.CurCol = 3;  // a control byte shows as its glyph
  DrawStatus(E);
  EXPECT_EQ(Row1(66, 11), "'\x02'=01/1   ");
  E.CurCol = 10;  // inside the capacity: the padding blank
  DrawStatus(E);
  EXPECT_EQ(Row1(66, 11), "' '=20/32  ");
  E.CurCol = 11;  // beyond the capacity
  DrawStatus(E);
  EXPECT_EQ(Row1(66, 11), "' '=20/32  ");
  Add(std::string(1, char(0xE0)));
  E.CurLine = 2;
  E.CurCol = 1;
  DrawStatus(E);
  EXPECT_EQ(Row1(69, 8), "=E0/224 ");
}

TEST_F(StatusFields, IndicatorColours) {
  for (int i = 0; i < 20; ++i) Add("text");
  E.CurLine = 5;
  E.CurCol = 30;
  E.HScroll = 10;
  E.InsertMode = true;
  E.RusMode = true;
  E.LineMark[1] = 5;
  E.LineMark[2] = 9;
  E.LineMark[3] = 0;
  DrawStatus(E);
  EXPECT_EQ(Con.Attr(1, 67), 0x70);
  EXPECT_EQ(Row1(76, 1), "R");
  EXPECT_EQ(Con.Attr(1, 76), 0x70);
  EXPECT_EQ(Con.Attr(1, 77), 0x4B);
  EXPECT_EQ(Con.Attr(1, 78), 0x07);
  EXPECT_EQ(Con.Attr(1, 79), 0x00);
  EXPECT_EQ(Con.Attr(1, 80), 0x07);
  EXPECT_EQ(Con.Attr(1, 20), 0xF0);  // the cross: column 30 - 10
  EXPECT_EQ(Con.Attr(1, 19), 0x07);

  E.InsertMode = false;
  E.RusMode = false;
  E.CursorCross = false;
  E.BlockFirst = 2;
  E.BlockLast = 3;
  DrawStatus(E);
  EXPECT_EQ(Con.Attr(1, 67), 0x07);
  EXPECT_EQ(Row1(76, 1), " ");
  EXPECT_EQ(Con.Attr(1, 76), 0x07);
  EXPECT_EQ(Con.Attr(1, 20), 0x07);
  EXPECT_EQ(Con.Attr(1, 80), 0x70);
  E.BlockFirst = E.BlockLast = 0;
  E.RectFirstLine = E.RectLastLine = 4;
  DrawStatus(E);
  EXPECT_EQ(Con.Attr(1, 80), 0x70);
}

TEST_F(StatusFields, WideScreenKeepsIndicatorsAtRightEdge) {
  TestConsole wide(132, 10);
  E.Con = &wide;
  Add("x");
  E.RusMode = true;
  E.BlockFirst = E.BlockLast = 1;
  E.LineMark[3] = 1;
  DrawStatus(E);
  EXPECT_EQ(wide.Text(1, 77, 51), std::string(51, ' '));
  EXPECT_EQ(wide.Text(1, 128, 5), "R123 ");
  EXPECT_EQ(wide.Attr(1, 128), 0x70);
  EXPECT_EQ(wide.Attr(1, 129), 0x00);
  EXPECT_EQ(wide.Attr(1, 131), 0x4B);
  EXPECT_EQ(wide.Attr(1, 132), 0x70);
}

using MessageRow = StatusFixture;

TEST_F(MessageRow, PlainMessageIsYellowToRowEnd) {
  ShowMessage(E, "0123456789", 0);
  EXPECT_EQ(Con.Text(2), "0123456789" + std::string(70, ' '));
  for (int c = 1; c <= 80; ++c) ASSERT_EQ(Con.Attr(2, c), 0x0E) << c;
}

TEST_F(MessageRow, ParenthesisAndCommaSwitchColours) {
  ShowMessage(E, "Open (file, x, y", 0);
  EXPECT_EQ(Con.Text(2, 1, 17), "Open (file, x, y ");
  // "Open" yellow, the blank before "(" through the comma and its blank green.
  EXPECT_EQ(Con.Attr(2, 4), 0x0E);
  for (int c = 5; c <= 12; ++c) EXPECT_EQ(Con.Attr(2, c), 0x2F) << c;
  // Then white on red, and after the second comma white on cyan.
  for (int c = 13; c <= 15; ++c) EXPECT_EQ(Con.Attr(2, c), 0x4F) << c;
  EXPECT_EQ(Con.Attr(2, 16), 0x3F);
  EXPECT_EQ(Con.Attr(2, 80), 0x3F);

  // Without a parenthesis the first comma goes from yellow to red, and the
  // cell after a comma is a blank whatever stood there.
  ShowMessage(E, "a,bc", 0);
  EXPECT_EQ(Con.Text(2, 1, 4), "a, c");
  EXPECT_EQ(Con.Attr(2, 2), 0x0E);
  EXPECT_EQ(Con.Attr(2, 3), 0x0E);
  EXPECT_EQ(Con.Attr(2, 4), 0x4F);
}

TEST_F(MessageRow, WaitOneLeavesTheWaitingKey) {
  Con.Keys.push_back(Digit('q'));
  ShowMessage(E, "done", 1);
  ASSERT_EQ(Con.Keys.size(), 1u);
  EXPECT_EQ(Con.KeysRead, 0);
  EXPECT_EQ(Con.At(2, 1), E.MessageIdle);
  EXPECT_GT(Con.WaitedMs, 0);
  EXPECT_LE(Con.WaitedMs, 3000);
}

TEST_F(MessageRow, WaitsBelowAndAtThirty) {
  ShowMessage(E, "prompt", 22);
  EXPECT_EQ(Con.Text(2, 1, 6), "prompt");
  EXPECT_EQ(Con.WaitedMs, 0);
  ShowMessage(E, "flash", 30);
  EXPECT_EQ(Con.At(2, 1), E.MessageIdle);
  EXPECT_EQ(Con.WaitedMs, 0);
  ShowMessage(E, "again", -5);
  EXPECT_EQ(Con.Text(2, 1, 5), "again");
}

TEST_F(MessageRow, IdleRowShowsBlockSize) {
  for (int i = 0; i < 20; ++i) Add("x");
  E.BlockFirst = 10;
  E.BlockLast = 14;
  ShowMessage(E, "busy", 0);
  ClearMessage(E);
  EXPECT_EQ(Con.Text(2, 1, 77), std::string(77, char(0xB0)));
  EXPECT_EQ(Con.Text(2, 78, 3), " 5 ");
  EXPECT_EQ(Con.Attr(2, 79), 7);

  E.BlockFirst = 1;
  E.BlockLast = 12345;
  E.LengthLimit = false;  // the idle row is bright
  ClearMessage(E);
  EXPECT_EQ(Con.Text(2, 74, 7), " 12345 ");
  EXPECT_EQ(Con.Attr(2, 1), 15);
  EXPECT_EQ(Con.Attr(2, 80), 15);

  E.BlockFirst = E.BlockLast = 0;
  ClearMessage(E);
  EXPECT_EQ(Con.Text(2, 78, 3), std::string(3, char(0xB0)));
}

// The console keeps the old cells when it grows or shrinks; an idle row must
// then be idle across the new width, a message or prompt stays as it was.
TEST_F(MessageRow, AResizedConsoleGetsAnIdleRowOfItsWidth) {
  for (int i = 0; i < 20; ++i) Add("x");
  E.BlockFirst = 3;
  E.BlockLast = 9;
  ClearMessage(E);
  Con.SetSize(132, 30);
  ResizeMessageRow(E, 80);
  EXPECT_EQ(Con.Text(2, 1, 129), std::string(129, char(0xB0)));
  EXPECT_EQ(Con.Text(2, 130, 3), " 7 ");
  for (int c = 1; c <= 132; ++c) ASSERT_EQ(Con.Attr(2, c), 7) << c;
  Con.SetSize(100, 30);
  ResizeMessageRow(E, 132);
  EXPECT_EQ(Con.Text(2, 1, 97), std::string(97, char(0xB0)));
  EXPECT_EQ(Con.Text(2, 98, 3), " 7 ");

  ShowMessage(E, "prompt", 22);
  Con.SetSize(132, 30);
  ResizeMessageRow(E, 100);
  EXPECT_EQ(Con.Text(2, 1, 6), "prompt");
  EXPECT_EQ(Con.Attr(2, 100), 0x0E);
}

TEST_F(MessageRow, BarLineKeepsGlyphAttributes) {
  ShowBarLine(E, std::string("ab\x10", 3) + "c", 2, 0x1E);
  EXPECT_EQ(Con.Text(2, 1, 2), "ab");
  EXPECT_EQ(Con.Attr(2, 1), 0x1E);
  EXPECT_EQ(CellChar(Con.At(2, 3)), 0x10);
  EXPECT_EQ(Con.Attr(2, 3), 0x0C);
  EXPECT_EQ(Con.Attr(2, 80), 0x1E);
  EXPECT_EQ(Con.Text(2, 5, 76), std::string(76, ' '));
}

using ChoiceBars = StatusFixture;

const std::string Bar = " Search ? | 1 yes | 2 no | 3 stop |";  // 4 separators, 3 options

TEST_F(ChoiceBars, AnswersFromKeys) {
  struct Case {
    std::vector<KeyCode> keys;
    int answer;
  } cases[] = {
      {{Esc}, 0},
      {{ShiftEsc}, 80},
      {{AltEsc}, 80},
      {{Enter}, 1},
      {{Right, PadEnter}, 2},
      {{Right, Right, Right, Enter}, 1},  // wraps from 3 to 1
      {{Left, Enter}, 3},                 // wraps from 1 to 3
      {{End, Left, Enter}, 2},
      {{End, Home, Enter}, 1},
      {{Digit('7'), Digit('3')}, 3},
      {{Digit('7'), Digit('0')}, 0},
      {{F5, ShiftF2, F2}, 2},
      {{Digit('a'), Digit('2')}, 2},
  };
  for (const Case& c : cases) {
    Con.Keys.assign(c.keys.begin(), c.keys.end());
    int before = Con.KeysRead;
    EXPECT_EQ(AskChoice(E, Bar), c.answer) << "first key " << std::hex << c.keys[0];
    EXPECT_EQ(E.ChoiceResult, c.answer);
    EXPECT_EQ(Con.KeysRead - before, int(c.keys.size()));
  }
}

TEST_F(ChoiceBars, SelectionAndQuestionColours) {
  Con.Keys = {Right, Esc};
  E.ChoicePreselect = 1;
  ChoiceBar(E, Bar, "", 0x3F, 0x2F, 0x5F, 0x0D);
  ASSERT_EQ(Con.Seen.size(), 2u);
  auto attr = [&](int shot, int col) { return CellAttr(Con.Seen[size_t(shot)][size_t(col - 1)]); };
  auto ch = [&](int shot, int col) { return CellChar(Con.Seen[size_t(shot)][size_t(col - 1)]); };
  // Separators at columns 11, 19, 26, 35.
  EXPECT_EQ(ch(0, 11), 0xB3);
  EXPECT_EQ(ch(0, 35), 0xB3);
  EXPECT_EQ(attr(0, 1), 0x3F);
  EXPECT_EQ(attr(0, 10), 0x3F);
  for (int c = 11; c <= 19; ++c) EXPECT_EQ(attr(0, c), 0xDF) << c;
  EXPECT_EQ(attr(0, 20), 0x2F);
  EXPECT_EQ(attr(0, 80), 0x2F);
  // After Right the second option is lit, the first is not.
  EXPECT_EQ(attr(1, 18), 0x2F);
  for (int c = 19; c <= 26; ++c) EXPECT_EQ(attr(1, c), 0xDF) << c;
  EXPECT_EQ(attr(1, 27), 0x2F);
}

TEST_F(ChoiceBars, PreselectHintAndRestoredRows) {
  Add("x");
  E.ChoicePreselect = 3;
  Con.Keys = {Enter};
  EXPECT_EQ(ChoiceBar(E, Bar, "Hint | keys | more", 0x3F, 0x2F, 0x1C, 0x0D), 3);
  EXPECT_EQ(CellAttr(Con.Seen[0][26]), 0x9C);  // selected + 128 as a byte

  // The hint was on row 2 with only its first "|" turned into a line. No
  // key is waiting (the empty queue reads as Esc), so the draw step runs
  // first: a status row still marked must not cover the bar.
  struct HintPeek : BarConsole {
    std::string Row1, Row2;
    KeyCode ReadKey() override {
      Row1 = Text(1, 1, 9);
      Row2 = Text(2, 1, 18);
      return BarConsole::ReadKey();
    }
  } peek;
  E.Con = &peek;
  MarkStatus(E);
  AskChoice(E, Bar, "Hint | keys | more");
  EXPECT_EQ(peek.Row1, " Search ?");
  EXPECT_EQ(peek.Row2, "Hint \xB3 keys | more");

  // Afterwards row 1 is the status row again and row 2 is idle.
  EXPECT_EQ(peek.Text(1, 22, 6), "line=1");
  EXPECT_EQ(peek.At(2, 1), E.MessageIdle);
}

TEST_F(ChoiceBars, RussianQuestionAndDegenerateBars) {
  Con.Keys = {Digit('2')};
  EXPECT_EQ(AskChoice(E, Cp(" Макросы записать ? | 1 - да | 2 или Esc - нет |")), 2);
  EXPECT_EQ(Con.Seen[0][0], MakeCell(' ', 0x3F));
  EXPECT_EQ(CellChar(Con.Seen[0][1]), uint8_t(Cp("М")[0]));

  // No options: only refusal and leave answer; Enter and digits wait.
  Con.Keys = {Enter, Digit('1'), Right, Digit('0')};
  EXPECT_EQ(AskChoice(E, " Note |"), 0);
  EXPECT_EQ(Con.Keys.size(), 0u);
  Con.Keys = {ShiftEsc};
  EXPECT_EQ(AskChoice(E, "no separators"), 80);
}

}  // namespace
}  // namespace lumo

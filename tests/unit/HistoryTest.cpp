// The line history: the ring and its episodes, the three restore commands as
// the loop runs them, and the history screen with its slot prompt and its
// key-code display.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "TestEditor.h"
#include "app/HistoryScreen.h"
#include "app/MainLoop.h"
#include "text/LineHistory.h"

namespace lumo {
namespace {

using test::TestEditor;

constexpr KeyCode KeyShiftF10 = 0x0202FF0A;
constexpr KeyCode KeyAltR = 0x03081300;
constexpr KeyCode KeyAltBackspace = 0x03080E00;
constexpr KeyCode KeyEnter = 0x00001C0D;

KeyCode Char(char c) { return KeyCode(uint8_t(c)); }

std::string SlotText(const Editor& e, int s) {
  const uint8_t* p = e.HistorySlot[s];
  std::string_view v(reinterpret_cast<const char*>(p + 1), p[0]);
  return std::string(v.substr(0, TextLength(v)));
}

struct HistoryTest : ::testing::Test {
  TestEditor T;
  void SetUp() override { T.SetLines({"alpha", "beta", "gamma"}); }
  Editor& E() { return *T; }
  void Keys(std::initializer_list<KeyCode> keys) {
    for (KeyCode k : keys) HandleKey(E(), k);
  }
};

TEST_F(HistoryTest, OneEpisodeOnePush) {
  T->CurLine = 2;
  T->CurCol = 5;
  Keys({Char('x'), Char('y'), Char('z')});
  EXPECT_EQ(T.Line(2), "betaxyz");
  EXPECT_EQ(T->HistoryNewest, 0);
  EXPECT_EQ(SlotText(E(), 0), "beta");
  // Shift+F10 gives the line before the first of the three, and again.
  Keys({KeyShiftF10});
  EXPECT_EQ(T.Line(2), "beta");
  Keys({KeyShiftF10});
  EXPECT_EQ(T.Line(2), "beta");
  EXPECT_EQ(T->HistoryNewest, 0);
}

TEST_F(HistoryTest, RestoresNeedAnEpisode) {
  T->CurLine = 1;
  Keys({Char('x')});
  T->LineSaved = false;  // as after moving to another line and back
  Keys({KeyShiftF10, KeyAltBackspace});
  EXPECT_EQ(T.Line(1), "xalpha");
}

TEST_F(HistoryTest, RingKeepsTheSixteenNewest) {
  for (int i = 1; i <= 17; ++i) {
    SetLineText(E(), "text " + std::to_string(i), 1);
    T->LineSaved = false;
    PushHistory(E(), 1);
  }
  EXPECT_EQ(T->HistoryNewest, 0);
  EXPECT_EQ(SlotText(E(), 0), "text 17");
  EXPECT_EQ(SlotText(E(), 1), "text 2");
  for (int s = 0; s < 16; ++s) EXPECT_NE(SlotText(E(), s), "text 1");
}

TEST_F(HistoryTest, RingRestoresWalkBackAboveEachOther) {
  T->CurLine = 3;
  DeleteLine(E(), T->CurLine);  // pushes "gamma"
  T->CurLine = 1;
  DeleteLine(E(), T->CurLine);  // pushes "alpha"; "beta" is left
  ASSERT_EQ(T->LineCount, 1);
  Keys({KeyAltR});
  EXPECT_EQ(T.Line(1), "alpha");
  EXPECT_EQ(T->CurLine, 1);
  EXPECT_FALSE(T->LineSaved);
  Keys({KeyAltR});
  EXPECT_EQ(T.Line(1), "gamma");
  EXPECT_EQ(T.Line(2), "alpha");
  EXPECT_EQ(T.Line(3), "beta");
  // Both entries restored: the index has stepped back past slot 0.
  EXPECT_EQ(T->HistoryNewest, 255);
}

TEST_F(HistoryTest, DeletedLineComesBackWhereItWas) {
  T->CurLine = 2;
  DeleteLine(E(), T->CurLine);
  ASSERT_EQ(T.Line(2), "gamma");
  Keys({KeyAltR});
  EXPECT_EQ(T.Line(1), "alpha");
  EXPECT_EQ(T.Line(2), "beta");
  EXPECT_EQ(T.Line(3), "gamma");
  EXPECT_EQ(T->CurLine, 2);
}

TEST_F(HistoryTest, EmptyRingGivesAnEmptyLine) {
  T->CurLine = 2;
  Keys({KeyAltR});
  EXPECT_EQ(T->LineCount, 4);
  EXPECT_EQ(T.Line(2), "");
  EXPECT_EQ(T.Line(3), "beta");
  EXPECT_EQ(T->HistoryNewest, 14);
}

TEST_F(HistoryTest, RefusedRestoreKeepsTheCursorOnTheText) {
  SetLineText(E(), "a longer line than the memory left", 1);
  PushHistory(E(), 1);
  T->CurLine = 1;
  T->BudgetLimit = T->BudgetUsed + 4;
  Keys({KeyAltR});
  EXPECT_EQ(T->OpFailed, 1);
  EXPECT_EQ(T->LineCount, 3);
  EXPECT_EQ(T->CurLine, 1);
  EXPECT_EQ(T->HistoryNewest, 0);  // the entry is still there for a later try
}

TEST_F(HistoryTest, UndoAndRedoOfTheLastKey) {
  T->CurLine = 1;
  T->CurCol = 6;
  Keys({Char('s'), Char('!')});
  ASSERT_EQ(T.Line(1), "alphas!");
  Keys({KeyAltBackspace});
  EXPECT_EQ(T.Line(1), "alphas");
  EXPECT_EQ(T->CurCol, 7);
  Keys({KeyAltBackspace});
  EXPECT_EQ(T.Line(1), "alphas!");
  EXPECT_EQ(T->CurCol, 8);
}

// Keeps the screen as it was before each key read, so a test can see what the
// history screen showed while it waited.
struct PeekConsole : TestConsole {
  std::vector<std::vector<Cell>> Seen;
  KeyCode ReadKey() override {
    Seen.push_back(Buffer);
    return TestConsole::ReadKey();
  }
  std::string TextAt(size_t read, int row, int col, int n) const {
    std::string t;
    for (int c = col; c < col + n; ++c) t += char(CellChar(Seen[read][size_t((row - 1) * W() + c - 1)]));
    return t;
  }
  uint8_t AttrAt(size_t read, int row, int col) const {
    return CellAttr(Seen[read][size_t((row - 1) * W() + col - 1)]);
  }
};

// A ring of three entries and the cursor on line 2.
struct ScreenTest : HistoryTest {
  PeekConsole Con;
  void SetUp() override {
    HistoryTest::SetUp();
    T->Con = &Con;
    for (const char* s : {"first", "second", "third"}) {
      SetLineText(E(), s, 1);
      T->LineSaved = false;
      PushHistory(E(), 1);
    }
    SetLineText(E(), "alpha", 1);
    T->CurLine = 2;
  }
  void Show(std::initializer_list<KeyCode> keys) {
    Con.Keys = keys;
    ShowHistoryScreen(E());
  }
};

TEST_F(ScreenTest, ListsTheRingNewestFirst) {
  T->FileCodePage = CodePage::Koi8;
  SetLineText(E(), std::string(100, 'w'), 3);
  T->LineSaved = false;
  PushHistory(E(), 3);  // slot 3, longer than a row shows
  Show({0x030C0F00});
  EXPECT_EQ(Con.TextAt(0, 1, 1, 54), "  To get back, press Alt+Ctrl+Tab. Now press any key. ");
  EXPECT_EQ(Con.AttrAt(0, 1, 3), 0x0B);
  EXPECT_EQ(Con.TextAt(0, 3, 1, 6), " KOI8 ");
  EXPECT_EQ(Con.AttrAt(0, 3, 2), 0x0E);
  EXPECT_EQ(Con.TextAt(0, 5, 1, 19), " {$DEFINE WINDOWS} ");
  EXPECT_EQ(Con.TextAt(0, 7, 1, 19), " {$DEFINE RUSSIAN} ");
  EXPECT_EQ(Con.AttrAt(0, 6, 2), 7);
  EXPECT_EQ(Con.TextAt(0, 9, 1, 80), " 3: " + std::string(75, 'w') + " ");
  EXPECT_EQ(Con.AttrAt(0, 9, 79), 6);
  EXPECT_EQ(Con.TextAt(0, 10, 1, 10), " 2: third ");
  EXPECT_EQ(Con.TextAt(0, 12, 1, 10), " 0: first ");
  // Slots never written read as empty, the oldest last.
  EXPECT_EQ(Con.TextAt(0, 13, 1, 6), "15:   ");
  EXPECT_EQ(Con.TextAt(0, 24, 1, 6), " 4:   ");
}

TEST_F(ScreenTest, SpaceAsksForASlotAndInsertsIt) {
  Show({0x00003920, Char('1'), Char('6'), KeyEnter, Char('x'), KeyEnter, Char('1'), KeyEnter});
  // After the first Space: the prompt; after a wrong number: the prompt again
  // in red.
  EXPECT_EQ(Con.TextAt(1, 1, 1, 45), "  Enter number of a line you want to restore.");
  EXPECT_EQ(Con.AttrAt(1, 1, 5), 10);
  EXPECT_EQ(Con.TextAt(3, 1, 1, 4), "16En");  // typed over the prompt
  EXPECT_EQ(Con.AttrAt(4, 1, 5), 12);
  EXPECT_EQ(Con.AttrAt(6, 1, 5), 12);
  EXPECT_EQ(T->LineCount, 4);
  EXPECT_EQ(T.Line(2), "second");
  EXPECT_EQ(T.Line(3), "beta");
  EXPECT_EQ(T->CurLine, 2);
  EXPECT_EQ(T->HistoryNewest, 2);  // the ring itself is left as it was
  // Closing gives the message row back.
  EXPECT_EQ(Con.At(2, 1), T->MessageIdle);
}

TEST_F(ScreenTest, SlotThreeAndTheWayOut) {
  SetLineText(E(), "fourth", 1);
  T->LineSaved = false;
  PushHistory(E(), 1);
  Show({0x00003920, Char('3'), KeyEnter});
  EXPECT_EQ(T.Line(2), "fourth");
  // Esc at the prompt leaves without inserting.
  Show({0x00003920, Char('2'), 0x0000011B});
  EXPECT_EQ(T->LineCount, 4);
}

TEST_F(ScreenTest, OtherKeysShowTheirCodes) {
  Show({0x00001E61, 0x00031E41, 0x030C0F00, Char('q')});
  // The first key clears the screen and takes row 1.
  EXPECT_EQ(Con.TextAt(1, 1, 1, 24), "a   97  61 1E 00 00  0  ");
  EXPECT_EQ(Con.AttrAt(1, 1, 1), 0x1E);
  EXPECT_EQ(Con.TextAt(1, 9, 1, 4), "    ");
  // The raw shift byte, then the normalised state.
  EXPECT_EQ(Con.TextAt(2, 2, 1, 24), "A   65  41 1E 03 00  2  ");
  // Ctrl+Alt+Tab closes with its own line in red; the next key stays queued.
  EXPECT_EQ(Con.Text(3, 1, 24), std::string("\0    0  00 0F 0C 03  12", 23) + " ");
  EXPECT_EQ(Con.Attr(3, 1), 0x1C);
  EXPECT_GT(Con.WaitedMs, 0);
  ASSERT_EQ(Con.Keys.size(), 1u);
}

TEST_F(ScreenTest, KeyLinesStartOverAfterTheLastRow) {
  Con.Keys.clear();
  for (int i = 0; i < 26; ++i) Con.Keys.push_back(Char('a' + i % 26));
  Con.Keys.push_back(0x030C0F00);
  ShowHistoryScreen(E());
  // 25 rows from 'a' to 'y', then a cleared screen with 'z' on row 1.
  ASSERT_EQ(Con.Seen.size(), 27u);
  EXPECT_EQ(Con.TextAt(25, 25, 1, 1), "y");
  EXPECT_EQ(Con.TextAt(26, 1, 1, 1), "z");
  EXPECT_EQ(Con.TextAt(26, 2, 1, 3), "   ");
  EXPECT_EQ(Con.TextAt(26, 25, 1, 3), "   ");
}

}  // namespace
}  // namespace lumo

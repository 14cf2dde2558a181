// The history screen: no key opens it yet (the menu will), so what it draws
// and how its slot prompt and its key-code display behave are tested here.
// The ring and the keys that restore lines are tested in tests/cases.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "TestEditor.h"
#include "app/HistoryScreen.h"
#include "screen/KeyNames.h"
#include "text/LineHistory.h"

namespace lumo {
namespace {

using test::TestEditor;

KeyCode Char(char c) { return KeyCode(uint8_t(c)); }

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
struct ScreenTest : ::testing::Test {
  TestEditor T;
  PeekConsole Con;
  Editor& E() { return *T; }
  void SetUp() override {
    T.SetLines({"alpha", "beta", "gamma"});
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
  Show({keys::Ctrl(keys::Alt(keys::Tab))});
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
  Show({keys::Space, Char('1'), Char('6'), keys::Enter, Char('x'), keys::Enter, Char('1'), keys::Enter});
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
  // Slot 3, then Esc at the prompt leaves without inserting.
  SetLineText(E(), "fourth", 1);
  T->LineSaved = false;
  PushHistory(E(), 1);
  Show({keys::Space, Char('3'), keys::Enter});
  EXPECT_EQ(T.Line(2), "fourth");
  Show({keys::Space, Char('2'), keys::Esc});
  EXPECT_EQ(T->LineCount, 5);
}

TEST_F(ScreenTest, OtherKeysShowTheirCodesRowByRow) {
  Show({keys::A, PcKeyValue(PcKey::A, ModShift), keys::Ctrl(keys::Alt(keys::Tab)), Char('q')});
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

  // 25 rows from 'a' to 'y', then a cleared screen with 'z' on row 1.
  Con.Seen.clear();
  Con.Keys.clear();
  for (int i = 0; i < 26; ++i) Con.Keys.push_back(Char('a' + i));
  Con.Keys.push_back(keys::Ctrl(keys::Alt(keys::Tab)));
  ShowHistoryScreen(E());
  ASSERT_EQ(Con.Seen.size(), 27u);
  EXPECT_EQ(Con.TextAt(25, 25, 1, 1), "y");
  EXPECT_EQ(Con.TextAt(26, 1, 1, 1), "z");
  EXPECT_EQ(Con.TextAt(26, 2, 1, 3), "   ");
  EXPECT_EQ(Con.TextAt(26, 25, 1, 3), "   ");
}

}  // namespace
}  // namespace lumo

// The command loop seen from the terminal: what a key decodes to and which
// command takes it (through the key-code display), keys no command claims,
// keeping the cursor on the screen by scrolling, Esc's order of duties and
// the save question on the way out.
#include "EditingFixture.h"
#include "Keys.h"

namespace lumo::e2e {
namespace {

const std::string SaveQuestion =
    " Записать в файл ? │ 1 - да │ 2 - нет │ 3 = Esc - продолжить редактирование │";

class LoopTest : public EditingTest {};

// Ctrl+Alt+Tab, then one key: its value is typed as eight hex digits, kind,
// shift state, scan code, character. The bytes are xterm's (modifyOtherKeys 2
// and metaSendsEscape, both of which the editor asks for) unless named
// otherwise.
struct KeyCodeCase {
  const char* Name;
  std::string Bytes;
  std::string Shown;
};

void PrintTo(const KeyCodeCase& c, std::ostream* os) { *os << c.Name; }

const KeyCodeCase KeyCodeCases[] = {
    {"Esc", "\x1b", "0000011B"},
    {"Enter", "\r", "00001C0D"},
    {"KeypadEnter", "\x1bOM", "0000E00D"},
    {"Backspace", "\x7f", "00000E08"},
    {"Tab", "\t", "00000F09"},
    {"Space", " ", "00003920"},
    {"SmallA", "a", "00001E61"},
    {"CapitalAIsShifted", "A", "00021E41"},
    {"CyrillicShortI", "й", "000010A9"},  // the Q key of the Russian layout
    {"CyrillicCapitalEf", "Ф", "00021E94"},
    {"CtrlY", "\x19", "00041519"},
    {"CtrlYModifyOtherKeys", "\x1b[27;5;121~", "00041519"},
    {"CtrlEnter", "\x1b[27;5;13~", "00041C0A"},
    {"ShiftEnter", "\x1b[27;2;13~", "00021C0D"},
    {"CtrlShiftFKitty", "\x1b[102;6u", "00072106"},
    {"F2", "\x1bOQ", "0200FF02"},
    {"ShiftF2", "\x1b[1;2Q", "0202FF02"},
    {"ShiftF10", "\x1b[21;2~", "0202FF0A"},
    {"AltF3", "\x1b[1;3R", "0208FF03"},
    {"CtrlUp", "\x1b[1;5A", "0204FF21"},
    {"AltShiftUp", "\x1b[1;4A", "020BFF21"},
    {"ShiftDel", "\x1b[3;2~", "0202FF2A"},
    {"ShiftTab", "\x1b[Z", "03020F00"},
    {"CtrlTab", "\x1b[27;5;9~", "03049400"},
    {"AltR", "\x1br", "03081300"},
    {"AltBackspace", "\x1b\x7f", "03080E00"},
    {"Alt1", "\x1b" "1", "03087800"},
    {"CtrlAltTab", "\x1b[27;7;9~", "030C0F00"},
};

class KeyCodeTest : public LoopTest, public testing::WithParamInterface<KeyCodeCase> {};

TEST_P(KeyCodeTest, CtrlAltTabTypesTheNextKeysValue) {
  const KeyCodeCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Send("\x1b[27;7;9~");
  S.Pump(Ms{50});
  S.Send(c.Bytes);
  // Typed through the typing path, so inserted before "abc"; the key itself
  // runs no command (Esc does not leave, Ctrl+Y deletes nothing).
  EXPECT_EQ(S.WaitScreen({{3, 1, c.Shown + "abc "}, {1, 32, "column=9 "}, {1, 43, "size=1 "}}), "");
  EXPECT_TRUE(S.Running());
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyCodeTest, testing::ValuesIn(KeyCodeCases),
                         [](const testing::TestParamInfo<KeyCodeCase>& i) { return std::string(i.param.Name); });

TEST_F(LoopTest, CtrlAltTabUnderTheKittyProtocolAlsoShowsAKey) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", ""));
  S.Send("\x1b[9;7u");
  S.Pump(Ms{50});
  S.Send("\x1b[1;5A");
  EXPECT_EQ(S.WaitScreen({{3, 1, "0204FF21 "}}), "");
}

// Keys that no command claims are typed: a function or cursor key as its
// number, a control character as itself.
TEST_F(LoopTest, UnboundKeysTypeTheirCodes) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", ""));
  S.Send("\x1b[6;2~");  // Shift+PgDn: 0x28, "("
  S.Pump(Ms{20});
  S.Send("\x1b[19;5~");  // Ctrl+F8: 0x08
  S.Pump(Ms{20});
  S.Send("\x17");  // Ctrl+W outside a program text
  S.Pump(Ms{20});
  S.Send("\x1b[27;5;119~");  // Ctrl+W under modifyOtherKeys
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=5 "}, {3, 1, "("}}), "");
  SaveAndExpect("a.txt", "(\x08\x17\x17\r\n");
}

std::string NumberedLines(int n) {
  std::string s;
  for (int i = 1; i <= n; ++i) s += "line " + std::to_string(i) + "\r\n";
  return s;
}

TEST_F(LoopTest, MovingBelowTheWindowScrollsByOneLine) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(40)));
  std::string downs;
  for (int i = 0; i < 23; ++i) downs += "<Down>";
  S.Keys(downs);
  ASSERT_EQ(S.WaitScreen({{1, 22, "line=24 "}, {3, 1, "line 2 "}, {25, 1, "line 24 "}}), "");
  EXPECT_EQ(S.CursorRow(), 25);
  std::string ups;
  for (int i = 0; i < 23; ++i) ups += "<Up>";
  S.Keys(ups);
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=1 "}, {3, 1, "line 1 "}, {25, 1, "line 23 "}}), "");
  EXPECT_EQ(S.CursorRow(), 3);
}

// A line whose every column can be told apart from its neighbours.
std::string Ruler(size_t n) {
  std::string l;
  for (int i = 0; l.size() < n; ++i) {
    l += '(';
    l += std::to_string(i);
    l += ')';
  }
  return l.substr(0, n);
}

std::string Repeat(const std::string& key, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += key;
  return s;
}

TEST_F(LoopTest, MovingPastTheRightEdgeScrollsByHalfAScreen) {
  const std::string line = Ruler(200);
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", line + "\r\n"));
  S.Keys(Repeat("<Right>", 79));
  ASSERT_EQ(S.WaitScreen({{1, 32, "column=80 "}, {3, 1, line.substr(0, 80)}}), "");
  EXPECT_EQ(S.CursorCol(), 80);
  S.Keys("<Right>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=81 "}, {3, 1, line.substr(40, 80)}}), "");
  EXPECT_EQ(S.CursorCol(), 41);
  // Back over the left edge: half a screen the other way.
  S.Keys(Repeat("<Left>", 40));
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=41 "}, {3, 1, line.substr(40, 80)}}), "");
  EXPECT_EQ(S.CursorCol(), 1);
  S.Keys("<Left>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=40 "}, {3, 1, line.substr(0, 80)}}), "");
  EXPECT_EQ(S.CursorCol(), 40);
}

TEST_F(LoopTest, TypingPastTheRightEdgeScrollsByHalfAScreen) {
  const std::string typed = Ruler(85);
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", ""));
  S.Keys(typed.substr(0, 79));
  ASSERT_EQ(S.WaitScreen({{1, 32, "column=80 "}, {3, 1, typed.substr(0, 79) + " "}}), "");
  S.Keys(typed.substr(79));
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=86 "}, {3, 1, typed.substr(40) + std::string(35, ' ')}}), "");
  EXPECT_EQ(S.CursorCol(), 46);
}

TEST_F(LoopTest, WithoutTheJumpTypingScrollsJustFarEnough) {
  const std::string typed = Ruler(85);
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "", {"-J"}));
  S.Keys(typed.substr(0, 80));
  ASSERT_EQ(S.WaitScreen({{1, 32, "column=81 "}, {3, 1, typed.substr(1, 79) + " "}}), "");
  EXPECT_EQ(S.CursorCol(), 80);
  S.Keys(typed.substr(80));
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=86 "}, {3, 1, typed.substr(6) + " "}}), "");
  EXPECT_EQ(S.CursorCol(), 80);
}

TEST_F(LoopTest, WithoutTheJumpMovingScrollsJustFarEnough) {
  const std::string line = Ruler(200);
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", line + "\r\n", {"-J"}));
  S.Keys(Repeat("<Right>", 80));
  ASSERT_EQ(S.WaitScreen({{1, 32, "column=81 "}, {3, 1, line.substr(1, 80)}}), "");
  EXPECT_EQ(S.CursorCol(), 80);
  S.Keys(Repeat("<Right>", 5));
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=86 "}, {3, 1, line.substr(6, 80)}}), "");
  EXPECT_EQ(S.CursorCol(), 80);
  S.Keys(Repeat("<Left>", 80));
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=6 "}, {3, 1, line.substr(5, 80)}}), "");
  EXPECT_EQ(S.CursorCol(), 1);
}

// Waits for the block commands (Alt+L has no command yet).
TEST_F(LoopTest, DISABLED_EscFirstRemovesABlockMarkingThenLeaves) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\ndef\r\n"));
  S.Keys("<A-l>");  // a line block
  ASSERT_EQ(S.WaitScreen({{1, 80, "", 0x70, 1}}), "");
  S.Keys("<Esc>");
  EXPECT_EQ(S.WaitScreen({{1, 80, "", 0x07, 1}}), "");
  EXPECT_FALSE(S.WaitExit(Ms{200})) << "Esc with a block marked must only remove the marking";
  S.Keys("<Esc>");
  EXPECT_EQ(Ended().Code, 0);
}

// The save question: its colours, what each answer leaves on disk and the
// exit code.
TEST_F(LoopTest, TheSaveQuestionOffersSavingFirst) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Keys("ж<Esc>");
  EXPECT_EQ(S.WaitScreen({{1, 1, SaveQuestion},
                          {1, 1, "", 0x3F, 19},    // the question
                          {1, 20, "", 0xDF, 10},   // "│ 1 - да │", chosen
                          {1, 30, "", 0x2F, 51}}),  // the other answers, to the row's end
            "");
}

TEST_F(LoopTest, AnswerOneSavesTheTypedTextAndEndsWithOne) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\nlast"));
  S.Keys("жук <Esc>");
  ASSERT_EQ(S.WaitScreen({{1, 1, SaveQuestion}}), "");
  S.Keys("1");
  ExitStatus e = Ended();
  EXPECT_TRUE(e.Exited);
  EXPECT_EQ(e.Code, 1);
  EXPECT_EQ(Escaped(S.ReadFile("a.txt")), Escaped(std::string("\xA6\xE3\xAA abc\r\nlast\r\n")));
  ExpectTerminalRestored();
}

TEST_F(LoopTest, EnterTakesTheChosenAnswer) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Keys("x<Esc>");
  ASSERT_EQ(S.WaitScreen({{1, 1, SaveQuestion}}), "");
  S.Keys("<Right>");
  EXPECT_EQ(S.WaitScreen({{1, 20, "", 0x2F, 9}, {1, 29, "", 0xDF, 11}}), "") << "Right chooses answer 2";
  S.Keys("<Enter>");
  ExitStatus e = Ended();
  EXPECT_EQ(e.Code, 3);
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
  EXPECT_FALSE(S.Exists("a.txt.save"));
}

TEST_F(LoopTest, AnswerThreeReturnsToTheText) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Keys("x<Esc>");
  ASSERT_EQ(S.WaitScreen({{1, 1, SaveQuestion}}), "");
  S.Keys("3");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=1 "}, {3, 1, "xabc "}}), "");
  EXPECT_FALSE(S.WaitExit(Ms{200}));
  S.Keys("y<Esc>2");
  EXPECT_EQ(Ended().Code, 3);
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
}

}  // namespace
}  // namespace lumo::e2e

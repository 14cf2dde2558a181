// Moving through the text: going to a line by number and back again, the
// boundaries of the text and of the line, pages on a 25-row screen (a page
// is 22 lines), tab stops and word steps.
#include "EditingFixture.h"
#include "Keys.h"

namespace lumo::e2e {
namespace {

const std::string GoToTitle = "     Введите номер строки:";
const std::string LastLineNote = "Эта строка - последняя. Добавка новой - F3 или ВВОД.";

std::string NumberedLines(int n) {
  std::string s;
  for (int i = 1; i <= n; ++i) s += "line " + std::to_string(i) + "\r\n";
  return s;
}

std::string Repeat(const std::string& key, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += key;
  return s;
}

class MovementTest : public EditingTest {
 protected:
  // The cursor is placed after the text is drawn, so it is waited for too.
  void ExpectCursorRow(int row) {
    EXPECT_TRUE(S.WaitFor([&] { return S.CursorRow() == row; })) << "cursor in row " << S.CursorRow() << ", not " << row;
  }

  // F4 and the answer, up to the moment the title shows.
  void AskLine() {
    S.Keys("<F4>");
    ASSERT_EQ(S.WaitScreen({{2, 1, GoToTitle}}), "");
  }
};

TEST_F(MovementTest, GoToLineShowsTheLineAtTheTopAndGetBackReturns) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(40)));
  S.Keys("<Down><Down><Right><Right>");
  ASSERT_EQ(S.WaitScreen({{1, 22, "line=3 "}, {1, 32, "column=3 "}}), "");
  ASSERT_NO_FATAL_FAILURE(AskLine());
  EXPECT_TRUE(S.WaitFor([&] { return S.CursorRow() == 2 && S.CursorCol() == 28; }))
      << "the answer field starts after the title";
  S.Keys("30");
  EXPECT_EQ(S.WaitScreen({{2, 28, "30 "}}), "");
  S.Keys("<Enter>");
  // The column is kept, the line becomes the window's top line.
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=30 "}, {1, 32, "column=3 "}, {3, 1, "line 30 "}, {13, 1, "line 40 "},
                          {2, 1, "░░░░"}}),
            "");
  ExpectCursorRow(3);
  S.Keys("<C-F3>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=3 "}, {1, 32, "column=3 "}, {3, 1, "line 1 "}}), "");
  ExpectCursorRow(5);
  // Get back walks backwards through the ring, where nothing older is left:
  // the position it saved for line 30 lies ahead of the index.
  S.Keys("<C-F3><Down>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=4 "}, {3, 1, "line 1 "}}), "");
}

TEST_F(MovementTest, AnAnswerThatIsNoNumberIsAskedAgainAndEscGivesUp) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(40)));
  // Letters, a number with letters after it, a number too big for 16 bits:
  // each time the title comes back with the answer as it was typed.
  for (const std::string bad : {"abc", "12x", "70000"}) {
    SCOPED_TRACE(bad);
    ASSERT_NO_FATAL_FAILURE(AskLine());
    S.Keys(bad);
    ASSERT_EQ(S.WaitScreen({{2, 28, bad + " "}}), "");
    S.Keys("<Enter>");
    // The answer stays in its colours: the prompt is still open.
    EXPECT_EQ(S.WaitScreen({{2, 1, GoToTitle}, {2, 28, bad, 0x5A}}), "");
    EXPECT_EQ(S.Text(1, 22, 7), "line=1 ");
    S.Keys("<Esc>");
    EXPECT_EQ(S.WaitScreen({{2, 1, "░░░░░░░░"}, {1, 22, "line=1 "}, {3, 1, "line 1 "}}), "");
  }
  // Had a prompt closed on Enter, one of the Escs would have ended the run.
  EXPECT_FALSE(S.WaitExit(Ms{200}));
}

TEST_F(MovementTest, ZeroNegativeAndEmptyAnswersDoNothing) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(40)));
  S.Keys("<Down>");
  for (const std::string answer : {"0", "-5", ""}) {
    SCOPED_TRACE("answer \"" + answer + "\"");
    ASSERT_NO_FATAL_FAILURE(AskLine());
    S.Keys(answer + "<Enter>");
    EXPECT_EQ(S.WaitScreen({{2, 1, "░░░░░░░░"}, {1, 22, "line=2 "}, {3, 1, "line 1 "}}), "");
  }
  // None of them was a jump: Get back has nothing to return to.
  S.Keys("<C-F3><Down>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=3 "}, {3, 1, "line 1 "}}), "");
}

TEST_F(MovementTest, ALineBeyondTheTextMovesNothingButIsRememberedForGetBack) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(40)));
  S.Keys("<Down><Down>");
  ASSERT_NO_FATAL_FAILURE(AskLine());
  S.Keys("99<Enter>");
  EXPECT_EQ(S.WaitScreen({{2, 1, "░░░░░░░░"}, {1, 22, "line=3 "}, {3, 1, "line 1 "}}), "");
  S.Keys("<Down><Down>");
  ASSERT_EQ(S.WaitScreen({{1, 22, "line=5 "}}), "");
  S.Keys("<C-F3>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=3 "}, {3, 1, "line 1 "}}), "");
}

TEST_F(MovementTest, DownOnTheLastLineSaysSoAndStays) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\nthree\r\n"));
  S.Keys("<Down><Down>");
  ASSERT_EQ(S.WaitScreen({{1, 22, "line=3 "}}), "");
  S.Keys("<Down>");
  EXPECT_EQ(S.WaitScreen({{2, 1, LastLineNote}, {1, 22, "line=3 "}, {1, 43, "size=3 "}}), "");
  ExpectCursorRow(5);
  // The key that ends the note is not lost: Up both clears it and moves.
  S.Keys("<Up>");
  EXPECT_EQ(S.WaitScreen({{2, 1, "░░░░░░░░"}, {1, 22, "line=2 "}, {1, 43, "size=3 "}}), "");
}

TEST_F(MovementTest, PageKeysMoveByThePageStep) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(60)));
  S.Keys("<PgDn>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=23 "}, {3, 1, "line 23 "}, {25, 1, "line 45 "}}), "");
  ExpectCursorRow(3);
  S.Keys("<Down><Down><PgDn>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=47 "}, {3, 1, "line 45 "}}), "");
  ExpectCursorRow(5);
  // Past the end: the last line at the top, the cursor on it.
  S.Keys("<PgDn>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=60 "}, {3, 1, "line 60 "}, {4, 1, "    "}}), "");
  ExpectCursorRow(3);
  S.Keys("<PgUp>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=38 "}, {3, 1, "line 38 "}}), "");
  S.Keys("<Down><Down><PgUp>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=18 "}, {3, 1, "line 16 "}}), "");
  // Near the top: the window starts at line 1 and the cursor keeps its row.
  S.Keys("<PgUp>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=3 "}, {3, 1, "line 1 "}}), "");
  ExpectCursorRow(5);
  S.Keys("<PgUp>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=3 "}, {3, 1, "line 1 "}}), "");
}

TEST_F(MovementTest, CtrlHomeAndCtrlEndKeepTheScreenRowAndAreJumps) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(60)));
  S.Keys("<Down><Down>");
  S.Keys("<C-End>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=40 "}, {3, 1, "line 38 "}, {25, 1, "line 60 "}}), "");
  ExpectCursorRow(5);
  S.Keys("<C-Home>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=3 "}, {3, 1, "line 1 "}}), "");
  ExpectCursorRow(5);
  S.Keys("<C-F3>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=40 "}, {3, 1, "line 38 "}}), "");
}

TEST_F(MovementTest, CtrlEndOnATextThatFitsDoesNothing) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(10)));
  S.Keys("<Down><C-End><Down>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=3 "}, {3, 1, "line 1 "}}), "");
  // Nothing was pushed for Get back either.
  S.Keys("<C-F3><Down>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=4 "}}), "");
}

TEST_F(MovementTest, HomeWalksFirstNonBlankThenColumnOneAndEndGoesPastTheText) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "    abc\r\n"));
  S.Keys("<End>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=8 "}}), "");
  S.Keys("<Home>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=5 "}}), "");
  S.Keys("<Home>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=1 "}}), "");
  S.Keys("<Right><Right><Home>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=1 "}}), "");
  S.Keys(Repeat("<Right>", 20) + "<End>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=8 "}}), "");
  EXPECT_TRUE(S.WaitFor([&] { return S.CursorCol() == 8; })) << "cursor in column " << S.CursorCol();
}

TEST_F(MovementTest, TabAndShiftTabStepBetweenStopsOfTheTabStep) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n", {"-T4"}));
  S.Keys("<Tab>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=5 "}}), "");
  S.Keys("<Tab>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=9 "}}), "");
  S.Keys("<Left><Tab>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=9 "}}), "");
  S.Keys("<Left><S-Tab>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=5 "}}), "");
  S.Keys("<S-Tab>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=1 "}}), "");
  S.Keys("<S-Tab><Right>");
  EXPECT_EQ(S.WaitScreen({{1, 32, "column=2 "}}), "");
  // Tab only moves: the text and its size stay.
  EXPECT_EQ(S.WaitScreen({{3, 1, "abc "}, {1, 43, "size=1 "}}), "");
  S.Keys("<Esc>");
  EXPECT_EQ(Ended().Code, 0) << "Tab changed the text";
}

TEST_F(MovementTest, CtrlLeftAndCtrlRightStepByWords) {
  // Words at columns 1, 7 and 12; the text ends at column 16.
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "alpha beta gamma\r\na.b c\r\n"));
  const std::pair<const char*, const char*> steps[] = {
      {"<C-Right>", "column=7 "},  {"<C-Right>", "column=12 "}, {"<C-Right>", "column=17 "},
      {"<C-Right>", "column=17 "},  // never past the text
      {"<C-Left>", "column=12 "},   // from after the last word: its start
      {"<C-Left>", "column=7 "},    {"<Right><Right><Right><Right><Right><Right><Right>", "column=14 "},
      {"<C-Left>", "column=7 "},    // from inside the third word: the second
      {"<C-Left>", "column=1 "},   {"<C-Left>", "column=1 "},
  };
  for (const auto& [keys, column] : steps) {
    S.Keys(keys);
    ASSERT_EQ(S.WaitScreen({{1, 22, "line=1 "}, {1, 32, column}}), "") << "after " << keys;
  }
  // "a.b c": the first word ends at the full stop, which is stepped over.
  S.Keys("<Down><C-Right>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=2 "}, {1, 32, "column=3 "}}), "");
}

}  // namespace
}  // namespace lumo::e2e

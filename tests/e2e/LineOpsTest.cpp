// Whole-line operations seen through the saved bytes: splitting and joining
// at the cursor, and deleting the last line, which asks first.
#include "EditingFixture.h"
#include "Keys.h"

namespace lumo::e2e {
namespace {

const std::string LastLineQuestion = "Последняя строка! Удалять ? │ 1 - да │ 2 или Esc - нет │";

class LineOpsTest : public EditingTest {};

TEST_F(LineOpsTest, AltSSplitsAtTheCursorAndAltJJoinsBack) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "hello world\r\nnext\r\n"));
  S.Keys("<C-Right>");
  ASSERT_EQ(S.WaitScreen({{1, 32, "column=7 "}}), "");
  S.Keys("<A-s>");
  // The cursor stays at the end of the first half.
  EXPECT_EQ(S.WaitScreen({{3, 1, "hello      "}, {4, 1, "world "}, {5, 1, "next "}, {1, 22, "line=1 "},
                          {1, 32, "column=7 "}, {1, 43, "size=3 "}}),
            "");
  SaveAndExpect("a.txt", "hello\r\nworld\r\nnext\r\n");
  S.Keys("<A-j>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "hello world "}, {4, 1, "next "}, {1, 32, "column=7 "}, {1, 43, "size=2 "}}), "");
  SaveAndExpect("a.txt", "hello world\r\nnext\r\n");
}

TEST_F(LineOpsTest, AltSAtColumnOneLeavesABlankLineAbove) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Keys("<A-s>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "    "}, {4, 1, "abc "}, {1, 22, "line=1 "}, {1, 43, "size=2 "}}), "");
  SaveAndExpect("a.txt", "\r\nabc\r\n");
}

TEST_F(LineOpsTest, AltJPadsToTheCursorAndKeepsOneBlankOfTheIndentation) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "ab\r\ncd\r\nef\r\n      gh\r\n"));
  // Past the end of "ab": blanks up to the cursor, then the next line.
  S.Keys("<Right><Right><Right><Right><A-j>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "ab  cd "}, {4, 1, "ef "}, {1, 43, "size=3 "}}), "");
  // Right after "ef": one blank of the six separates the parts.
  S.Keys("<Down><End><A-j>");
  EXPECT_EQ(S.WaitScreen({{4, 1, "ef gh "}, {1, 22, "line=2 "}, {1, 32, "column=3 "}, {1, 43, "size=2 "}}), "");
  // On the last line there is nothing to join.
  S.Keys("<A-j>");
  SaveAndExpect("a.txt", "ab  cd\r\nef gh\r\n");
}

TEST_F(LineOpsTest, AltJCutsTheLineAtTheCursor) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abcdef\r\nxyz\r\n"));
  S.Keys("<Right><Right><A-j>");
  // What stood at and right of the cursor gives way to the next line.
  ASSERT_EQ(S.WaitScreen({{3, 1, "abxyz "}, {1, 43, "size=1 "}}), "");
  SaveAndExpect("a.txt", "abxyz\r\n");
}

TEST_F(LineOpsTest, CtrlYOnTheLastLineAsksAndTwoOrEscKeepIt) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\n"));
  S.Keys("<Down><C-y>");
  ASSERT_EQ(S.WaitScreen({{1, 1, LastLineQuestion}}), "");
  S.Keys("2");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=2 "}, {1, 43, "size=2 "}, {3, 1, "one "}, {4, 1, "two "}}), "");
  S.Keys("<C-y>");
  ASSERT_EQ(S.WaitScreen({{1, 1, LastLineQuestion}}), "");
  S.Keys("<Esc>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=2 "}, {1, 43, "size=2 "}, {4, 1, "two "}}), "");
  // Nothing was deleted, so nothing needs saving: Esc leaves at once.
  S.Keys("<Esc>");
  EXPECT_EQ(Ended().Code, 0);
  EXPECT_EQ(S.ReadFile("a.txt"), "one\r\ntwo\r\n");
}

TEST_F(LineOpsTest, CtrlYOnTheLastLineAnsweredOneDeletesIt) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\n"));
  S.Keys("<Down><C-y>");
  ASSERT_EQ(S.WaitScreen({{1, 1, LastLineQuestion}}), "");
  S.Keys("1");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=1 "}, {1, 43, "size=1 "}, {3, 1, "one "}, {4, 1, "    "}}), "");
  SaveAndExpect("a.txt", "one\r\n");
}

TEST_F(LineOpsTest, CtrlYOnTheOnlyLineAnsweredOneBlanksIt) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "only\r\n"));
  S.Keys("<End><C-y>");
  ASSERT_EQ(S.WaitScreen({{1, 1, LastLineQuestion}}), "");
  S.Keys("1");
  EXPECT_EQ(S.WaitScreen({{3, 1, "     "}, {1, 32, "column=1 "}, {1, 43, "size=1 "}}), "");
  SaveAndExpect("a.txt", "\r\n");
}

// Not the last line: no question.
TEST_F(LineOpsTest, CtrlYElsewhereDeletesWithoutAsking) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\n"));
  S.Keys("<C-y>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "two "}, {1, 43, "size=1 "}}), "");
  EXPECT_EQ(S.RawOutput().find("Удалять"), std::string::npos);
  SaveAndExpect("a.txt", "two\r\n");
}

}  // namespace
}  // namespace lumo::e2e

// Whole-line operations seen through the saved bytes: splitting and joining
// at the cursor, and deleting the last line, which asks first.
#include "EditingFixture.h"

namespace lumo::e2e {
namespace {

const std::string LastLineQuestion = "Последняя строка! Удалять ? │ 1 - да │ 2 или Esc - нет │";

class LineOpsTest : public EditingTest {};

TEST_F(LineOpsTest, AltSSplitsAltJJoinsCtrlYOnTheLastLineAsks) {
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
  // Deleting the last line asks first: Esc keeps it, 1 deletes it.
  S.Keys("<Down><C-y>");
  ASSERT_EQ(S.WaitScreen({{1, 1, LastLineQuestion}}), "");
  S.Keys("<Esc>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=2 "}, {1, 43, "size=2 "}, {4, 1, "next "}}), "");
  S.Keys("<C-y>");
  ASSERT_EQ(S.WaitScreen({{1, 1, LastLineQuestion}}), "");
  S.Keys("1");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=1 "}, {1, 43, "size=1 "}, {3, 1, "hello world "}, {4, 1, "     "}}), "");
  SaveAndExpect("a.txt", "hello world\r\n");
}

}  // namespace
}  // namespace lumo::e2e

// Moving through the text as the screen shows it: going to a line by number
// puts it at the window's top and Get back returns, and the page keys
// scroll the window by the page step (22 lines on 25 rows).
#include "EditingFixture.h"

namespace lumo::e2e {
namespace {

const std::string GoToTitle = "     Введите номер строки:";

class MovementTest : public EditingTest {
 protected:
  // The cursor is placed after the text is drawn, so it is waited for too.
  void ExpectCursorRow(int row) {
    EXPECT_TRUE(S.WaitFor([&] { return S.CursorRow() == row; })) << "cursor in row " << S.CursorRow() << ", not " << row;
  }
};

TEST_F(MovementTest, GoToLineAndGetBackThenThePageKeys) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(60)));
  S.Keys("<Down><Down><Right><Right>");
  ASSERT_EQ(S.WaitScreen({{1, 22, "line=3 "}, {1, 32, "column=3 "}}), "");
  S.Keys("<F4>");
  ASSERT_EQ(S.WaitScreen({{2, 1, GoToTitle}}), "");
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
  S.Keys("<PgDn>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=25 "}, {3, 1, "line 23 "}, {25, 1, "line 45 "}}), "");
  S.Keys("<PgDn>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=47 "}, {3, 1, "line 45 "}}), "");
  ExpectCursorRow(5);
  S.Keys("<PgUp>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=25 "}, {3, 1, "line 23 "}}), "");
  ExpectCursorRow(5);
}

}  // namespace
}  // namespace lumo::e2e

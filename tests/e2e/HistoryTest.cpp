// Getting a line back: Shift+F10 (the line before this visit's first change),
// Alt+Backspace (the last key's change, and back again) in both of the forms
// xterm may send it, and Alt+R (a deleted line, from the ring).
#include "EditingFixture.h"

namespace lumo::e2e {
namespace {

class HistoryTest : public EditingTest {};

TEST_F(HistoryTest, AltBackspaceUndoesAndRedoesShiftF10RestoresAltRBringsBack) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\nthree\r\n"));
  S.Keys("xyz");
  ASSERT_EQ(S.WaitScreen({{3, 1, "xyzone "}, {1, 32, "column=4 "}}), "");
  S.Keys("<A-BS>");  // ESC DEL, as with metaSendsEscape
  EXPECT_EQ(S.WaitScreen({{3, 1, "xyone "}, {1, 32, "column=3 "}}), "");
  S.Send("\x1b[27;3;127~");  // as modifyOtherKeys sends it
  EXPECT_EQ(S.WaitScreen({{3, 1, "xyzone "}, {1, 32, "column=4 "}}), "");
  S.Keys("<S-F10>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "one    "}}), "");
  S.Keys("<C-y>");
  ASSERT_EQ(S.WaitScreen({{3, 1, "two "}, {4, 1, "three "}, {1, 43, "size=2 "}}), "");
  S.Keys("<A-r>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "one "}, {4, 1, "two "}, {5, 1, "three "}, {1, 22, "line=1 "}}), "");
  SaveAndExpect("a.txt", "one\r\ntwo\r\nthree\r\n");
}

}  // namespace
}  // namespace lumo::e2e

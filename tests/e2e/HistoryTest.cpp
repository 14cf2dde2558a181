// Getting a line back: Shift+F10 (the line before this visit's first change),
// Alt+Backspace (the last key's change, and back again) and Alt+R (earlier
// versions and deleted lines, from the ring).
#include "EditingFixture.h"
#include "Keys.h"

namespace lumo::e2e {
namespace {

class HistoryTest : public EditingTest {};

TEST_F(HistoryTest, ShiftF10RestoresTheLineAsBeforeTheFirstChange) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Keys("xyz");
  ASSERT_EQ(S.WaitScreen({{3, 1, "xyzabc "}}), "");
  S.Keys("<S-F10>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "abc    "}}), "");
  // Still the same visit: more typing keeps the first text, and Shift+F10
  // again brings back that, not what was typed since.
  S.Keys("q<S-F10>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "abc    "}}), "");
  S.Keys("<S-F10>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "abc    "}, {1, 43, "size=1 "}}), "");
}

TEST_F(HistoryTest, ShiftF10KeepsToTheCurrentVisitOfTheLine) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\ndef\r\n"));
  S.Keys("xy");
  ASSERT_EQ(S.WaitScreen({{3, 1, "xyabc "}}), "");
  // Leaving the line and coming back starts a new visit: its first change
  // keeps "xyabc", not the text as loaded.
  S.Keys("<Down>");
  ASSERT_EQ(S.WaitScreen({{1, 22, "line=2 "}}), "") << "Down does not leave the line";
  S.Keys("<Up>q");
  ASSERT_EQ(S.WaitScreen({{1, 22, "line=1 "}, {3, 1, "xyqabc "}, {1, 32, "column=4 "}}), "");
  S.Keys("<S-F10>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "xyabc "}}), "");
  // A line not changed in this visit has nothing to get back: the newest
  // entry belongs to line 1 and must not land on line 2.
  S.Keys("<Down><S-F10>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=2 "}, {3, 1, "xyabc "}, {4, 1, "def "}}), "");
  SaveAndExpect("a.txt", "xyabc\r\ndef\r\n");
}

TEST_F(HistoryTest, AltBackspaceUndoesTheLastKeyAndASecondOneRedoesIt) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Keys("xy");
  ASSERT_EQ(S.WaitScreen({{3, 1, "xyabc "}, {1, 32, "column=3 "}}), "");
  S.Keys("<A-BS>");  // ESC DEL, as with metaSendsEscape
  EXPECT_EQ(S.WaitScreen({{3, 1, "xabc "}, {1, 32, "column=2 "}}), "");
  S.Keys("<A-BS>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "xyabc "}, {1, 32, "column=3 "}}), "");
  S.Keys("<A-BS>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "xabc "}, {1, 32, "column=2 "}}), "");
  SaveAndExpect("a.txt", "xabc\r\n");
}

TEST_F(HistoryTest, AltBackspaceAsModifyOtherKeysSendsIt) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Keys("xy");
  ASSERT_EQ(S.WaitScreen({{3, 1, "xyabc "}}), "");
  S.Send("\x1b[27;3;127~");
  EXPECT_EQ(S.WaitScreen({{3, 1, "xabc "}, {1, 32, "column=2 "}}), "");
}

TEST_F(HistoryTest, OnAnUnchangedTextNothingComesBackAndNothingIsModified) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Keys("<A-BS><S-F10>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "abc "}, {1, 32, "column=1 "}, {1, 43, "size=1 "}}), "");
  S.Keys("<Esc>");
  ExitStatus e = Ended();
  EXPECT_EQ(e.Code, 0) << "the text counts as changed";
  EXPECT_EQ(S.RawOutput().find("Записать в файл"), std::string::npos);
}

TEST_F(HistoryTest, AltROnAnEmptyRingInsertsAnEmptyLineAbove) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\n"));
  S.Keys("<A-r>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "    "}, {4, 1, "one "}, {5, 1, "two "}, {1, 22, "line=1 "}, {1, 43, "size=3 "}}),
            "");
}

TEST_F(HistoryTest, AltRBringsADeletedLineBackWhereItWas) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\nthree\r\n"));
  S.Keys("<C-y>");
  ASSERT_EQ(S.WaitScreen({{3, 1, "two "}, {4, 1, "three "}, {1, 43, "size=2 "}}), "");
  S.Keys("<A-r>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "one "}, {4, 1, "two "}, {5, 1, "three "}, {1, 22, "line=1 "}}), "");
  SaveAndExpect("a.txt", "one\r\ntwo\r\nthree\r\n");
}

// A save ends the line's visit, so the next change pushes the line again.
TEST_F(HistoryTest, RepeatedAltRBringsOlderEntriesEachAboveTheLast) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\n"));
  S.Keys("1");
  ASSERT_EQ(S.WaitScreen({{3, 1, "1one "}}), "");
  SaveAndExpect("a.txt", "1one\r\ntwo\r\n");
  S.Keys("2");
  ASSERT_EQ(S.WaitScreen({{3, 1, "12one "}}), "");
  S.Keys("<A-r>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "1one "}, {4, 1, "12one "}, {5, 1, "two "}, {1, 43, "size=3 "}}), "");
  S.Keys("<A-r>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "one "}, {4, 1, "1one "}, {5, 1, "12one "}, {6, 1, "two "}, {1, 22, "line=1 "},
                          {1, 43, "size=4 "}}),
            "");
}

}  // namespace
}  // namespace lumo::e2e

// The line table under insertion and deletion: every line number kept
// elsewhere (marks, block, cursor) follows its line, and a refusal changes
// nothing.
#include <gtest/gtest.h>

#include "TestEditor.h"
#include "text/LineHistory.h"

namespace lumo {
namespace {

using test::TestEditor;

TEST(LineStore, TextLengthIgnoresBlanksAndLineColourEnding) {
  EXPECT_EQ(TextLength(std::string("ab\x04\x02\t", 5)), 2);
  EXPECT_EQ(TextLength("     "), 0);
  EXPECT_EQ(TextLength(""), 0);
  EXPECT_EQ(TextLength(std::string("ab\x0e\t   ", 7)), 2);
  // A tab after a printable byte is text, not a colour ending.
  EXPECT_EQ(TextLength("ab\t"), 3);
  // A lone tab in column 1 cannot be an ending (it has no colour byte).
  EXPECT_EQ(TextLength("\t"), 1);
}

TEST(LineStore, InsertRenumbersEverythingAtOrBelow) {
  TestEditor t;
  t.SetLines({"a", "b", "c", "d", "e"});
  Editor& e = *t;
  e.LineMark[1] = 1; e.LineMark[2] = 3; e.LineMark[3] = 0;
  e.PosMark[1] = {2, 1, 4};
  e.BlockFirst = 2; e.BlockLast = 4;
  e.RectFirstLine = 3; e.RectLastLine = 3;
  e.CurLine = 3;
  int16_t at = 1;
  InsertLine(e, 10, at);
  EXPECT_EQ(e.OpFailed, 0);
  EXPECT_EQ(e.LineCount, 6);
  EXPECT_EQ(e.LineMark[1], 2);
  EXPECT_EQ(e.LineMark[2], 4);
  EXPECT_EQ(e.LineMark[3], 0);
  EXPECT_EQ(e.PosMark[1].Line, 3);
  EXPECT_EQ(e.PosMark[1].Top, 2);
  EXPECT_EQ(e.BlockFirst, 3);
  EXPECT_EQ(e.CurLine, 4);
  EXPECT_EQ(Capacity(e, 1), 10);
  EXPECT_EQ(t.Line(2), "a");
  EXPECT_TRUE(e.Modified);

  // At the block's first line the block moves; at its last line it grows.
  at = 3;
  InsertLine(e, 1, at);
  EXPECT_EQ(e.BlockFirst, 4);
  EXPECT_EQ(e.BlockLast, 6);
  at = 6;
  InsertLine(e, 1, at);
  EXPECT_EQ(e.BlockFirst, 4);
  EXPECT_EQ(e.BlockLast, 7);
  // Inserting at the cursor's line keeps the cursor on the new line.
  e.CurLine = 2;
  at = 2;
  InsertLine(e, 1, at);
  EXPECT_EQ(e.CurLine, 2);
}

TEST(LineStore, InsertRefusedAtLineLimitAndOnShortMemory) {
  TestEditor t;
  Editor& e = *t;
  e.RightMargin = 0;
  for (int i = 0; i < MaxLines; ++i) ASSERT_TRUE(AppendLoadedLine(e, "", 0));
  int16_t at = 5;
  InsertLine(e, 0, at);
  EXPECT_EQ(e.OpFailed, 1);
  EXPECT_EQ(at, 4);
  EXPECT_EQ(e.LineCount, MaxLines);
  EXPECT_EQ(t.LastNotice, Cp("СЛИШКОМ МНОГО СТРОК! НЕ ЗАПИСЫВАЙТЕ ЭТОТ ФАЙЛ!"));

  TestEditor s;
  s->BudgetLimit = s->BudgetUsed + 100;
  at = 1;
  InsertLine(*s, 100, at);
  EXPECT_EQ(s->OpFailed, 1);
  EXPECT_EQ(at, 0);
  EXPECT_EQ(s.LastNotice, Cp("НЕ ХВАТАЕТ ПАМЯТИ!"));
  at = 1;
  InsertLine(*s, 98, at);
  EXPECT_EQ(s->OpFailed, 0);
  EXPECT_EQ(FreeMemory(*s), 1u);
}

TEST(LineStore, SetLineTextKeepsOrGrowsCapacity) {
  TestEditor t;
  t->RightMargin = 10;
  t.SetLines({"x"});
  Editor& e = *t;
  SetLineText(e, "abc", 1);
  EXPECT_EQ(Capacity(e, 1), 10);
  EXPECT_EQ(LineBytes(e, 1), "abc       ");
  size_t before = e.BudgetUsed;
  SetLineText(e, "abcdefghijklmno", 1);
  EXPECT_EQ(Capacity(e, 1), 15);
  EXPECT_EQ(e.BudgetUsed, before + 5);
  SetLineText(e, "z", 1);
  EXPECT_EQ(Capacity(e, 1), 15);  // never shrinks
  // A colour ending past the capacity is cut off: it is not counted as text.
  SetLineText(e, std::string("123456789012345\x04\t", 17), 1);
  EXPECT_EQ(Capacity(e, 1), 15);
  EXPECT_EQ(LineBytes(e, 1), "123456789012345");
  // Growing beyond the budget is refused aloud and leaves the line unchanged.
  e.BudgetLimit = e.BudgetUsed + 3;
  EXPECT_FALSE(SetLineText(e, std::string(40, 'q'), 1));
  EXPECT_EQ(LineBytes(e, 1), "123456789012345");
  EXPECT_EQ(e.OpFailed, 1);
  EXPECT_EQ(t.LastNotice, Cp("НЕ ХВАТАЕТ ПАМЯТИ!"));
}

TEST(LineStore, DeleteRenumbersAndClearsWhatWasOnTheLine) {
  TestEditor t;
  t.SetLines({"a", "b", "c", "d", "e", "f"});
  Editor& e = *t;
  e.LineMark[1] = 5; e.LineMark[2] = 3;
  e.PosMark[1] = {3, 3, 1};
  e.PosMark[2] = {5, 4, 1};
  e.BlockFirst = 4; e.BlockLast = 6;
  e.CurLine = 6;
  int16_t at = 3;
  DeleteLine(e, at);
  EXPECT_EQ(e.LineCount, 5);
  EXPECT_EQ(e.LineMark[1], 4);
  EXPECT_EQ(e.LineMark[2], 0);
  EXPECT_EQ(e.PosMark[1].Line, 0);
  EXPECT_EQ(e.PosMark[1].Top, 3);
  EXPECT_EQ(e.PosMark[2].Line, 4);
  EXPECT_EQ(e.PosMark[2].Top, 3);
  EXPECT_EQ(e.BlockFirst, 3);
  EXPECT_EQ(e.BlockLast, 5);
  EXPECT_EQ(e.CurLine, 5);
  EXPECT_EQ(t.Line(3), "d");
  EXPECT_FALSE(e.LineSaved);
  // The deleted line went into the history ring.
  EXPECT_EQ(e.HistoryNewest, 0);
  EXPECT_EQ(e.HistorySlot[0][1], 'c');

  // Deleting the only line of a block removes the block.
  e.BlockFirst = e.BlockLast = 2;
  at = 2;
  DeleteLine(e, at);
  EXPECT_EQ(e.BlockFirst, 0);
  EXPECT_EQ(e.BlockLast, 0);
}

// Deleting the last line keeps the index and the cursor inside the text; the
// only line is blanked, not removed.
TEST(LineStore, DeletingTheLastLineKeepsIndexAndCursorInside) {
  TestEditor t;
  t.SetLines({"a", "b", "c"});
  Editor& e = *t;
  e.CurLine = 3;
  DeleteLine(e, e.CurLine);
  EXPECT_EQ(e.CurLine, 2);
  int16_t other = 2;
  DeleteLine(e, other);
  EXPECT_EQ(other, 1);
  EXPECT_EQ(e.CurLine, 1);
  e.CurCol = 4;
  e.Modified = false;
  DeleteLine(e, other);
  EXPECT_EQ(e.LineCount, 1);
  EXPECT_EQ(e.CurCol, 1);
  EXPECT_EQ(t.Line(1), "");
  EXPECT_TRUE(e.Modified);
}

TEST(LineStore, BudgetAccountsEveryBlock) {
  TestEditor t;
  Editor& e = *t;
  size_t base = e.BudgetUsed;
  EXPECT_EQ(base, TableBytes + StatusCapacity + 1);
  t.SetLines({"abc", "de"});
  EXPECT_EQ(e.BudgetUsed, base + 2 * (254 + 1));
  FreeAllLines(e);
  EXPECT_EQ(e.BudgetUsed, base);
}

TEST(LineHistory, RingKeepsSixteenNewestAndOnePushPerEpisode) {
  TestEditor t;
  t.SetLines({"a"});
  Editor& e = *t;
  for (int i = 0; i < 17; ++i) {
    SetLineText(e, std::string(1, char('A' + i)), 1);
    e.LineSaved = false;
    PushHistory(e, 1);
    PushHistory(e, 1);  // same episode: no second push
  }
  EXPECT_EQ(e.HistoryNewest, 0);  // 17 pushes: 255 -> 0 .. 15 -> 0
  EXPECT_EQ(e.HistorySlot[0][1], 'Q');
  EXPECT_EQ(e.HistorySlot[1][1], 'B');
}

}  // namespace
}  // namespace lumo

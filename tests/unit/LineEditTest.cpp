// The work copy's commit: whatever it refuses leaves the text, the history
// ring and Modified as they were, whichever command asked.
#include <gtest/gtest.h>

#include <string>

#include "TestEditor.h"
#include "edit/LineOps.h"
#include "text/LineEdit.h"

namespace lumo {
namespace {

using test::TestEditor;

void ExpectUntouched(TestEditor& t, const std::string& line1, const std::string& line2) {
  EXPECT_EQ(t->OpFailed, 1);
  EXPECT_EQ(t.Line(1), line1);
  EXPECT_EQ(t.Line(2), line2);
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t->HistoryNewest, 255);
  EXPECT_FALSE(t->LineSaved);
  EXPECT_FALSE(t->Modified);
}

TEST(LineEdit, RefusedCommitChangesNothing) {
  TestEditor t;
  t->RightMargin = 10;
  t.SetLines({"abc", "def"});
  // Past 255 bytes, or past what the copy could hold: refused without a notice.
  LineEdit w = EditLine(*t, 1);
  w.Insert(2, std::string(253, 'x'));
  EXPECT_EQ(w.At(256), 'c');
  EXPECT_FALSE(CommitLine(*t, 1, w));
  ExpectUntouched(t, "abc", "def");
  w = EditLine(*t, 1);
  w.Insert(300, std::string(LineEdit::Room, 'y'));
  w.Cut(1);
  EXPECT_FALSE(CommitLine(*t, 1, w));
  ExpectUntouched(t, "abc", "def");
  EXPECT_TRUE(t.LastNotice.empty());

  // A join that would grow the line beyond the budget: the store's notice.
  t.SetLines({"abcdefgh", "ijklmn"});
  t->BudgetLimit = t->BudgetUsed + 8;
  t->OpFailed = 0;
  t->CurCol = 9;
  JoinLines(*t);
  ExpectUntouched(t, "abcdefgh", "ijklmn");
  EXPECT_EQ(t.LastNotice, Cp("НЕ ХВАТАЕТ ПАМЯТИ!"));
  // Blanks past 255 bytes are no text: they fall off and the rest is stored.
  t->BudgetLimit = DefaultBudget;
  w = EditLine(*t, 1);
  w.FillTo(260);
  w.Insert(9, std::string(247, 'z'));
  EXPECT_TRUE(CommitLine(*t, 1, w));
  EXPECT_EQ(t.Line(1), "abcdefgh" + std::string(247, 'z'));
  EXPECT_TRUE(t->Modified);
  EXPECT_EQ(t->HistoryNewest, 0);
}

}  // namespace
}  // namespace lumo

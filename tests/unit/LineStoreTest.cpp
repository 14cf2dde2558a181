// The line table under insertion and deletion: every line number kept
// elsewhere (marks, block, cursor) follows its line, and a refusal changes
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "TestEditor.h"

namespace lumo {
namespace {

using test::TestEditor;

// A tab ends a line with a colour only after a colour byte: after a
// printable byte, or alone in column 1, it is text.
TEST(LineStore, TextLengthIgnoresBlanksAndLineColourEnding) {
  for (auto [line, n] : {std::pair{"ab\x04\x02\t", 2}, {"     ", 0}, {"", 0}, {"ab\x0e\t   ", 2}, {"ab\t", 3}, {"\t", 1}})
    EXPECT_EQ(TextLength(line), n) << line;
}

// The line numbers kept outside the table, in this order: line marks 1-3,
// position marks 1 and 2 (line, top), the line block, the rectangle's lines,
// the cursor line.
using Numbers = std::array<int, 12>;
std::array<int16_t*, 12> Kept(Editor& e) {
  return {&e.LineMark[1], &e.LineMark[2], &e.LineMark[3], &e.PosMark[1].Line, &e.PosMark[1].Top,
          &e.PosMark[2].Line, &e.PosMark[2].Top, &e.BlockFirst, &e.BlockLast, &e.RectFirstLine,
          &e.RectLastLine, &e.CurLine};
}

// An insertion moves every number at or below it down (the cursor only when
// below it: it stays on the new line); a deletion moves those below it up,
// clears marks that were on the line, and shrinks or removes a block or
// rectangle ending there.
TEST(LineStore, KeptNumbersFollowTheirLines) {
  struct Row {
    bool Insert;
    int At;
    Numbers Before, After;
    const char* Text;
  } rows[] = {
      {true, 3, {2, 3, 0, 3, 3, 2, 1, 3, 5, 2, 3, 3}, {2, 4, 0, 4, 4, 2, 1, 4, 6, 2, 4, 3}, "ab_cdefgh"},
      {true, 4, {4, 0, 8, 3, 4, 7, 7, 2, 4, 4, 6, 5}, {5, 0, 9, 3, 5, 8, 8, 2, 5, 5, 7, 6}, "abc_defgh"},
      {true, 1, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 1}, "_abcdefgh"},
      {false, 3, {3, 5, 2, 3, 3, 5, 4, 4, 6, 3, 3, 6}, {0, 4, 2, 0, 3, 4, 3, 3, 5, 0, 0, 5}, "abdefgh"},
      {false, 3, {8, 0, 1, 8, 8, 2, 2, 2, 3, 3, 5, 3}, {7, 0, 1, 7, 7, 2, 2, 2, 2, 3, 4, 3}, "abdefgh"},
      {false, 8, {8, 7, 7, 8, 8, 7, 7, 8, 8, 7, 8, 8}, {0, 7, 7, 0, 8, 7, 7, 0, 0, 7, 7, 7}, "abcdefg"},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Row& r = rows[i];
    TestEditor t;
    t.SetLines({"a", "b", "c", "d", "e", "f", "g", "h"});
    Editor& e = *t;
    for (size_t k = 0; k < r.Before.size(); ++k) *Kept(e)[k] = int16_t(r.Before[k]);
    int16_t at = int16_t(r.At);
    r.Insert ? InsertLine(e, 10, at) : DeleteLine(e, at);
    Numbers after;
    for (size_t k = 0; k < after.size(); ++k) after[k] = *Kept(e)[k];
    EXPECT_EQ(after, r.After) << "row " << i;
    std::string text;
    for (int l = 1; l <= e.LineCount; ++l) text += t.Line(l).empty() ? "_" : t.Line(l);
    EXPECT_EQ(text, r.Text) << "row " << i;
    EXPECT_TRUE(e.Modified && e.OpFailed == 0) << "row " << i;
    // A new line has the capacity asked for; a deleted one goes into the
    // history ring, and the text is no longer as saved.
    EXPECT_TRUE(r.Insert ? Capacity(e, r.At) == 10 : e.HistorySlot[e.HistoryNewest][1] == "abcdefgh"[r.At - 1] && !e.LineSaved)
        << "row " << i;
  }
}

// Removing a range at once leaves the text, the ring, the budget and every
// kept number exactly as removing its first line again and again does,
// also for ranges that reach the end or take the whole text.
TEST(LineStore, DeleteLinesMatchesOneAtATime) {
  std::mt19937 rng(7);
  for (int round = 0; round < 400; ++round) {
    const int n = 1 + int(rng() % 30);
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i) lines.push_back(std::to_string(i) + "x");
    TestEditor a, b;
    a.SetLines(lines);
    b.SetLines(lines);
    for (size_t k = 0; k < Kept(*a).size(); ++k) {
      int v = int(rng() % (n + 1));
      if (k == 11) v = std::max(v, 1);  // the cursor is always on a line
      *Kept(*a)[k] = *Kept(*b)[k] = int16_t(v);
    }
    for (Editor* e : {&*a, &*b}) {
      e->BlockLast = std::max(e->BlockLast, e->BlockFirst);
      e->RectLastLine = std::max(e->RectLastLine, e->RectFirstLine);
      if (!e->BlockFirst) e->BlockLast = 0;
      if (!e->RectFirstLine) e->RectLastLine = 0;
      e->LineSaved = round % 2;
    }
    const int at = 1 + int(rng() % n), count = 1 + int(rng() % (n - at + 1));
    DeleteLines(*a, at, count);
    for (int k = 0; k < count; ++k) {
      int16_t i = int16_t(at);
      DeleteLine(*b, i);
    }
    for (size_t k = 0; k < Kept(*a).size(); ++k) ASSERT_EQ(*Kept(*a)[k], *Kept(*b)[k]) << round << " " << k;
    ASSERT_EQ(a->LineCount, b->LineCount) << round;
    for (int l = 1; l <= a->LineCount; ++l) ASSERT_EQ(a.Line(l), b.Line(l)) << round;
    ASSERT_TRUE(a->BudgetUsed == b->BudgetUsed && a->HistoryNewest == b->HistoryNewest && a->LineSaved == b->LineSaved &&
                a->CurCol == b->CurCol)
        << round << " " << a->BudgetUsed << "/" << b->BudgetUsed << " " << int(a->HistoryNewest) << "/" << int(b->HistoryNewest)
        << " " << a->LineSaved << b->LineSaved << " " << a->CurCol << "/" << b->CurCol;
    ASSERT_EQ(0, std::memcmp(a->HistorySlot, b->HistorySlot, sizeof a->HistorySlot)) << round;
  }
}

TEST(LineStore, InsertRefusedAtLineLimitAndOnShortMemory) {
  TestEditor t;
  Editor& e = *t;
  e.RightMargin = 0;
  for (int i = 0; i < MaxLines; ++i) ASSERT_TRUE(AppendLoadedLine(e, "", 0));
  int16_t at = 5;
  InsertLine(e, 0, at);
  EXPECT_TRUE(e.OpFailed == 1 && at == 4 && e.LineCount == MaxLines);
  EXPECT_EQ(t.LastNotice, Cp("СЛИШКОМ МНОГО СТРОК! НЕ ЗАПИСЫВАЙТЕ ЭТОТ ФАЙЛ!"));

  TestEditor s;
  s->BudgetLimit = s->BudgetUsed + 100;
  at = 1;
  InsertLine(*s, 100, at);
  EXPECT_TRUE(s->OpFailed == 1 && at == 0);
  EXPECT_EQ(s.LastNotice, Cp("НЕ ХВАТАЕТ ПАМЯТИ!"));
  at = 1;
  InsertLine(*s, 98, at);
  EXPECT_TRUE(s->OpFailed == 0 && FreeMemory(*s) == 1u);
}

TEST(LineStore, SetLineTextKeepsOrGrowsCapacity) {
  TestEditor t;
  t->RightMargin = 10;
  t.SetLines({"x"});
  Editor& e = *t;
  SetLineText(e, "abc", 1);
  EXPECT_TRUE(Capacity(e, 1) == 10 && LineBytes(e, 1) == "abc       ");
  size_t before = e.BudgetUsed;
  SetLineText(e, "abcdefghijklmno", 1);
  EXPECT_TRUE(Capacity(e, 1) == 15 && e.BudgetUsed == before + 5);
  SetLineText(e, "z", 1);
  EXPECT_EQ(Capacity(e, 1), 15);  // never shrinks
  // A colour ending past the capacity is cut off: it is not counted as text.
  SetLineText(e, std::string("123456789012345\x04\t", 17), 1);
  EXPECT_TRUE(Capacity(e, 1) == 15 && LineBytes(e, 1) == "123456789012345");
  // Growing beyond the budget is refused aloud and leaves the line unchanged.
  e.BudgetLimit = e.BudgetUsed + 3;
  EXPECT_FALSE(SetLineText(e, std::string(40, 'q'), 1));
  EXPECT_TRUE(LineBytes(e, 1) == "123456789012345" && e.OpFailed == 1);
  EXPECT_EQ(t.LastNotice, Cp("НЕ ХВАТАЕТ ПАМЯТИ!"));
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

// A full table of loaded lines of every capacity, the longest most often:
// each keeps its own bytes wherever its block was carved, and one grown out
// of the loader's memory is given back to the right allocator.
TEST(LineStore, LoadedLinesFillTheTableIntact) {
  TestEditor t;
  auto text = [](int i) { return std::string(size_t(i % 7 ? 255 : i % 256), char('a' + i % 26)); };
  for (int i = 1; i <= MaxLines; ++i) ASSERT_TRUE(AppendLoadedLine(*t, text(i), uint8_t(text(i).size())));
  for (int i = 1; i <= MaxLines; ++i) ASSERT_EQ(LineBytes(*t, i), text(i)) << i;
  SetLineText(*t, "grown past its capacity", 7);
}

}  // namespace
}  // namespace lumo

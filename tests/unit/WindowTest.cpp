// The text window through a test console. Most of it is one table: a stored
// line, the settings it is drawn under, and the cells expected on its screen
// row, attributes as column spans and characters (control glyphs included)
// as texts from a column. Columns no span names are not looked at.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "screen/TestConsole.h"
#include "screen/Window.h"
#include "text/LineStore.h"
#include "TestEditor.h"

namespace lumo {
namespace {

using namespace std::string_literals;

struct Span {
  int From, To, Attr;
};

struct Setup {
  int Left = 0, FileType = 0, CommentColour = 0;
  int Block = 0;                   // the line block is this one line
  std::vector<int> Marks = {};     // line marks set on the drawn line
  int RectFrom = 0, RectTo = 0;    // a rectangle over the drawn line
  int Cross = 0;                   // the cross's column; negative: on the other line
};

struct RowCase {
  std::string Line;
  Setup S;
  std::vector<Span> Attrs;
  std::vector<std::pair<int, std::string>> Texts = {};
};

// Draws line 1 (line 2 is another line for the cross to sit on) into row 3.
void ExpectRow(const RowCase& c, const std::string& what) {
  test::TestEditor t;
  TestConsole& con = t.Con;
  Editor& e = *t;
  e.RightMargin = 0;
  t.SetLines({c.Line, "other"});
  e.FileType = uint8_t(c.S.FileType);
  if (c.S.CommentColour) e.CommentColour = uint8_t(c.S.CommentColour);
  e.BlockFirst = e.BlockLast = int16_t(c.S.Block);
  for (int k : c.S.Marks) e.LineMark[k] = 1;
  if (c.S.RectTo) e.RectFirstLine = e.RectLastLine = 1, e.RectFirstCol = int16_t(c.S.RectFrom), e.RectLastCol = int16_t(c.S.RectTo);
  e.CursorCross = c.S.Cross != 0;
  e.CurLine = c.S.Cross < 0 ? 2 : 1;
  e.CurCol = int16_t(std::abs(c.S.Cross));
  DrawLine(e, c.S.Left, 1, 3);
  for (const Span& s : c.Attrs)
    for (int col = s.From; col <= s.To; ++col) EXPECT_EQ(con.Attr(3, col), s.Attr) << what << ", column " << col;
  for (const auto& [col, text] : c.Texts) EXPECT_EQ(con.Text(3, col, int(text.size())), text) << what;
}

TEST(DrawLine, CellsOfEachKindOfLine) {
  const RowCase rows[] = {
      // The line-colour ending [B] F TAB colours the whole row and is not shown;
      // a stored 1 shows as 13; blanks before the ending do not matter.
      {"abc\x01\x04\t", {}, {{1, 80, 0x14}}, {{1, "abc   "}}},
      {"xy\x01\t", {}, {{1, 80, 13}}, {{1, "xy  "}}},
      {"q\x0C\t   ", {}, {{1, 80, 0x0C}}, {{2, " "}}},
      {"abc\0"s, {}, {{1, 80, 0x1E}}, {{1, "abc "}}},  // a trailing zero: yellow on blue
      {"ab\t", {}, {{1, 2, 7}, {3, 3, 9}, {4, 80, 7}}, {{3, "\t"}}},
      // Runs: 2 to the word's end, 0 and 31 to the row's end, 1 to the last
      // non-blank byte; the marker and its colour bytes show empty.
      {"\x02\x0E" "one two", {}, {{1, 2, 7}, {3, 5, 14}, {6, 80, 7}}, {{1, "\0\0one two"s}}},
      {"ab\0\x0F\x01" "cd"s, {}, {{1, 5, 7}, {6, 80, 0x1F}}, {{6, "cd"}}},
      {"\x1F\x0Cx", {}, {{1, 2, 7}, {3, 80, 0x0C}}}, {"\x01\x0C" "ab cd", {}, {{3, 7, 0x0C}, {8, 80, 7}}},
      {"\0\x0A" "aa\0\x0C" "bb"s, {}, {{3, 4, 0x0A}, {7, 80, 0x0C}}, {{7, "bb"}}},  // a left run stops at the next
      {"\0\x01\x04xy"s, {}, {{4, 80, 0x41}}, {{2, "\0\0"s}}},  // byte 1 after a marker is a colour
      {"\x02\x01w", {}, {{3, 3, 13}}},
      // Markers without colour bytes are glyphs.
      {"\0\0 ab"s, {}, {{1, 1, 0x0A}, {3, 80, 7}}, {{1, "\xDB\xDB"}}},
      {"\x02" "ab", {}, {{1, 1, 2}, {2, 3, 7}}, {{1, "\x02"}}},
      // The line block hides stored colours, not glyphs; the rectangle follows
      // the sideways scroll; line marks recolour plain cells, the highest wins.
      {"\x02\x0E" "worda\x10z", {.Block = 1}, {{1, 7, 0x70}, {8, 8, 0x0C}, {9, 80, 0x70}}, {{8, "\x10"}}},
      {std::string(100, 'x'), {.Left = 5, .RectFrom = 10, .RectTo = 95}, {{1, 4, 7}, {5, 80, 0x70}}},
      {std::string(100, 'x'), {.Left = 100, .RectFrom = 10, .RectTo = 95}, {{1, 80, 7}}},
      {"ab\x10" "cd", {.Marks = {2}}, {{1, 2, 0x2F}, {3, 3, 0x0C}, {4, 80, 0x2F}}},
      {"first", {.Block = 2}, {{1, 80, 7}}}, {"ab", {.Marks = {1, 3}}, {{1, 80, 0x3F}}},
      // The cursor cross: its line and column on blue, the cursor cell bright;
      // coloured backgrounds are left alone, a block keeps 0x70.
      {"cursor line", {.Left = 2, .Cross = 8}, {{1, 5, 0x17}, {6, 6, 0x97}, {7, 80, 0x17}}},
      {"cursor line", {.Left = 2, .Marks = {1}, .Cross = -8}, {{1, 80, 0x1F}}},
      {"cursor line", {.Left = 2, .Cross = -8}, {{1, 5, 7}, {6, 6, 0x17}, {7, 80, 7}}},
      {"cursor line", {.Left = 2, .Block = 1, .Cross = 8}, {{1, 5, 0x70}, {6, 6, 0xF0}, {7, 80, 0x70}}},
      // Comments: braces only in program texts, slashes in any file.
      {"a {note} b", {.FileType = 2}, {{1, 2, 7}, {3, 8, 3}, {9, 80, 7}}},
      {"a {note} b", {.FileType = 2, .CommentColour = 5}, {{3, 8, 5}}},
      {"x := 1; // remark", {}, {{1, 7, 7}, {9, 80, 3}}},
      {"a {note} b", {}, {{1, 80, 7}}}, {"a / b", {}, {{1, 80, 7}}},
      // Comments and runs begun left of the window.
      {"x{abc def} tail", {.Left = 4, .FileType = 2}, {{1, 6, 3}, {7, 80, 7}}, {{1, "c def} "}}},
      {"{ab} rest of it", {.Left = 4, .FileType = 2}, {{1, 80, 7}}}, {"//remark here", {.Left = 3}, {{1, 80, 3}}},
      {"\0\x0C" "abcdef"s, {.Left = 4}, {{1, 80, 0x0C}}, {{1, "cdef"}}},
      {"\x02\x0E" "abcd efg", {.Left = 4}, {{1, 2, 0x0E}, {3, 80, 7}}},
      {"\x02\x0E" "ab cdef", {.Left = 5}, {{1, 80, 7}}},  // a blank between: nothing
      {"\x01\x0A" "abc de", {.Left = 3}, {{1, 5, 0x0A}, {6, 80, 7}}},
      {"\0\x0C" "abc"s, {.Left = 1}, {{1, 1, 7}, {2, 80, 0x0C}}, {{1, "\0abc"s}}},
  };
  for (size_t i = 0; i < std::size(rows); ++i) ExpectRow(rows[i], "row " + std::to_string(i));

  // Each control byte between letters, so that none starts a run.
  const uint8_t bytes[] = {3, 7, 8, 10, 16, 17, 20, 22, 23, 24, 25, 30, 31};
  const uint8_t chars[] = {3, 0xDB, '*', 10, 0x10, 0x11, 0x14, 0x16, 0x17, 0x18, 0x19, 0x1E, 0x1F};
  const uint8_t attrs[] = {3, 9, 0x0B, 10, 0x0C, 0x16, 0x43, 0x61, 0x0D, 0x0E, 0x16, 0x61, 0x0D};
  for (size_t i = 0; i < std::size(bytes); ++i)
    ExpectRow({"a"s + char(bytes[i]) + "a", {}, {{2, 2, attrs[i]}}, {{2, std::string(1, char(chars[i]))}}},
              "byte " + std::to_string(bytes[i]));
}

struct WindowFixture : ::testing::Test {
  test::TestEditor T;
  Editor& E = *T;
  TestConsole& Con = T.Con;
  void Numbered(int n) {
    std::vector<std::string> lines;
    for (int i = 1; i <= n; ++i) lines.push_back("line " + std::to_string(i));
    T.SetLines(lines);
  }
};

TEST_F(WindowFixture, RowsPastTextAreBlankAndIndexZeroIsPlain) {
  Numbered(5);
  for (int r = 3; r <= 25; ++r) PutCell(E, 1, r, 'Z', 0x4E);
  E.CursorCross = false, E.TopLine = 3;
  DrawWindow(E);
  EXPECT_EQ(Con.Text(3, 1, 6) + Con.Text(5, 1, 6), "line 3line 5");
  for (int r = 6; r <= 25; ++r) EXPECT_TRUE(Con.Text(r) == std::string(80, ' ') && Con.Attr(r, 1) == 7) << r;
  EXPECT_EQ(Con.Text(1, 1, 1), " ");  // rows 1 and 2 are not touched

  // The status slot: never inside a block, glyphs but no runs or comments.
  std::string text = "//x\x02\x0E" "ab";
  std::memcpy(LineAt(E, 0) + 1, text.data(), text.size());
  E.BlockLast = 5;
  DrawLine(E, 0, 0, 1);
  EXPECT_EQ(Con.Text(1, 1, 4), "//x\x02");
  for (int c : {1, 6, 80}) EXPECT_EQ(Con.Attr(1, c), 7) << c;
  EXPECT_EQ(Con.Attr(1, 4), 0x02);
}

// Rows the draw step leaves alone keep a planted cell in column 80.
TEST_F(WindowFixture, MarkedDrawingReachesWhatChanged) {
  Numbered(40);
  E.CurLine = 4;
  MarkWindow(E);
  DrawMarked(E);
  auto drawnAfter = [&](const std::function<void()>& change) {
    for (int r = 3; r <= 25; ++r) PutCell(E, 80, r, 'Z', 7);
    change();
    DrawMarked(E);
    std::string rows;
    for (int r = 3; r <= 25; ++r) rows += CellChar(Con.At(r, 80)) == 'Z' ? "" : std::to_string(r) + " ";
    return rows;
  };
  EXPECT_EQ(drawnAfter([&] { SetLineText(E, "changed", 10); MarkLine(E, 10); }), "12 ");
  EXPECT_EQ(Con.Text(12, 1, 7), "changed");
  // The cross's line moves along its column: it leaves one row, lights another.
  EXPECT_EQ(drawnAfter([&] { E.CurLine = 6; }), "6 8 ");
  std::string all;
  for (int r = 3; r <= 25; ++r) all += std::to_string(r) + " ";
  const std::function<void()> everyRow[] = {
      [&] { E.CurCol = 2; },  // the cross's column lies on every row
      [&] { E.TopLine = 2; },
      [&] { E.HScroll = 1; },
      [&] { E.BlockFirst = E.BlockLast = 30; },
      [&] { E.RectFirstLine = E.RectLastLine = 31; },
      [&] { E.LineMark[2] = 39; },
      [&] { int16_t at = 20; DeleteLine(E, at); },
  };
  for (size_t i = 0; i < std::size(everyRow); ++i) EXPECT_EQ(drawnAfter(everyRow[i]), all) << "change " << i;
  // A screen of its own covers the window: neither marks nor scrolls draw on it.
  HideWindow(E);
  EXPECT_EQ(drawnAfter([&] { MarkLine(E, 10); E.TopLine = 3; }), "");
}

TEST_F(WindowFixture, WideScreenLongLinesAndCellAddressing) {
  TestConsole wide(132, 10);
  E.Con = &wide;
  E.CursorCross = false;
  T.SetLines({std::string(200, 'q') + "\0\x0B"s + std::string(53, 'r')});
  DrawLine(E, 100, 1, 3);
  EXPECT_EQ(wide.Text(3, 1, 3), "qqq");
  EXPECT_TRUE(wide.Attr(3, 100) == 7 && CellChar(wide.At(3, 101)) == 0 && wide.Attr(3, 103) == 0x0B && wide.Attr(3, 132) == 0x0B);
  DrawLine(E, 255, 1, 3);
  EXPECT_EQ(wide.Text(3), std::string(132, ' '));

  CellAt(E, 3, 5);
  CellAt(E, 11, 1);  // outside: the pointer stays
  EXPECT_EQ(E.CellIndex, size_t(2 * 132 + 4));
  PutCell(E, 133, 10, 'y', 0x1E);  // ignored, not written past the end
  WriteAt(E, 130, 1, "abcde", 0x4F);  // runs on into row 2
  EXPECT_TRUE(wide.Text(1, 130, 3) + wide.Text(2, 1, 2) == "abcde" && wide.Attr(2, 2) == 0x4F);
  WriteAt(E, 131, 10, "abcdef", 7);  // cut at the buffer's end
  EXPECT_EQ(wide.Text(10, 131, 2), "ab");
  SetCursor(E, 10, 3);
  EXPECT_EQ(wide.CursorCol * 100 + wide.CursorRow, 902);
}

}  // namespace
}  // namespace lumo

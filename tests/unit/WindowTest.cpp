// The text window through a test console: each case builds a fresh editor
// with a few lines, draws one row (or the window) and reads the cells back.
// Rows are checked as characters and attributes by screen column.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "screen/TestConsole.h"
#include "screen/Window.h"
#include "text/LineStore.h"

namespace lumo {
namespace {

struct WindowFixture : ::testing::Test {
  TestConsole Con;
  Editor E;

  WindowFixture() {
    E.Con = &Con;
    InitLineTable(E);
    E.CursorCross = false;  // most cases look at colours without the cross
  }

  int Add(const std::string& text) {
    int16_t at = int16_t(E.LineCount + 1);
    InsertLine(E, uint8_t(text.size()), at);
    SetLineText(E, text, at);
    return at;
  }

  // Draws line index into row 3 with the given sideways scroll.
  void Draw(int index, int left = 0) { DrawLine(E, left, index, 3); }

  uint8_t A(int col) { return Con.Attr(3, col); }
  uint8_t C(int col) { return CellChar(Con.At(3, col)); }
  std::string T(int col, int n) { return Con.Text(3, col, n); }

  // True when columns from..to of row 3 all have attribute attr.
  bool AllAttr(int from, int to, uint8_t attr) {
    for (int c = from; c <= to; ++c)
      if (A(c) != attr) return false;
    return true;
  }
};

using DrawLineColours = WindowFixture;

TEST_F(DrawLineColours, LineColourEndingColoursWholeRowAndIsNotShown) {
  Draw(Add(std::string("abc\x01\x04\t", 6)));
  EXPECT_EQ(T(1, 6), "abc   ");
  EXPECT_TRUE(AllAttr(1, 80, 0x14));

  // F alone, and a stored 1 shows as 13.
  Draw(Add(std::string("xy\x01\t", 4)));
  EXPECT_EQ(T(1, 4), "xy  ");
  EXPECT_TRUE(AllAttr(1, 80, 13));

  // Trailing blanks between the text and the ending do not matter.
  Draw(Add(std::string("q\x0C\t   ", 6)));
  EXPECT_TRUE(AllAttr(1, 80, 0x0C));
  EXPECT_EQ(C(2), ' ');
}

TEST_F(DrawLineColours, TrailingZeroGivesYellowOnBlue) {
  Draw(Add(std::string("abc\0", 4)));
  EXPECT_EQ(T(1, 4), "abc ");
  EXPECT_TRUE(AllAttr(1, 80, 0x1E));
}

TEST_F(DrawLineColours, TabAfterTextIsDrawnAsGlyph) {
  Draw(Add("ab\t"));
  EXPECT_EQ(C(3), 0x09);
  EXPECT_EQ(A(3), 0x09);
  EXPECT_TRUE(AllAttr(1, 2, 7));
  EXPECT_TRUE(AllAttr(4, 80, 7));
}

TEST_F(DrawLineColours, WordRunStopsBeforeBlank) {
  Draw(Add(std::string("\x02\x0E") + "one two"));
  EXPECT_EQ(C(1), 0);
  EXPECT_EQ(C(2), 0);
  EXPECT_EQ(A(1), 7);
  EXPECT_EQ(A(2), 7);
  EXPECT_EQ(T(3, 7), "one two");
  EXPECT_TRUE(AllAttr(3, 5, 14));
  EXPECT_TRUE(AllAttr(6, 80, 7));
}

TEST_F(DrawLineColours, RunWithBackgroundAndReaches) {
  // Marker 0 with F and B: to the end of the screen row.
  Draw(Add(std::string("ab\x00\x0F\x01", 5) + "cd"));
  EXPECT_TRUE(AllAttr(1, 5, 7));
  EXPECT_TRUE(AllAttr(6, 80, 0x1F));
  EXPECT_EQ(T(6, 2), "cd");

  // Marker 31 behaves as marker 0.
  Draw(Add(std::string("\x1F\x0C") + "x"));
  EXPECT_TRUE(AllAttr(3, 80, 0x0C));

  // Marker 1: to the last non-blank byte of the text only.
  Draw(Add(std::string("\x01\x0C") + "ab cd"));
  EXPECT_TRUE(AllAttr(3, 7, 0x0C));
  EXPECT_TRUE(AllAttr(8, 80, 7));
}

TEST_F(DrawLineColours, LeftRunStopsWhereRightRunBegins) {
  Draw(Add(std::string("\x00\x0A", 2) + "aa" + std::string("\x00\x0C", 2) + "bb"));
  EXPECT_TRUE(AllAttr(3, 4, 0x0A));
  EXPECT_EQ(T(7, 2), "bb");
  EXPECT_TRUE(AllAttr(7, 80, 0x0C));
}

TEST_F(DrawLineColours, ColourByteIsNotTakenForMarker) {
  // Byte 1 right after marker 0 is its foreground, B = 4: one run 0x41.
  Draw(Add(std::string("\x00\x01\x04", 3) + "xy"));
  EXPECT_TRUE(AllAttr(4, 80, 0x41));
  EXPECT_EQ(C(2), 0);
  EXPECT_EQ(C(3), 0);

  // A run attribute of 1 shows as 13.
  Draw(Add(std::string("\x02\x01", 2) + "w"));
  EXPECT_EQ(A(3), 13);
}

TEST_F(DrawLineColours, MarkerWithoutColoursShowsAsGlyphs) {
  // Colour bytes both 0: no run, both bytes are full-block glyphs.
  Draw(Add(std::string("\x00\x00", 2) + " ab"));
  EXPECT_EQ(C(1), 0xDB);
  EXPECT_EQ(A(1), 0x0A);
  EXPECT_EQ(C(2), 0xDB);
  EXPECT_TRUE(AllAttr(3, 80, 7));

  // A marker followed by text (no colour byte) is a glyph too.
  Draw(Add(std::string("\x02") + "ab"));
  EXPECT_EQ(C(1), 0x02);
  EXPECT_EQ(A(1), 0x02);
  EXPECT_TRUE(AllAttr(2, 3, 7));
}

TEST_F(DrawLineColours, ControlGlyphTable) {
  // Each control byte between letters, so none of them starts a run.
  const uint8_t bytes[] = {3, 7, 8, 10, 16, 17, 20, 22, 23, 24, 25, 30, 31};
  const uint8_t chars[] = {3, 0xDB, '*', 10, 0x10, 0x11, 0x14, 0x16, 0x17, 0x18, 0x19, 0x1E, 0x1F};
  const uint8_t attrs[] = {3, 9, 0x0B, 10, 0x0C, 0x16, 0x43, 0x61, 0x0D, 0x0E, 0x16, 0x61, 0x0D};
  std::string line;
  for (uint8_t b : bytes) line += std::string("a") + char(b);
  line += "a";
  Draw(Add(line));
  for (size_t i = 0; i < sizeof bytes; ++i) {
    int col = int(2 * i + 2);
    EXPECT_EQ(C(col), chars[i]) << "byte " << int(bytes[i]);
    EXPECT_EQ(A(col), attrs[i]) << "byte " << int(bytes[i]);
  }
}

using DrawLineBlocks = WindowFixture;

TEST_F(DrawLineBlocks, LineBlockHidesStoredColoursButNotGlyphs) {
  Add("first");
  int l = Add(std::string("\x02\x0E") + "word" + std::string("a\x10z", 3));
  E.BlockFirst = 2;
  E.BlockLast = 2;
  Draw(l);
  EXPECT_TRUE(AllAttr(1, 7, 0x70));
  EXPECT_EQ(C(8), 0x10);
  EXPECT_EQ(A(8), 0x0C);
  EXPECT_TRUE(AllAttr(9, 80, 0x70));
  Draw(1);
  EXPECT_TRUE(AllAttr(1, 80, 7));
}

TEST_F(DrawLineBlocks, RectangularBlockFollowsScroll) {
  int l = Add(std::string(100, 'x'));
  E.RectFirstLine = E.RectLastLine = int16_t(l);
  E.RectFirstCol = 10;
  E.RectLastCol = 95;
  Draw(l, 5);
  EXPECT_TRUE(AllAttr(1, 4, 7));
  EXPECT_TRUE(AllAttr(5, 80, 0x70));
  Draw(l, 100);  // block scrolled off entirely: nothing to mark
  EXPECT_TRUE(AllAttr(1, 80, 7));
}

TEST_F(DrawLineBlocks, LineMarksRecolourPlainCellsOnly) {
  int l = Add(std::string("ab\x10", 3) + "cd");
  E.LineMark[2] = int16_t(l);
  Draw(l);
  EXPECT_TRUE(AllAttr(1, 2, 0x2F));
  EXPECT_EQ(A(3), 0x0C);
  EXPECT_TRUE(AllAttr(4, 80, 0x2F));

  // With marks 1 and 3 on one line the higher one wins.
  E.LineMark[1] = E.LineMark[3] = int16_t(l);
  Draw(l);
  EXPECT_EQ(A(1), 0x3F);
  EXPECT_EQ(A(80), 0x3F);
}

TEST_F(DrawLineBlocks, CursorCross) {
  E.CursorCross = true;
  int l1 = Add("cursor line");
  int l2 = Add("other");
  E.CurLine = int16_t(l1);
  E.CurCol = 8;
  E.LineMark[1] = int16_t(l2);  // a coloured background the cross leaves alone

  Draw(l1, 2);
  EXPECT_EQ(A(1), 0x17);
  EXPECT_EQ(A(6), 0x97);  // the cursor cell: blue background, bright bit
  EXPECT_EQ(A(80), 0x17);

  Draw(l2, 2);
  EXPECT_EQ(A(6), 0x1F);
  EXPECT_EQ(A(1), 0x1F);
  E.LineMark[1] = 0;
  Draw(l2, 2);
  EXPECT_EQ(A(6), 0x17);
  EXPECT_EQ(A(5), 0x07);

  // Inside a block the cursor line keeps 0x70 but the cursor cell is marked.
  E.BlockFirst = E.BlockLast = int16_t(l1);
  Draw(l1, 2);
  EXPECT_EQ(A(1), 0x70);
  EXPECT_EQ(A(6), 0xF0);
}

using DrawLineComments = WindowFixture;

TEST_F(DrawLineComments, BraceCommentsOnlyInProgramText) {
  int l = Add("a {note} b");
  Draw(l);
  EXPECT_TRUE(AllAttr(1, 80, 7));
  E.FileType = 2;
  Draw(l);
  EXPECT_EQ(A(2), 7);
  EXPECT_TRUE(AllAttr(3, 8, 3));
  EXPECT_TRUE(AllAttr(9, 80, 7));
  E.CommentColour = 5;
  Draw(l);
  EXPECT_EQ(A(3), 5);
}

TEST_F(DrawLineComments, SlashesColourToRowEndInAnyFile) {
  Draw(Add("x := 1; // remark"));
  EXPECT_TRUE(AllAttr(1, 7, 7));
  EXPECT_TRUE(AllAttr(9, 80, 3));
  Draw(Add("a / b"));
  EXPECT_TRUE(AllAttr(1, 80, 7));
}

TEST_F(DrawLineComments, CommentScrolledOffLeft) {
  E.FileType = 2;
  // "{" hidden, "}" visible: the visible part up to "}" is coloured.
  int l = Add("x{abc def} tail");
  Draw(l, 4);
  EXPECT_EQ(T(1, 7), "c def} ");
  EXPECT_TRUE(AllAttr(1, 6, 3));
  EXPECT_TRUE(AllAttr(7, 80, 7));

  // "{" and "}" both hidden: nothing is coloured.
  l = Add("{ab} rest of it");
  Draw(l, 4);
  EXPECT_TRUE(AllAttr(1, 80, 7));

  // "//" hidden: the whole visible row is a remark.
  l = Add("//remark here");
  Draw(l, 3);
  EXPECT_TRUE(AllAttr(1, 80, 3));
}

TEST_F(DrawLineComments, RunsScrolledOffLeft) {
  // Marker 0 hidden: colours from column 1 to the end of the row.
  int l = Add(std::string("\x00\x0C", 2) + "abcdef");
  Draw(l, 4);
  EXPECT_EQ(T(1, 4), "cdef");
  EXPECT_TRUE(AllAttr(1, 80, 0x0C));

  // Word marker hidden, its word reaching into the window.
  l = Add(std::string("\x02\x0E", 2) + "abcd efg");
  Draw(l, 4);
  EXPECT_TRUE(AllAttr(1, 2, 0x0E));
  EXPECT_TRUE(AllAttr(3, 80, 7));

  // ... but not when a blank lies between it and the window.
  l = Add(std::string("\x02\x0E", 2) + "ab cdef");
  Draw(l, 5);
  EXPECT_TRUE(AllAttr(1, 80, 7));

  // Marker 1 hidden: to the last non-blank byte.
  l = Add(std::string("\x01\x0A", 2) + "abc de");
  Draw(l, 3);
  EXPECT_TRUE(AllAttr(1, 5, 0x0A));
  EXPECT_TRUE(AllAttr(6, 80, 7));
}

TEST_F(DrawLineComments, HiddenMarkerColourBytesInWindowShowEmpty) {
  int l = Add(std::string("\x00\x0C", 2) + "abc");
  Draw(l, 1);  // the marker is hidden, its colour byte in column 1
  EXPECT_EQ(C(1), 0);
  EXPECT_EQ(A(1), 7);
  EXPECT_EQ(T(2, 3), "abc");
  EXPECT_TRUE(AllAttr(2, 80, 0x0C));
}

using DrawWindowRows = WindowFixture;

TEST_F(DrawWindowRows, RowsPastTextAreBlank) {
  for (int i = 0; i < 5; ++i) Add("line " + std::to_string(i + 1));
  // Leave something in the rows that must be blanked.
  for (int r = 3; r <= 25; ++r) PutCell(E, 1, r, 'Z', 0x4E);
  E.TopLine = 3;
  DrawWindow(E);
  EXPECT_EQ(Con.Text(3, 1, 6), "line 3");
  EXPECT_EQ(Con.Text(5, 1, 6), "line 5");
  for (int r = 6; r <= 25; ++r) {
    EXPECT_EQ(Con.Text(r), std::string(80, ' ')) << "row " << r;
    EXPECT_EQ(Con.Attr(r, 1), 7);
  }
  EXPECT_EQ(Con.Text(1, 1, 1), " ");  // rows 1 and 2 are not touched
}

// Rows the draw step leaves alone keep a planted cell in column 80.
TEST_F(DrawWindowRows, MarkedDrawingReachesWhatChanged) {
  for (int i = 1; i <= 40; ++i) Add("line " + std::to_string(i));
  E.CursorCross = true;
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

TEST_F(DrawWindowRows, StatusSlotIsDrawnWithoutHighlighting) {
  uint8_t* slot = LineAt(E, 0);
  std::string text = std::string("//x\x02\x0E", 5) + "ab";
  std::memcpy(slot + 1, text.data(), text.size());
  E.BlockLast = 5;  // index 0 is never "inside" a block or on an unset mark
  DrawLine(E, 0, 0, 1);
  EXPECT_EQ(Con.Text(1, 1, 3), "//x");
  EXPECT_EQ(Con.Attr(1, 1), 7);
  EXPECT_EQ(CellChar(Con.At(1, 4)), 0x02);  // glyphs, not a run
  EXPECT_EQ(Con.Attr(1, 4), 0x02);
  EXPECT_EQ(Con.Attr(1, 6), 7);
  EXPECT_EQ(Con.Attr(1, 80), 7);
}

TEST_F(DrawWindowRows, WideScreenAndLongLines) {
  TestConsole wide(132, 10);
  E.Con = &wide;
  int l = Add(std::string(200, 'q') + std::string("\x00\x0B", 2) + std::string(53, 'r'));
  DrawLine(E, 100, l, 3);
  EXPECT_EQ(wide.Text(3, 1, 3), "qqq");
  EXPECT_EQ(wide.Attr(3, 100), 7);
  EXPECT_EQ(CellChar(wide.At(3, 101)), 0);
  EXPECT_TRUE(wide.Attr(3, 103) == 0x0B && wide.Attr(3, 132) == 0x0B);
  DrawLine(E, 255, l, 3);
  EXPECT_EQ(wide.Text(3), std::string(132, ' '));
}

TEST(DrawCells, AddressingStaysInsideTheBuffer) {
  TestConsole con(100, 5);
  Editor e;
  e.Con = &con;
  CellAt(e, 3, 5);
  EXPECT_EQ(e.CellIndex, size_t(2 * 100 + 4));
  CellAt(e, 6, 1);  // outside: the pointer stays
  EXPECT_EQ(e.CellIndex, size_t(2 * 100 + 4));

  PutCell(e, 100, 5, 'x', 0x1E);
  EXPECT_EQ(con.At(5, 100), MakeCell('x', 0x1E));
  PutCell(e, 101, 5, 'y', 0x1E);  // ignored, not written past the end

  WriteAt(e, 98, 1, "abcde", 0x4F);  // runs on into row 2
  EXPECT_EQ(con.Text(1, 98, 3), "abc");
  EXPECT_EQ(con.Text(2, 1, 2), "de");
  EXPECT_EQ(con.Attr(2, 2), 0x4F);
  WriteAt(e, 99, 5, "abcdef", 7);  // cut at the buffer's end
  EXPECT_EQ(con.Text(5, 99, 2), "ab");

  SetCursor(e, 10, 3);
  EXPECT_EQ(con.CursorCol, 9);
  EXPECT_EQ(con.CursorRow, 2);
}

}  // namespace
}  // namespace lumo

// The text window through a test console: what the draw step leaves alone,
// and cells addressed at the buffer's edges. How each kind of line is drawn
// is told by the screen cases.
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

TEST_F(WindowFixture, CellAddressingAtTheBuffersEdges) {
  TestConsole wide(132, 10);
  E.Con = &wide;
  E.CursorCross = false;
  T.SetLines({std::string(255, 'q')});
  DrawLine(E, 255, 1, 3);  // scrolled past the longest line
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

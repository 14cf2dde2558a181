// The first screen after loading a file, as cases of data: file bytes, the
// options, and the expected picture (text and attribute runs). The cursor
// cross is off (-+) unless a case is about it, so stored colours show alone.
#include "EditorFixture.h"

namespace lumo::e2e {
namespace {

struct ScreenCase {
  const char* Name;
  std::string FileName;
  std::string Bytes;
  std::vector<std::string> Options;  // before the file name
  std::vector<Expect> Picture;
  int Cols = 80, Rows = 25;
};

// Test names come from the cases; gtest need not print the bytes.
void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.Name; }

const std::vector<std::string> Quiet = {"-W", "-+"};

// A first line whose every column can be told apart, then "line 2".. "line n".
std::string Ruled(int n) {
  std::string l;
  for (int i = 0; l.size() < 140; ++i) l += "<" + std::to_string(i) + ">";
  l = l.substr(0, 140) + "\r\n";
  for (int i = 2; i <= n; ++i) l += "line " + std::to_string(i) + "\r\n";
  return l;
}

// On a terminal cols x rows the editor is `shown` columns wide: the status
// row keeps its columns (the mark digits at the right end), the window
// shows more columns and rows, and nothing lies beyond the editor's width.
ScreenCase Width(const char* name, int cols, int rows, int shown) {
  const std::string first = Ruled(1).substr(0, size_t(shown));
  return {name, "a.txt", Ruled(60), Quiet,
          {{1, 22, "line=1 "}, {1, 32, "column=1 "}, {1, 43, "size=60 "}, {1, 53, "memory="}, {1, shown - 3, "123"},
           {3, 1, first + std::string(size_t(cols - shown), ' ')}, {rows, 1, "line " + std::to_string(rows - 2) + " "}},
          cols, rows};
}

const std::vector<ScreenCase> Cases = {
    // A text byte that is no line end.
    {"CtrlZInsideALineIsAByte", "a.txt", "a\x1A" "b\r\n", Quiet,
     {{3, 1, "a→b", -1}, {3, 2, "→", 0x25}, {1, 43, "size=1 "}}},

    // Control bytes as the terminal's glyphs in their colours.
    {"ControlBytesAsGlyphs", "a.txt", "\x03\x08\x10\x11\x17\x18\x07\x05 x\r\n", Quiet,
     {{3, 1, "♥", 0x03}, {3, 2, "*", 0x0B}, {3, 3, "►", 0x0C}, {3, 4, "◄", 0x16}, {3, 5, "↨", 0x0D},
      {3, 6, "↑", 0x0E}, {3, 7, "█", 0x09}, {3, 8, "♣", 0x05}, {3, 9, " x", 0x07}}},

    // The cursor cross: blue row and column through the cursor, a bright
    // background on the cursor's cell, inverse on the status row above it.
    // (-+, in every other case, turns it off.)
    {"CursorCrossOnByDefault", "a.txt", "abc\r\ndef\r\nghi\r\n", {"-W"},
     {{3, 1, "a", 0x97}, {3, 2, "bc", 0x17}, {3, 80, "", 0x17, 1}, {4, 1, "d", 0x17}, {4, 2, "ef", 0x07},
      {5, 1, "g", 0x17}, {6, 1, "", 0x07, 1}, {1, 1, "", 0xF0, 1}, {1, 2, "", 0x07, 1}}},

    // Other terminal sizes.
    Width("Width80x25", 80, 25, 80), Width("Width100x30", 100, 30, 100), Width("Width132x40", 132, 40, 132),
    Width("Width90x25", 90, 25, 80),
};

class FirstScreenTest : public EditorTest, public testing::WithParamInterface<ScreenCase> {};

TEST_P(FirstScreenTest, Shows) {
  const ScreenCase& c = GetParam();
  S.WriteFile(c.FileName, c.Bytes);
  std::vector<std::string> args = c.Options;
  args.push_back(c.FileName);
  ASSERT_NO_FATAL_FAILURE(Open(args, c.Cols, c.Rows));
  EXPECT_EQ(S.WaitScreen(c.Picture), "");
}

INSTANTIATE_TEST_SUITE_P(Cases, FirstScreenTest, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<ScreenCase>& i) { return std::string(i.param.Name); });

TEST_F(EditorTest, ANarrowTerminalGetsANoticeUntilItIsWidened) {
  S.WriteFile("a.txt", "hello\r\n");
  S.StartEditor({"-W", "a.txt"}, 60, 25);
  ASSERT_TRUE(S.WaitFor([&] { return S.ScreenContains("80"); })) << "no notice naming the width needed";
  EXPECT_FALSE(EditorUp(S));
  EXPECT_FALSE(S.ScreenContains("hello"));
  S.Resize(80, 25);
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=1"}, {3, 1, "hello"}}), "");
}

}  // namespace
}  // namespace lumo::e2e

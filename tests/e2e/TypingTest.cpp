// Typing from the terminal into the text: UTF-8 in, code page 866 on disk;
// insert and overwrite; word wrap at a numeric extension's margin and the
// switch that turns it off; the Russian layout.
#include "EditingFixture.h"
#include "Keys.h"

namespace lumo::e2e {
namespace {

const std::string Alphabet =
    "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежзийклмнопрстуфхцчшщъыьэюяЁё";

// The same letters in code page 866, written out rather than computed so a
// wrong table in the program cannot hide behind the same table here.
std::string AlphabetCp866() {
  std::string s;
  for (int b = 0x80; b <= 0xAF; ++b) s += char(b);
  for (int b = 0xE0; b <= 0xF1; ++b) s += char(b);
  return s;
}

class TypingTest : public EditingTest {};

TEST_F(TypingTest, LatinAndCyrillicShowAndAreSavedInCp866WithCrLf) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", ""));
  S.Keys("Hi, мир " + Alphabet);
  EXPECT_EQ(S.WaitScreen({{3, 1, "Hi, мир " + Alphabet + " "}, {1, 32, "column=75 "}}), "");
  SaveAndExpect("a.txt", "Hi, \xAC\xA8\xE0 " + AlphabetCp866() + "\r\n");
  // A complete save leaves nothing to ask about.
  S.Keys("<Esc>");
  EXPECT_EQ(Ended().Code, 0);
}

TEST_F(TypingTest, ACharacterTheCodePageLacksIsNotTyped) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", ""));
  S.Keys("a€b");
  EXPECT_EQ(S.WaitScreen({{3, 1, "ab "}, {1, 32, "column=3 "}}), "");
  SaveAndExpect("a.txt", "ab\r\n");
}

TEST_F(TypingTest, InsOverwritesAndTheStatusCellShowsTheMode) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abcd\r\n"));
  // Column 67 is the byte under the cursor, inverse while inserting.
  EXPECT_EQ(S.WaitScreen({{1, 67, "a", 0x70}}), "");
  S.Keys("<Ins>");
  EXPECT_EQ(S.WaitScreen({{1, 67, "a", 0x07}}), "");
  S.Keys("XY");
  EXPECT_EQ(S.WaitScreen({{3, 1, "XYcd "}, {1, 32, "column=3 "}, {1, 67, "c", 0x07}}), "");
  S.Keys("<Ins>");
  EXPECT_EQ(S.WaitScreen({{1, 67, "c", 0x70}}), "");
  S.Keys("Z");
  EXPECT_EQ(S.WaitScreen({{3, 1, "XYZcd "}}), "");
  SaveAndExpect("a.txt", "XYZcd\r\n");
}

// Word wrap with both margins at 20 (the file's extension), the left margin 1.
struct WrapCase {
  const char* Name;
  std::string Typed;
  std::vector<Expect> Picture;
  std::string Saved;
};

void PrintTo(const WrapCase& c, std::ostream* os) { *os << c.Name; }

const WrapCase WrapCases[] = {
    // The letter in column 21 takes its word, "jumps", to a new line; the
    // cursor stays inside the word.
    {"LastWordMovesToANewLine", "the quick brown jumps over",
     {{3, 1, "the quick brown" + std::string(65, ' ')}, {4, 1, "jumps over "}, {1, 22, "line=2 "},
      {1, 32, "column=11 "}},
     "the quick brown\r\njumps over\r\n"},
    // A blank past the margin is not typed: it only goes on to a new line.
    {"BlankPastTheMarginStartsTheNextLine", "one two three fourrr five",
     {{3, 1, "one two three fourrr "}, {4, 1, "five "}, {1, 22, "line=2 "}, {1, 32, "column=5 "}},
     "one two three fourrr\r\nfive\r\n"},
    // "1) " marks a list item: the wrapped word lines up after the marker.
    {"NumberedItemContinuesAfterItsMarker", "1) one two three four five",
     {{3, 1, "1) one two three" + std::string(64, ' ')}, {4, 1, "   four five "}, {1, 32, "column=13 "}},
     "1) one two three\r\n   four five\r\n"},
    // "* " too, when a blank past the margin goes on to the next line.
    {"StarredItemContinuesTwoColumnsIn", "* one two three four five",
     {{3, 1, "* one two three four "}, {4, 1, "  five "}, {1, 32, "column=7 "}},
     "* one two three four\r\n  five\r\n"},
};

class WordWrapTest : public TypingTest, public testing::WithParamInterface<WrapCase> {};

TEST_P(WordWrapTest, AtTheMarginOfANumericExtension) {
  const WrapCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(OpenText("x.20", ""));
  S.Keys(c.Typed);
  EXPECT_EQ(S.WaitScreen(c.Picture), "");
  SaveAndExpect("x.20", c.Saved);
}

INSTANTIATE_TEST_SUITE_P(Cases, WordWrapTest, testing::ValuesIn(WrapCases),
                         [](const testing::TestParamInfo<WrapCase>& i) { return std::string(i.param.Name); });

// The limit lives in the idle message row: shade in attribute 7 while it
// holds, 15 while it is off. Every one of its keys flips it.
TEST_F(TypingTest, LengthLimitKeysFlipTheIdleRowAndTheWrap) {
  const std::string shade = [] {
    std::string s;
    for (int i = 0; i < 80; ++i) s += "░";
    return s;
  }();
  ASSERT_NO_FATAL_FAILURE(OpenText("x.20", ""));
  EXPECT_EQ(S.WaitScreen({{2, 1, shade, 0x07}}), "");
  S.Keys("<S-Ins>");
  EXPECT_EQ(S.WaitScreen({{2, 1, shade, 0x0F}}), "");
  S.Keys("<S-Del>");
  EXPECT_EQ(S.WaitScreen({{2, 1, shade, 0x07}}), "");
  // Shift+Enter as xterm sends it under modifyOtherKeys, then as the kitty
  // protocol sends it; it must not act as Enter.
  S.Send("\x1b[27;2;13~");
  EXPECT_EQ(S.WaitScreen({{2, 1, shade, 0x0F}}), "");
  S.Send("\x1b[13;2u");
  EXPECT_EQ(S.WaitScreen({{2, 1, shade, 0x07}, {1, 22, "line=1 "}, {1, 43, "size=1 "}}), "");

  // On after four flips: the word wraps.
  S.Keys("the quick brown jumps");
  EXPECT_EQ(S.WaitScreen({{3, 1, "the quick brown "}, {4, 1, "jumps "}, {1, 43, "size=2 "}}), "");
  // Off: the line grows past the margin.
  S.Keys("<S-Ins>");
  EXPECT_EQ(S.WaitScreen({{2, 1, shade, 0x0F}}), "");
  S.Keys(" over the lazy dog again");
  EXPECT_EQ(S.WaitScreen({{4, 1, "jumps over the lazy dog again "}, {1, 22, "line=2 "}, {1, 43, "size=2 "}}), "");
  SaveAndExpect("x.20", "the quick brown\r\njumps over the lazy dog again\r\n");
}

TEST_F(TypingTest, RussianModeTypesCyrillicFromLatinKeys) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", ""));
  EXPECT_EQ(S.WaitScreen({{1, 76, " ", 0x07}}), "");
  S.Keys("<A-F3>");  // CSI 1;3R
  EXPECT_EQ(S.WaitScreen({{1, 76, "R", 0x70}}), "");
  S.Keys("ghbdtn? Vbh");
  EXPECT_EQ(S.WaitScreen({{3, 1, "привет, Мир "}}), "");
  // Alt with a letter that has no command types the Latin letter, in its
  // case, past the layout.
  S.Keys(" <A-y><A-S-d>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "привет, Мир yD "}}), "");
  S.Keys("<A-F3>");
  EXPECT_EQ(S.WaitScreen({{1, 76, " ", 0x07}}), "");
  S.Keys(" ok");
  EXPECT_EQ(S.WaitScreen({{3, 1, "привет, Мир yD ok "}}), "");
  SaveAndExpect("a.txt", "\xAF\xE0\xA8\xA2\xA5\xE2, \x8C\xA8\xE0 yD ok\r\n");
}

}  // namespace
}  // namespace lumo::e2e

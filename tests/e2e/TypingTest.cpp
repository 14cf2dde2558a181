// Typing from the terminal into the text: UTF-8 in, code page 866 on disk;
// insert and overwrite as the status cell shows them; the length limit's
// keys in the forms terminals send, and the wrap they switch.
#include "EditingFixture.h"

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

TEST_F(TypingTest, CyrillicIsSavedInCp866AndInsOverwrites) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", ""));
  S.Keys("Hi, мир " + Alphabet);
  EXPECT_EQ(S.WaitScreen({{3, 1, "Hi, мир " + Alphabet + " "}, {1, 32, "column=75 "}}), "");
  // Column 67 is the byte under the cursor, inverse while inserting.
  S.Keys("<Home>");
  EXPECT_EQ(S.WaitScreen({{1, 67, "H", 0x70}}), "");
  S.Keys("<Ins>");
  EXPECT_EQ(S.WaitScreen({{1, 67, "H", 0x07}}), "");
  S.Keys("Ho");
  EXPECT_EQ(S.WaitScreen({{3, 1, "Ho, мир "}, {1, 32, "column=3 "}}), "");
  SaveAndExpect("a.txt", "Ho, \xAC\xA8\xE0 " + AlphabetCp866() + "\r\n");
  // A complete save leaves nothing to ask about.
  S.Keys("<Esc>");
  EXPECT_EQ(Ended().Code, 0);
}

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

  // On after four flips: the word wraps at the extension's margin.
  S.Keys("the quick brown jumps");
  EXPECT_EQ(S.WaitScreen({{3, 1, "the quick brown "}, {4, 1, "jumps "}, {1, 43, "size=2 "}}), "");
  // Off: the line grows past the margin.
  S.Keys("<S-Ins>");
  EXPECT_EQ(S.WaitScreen({{2, 1, shade, 0x0F}}), "");
  S.Keys(" over the lazy dog again");
  EXPECT_EQ(S.WaitScreen({{4, 1, "jumps over the lazy dog again "}, {1, 22, "line=2 "}, {1, 43, "size=2 "}}), "");
  SaveAndExpect("x.20", "the quick brown\r\njumps over the lazy dog again\r\n");
}

}  // namespace
}  // namespace lumo::e2e

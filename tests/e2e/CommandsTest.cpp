// The editing commands as a terminal shows them: the line history keys and
// typing. The rules in detail are the editing cases'; these check the keys'
// forms, the screen and the bytes on disk.
#include "EditorFixture.h"

namespace lumo::e2e {
namespace {

using CommandsTest = EditorTest;

// Getting a line back: Alt+Backspace (the last key's change, and back again)
// in both of the forms xterm may send it, Shift+F10 (the line before this
// visit's first change), Alt+R (a deleted line, from the ring).
TEST_F(CommandsTest, HistoryKeysGiveLinesBack) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\nthree\r\n"));
  // Undoing Ctrl+K gives back more than a Backspace could take away.
  S.Keys("xyz<Left><Ctrl+K>");
  ASSERT_EQ(S.WaitScreen({{3, 1, "xy    "}, {1, 32, "column=3 "}}), "");
  S.Keys("<Alt+Backspace>");  // ESC DEL, as with metaSendsEscape
  EXPECT_EQ(S.WaitScreen({{3, 1, "xyzone "}, {1, 32, "column=3 "}}), "");
  S.Send("\x1b[27;3;127~");  // as modifyOtherKeys sends it
  EXPECT_EQ(S.WaitScreen({{3, 1, "xy    "}, {1, 32, "column=3 "}}), "");
  S.Keys("<Shift+F10>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "one    "}}), "");
  S.Keys("<Ctrl+Y>");
  ASSERT_EQ(S.WaitScreen({{3, 1, "two "}, {4, 1, "three "}, {1, 43, "size=2 "}}), "");
  S.Keys("<Alt+R>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "one "}, {4, 1, "two "}, {5, 1, "three "}, {1, 22, "line=1 "}}), "");
  SaveAndExpect("a.txt", "one\r\ntwo\r\nthree\r\n");
}

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

// Typing from the terminal: UTF-8 in, code page 866 on disk; insert and
// overwrite as the status cell shows them.
TEST_F(CommandsTest, TypingCyrillicIsSavedInCp866AndInsOverwrites) {
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

// A paste between the terminal's own markers, the end marker cut across two
// writes: its lines split the line, and a Ctrl+Y byte inside is text.
TEST_F(CommandsTest, PasteComesInAsTextNotKeys) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "alpha\r\nbeta\r\n"));
  S.Keys("<End>");
  S.Send("\x1b[200~first\rsec\x19ond\rthird\x1b[20");
  S.Send("1~");
  EXPECT_EQ(S.WaitScreen({{3, 1, "alphafirst "}, {4, 1, "sec↓ond "}, {5, 1, "third "}, {6, 1, "beta "},
                          {1, 22, "line=3 "}, {1, 32, "column=6 "}}), "");
  SaveAndExpect("a.txt", "alphafirst\r\nsec\x19ond\r\nthird\r\nbeta\r\n");
}

}  // namespace
}  // namespace lumo::e2e

// The prompt line driven by scripted keys. The console below keeps a copy of
// row 2 and of the cursor each time a key is read, so a test sees the prompt
// as the user did before each key, although the finished prompt clears the
// row again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/RusTable.h"
#include "tools/PromptEditor.h"
#include "TestEditor.h"

namespace lumo {
namespace {

using test::TestEditor;

constexpr KeyCode Enter = 0x00001C0D, KpEnter = 0x0000E00D, ShiftEnter = 0x00021C0D;
constexpr KeyCode CtrlEnter = 0x00041C0A, AltEnter = 0x03081C00, AltKpEnter = 0x0308A600;
constexpr KeyCode Esc = 0x0000011B, CtrlP = 0x00041910, Backspace = 0x00000E08;
constexpr KeyCode Del = 0x0200FF2A, CtrlK = 0x0004250B, Home = 0x0200FF20, End = 0x0200FF26;
constexpr KeyCode Left = 0x0200FF23, Right = 0x0200FF25, ShiftLeft = 0x0202FF23, ShiftRight = 0x0202FF25;
constexpr KeyCode Up = 0x0200FF21, PgUp = 0x0200FF22, F7 = 0x0200FF07, Down = 0x0200FF27, PgDn = 0x0200FF28;
constexpr KeyCode F1 = 0x0200FF01, F5 = 0x0200FF05, F6 = 0x0200FF06, F8 = 0x0200FF08;
constexpr KeyCode CtrlC = 0x00042E03, CtrlX = 0x00042D18, CtrlV = 0x00042F16, ShiftF9 = 0x0202FF09;
constexpr KeyCode AltF3 = 0x0208FF03, AltF10 = 0x0208FF0A, AltX = 0x03082D00, CtrlAltTab = 0x030C0F00;
constexpr KeyCode Alt1 = 0x03087800, Alt3 = 0x03087A00, Alt8 = 0x03087F00;

KeyCode Char(char c) { return uint8_t(c); }

class SnapConsole : public TestConsole {
 public:
  using TestConsole::TestConsole;
  KeyCode ReadKey() override {
    Rows.push_back(Text(2));
    Cursors.push_back(CursorCol + 1);
    return TestConsole::ReadKey();
  }
  std::vector<std::string> Rows;  // row 2 before each key
  std::vector<int> Cursors;       // 1-based cursor column before each key
};

struct Prompt {
  explicit Prompt(int w = 80) : Con(w, 25), T(w, 25) { T->Con = &Con; }
  // Runs one prompt on `start` with the keys; the answer is left in A.
  std::string Run(uint8_t mode, std::string_view start, std::vector<KeyCode> keys) {
    A.Set(start);
    Con.Keys.assign(keys.begin(), keys.end());
    Con.Rows.clear();
    Con.Cursors.clear();
    PromptEditor(*T, A, mode);
    return std::string(A.View());
  }
  // The answer field as shown before key i.
  std::string Field(size_t i, int n = 10) const { return Con.Rows.at(i).substr(27, size_t(n)); }
  Editor& E() { return *T; }

  SnapConsole Con;
  TestEditor T;
  PromptText A;
};

std::string Repeat(char c, int n) { return std::string(size_t(n), c); }

TEST(PromptEditor, FirstTypedCharacterReplacesAnUntouchedAnswer) {
  Prompt p;
  EXPECT_EQ(p.Run(PromptOther, "abc", {Char('x'), Enter}), "x");
  EXPECT_EQ(p.Run(PromptOther, "abc", {Home, Char('x'), Enter}), "xabc");
  EXPECT_EQ(p.Run(PromptOther, "abc", {End, Char('x'), Enter}), "abcx");
  // Left at the first column counts as a movement: the answer stays.
  EXPECT_EQ(p.Run(PromptOther, "abc", {Left, Char('x'), Enter}), "xabc");
  EXPECT_EQ(p.Run(PromptOther, "abc", {Right, Char('x'), Enter}), "axbc");
  EXPECT_EQ(p.Run(PromptOther, "abc", {Right, Left, Char('x'), Enter}), "xabc");
  // Once typed into, later characters are inserted at the cursor.
  EXPECT_EQ(p.Run(PromptOther, "abc", {Char('x'), Char('y'), Home, Char('z'), Enter}), "zxy");
}

TEST(PromptEditor, ShowsTheAnswerInItsFieldAndTheCursorAtX) {
  Prompt p;
  p.Run(PromptOther, "abc", {End, Left, Enter});
  EXPECT_EQ(p.Field(0, 5), "abc  ");
  EXPECT_EQ(p.Con.Attr(2, 28), 0x07);  // cleared when the prompt ended
  EXPECT_EQ(p.Con.Cursors[0], 28);
  EXPECT_EQ(p.Con.Cursors[1], 31);     // End: right after the last character
  EXPECT_EQ(p.Con.Cursors[2], 30);
  // The replaced answer's field is cleared before the new character shows.
  p.Run(PromptOther, "abcdef", {Char('x'), Enter});
  EXPECT_EQ(p.Field(1, 6), "x     ");
}

TEST(PromptEditor, SearchAndReplaceModesShowTheirTitlesAndOpenWithTheCurrentSlot) {
  Prompt p;
  p.E().PromptSlot[0] = "abc";
  EXPECT_EQ(p.Run(PromptSearch, "zzz", {Enter}), "abc");
  EXPECT_EQ(p.E().OpFailed, 0);
  EXPECT_EQ(p.E().PromptIndex, 0);  // an untouched answer is not stored again
  EXPECT_EQ(p.E().PromptSlot[1], "");
  EXPECT_EQ(p.Con.Rows[0].substr(0, 27), Cp("Введите строку для поиска: "));
  EXPECT_EQ(p.Field(0, 4), "abc ");
  p.Run(PromptReplace, "", {Enter});
  EXPECT_EQ(p.Con.Rows[0].substr(0, 27), Cp("Введите строку для замены: "));
  // Mode 3 leaves the caller's title and never touches the ring.
  p.E().Con->At(2, 1) = MakeCell('Q', 7);
  EXPECT_EQ(p.Run(PromptOther, "own", {Char('n'), Enter}), "n");
  EXPECT_EQ(p.Con.Rows[0][0], 'Q');
  EXPECT_EQ(p.E().PromptIndex, 0);
  EXPECT_EQ(p.E().PromptSlot[1], "");
}

TEST(PromptEditor, DeletingKeys) {
  Prompt p;
  EXPECT_EQ(p.Run(PromptOther, "abcd", {End, Backspace, Enter}), "abc");
  EXPECT_EQ(p.Run(PromptOther, "abcd", {Backspace, Enter}), "abcd");  // nothing left of X
  EXPECT_EQ(p.Run(PromptOther, "abcd", {Right, Del, Enter}), "acd");
  EXPECT_EQ(p.Run(PromptOther, "abcd", {Right, Right, CtrlK, Enter}), "ab");
  EXPECT_EQ(p.Run(PromptOther, "abcd", {CtrlK, Enter}), "");
  // Delete after the last character changes nothing and End still lands
  // right after it.
  EXPECT_EQ(p.Run(PromptOther, "abc", {End, Del, Del, End, Enter}), "abc");
  EXPECT_EQ(p.Con.Cursors[3], 31);
  // A deleted byte's cell is blanked: no stale last character on show.
  p.Run(PromptOther, "abcd", {Del, Enter});
  EXPECT_EQ(p.Field(1, 5), "bcd  ");
  // Deleting touches the answer: the next character is inserted.
  EXPECT_EQ(p.Run(PromptOther, "abcd", {Del, Char('x'), Enter}), "xbcd");
}

TEST(PromptEditor, ShiftLeftAndRightShortenAndExposeStoredBytes) {
  Prompt p;
  EXPECT_EQ(p.Run(PromptOther, "", {ShiftLeft, Enter}), "");
  EXPECT_EQ(p.Run(PromptOther, "abc", {ShiftLeft, Enter}), "ab");
  EXPECT_EQ(p.Run(PromptOther, "abc", {ShiftLeft, ShiftRight, Enter}), "abc");
  EXPECT_EQ(p.Field(1, 3), "ab ");
  // The storage keeps bytes an earlier, longer answer left behind.
  p.A.Set("abcdef");
  p.A.Length = 2;
  p.Con.Keys = {ShiftRight, ShiftRight, Enter};
  PromptEditor(p.E(), p.A, PromptOther);
  EXPECT_EQ(p.A.View(), "abcd");
  // The redisplay puts the cursor back on the first column and the answer
  // counts as touched: a character is inserted there.
  EXPECT_EQ(p.Run(PromptOther, "abc", {End, ShiftLeft, Char('x'), Enter}), "xab");
  // Never beyond the storage.
  p.A.Set(Repeat('q', 255));
  p.Con.Keys = {ShiftRight, Enter};
  PromptEditor(p.E(), p.A, PromptOther);
  EXPECT_EQ(p.A.Length, 255);
}

TEST(PromptEditor, AnswerHoldsAtMostWidthLess27Characters) {
  for (int w : {80, 100, 132}) {
    Prompt p(w);
    std::vector<KeyCode> keys(size_t(w - 27 + 5), Char('a'));
    keys.push_back(Char('b'));
    keys.push_back(Enter);
    EXPECT_EQ(p.Run(PromptOther, "", keys), Repeat('a', w - 27)) << w;
    EXPECT_LE(p.Con.Cursors.back(), w);
    // The row is never written past its end into the text window.
    EXPECT_EQ(p.Con.Text(3, 1, 5), "     ");
  }
  // Full, then shortened: the last column is cleared, not left stale.
  Prompt p;
  p.Run(PromptOther, Repeat('z', 53), {ShiftLeft, Enter});
  EXPECT_EQ(p.Con.Rows[1][79], ' ');
  EXPECT_EQ(p.Con.Rows[0][79], 'z');
  // A caller's answer longer than the field shows only what fits.
  p.Run(PromptOther, Repeat('y', 200), {Enter});
  EXPECT_EQ(p.Con.Text(3, 1, 5), "     ");
  EXPECT_EQ(p.A.Length, 200);
}

TEST(PromptEditor, UpAndDownBrowseTheRingAndReloadUntouched) {
  Prompt p;
  Editor& e = p.E();
  e.PromptSlot[0] = "zero";
  e.PromptSlot[15] = "last";
  e.PromptSlot[1] = "one";
  EXPECT_EQ(p.Run(PromptSearch, "", {Up, Enter}), "last");
  EXPECT_EQ(e.PromptIndex, 15);
  EXPECT_EQ(p.Field(1, 5), "last ");
  EXPECT_EQ(p.Con.Rows[1].substr(0, 27), Cp("Введите строку для поиска: "));
  EXPECT_EQ(p.Run(PromptSearch, "", {Down, Down, Enter}), "one");
  EXPECT_EQ(e.PromptIndex, 1);
  EXPECT_EQ(p.Run(PromptReplace, "", {PgUp, Enter}), "zero");
  EXPECT_EQ(p.Run(PromptReplace, "", {F7, PgDn, PgDn, Enter}), "one");
  EXPECT_EQ(e.PromptIndex, 1);
  // A loaded answer is untouched even after editing the one before it.
  EXPECT_EQ(p.Run(PromptSearch, "", {Char('q'), Up, Char('x'), Enter}), "x");
  // The other mode steps the index but keeps its own answer.
  e.PromptIndex = 1;
  EXPECT_EQ(p.Run(PromptOther, "mine", {Up, Char('n'), Enter}), "n");
  EXPECT_EQ(e.PromptIndex, 0);
}

TEST(PromptEditor, TouchedSearchAnswersAreStoredEvenOnCancel) {
  Prompt p;
  Editor& e = p.E();
  e.PromptSlot[0] = "old";
  p.Run(PromptSearch, "", {Char('n'), Char('e'), Char('w'), Esc});
  EXPECT_EQ(e.OpFailed, 1);
  EXPECT_EQ(e.PromptIndex, 1);
  EXPECT_EQ(e.PromptSlot[1], "new");
  EXPECT_EQ(e.PromptSlot[0], "old");
  // A touched but unchanged answer is stored: Home counts as touching.
  p.Run(PromptReplace, "", {Home, Enter});
  EXPECT_EQ(e.PromptIndex, 2);
  EXPECT_EQ(e.PromptSlot[2], "new");
  // Stored slots are cut to 53 bytes.
  Prompt wide(132);
  wide.Run(PromptSearch, "", std::vector<KeyCode>(100, Char('w')));
  EXPECT_EQ(wide.E().PromptSlot[1], Repeat('w', 53));
}

TEST(PromptEditor, StoreRuleFillsTheRingThenWritesBeforeTheCurrentSlot) {
  TestEditor t;
  Editor& e = *t;
  for (int i = 0; i < 16; ++i) StorePromptAnswer(e, "s" + std::to_string(i));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(e.PromptSlot[(i + 1) & 15], "s" + std::to_string(i));
  EXPECT_EQ(e.PromptIndex, 0);
  StorePromptAnswer(e, "seventeenth");
  EXPECT_EQ(e.PromptIndex, 15);
  EXPECT_EQ(e.PromptSlot[15], "seventeenth");
  EXPECT_EQ(e.PromptSlot[0], "s15");
  // An empty slot further on is taken before the wrap.
  e.PromptSlot[3].clear();
  StorePromptAnswer(e, "gap");
  EXPECT_EQ(e.PromptIndex, 3);
  EXPECT_EQ(e.PromptSlot[3], "gap");
}

TEST(PromptEditor, ResultsAndTheEndingKey) {
  Prompt p;
  Editor& e = p.E();
  p.Run(PromptOther, "a", {Enter});
  EXPECT_EQ(e.OpFailed, 0);
  p.Run(PromptOther, "a", {KpEnter});
  EXPECT_EQ(e.OpFailed, 0);
  EXPECT_EQ(e.PromptEndKey, KpEnter);
  p.Run(PromptOther, "a", {Esc});
  EXPECT_EQ(e.OpFailed, 1);
  EXPECT_EQ(p.Run(PromptOther, "a", {CtrlP}), "a");
  EXPECT_EQ(e.OpFailed, 31);
  // Keys running out read as Esc: a cancel.
  p.Run(PromptOther, "a", {});
  EXPECT_EQ(e.OpFailed, 1);
  // The from-the-start forms: scan F0 in the search mode only.
  p.Run(PromptSearch, "", {ShiftEnter});
  EXPECT_EQ(e.OpFailed, 0);
  EXPECT_EQ(e.PromptEndKey, 0x0002F00Du);
  p.Run(PromptReplace, "", {ShiftEnter});
  EXPECT_EQ(e.PromptEndKey, ShiftEnter);
  for (KeyCode k : {CtrlEnter, KeyCode(0x10041C0A), AltEnter, AltKpEnter}) {
    p.Run(PromptSearch, "", {k});
    EXPECT_EQ(e.OpFailed, 0) << std::hex << k;
    EXPECT_EQ(e.PromptEndKey, (k & 0xFFFF0000) | 0xF00D) << std::hex << k;
    // Elsewhere they do nothing: the prompt stays open for the next key.
    EXPECT_EQ(p.Run(PromptOther, "ab", {k, Char('x'), Enter}), "x") << std::hex << k;
    EXPECT_EQ(e.OpFailed, 0);
  }
  // The message row is given back when the prompt ends.
  EXPECT_EQ(p.Con.At(2, 30), e.MessageIdle);
}

TEST(PromptEditor, KeyCodeInsertionTypesTheNextKeyInHex) {
  Prompt p;
  Editor& e = p.E();
  e.RusMode = true;
  // Enter read this way ends nothing; the prompt goes on to the next key.
  EXPECT_EQ(p.Run(PromptOther, "old", {AltX, Enter, Char('!'), Enter}), "00001C0D!");
  EXPECT_TRUE(e.RusMode);  // the digits were not translated, the mode is back
  // Row 2 as the third read saw it (the second was the key read directly).
  EXPECT_EQ(p.Con.Rows[2].substr(27, 8), "00001C0D");
  // The shift-state mark two columns right of the cursor: '0' + shift byte.
  EXPECT_EQ(p.Con.Rows[2][37], '0');
  EXPECT_EQ(p.Con.Attr(2, 38), 0x07);  // gone with the prompt
  e.RusMode = false;
  EXPECT_EQ(p.Run(PromptOther, "", {CtrlAltTab, 0x0302FF23, Enter}), "0302FF23");
  EXPECT_EQ(p.Con.Rows[2][37], '0' + 2);
}

TEST(PromptEditor, TypedCharactersFollowTheRussianMode) {
  Prompt p;
  Editor& e = p.E();
  EXPECT_EQ(p.Run(PromptOther, "", {AltF3, Char('f'), AltF3, Char('f'), Enter}), "\xA0" "f");
  EXPECT_FALSE(e.RusMode);
  // Alt+punctuation goes through the same insert rule.
  EXPECT_EQ(p.Run(PromptOther, "", {0x03081A00, 0x03081B00, 0x03082700, 0x03082800, 0x03083300,
                                    0x03083400, 0x03083500, Enter}),
            "[];',./");
  e.RusMode = true;
  EXPECT_EQ(p.Run(PromptOther, "", {0x03083400, Enter}), std::string(1, char(RusTranslate('.'))));
  e.RusMode = false;
}

TEST(PromptEditor, OtherKeysInsertTheirByteOrNothing) {
  Prompt p;
  EXPECT_EQ(p.Run(PromptOther, "", {AltF10, F1, Char('z'), Enter}), std::string("\0\x01z", 3));
  // The clipboard and recording keys are claimed: they insert no byte.
  EXPECT_EQ(p.Run(PromptOther, "ab", {End, CtrlC, CtrlX, CtrlV, ShiftF9, Enter}), "ab");
  // A character that is a line end accepts and is not typed into the answer.
  EXPECT_EQ(p.Run(PromptOther, "ab", {End, 0x0004320D}), "ab");
  EXPECT_EQ(p.E().OpFailed, 0);
}

TEST(PromptEditor, MarkKeysSetMarksFromTheTextCursor) {
  Prompt p;
  Editor& e = p.E();
  p.T.SetLines({"a", "b", "c"});
  e.CurLine = 2;
  e.TopLine = 1;
  e.CurCol = 7;
  EXPECT_EQ(p.Run(PromptOther, "ab", {End, Alt1, Alt3, Alt8, Enter}), "ab");
  EXPECT_EQ(e.LineMark[1], 2);
  EXPECT_EQ(e.LineMark[2], 0);
  EXPECT_EQ(e.LineMark[3], 2);
  EXPECT_EQ(e.PosMark[2].Line, 2);
  EXPECT_EQ(e.PosMark[2].Top, 1);
  EXPECT_EQ(e.PosMark[2].Col, 7);
  EXPECT_EQ(e.PosMark[1].Line, 0);
}

TEST(PromptEditor, WordAndBlockKeysTakeTextFromTheLine) {
  Prompt p;
  Editor& e = p.E();
  p.T.SetLines({"foo.bar baz,  qux", "abcdef"});
  e.CurLine = 1;
  e.CurCol = 6;  // inside "bar"
  EXPECT_EQ(p.Run(PromptOther, "x", {F6, Enter}), "bar");
  EXPECT_EQ(p.Run(PromptOther, "x", {F8, Enter}), "bar");
  // The taken word counts as touched: typing goes on at the first column.
  EXPECT_EQ(p.Run(PromptOther, "x", {F6, Char('!'), Enter}), "!bar");
  EXPECT_EQ(p.Field(1, 4), "bar ");
  // F5 without a block: the word with its trailing delimiters and a blank.
  EXPECT_EQ(p.Run(PromptOther, "x", {F5, Enter}), "bar ");
  e.CurCol = 10;
  EXPECT_EQ(p.Run(PromptOther, "x", {F5, Enter}), "baz, ");
  e.CurCol = 14;  // on the blank between two blanks: no word
  EXPECT_EQ(p.Run(PromptOther, "x", {F6, Enter}), "");
  // F5 with a one-line rectangular block takes the block's columns.
  e.RectFirstLine = e.RectLastLine = 2;
  e.RectFirstCol = 2;
  e.RectLastCol = 4;
  EXPECT_EQ(p.Run(PromptOther, "x", {F5, Enter}), "bcd");
  e.RectLastCol = 250;  // past the line: what the line holds
  EXPECT_EQ(p.Run(PromptOther, "x", {F5, Enter}).substr(0, 5), "bcdef");
  e.RectLastLine = 3;  // not one line: the word again
  e.CurCol = 10;
  EXPECT_EQ(p.Run(PromptOther, "x", {F5, Enter}), "baz, ");
}

TEST(PromptEditor, MacroWordModeTakesThePartOfTheWordAtTheCursor) {
  Prompt p;
  Editor& e = p.E();
  p.T.SetLines({"aa.bb.cc"});
  e.CurCol = 5;
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Enter}), "bb");
  EXPECT_EQ(p.Con.Rows[0].substr(0, 27), Cp("        Слово для макроса: "));
  e.CurCol = 3;  // on the first dot
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Enter}), "aa");
  e.CurCol = 8;
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Enter}), "cc");
  // Touched from the start: typing inserts; no history is kept.
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Char('x'), Up, Char('y'), Enter}), "y");
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Char('x'), Enter}), "xcc");
  EXPECT_EQ(e.PromptSlot[1], "");
}

}  // namespace
}  // namespace lumo

// Typing: the keyboard translations of the typing path, insert and
// overwrite, the margins and word wrap, list continuation, the refusals and
// the rectangle that follows the text.
#include <gtest/gtest.h>

#include "TestEditor.h"
#include "app/Startup.h"
#include "app/Typing.h"
#include "screen/ScreenState.h"
#include "screen/Window.h"
#include "text/LineHistory.h"
#include "text/RusTable.h"

namespace lumo {
namespace {

using test::TestEditor;

// An editor with the tab stops of a started program (ParagraphIndent = 9).
// Without the cursor cross a move draws no row, so the rows typing changes
// show only if it marked them.
struct Typist : TestEditor {
  Typist() {
    ComputeTabStops(**this);
    E->CursorCross = false;
    MarkWindow(**this);
  }
  void At(int line, int col) {
    E->CurLine = int16_t(line);
    E->CurCol = int16_t(col);
  }
  void Type(std::string_view s) {
    DrawMarked(**this);
    for (char c : s) TypeChar(**this, uint8_t(c));
    DrawMarked(**this);
  }
  // Margins of a narrow paragraph; lines set afterwards get capacity 20.
  void Narrow(int width) {
    E->RightMargin = uint8_t(width);
    E->FormatWidth = uint8_t(width);
  }
};

TEST(Typing, InsertsAndOverwrites) {
  Typist t;
  t.SetLines({"abc"});
  t.At(1, 2);
  t.Type("X");
  EXPECT_EQ(t.Line(1), "aXbc");
  EXPECT_EQ(t->CurCol, 3);
  EXPECT_TRUE(t->Modified);
  EXPECT_EQ(t.Con.Text(3, 1, 5), "aXbc ");

  t->InsertMode = false;
  t.Type("YZW");
  EXPECT_EQ(t.Line(1), "aXYZW");
  EXPECT_EQ(t->CurCol, 6);
  // One episode, one history entry: the line before the first character.
  EXPECT_EQ(t->HistoryNewest, 0);
  EXPECT_EQ(std::string_view(reinterpret_cast<char*>(t->HistorySlot[0] + 1), 3), "abc");
}

TEST(Typing, PastTheLineEndFillsWithBlanks) {
  Typist t;
  t.SetLines({"ab"});
  t.At(1, 6);
  t.Type("x");
  EXPECT_EQ(t.Line(1), "ab   x");
  EXPECT_EQ(t->CurCol, 7);

  // A line whose capacity is below the cursor column (restored from an empty
  // history slot) still takes the character where the cursor is.
  int16_t at = 2;
  InsertLine(*t, 0, at);
  t.At(2, 4);
  t.Type("y");
  EXPECT_EQ(t.Line(2), "   y");
  EXPECT_EQ(Capacity(*t, 2), 4);

  // With the limit off a blank past the margin is typed as a blank.
  t->RightMargin = 5;
  t->LengthLimit = false;
  t.At(1, 9);
  t.Type(" z");
  EXPECT_EQ(t.Line(1), "ab   x   z");
}

TEST(Typing, TranslatesRussianLayoutAndKeypadBoxDrawing) {
  EXPECT_EQ(RusTranslate('f'), 0xA0);  // а
  EXPECT_EQ(RusTranslate('F'), 0x80);  // А
  EXPECT_EQ(RusTranslate('"'), 0x9D);  // Э
  EXPECT_EQ(RusTranslate('.'), 0xEE);  // ю: found before the moved dot
  EXPECT_EQ(RusTranslate('`'), 0xF1);  // ё
  EXPECT_EQ(RusTranslate('/'), '.');
  EXPECT_EQ(RusTranslate('#'), 0xFC);  // №
  EXPECT_EQ(RusTranslate('&'), '?');
  EXPECT_EQ(RusTranslate('1'), '1');
  EXPECT_EQ(RusTranslate(0xA0), 0xA0);

  Typist t;
  t.SetLines({""});
  t->RusMode = true;
  TypePath(*t, 0x00002166);  // f
  TypePath(*t, 0x00022146);  // Shift+F
  EXPECT_EQ(t.Line(1), "\xA0\x80");
  t->RusMode = false;

  TypePath(*t, 0x00024737);  // Shift + keypad 7
  t->PseudographicsMode = false;
  TypePath(*t, 0x00024737);
  EXPECT_EQ(t.Line(1), "\xA0\x80\xDA" "7");

  // Unbound keys type their character byte or function number.
  t.SetLines({""});
  t.At(1, 1);
  TypePath(*t, 0x0202FF22);  // Shift+PgUp
  TypePath(*t, 0x0204FF08);  // Ctrl+F8
  TypePath(*t, 0x03004C00);  // a key without a character
  EXPECT_EQ(std::string(LineBytes(*t, 1).substr(0, 3)), std::string("\x22\x08\x00", 3));
}

TEST(Typing, VerticalLineMovesDownInTheSameColumn) {
  constexpr KeyCode ShiftKeypadDot = 0x0002532E;
  Typist t;
  t.SetLines({"", "", ""});
  t.At(1, 5);
  TypePath(*t, ShiftKeypadDot);
  EXPECT_EQ(t.Line(1), "    \xB3");
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 5);
  // The move began a new episode: the next line goes into the history too.
  TypePath(*t, ShiftKeypadDot);
  EXPECT_EQ(t.Line(2), "    \xB3");
  EXPECT_EQ(t->HistoryNewest, 1);
  // On the last line the cursor only steps back.
  TypePath(*t, ShiftKeypadDot);
  EXPECT_EQ(t.Line(3), "    \xB3");
  EXPECT_EQ(t->CurLine, 3);
  EXPECT_EQ(t->CurCol, 5);
  // Without the mode the key types its dot and the cursor moves on.
  t->PseudographicsMode = false;
  TypePath(*t, ShiftKeypadDot);
  EXPECT_EQ(t.Line(3), "    .\xB3");
  EXPECT_EQ(t->CurCol, 6);
}

TEST(Typing, WrapsTheLastWordAtFormatWidth) {
  Typist t;
  t->FormatWidth = 20;
  // Into a new line when there is no next line.
  t.SetLines({"aaaa bbbb cccc ddddd"});
  t.At(1, 21);
  t.Type("x");
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(1), "aaaa bbbb cccc");
  EXPECT_EQ(t.Line(2), "dddddx");
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 7);
  EXPECT_EQ(t.Con.Text(4, 1, 7), "dddddx ");
  // The snapshot now holds the line the cursor went to.
  EXPECT_EQ(t->Snapshot[t->SnapshotToggle][1], 'd');
  // That line is a new episode: typing on pushes it to the history.
  uint8_t before = t->HistoryNewest;
  t.Type("y");
  EXPECT_EQ(t.Line(2), "dddddxy");
  EXPECT_NE(t->HistoryNewest, before);

  // Into the next line when it has room, before its text.
  t.SetLines({"aaaa bbbb cccc ddddd", "ff gg"});
  t.At(1, 21);
  t.Type("x");
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(2), "dddddx ff gg");

  // Not into a blank line, one that begins a paragraph, or one without room.
  for (const std::string& below : {std::string(""), std::string("        para"),
                                   std::string("eeee ffff gggg h")}) {
    t.SetLines({"aaaa bbbb cccc ddddd", below});
    t.At(1, 21);
    t.Type("x");
    ASSERT_EQ(t->LineCount, 3) << below;
    EXPECT_EQ(t.Line(2), "dddddx") << below;
    EXPECT_EQ(t.Line(3), below);
  }
}

TEST(Typing, CursorFollowsTheMovedWordOrStays) {
  Typist t;
  t->FormatWidth = 20;
  t.SetLines({"aaaa bbbb cccc ddddd"});
  t.At(1, 18);  // inside ddddd
  t.Type("xy");
  EXPECT_EQ(t.Line(2), "ddxyddd");
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 5);

  t.SetLines({"aaaa bbbb cccc ddddd"});
  t.At(1, 3);
  t.Type("Z");
  EXPECT_EQ(t.Line(1), "aaZaa bbbb cccc");
  EXPECT_EQ(t.Line(2), "ddddd");
  EXPECT_EQ(t->CurLine, 1);
  EXPECT_EQ(t->CurCol, 4);

  // A blank typed inside the text wraps the word after the last blank.
  t.SetLines({"aaaa bbbb cccc ddddd"});
  t.At(1, 3);
  t.Type(" ");
  EXPECT_EQ(t.Line(1), "aa aa bbbb cccc");
  EXPECT_EQ(t.Line(2), "ddddd");
}

TEST(Typing, LengthLimitOffLengthensWithoutWrap) {
  Typist t;
  t->FormatWidth = 20;
  t->LengthLimit = false;
  t.SetLines({"aaaa bbbb cccc ddddd"});
  t.At(1, 21);
  t.Type("xyz");
  EXPECT_EQ(t->LineCount, 1);
  EXPECT_EQ(t.Line(1), "aaaa bbbb cccc dddddxyz");
  EXPECT_EQ(t->CurCol, 24);

  // A line already longer than RightMargin is not wrapped either.
  t->LengthLimit = true;
  t.Narrow(20);
  t.SetLines({"aaaa bbbb cccc ddddd eee"});
  t.At(1, 25);
  t.Type("f");
  EXPECT_EQ(t->LineCount, 1);
  EXPECT_EQ(t.Line(1), "aaaa bbbb cccc ddddd eeef");
}

TEST(Typing, ContinuesPastListMarkers) {
  Typist t;
  t->FormatWidth = 20;
  t.SetLines({"1) aaaa bbbb cccc dd"});
  t.At(1, 21);
  t.Type("x");
  EXPECT_EQ(t.Line(2), "   ddx");
  EXPECT_EQ(t->CurCol, 7);

  t.SetLines({"12. aaaa bbbb ccc dd"});
  t.At(1, 21);
  t.Type("x");
  EXPECT_EQ(t.Line(2), "    ddx");

  t.SetLines({"* aaaa bbbb cccc ddd"});
  t.At(1, 21);
  t.Type("x");
  EXPECT_EQ(t.Line(2), "  dddx");

  // A number with a next line that is not blank where the marker is: no shift.
  t.SetLines({"1) aaaa bbbb cccc dd", "ee"});
  t.At(1, 21);
  t.Type("x");
  EXPECT_EQ(t.Line(2), "ddx ee");
  // Nor is the word put inside the text of an indented line below.
  t->LeftMargin = 3;
  t.SetLines({"1) aaaa bbbb cccc dd", "   ee"});
  t.At(1, 21);
  t.Type("x");
  EXPECT_EQ(t.Line(2), "   ddx ee");
}

TEST(Typing, BlankPastRightMarginGoesToTheNextLine) {
  Typist t;
  t.Narrow(10);
  t.SetLines({"abcdefghij"});
  t.At(1, 11);
  t.Type(" ");
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(1), "abcdefghij");
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 1);
  EXPECT_FALSE(t->LineSaved);

  // A next line whose first word fits takes the cursor as it is.
  t.SetLines({"abcdefghij", "klm"});
  t.At(1, 11);
  t.Type(" ");
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t->CurLine, 2);

  // After a list marker the cursor goes past it.
  t.SetLines({"1) defghij", "          word"});
  t.At(1, 11);
  t.Type(" ");
  EXPECT_EQ(t->LineCount, 3);
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 4);

  // A letter out in the margin lands after it and wraps with the cursor.
  t.SetLines({"abcde fgh"});
  t.At(1, 15);
  t.Type("x");
  EXPECT_EQ(t.Line(1), "abcde fgh");
  EXPECT_EQ(t.Line(2), "x");
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 2);
}

TEST(Typing, RefusesWhatCannotBeWrappedOrStored) {
  Typist t;
  t->FormatWidth = 20;
  t.SetLines({"aaaaaaaaaaaaaaaaaaaa"});
  t.At(1, 21);
  t.Type("x");
  EXPECT_EQ(t.Line(1), "aaaaaaaaaaaaaaaaaaaa");
  EXPECT_EQ(t->CurCol, 21);
  EXPECT_EQ(t->OpFailed, 1);
  EXPECT_FALSE(t->Modified);
  EXPECT_EQ(t->HistoryNewest, 255);
  EXPECT_EQ(t.Con.WaitedMs, 30);

  // A word wider than the paragraph stays in the line, typed in order.
  t.SetLines({" bbbbbbbbbbbbbbbbbbb"});
  t.At(1, 21);
  t.Type("xc");
  EXPECT_EQ(t.Line(1), " bbbbbbbbbbbbbbbbbbbxc");
  EXPECT_EQ(t->CurCol, 23);

  // A full line takes nothing more and loses nothing.
  t->FormatWidth = 254;
  const std::string full(255, 'a');
  t.SetLines({full});
  t.Con.WaitedMs = 0;
  t.At(1, 10);
  t.Type("x");
  EXPECT_EQ(t.Line(1), full);
  EXPECT_EQ(t.Con.WaitedMs, 30);
  t.At(1, 256);
  t.Type("x");
  EXPECT_EQ(t.Line(1), full);
  // Overwriting in it still works; so does inserting where only blanks fall off.
  t->InsertMode = false;
  t.At(1, 10);
  t.Type("x");
  EXPECT_EQ(t.Line(1)[9], 'x');
  t->InsertMode = true;
  t.SetLines({std::string(200, 'b') + std::string(55, ' ')});
  t.At(1, 1);
  t.Type("c");
  EXPECT_EQ(t.Line(1), "c" + std::string(200, 'b'));
}

TEST(Typing, MemoryRefusalKeepsTheText) {
  Typist t;
  t->RightMargin = 3;
  t.SetLines({"abc"});
  ASSERT_EQ(Capacity(*t, 1), 3);
  t->BudgetLimit = t->BudgetUsed + 3;  // too little to grow the line to 4
  t.At(1, 4);
  t.Type("d");
  EXPECT_EQ(t.Line(1), "abc");
  EXPECT_EQ(t->CurCol, 4);
  EXPECT_EQ(t->OpFailed, 1);
  EXPECT_FALSE(t->Modified);
  t->BudgetLimit += 64;
  t.Type("d");
  EXPECT_EQ(t.Line(1), "abcd");

  // No room for the continuation line: the store says so, the text stays.
  Typist w;
  w.Narrow(20);
  w.SetLines({"aaaa bbbb cccc ddddd"});
  w->BudgetLimit = w->BudgetUsed + 10;
  w.At(1, 21);
  w.Type("x");
  EXPECT_EQ(w->LineCount, 1);
  EXPECT_EQ(w.Line(1), "aaaa bbbb cccc ddddd");
  EXPECT_EQ(w->CurCol, 21);
  EXPECT_EQ(w.LastNotice, Cp("НЕ ХВАТАЕТ ПАМЯТИ!"));
}

TEST(Typing, RectangleOnTheLineMovesWithInsertedText) {
  Typist t;
  t->FormatWidth = 10;
  t.SetLines({"abcdefgh", "x"});
  t->RectFirstLine = t->RectLastLine = 1;
  t->RectFirstCol = 5;
  t->RectLastCol = 7;
  t.At(1, 3);
  t.Type("1");
  EXPECT_EQ(t->RectFirstCol, 6);
  EXPECT_EQ(t->RectLastCol, 8);
  t.At(1, 9);  // right of the block
  t.Type("2");
  EXPECT_EQ(t->RectFirstCol, 6);
  t->InsertMode = false;
  t.At(1, 2);
  t.Type("3");
  EXPECT_EQ(t->RectFirstCol, 6);
  t->InsertMode = true;
  // Pushed past FormatWidth, the marking goes.
  t.SetLines({"ab", "x"});
  t->RectFirstLine = t->RectLastLine = 1;
  t->RectFirstCol = 8;
  t->RectLastCol = 10;
  t.At(1, 1);
  t.Type("4");
  EXPECT_EQ(t->RectFirstLine, 0);
  EXPECT_EQ(t->RectLastCol, 0);
  // A rectangle over two lines stays where it is.
  t->RectFirstLine = 1;
  t->RectLastLine = 2;
  t->RectFirstCol = 5;
  t->RectLastCol = 6;
  t.At(1, 1);
  t.Type("5");
  EXPECT_EQ(t->RectFirstCol, 5);
}

TEST(Typing, TypeStringWrapsAndPlacesTheCursor) {
  Typist t;
  t->FormatWidth = 20;
  t.SetLines({""});
  t.At(1, 1);
  TypeString(*t, "aaaa bbbb cccc dddd eeee");
  EXPECT_EQ(t.Line(1), "aaaa bbbb cccc dddd");
  EXPECT_EQ(t.Line(2), "eeee");
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 5);
  EXPECT_EQ(t.Con.CursorCol, 4);  // 0-based column 5, row 4
  EXPECT_EQ(t.Con.CursorRow, 3);
}

}  // namespace
}  // namespace lumo

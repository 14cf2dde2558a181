// Line operations through their keys, as the loop hands them over: adding,
// duplicating, splitting, joining and deleting lines, blanking the end of a
// line, the word deletions, Del and Backspace. Each group looks at the first
// and the last line, empty lines and lines of capacity 255, at the history
// and the LineSaved episode, and at the marks, blocks and rectangle columns
// that must follow the text.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "TestEditor.h"
#include "app/KeyTable.h"
#include "app/MainLoop.h"
#include "edit/LineOps.h"
#include "screen/KeyDecoder.h"
#include "text/LineHistory.h"

namespace lumo {
namespace {

using test::TestEditor;

constexpr KeyCode Backspace = 0x00000E08, Enter = 0x00001C0D, PadEnter = 0x0000E00D;
constexpr KeyCode CtrlBackspace = 0x00040E7F, CtrlY = 0x00041519, CtrlK = 0x0004250B;
constexpr KeyCode F3 = 0x0200FF03, F8 = 0x0200FF08, Del = 0x0200FF2A;
constexpr KeyCode AltW = 0x03081100, AltS = 0x03081F00, AltJ = 0x03082400;
constexpr KeyCode Digit(char c) { return KeyCode(uint8_t(c)); }

struct Lines : TestEditor {
  void At(int line, int col) {
    E->CurLine = int16_t(line);
    E->CurCol = int16_t(col);
  }
  Reentry Press(KeyCode key) { return HandleKey(**this, key); }
  // The text as stored, blanks up to the capacity included.
  std::string Stored(int i) const { return std::string(LineBytes(*E, i)); }
  std::string Newest() const {
    const uint8_t* slot = E->HistorySlot[E->HistoryNewest];
    return std::string(TextOf(slot));
  }
  static std::string_view TextOf(const uint8_t* counted) {
    std::string_view s(reinterpret_cast<const char*>(counted + 1), counted[0]);
    return s.substr(0, TextLength(s));
  }
  // A text of exactly as many lines as the store allows, cheaply.
  void FillToLimit() {
    SetLines({"first"});
    while (E->LineCount < MaxLines) {
      int16_t at = int16_t(E->LineCount + 1);
      InsertLine(*E, 1, at);
      ASSERT_EQ(E->OpFailed, 0);
    }
    E->Modified = false;
  }
};

std::string Repeat(char c, size_t n) { return std::string(n, c); }

TEST(LineOps, AddEmptyLineAfterTheCurrentOne) {
  Lines t;
  t.SetLines({"one", "two", "three"});
  t->LeftMargin = 3;
  t->LineMark[1] = 1;
  t->LineMark[2] = 2;
  t->BlockFirst = t->BlockLast = 2;
  t.At(1, 7);
  t->LineSaved = true;
  EXPECT_EQ(t.Press(F3), Reentry::Update);
  EXPECT_EQ(t->LineCount, 4);
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 3);
  EXPECT_EQ(t.Line(2), "");
  EXPECT_EQ(Capacity(*t, 2), t->RightMargin);
  EXPECT_EQ(t.Line(3), "two");
  EXPECT_FALSE(t->LineSaved);
  EXPECT_TRUE(t->Modified);
  // Marks on and below the new line's place move with their text.
  EXPECT_EQ(t->LineMark[1], 1);
  EXPECT_EQ(t->LineMark[2], 3);
  EXPECT_EQ(t->BlockFirst, 3);
  EXPECT_EQ(t->BlockLast, 3);

  t.At(4, 2);
  t.Press(F3);
  EXPECT_EQ(t->LineCount, 5);
  EXPECT_EQ(t->CurLine, 5);
  EXPECT_EQ(t.Line(4), "three");
}

TEST(LineOps, AddEmptyLineOnTheWindowsLastRowScrolls) {
  Lines t;  // 25 rows: text rows 3..25 show 23 lines
  std::vector<std::string> many(30, "x");
  t.SetLines(many);
  t.At(23, 1);
  t.Press(F3);
  ScrollToCursor(*t);
  EXPECT_EQ(t->CurLine, 24);
  EXPECT_EQ(t->TopLine, 2);
}

TEST(LineOps, EnterMovesDownWithoutChangingText) {
  Lines t;
  t.SetLines({"hello world", "second"});
  t->LeftMargin = 4;
  t->ColumnMark = 9;
  t.At(1, 6);
  t->LineSaved = true;
  EXPECT_EQ(t.Press(Enter), Reentry::Update);
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(1), "hello world");
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 4);
  EXPECT_FALSE(t->LineSaved);
  EXPECT_FALSE(t->Modified);

  // On the last line a line is added, at LeftMargin for both keys.
  t.Press(Enter);
  EXPECT_EQ(t->LineCount, 3);
  EXPECT_EQ(t->CurLine, 3);
  EXPECT_EQ(t->CurCol, 4);
  EXPECT_EQ(t.Line(2), "second");
  t.Press(PadEnter);
  EXPECT_EQ(t->LineCount, 4);
  EXPECT_EQ(t->CurCol, 4);

  t.At(1, 1);
  t.Press(PadEnter);
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 9);
  EXPECT_EQ(t->LineCount, 4);
}

TEST(LineOps, LineLimitRefusesEveryLineAdder) {
  Lines t;
  t.FillToLimit();
  const std::string notice = Cp("СЛИШКОМ МНОГО СТРОК! НЕ ЗАПИСЫВАЙТЕ ЭТОТ ФАЙЛ!");
  for (KeyCode k : {F3, F8, AltS}) {
    t.LastNotice.clear();
    t.At(1, 3);
    t.Press(k);
    EXPECT_EQ(t.LastNotice, notice) << KeyName(k);
    EXPECT_EQ(t->OpFailed, 1) << KeyName(k);
    EXPECT_EQ(t->LineCount, MaxLines) << KeyName(k);
    EXPECT_EQ(t->CurLine, 1) << KeyName(k);
    EXPECT_EQ(t->CurCol, 3) << KeyName(k);
    EXPECT_EQ(t.Line(1), "first") << KeyName(k);
  }
  // Enter on the last line would add one; elsewhere it only moves.
  t.LastNotice.clear();
  t.At(MaxLines, 1);
  t.Press(Enter);
  EXPECT_EQ(t.LastNotice, notice);
  EXPECT_EQ(t->CurLine, MaxLines);
  EXPECT_FALSE(t->Modified);
  t.At(1, 1);
  t.LastNotice.clear();
  t.Press(Enter);
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_TRUE(t.LastNotice.empty());
}

TEST(LineOps, DuplicateCopiesCapacityAndBytes) {
  Lines t;
  t->RightMargin = 100;
  t.SetLines({"  indented text", "last"});
  t->LineMark[1] = 2;
  t.At(1, 5);
  t->LineSaved = true;
  t.Press(F8);
  EXPECT_EQ(t->LineCount, 3);
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->CurCol, 5);
  EXPECT_EQ(Capacity(*t, 2), 100);
  EXPECT_EQ(t.Stored(2), t.Stored(1));
  EXPECT_FALSE(t->LineSaved);
  EXPECT_EQ(t->LineMark[1], 3);

  // The last line, and a full line of 255 bytes, copied whole.
  const std::string full = Repeat('a', 254) + "z";
  t.SetLines({"x", full});
  t.At(2, 1);
  t.Press(F8);
  EXPECT_EQ(t->LineCount, 3);
  EXPECT_EQ(t->CurLine, 3);
  EXPECT_EQ(Capacity(*t, 3), 255);
  EXPECT_EQ(t.Line(3), full);
}

TEST(LineOps, SplitMovesTheRestToANewLine) {
  Lines t;
  t.SetLines({"hello world", "next"});
  t.At(1, 7);
  t.Press(AltS);
  EXPECT_EQ(t->LineCount, 3);
  EXPECT_EQ(t.Line(1), "hello");
  EXPECT_EQ(t.Line(2), "world");
  EXPECT_EQ(t.Line(3), "next");
  EXPECT_EQ(t->CurLine, 1);
  EXPECT_EQ(t->CurCol, 7);
  EXPECT_EQ(Capacity(*t, 1), 254);  // capacity of the first half is kept
  EXPECT_EQ(t.Newest(), "hello world");

  // At column 1 the whole text goes down; LeftMargin indents the new line.
  t.SetLines({"abc def"});
  t->LeftMargin = 3;
  t.At(1, 1);
  t.Press(AltS);
  EXPECT_EQ(t.Line(1), "");
  EXPECT_EQ(t.Line(2), "  abc def");
  EXPECT_EQ(t->CurLine, 1);

  // The last line split past its text: an empty line below.
  t->LeftMargin = 1;
  t.SetLines({"abc"});
  t.At(1, 10);
  t.Press(AltS);
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(1), "abc");
  EXPECT_EQ(t.Line(2), "");
}

TEST(LineOps, SplitOfAFullLineKeepsEveryByte) {
  Lines t;
  const std::string full = "a" + Repeat('b', 253) + "c";  // 255 bytes
  t.SetLines({full});
  // The indent would push the line's end past 255 bytes: it gives way.
  t->LeftMargin = 10;
  t.At(1, 1);
  t.Press(AltS);
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(1), "");
  EXPECT_EQ(t.Line(2), full);
  EXPECT_EQ(Capacity(*t, 2), 255);

  t.SetLines({full});
  t.At(1, 250);
  t.Press(AltS);
  EXPECT_EQ(t.Line(1), full.substr(0, 249));
  EXPECT_EQ(t.Line(2), Repeat(' ', 9) + full.substr(249));
}

TEST(LineOps, JoinPullsTheNextLineUp) {
  Lines t;
  t.SetLines({"abc", "  def", "ghi"});
  t->LineMark[1] = 2;
  t->LineMark[2] = 3;
  t->BlockFirst = t->BlockLast = 2;
  // Past the end of the text: blanks up to the cursor column.
  t.At(1, 6);
  t.Press(AltJ);
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(1), "abc  def");  // the next text starts at the cursor
  EXPECT_EQ(t.Line(2), "ghi");
  EXPECT_EQ(t->CurLine, 1);
  EXPECT_EQ(t->CurCol, 6);
  EXPECT_EQ(t->LineMark[1], 0);
  EXPECT_EQ(t->LineMark[2], 2);
  EXPECT_EQ(t->BlockFirst, 0);
  EXPECT_EQ(t->BlockLast, 0);

  // Right after the text, one blank of the indentation separates the parts.
  t.SetLines({"abc", "   def"});
  t.At(1, 4);
  t.Press(AltJ);
  EXPECT_EQ(t.Line(1), "abc def");
  t.SetLines({"abc", "def"});
  t.At(1, 4);
  t.Press(AltJ);
  EXPECT_EQ(t.Line(1), "abcdef");

  // An empty next line just goes, and the line is cut at the cursor; on the
  // last line nothing happens.
  t.SetLines({"abc", "", "x"});
  t.At(1, 2);
  t.Press(AltJ);
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(1), "a");
  t.At(2, 5);
  t.Press(AltJ);
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(2), "x");
}

TEST(LineOps, JoinWithTheCursorInsideTheTextReplacesTheRestAndKeepsItInTheRing) {
  Lines t;
  t.SetLines({"abc def", "ghi"});
  t.At(1, 2);
  t.Press(AltJ);
  EXPECT_EQ(t->LineCount, 1);
  EXPECT_EQ(t.Line(1), "aghi");
  EXPECT_EQ(t->CurCol, 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(t->HistorySlot[t->HistoryNewest] + 1), 7), "abc def");
}

TEST(LineOps, PartialJoinMovesOnlyTheWordsThatFit) {
  Lines t;
  t->FormatWidth = 20;
  t.SetLines({"0123456789", "alpha beta gamma delta", "end"});
  t.At(1, 12);
  t.Press(AltJ);
  EXPECT_EQ(t->LineCount, 3);
  EXPECT_EQ(t.Line(1), "0123456789 alpha");
  EXPECT_LE(t.Line(1).size(), 20u);
  EXPECT_EQ(t.Line(2), "beta gamma delta");
  EXPECT_EQ(t.Line(3), "end");

  // Not even the first word fits: both lines stay.
  t.SetLines({"0123456789", "abcdefghijklmnop"});
  t.At(1, 12);
  t.Press(AltJ);
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(1), "0123456789");
  EXPECT_EQ(t.Line(2), "abcdefghijklmnop");
}

TEST(LineOps, JoinAtCapacityNeverCutsText) {
  Lines t;  // FormatWidth 254
  const std::string head = Repeat('x', 250);
  t.SetLines({head, "ab cdefgh"});
  t.At(1, 251);
  t.Press(AltJ);
  EXPECT_EQ(t.Line(1), head + "ab");
  EXPECT_EQ(t.Line(2), "cdefgh");

  // A line that must grow beyond its capacity does, and when memory does not
  // allow it the next line stays rather than being deleted.
  t->RightMargin = 10;
  t.SetLines({"abcdefgh", "ijklmn"});
  t.At(1, 9);
  t.Press(AltJ);
  EXPECT_EQ(t.Line(1), "abcdefghijklmn");
  EXPECT_EQ(Capacity(*t, 1), 14);

  t.SetLines({"abcdefgh", "ijklmn"});
  t->BudgetLimit = t->BudgetUsed + 8;
  t.At(1, 9);
  t.Press(AltJ);
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(1), "abcdefgh");
  EXPECT_EQ(t.Line(2), "ijklmn");
}

TEST(LineOps, DeleteLineRenumbersMarks) {
  Lines t;
  t.SetLines({"a", "b", "c"});
  t->LineMark[1] = 2;
  t->LineMark[2] = 3;
  t->PosMark[1].Line = 3;
  t.At(2, 1);
  EXPECT_EQ(t.Press(CtrlY), Reentry::Update);
  EXPECT_EQ(t.Con.KeysRead, 0);  // no question in the middle of the text
  EXPECT_EQ(t->LineCount, 2);
  EXPECT_EQ(t.Line(2), "c");
  EXPECT_EQ(t->CurLine, 2);
  EXPECT_EQ(t->LineMark[1], 0);
  EXPECT_EQ(t->LineMark[2], 2);
  EXPECT_EQ(t->PosMark[1].Line, 2);
  EXPECT_EQ(t.Newest(), "b");
  EXPECT_FALSE(t->LineSaved);
}

TEST(LineOps, DeleteLastLineAsksFirst) {
  // Only the answer 1 deletes; 2 and Esc keep the line.
  for (KeyCode answer : {Digit('2'), KeyCode(keys::Esc)}) {
    Lines t;
    t.SetLines({"a", "b"});
    t.At(2, 1);
    t.Con.Keys = {answer};
    EXPECT_EQ(t.Press(CtrlY), Reentry::Redraw);
    EXPECT_EQ(t.Con.KeysRead, 1);
    EXPECT_EQ(t->LineCount, 2);
    EXPECT_EQ(t.Line(2), "b");
    EXPECT_FALSE(t->Modified);
  }
  Lines t;
  t.SetLines({"a", "b"});
  t.At(2, 1);
  t.Con.Keys = {Digit('1')};
  t.Press(CtrlY);
  EXPECT_EQ(t->LineCount, 1);
  EXPECT_EQ(t->CurLine, 1);
  EXPECT_EQ(t.Line(1), "a");

  // The only line is blanked, never removed.
  t.At(1, 5);
  t.Con.Keys = {Digit('1')};
  t.Press(CtrlY);
  EXPECT_EQ(t->LineCount, 1);
  EXPECT_EQ(t.Line(1), "");
  EXPECT_EQ(t->CurCol, 1);
}

TEST(LineOps, BlankToEndKeepsCapacity) {
  Lines t;
  t->RightMargin = 20;
  t.SetLines({"hello world", "x"});
  t.At(1, 6);
  t.Press(CtrlK);
  EXPECT_EQ(t.Line(1), "hello");
  EXPECT_EQ(Capacity(*t, 1), 20);
  EXPECT_EQ(t->CurCol, 6);
  EXPECT_EQ(t.Newest(), "hello world");
  EXPECT_TRUE(t->Modified);

  t.At(1, 1);
  t.Press(CtrlK);
  EXPECT_EQ(t.Line(1), "");
  t.At(2, 40);  // past the capacity: nothing to blank
  t.Press(CtrlK);
  EXPECT_EQ(t.Line(2), "x");
}

TEST(LineOps, DeleteWordLeft) {
  Lines t;
  // The cursor on the first letter of the third word: the second word and
  // its blank go.
  t.SetLines({"abcde abcd abcde"});
  t.At(1, 12);
  t.Press(CtrlBackspace);
  EXPECT_EQ(t.Line(1), "abcde abcde");
  EXPECT_EQ(t->CurCol, 7);

  // After a word and its blanks: that word goes.
  t.SetLines({"abc def"});
  t.At(1, 10);
  t.Press(CtrlBackspace);
  EXPECT_EQ(t.Line(1), "abc");
  EXPECT_EQ(t->CurCol, 5);

  // A delimiter glued to the word's front goes with it; the words left and
  // right stay apart by one blank.
  t.SetLines({"abc,def ghi"});
  t.At(1, 9);
  t.Press(CtrlBackspace);
  EXPECT_EQ(t.Line(1), "abc ghi");
  EXPECT_EQ(t->CurCol, 5);

  t.SetLines({"abc"});
  t.At(1, 1);
  t.Press(CtrlBackspace);
  EXPECT_EQ(t.Line(1), "abc");
  EXPECT_FALSE(t->Modified);

  // The last word of a full line, cursor right after it.
  const std::string full = Repeat('a', 250) + " wxyz";
  t.SetLines({full});
  t.At(1, 256);
  t.Press(CtrlBackspace);
  EXPECT_EQ(t.Line(1), Repeat('a', 250));
  EXPECT_EQ(t->CurCol, 252);
}

TEST(LineOps, DeleteWordAtTheCursor) {
  Lines t;
  // Any letter of the first of two words: the word and its blank go.
  for (int col : {1, 2, 3}) {
    t.SetLines({"abc def"});
    t.At(1, col);
    t.Press(AltW);
    EXPECT_EQ(t.Line(1), "def") << col;
    EXPECT_EQ(t->CurCol, 1) << col;
  }
  // On blanks, and on a free-standing delimiter run, up to the next word.
  t.SetLines({"ab   cd"});
  t.At(1, 3);
  t.Press(AltW);
  EXPECT_EQ(t.Line(1), "abcd");
  t.SetLines({"ab -- cd"});
  t.At(1, 4);
  t.Press(AltW);
  EXPECT_EQ(t.Line(1), "ab cd");
  EXPECT_EQ(t->CurCol, 4);
  // A delimiter ending the text: removed, and the command comes back.
  t.SetLines({"ab ."});
  t.At(1, 4);
  t.Press(AltW);
  EXPECT_EQ(t.Line(1), "ab");
  // The last word of a full line.
  t.SetLines({Repeat('a', 250) + " wxyz"});
  t.At(1, 253);
  t.Press(AltW);
  EXPECT_EQ(t.Line(1), Repeat('a', 250));
  EXPECT_EQ(t->CurCol, 252);
  // Past the text nothing changes.
  t.SetLines({"ab"});
  t.At(1, 5);
  t.Press(AltW);
  EXPECT_EQ(t.Line(1), "ab");
}

TEST(LineOps, DelAndBackspace) {
  Lines t;
  t.SetLines({"abcd", "  next"});
  t.At(1, 2);
  t.Press(Del);
  EXPECT_EQ(t.Line(1), "acd");
  EXPECT_EQ(t->CurCol, 2);
  EXPECT_EQ(t.Newest(), "abcd");
  t.Press(Backspace);
  EXPECT_EQ(t.Line(1), "cd");
  EXPECT_EQ(t->CurCol, 1);
  EXPECT_EQ(t.Press(Backspace), Reentry::Read);  // never joins upwards
  EXPECT_EQ(t.Line(1), "cd");
  EXPECT_EQ(t->LineCount, 2);

  // Past the text Del joins the next line at the cursor.
  t.At(1, 3);
  t.Press(Del);
  EXPECT_EQ(t->LineCount, 1);
  EXPECT_EQ(t.Line(1), "cd next");
  // On the last line past the text there is nothing to join.
  t.At(1, 20);
  t.Press(Del);
  EXPECT_EQ(t.Line(1), "cd next");

  // The last byte of a line at capacity 255.
  const std::string full = Repeat('a', 254) + "z";
  t.SetLines({full});
  t.At(1, 255);
  t.Press(Del);
  EXPECT_EQ(t.Line(1), Repeat('a', 254));
  EXPECT_EQ(Capacity(*t, 1), 255);
  t.At(1, 1);
  t.Press(Del);
  EXPECT_EQ(t.Line(1), Repeat('a', 253));
}

TEST(LineOps, RectangleOnOneLineFollowsDeletions) {
  Lines t;
  t.SetLines({"ab cd efgh ij", "other"});
  auto mark = [&](int line, int first, int last) {
    t->RectFirstLine = t->RectLastLine = int16_t(line);
    t->RectFirstCol = int16_t(first);
    t->RectLastCol = int16_t(last);
  };
  mark(1, 7, 10);  // "efgh"
  t.At(1, 2);
  t.Press(Del);
  EXPECT_EQ(t->RectFirstCol, 6);
  EXPECT_EQ(t->RectLastCol, 9);
  t.At(1, 3);
  t.Press(Backspace);
  EXPECT_EQ(t->RectFirstCol, 5);
  EXPECT_EQ(t->RectLastCol, 8);
  EXPECT_EQ(t.Line(1).substr(4, 4), "efgh");

  // Inside or right of the rectangle, or on another line: it stays.
  t.At(1, 6);
  t.Press(Del);
  EXPECT_EQ(t->RectFirstCol, 5);
  t.At(2, 1);
  t.Press(Del);
  EXPECT_EQ(t->RectFirstCol, 5);
  mark(1, 5, 8);
  t->RectLastLine = 2;
  t.At(1, 1);
  t.Press(Del);
  EXPECT_EQ(t->RectFirstCol, 5);

  // A word deleted left of it moves it by what went.
  t.SetLines({"one two three"});
  mark(1, 9, 13);
  t.At(1, 9);
  t.Press(CtrlBackspace);
  EXPECT_EQ(t.Line(1), "one three");
  EXPECT_EQ(t->RectFirstCol, 5);
  EXPECT_EQ(t->RectLastCol, 9);
}

TEST(LineOps, OneEpisodePerLine) {
  Lines t;
  t.SetLines({"abcdef", "ghi"});
  t.At(1, 1);
  t.Press(Del);
  t.Press(Del);
  t.Press(CtrlK);
  // The line's first change pushed it; later ones in the episode did not.
  EXPECT_EQ(t->HistoryNewest, 0);
  EXPECT_EQ(t.Newest(), "abcdef");
  EXPECT_TRUE(t->LineSaved);
  t.Press(Enter);
  EXPECT_FALSE(t->LineSaved);
  t.Press(Del);
  EXPECT_EQ(t->HistoryNewest, 1);
  EXPECT_EQ(t.Newest(), "ghi");
}

}  // namespace
}  // namespace lumo

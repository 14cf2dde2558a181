// Words: the delimiter set, the two scans as tables of line, column and
// result, and taking the word at the cursor in its copy modes and as a
// rectangular block.
#include <gtest/gtest.h>

#include "TestEditor.h"
#include "edit/Words.h"

namespace lumo {
namespace {

using test::TestEditor;

TEST(Words, DelimitersAreExactlyTheTwentyThree) {
  const std::string_view set = ".,:;?!/\\()-*+=<>{}[]_\"'";
  int count = 0;
  for (int b = 0; b < 256; ++b) {
    const bool expected = set.find(char(b)) != std::string_view::npos;
    EXPECT_EQ(IsDelimiter(uint8_t(b)), expected) << "byte " << b;
    count += IsDelimiter(uint8_t(b));
  }
  EXPECT_EQ(count, 23);
  // Byte 0 is a control byte (a colour marker), not the end of the set.
  EXPECT_FALSE(IsDelimiter(0));
}

struct ScanCase {
  const char* Line;
  int From;
  int Expected;
};

TEST(Words, WordStartLeft) {
  const ScanCase cases[] = {
      // Three words at columns 1, 7 and 12.
      {"aaaaa bbbb ccccc", 14, 7},  // inside a word: the word before it
      {"aaaaa bbbb ccccc", 12, 7},  // a word's first byte counts as inside
      {"aaaaa bbbb ccccc", 11, 7},  // the blank after a word: that word
      {"aaaaa bbbb ccccc", 6, 1},
      {"aaaaa bbbb ccccc", 7, 1},
      {"aaaaa bbbb ccccc", 1, 1},
      {"aaaaa bbbb ccccc", 17, 12},  // past the text: the last word
      {"aaaaa bbbb ccccc", 200, 12},
      {"", 5, 1},
      // Delimiters bind words into one for this scan.
      {"foo.bar baz", 5, 1},
      {"foo.bar baz", 9, 5},
      {"x := y", 6, 3},
      // A colour marker ahead of a word is taken with it.
      {"ab\x01\x0E" "cd ef", 9, 3},
  };
  for (const ScanCase& c : cases) {
    EXPECT_EQ(WordStartLeftAt(c.Line, c.From), c.Expected) << '"' << c.Line << "\" from " << c.From;
    EXPECT_EQ(WordStartLeft(c.Line, uint8_t(c.From)), c.Expected) << c.Line;
  }
}

struct EndCase {
  const char* Line;
  int From;
  int Mode;
  int Expected;
};

TEST(Words, WordEndRightInItsThreeModes) {
  const EndCase cases[] = {
      // A letter, a full stop, a letter, a blank and a letter.
      {"a.b c", 1, 0, 3},
      {"a.b c", 1, 1, 2},
      {"a.b c", 1, 2, 3},
      {"ab cd", 1, 0, 4},  // mode 0: the next word's first column
      {"ab cd", 1, 1, 3},  // mode 1: the column after the word
      {"ab cd", 1, 2, 3},
      {"ab  cd", 3, 1, 7},  // mode 1 skips the blanks first
      {"ab  cd", 3, 0, 5},
      {"ab  cd", 3, 2, 3},
      // A delimiter that ends a word is stepped over before the modes act.
      {"end. next", 4, 1, 10},
      {"end. next", 4, 0, 6},
      {"end.next", 4, 1, 4},
      {"ab", 1, 0, 3},  // the end of the text gives L + 1
      {"ab", 5, 0, 5},  // a start past the text stays
      {"\x01\x0E" "ab cd", 1, 1, 5},
  };
  for (const EndCase& c : cases) {
    EXPECT_EQ(WordEndRightAt(c.Line, c.From, c.Mode), c.Expected)
        << '"' << c.Line << "\" from " << c.From << " mode " << c.Mode;
    EXPECT_EQ(WordEndRight(c.Line, uint8_t(c.From), uint8_t(c.Mode)), c.Expected) << c.Line;
  }
}

TEST(Words, ScansPastColumn255DoNotWrap) {
  // A full line of capacity 255: the cursor can stand at 256.
  const std::string full(255, 'x');
  EXPECT_EQ(WordEndRightAt(full, 250, 1), 256);
  EXPECT_EQ(WordEndRight(full, 250, 1), 255);  // the byte form saturates
  EXPECT_EQ(WordStartLeftAt(full, 256), 1);
  std::string two = std::string(200, 'x') + " " + std::string(54, 'y');
  EXPECT_EQ(WordStartLeftAt(two, 256), 202);
}

struct TakeCase {
  const char* Line;
  int Col;
  int Mode;
  const char* Expected;
};

TEST(Words, TakeWordCopies) {
  const TakeCase cases[] = {
      {"foo.bar baz", 1, 0, "foo"},
      {"foo.bar baz", 1, 2, "foo."},
      {"foo.bar baz", 3, 1, "fo"},  // mode 1: the part left of the cursor
      {"foo.bar baz", 1, 1, ""},
      {"foo.bar baz", 6, 0, "bar"},
      {"foo.bar baz", 6, 2, "bar "},  // with its following blank
      {"foo.bar baz", 6, 1, "b"},
      {"foo.bar baz", 8, 0, "bar"},  // on the blank right after a word
      {"foo.bar baz", 8, 1, "bar"},
      {"foo.bar baz", 12, 0, "baz"},
      {"foo.bar baz", 12, 2, "baz "},
      {"foo.bar baz", 13, 0, ""},  // two blanks: no word at the cursor
      {"foo  bar", 5, 2, ""},
      {"  abc", 1, 0, ""},
      // The pieces a dotted name falls into.
      {"aa.bb.cc", 4, 0, "bb"},
      {"aa.bb.cc", 3, 0, "aa"},
      {"aa.bb.cc", 7, 0, "cc"},
      // Delimiters around the word: mode 0 leaves them out, mode 2 keeps
      // the trailing ones.
      {"foo, bar", 2, 0, "foo"},
      {"foo, bar", 2, 2, "foo, "},
      {"a (bc) d", 3, 0, "bc"},
      {"a (bc) d", 4, 2, "bc) "},
      {"(((", 2, 0, ""},
      // A colour marker before a word is not part of mode 0's word.
      {"\x01\x0E" "ab cd", 3, 0, "ab"},
  };
  for (const TakeCase& c : cases) {
    TestEditor t;
    t.SetLines({c.Line});
    t->CurCol = int16_t(c.Col);
    std::string word = "stale";
    TakeWord(*t, word, uint16_t(c.Mode));
    EXPECT_EQ(word, c.Expected) << '"' << c.Line << "\" col " << c.Col << " mode " << c.Mode;
    EXPECT_EQ(t->RectFirstLine, 0) << "copy modes mark nothing";
  }
}

TEST(Words, TakeWordModeOneTakesAControlByteAsBlank) {
  TestEditor t;
  t.SetLines({"ab\x01" "cd"});
  t->CurCol = 3;
  std::string word;
  TakeWord(*t, word, 1);
  EXPECT_EQ(word, "ab");
  EXPECT_EQ(t.Line(1), "ab\x01" "cd") << "only the copy is changed";
}

TEST(Words, TakeWordOnShortAndOddLines) {
  TestEditor t;
  t->RightMargin = 3;
  t.SetLines({"abc"});  // capacity 3, cursor past it
  t->CurCol = 4;
  std::string word;
  TakeWord(*t, word, 0);
  EXPECT_EQ(word, "abc");
  TakeWord(*t, word, 1);
  EXPECT_EQ(word, "abc");

  int16_t at = 2;
  InsertLine(*t, 0, at);  // a line of capacity 0
  t->CurLine = 2;
  t->CurCol = 1;
  word = "x";
  TakeWord(*t, word, 2);
  EXPECT_EQ(word, "");
}

struct Rect {
  int Line, First, Last;
};

Rect MarkWord(const char* text, int col, uint16_t mode, uint8_t margin = 254) {
  TestEditor t;
  t->RightMargin = margin;
  t.SetLines({text});
  t->CurCol = int16_t(col);
  std::string word = "kept";
  TakeWord(*t, word, mode);
  EXPECT_EQ(word, "");
  EXPECT_EQ(t->RectLastLine, t->RectFirstLine);
  return {t->RectFirstLine, t->RectFirstCol, t->RectLastCol};
}

constexpr uint16_t AltX = 0x2D00, AltV = 0x2F00;

TEST(Words, TakeWordMarksARectangle) {
  auto expect = [](Rect r, int line, int first, int last) {
    EXPECT_EQ(r.Line, line);
    EXPECT_EQ(r.First, first);
    EXPECT_EQ(r.Last, last);
  };
  // Alt+X and Alt+V take the blank after the word, Alt+Z does not.
  expect(MarkWord("foo bar", 2, AltX), 1, 1, 4);
  expect(MarkWord("foo bar", 2, AltV), 1, 1, 4);
  expect(MarkWord("foo bar", 2, TakeMarkAltZ), 1, 1, 3);
  expect(MarkWord("foo bar", 6, AltX), 1, 5, 8);
  // Glued to the next word by a delimiter: the delimiter ends the block.
  expect(MarkWord("foo.bar", 1, AltX), 1, 1, 4);
  expect(MarkWord("foo.bar", 1, TakeMarkAltZ), 1, 1, 3);
  // On the blank after the word: Alt+Z does not stretch to the cursor.
  expect(MarkWord("foo bar", 4, TakeMarkAltZ), 1, 1, 3);
  expect(MarkWord("foo bar", 4, AltX), 1, 1, 4);
  // A corner past the capacity comes back onto the line.
  expect(MarkWord("foo bar", 5, AltX, 7), 1, 5, 7);
  // No word at the cursor: nothing is marked.
  expect(MarkWord("foo  bar", 5, AltX), 0, 0, 0);
}

TEST(Words, TakeWordExtendsWhatIsMarked) {
  TestEditor t;
  t.SetLines({"one two three", "four five"});
  // A rectangle on the line grows to take the word in.
  t->RectFirstLine = t->RectLastLine = 1;
  t->RectFirstCol = t->RectLastCol = 2;
  t->CurCol = 9;
  std::string word;
  TakeWord(*t, word, AltX);
  EXPECT_EQ(t->RectFirstCol, 2);
  EXPECT_EQ(t->RectLastCol, 14);  // the blank after "three"

  // With a line block the line block grows instead; no rectangle appears.
  TestEditor u;
  u.SetLines({"one two", "four five"});
  u->BlockFirst = u->BlockLast = 1;
  u->CurLine = 2;
  u->CurCol = 2;
  TakeWord(*u, word, AltX);
  EXPECT_EQ(u->BlockFirst, 1);
  EXPECT_EQ(u->BlockLast, 2);
  EXPECT_EQ(u->RectFirstLine, 0);
}

}  // namespace
}  // namespace lumo

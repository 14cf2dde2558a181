// Taking the word at the cursor: no key reaches TakeWord yet (the rectangle
// word keys come with the blocks), so its copy modes and its marking are
// tested here. The word scans it shares are tested through the cursor's word
// steps and the prompt line in tests/cases.
#include <gtest/gtest.h>

#include <vector>

#include "TestEditor.h"
#include "edit/Words.h"

namespace lumo {
namespace {

using test::TestEditor;

constexpr uint16_t AltX = keys::CharAndScan(keys::Alt(keys::X)), AltV = keys::CharAndScan(keys::Alt(keys::V));

struct TakeCase {
  const char* Line;
  int Col;
  uint16_t Mode;
  const char* Word;       // copy modes
  int First = 0, Last = 0;  // marking modes: the rectangle's columns, 0 = none
  uint8_t Margin = 254;
};

TEST(Words, TakeWord) {
  const TakeCase cases[] = {
      // Mode 0 the word, 1 its part left of the cursor, 2 with its trailing
      // delimiters and one blank.
      {"foo.bar baz", 1, 0, "foo"},
      {"foo.bar baz", 1, 2, "foo."},
      {"foo.bar baz", 3, 1, "fo"},
      {"foo.bar baz", 1, 1, ""},
      {"foo.bar baz", 6, 2, "bar "},
      {"foo.bar baz", 8, 0, "bar"},  // on the blank right after a word
      {"foo.bar baz", 8, 1, "bar"},
      {"foo.bar baz", 13, 0, ""},  // two blanks: no word at the cursor
      {"foo  bar", 5, 2, ""},
      {"  abc", 1, 0, ""},
      {"aa.bb.cc", 3, 0, "aa"},
      {"aa.bb.cc", 7, 0, "cc"},
      {"a (bc) d", 3, 0, "bc"},
      {"a (bc) d", 4, 2, "bc) "},
      {"(((", 2, 0, ""},
      {"\x01\x0E" "ab cd", 3, 0, "ab"},  // a colour marker is not part of the word
      {"ab\x01" "cd", 3, 1, "ab"},      // a control byte ends the part as a blank
      {"abc", 4, 0, "abc", 0, 0, 3},    // the cursor past a short line's capacity
      {"abc", 4, 1, "abc", 0, 0, 3},
      // Alt+X and Alt+V mark the word with the blank after it, Alt+Z without;
      // a delimiter gluing on the next word ends the block.
      {"foo bar", 2, AltX, "", 1, 4},
      {"foo bar", 2, AltV, "", 1, 4},
      {"foo bar", 2, TakeMarkAltZ, "", 1, 3},
      {"foo bar", 6, AltX, "", 5, 8},
      {"foo.bar", 1, AltX, "", 1, 4},
      {"foo.bar", 1, TakeMarkAltZ, "", 1, 3},
      {"foo bar", 4, TakeMarkAltZ, "", 1, 3},  // Alt+Z does not stretch to the cursor
      {"foo bar", 5, AltX, "", 5, 7, 7},       // a corner past the capacity comes back
      {"foo  bar", 5, AltX, "", 0, 0},
  };
  for (const TakeCase& c : cases) {
    TestEditor t;
    t->RightMargin = c.Margin;
    t.SetLines({c.Line, "next"});
    t->CurCol = int16_t(c.Col);
    std::string word = "stale";
    TakeWord(*t, word, c.Mode);
    const std::vector<int> rect{t->RectFirstLine, t->RectLastLine, t->RectFirstCol, t->RectLastCol};
    EXPECT_EQ(rect, (std::vector<int>{c.First ? 1 : 0, c.First ? 1 : 0, c.First, c.Last})) << c.Line << " col " << c.Col;
    EXPECT_EQ(word, c.Mode < 4 ? c.Word : "") << '"' << c.Line << "\" col " << c.Col << " mode " << c.Mode;
    EXPECT_EQ(t.Line(1), c.Line) << "only the copy is changed";
  }
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

  // A line of capacity 0 has no word.
  TestEditor z;
  z.SetLines({"x"});
  int16_t at = 2;
  InsertLine(*z, 0, at);
  z->CurLine = 2;
  word = "x";
  TakeWord(*z, word, 2);
  EXPECT_EQ(word, "");
}

}  // namespace
}  // namespace lumo

// The search's chunked scan against a plain one, and the replace's one-edit
// way against its definition: each match deleted and the replacement typed.
#include <gtest/gtest.h>

#include <random>

#include "TestEditor.h"
#include "app/Search.h"
#include "app/Typing.h"
#include "text/CaseMap.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"

namespace lumo {
namespace {

TEST(Search, ChunkedScanFindsTheFirstOccurrence) {
  std::mt19937 r(7);
  const std::string letters = "aAbB\xA0\x80\xF1\xF0 ";  // а А ё Ё and a blank
  auto pick = [&](size_t n) {
    std::string s;
    while (s.size() < n) s += letters[r() % letters.size()];
    return s;
  };
  for (int i = 0; i < 20000; ++i) {
    const std::string hay = pick(r() % 70), pat = pick(1 + r() % 4);
    const bool fold = r() % 2;
    std::string h = hay, p = pat;
    if (fold) {
      for (char& c : h) c = char(ToCapital(uint8_t(c)));
      for (char& c : p) c = char(ToCapital(uint8_t(c)));
    }
    const size_t want = h.find(p);
    ASSERT_EQ(FindIn(hay, p, fold), want == std::string::npos ? -1 : int(want)) << hay << " / " << pat;
  }
}

// The definition, step by step through the typing rules.
bool TypedReplace(Editor& e, const std::string& find, const std::string& repl) {
  int8_t exact = CaseExact;
  MoveToLine(e, 1);
  for (int col = 0, prev[2] = {0, 0}; FindText(e, find, e.CurLine, e.LineCount, col, false, exact) == Find::Found;) {
    if (prev[0] == e.CurLine && prev[1] == e.CurCol && !repl.empty()) break;
    prev[0] = e.CurLine, prev[1] = e.CurCol;
    const int line = e.CurLine, lines = e.LineCount;
    const LineEdit before = EditLine(e, line);
    LineEdit w = before;
    w.Erase(e.CurCol, int(find.size()));
    CommitLine(e, line, w);
    for (char c : repl) {
      TypeChar(e, uint8_t(c));
      // A refused character stops the replace, the match back whole when
      // no wrap has moved words yet.
      if (!e.OpFailed) continue;
      if (e.LineCount == lines && e.CurLine == line) CommitLine(e, line, before);
      return false;
    }
    col = e.CurCol - 1;
  }
  return true;
}

TEST(Search, ReplaceGivesWhatTypingGives) {
  std::mt19937 r(11);
  const char* words[] = {"a", "ab", "b", "aab", "ba"};
  const char* repls[] = {"", "x", "xyz", "a", "aa", "b b", "xxxxxxxx"};
  for (int i = 0; i < 3000; ++i) {
    std::vector<std::string> lines(1 + r() % 5);
    for (std::string& l : lines)
      for (int k = int(r() % 9); k > 0; --k) l += std::string(words[r() % 5]) + " ";
    test::TestEditor a, b;
    for (auto* t : {&a, &b}) {
      (*t)->RightMargin = (*t)->FormatWidth = uint8_t(8 + i % 20);
      (*t)->LengthLimit = i % 3 != 0;
      t->SetLines(lines);
    }
    const std::string find = r() % 2 ? "a" : "ab", repl = repls[r() % 7];
    ASSERT_EQ(ReplaceAll(*a, find, repl, false, CaseExact), TypedReplace(*b, find, repl)) << i;
    ASSERT_EQ(a->LineCount, b->LineCount) << i;
    for (int k = 1; k <= a->LineCount; ++k) ASSERT_EQ(a.Line(k), b.Line(k)) << i << " line " << k;
  }
}

}  // namespace
}  // namespace lumo

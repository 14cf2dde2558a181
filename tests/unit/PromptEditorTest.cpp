// The prompt line's search, replacement and macro-word questions: no command
// asks them yet (search and macros come later), so they are driven here with
// scripted keys. The editing keys every question shares are tested through
// F4's question in tests/cases. The console keeps row 2 as it was before each
// key, since the finished prompt clears the row again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AnswerKeys.h"
#include "screen/KeyNames.h"
#include "tools/PromptEditor.h"

namespace lumo {
namespace {

using test::TestEditor;

using namespace keys;

KeyCode Char(char c) { return uint8_t(c); }

struct Prompt {
  explicit Prompt(int w = 80) : Con(w, 25), T(w, 25) { T->Con = &Con; }
  // Runs one prompt on `start` with the keys; the answer is left in A.
  std::string Run(uint8_t mode, std::string_view start, std::vector<KeyCode> keys) {
    A.Set(start);
    Con.Keys.assign(keys.begin(), keys.end());
    Con.Prompts.clear();
    PromptEditor(*T, A, mode);
    return std::string(A.View());
  }
  std::string Title(size_t read) const { return Con.Prompts.at(read).substr(0, 27); }
  test::RecordingConsole Con;
  TestEditor T;
  Editor& E = *T;
  PromptText A;
};

TEST(PromptEditor, SearchAndReplaceOpenWithTheCurrentSlotAndEndOnEnterKeys) {
  Prompt p;
  p.E.PromptSlot[0] = "abc";
  EXPECT_EQ(p.Run(PromptSearch, "zzz", {Enter}), "abc");
  EXPECT_EQ(p.E.OpFailed, 0);
  EXPECT_EQ(p.E.PromptIndex, 0);  // an untouched answer is not stored again
  EXPECT_EQ(p.E.PromptSlot[1], "");
  EXPECT_EQ(p.Title(0), Cp("Введите строку для поиска: "));
  EXPECT_EQ(p.Con.Prompts[0].substr(27, 4), "abc ");
  p.Run(PromptReplace, "", {Enter});
  EXPECT_EQ(p.Title(0), Cp("Введите строку для замены: "));
  // The other questions leave the caller's title and never touch the ring.
  p.E.Con->At(2, 1) = MakeCell('Q', 7);
  EXPECT_EQ(p.Run(PromptOther, "own", {Char('n'), Enter}), "n");
  EXPECT_EQ(p.Con.Prompts[0][0], 'Q');
  EXPECT_EQ(p.E.PromptIndex, 0);
  // A caller's answer longer than the field shows only what fits.
  p.Run(PromptOther, std::string(200, 'y'), {Enter});
  EXPECT_EQ(p.Con.Text(3, 1, 5), "     ");
  EXPECT_EQ(p.A.Length, 200);
  // Shift+Enter (and Ctrl or Alt with Enter) ends a search as "from the
  // start", keeping the modifiers in the end key.
  p.Run(PromptReplace, "", {Shift(Enter)});
  EXPECT_EQ(p.E.PromptEndKey, KeyCode(Shift(Enter)));
  for (KeyCode k : {KeyCode(Shift(Enter)), KeyCode(Ctrl(Enter)), WithKind(Ctrl(Enter), 0x10), KeyCode(Alt(Enter)), KeyCode(Alt(KpEnter))}) {
    p.Run(PromptSearch, "", {k});
    EXPECT_EQ(p.E.OpFailed, 0) << KeyName(k);
    EXPECT_EQ(p.E.PromptEndKey, MakeKey('\r', FromStartScan, ShiftOf(k), KindOf(k))) << KeyName(k);
  }
}

TEST(PromptEditor, UpAndDownLoadTheRingUntouched) {
  Prompt p;
  p.E.PromptSlot[0] = "zero";
  p.E.PromptSlot[15] = "last";
  p.E.PromptSlot[1] = "one";
  EXPECT_EQ(p.Run(PromptSearch, "", {Up, Enter}), "last");
  EXPECT_EQ(p.E.PromptIndex, 15);
  EXPECT_EQ(p.Con.Prompts[1].substr(27, 5), "last ");
  EXPECT_EQ(p.Title(1), Cp("Введите строку для поиска: "));
  EXPECT_EQ(p.Run(PromptSearch, "", {Down, Down, Enter}), "one");
  EXPECT_EQ(p.Run(PromptReplace, "", {PgUp, Enter}), "zero");
  EXPECT_EQ(p.Run(PromptReplace, "", {F7, PgDn, PgDn, Enter}), "one");
  EXPECT_EQ(p.E.PromptIndex, 1);
  // A loaded answer is untouched even after editing the one before it.
  EXPECT_EQ(p.Run(PromptSearch, "", {Char('q'), Up, Char('x'), Enter}), "x");
}

TEST(PromptEditor, TouchedAnswersAreStoredEvenOnCancel) {
  Prompt p;
  p.E.PromptSlot[0] = "old";
  p.Run(PromptSearch, "", {Char('n'), Char('e'), Char('w'), Esc});
  EXPECT_EQ(p.E.OpFailed, 1);
  EXPECT_EQ(p.E.PromptIndex, 1);
  EXPECT_EQ(p.E.PromptSlot[1], "new");
  EXPECT_EQ(p.E.PromptSlot[0], "old");
  // Touched but unchanged is stored too: Home counts as touching.
  p.Run(PromptReplace, "", {Home, Enter});
  EXPECT_EQ(p.E.PromptIndex, 2);
  EXPECT_EQ(p.E.PromptSlot[2], "new");
  // Stored slots are cut to 53 bytes.
  Prompt wide(132);
  wide.Run(PromptSearch, "", std::vector<KeyCode>(100, Char('w')));
  EXPECT_EQ(wide.E.PromptSlot[1], std::string(53, 'w'));
}

TEST(PromptEditor, StoreRuleFillsTheRingThenWritesBeforeTheCurrentSlot) {
  TestEditor t;
  Editor& e = *t;
  for (int i = 0; i < 16; ++i) StorePromptAnswer(e, "s" + std::to_string(i));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(e.PromptSlot[(i + 1) & 15], "s" + std::to_string(i));
  EXPECT_EQ(e.PromptIndex, 0);
  StorePromptAnswer(e, "seventeenth");
  EXPECT_EQ(e.PromptIndex, 15);
  EXPECT_EQ(e.PromptSlot[0], "s15");
  // An empty slot further on is taken before the wrap.
  e.PromptSlot[3].clear();
  StorePromptAnswer(e, "gap");
  EXPECT_EQ(e.PromptIndex, 3);
  EXPECT_EQ(e.PromptSlot[3], "gap");
}

TEST(PromptEditor, MacroWordModeTakesThePartOfTheWordAtTheCursor) {
  Prompt p;
  p.T.SetLines({"aa.bb.cc"});
  p.E.CurCol = 5;
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Enter}), "bb");
  EXPECT_EQ(p.Title(0), Cp("        Слово для макроса: "));
  p.E.CurCol = 3;  // on the first dot
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Enter}), "aa");
  p.E.CurCol = 8;
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Enter}), "cc");
  // Touched from the start: typing inserts; no history is kept.
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Char('x'), Up, Char('y'), Enter}), "y");
  EXPECT_EQ(p.Run(PromptMacroWord, "", {Char('x'), Enter}), "xcc");
  EXPECT_EQ(p.E.PromptSlot[1], "");
}

}  // namespace
}  // namespace lumo

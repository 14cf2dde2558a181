// The key dispatch: keys without a row take the Alt fallback, the macro keys
// or the typing path.
#include <gtest/gtest.h>

#include <string>

#include "TestEditor.h"
#include "app/KeyTable.h"
#include "app/MainLoop.h"
#include "screen/KeyDecoder.h"

namespace lumo {
namespace {

using test::TestEditor;

struct DispatchTest : ::testing::Test {
  TestEditor T;
  void SetUp() override { T.SetLines({"abc", "def"}); }
  Editor& E() { return *T; }
  // The key as the loop would see it after the read.
  Reentry Press(KeyCode raw) {
    E().RawShift = uint8_t(raw >> 16);
    return HandleKey(E(), NormaliseShift(raw));
  }
};

TEST_F(DispatchTest, UnboundKeysAreTyped) {
  Press(0x0202FF28);  // Shift+PgDn
  EXPECT_EQ(T.Line(1), "(abc");
  Press(0x0204FF08);  // Ctrl+F8
  EXPECT_EQ(T.Line(1), "(\x08" "abc");
  Press(0x00001E61);  // a
  EXPECT_EQ(T.Line(1), "(\x08" "aabc");
  EXPECT_EQ(E().CurCol, 4);
}

TEST_F(DispatchTest, CtrlLettersTypeTheirControlCharacters) {
  Press(0x00041117);  // Ctrl+W
  Press(0x0004240A);  // Ctrl+J
  Press(0x00041A1B);  // Ctrl+[
  Press(0x00043920);  // Ctrl+Space
  Press(0x00042B1C);  // Ctrl+\ key
  EXPECT_EQ(T.Line(1), "\x17\x0A\x1B \\abc");
  E().ProgramTextMode = true;
  Press(0x00041205);  // Ctrl+E: the template comes later, the character now
  EXPECT_EQ(T.Line(1), "\x17\x0A\x1B \\\x05" "abc");
}

TEST_F(DispatchTest, LengthLimitKeys) {
  // Four keys toggle the length limit; each one must flip it, and the redraw
  // point is where the idle row shows it.
  for (KeyCode k : {0x00031C0Du, 0x0003E00Du, 0x0203FF29u, 0x0203FF2Au}) {
    const bool before = E().LengthLimit;
    EXPECT_EQ(Press(k), Reentry::Redraw) << KeyName(k);
    EXPECT_NE(E().LengthLimit, before) << KeyName(k);
  }
}

TEST_F(DispatchTest, AltFallbackTypesLatinByScanCode) {
  E().RusMode = true;  // the fallback must bypass the Russian table
  Press(0x030B2100);   // Alt+Shift+F, raw Shift 3
  Press(0x03081500);   // Alt+Y (no row)
  Press(0x03081A00);   // Alt+[
  Press(0x030B1A00);   // Alt+Shift+[
  Press(0x030B2800);   // Alt+Shift+'
  Press(0x03083400);   // Alt+.
  Press(0x030B7900);   // Alt+Shift+2
  Press(0x030B7E00);   // Alt+Shift+7
  EXPECT_EQ(T.Line(1), "Fy[{\".@&abc");
}

TEST_F(DispatchTest, AltLetterCaseFollowsTheRawShiftBit) {
  // Shift reported as 1 is normalised to 2, but the letter stays small: only
  // raw bit 2 makes a capital.
  E().RawShift = 0x09;
  HandleKey(E(), 0x030B1800);  // Alt+Shift+O with raw state 9
  E().RawShift = 0x0A;
  HandleKey(E(), 0x030B1800);
  EXPECT_EQ(T.Line(1), "oOabc");
}

TEST_F(DispatchTest, BoundAltKeysAreNotTyped) {
  Press(0x03082100);  // Alt+F: fill, a later command
  EXPECT_EQ(T.Line(1), "abc");
  Press(0x03081400);  // Alt+T outside program texts: the Latin letter
  EXPECT_EQ(T.Line(1), "tabc");
  E().ProgramTextMode = true;
  Press(0x03081400);
  EXPECT_EQ(T.Line(1), "tabc");
}

TEST_F(DispatchTest, AltFunctionKeys) {
  Press(0x0208FF02);  // Alt+F2: later (save and run)
  Press(0x00083920);  // Alt+Space: later (completion list)
  Press(0x03082B00);  // Alt+\ key: later (append to the list)
  EXPECT_EQ(T.Line(1), "abc");
  Press(0x0208FF0A);  // Alt+F10 types byte 0
  EXPECT_EQ(LineBytes(E(), 1).substr(0, 4), std::string_view("\0abc", 4));
}

TEST_F(DispatchTest, KeyCodeDisplayTypesTheNextKey) {
  T.Con.Keys = {0x0000011B};
  Press(0x030C0F00);
  EXPECT_EQ(T.Line(1), "0000011Babc");
  // The shift state typed is the normalised one.
  T.Con.Keys = {0x0203FF21};
  Press(0x030C0F00);
  EXPECT_EQ(T.Line(1), "0000011B0202FF21abc");
}

TEST_F(DispatchTest, MacroKeys) {
  // The "no such macro" message waits for a key; the other cases show nothing.
  Press(0x030C1E00);  // Ctrl+Alt+A: no macro is defined
  EXPECT_GT(T.Con.WaitedMs, 0);
  const long waited = T.Con.WaitedMs;
  Press(0x030F1E00);  // Ctrl+Alt+Shift+A would define one: nothing yet
  E().MacrosOn = false;
  Press(0x030C1E00);
  Press(0x020CFF05);  // Ctrl+Alt+F5
  EXPECT_EQ(T.Con.WaitedMs, waited);
  EXPECT_EQ(T.Line(1), "abc");
}

TEST_F(DispatchTest, QuitAtOnceSkipsTheExitQuestion) {
  E().Modified = true;
  E().ExitCode = 2;
  Press(0x030C0E00);
  EXPECT_TRUE(E().Quit);
  EXPECT_EQ(E().ExitCode, 0);
  EXPECT_EQ(T.Con.KeysRead, 0);
}

TEST_F(DispatchTest, EscUnmarksBeforeItLeaves) {
  E().BlockFirst = 1;
  E().BlockLast = 2;
  Press(0x0000011B);
  EXPECT_EQ(E().BlockFirst, 0);
  EXPECT_EQ(E().BlockLast, 0);
  EXPECT_FALSE(E().Quit);
  E().RectFirstLine = E().RectLastLine = 2;
  E().RectFirstCol = 1;
  E().RectLastCol = 3;
  Press(0x0000011B);
  EXPECT_EQ(E().RectFirstLine, 0);
  EXPECT_EQ(E().RectLastCol, 0);
  EXPECT_FALSE(E().Quit);
  Press(0x0000011B);  // nothing marked, text unchanged: ends without a question
  EXPECT_TRUE(E().Quit);
  EXPECT_EQ(T.Con.KeysRead, 0);
}

}  // namespace
}  // namespace lumo

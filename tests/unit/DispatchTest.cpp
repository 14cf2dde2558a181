// The key dispatch: every bound key value reaches its command, the keys of
// commands still to come do nothing, and keys without a row take the Alt
// fallback, the macro keys or the typing path.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "TestEditor.h"
#include "app/KeyTable.h"
#include "app/MainLoop.h"
#include "screen/KeyDecoder.h"

namespace lumo {
namespace {

using test::TestEditor;

struct Expected {
  KeyCode Value;
  const char* Label;
};

// Every key of the dispatch tables with the command it must reach. Written
// from the key tables, not from KeyTable.cpp: a value missing there, entered
// twice or bound to another command fails below.
const Expected AllKeys[] = {
  // Keys with a character.
  {0x0000011B, "cancel, unmark or exit"},                    // Esc
  {0x00000E08, "delete left"},                               // Backspace
  {0x00000F09, "next tab stop"},                             // Tab
  {0x00001C0D, "next line"},                                 // Enter
  {0x00002B5C, "completion"},                                // \ key
  {0x00003920, "abbreviation or blank"},                     // Space
  {0x0000E00D, "next line at column mark"},                  // keypad Enter
  {0x00021C0D, "toggle length limit"},                       // Shift+Enter
  {0x0002E00D, "toggle length limit"},                       // Shift+keypad Enter
  {0x00040E7F, "delete word left"},                          // Ctrl+Backspace
  {0x00041011, "search marker text"},                        // Ctrl+Q
  {0x00041117, "template or control character"},             // Ctrl+W
  {0x00041205, "template or control character"},             // Ctrl+E
  {0x00041312, "template, align right or control character"}, // Ctrl+R
  {0x00041414, "template then/the"},                         // Ctrl+T
  {0x00041519, "delete line"},                               // Ctrl+Y
  {0x00041615, "template or control character"},             // Ctrl+U
  {0x00041709, "template or control character"},             // Ctrl+I
  {0x00041910, "template or control character"},             // Ctrl+P
  {0x00041A1B, "template or control character"},             // Ctrl+[
  {0x00041B1D, "template or control character"},             // Ctrl+]
  {0x00041C0A, "repeat search"},                             // Ctrl+Enter
  {0x00041E01, "template or mark whole text"},               // Ctrl+A
  {0x00041F13, "template or control character"},             // Ctrl+S
  {0x00042004, "template or control character"},             // Ctrl+D
  {0x00042106, "template or format ragged"},                 // Ctrl+F
  {0x00042207, "template or control character"},             // Ctrl+G
  {0x00042308, "template or control character"},             // Ctrl+H
  {0x0004240A, "template or control character"},             // Ctrl+J
  {0x0004250B, "delete to end of line"},                     // Ctrl+K
  {0x0004260C, "align to left margin"},                      // Ctrl+L
  {0x00042B1C, "type backslash"},                            // Ctrl+\ key
  {0x00042C1A, "new search"},                                // Ctrl+Z
  {0x00042D18, "cut block to clipboard"},                    // Ctrl+X
  {0x00042E03, "copy block to clipboard"},                   // Ctrl+C
  {0x00042F16, "paste from clipboard"},                      // Ctrl+V
  {0x00043002, "template or control character"},             // Ctrl+B
  {0x0004310E, "template End;/and"},                         // Ctrl+N
  {0x00043920, "template := or blank"},                      // Ctrl+Space
  {0x00072106, "format justified"},                          // Ctrl+Shift+F
  {0x0008352F, "show block"},                                // Alt+/ with its character
  // Function and cursor keys.
  {0x0200FF01, "help"},                                      // F1
  {0x0200FF02, "save"},                                      // F2
  {0x0200FF03, "add empty line"},                            // F3
  {0x0200FF04, "go to line number"},                         // F4
  {0x0200FF05, "line to top"},                               // F5
  {0x0200FF06, "replace"},                                   // F6
  {0x0200FF07, "search ignoring case"},                      // F7
  {0x0200FF08, "duplicate line"},                            // F8
  {0x0200FF09, "replay keystrokes"},                         // F9
  {0x0200FF0A, "main menu"},                                 // F10
  {0x0200FF0B, "recode"},                                    // F11
  {0x0200FF0C, "next bookmarked line"},                      // F12
  {0x0200FF20, "home"},                                      // Home
  {0x0200FF21, "line up"},                                   // Up
  {0x0200FF27, "line down"},                                 // Down
  {0x0200FF22, "page up"},                                   // PgUp
  {0x0200FF28, "page down"},                                 // PgDn
  {0x0200FF23, "column left"},                               // Left
  {0x0200FF25, "column right"},                              // Right
  {0x0200FF26, "end of text"},                               // End
  {0x0200FF29, "toggle insert mode"},                        // Ins
  {0x0200FF2A, "delete character or block"},                 // Del
  {0x0202FF01, "take file"},                                 // Shift+F1
  {0x0202FF02, "write block to file"},                       // Shift+F2
  {0x0202FF03, "block Latin to Cyrillic keys"},              // Shift+F3
  {0x0202FF04, "block Cyrillic to Latin keys"},              // Shift+F4
  {0x0202FF05, "block to capitals"},                         // Shift+F5
  {0x0202FF06, "block to small letters"},                    // Shift+F6
  {0x0202FF07, "search respecting case"},                    // Shift+F7
  {0x0202FF09, "record keystrokes"},                         // Shift+F9
  {0x0202FF0A, "restore line before episode"},               // Shift+F10
  {0x0202FF20, "window top or bottom"},                      // Shift+Home
  {0x0202FF21, "line up extending block"},                   // Shift+Up
  {0x0202FF27, "line down extending block"},                 // Shift+Down
  {0x0202FF23, "column left extending rectangle"},           // Shift+Left
  {0x0202FF25, "column right extending rectangle"},          // Shift+Right
  {0x0202FF26, "rectangle to end of line"},                  // Shift+End
  {0x0202FF29, "toggle length limit"},                       // Shift+Ins
  {0x0202FF2A, "toggle length limit"},                       // Shift+Del
  {0x0204FF01, "undo take file"},                            // Ctrl+F1
  {0x0204FF02, "save as"},                                   // Ctrl+F2
  {0x0204FF03, "get back"},                                  // Ctrl+F3
  {0x0204FF04, "edit other file"},                           // Ctrl+F4
  {0x0204FF05, "character to capital"},                      // Ctrl+F5
  {0x0204FF06, "character to small letter"},                 // Ctrl+F6
  {0x0204FF07, "search upward ignoring case"},               // Ctrl+F7
  {0x0204FF09, "read keystroke file"},                       // Ctrl+F9
  {0x0204FF0A, "colours"},                                   // Ctrl+F10
  {0x0204FF0C, "toggle bookmark"},                           // Ctrl+F12
  {0x0204FF20, "first line"},                                // Ctrl+Home
  {0x0204FF26, "last line"},                                 // Ctrl+End
  {0x0204FF21, "8 lines up"},                                // Ctrl+Up
  {0x0204FF27, "8 lines down"},                              // Ctrl+Down
  {0x0204FF22, "scroll text up"},                            // Ctrl+PgUp
  {0x0204FF28, "scroll text down"},                          // Ctrl+PgDn
  {0x0204FF23, "word left"},                                 // Ctrl+Left
  {0x0204FF25, "word right"},                                // Ctrl+Right
  {0x0204FF29, "shift block right"},                         // Ctrl+Ins
  {0x0204FF2A, "shift block left"},                          // Ctrl+Del
  {0x0207FF05, "word to capital"},                           // Ctrl+Shift+F5
  {0x0207FF06, "word to small letter"},                      // Ctrl+Shift+F6
  {0x0207FF07, "search upward respecting case"},             // Ctrl+Shift+F7
  {0x0207FF08, "replace by file pairs"},                     // Ctrl+Shift+F8
  {0x0207FF09, "write keystroke file"},                      // Ctrl+Shift+F9
  {0x0207FF21, "8 lines up extending block"},                // Ctrl+Shift+Up
  {0x0207FF27, "8 lines down extending block"},              // Ctrl+Shift+Down
  {0x0207FF23, "word left extending block"},                 // Ctrl+Shift+Left
  {0x0207FF25, "word right extending block"},                // Ctrl+Shift+Right
  {0x0208FF03, "toggle Russian mode"},                       // Alt+F3
  {0x0208FF21, "4 lines up"},                                // Alt+Up
  {0x0208FF27, "4 lines down"},                              // Alt+Down
  {0x0208FF23, "word-wise left"},                            // Alt+Left
  {0x0208FF25, "word-wise right"},                           // Alt+Right
  {0x020BFF21, "4 lines up extending block"},                // Alt+Shift+Up
  {0x020BFF27, "4 lines down extending block"},              // Alt+Shift+Down
  // Keys known by their scan code.
  {0x03020F00, "previous tab stop"},                         // Shift+Tab
  {0x03049000, "toggle pseudographics"},                     // Ctrl+keypad +
  {0x03049400, "window top or bottom"},                      // Ctrl+Tab
  {0x03080D00, "to column mark"},                            // Alt+=
  {0x03088200, "set column mark"},                           // Alt+-
  {0x03080E00, "undo last change"},                          // Alt+Backspace
  {0x03081000, "block sum"},                                 // Alt+Q
  {0x03081100, "delete word"},                               // Alt+W
  {0x03081200, "rectangle to end of line"},                  // Alt+E
  {0x03081300, "restore from history"},                      // Alt+R
  {0x03081400, "template String"},                           // Alt+T
  {0x03081600, "unmark blocks"},                             // Alt+U
  {0x03081C00, "repeat search"},                             // Alt+Enter
  {0x0308A600, "repeat search"},                             // Alt+keypad Enter
  {0x03081E00, "align at cursor"},                           // Alt+A
  {0x03081F00, "split line"},                                // Alt+S
  {0x03082100, "fill block"},                                // Alt+F
  {0x03082200, "delete block"},                              // Alt+G
  {0x03082300, "help"},                                      // Alt+H
  {0x03082400, "join lines"},                                // Alt+J
  {0x03082E00, "copy block and unmark"},                     // Alt+C
  {0x03082500, "copy block"},                                // Alt+K
  {0x03082600, "mark line block"},                           // Alt+L
  {0x03082C00, "rectangle word"},                            // Alt+Z
  {0x03082D00, "rectangle word"},                            // Alt+X
  {0x03082F00, "rectangle word"},                            // Alt+V
  {0x03083000, "rectangle corner"},                          // Alt+B
  {0x03083100, "rectangle whole line"},                      // Alt+N
  {0x03083200, "move block"},                                // Alt+M
  {0x03083500, "show block"},                                // Alt+/
  {0x03087800, "set line mark 1"},                           // Alt+1
  {0x03087900, "set line mark 2"},                           // Alt+2
  {0x03087A00, "set line mark 3"},                           // Alt+3
  {0x03087B00, "go to line mark 1"},                         // Alt+4
  {0x03087C00, "go to line mark 2"},                         // Alt+5
  {0x03087D00, "go to line mark 3"},                         // Alt+6
  {0x03087E00, "set position mark 1"},                       // Alt+7
  {0x03087F00, "set position mark 2"},                       // Alt+8
  {0x03088000, "go to position mark 1"},                     // Alt+9
  {0x03088100, "go to position mark 2"},                     // Alt+0
  // The Ctrl+Alt keys before the macro keys.
  {0x030C0F00, "key code display"},                          // Ctrl+Alt+Tab
  {0x030DA500, "extend tabs"},                               // Ctrl+Alt+Shift+Tab
  {0x030EA500, "extend tabs"},                               // Ctrl+Alt+Shift+Tab
  {0x030C0E00, "quit at once"},                              // Ctrl+Alt+Backspace
};

// The keys whose commands exist now.
const std::set<KeyCode> Working = {
    0x0000011B, 0x00003920, 0x00021C0D, 0x0002E00D, 0x00041117, 0x00041205, 0x00041312, 0x00041615,
    0x00041709, 0x00041910, 0x00041A1B, 0x00041B1D, 0x00041F13, 0x00042004, 0x00042207, 0x00042308,
    0x0004240A, 0x00042B1C, 0x00043002, 0x00043920, 0x0200FF02, 0x0200FF29, 0x0202FF0A, 0x0202FF29,
    0x0202FF2A, 0x0204FF01, 0x0208FF03, 0x03049000, 0x03080E00, 0x03081300, 0x03081400, 0x03081600,
    0x030C0F00, 0x030C0E00,
    0x0202FF01, 0x0204FF02,
    0x00000E08, 0x00001C0D, 0x0000E00D, 0x00040E7F, 0x00041519, 0x0004250B, 0x0200FF03, 0x0200FF08,
    0x0200FF2A, 0x03081100, 0x03081F00, 0x03082400,
    0x00000F09, 0x0200FF04, 0x0200FF05, 0x0200FF20, 0x0200FF21, 0x0200FF22, 0x0200FF23, 0x0200FF25,
    0x0200FF26, 0x0200FF27, 0x0200FF28, 0x0202FF20, 0x0202FF21, 0x0202FF27, 0x0204FF03, 0x0204FF20,
    0x0204FF21, 0x0204FF22, 0x0204FF23, 0x0204FF25, 0x0204FF26, 0x0204FF27, 0x0204FF28, 0x0207FF21,
    0x0207FF23, 0x0207FF25, 0x0207FF27, 0x0208FF21, 0x0208FF23, 0x0208FF25, 0x0208FF27, 0x020BFF21,
    0x020BFF27, 0x03020F00, 0x03049400,
};

TEST(KeyTable, EveryKeyReachesItsCommand) {
  for (const Expected& k : AllKeys) {
    const KeyBinding* row = FindBinding(k.Value);
    ASSERT_NE(row, nullptr) << KeyName(k.Value);
    EXPECT_STREQ(row->Label, k.Label) << KeyName(k.Value);
    EXPECT_EQ(row->Proc != nullptr, Working.count(k.Value) == 1) << KeyName(k.Value);
  }
  // Nothing is bound that the tables do not name.
  EXPECT_EQ(KeyBindings().size(), std::size(AllKeys));
}

TEST(KeyTable, ValuesAreUniqueAndOneCommandHasOneProcedure) {
  std::set<KeyCode> seen;
  std::map<std::string, Command> byLabel;
  for (const KeyBinding& row : KeyBindings()) {
    EXPECT_TRUE(seen.insert(row.Value).second) << KeyName(row.Value);
    auto [it, fresh] = byLabel.emplace(row.Label, row.Proc);
    if (!fresh) {
      EXPECT_EQ(it->second, row.Proc) << row.Label;
    }
  }
}

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

TEST_F(DispatchTest, ReservedKeysDoNothing) {
  // Cursor keys, deletions and the menu are rows without a procedure yet: the
  // keys must not fall through to typing.
  for (KeyCode k : {0x0202FF23u, 0x0200FF0Au, 0x03081000u, 0x00002B5Cu,
                    0x030DA500u}) {
    EXPECT_EQ(Press(k), Reentry::Read) << KeyName(k);
    EXPECT_EQ(T.Line(1), "abc") << KeyName(k);
    EXPECT_EQ(E().CurCol, 1) << KeyName(k);
  }
  EXPECT_FALSE(E().Modified);
}

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

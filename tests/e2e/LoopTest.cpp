// The command loop seen from the terminal: what the key forms of real
// terminals decode to, through the key-code display.
#include "EditorFixture.h"

namespace lumo::e2e {
namespace {

class LoopTest : public EditorTest {};

// Ctrl+Alt+Tab, then one key: its value is typed as eight hex digits, kind,
// shift state, scan code, character. One key of each form: a lone Esc, SS3,
// UTF-8, CSI 27 (modifyOtherKeys, which the editor asks xterm for), CSI u
// (kitty), the tilde and letter forms with modifiers, ESC-prefixed Alt.
TEST_F(LoopTest, CtrlAltTabTypesTheNextKeysValue) {
  const struct { const char* Name; std::string Bytes; const char* Shown; } cases[] = {
      {"Esc", "\x1b", "0000011B"},
      {"KeypadEnter", "\x1bOM", "0000E00D"},
      {"CyrillicShortI", "й", "000010A9"},  // the Q key of the Russian layout
      {"CtrlYModifyOtherKeys", "\x1b[27;5;121~", "00041519"},
      {"CtrlShiftFKitty", "\x1b[102;6u", "00072106"},
      {"ShiftF10", "\x1b[21;2~", "0202FF0A"},
      {"AltShiftUp", "\x1b[1;4A", "020BFF21"},
      {"AltR", "\x1br", "03081300"},
      {"ShiftTab", "\x1b[Z", "03020F00"},
  };
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  std::string shown;
  bool kitty = false;
  for (const auto& c : cases) {
    // Ctrl+Alt+Tab itself as xterm and as the kitty protocol send it.
    S.Send(kitty ? "\x1b[9;7u" : "\x1b[27;7;9~");
    kitty = !kitty;
    S.Pump(Ms{50});
    S.Send(c.Bytes);
    shown += c.Shown;
    // Typed through the typing path, so inserted before "abc"; the key itself
    // runs no command (Esc does not leave, Ctrl+Y deletes nothing).
    ASSERT_EQ(S.WaitScreen({{3, 1, shown + "abc "}, {1, 43, "size=1 "}}), "") << c.Name;
  }
  EXPECT_TRUE(S.Running());
}

}  // namespace
}  // namespace lumo::e2e

// The data behind the key decoder. A decoded key is first a physical PC key
// (PcKey) with a set of modifiers; the PC key table (PcKeys.h) then gives the
// BIOS scan code and character for that modifier set, exactly as a PC
// keyboard reports them. The sequence tables below only say which PC key a
// terminal sequence names, so every terminal family meets the same scan-code
// rows.
#pragma once
#include <cstddef>
#include <cstdint>

#include "screen/PcKeys.h"

namespace lumo {

// The US-layout key that types an ASCII character, and whether it needs Shift.
struct TypedBy {
  PcKey Key = PcKey::None;
  bool Shifted = false;
};
TypedBy KeyForAscii(uint8_t ch);
// The Russian-layout (JCUKEN) key of a Cyrillic letter, lower or upper case.
TypedBy KeyForCyrillic(uint32_t cp);
// The other case of a Cyrillic letter (0 when cp is not one).
uint32_t CyrillicUpper(uint32_t cp);

// A sequence's meaning: a PC key, the modifiers the sequence itself implies
// (the Linux console's Shift+F3 = CSI 25~), and for keypad digits typed with
// NumLock on, the character they give.
struct SeqKey {
  PcKey Key = PcKey::None;
  uint8_t Mods = 0;
  uint8_t Ch = 0;
};

// CSI <n> ~  (vt220 editing keys and function keys)
SeqKey TildeKey(uint32_t n);
// CSI <final> and SS3 <final>; ss3 selects the keypad-application finals.
SeqKey FinalKey(uint8_t final, bool ss3);
// Code points of the kitty protocol's functional keys (57344..), and the key
// numbers tmux 3.3a leaks for keypad keys with extended keys on.
SeqKey FunctionalKey(uint32_t code);
// Kitty's modifier-key and lock-key codes: their press reports give no key.
bool IsModifierKeyCode(uint32_t code);

}  // namespace lumo

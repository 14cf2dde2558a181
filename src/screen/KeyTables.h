// The data behind the key decoder. A decoded key is first a physical PC key
// (PcKey) with a set of modifiers; the PC key table then gives the BIOS scan
// code and character for that modifier set, exactly as a PC keyboard reports
// them. The sequence tables below only say which PC key a terminal sequence
// names, so every terminal family meets the same scan-code rows.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lumo {

// Physical keys of a PC/AT keyboard with the US layout. Kp0..Kp9 and KpDot
// are the keypad keys in their NumLock-off role (cursor keys that type the
// digit with Shift).
enum class PcKey : uint8_t {
  None,
  Esc, D1, D2, D3, D4, D5, D6, D7, D8, D9, D0, Minus, Equals, Backspace,
  Tab, Q, W, E, R, T, Y, U, I, O, P, LBracket, RBracket, Enter,
  A, S, D, F, G, H, J, K, L, Semicolon, Quote, Backquote, Backslash,
  Z, X, C, V, B, N, M, Comma, Period, Slash, Space,
  F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
  Home, Up, PgUp, Left, Right, End, Down, PgDn, Ins, Del,
  Kp7, Kp8, Kp9, Kp4, Kp5, Kp6, Kp1, Kp2, Kp3, Kp0, KpDot,
  KpMinus, KpPlus, KpStar, KpSlash, KpEnter,
  Count
};

// Modifier bits as the decoder carries them (the PC shift byte's own bits).
inline constexpr uint8_t ModShift = 3;
inline constexpr uint8_t ModCtrl = 4;
inline constexpr uint8_t ModAlt = 8;

// One physical key: its BIOS scan code under each modifier column and the
// character it gives. A character 0 means the key gives none in that column.
struct PcKeyRow {
  const char* Name;
  uint8_t Plain, Shift, Ctrl, Alt, CtrlAlt;  // scan codes
  uint8_t Ch, ShiftCh, CtrlCh, AltCh;        // characters (code page 866 = ASCII here)
};

const PcKeyRow& KeyRow(PcKey k);
// The function number a scan code translates to (F1..F12 = 1..12, Home 0x20 ..
// Del 0x2A), or 0 for a scan code that stays as it is.
uint8_t FunctionNumber(uint8_t scan);

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

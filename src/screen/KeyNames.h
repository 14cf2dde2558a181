// Key values by name. In code a key is built from the PC key and the
// modifiers held, Ctrl(Y), Alt(F3), Shift(PgDn), Ctrl(Alt(Tab)), through the
// same table and translation the decoder uses, so a name is the value that
// key arrives as and a key compared against can never drift from the
// keyboard. In text (README, tests, key and macro files, menu hints) a key is
// spelt as the user presses it, "Ctrl+Y", "Shift+keypad Enter", "a", "Ф":
// KeyLabel writes that spelling and ParseKeyName reads it back.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "screen/Console.h"
#include "screen/PcKeys.h"

namespace lumo {

namespace keys {

// A PC key with the modifiers held, and the character it types where that is
// not the US layout's (a Cyrillic letter, a keypad digit with NumLock on).
// It converts to its key value wherever one is expected.
struct Chord {
  PcKey Key = PcKey::None;
  uint8_t Mods = 0;
  uint8_t Ch = 0;
  constexpr operator KeyCode() const { return NormaliseShift(PcKeyValue(Key, Mods, Ch)); }
};

constexpr Chord Ctrl(Chord c) { return {c.Key, uint8_t(c.Mods | ModCtrl), c.Ch}; }
constexpr Chord Alt(Chord c) { return {c.Key, uint8_t(c.Mods | ModAlt), c.Ch}; }
constexpr Chord Shift(Chord c) { return {c.Key, uint8_t(c.Mods | ModShift), c.Ch}; }
// A keypad digit or dot with NumLock on: it types its character.
constexpr Chord NumLock(Chord c) { return {c.Key, c.Mods, KeyRow(c.Key).ShiftCh}; }

inline constexpr Chord
    Esc{PcKey::Esc}, D1{PcKey::D1}, D2{PcKey::D2}, D3{PcKey::D3}, D4{PcKey::D4}, D5{PcKey::D5},
    D6{PcKey::D6}, D7{PcKey::D7}, D8{PcKey::D8}, D9{PcKey::D9}, D0{PcKey::D0},
    Minus{PcKey::Minus}, Equals{PcKey::Equals}, Backspace{PcKey::Backspace},
    Tab{PcKey::Tab}, Q{PcKey::Q}, W{PcKey::W}, E{PcKey::E}, R{PcKey::R}, T{PcKey::T},
    Y{PcKey::Y}, U{PcKey::U}, I{PcKey::I}, O{PcKey::O}, P{PcKey::P},
    LBracket{PcKey::LBracket}, RBracket{PcKey::RBracket}, Enter{PcKey::Enter},
    A{PcKey::A}, S{PcKey::S}, D{PcKey::D}, F{PcKey::F}, G{PcKey::G}, H{PcKey::H},
    J{PcKey::J}, K{PcKey::K}, L{PcKey::L}, Semicolon{PcKey::Semicolon}, Quote{PcKey::Quote},
    Backquote{PcKey::Backquote}, Backslash{PcKey::Backslash},
    Z{PcKey::Z}, X{PcKey::X}, C{PcKey::C}, V{PcKey::V}, B{PcKey::B}, N{PcKey::N}, M{PcKey::M},
    Comma{PcKey::Comma}, Period{PcKey::Period}, Slash{PcKey::Slash}, Space{PcKey::Space},
    F1{PcKey::F1}, F2{PcKey::F2}, F3{PcKey::F3}, F4{PcKey::F4}, F5{PcKey::F5}, F6{PcKey::F6},
    F7{PcKey::F7}, F8{PcKey::F8}, F9{PcKey::F9}, F10{PcKey::F10}, F11{PcKey::F11},
    F12{PcKey::F12},
    Home{PcKey::Home}, Up{PcKey::Up}, PgUp{PcKey::PgUp}, Left{PcKey::Left},
    Right{PcKey::Right}, End{PcKey::End}, Down{PcKey::Down}, PgDn{PcKey::PgDn},
    Ins{PcKey::Ins}, Del{PcKey::Del},
    Kp7{PcKey::Kp7}, Kp8{PcKey::Kp8}, Kp9{PcKey::Kp9}, Kp4{PcKey::Kp4}, Kp5{PcKey::Kp5},
    Kp6{PcKey::Kp6}, Kp1{PcKey::Kp1}, Kp2{PcKey::Kp2}, Kp3{PcKey::Kp3}, Kp0{PcKey::Kp0},
    KpDot{PcKey::KpDot}, KpMinus{PcKey::KpMinus}, KpPlus{PcKey::KpPlus},
    KpStar{PcKey::KpStar}, KpSlash{PcKey::KpSlash}, KpEnter{PcKey::KpEnter};

// A paste from the terminal, whatever its text (Console::TakePaste).
inline constexpr KeyCode Paste = MakeKey(0, 0, 0, KindPaste);

// Values that no modifier column gives, which key tables bind all the same.
// Ctrl+Alt+Shift+Tab with the left Shift bit (the decoder reports the right).
inline constexpr KeyCode CtrlAltLeftShiftTab =
    TranslateKey(0, ExtendTabsScan, ModCtrl | ModAlt | ModLeftShift);
// A key reported with a character its column lacks (Alt+/ from some keyboards).
constexpr KeyCode WithChar(Chord c, uint8_t ch) {
  return NormaliseShift(TranslateKey(ch, ColumnScan(c.Key, c.Mods), c.Mods));
}
// A key value under another kind byte, as older key tables write some keys.
constexpr KeyCode WithKind(KeyCode k, uint8_t kind) {
  return MakeKey(CharOf(k), ScanOf(k), ShiftOf(k), kind);
}
// Character and scan code without the modifiers: a key in any combination.
constexpr uint16_t CharAndScan(KeyCode k) { return uint16_t(k); }

}  // namespace keys

// The key a spelling names: the key_name spellings of the measured key list,
// with an optional note in brackets after the name ("Ctrl+ф (Russian layout,
// Ctrl+A)"). Modifiers Ctrl+ Alt+ Shift+ come first; then a key of the PC key
// table by its name ("F3", "keypad Enter", "[") or a character, which names
// the key typing it ("a", "!", "Ф"). A bare character always means the
// character: "A" is Shift+A. "0x" and eight hex digits name any value.
std::optional<KeyCode> ParseKeyName(std::string_view name);
// The spelling a menu hint shows: "Ctrl+Y", "Alt+Shift+Up", "a". A value
// without a name is written in hex; ParseKeyName reads every label back.
std::string KeyLabel(KeyCode k);
// The label with the value, for test failures: "Ctrl+Shift+Up (0x0207FF21)".
std::string KeyName(KeyCode k);

}  // namespace lumo

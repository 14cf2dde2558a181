// The PC keyboard as the BIOS reports it, and the rule that turns a report
// into the key value the editor compares. A key is a physical PC key (PcKey)
// with a set of modifiers; the PC key table gives its scan code and character
// under each modifier column, and TranslateKey makes the value. Everything
// here is constexpr: the decoder runs it on the keys that arrive, and the key
// names run the same code at compile time, so a named key is the value the
// keyboard gives by construction.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "screen/Console.h"

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
// The BIOS tells the two Shift keys apart; a terminal does not, so the
// decoder sets both.
inline constexpr uint8_t ModRightShift = 1;
inline constexpr uint8_t ModLeftShift = 2;
inline constexpr uint8_t ModShift = ModRightShift | ModLeftShift;
inline constexpr uint8_t ModCtrl = 4;
inline constexpr uint8_t ModAlt = 8;

// The four bytes of a key value.
inline constexpr uint8_t CharOf(KeyCode k) { return uint8_t(k); }
inline constexpr uint8_t ScanOf(KeyCode k) { return uint8_t(k >> 8); }
inline constexpr uint8_t ShiftOf(KeyCode k) { return uint8_t(k >> 16); }
inline constexpr uint8_t KindOf(KeyCode k) { return uint8_t(k >> 24); }
inline constexpr KeyCode MakeKey(uint8_t ch, uint8_t scan, uint8_t shift, uint8_t kind) {
  return KeyCode(kind) << 24 | KeyCode(shift) << 16 | KeyCode(scan) << 8 | ch;
}
// Kinds of key value: a key with a character, a function or cursor key (scan
// byte 0xFF, the function number below it), a key known by its scan code.
inline constexpr uint8_t KindChar = 0;
inline constexpr uint8_t KindFunction = 2;
inline constexpr uint8_t KindScan = 3;
// Text pasted into the terminal: no key at all, so that no binding and no
// answer can ever match it; its text comes from the console (TakePaste).
inline constexpr uint8_t KindPaste = 4;
inline constexpr uint8_t FunctionScan = 0xFF;

// One physical key: its BIOS scan code under each modifier column and the
// character it gives. A character 0 means the key gives none in that column.
struct PcKeyRow {
  const char* Name;
  uint8_t Plain, Shift, Ctrl, Alt, CtrlAlt;  // scan codes
  uint8_t Ch, ShiftCh, CtrlCh, AltCh;        // characters (code page 866 = ASCII here)
};

// The PC key table, mirroring the BIOS scan-code table row for row so it can
// be checked line by line. Scan codes: plain, Shift, Ctrl, Alt, Ctrl+Alt.
// Characters: plain, Shift, Ctrl, Alt. With Alt a key gives no character (the
// left Alt key), except Space, which the BIOS reports as a blank under every
// shift state. The names are the ones key names are spelt with.
inline constexpr PcKeyRow PcKeyTable[] = {
    {"?", 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {"Esc", 0x01, 0x01, 0x01, 0x01, 0x01, 0x1B, 0x1B, 0x1B, 0},
    {"1", 0x02, 0x02, 0x02, 0x78, 0x78, '1', '!', 0, 0},
    {"2", 0x03, 0x03, 0x03, 0x79, 0x79, '2', '@', 0, 0},
    {"3", 0x04, 0x04, 0x04, 0x7A, 0x7A, '3', '#', 0, 0},
    {"4", 0x05, 0x05, 0x05, 0x7B, 0x7B, '4', '$', 0, 0},
    {"5", 0x06, 0x06, 0x06, 0x7C, 0x7C, '5', '%', 0, 0},
    {"6", 0x07, 0x07, 0x07, 0x7D, 0x7D, '6', '^', 0x1E, 0},
    {"7", 0x08, 0x08, 0x08, 0x7E, 0x7E, '7', '&', 0, 0},
    {"8", 0x09, 0x09, 0x09, 0x7F, 0x7F, '8', '*', 0, 0},
    {"9", 0x0A, 0x0A, 0x0A, 0x80, 0x80, '9', '(', 0, 0},
    {"0", 0x0B, 0x0B, 0x0B, 0x81, 0x81, '0', ')', 0, 0},
    {"-", 0x0C, 0x0C, 0x0C, 0x82, 0x82, '-', '_', 0x1F, 0},
    {"=", 0x0D, 0x0D, 0x0D, 0x0D, 0x0D, '=', '+', 0, 0},
    {"Backspace", 0x0E, 0x0E, 0x0E, 0x0E, 0x0E, 0x08, 0x08, 0x7F, 0},
    {"Tab", 0x0F, 0x0F, 0x94, 0xA5, 0x0F, 0x09, 0, 0, 0},
    {"Q", 0x10, 0x10, 0x10, 0x10, 0x10, 'q', 'Q', 0x11, 0},
    {"W", 0x11, 0x11, 0x11, 0x11, 0x11, 'w', 'W', 0x17, 0},
    {"E", 0x12, 0x12, 0x12, 0x12, 0x12, 'e', 'E', 0x05, 0},
    {"R", 0x13, 0x13, 0x13, 0x13, 0x13, 'r', 'R', 0x12, 0},
    {"T", 0x14, 0x14, 0x14, 0x14, 0x14, 't', 'T', 0x14, 0},
    {"Y", 0x15, 0x15, 0x15, 0x15, 0x15, 'y', 'Y', 0x19, 0},
    {"U", 0x16, 0x16, 0x16, 0x16, 0x16, 'u', 'U', 0x15, 0},
    {"I", 0x17, 0x17, 0x17, 0x17, 0x17, 'i', 'I', 0x09, 0},
    {"O", 0x18, 0x18, 0x18, 0x18, 0x18, 'o', 'O', 0x0F, 0},
    {"P", 0x19, 0x19, 0x19, 0x19, 0x19, 'p', 'P', 0x10, 0},
    {"[", 0x1A, 0x1A, 0x1A, 0x1A, 0x1A, '[', '{', 0x1B, 0},
    {"]", 0x1B, 0x1B, 0x1B, 0x1B, 0x1B, ']', '}', 0x1D, 0},
    {"Enter", 0x1C, 0x1C, 0x1C, 0x1C, 0x1C, 0x0D, 0x0D, 0x0A, 0},
    {"A", 0x1E, 0x1E, 0x1E, 0x1E, 0x1E, 'a', 'A', 0x01, 0},
    {"S", 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 's', 'S', 0x13, 0},
    {"D", 0x20, 0x20, 0x20, 0x20, 0x20, 'd', 'D', 0x04, 0},
    {"F", 0x21, 0x21, 0x21, 0x21, 0x21, 'f', 'F', 0x06, 0},
    {"G", 0x22, 0x22, 0x22, 0x22, 0x22, 'g', 'G', 0x07, 0},
    {"H", 0x23, 0x23, 0x23, 0x23, 0x23, 'h', 'H', 0x08, 0},
    {"J", 0x24, 0x24, 0x24, 0x24, 0x24, 'j', 'J', 0x0A, 0},
    {"K", 0x25, 0x25, 0x25, 0x25, 0x25, 'k', 'K', 0x0B, 0},
    {"L", 0x26, 0x26, 0x26, 0x26, 0x26, 'l', 'L', 0x0C, 0},
    {";", 0x27, 0x27, 0x27, 0x27, 0x27, ';', ':', 0, 0},
    {"'", 0x28, 0x28, 0x28, 0x28, 0x28, '\'', '"', 0, 0},
    {"`", 0x29, 0x29, 0x29, 0x29, 0x29, '`', '~', 0, 0},
    {"\\", 0x2B, 0x2B, 0x2B, 0x2B, 0x2B, '\\', '|', 0x1C, 0},
    {"Z", 0x2C, 0x2C, 0x2C, 0x2C, 0x2C, 'z', 'Z', 0x1A, 0},
    {"X", 0x2D, 0x2D, 0x2D, 0x2D, 0x2D, 'x', 'X', 0x18, 0},
    {"C", 0x2E, 0x2E, 0x2E, 0x2E, 0x2E, 'c', 'C', 0x03, 0},
    {"V", 0x2F, 0x2F, 0x2F, 0x2F, 0x2F, 'v', 'V', 0x16, 0},
    {"B", 0x30, 0x30, 0x30, 0x30, 0x30, 'b', 'B', 0x02, 0},
    {"N", 0x31, 0x31, 0x31, 0x31, 0x31, 'n', 'N', 0x0E, 0},
    {"M", 0x32, 0x32, 0x32, 0x32, 0x32, 'm', 'M', 0x0D, 0},
    {",", 0x33, 0x33, 0x33, 0x33, 0x33, ',', '<', 0, 0},
    {".", 0x34, 0x34, 0x34, 0x34, 0x34, '.', '>', 0, 0},
    {"/", 0x35, 0x35, 0x35, 0x35, 0x35, '/', '?', 0, 0},
    {"Space", 0x39, 0x39, 0x39, 0x39, 0x39, ' ', ' ', ' ', ' '},
    // F1..F10: 0x3B.. plain, 0x54.. Shift, 0x5E.. Ctrl, 0x68.. Alt.
    {"F1", 0x3B, 0x54, 0x5E, 0x68, 0x68, 0, 0, 0, 0},
    {"F2", 0x3C, 0x55, 0x5F, 0x69, 0x69, 0, 0, 0, 0},
    {"F3", 0x3D, 0x56, 0x60, 0x6A, 0x6A, 0, 0, 0, 0},
    {"F4", 0x3E, 0x57, 0x61, 0x6B, 0x6B, 0, 0, 0, 0},
    {"F5", 0x3F, 0x58, 0x62, 0x6C, 0x6C, 0, 0, 0, 0},
    {"F6", 0x40, 0x59, 0x63, 0x6D, 0x6D, 0, 0, 0, 0},
    {"F7", 0x41, 0x5A, 0x64, 0x6E, 0x6E, 0, 0, 0, 0},
    {"F8", 0x42, 0x5B, 0x65, 0x6F, 0x6F, 0, 0, 0, 0},
    {"F9", 0x43, 0x5C, 0x66, 0x70, 0x70, 0, 0, 0, 0},
    {"F10", 0x44, 0x5D, 0x67, 0x71, 0x71, 0, 0, 0, 0},
    {"F11", 0x85, 0x87, 0x89, 0x8B, 0x8B, 0, 0, 0, 0},
    {"F12", 0x86, 0x88, 0x8A, 0x8C, 0x8C, 0, 0, 0, 0},
    {"Home", 0x47, 0x47, 0x77, 0x97, 0x97, 0, 0, 0, 0},
    {"Up", 0x48, 0x48, 0x8D, 0x98, 0x98, 0, 0, 0, 0},
    {"PgUp", 0x49, 0x49, 0x84, 0x99, 0x99, 0, 0, 0, 0},
    {"Left", 0x4B, 0x4B, 0x73, 0x9B, 0x9B, 0, 0, 0, 0},
    {"Right", 0x4D, 0x4D, 0x74, 0x9D, 0x9D, 0, 0, 0, 0},
    {"End", 0x4F, 0x4F, 0x75, 0x9F, 0x9F, 0, 0, 0, 0},
    {"Down", 0x50, 0x50, 0x91, 0xA0, 0xA0, 0, 0, 0, 0},
    {"PgDn", 0x51, 0x51, 0x76, 0xA1, 0xA1, 0, 0, 0, 0},
    {"Ins", 0x52, 0x52, 0x92, 0xA2, 0xA2, 0, 0, 0, 0},
    {"Del", 0x53, 0x53, 0x93, 0xA3, 0xA3, 0, 0, 0, 0},
    // The keypad with NumLock off: the grey keys' codes, the digit with Shift.
    {"keypad 7", 0x47, 0x47, 0x77, 0x97, 0x97, 0, '7', 0, 0},
    {"keypad 8", 0x48, 0x48, 0x8D, 0x98, 0x98, 0, '8', 0, 0},
    {"keypad 9", 0x49, 0x49, 0x84, 0x99, 0x99, 0, '9', 0, 0},
    {"keypad 4", 0x4B, 0x4B, 0x73, 0x9B, 0x9B, 0, '4', 0, 0},
    {"keypad 5", 0x4C, 0x4C, 0x8F, 0x4C, 0x4C, 0, '5', 0, 0},
    {"keypad 6", 0x4D, 0x4D, 0x74, 0x9D, 0x9D, 0, '6', 0, 0},
    {"keypad 1", 0x4F, 0x4F, 0x75, 0x9F, 0x9F, 0, '1', 0, 0},
    {"keypad 2", 0x50, 0x50, 0x91, 0xA0, 0xA0, 0, '2', 0, 0},
    {"keypad 3", 0x51, 0x51, 0x76, 0xA1, 0xA1, 0, '3', 0, 0},
    {"keypad 0", 0x52, 0x52, 0x92, 0xA2, 0xA2, 0, '0', 0, 0},
    {"keypad .", 0x53, 0x53, 0x93, 0xA3, 0xA3, 0, '.', 0, 0},
    {"keypad -", 0x4A, 0x4A, 0x8E, 0x4A, 0x4A, '-', '-', 0, 0},
    {"keypad +", 0x4E, 0x4E, 0x90, 0x4E, 0x4E, '+', '+', 0, 0},
    {"keypad *", 0x37, 0x37, 0x96, 0x37, 0x37, '*', '*', 0, 0},
    {"keypad /", 0xE0, 0xE0, 0x95, 0xA4, 0xA4, '/', '/', 0, 0},
    {"keypad Enter", 0xE0, 0xE0, 0xE0, 0xA6, 0xA6, 0x0D, 0x0D, 0x0A, 0},
};
static_assert(std::size(PcKeyTable) == size_t(PcKey::Count), "one row per PcKey");

inline constexpr const PcKeyRow& KeyRow(PcKey k) {
  return PcKeyTable[size_t(k) < std::size(PcKeyTable) ? size_t(k) : 0];
}

namespace detail {

// The translation rule's list: scan codes that become function-type keys.
struct FunctionScans {
  uint8_t Number;
  uint8_t Scans[4];
};
inline constexpr FunctionScans Translated[] = {
    {0x01, {0x3B, 0x54, 0x5E, 0x68}}, {0x02, {0x3C, 0x55, 0x5F, 0x69}},  // F1, F2
    {0x03, {0x3D, 0x56, 0x60, 0x6A}}, {0x04, {0x3E, 0x57, 0x61, 0x6B}},  // F3, F4
    {0x05, {0x3F, 0x58, 0x62, 0x6C}}, {0x06, {0x40, 0x59, 0x63, 0x6D}},  // F5, F6
    {0x07, {0x41, 0x5A, 0x64, 0x6E}}, {0x08, {0x42, 0x5B, 0x65, 0x6F}},  // F7, F8
    {0x09, {0x43, 0x5C, 0x66, 0x70}}, {0x0A, {0x44, 0x5D, 0x67, 0x71}},  // F9, F10
    {0x0B, {0x85, 0x87, 0x89, 0x8B}}, {0x0C, {0x86, 0x88, 0x8A, 0x8C}},  // F11, F12
    {0x20, {0x47, 0x77, 0x97, 0x97}},  // Home
    {0x21, {0x48, 0x8D, 0x98, 0x98}},  // Up
    {0x22, {0x49, 0x84, 0x99, 0x99}},  // PgUp
    {0x23, {0x4B, 0x73, 0x9B, 0x9B}},  // Left
    {0x25, {0x4D, 0x74, 0x9D, 0x9D}},  // Right
    {0x26, {0x4F, 0x75, 0x9F, 0x9F}},  // End
    {0x27, {0x50, 0x91, 0xA0, 0xA0}},  // Down
    {0x28, {0x51, 0x76, 0xA1, 0xA1}},  // PgDn
    {0x29, {0x52, 0x92, 0xA2, 0xA2}},  // Ins
    {0x2A, {0x53, 0x93, 0xA3, 0xA3}},  // Del
};
struct FunctionMap {
  std::array<uint8_t, 256> Of{};
  constexpr FunctionMap() {
    for (const FunctionScans& f : Translated)
      for (uint8_t s : f.Scans) Of[s] = f.Number;
  }
};
inline constexpr FunctionMap Functions;

}  // namespace detail

// The function number a scan code translates to (F1..F12 = 1..12, Home 0x20 ..
// Del 0x2A), or 0 for a scan code that stays as it is.
inline constexpr uint8_t FunctionNumber(uint8_t scan) { return detail::Functions.Of[scan]; }

// The raw key event (character, PC scan code, shift) as a key value.
inline constexpr KeyCode TranslateKey(uint8_t ch, uint8_t scan, uint8_t shift) {
  if (ch != 0) return MakeKey(ch, scan, shift, KindChar);
  if (uint8_t f = FunctionNumber(scan)) return MakeKey(f, FunctionScan, shift, KindFunction);
  return MakeKey(0, scan, shift, KindScan);
}

// Shift state 1 or 3 becomes 2; all other states stay.
inline constexpr KeyCode NormaliseShift(KeyCode k) {
  const uint8_t shift = ShiftOf(k);
  if (shift == ModRightShift || shift == ModShift) return MakeKey(CharOf(k), ScanOf(k), ModLeftShift, KindOf(k));
  return k;
}

// Ctrl+Alt+Shift+Tab has a value of its own that no BIOS column gives; a
// terminal that drops Ctrl sends it as Alt+Shift+Tab.
inline constexpr uint8_t ExtendTabsScan = 0xA5;
inline constexpr uint8_t ExtendTabsShift = ModCtrl | ModAlt | ModRightShift;

// The scan code of a key under a set of modifiers: the column that wins.
inline constexpr uint8_t ColumnScan(PcKey key, uint8_t mods) {
  const PcKeyRow& r = KeyRow(key);
  const bool ctrl = mods & ModCtrl, alt = mods & ModAlt;
  if (ctrl && alt) return r.CtrlAlt;
  if (alt) return r.Alt;
  if (ctrl) return r.Ctrl;
  return mods & ModShift ? r.Shift : r.Plain;
}

// A PC key pressed with modifiers, as its raw (unnormalised) key value; 0 when
// the combination is no key. ch, when not 0, is the character the key gives
// where the US layout would give another (a Cyrillic letter, a keypad digit
// with NumLock on); with key None it is a character no key types.
inline constexpr KeyCode PcKeyValue(PcKey key, uint8_t mods, uint8_t ch = 0) {
  const bool shift = mods & ModShift, ctrl = mods & ModCtrl, alt = mods & ModAlt;
  if (key == PcKey::None) {
    if (ctrl || alt || ch == 0) return 0;
    return TranslateKey(ch, 0, mods);
  }
  if (key == PcKey::Tab && alt && shift) return TranslateKey(0, ExtendTabsScan, ExtendTabsShift);
  const PcKeyRow& r = KeyRow(key);
  uint8_t c;
  if (ctrl && alt) c = 0;
  else if (alt) c = r.AltCh;
  else if (ctrl) c = r.CtrlCh;
  else if (ch) c = ch;
  else c = shift ? r.ShiftCh : r.Ch;
  return TranslateKey(c, ColumnScan(key, mods), mods);
}

}  // namespace lumo

// The key decoder's tables. The PC key table mirrors the BIOS scan-code table
// of the console interface row for row (plain, Shift, Ctrl, Alt, Ctrl+Alt),
// so it can be checked line by line; the sequence tables after it only name
// PC keys and are labelled with the terminal family that sends each form.
#include "screen/KeyTables.h"

#include <array>
#include <iterator>

namespace lumo {

namespace {

using K = PcKey;

// Scan codes: plain, Shift, Ctrl, Alt, Ctrl+Alt. Characters: plain, Shift,
// Ctrl, Alt. With Alt a key gives no character (the left Alt key), except
// Space, which the BIOS reports as a blank under every shift state.
constexpr PcKeyRow Rows[] = {
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
static_assert(std::size(Rows) == size_t(PcKey::Count), "one row per PcKey");

// The Russian (JCUKEN) layout: the key of each small letter a..ya (U+0430..).
constexpr PcKey Jcuken[32] = {
    K::F, K::Comma, K::D, K::U, K::L, K::T, K::Semicolon, K::P,        // а б в г д е ж з
    K::B, K::Q, K::R, K::K, K::V, K::Y, K::J, K::G,                    // и й к л м н о п
    K::H, K::C, K::N, K::E, K::A, K::LBracket, K::W, K::X,             // р с т у ф х ц ч
    K::I, K::O, K::RBracket, K::S, K::M, K::Quote, K::Period, K::Z,    // ш щ ъ ы ь э ю я
};

struct TildeRow {
  uint8_t N;
  SeqKey Key;
};
constexpr TildeRow Tildes[] = {
    {1, {K::Home}},  {2, {K::Ins}},  {3, {K::Del}},   {4, {K::End}},  // vt220; 1 and 4: Linux, tmux
    {5, {K::PgUp}},  {6, {K::PgDn}}, {7, {K::Home}},  {8, {K::End}},  // 7 and 8: rxvt
    {11, {K::F1}},   {12, {K::F2}},  {13, {K::F3}},   {14, {K::F4}},  // rxvt, kitty's F3
    {15, {K::F5}},   {17, {K::F6}},  {18, {K::F7}},   {19, {K::F8}},
    {20, {K::F9}},   {21, {K::F10}}, {23, {K::F11}},  {24, {K::F12}},
    // Linux console: Shift+F3..F10 arrive as F13..F20 (Shift+F1, F2 are F11, F12).
    {25, {K::F3, ModShift}}, {26, {K::F4, ModShift}}, {28, {K::F5, ModShift}},
    {29, {K::F6, ModShift}}, {31, {K::F7, ModShift}}, {32, {K::F8, ModShift}},
    {33, {K::F9, ModShift}}, {34, {K::F10, ModShift}},
};

struct FinalRow {
  uint8_t Final;
  SeqKey Key;
};
// CSI and SS3 alike (xterm, kitty, tmux; SS3 in application cursor mode).
constexpr FinalRow Finals[] = {
    {'A', {K::Up}},   {'B', {K::Down}}, {'C', {K::Right}}, {'D', {K::Left}},
    {'H', {K::Home}}, {'F', {K::End}},  {'E', {K::Kp5}},  // E: the keypad's centre key
    {'P', {K::F1}},   {'Q', {K::F2}},   {'R', {K::F3}},    {'S', {K::F4}},
    {'Z', {K::Tab, ModShift}},  // back tab
    // Linux console: keypad 5 with NumLock off, whatever Shift says.
    {'G', {K::Kp5, ModShift}},
};
// SS3 only: the keypad in application mode (xterm, tmux, Linux console).
constexpr FinalRow Ss3Finals[] = {
    {'M', {K::KpEnter}}, {'j', {K::KpStar}}, {'k', {K::KpPlus}},
    {'l', {K::KpPlus}},  // Linux console's keypad + (vt100's comma key)
    {'m', {K::KpMinus}}, {'n', {K::KpDot, 0, '.'}}, {'o', {K::KpSlash}},
    {'p', {K::Kp0, 0, '0'}}, {'q', {K::Kp1, 0, '1'}}, {'r', {K::Kp2, 0, '2'}},
    {'s', {K::Kp3, 0, '3'}}, {'t', {K::Kp4, 0, '4'}}, {'u', {K::Kp5, 0, '5'}},
    {'v', {K::Kp6, 0, '6'}}, {'w', {K::Kp7, 0, '7'}}, {'x', {K::Kp8, 0, '8'}},
    {'y', {K::Kp9, 0, '9'}}, {'X', {K::Equals, 0, '='}},
};

struct CodeRow {
  uint32_t Code;
  SeqKey Key;
};
constexpr CodeRow Functionals[] = {
    // kitty: keypad keys with NumLock on (digits) ...
    {57399, {K::Kp0, 0, '0'}}, {57400, {K::Kp1, 0, '1'}}, {57401, {K::Kp2, 0, '2'}},
    {57402, {K::Kp3, 0, '3'}}, {57403, {K::Kp4, 0, '4'}}, {57404, {K::Kp5, 0, '5'}},
    {57405, {K::Kp6, 0, '6'}}, {57406, {K::Kp7, 0, '7'}}, {57407, {K::Kp8, 0, '8'}},
    {57408, {K::Kp9, 0, '9'}}, {57409, {K::KpDot, 0, '.'}},
    {57410, {K::KpSlash}}, {57411, {K::KpStar}}, {57412, {K::KpMinus}},
    {57413, {K::KpPlus}}, {57414, {K::KpEnter}}, {57415, {K::Equals, 0, '='}},
    {57416, {K::Comma, 0, ','}},
    // ... and with NumLock off (cursor keys that type the digit with Shift).
    {57417, {K::Kp4}}, {57418, {K::Kp6}}, {57419, {K::Kp8}}, {57420, {K::Kp2}},
    {57421, {K::Kp9}}, {57422, {K::Kp3}}, {57423, {K::Kp7}}, {57424, {K::Kp1}},
    {57425, {K::Kp0}}, {57426, {K::KpDot}}, {57427, {K::Kp5}},
    // tmux 3.3a with extended keys: its internal key numbers leak out.
    {1106343, {K::Tab, ModShift}}, {1106344, {K::Up}}, {1106345, {K::Down}},
    {1106346, {K::Left}}, {1106347, {K::Right}}, {1106348, {K::KpSlash}},
    {1106349, {K::KpStar}}, {1106350, {K::KpMinus}}, {1106351, {K::Kp7, 0, '7'}},
    {1106352, {K::Kp8, 0, '8'}}, {1106353, {K::Kp9, 0, '9'}}, {1106354, {K::KpPlus}},
    {1106355, {K::Kp4, 0, '4'}}, {1106356, {K::Kp5, 0, '5'}}, {1106357, {K::Kp6, 0, '6'}},
    {1106358, {K::Kp1, 0, '1'}}, {1106359, {K::Kp2, 0, '2'}}, {1106360, {K::Kp3, 0, '3'}},
    {1106361, {K::KpEnter}}, {1106362, {K::Kp0, 0, '0'}}, {1106363, {K::KpDot, 0, '.'}},
};

// ASCII 0x20..0x7E to the main-block key that types it (US layout).
struct AsciiMap {
  std::array<TypedBy, 128> By{};
  constexpr AsciiMap() {
    for (size_t k = size_t(PcKey::Esc); k <= size_t(PcKey::Space); ++k) {
      const PcKeyRow& r = Rows[k];
      if (r.ShiftCh >= 0x20 && r.ShiftCh < 0x7F && By[r.ShiftCh].Key == PcKey::None)
        By[r.ShiftCh] = {PcKey(k), true};
      if (r.Ch >= 0x20 && r.Ch < 0x7F) By[r.Ch] = {PcKey(k), false};
    }
  }
};
constexpr AsciiMap Ascii;

// The translation rule's list: scan codes that become function-type keys.
struct FunctionScans {
  uint8_t Number;
  uint8_t Scans[4];
};
constexpr FunctionScans Translated[] = {
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
constexpr FunctionMap Functions;

}  // namespace

uint8_t FunctionNumber(uint8_t scan) { return Functions.Of[scan]; }

const PcKeyRow& KeyRow(PcKey k) { return Rows[size_t(k) < std::size(Rows) ? size_t(k) : 0]; }

TypedBy KeyForAscii(uint8_t ch) { return ch < 128 ? Ascii.By[ch] : TypedBy{}; }

TypedBy KeyForCyrillic(uint32_t cp) {
  if (cp >= 0x430 && cp <= 0x44F) return {Jcuken[cp - 0x430], false};
  if (cp >= 0x410 && cp <= 0x42F) return {Jcuken[cp - 0x410], true};
  if (cp == 0x451) return {PcKey::Backquote, false};  // ё
  if (cp == 0x401) return {PcKey::Backquote, true};   // Ё
  return {};
}

uint32_t CyrillicUpper(uint32_t cp) {
  if (cp >= 0x430 && cp <= 0x44F) return cp - 0x20;
  if (cp >= 0x450 && cp <= 0x45F) return cp - 0x50;
  return 0;
}

SeqKey TildeKey(uint32_t n) {
  for (const TildeRow& r : Tildes)
    if (r.N == n) return r.Key;
  return {};
}

SeqKey FinalKey(uint8_t final, bool ss3) {
  if (ss3)
    for (const FinalRow& r : Ss3Finals)
      if (r.Final == final) return r.Key;
  for (const FinalRow& r : Finals)
    if (r.Final == final) return r.Key;
  return {};
}

SeqKey FunctionalKey(uint32_t code) {
  for (const CodeRow& r : Functionals)
    if (r.Code == code) return r.Key;
  return {};
}

bool IsModifierKeyCode(uint32_t code) {
  return (code >= 57441 && code <= 57454) || (code >= 57358 && code <= 57360);
}

}  // namespace lumo

// The key decoder's tables. The sequence tables only name PC keys (whose
// scan codes the PC key table of PcKeys.h gives) and are labelled with the
// terminal family that sends each form.
#include "screen/KeyTables.h"

#include <array>
#include <iterator>

namespace lumo {

namespace {

using K = PcKey;

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
      const PcKeyRow& r = PcKeyTable[k];
      if (r.ShiftCh >= 0x20 && r.ShiftCh < 0x7F && By[r.ShiftCh].Key == PcKey::None)
        By[r.ShiftCh] = {PcKey(k), true};
      if (r.Ch >= 0x20 && r.Ch < 0x7F) By[r.Ch] = {PcKey(k), false};
    }
  }
};
constexpr AsciiMap Ascii;

}  // namespace

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

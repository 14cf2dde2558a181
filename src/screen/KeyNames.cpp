// Spelling key values and reading spellings back. Both directions go through
// the chords of KeyNames.h: a label is found by trying every PC key under
// every set of modifiers until one gives the value, and a spelling is parsed
// into a chord, so a label always reads back as the value it was made from.
#include "screen/KeyNames.h"

#include <cstdio>
#include <string>

#include "screen/KeyTables.h"
#include "text/Cp866.h"

namespace lumo {

namespace {

using keys::Chord;

struct ModSet {
  uint8_t Mods;
  std::string_view Prefix;
};
// The order labels are tried in; a value two spellings give is named by the
// first, so Ctrl+Alt+Shift+Tab keeps its name although Alt+Shift+Tab gives
// the same value.
constexpr ModSet ModSets[] = {
    {0, ""},
    {ModShift, "Shift+"},
    {ModCtrl, "Ctrl+"},
    {ModAlt, "Alt+"},
    {ModCtrl | ModShift, "Ctrl+Shift+"},
    {ModCtrl | ModAlt, "Ctrl+Alt+"},
    {ModCtrl | ModAlt | ModShift, "Ctrl+Alt+Shift+"},
    {ModAlt | ModShift, "Alt+Shift+"},
};

struct Spelling {
  std::string_view Name;
  KeyCode Value;
};
constexpr Spelling Irregular[] = {
    {"Ctrl+Alt+left Shift+Tab", keys::CtrlAltLeftShiftTab},
    {"Alt+/ with its character", keys::WithChar(keys::Alt(keys::Slash), '/')},
    {"Paste", keys::Paste},
};

// The modifiers a spelling may start with; NumLock is no modifier bit, it
// makes a keypad key type its digit.
constexpr std::string_view NumLockPrefix = "NumLock+";
constexpr ModSet Modifiers[] = {
    {ModCtrl, "Ctrl+"}, {ModAlt, "Alt+"}, {ModShift, "Shift+"}, {0, NumLockPrefix}};

bool Printable(uint8_t c) { return c > 0x20 && c < 0x7F; }

bool IsNumLockKey(PcKey k) { return k >= PcKey::Kp7 && k <= PcKey::KpDot; }

// The chord that types a code page 866 character: the US key for ASCII, the
// Russian-layout key for a Cyrillic letter, no key for the rest.
Chord CharChord(uint8_t ch) {
  const uint32_t cp = Cp866ToUnicode(ch);
  TypedBy t = cp < 0x80 ? KeyForAscii(ch) : KeyForCyrillic(cp);
  if (t.Key == PcKey::None) return {PcKey::None, 0, ch};
  return {t.Key, t.Shifted ? ModShift : uint8_t(0), uint8_t(cp < 0x80 ? 0 : ch)};
}

// The one code page 866 character a spelling is, if it is one.
std::optional<uint8_t> SingleChar(std::string_view s) {
  const std::string b = Cp(s);
  if (b.size() != 1 || Utf8FromCp866(b) != s) return std::nullopt;
  if (uint8_t(b[0]) < 0x80 && !Printable(uint8_t(b[0]))) return std::nullopt;
  return uint8_t(b[0]);
}

std::optional<Chord> RowByName(std::string_view name) {
  for (size_t k = 1; k < size_t(PcKey::Count); ++k)
    if (name == PcKeyTable[k].Name) return Chord{PcKey(k)};
  return std::nullopt;
}

std::string Hex(KeyCode k) {
  char v[16];
  std::snprintf(v, sizeof v, "0x%08X", unsigned(k));
  return v;
}

}  // namespace

std::string KeyLabel(KeyCode k) {
  for (const Spelling& s : Irregular)
    if (s.Value == k) return std::string(s.Name);
  for (size_t i = 1; i < size_t(PcKey::Count); ++i) {
    const PcKey key = PcKey(i);
    const PcKeyRow& r = KeyRow(key);
    for (const ModSet& m : ModSets) {
      if (KeyCode(Chord{key, m.Mods}) != k) continue;
      // A key that types a character by itself is spelt as that character.
      if (m.Mods == 0 && Printable(r.Ch) && KeyForAscii(r.Ch).Key == key) return std::string(1, char(r.Ch));
      return std::string(m.Prefix) + r.Name;
    }
    if (IsNumLockKey(key) && KeyCode(keys::NumLock(Chord{key})) == k)
      return std::string(NumLockPrefix) + r.Name;
  }
  // A Cyrillic letter, or a character that no key types.
  const uint8_t ch = CharOf(k);
  if (ch >= 0x80 && KeyCode(CharChord(ch)) == k) return Utf8FromCp866(std::string(1, char(ch)));
  return Hex(k);
}

std::optional<KeyCode> ParseKeyName(std::string_view name) {
  // A note in brackets after the name says how the key was typed.
  if (name.ends_with(')')) {
    const size_t at = name.rfind(" (");
    if (at != std::string_view::npos && at > 0) name = name.substr(0, at);
  }
  for (const Spelling& s : Irregular)
    if (name == s.Name) return s.Value;
  if (name.size() == 10 && name.starts_with("0x")) {
    KeyCode v = 0;
    for (char c : name.substr(2)) {
      const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (d < 0) return std::nullopt;
      v = v << 4 | KeyCode(d);
    }
    return v;
  }
  uint8_t mods = 0;
  bool numLock = false;
  for (bool more = true; more;) {
    more = false;
    for (const ModSet& m : Modifiers) {
      if (name.size() <= m.Prefix.size() || !name.starts_with(m.Prefix)) continue;
      if (m.Mods == 0 ? numLock : (mods & m.Mods) != 0) return std::nullopt;  // named twice
      if (m.Mods == 0) numLock = true;
      mods = uint8_t(mods | m.Mods);
      name.remove_prefix(m.Prefix.size());
      more = true;
    }
  }
  const std::optional<uint8_t> ch = SingleChar(name);
  std::optional<Chord> c;
  if (mods != 0 || !ch) c = RowByName(name);
  if (!c && ch) c = CharChord(*ch);
  if (!c) return std::nullopt;
  if (numLock) {
    if (mods != 0 || !IsNumLockKey(c->Key)) return std::nullopt;
    *c = keys::NumLock(*c);
  }
  // Shift on a small Cyrillic letter gives the capital, as the keyboard does.
  if ((mods & ModShift) && c->Ch >= 0x80 && !(c->Mods & ModShift))
    if (uint32_t up = CyrillicUpper(Cp866ToUnicode(c->Ch))) c->Ch = uint8_t(UnicodeToCp866(up));
  c->Mods = uint8_t(c->Mods | mods);
  const KeyCode v = *c;
  if (v == 0) return std::nullopt;
  return v;
}

std::string KeyName(KeyCode k) {
  const std::string label = KeyLabel(NormaliseShift(k));
  return label.starts_with("0x") && label.size() == 10 ? Hex(k) : label + " (" + Hex(k) + ")";
}

}  // namespace lumo

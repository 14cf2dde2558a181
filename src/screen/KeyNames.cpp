// Readable key names for test failures and the key-code display: the modifier
// prefix from the shift byte, the key from the PC key table by its scan code,
// the character when the key gives one, and the value itself.
#include <cstdio>
#include <string>

#include "screen/KeyDecoder.h"
#include "screen/KeyTables.h"
#include "text/Cp866.h"

namespace lumo {

namespace {

const char* FunctionName(uint8_t n) {
  static const char* const Cursor[] = {"Home", "Up", "PgUp", "Left", "centre", "Right",
                                       "End",  "Down", "PgDn", "Ins", "Del"};
  static const char* const Fn[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                   "F7", "F8", "F9", "F10", "F11", "F12"};
  if (n >= 1 && n <= 12) return Fn[n - 1];
  if (n >= 0x20 && n <= 0x2A) return Cursor[n - 0x20];
  return nullptr;
}

// The first key whose table row gives this scan code in some column, and the
// character too when there is one (keypad 7 rather than Home for '7').
const char* ScanName(uint8_t scan, uint8_t ch) {
  const char* byScan = nullptr;
  for (size_t k = 1; k < size_t(PcKey::Count); ++k) {
    const PcKeyRow& r = KeyRow(PcKey(k));
    if (r.Plain != scan && r.Shift != scan && r.Ctrl != scan && r.Alt != scan && r.CtrlAlt != scan)
      continue;
    if (ch == 0 || r.Ch == ch || r.ShiftCh == ch || r.CtrlCh == ch || r.AltCh == ch) return r.Name;
    if (!byScan) byScan = r.Name;
  }
  return byScan ? byScan : scan == 0 ? "char" : nullptr;
}

void AppendUtf8(std::string& s, uint32_t cp) {
  if (cp < 0x80) {
    s += char(cp);
  } else if (cp < 0x800) {
    s += char(0xC0 | cp >> 6);
    s += char(0x80 | (cp & 0x3F));
  } else {
    s += char(0xE0 | cp >> 12);
    s += char(0x80 | (cp >> 6 & 0x3F));
    s += char(0x80 | (cp & 0x3F));
  }
}

}  // namespace

std::string KeyName(KeyCode k) {
  uint8_t ch = uint8_t(k), scan = uint8_t(k >> 8), shift = uint8_t(k >> 16), kind = uint8_t(k >> 24);
  std::string s;
  if (shift & 4) s += "Ctrl+";
  if (shift & 8) s += "Alt+";
  if (shift & 3) s += "Shift+";
  const char* name = kind == 2 && scan == 0xFF ? FunctionName(ch) : ScanName(scan, kind == 0 ? ch : 0);
  s += name ? name : "?";
  if (kind == 0) {
    s += " '";
    if (ch >= 0x20 && ch != 0x7F) AppendUtf8(s, Cp866ToUnicode(ch));
    else {
      char b[8];
      std::snprintf(b, sizeof b, "^%02X", ch);
      s += b;
    }
    s += "'";
  }
  char v[16];
  std::snprintf(v, sizeof v, " (0x%08X)", unsigned(k));
  return s + v;
}

}  // namespace lumo

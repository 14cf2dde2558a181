// xterm's key encodings as a table of names; the modifier rules are applied
// in one place (Modified) so every key family takes modifiers the same way.
#include "Keys.h"

#include <cctype>
#include <stdexcept>
#include <string>

namespace lumo::e2e {
namespace {

constexpr std::string_view Csi = "\x1b[";
constexpr int ModShift = 1;
constexpr int ModAlt = 2;
constexpr int ModCtrl = 4;

// Keys that xterm sends as CSI/SS3 final letters or as CSI number ~.
struct Named {
  std::string_view Name;
  char Final;   // CSI letter form (0 = tilde form)
  int Number;   // tilde form number
  bool Ss3;     // unmodified form is SS3 letter (F1..F4)
};

constexpr Named Table[] = {
    {"Up", 'A', 0, false},    {"Down", 'B', 0, false}, {"Right", 'C', 0, false},
    {"Left", 'D', 0, false},  {"Home", 'H', 0, false}, {"End", 'F', 0, false},
    {"Ins", 0, 2, false},     {"Del", 0, 3, false},    {"PgUp", 0, 5, false},
    {"PgDn", 0, 6, false},    {"F1", 'P', 0, true},    {"F2", 'Q', 0, true},
    {"F3", 'R', 0, true},     {"F4", 'S', 0, true},    {"F5", 0, 15, false},
    {"F6", 0, 17, false},     {"F7", 0, 18, false},    {"F8", 0, 19, false},
    {"F9", 0, 20, false},     {"F10", 0, 21, false},   {"F11", 0, 23, false},
    {"F12", 0, 24, false},
};

std::string Modified(const Named& k, int mods) {
  std::string m = std::to_string(1 + mods);
  if (k.Final) {
    if (mods) return std::string(Csi) + "1;" + m + k.Final;
    return std::string(k.Ss3 ? "\x1bO" : Csi) + k.Final;
  }
  return std::string(Csi) + std::to_string(k.Number) + (mods ? ";" + m : "") + "~";
}

std::string AltPrefix(int mods, std::string s) { return (mods & ModAlt) ? "\x1b" + s : s; }

// The bytes of one named key with modifiers; empty for an unknown name.
std::string KeyBytes(std::string_view name, int mods) {
  for (const Named& k : Table)
    if (k.Name == name) return Modified(k, mods);
  if (name == "Esc") return AltPrefix(mods, "\x1b");
  if (name == "Enter") return AltPrefix(mods, "\r");
  if (name == "Tab") return AltPrefix(mods, (mods & ModShift) ? std::string(Csi) + "Z" : "\t");
  if (name == "BS") return AltPrefix(mods, (mods & ModCtrl) ? "\x08" : "\x7f");
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    char c = name[0];
    if (mods & ModCtrl) {
      if (!std::isalpha(static_cast<unsigned char>(c))) return {};
      c = char(std::toupper(static_cast<unsigned char>(c)) & 0x1F);
    } else if (mods & ModShift) {
      c = char(std::toupper(static_cast<unsigned char>(c)));
    }
    return AltPrefix(mods, std::string(1, c));
  }
  return {};
}

}  // namespace

std::vector<std::string> ParseKeys(std::string_view s) {
  std::vector<std::string> keys;
  for (size_t i = 0; i < s.size();) {
    if (s[i] == '<') {
      size_t close = s.find('>', i + 1);
      if (close == std::string_view::npos) throw std::invalid_argument("unclosed < in key script");
      std::string_view body = s.substr(i + 1, close - i - 1);
      int mods = 0;
      while (body.size() > 2 && body[1] == '-') {
        switch (body[0]) {
          case 'S': mods |= ModShift; break;
          case 'C': mods |= ModCtrl; break;
          case 'A': case 'M': mods |= ModAlt; break;
          default: throw std::invalid_argument("bad modifier in <" + std::string(body) + ">");
        }
        body.remove_prefix(2);
      }
      std::string bytes = KeyBytes(body, mods);
      if (bytes.empty()) throw std::invalid_argument("unknown key <" + std::string(s.substr(i + 1, close - i - 1)) + ">");
      keys.push_back(std::move(bytes));
      i = close + 1;
      continue;
    }
    // One UTF-8 character.
    unsigned char b = static_cast<unsigned char>(s[i]);
    size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
    keys.emplace_back(s.substr(i, n));
    i += n;
  }
  return keys;
}

}  // namespace lumo::e2e

#include "tools/Macros.h"

#include "text/LineStore.h"
#include "tools/SideFile.h"

namespace lumo {

uint8_t MacroId(KeyCode key, bool rusMode) {
  const uint8_t id = ScanOf(key) == 0xFF ? CharOf(key) : ScanOf(key);
  return uint8_t(id + (rusMode ? 128 : 0));
}

bool StoreMacro(Editor& e, uint8_t id, std::string_view text) {
  if (FreeMemory(e) <= text.size()) return false;
  ReturnBudget(e, e.MacroText[id].size());
  TakeBudget(e, text.size());
  e.MacroText[id].assign(text);
  e.MacroText[id].shrink_to_fit();
  e.MacroSet.set(id);
  return true;
}

namespace {

// Digits only, and at most 255: a larger id names no key, and taking it
// modulo 256 would overwrite the macro of a key that does exist.
bool ParseId(std::string_view s, uint8_t& id) {
  if (s.empty()) return false;
  unsigned v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + unsigned(c - '0');
    if (v > 255) return false;
  }
  id = uint8_t(v);
  return true;
}

}  // namespace

void ParseMacros(Editor& e, std::string_view bytes) {
  SideLines lines(bytes);
  std::string_view line;
  while (lines.Next(line, 255)) {
    const size_t blank = line.find(' ');
    uint8_t id = 0;
    if (blank == std::string_view::npos || !ParseId(line.substr(0, blank), id)) continue;
    if (!StoreMacro(e, id, line.substr(blank + 1))) return;
  }
}

// Id 0 is written too: a macro kept only in memory would be lost at exit
// without a word, though the user was offered to save it.
std::string MacroBytes(const Editor& e) {
  std::string out;
  for (int id = 0; id < 256; ++id) {
    if (!e.MacroSet.test(size_t(id))) continue;
    AddSideLine(out, std::to_string(id) + ' ' + e.MacroText[id]);
  }
  return out;
}

}  // namespace lumo

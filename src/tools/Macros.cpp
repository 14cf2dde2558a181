#include "tools/Macros.h"

#include "screen/KeyNames.h"
#include "text/Decimal.h"
#include "text/LineStore.h"
#include "tools/SideFile.h"

namespace lumo {
namespace {

constexpr size_t MaxText = 255;


}  // namespace

uint8_t MacroId(const Editor& e, KeyCode key) {
  const uint8_t id = ScanOf(key) == 0xFF ? CharOf(key) : ScanOf(key);
  return uint8_t(id + (e.RusMode ? 128 : 0));
}

bool StoreMacro(Editor& e, int id, std::string_view text) {
  text = text.substr(0, MaxText);
  std::optional<std::string>& slot = e.Macro[size_t(id & 0xFF)];
  const size_t old = slot ? slot->size() : 0;
  if (text.size() > old && FreeMemory(e) <= text.size() - old) return false;
  slot = std::string(text);
  e.MacroBytes = e.MacroBytes - old + text.size();
  e.BudgetUsed = e.BudgetUsed - old + text.size();
  return true;
}

void MacrosFromBytes(Editor& e, std::string_view bytes) {
  SideLines in(bytes);
  std::string_view line;
  while (in.Next(line, MaxText)) {
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos) continue;
    const int id = DecimalUpTo(line.substr(0, blank), 255);
    if (id < 0) continue;
    if (!StoreMacro(e, id, line.substr(blank + 1))) break;
  }
}

std::string MacroFileBytes(const Editor& e) {
  std::string out;
  for (size_t id = 0; id < e.Macro.size(); ++id)
    if (e.Macro[id]) AddSideLine(out, std::to_string(id) + " " + *e.Macro[id]);
  return out;
}

}  // namespace lumo

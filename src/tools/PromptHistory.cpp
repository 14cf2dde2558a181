// The answer ring and its file. The ring is 16 strings of at most 53 bytes
// with a current index; the file lists the slots from the current one
// backwards (line k is slot index - k + 1, modulo 16), then the saved search
// case as a decimal number, each line ended by CR LF. Reading is forgiving,
// because the file may have been edited by hand or damaged: any bytes, lines
// of any length (cut to 53), missing lines (empty slots).
#include <string>

#include "tools/PromptEditor.h"
#include "tools/SideFile.h"

namespace lumo {
namespace {

constexpr size_t SlotBytes = 53;
constexpr int SlotLines = 16;
// A hand-edited history may hold long lines; only this much of it is read.
constexpr size_t FileLimit = 1 << 20;

// A decimal signed byte, with optional blanks around it.
bool ParseSignedByte(std::string_view s, int8_t& out) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int value = 0, digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    value = value * 10 + (s[i++] - '0');
    if (++digits > 3) return false;
  }
  while (i < s.size() && s[i] == ' ') ++i;
  if (digits == 0 || i != s.size()) return false;
  if (negative) value = -value;
  if (value < -128 || value > 127) return false;
  out = int8_t(value);
  return true;
}

}  // namespace

void StorePromptAnswer(Editor& e, std::string_view answer) {
  uint8_t i = e.PromptIndex;
  for (int n = 0; n < 15; ++n) {
    i = uint8_t((i + 1) & 15);
    if (e.PromptSlot[i].empty()) break;
  }
  e.PromptSlot[i] = std::string(answer.substr(0, SlotBytes));
  e.PromptIndex = i;
}

void ReadPromptHistory(Editor& e) {
  std::string bytes;
  if (!ReadSideFile(e.HistoryFile, bytes, FileLimit)) return;
  SideLines in(bytes);
  std::string_view line;
  for (int k = 1; k <= SlotLines; ++k) {
    in.Next(line, SlotBytes);
    e.PromptSlot[(e.PromptIndex - k + 1) & 15] = line;
  }
  // The saved case belongs to the file as a whole; a ring already browsed
  // or stored into keeps the case of this run.
  int8_t value = 0;
  if (e.PromptIndex == 0 && in.Next(line, 8) && ParseSignedByte(line, value)) e.SavedSearchCase = value;
  e.SearchText = e.PromptSlot[e.PromptIndex];
}

void WritePromptHistory(Editor& e) {
  if (e.HistoryFile.empty()) return;
  std::string text;
  for (int k = 1; k <= SlotLines; ++k)
    AddSideLine(text, std::string_view(e.PromptSlot[(e.PromptIndex - k + 1) & 15]).substr(0, SlotBytes));
  AddSideLine(text, std::to_string(int(e.SavedSearchCase)));
  WriteSideFile(e.HistoryFile, text);
}

}  // namespace lumo

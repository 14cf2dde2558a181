// State of the prompt line and, later, the other tools.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lumo {

struct ToolState {
  std::string PromptSlot[16];   // the answer ring, at most 53 bytes each
  uint8_t PromptIndex = 0;      // current slot
  int8_t SavedSearchCase = 0;   // kept in the history file's line 17
  std::string SearchText;       // the last search text
  uint32_t PromptEndKey = 0;    // key that ended the last prompt; scan 0xF0 = search from the start
  uint32_t Keystroke[32] = {};  // the recorded keys; one with character and scan 0 ends a replay
  uint8_t RecordCount = 0;      // 0: not recording; else the slot (1..32) the next key goes into
  uint8_t ReplayIndex = 0;      // 0: not replaying; else the slot (1..33) the next key comes from
  std::vector<std::string> WordList, AbbrevList;  // from shorts.lmo, at most 100 each
  std::string CompletionText;   // the accepted candidate, which the completion key goes on typing
  int16_t CompletionPos = 0;    // its next byte to type (1-based); 0: no completion under way
  bool HasPendingKey = false;   // a key that ended an offer, for the loop to handle next
  uint32_t PendingKey = 0;
  std::array<std::optional<std::string>, 256> Macro;  // by macro id: the text typed, if defined
  size_t MacroBytes = 0;        // what the texts hold, counted in the memory budget
  bool MacrosChanged = false;   // defined from the keyboard since the macro file was written
};

}  // namespace lumo

// What the search commands keep between keys. The search text itself and the
// remembered letter-case answer belong to the prompt line (its history file
// keeps both).
#pragma once
#include <cstdint>
#include <string>

namespace lumo {

struct SearchState {
  // The last search command went upward; the repeat follows it only while no
  // choice bar has been shown since (ChoiceBarsShown still equals UpAt).
  bool SearchUp = false;
  uint32_t SearchUpAt = 0;
  std::string PairsFileName;  // the last file of replacement pairs
};

}  // namespace lumo

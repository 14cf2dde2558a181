// The one editor of typed answers, on the message row: search and
// replacement texts, file names, line numbers. Search and replacement answers
// go into a ring of 16 that is kept between runs in the history file.
#pragma once
#include <cstdint>
#include <string_view>
#include "app/Editor.h"

namespace lumo {

enum PromptMode : uint8_t { PromptSearch = 1, PromptReplace = 2, PromptOther = 3, PromptMacroWord = 255 };

// The scan code a search prompt puts into the key that ended it (PromptEndKey)
// when the search is to start from the top of the text.
inline constexpr uint8_t FromStartScan = 0xF0;

// A counted answer whose storage keeps the bytes past its length (Shift+Right
// shows them again).
struct PromptText {
  uint8_t Length = 0;
  char Bytes[255] = {};
  std::string_view View() const { return {Bytes, Length}; }
  void Set(std::string_view s);
};

// Edits answer in place; e.OpFailed is 0 (accepted), 1 (cancelled), 31
// (Ctrl+P) or 127 (recording stopped).
void PromptEditor(Editor& e, PromptText& answer, uint8_t mode);

// Stores a finished answer in the ring: the next empty slot after the current
// one (the one just before it when all others are full) becomes current.
void StorePromptAnswer(Editor& e, std::string_view answer);

// The history file: read at start-up and by Ctrl+R, written at exit and by
// Ctrl+W. A file that cannot be opened changes nothing and shows nothing.
void ReadPromptHistory(Editor& e);
void WritePromptHistory(Editor& e);

}  // namespace lumo

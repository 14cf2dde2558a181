// Finding a text in the lines, downward or upward, with or without regard to
// letter case, and replacing what is found: one by one with a question, all
// at once, in the whole text or the line block, also by pairs read from a
// file. Every command goes through FindText.
#pragma once
#include <cstdint>
#include <string_view>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// Letter case of a comparison: 15 ignores it, -15 keeps it, 0 asks.
inline constexpr int8_t CaseBlind = 15, CaseExact = -15;

enum class Find : uint8_t { Found, NotFound, Refused };

// Searches lines from..to (upward when to < from, or when up is set and the
// two are one line) for text; on line from only the part after column col
// (upward: before it). An empty text finds the
// next empty line. A found text becomes the cursor's place and its line the
// window's top line; otherwise the cursor stays. report shows the search and
// its failure on the message row. OpFailed is 0 only when found.
Find FindText(Editor& e, std::string_view text, int from, int to, int col, bool report, int8_t& caseFlag,
              bool up = false);

// The first occurrence of pat (folded to capitals when fold) in hay, or -1.
int FindIn(std::string_view hay, std::string_view pat, bool fold);

// Replaces every find by repl in the whole text (or the line block) without
// questions, as F6 does; the cursor and the insert mode come back. False
// when the store refused.
bool ReplaceAll(Editor& e, std::string_view find, std::string_view repl, bool block, int8_t caseFlag);

Reentry SearchKey(Editor& e, KeyCode key);        // F7, Shift+F7, Ctrl+F7, Ctrl+Shift+F7, Alt+F7, Alt+Shift+F7
Reentry RepeatSearchKey(Editor& e, KeyCode key);  // Ctrl+Enter, Alt+Enter, Alt+keypad Enter
Reentry NewSearchKey(Editor& e, KeyCode key);     // Ctrl+Z
Reentry MarkerKey(Editor& e, KeyCode key);        // Ctrl+Q
Reentry ReplaceKey(Editor& e, KeyCode key);       // F6
Reentry ReplaceByFileKey(Editor& e, KeyCode key); // Alt+F8, Alt+Shift+F8, Ctrl+Shift+F8

}  // namespace lumo

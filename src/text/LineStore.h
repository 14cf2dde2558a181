// Operations on the line table. Everything that adds, removes or regrows a
// line goes through here so that the budget and the remembered line numbers
// stay in step with the table.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>
#include "text/TextState.h"

namespace lumo {

// Allocates the table and the status-row block; false when the budget cannot
// hold them (start-up then fails with exit code 2).
bool InitLineTable(TextState& t);
// Frees every text line (LineCount becomes 0); the table itself stays.
void FreeAllLines(TextState& t);

size_t FreeMemory(const TextState& t);

// The raw counted string of line i (0..LineCount).
inline uint8_t* LineAt(const TextState& t, int i) { return t.Lines[i]; }
inline uint8_t Capacity(const TextState& t, int i) { return t.Lines[i][0]; }
inline std::string_view LineBytes(const TextState& t, int i) {
  const uint8_t* p = t.Lines[i];
  return {reinterpret_cast<const char*>(p + 1), p[0]};
}

// Length of s without trailing blanks and a trailing line-colour marker.
uint8_t TextLength(std::string_view s);
inline uint8_t TextLength(const TextState& t, int i) { return TextLength(LineBytes(t, i)); }

// Inserts a blank line of the given capacity at index; on refusal the index
// variable is decremented and OpFailed set.
void InsertLine(TextState& t, uint8_t capacity, int16_t& index);
// Inserts blank lines before index at (1..LineCount + 1), the k-th of
// capacities[k], with one move of the table and the remembered line numbers
// moved once: a paste of thousands of lines into a long text must not move
// the table for each. The caller has checked the line limit and the budget;
// false, with nothing inserted, when an allocation fails all the same.
bool InsertLines(TextState& t, int at, std::span<const uint8_t> capacities);
// Replaces the text of line index, growing its capacity when the text is
// longer. False, after the store's notice and with OpFailed set, when the
// budget cannot grow the line; the line is then unchanged.
bool SetLineText(TextState& t, std::string_view text, int index);
// Whether line index can take a text of this length, growing if it must,
// with reserve bytes of the budget kept for another line of the same edit.
bool CanHold(const TextState& t, int index, int length, size_t reserve = 0);
// The store's refusal for want of memory: the notice, OpFailed.
void RefuseNoMemory(TextState& t);
// Removes line index (the last line is only blanked).
void DeleteLine(TextState& t, int16_t& index);

// Removes count lines from index at on, leaving the text, the history ring
// and every remembered line number as count DeleteLine(at) calls would, but
// with one move of the table: a block of thousands of lines goes at once.
void DeleteLines(TextState& t, int at, int count);

// Appends a line at LineCount + 1 without renumbering or setting Modified:
// the loader's fast path. The caller has checked the count and the budget.
bool AppendLoadedLine(TextState& t, std::string_view text, uint8_t capacity);

}  // namespace lumo

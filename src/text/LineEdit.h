// A work copy of one line, and the one way to store it back. An edit copies
// a line's bytes (its whole capacity) into a LineEdit, changes them there,
// and only then asks whether the result can be stored: a line holds at most
// 255 bytes and grows only within the memory budget. The buffer has room for
// two full lines, so a word wrapped into a full line or two lines joined can
// be measured before anything is cut. CommitLine pushes the line's old text
// to the history and stores the new one, or refuses and changes nothing at
// all: neither the text, nor the history ring, nor Modified.
//
// A line just inserted, as the first change of an edit, takes its text
// through SetLineText instead: a commit would put its blank in the ring.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/TextState.h"

namespace lumo {

inline constexpr int MaxLineBytes = 255;  // the longest counted string

// The byte at 1-based column col of s. Every column outside s reads as a
// blank, as a line reads past its capacity, so scans need no bounds checks.
inline uint8_t ByteAt(std::string_view s, int col) {
  return col >= 1 && size_t(col) <= s.size() ? uint8_t(s[size_t(col) - 1]) : uint8_t(' ');
}

// The column of s's first byte that is not a blank, 0 when there is none.
inline int FirstNonBlank(std::string_view s) {
  const size_t i = s.find_first_not_of(' ');
  return i == std::string_view::npos ? 0 : int(i) + 1;
}

struct LineEdit {
  static constexpr int Room = 2 * MaxLineBytes + 1;
  // B[1..Len] is the line; bytes past Len keep what they held, which the
  // prompt line relies on (Shift+Right shows them again).
  uint8_t B[Room + 1];
  int Len = 0;
  // An insertion found no room: the copy has lost bytes and cannot be stored.
  bool Overflow = false;

  std::string_view Bytes() const { return {reinterpret_cast<const char*>(B + 1), size_t(Len)}; }
  // What the store takes: a counted string stops at 255 bytes.
  std::string_view View() const {
    return Bytes().substr(0, size_t(Len < MaxLineBytes ? Len : MaxLineBytes));
  }
  uint8_t At(int col) const { return ByteAt(Bytes(), col); }

  // The column of the last byte that is not a blank: what must fit in 255.
  int RawEnd() const;
  // The end of the text as the store counts it: a trailing line-colour
  // ending is not text.
  int TextEnd() const;
  // Pads with blanks up to column len.
  void FillTo(int len);
  // Puts bytes in at column col; a column past the end is reached with blanks.
  void Insert(int col, std::string_view bytes);
  void Insert(int col, uint8_t ch) { Insert(col, {reinterpret_cast<const char*>(&ch), 1}); }
  // Takes out up to n bytes from column col on.
  void Erase(int col, int n);
  // Drops everything from column col on.
  void Cut(int col) { Erase(col, Len); }
};

LineEdit EditLine(const TextState& t, int index);
LineEdit EditText(std::string_view text);

enum class Fit { Ok, TooLong, NoMemory };

// Whether w can be stored as line index while `reserve` bytes of the budget
// stay free for another line of the same edit. Silent, so that a caller with
// a signal of its own (typing pauses) can check before it commits.
Fit CheckFit(const TextState& t, int index, const LineEdit& w, size_t reserve = 0);
// What storing w as line index takes from the budget.
size_t GrowthCost(const TextState& t, int index, const LineEdit& w);

// Stores w as line index after pushing the line's history, and sets
// Modified. A refusal sets OpFailed and changes nothing; a line the budget
// cannot grow gets the store's notice, a text past 255 bytes none (the
// callers that can meet one check first and signal it their own way).
bool CommitLine(TextState& t, int index, const LineEdit& w);

// Puts every stored byte of lines first..last, up to each line's capacity,
// through map (256 entries) in place. Lengths and capacities stay, so
// nothing can be refused; the history and Modified are the caller's, since
// recoding the whole text changes what is held but not what is on disk.
void MapLineBytes(TextState& t, int first, int last, const uint8_t* map);
// The same over columns firstCol..lastCol of each line, as far as the line's
// capacity reaches: the block commands' edits of a rectangle.
void MapLineBytes(TextState& t, int first, int last, const uint8_t* map, int firstCol, int lastCol);

}  // namespace lumo

// The completion list shorts.lmo and the search for a word that completes
// the one being typed: first in the list's words, then in the lines of the
// text, upward from the cursor's line, then downward, then once more with
// the letter case ignored. The search is resumable: each offer leaves it
// where it stood, so going on after a refused offer never scans a line twice
// in one pass, however many offers a line or the text holds.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/Editor.h"

namespace lumo {

inline constexpr size_t ShortsEntries = 100;  // per list
inline constexpr char ShortsName[] = "shorts.lmo";

// Splits a completion file's bytes into the word and abbreviation lists (a
// line holding byte 7 is an abbreviation); lines are cut to 255 bytes.
void ParseShorts(std::string_view bytes, std::vector<std::string>& words, std::vector<std::string>& abbrevs);
// Finds shorts.lmo as side files are found and reads it; when there is none
// the lists stay as they are.
void ReadShorts(Editor& e);
// The expansion of word (byte 8 at its end included), or false.
bool FindAbbrev(const std::vector<std::string>& abbrevs, std::string_view word, std::string_view& expansion);
// Adds text as one CR LF line at the end of the file at path, in one step.
// False, with the file as it was, when it cannot be read whole or written.
bool AppendShortsLine(const std::string& path, std::string_view text);

// One place the search offers: bytes P..E-1 (1-based) of Candidate would
// complete the word; Shown is what the message row shows.
struct CompletionOffer {
  std::string Candidate;
  std::string_view Shown;
  int P = 0, E = 0;
  int K = 0;          // the word's or the line's number
  uint8_t Attr = 10;  // tells the phase and direction apart
};

class CompletionSearch {
 public:
  // prefix: the part of the word before the cursor, as typed.
  CompletionSearch(const Editor& e, std::string_view prefix);
  // The next offer from where the search stands; false when none is left.
  bool Next(CompletionOffer& o);
  // Refused: the next word, or the next place in the same line.
  void Skip();
  // Down turns the search the other way round, Up turns it back; both go
  // on with the next word or line. Up on an unturned search is Skip.
  void Down();
  void Up();

 private:
  enum class Phase : uint8_t { Words, Text, Done };
  void StartText();
  void NextLine();
  void Turn(uint8_t from1, uint8_t to1, uint8_t from2, uint8_t to2);
  bool OfferInLine(CompletionOffer& o);

  const Editor& E;
  std::string Prefix;
  Phase At = Phase::Words;
  int K = 1;
  uint8_t D = 0, Pass = 0;
  std::string Copy;    // the line being searched, as compared
  bool Loaded = false;
  size_t From = 0;     // where the next place in Copy is looked for
  size_t Place = 0;    // the place last offered
};

}  // namespace lumo

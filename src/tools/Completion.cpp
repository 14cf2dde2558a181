// Reading shorts.lmo takes any bytes: a line is whatever lies between line
// ends, cut to what a line can hold. Appending is done by the editor itself
// and never by a command interpreter, which would read the text as a command.
#include "tools/Completion.h"

#include <algorithm>
#include <sys/stat.h>

#include "text/CaseMap.h"
#include "text/LineEdit.h"
#include "text/LineStore.h"
#include "text/WordScan.h"
#include "tools/SideFile.h"
#include "tools/SidePaths.h"

namespace lumo {
namespace {

// Only the first 100 lines of each kind are kept, which fit in far less
// unless lines run on past what a line holds; then reading ends here.
constexpr size_t ShortsReadLimit = 1 << 20;
// An appended file is read whole and written back: a larger one is refused
// rather than cut.
constexpr size_t ShortsAppendLimit = 64u << 20;
constexpr size_t ShownBytes = 53;

std::string_view UpToLastNonBlank(std::string_view s, size_t from) {
  if (from >= s.size()) return {};
  s.remove_prefix(from);
  const size_t last = s.find_last_not_of(' ');
  s = last == std::string_view::npos ? std::string_view{} : s.substr(0, last + 1);
  return s.substr(0, ShownBytes);
}

}  // namespace

void ParseShorts(std::string_view bytes, std::vector<std::string>& words, std::vector<std::string>& abbrevs) {
  words.clear();
  abbrevs.clear();
  SideLines lines(bytes);
  std::string_view line;
  while ((words.size() < ShortsEntries || abbrevs.size() < ShortsEntries) && lines.Next(line, MaxLineBytes)) {
    auto& list = line.find('\7') != std::string_view::npos ? abbrevs : words;
    if (list.size() < ShortsEntries) list.emplace_back(line);
  }
}

void ReadShorts(Editor& e) {
  std::string path = ShortsName;
  if (!FindSideFile(path, e.ProgramPath)) return;
  std::string bytes;
  ReadSideFile(path, bytes, ShortsReadLimit);
  ParseShorts(bytes, e.WordList, e.AbbrevList);
}

bool FindAbbrev(const std::vector<std::string>& abbrevs, std::string_view word, std::string_view& expansion) {
  if (word.empty()) return false;
  for (const std::string& a : abbrevs) {
    if (a.find('\7') != word.size() || a.compare(0, word.size(), word) != 0) continue;
    expansion = std::string_view(a).substr(word.size() + 1);
    return true;
  }
  return false;
}

bool AppendShortsLine(const std::string& path, std::string_view text) {
  std::string bytes;
  if (!ReadSideFile(path, bytes, ShortsAppendLimit + 1)) {
    // Something that is there but no readable file would be lost by the write.
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0) return false;
  }
  if (bytes.size() > ShortsAppendLimit) return false;
  // A last line without its end would take the new text in as its own tail.
  if (!bytes.empty() && bytes.back() != '\n' && bytes.back() != '\r') bytes += "\r\n";
  AddSideLine(bytes, text);
  return WriteSideFile(path, bytes);
}

CompletionSearch::CompletionSearch(const Editor& e, std::string_view prefix) : E(e), Prefix(prefix) {
  if (Prefix.empty()) At = Phase::Done;
  else if (E.WordList.empty()) StartText();
}

bool CompletionSearch::Next(CompletionOffer& o) {
  while (At == Phase::Words) {
    if (K < 1 || K > int(E.WordList.size())) {
      StartText();
      break;
    }
    const std::string& w = E.WordList[size_t(K - 1)];
    if (w.size() > Prefix.size() && w.compare(0, Prefix.size(), Prefix) == 0) {
      o.Candidate = w;
      o.Shown = UpToLastNonBlank(o.Candidate, 0);
      o.P = int(Prefix.size()) + 1;
      o.E = int(w.size()) + 1;
      o.K = K;
      o.Attr = uint8_t(10 + Pass + D);
      return true;
    }
    Skip();
  }
  while (At == Phase::Text) {
    if (!Loaded) {
      const std::string_view line = LineBytes(E, K);
      Copy.assign(line);
      // The word being typed must not complete itself.
      if (K == E.CurLine && E.CurCol >= 1 && size_t(E.CurCol) <= Copy.size()) Copy[size_t(E.CurCol - 1)] = ' ';
      if (Pass == 1)
        for (char& c : Copy) c = char(ToCapital(uint8_t(c)));
      Loaded = true;
      From = 0;
    }
    if (OfferInLine(o)) return true;
    NextLine();
  }
  return false;
}

bool CompletionSearch::OfferInLine(CompletionOffer& o) {
  const std::string_view c = Copy;
  for (size_t at; (at = c.find(Prefix, From)) != std::string_view::npos; From = at + 1) {
    // The next place is looked for past this one, not by overwriting it:
    // a prefix that begins with the overwriting byte would find it again.
    const int p0 = int(at) + 1;
    const uint8_t before = ByteAt(c, p0 - 1);
    if (p0 > 1 && before > 41 && !IsDelimiter(before)) continue;
    // A word that ends the line ends where the line does.
    const size_t blank = c.find(' ', at);
    int end = blank == std::string_view::npos ? int(c.size()) + 1 : int(blank) + 1;
    if (end <= p0 + 2) continue;
    const int p = p0 + int(Prefix.size());
    // A Russian word's last two letters are mostly its ending: not offered,
    // but at least one letter is.
    if (uint8_t(Prefix[0]) >= 128) {
      end -= 2;
      if (end == p) end = p + 1;
    }
    if (end <= p) continue;
    Place = at;
    o.Candidate.assign(LineBytes(E, K));
    o.Shown = UpToLastNonBlank(o.Candidate, at);
    o.P = p;
    o.E = end;
    o.K = K;
    o.Attr = uint8_t(10 + Pass + D);
    return true;
  }
  return false;
}

void CompletionSearch::StartText() {
  At = Phase::Text;
  Pass = 0;
  D = 0;
  K = E.CurLine;
  Loaded = false;
  if (K < 1 || K > E.LineCount) At = Phase::Done;
}

void CompletionSearch::NextLine() {
  Loaded = false;
  K += D < 2 ? -1 : 1;
  if (K == 0) {
    D = 2;
    K = E.CurLine + 1;
  }
  if (K > E.LineCount) {
    if (Pass == 1) {
      At = Phase::Done;
      return;
    }
    Pass = 1;
    K = E.CurLine;
    D = 0;
    for (char& c : Prefix) c = char(ToCapital(uint8_t(c)));
  }
}

void CompletionSearch::Skip() {
  if (At == Phase::Words) K += D == 0 ? 1 : -1;
  else if (At == Phase::Text) From = Place + 1;
}

void CompletionSearch::Turn(uint8_t from1, uint8_t to1, uint8_t from2, uint8_t to2) {
  if (D != from1 && D != from2) {
    Skip();
    return;
  }
  D = D == from1 ? to1 : to2;
  if (At == Phase::Words) K += D == 0 ? 1 : -1;
  else if (At == Phase::Text) NextLine();
}

void CompletionSearch::Down() { Turn(0, 4, 2, 1); }
void CompletionSearch::Up() { Turn(1, 2, 4, 0); }

}  // namespace lumo

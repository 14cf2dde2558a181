// Arbitrary bytes as shorts.lmo: read into the two lists, searched for
// completions of a prefix taken from the input, and a line added to it. The
// file may hold anything a hand or another program put there, so reading
// must take it all, the offers must lie inside their candidates, and an
// added line must come back as the file's last line.
#include <cstdint>
#include <string>

#include "FuzzFail.h"
#include "TempDir.h"
#include "app/Editor.h"
#include "files/Load.h"
#include "text/LineStore.h"
#include "tools/Completion.h"

namespace {

using namespace lumo;

[[noreturn]] void Fail(const std::string& what) { test::FuzzFail("shorts file", what); }

const test::TempDir& Dir() {
  static const test::TempDir dir;
  return dir;
}

void CheckLists(const Editor& e) {
  if (e.WordList.size() > ShortsEntries || e.AbbrevList.size() > ShortsEntries) Fail("a list past 100 entries");
  for (const std::string& w : e.WordList)
    if (w.size() > 255 || w.find('\7') != std::string::npos) Fail("a word too long or holding byte 7");
  for (const std::string& a : e.AbbrevList)
    if (a.size() > 255 || a.find('\7') == std::string::npos) Fail("an abbreviation too long or without byte 7");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Editor e;
  InitLineTable(e);
  EnsureOneLine(e);
  ParseShorts(bytes, e.WordList, e.AbbrevList);
  CheckLists(e);

  // The input's first bytes as the word being typed, its whole as a line.
  const std::string prefix = bytes.substr(0, size % 4 + 1);
  SetLineText(e, bytes.substr(0, 255), 1);
  e.CurLine = 1;
  e.CurCol = int16_t(size % 256 + 1);
  CompletionSearch s(e, prefix);
  CompletionOffer o;
  for (int n = 0; n < 300 && s.Next(o); ++n) {
    if (o.P < 1 || o.E <= o.P || size_t(o.E - 1) > o.Candidate.size()) Fail("an offer outside its candidate");
    if (n % 3 == 2) s.Down();
    else s.Skip();
  }
  std::string_view expansion;
  if (FindAbbrev(e.AbbrevList, prefix, expansion) && expansion.size() > 254) Fail("an expansion past the line");

  const std::string path = Dir() / "shorts.lmo";
  test::TempDir::Write(path, bytes);
  const std::string line = bytes.substr(0, 40);
  if (!AppendShortsLine(path, line)) Fail("the line was not added");
  std::string back = test::TempDir::Read(path);
  std::string want = line;
  for (char& c : want)
    if (c == '\r' || c == '\n') c = ' ';
  want += "\r\n";
  if (back.size() < want.size() || back.compare(back.size() - want.size(), want.size(), want) != 0)
    Fail("the added line is not the file's last");
  if (back.compare(0, bytes.size(), bytes) != 0) Fail("the file's old bytes changed");
  return 0;
}

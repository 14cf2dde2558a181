// Splitting bytes into lines, from a file read in chunks or from memory,
// against the rules written plainly byte by byte.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <random>
#include <unistd.h>

#include "TempDir.h"
#include "files/LineSource.h"

namespace lumo {
namespace {

using test::TempDir;

// The line rules written the plain way, byte by byte, as the reference.
std::vector<std::string> Reference(const std::string& s, int* cut) {
  std::vector<std::string> out;
  size_t i = 0;
  *cut = 0;
  while (i < s.size() && s[i] != 26) {
    std::string line;
    while (i < s.size() && s[i] != '\r' && s[i] != '\n') line += s[i++];
    if (i < s.size()) {
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      ++i;
    }
    if (line.size() > 255) {
      line.resize(255);
      ++*cut;
    }
    out.push_back(line);
  }
  return out;
}

// The lines read from a file and from memory, which must agree, and how many
// were cut.
std::vector<std::string> Split(const TempDir& d, const std::string& bytes, int& cut) {
  const std::string path = d / "f";
  TempDir::Write(path, bytes);
  const int fd = open(path.c_str(), O_RDONLY);
  LineSource file(fd), mem(bytes);
  std::vector<std::string> lines[2];
  std::string_view line;
  bool c = false;
  int cuts[2] = {0, 0};
  while (file.Next(line, c)) lines[0].emplace_back(line), cuts[0] += c;
  while (mem.Next(line, c)) lines[1].emplace_back(line), cuts[1] += c;
  close(fd);
  EXPECT_EQ(lines[0], lines[1]);
  EXPECT_EQ(cuts[0], cuts[1]);
  cut = cuts[0];
  return lines[0];
}
TEST(LineSource, AgreesWithTheReferenceAcrossReadBoundaries) {
  TempDir d;
  std::mt19937 rng(7);
  const char alphabet[] = {'a', 'b', ' ', '\r', '\n', 26, '\t', char(0xE4)};
  for (int round = 0; round < 6; ++round) {
    std::string s;
    size_t n = 300000 + rng() % 300000;
    // Long runs without a line end make over-long lines that cross reads.
    std::uniform_int_distribution<int> pick(0, round % 2 ? 7 : 2);
    while (s.size() < n) {
      char c = alphabet[pick(rng)];
      if (c == 26 && rng() % 50) c = 'z';  // keep most texts going
      s += c;
    }
    int refCut = 0, cut = 0;
    EXPECT_EQ(Split(d, s, cut), Reference(s, &refCut)) << round;
    EXPECT_EQ(cut, refCut);
  }
}

// Empty lines, texts ended early by Ctrl+Z, and a CR LF whose CR is the last
// byte of the first read.
TEST(LineSource, EndsAndEmptyLines) {
  TempDir d;
  std::string split;
  while (split.size() < 256 * 1024 - 1) split += split.size() % 100 == 99 ? '\n' : 'x';
  split += "\r\nnext\r\n";
  ASSERT_EQ(split[256 * 1024 - 1], '\r');
  int cut = 0;
  for (const auto& [bytes, lines] : std::vector<std::pair<std::string, std::vector<std::string>>>{
           {"\r\n\n\r", {"", "", ""}}, {"", {}}, {"\x1a" "after", {}}, {"no end", {"no end"}}})
    EXPECT_EQ(Split(d, bytes, cut), lines);
  const std::vector<std::string> lines = Split(d, split, cut);
  EXPECT_EQ(lines, Reference(split, &cut));
  EXPECT_EQ(lines.back(), "next");
}

}  // namespace
}  // namespace lumo

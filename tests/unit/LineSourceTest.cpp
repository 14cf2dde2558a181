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

std::vector<std::string> Split(LineSource& src, int* cut) {
  std::vector<std::string> out;
  std::string_view line;
  bool c = false;
  *cut = 0;
  while (src.Next(line, c)) {
    out.emplace_back(line);
    *cut += c;
  }
  return out;
}

std::vector<std::string> SplitFile(const TempDir& d, const std::string& bytes, int* cut) {
  std::string path = d / "f";
  TempDir::Write(path, bytes);
  int fd = open(path.c_str(), O_RDONLY);
  LineSource src(fd);
  auto lines = Split(src, cut);
  close(fd);
  return lines;
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
    int refCut = 0, fileCut = 0, memCut = 0;
    auto ref = Reference(s, &refCut);
    EXPECT_EQ(SplitFile(d, s, &fileCut), ref) << round;
    LineSource mem(s);
    EXPECT_EQ(Split(mem, &memCut), ref) << round;
    EXPECT_EQ(fileCut, refCut);
    EXPECT_EQ(memCut, refCut);
  }
}

TEST(LineSource, CrLfSplitByAReadIsOneLineEnd) {
  TempDir d;
  const size_t chunk = 256 * 1024;
  std::string s;
  while (s.size() < chunk - 1) s += s.size() % 100 == 99 ? '\n' : 'x';
  s.back() = 'y';
  s += "\r\nnext\r\n";  // the CR is the last byte of the first read
  ASSERT_EQ(s[chunk - 1], '\r');
  int cut = 0;
  auto lines = SplitFile(d, s, &cut);
  EXPECT_EQ(lines.back(), "next");
  EXPECT_EQ(lines[lines.size() - 2].back(), 'y');
  int refCut = 0;
  EXPECT_EQ(lines, Reference(s, &refCut));
}

TEST(LineSource, EndsAndEmptyLines) {
  int cut = 0;
  LineSource a(std::string_view("\r\n\n\r"));
  EXPECT_EQ(Split(a, &cut), (std::vector<std::string>{"", "", ""}));
  LineSource b(std::string_view(""));
  EXPECT_TRUE(Split(b, &cut).empty());
  LineSource c(std::string_view("\x1a" "after"));
  EXPECT_TRUE(Split(c, &cut).empty());
  LineSource z(std::string_view("no end"));
  EXPECT_EQ(Split(z, &cut), (std::vector<std::string>{"no end"}));
}

}  // namespace
}  // namespace lumo

// A million keys of a realistic mix through the real main loop, the whole
// state checked before every key; at the end of each stretch the text is
// saved and must read back as itself. LUMO_SOAK_KEYS overrides the count.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "KeyMix.h"
#include "StressRun.h"
#include "files/Save.h"
#include "text/Cp866.h"

namespace lumo {
namespace {

using namespace test;

long TotalKeys() {
  const long n = std::getenv("LUMO_SOAK_KEYS") ? std::atol(std::getenv("LUMO_SOAK_KEYS")) : 0;
  return n > 0 ? n : 1000000;
}

// What a load makes of saved bytes, written independently of the loader:
// typed CR, LF and Ctrl+Z bytes are ordinary bytes in a line but line ends
// (and the end of the text, at a line's start) in a file.
std::string ReadBack(const std::string& bytes) {
  std::string out, line;
  auto end = [&] {
    if (line.size() > 255) line.resize(255);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\0')) line.pop_back();
    out += line + "\r\n";
    line.clear();
  };
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == 26 && line.empty()) break;
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      end();
    } else {
      line += c;
    }
  }
  if (!line.empty()) end();
  return out.empty() ? "\r\n" : out;
}

std::string Cp866Text() {
  return Cp("Первая строка текста, in two scripts.\r\n"
            "\tprocedure Step(var x: integer);\r\n"
            "\r\n"
            "   ends with blanks   \r\n"
            "╔══════╗ box drawing ╚══════╝\r\n");
}

struct Stretch {
  const char* name;
  int w, h;
  size_t budget;
  uint64_t seed;
};

class Soak : public ::testing::TestWithParam<Stretch> {};

TEST_P(Soak, StateStaysWholeAndTheTextSavesAndReadsBack) {
  const Stretch s = GetParam();
  const std::string start = Cp866Text();
  StressRun r(start, s.w, s.h, s.budget);
  KeyMix mix(s.seed, r.Dir.Path);
  const long keys = TotalKeys() / 4;
  ASSERT_TRUE(r.Run([&] { return mix.Next(); }, keys)) << r.Fault;
  EXPECT_EQ(r.Keys, keys);

  // The mix reached the file commands and the exit question, not only the
  // typing: saves, copies elsewhere and the side files of an exit exist.
  EXPECT_NE(TempDir::Read(r.Dir / "text.txt"), start) << "no save reached the file";
  // A narrow prompt line cannot hold the directory's whole path.
  EXPECT_TRUE(s.w < 60 || std::filesystem::exists(r.Dir / "elsewhere/text.txt")) << "no save elsewhere";
  EXPECT_TRUE(std::filesystem::exists(r.Dir / "history")) << "no exit wrote the prompt history";

  // What the editor holds is what a save writes, and a fresh load of that
  // file holds the same lines.
  r.E->FileName = r.E->BoundName = r.Dir / "final.txt";
  r.E->Modified = true;
  SaveText(*r.E);
  ASSERT_EQ(r.E->OpFailed, 0);
  const std::string written = TempDir::Read(r.Dir / "final.txt");
  EXPECT_EQ(written, r.Saved());
  StressRun again(written, s.w, s.h, s.budget);
  EXPECT_EQ(again.Saved(), ReadBack(written));
}

INSTANTIATE_TEST_SUITE_P(
    Stretches, Soak,
    ::testing::Values(Stretch{"Standard", 80, 25, DefaultBudget, 11}, Stretch{"Tiny", 20, 6, DefaultBudget, 12},
                      Stretch{"Wide", 132, 50, DefaultBudget, 13}, Stretch{"ShortMemory", 80, 25, 98304 + 6000, 14}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumo

#include <gtest/gtest.h>

#include <functional>

#include "KeyMix.h"
#include "StressRun.h"
#include "app/Invariants.h"
#include "files/Save.h"

namespace lumo {
namespace {

using test::KeyMix;
using test::StressRun;
using test::TempDir;


TEST(Invariants, AFreshStateHoldsAndEachBrokenRuleIsNamed) {
  struct Breakage {
    const char* name;
    std::function<void(Editor&)> breakIt;
    const char* expected;
  };
  const Breakage cases[] = {
      {"no lines", [](Editor& e) { e.LineCount = 0; }, "LineCount"},
      {"cursor below the text", [](Editor& e) { e.CurLine = int16_t(e.LineCount + 1); }, "CurLine"},
      {"cursor past any line", [](Editor& e) { e.CurCol = 257; }, "CurCol"},
      {"cursor before column 1", [](Editor& e) { e.CurCol = 0; }, "CurCol"},
      {"top below the cursor", [](Editor& e) { e.CurLine = 2; e.TopLine = 3; }, "TopLine"},
      {"cursor below the window", [](Editor& e) { e.CurLine = 5; e.TopLine = 1; }, "below the window"},
      {"cursor left of the window", [](Editor& e) { e.HScroll = 40; e.CurCol = 10; }, "beside"},
      {"block the wrong way round", [](Editor& e) { e.BlockFirst = 3; e.BlockLast = 2; }, "line block"},
      {"half a block", [](Editor& e) { e.BlockFirst = 1; }, "line block"},
      {"line mark past the end", [](Editor& e) { e.LineMark[2] = int16_t(e.LineCount + 1); }, "line mark"},
      {"position mark past the end", [](Editor& e) { e.PosMark[1] = {int16_t(e.LineCount + 3), 1, 1}; }, "position"},
      {"budget out of step", [](Editor& e) { e.BudgetUsed += 1; }, "budget"},
      {"stale slot", [](Editor& e) { e.Lines[e.LineCount + 1] = e.Lines[1]; }, "slot"},
      {"tab stops falling", [](Editor& e) { e.TabStops[5] = 2; }, "TabStops"},
      {"history index", [](Editor& e) { e.HistoryNewest = 16; }, "history"},
      {"prompt index", [](Editor& e) { e.PromptIndex = 16; }, "prompt"},
  };
  for (const Breakage& c : cases) {
    StressRun r(test::StressText, 80, 6);
    ASSERT_EQ(CheckInvariants(*r.E), "") << "before: " << c.name;
    uint8_t* stale = r.E->Lines[r.E->LineCount + 1];
    c.breakIt(*r.E);
    std::string f = CheckInvariants(*r.E);
    EXPECT_NE(f, "") << c.name;
    if (c.expected) {
      EXPECT_NE(f.find(c.expected), std::string::npos) << c.name << ": " << f;
    }
    r.E->Lines[r.E->LineCount + 1] = stale;  // the state must still be freed as it was
    if (r.E->LineCount == 0) r.E->LineCount = 5;
  }
}

// The realistic mix through the real loop: the state stays whole before
// every key, and what a save writes reads back as the text.
TEST(RandomKeys, KeepTheStateWholeAndTheTextSaveable) {
  for (uint64_t seed : {1u, 2u, 3u, 4u}) {
    StressRun r(test::StressText);
    KeyMix mix(seed, r.Dir.Path);
    ASSERT_TRUE(r.Run([&] { return mix.Next(); }, 20000)) << "seed " << seed << ": " << r.Fault;
    r.E->Modified = true;
    r.E->BoundName = r.E->FileName = r.Dir / "final.txt";
    SaveText(*r.E);
    ASSERT_EQ(r.E->OpFailed, 0) << seed;
    EXPECT_EQ(TempDir::Read(r.Dir / "final.txt"), r.Saved()) << seed;
  }
}

// Narrow and short windows take the sideways and vertical scrolling paths
// at every other key.
TEST(RandomKeys, HoldInASmallWindow) {
  StressRun r(test::StressText, 20, 6);
  KeyMix mix(99, r.Dir.Path);
  EXPECT_TRUE(r.Run([&] { return mix.Next(); }, 20000)) << r.Fault;
}

// A budget that the text barely fits: insertions and growth are refused,
// and the account stays exact through every refusal.
TEST(RandomKeys, HoldWithMemoryShort) {
  StressRun r(test::StressText, 80, 25, 98304 + 2000);
  KeyMix mix(7, r.Dir.Path);
  EXPECT_TRUE(r.Run([&] { return mix.Next(); }, 20000)) << r.Fault;
}

}  // namespace
}  // namespace lumo

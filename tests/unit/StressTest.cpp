// The check of the whole editing state that the soak and the fuzz targets
// run before every key: it must see each broken rule, and name it.
#include <gtest/gtest.h>

#include <functional>

#include "StressRun.h"
#include "app/Invariants.h"

namespace lumo {
namespace {

using test::StressRun;

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
    EXPECT_NE(f.find(c.expected), std::string::npos) << c.name << ": " << f;
    r.E->Lines[r.E->LineCount + 1] = stale;  // the state must still be freed as it was
    if (r.E->LineCount == 0) r.E->LineCount = 5;
  }
}

}  // namespace
}  // namespace lumo

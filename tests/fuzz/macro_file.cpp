// Arbitrary bytes as keydef.lmo: read into the macro table, which must stay
// within its bounds and the budget's account, leave the text alone, and come
// back the same from the file the editor would write for it.
#include <cstdint>
#include <string>

#include "FuzzFail.h"
#include "app/Editor.h"
#include "app/Invariants.h"
#include "files/Load.h"
#include "text/LineStore.h"
#include "tools/Macros.h"

namespace {

using namespace lumo;

[[noreturn]] void Fail(const std::string& what) { test::FuzzFail("macro file", what); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  Editor e;
  InitLineTable(e);
  EnsureOneLine(e);
  SetLineText(e, "text", 1);
  // A budget that runs out part way through some inputs.
  e.BudgetLimit = e.BudgetUsed + size % 1024;
  ParseMacros(e, bytes);
  if (LineBytes(e, 1).substr(0, TextLength(e, 1)) != "text" || e.LineCount != 1) Fail("reading changed the text");
  if (const std::string f = CheckInvariants(e); !f.empty()) Fail(f);
  if (e.MacrosChanged) Fail("reading marked the macros changed");

  Editor back;
  InitLineTable(back);
  EnsureOneLine(back);
  ParseMacros(back, MacroBytes(e));
  if (back.MacroSet != e.MacroSet) Fail("the written file holds other ids");
  for (int id = 0; id < 256; ++id)
    if (back.MacroText[id] != e.MacroText[id]) Fail("macro " + std::to_string(id) + " comes back changed");
  return 0;
}

// Arbitrary bytes as keydef.lmo, read into the macro table with room for all
// of it and with a budget that runs out part of the way. Whatever the file
// holds, every macro stays within 255 bytes, the budget account matches what
// the texts hold, no line of the text changes, and the file the editor
// would write reads back as the same table.
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

[[noreturn]] void Fail(const std::string& what) { lumo::test::FuzzFail("macro file", what); }

void Check(const Editor& e) {
  size_t held = 0;
  for (const auto& m : e.Macro)
    if (m) {
      if (m->size() > 255) Fail("a macro past 255 bytes");
      held += m->size();
    }
  if (held != e.MacroBytes) Fail("the macro bytes counted differ from the texts");
  if (std::string f = CheckInvariants(e); !f.empty()) Fail(f);
  if (LineBytes(e, 1).substr(0, TextLength(e, 1)) != "text") Fail("reading changed the text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (size_t room : {size_t(1) << 20, size % 300}) {
    Editor e;
    InitLineTable(e);
    EnsureOneLine(e);
    SetLineText(e, "text", 1);
    e.BudgetLimit = e.BudgetUsed + room;
    MacrosFromBytes(e, bytes);
    Check(e);
    Editor again;
    InitLineTable(again);
    EnsureOneLine(again);
    SetLineText(again, "text", 1);
    MacrosFromBytes(again, MacroFileBytes(e));
    Check(again);
    if (again.Macro != e.Macro) Fail("the written file reads back as another table");
  }
  return 0;
}

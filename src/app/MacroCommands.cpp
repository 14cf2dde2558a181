// The macro file is asked for under its name; when that cannot be opened or
// the question is given up, a keydef.lmo found elsewhere (beside the
// program, say) is offered once more, unless it is the very name just tried.
#include "app/MacroCommands.h"

#include <string>

#include "app/Typing.h"
#include "files/AskFile.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/Texts.h"
#include "tools/AtomicFile.h"
#include "tools/Macros.h"
#include "tools/PromptEditor.h"
#include "tools/SideFile.h"
#include "tools/SidePaths.h"

namespace lumo {
namespace {

// More than any macro file holds (256 lines of 259 bytes); the rest of a
// larger file is left unread.
constexpr size_t MacroReadLimit = 1 << 20;

// The file-name prompt, then the second try with a keydef.lmo found
// elsewhere. False when nothing was opened.
bool OpenMacroFile(Editor& e, OpenFile& file, uint8_t mode) {
  std::string name = e.MacroFileName;
  for (int attempt = 0; attempt < 2; ++attempt) {
    AskFile(e, name, file, mode);
    if (e.OpFailed == 0) return true;
    std::string found(MacroFileName);
    if (!FindSideFile(found, e.ProgramPath) || found == name) return false;
    name = found;
  }
  return false;
}

}  // namespace

Reentry DefineMacroKey(Editor& e, KeyCode key) {
  const uint8_t id = MacroId(e, key);
  PromptText answer;
  PromptEditor(e, answer, PromptMacroWord);
  if (e.OpFailed != 0 || answer.Length == 0) return Reentry::Redraw;
  if (!StoreMacro(e, id, answer.View())) {
    ShowMessage(e, Texts::NoMemory, 1);
    return Reentry::Redraw;
  }
  e.MacrosChanged = true;
  return Reentry::Redraw;
}

Reentry PlayMacroKey(Editor& e, KeyCode key) {
  const std::optional<std::string>& text = e.Macro[MacroId(e, key)];
  if (!text) {
    ShowMessage(e, Texts::MacroUndefined, 1);
    return Reentry::Update;
  }
  TypeString(e, *text);
  return Reentry::Redraw;
}

bool TransferMacros(Editor& e, MacroTransfer how) {
  OpenFile file;
  if (how == MacroTransfer::SilentRead) {
    std::string path = e.MacroFileName;
    std::string bytes;
    if (FindSideFile(path, e.ProgramPath) && ReadSideFile(path, bytes, MacroReadLimit)) MacrosFromBytes(e, bytes);
    return true;
  }
  if (how == MacroTransfer::Read) {
    if (!OpenMacroFile(e, file, AskRead)) return true;
    ShowMessage(e, Texts::MacrosOk, 1);
    std::string bytes;
    ReadUpTo(file.Fd(), bytes, MacroReadLimit);
    MacrosFromBytes(e, bytes);
    return true;
  }
  if (!OpenMacroFile(e, file, AskWrite)) return true;
  const std::string bytes = MacroFileBytes(e);
  if (!WriteFully(file.Fd(), bytes.data(), bytes.size()) || !file.Finish()) {
    ShowMessage(e, Texts::WriteError, 1);
    e.OpFailed = 1;
    return false;
  }
  e.MacrosChanged = false;
  return true;
}

bool OfferMacroSave(Editor& e) {
  if (!e.MacrosChanged || AskChoice(e, Texts::AskSaveMacros) != 1) return true;
  return TransferMacros(e, MacroTransfer::Write);
}

}  // namespace lumo

// The file name starts as the side file's name each time and is asked for
// without touching the field the block commands share. When the name cannot
// be opened, the prompt offers once more the path at which the side file was
// found (beside the program, say), unless that is what just failed.
#include "app/MacroKeys.h"

#include <cerrno>
#include <unistd.h>

#include "app/Typing.h"
#include "files/AskFile.h"
#include "screen/StatusRow.h"
#include "text/Texts.h"
#include "tools/AtomicFile.h"
#include "tools/Macros.h"
#include "tools/PromptEditor.h"
#include "tools/SideFile.h"
#include "tools/SidePaths.h"

namespace lumo {

Reentry DefineMacro(Editor& e, KeyCode key) {
  const uint8_t id = MacroId(key, e.RusMode);
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

Reentry TypeMacro(Editor& e, KeyCode key) {
  const uint8_t id = MacroId(key, e.RusMode);
  if (!e.MacroSet.test(id)) {
    ShowMessage(e, Texts::MacroUndefined, 1);
    return Reentry::Update;
  }
  // A copy: typing may run out of budget, but must not see the text change.
  const std::string text = e.MacroText[id];
  TypeString(e, text);
  return Reentry::Update;
}

namespace {

std::string ReadAll(int fd) {
  std::string bytes;
  char buf[4096];
  while (bytes.size() < MacroFileLimit) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.append(buf, size_t(n));
  }
  return bytes;
}

}  // namespace

void TransferMacros(Editor& e, MacroTransfer how) {
  std::string name = e.MacroFileName;
  if (how == MacroTransfer::SilentRead) {
    std::string bytes;
    if (FindSideFile(name, e.ProgramPath) && ReadSideFile(name, bytes, MacroFileLimit)) ParseMacros(e, bytes);
    return;
  }
  const bool write = how == MacroTransfer::Write;
  OpenFile file;
  for (;;) {
    AskFile(e, name, file, write ? AskWrite : AskRead);
    if (e.OpFailed == 0) break;
    std::string found = e.MacroFileName;
    if (!FindSideFile(found, e.ProgramPath) || found == name) return;
    name = found;
  }
  if (!write) {
    ParseMacros(e, ReadAll(file.Fd()));
    ShowMessage(e, Texts::MacrosOk, 1);
    return;
  }
  const std::string bytes = MacroBytes(e);
  // Only a file that really holds the macros clears the mark, or the offer
  // at exit would not come and the macros would be lost.
  if (!WriteFully(file.Fd(), bytes.data(), bytes.size()) || !file.Finish()) {
    ShowMessage(e, Texts::WriteError, 1);
    e.OpFailed = 1;
    return;
  }
  e.MacrosChanged = false;
}

void OfferMacroSave(Editor& e) {
  if (e.MacrosChanged && AskChoice(e, Texts::AskSaveMacros) == 1) TransferMacros(e, MacroTransfer::Write);
}

}  // namespace lumo

// The name starts as kbdbufer.lmo in the field the file-name prompt shares
// with the block commands. A read that the user gives up gets one more
// chance when the name in the field is one of the editor's side files (found
// beside the program, say): the prompt then offers the path it was found at.
#include "app/KeystrokeFile.h"

#include "files/AskFile.h"
#include "screen/StatusRow.h"
#include "text/Texts.h"
#include "tools/AtomicFile.h"
#include "tools/Keystrokes.h"
#include "tools/SidePaths.h"

namespace lumo {

void TransferKeystrokes(Editor& e, KeystrokeTransfer how) {
  e.BlockFileName = KeystrokeFileName;
  OpenFile file;
  if (how == KeystrokeTransfer::SilentRead) {
    std::string path = e.BlockFileName;
    if (FindSideFile(path, e.ProgramPath) && file.OpenRead(path)) ReadKeystrokes(e, file.Fd());
    return;
  }
  if (how == KeystrokeTransfer::Write) {
    AskFile(e, e.BlockFileName, file, AskWrite);
    if (e.OpFailed != 0) return;
    ShowMessage(e, Texts::KeystrokesOk, 1);
    const std::string bytes = KeystrokeBytes(e);
    // The message above said OK before the bytes went out; a write that
    // then failed must not pass for done, and the old file stays.
    if (!WriteFully(file.Fd(), bytes.data(), bytes.size()) || !file.Finish()) {
      ShowMessage(e, Texts::WriteError, 1);
      e.OpFailed = 1;
    }
    return;
  }
  AskFile(e, e.BlockFileName, file, AskRead);
  if (e.OpFailed != 0) {
    std::string found = e.BlockFileName;
    if (!FindSideFile(found, e.ProgramPath)) return;
    e.BlockFileName = found;
    AskFile(e, e.BlockFileName, file, AskRead);
    if (e.OpFailed != 0) return;
  }
  ShowMessage(e, Texts::KeystrokesOk, 1);
  ReadKeystrokes(e, file.Fd());
}

Reentry WriteKeystrokesKey(Editor& e, KeyCode) {
  TransferKeystrokes(e, KeystrokeTransfer::Write);
  return Reentry::Update;
}

Reentry ReadKeystrokesKey(Editor& e, KeyCode) {
  TransferKeystrokes(e, KeystrokeTransfer::Read);
  return Reentry::Update;
}

}  // namespace lumo

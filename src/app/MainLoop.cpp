// The loop as it stands: Esc leaves through the exit question, F2 saves,
// Ctrl+Alt+Backspace ends at once; other keys do nothing yet.
#include "app/MainLoop.h"

#include "app/Startup.h"
#include "files/Save.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"

namespace lumo {

void RedrawAll(Editor& e) {
  DrawWindow(e);
  DrawStatus(e);
  SetCursor(e, e.CurCol - e.HScroll, e.CurLine - e.TopLine + 3);
  e.Con->Update(false);
}

bool Dispatch(Editor& e, KeyCode key) {
  switch (key) {
    case KeyCtrlAltBackspace:
      e.ExitCode = 0;
      return false;
    case KeyEsc:
      return !ExitSequence(e);
    case KeyF2:
      SaveText(e);
      return true;
    default:
      return true;
  }
}

void MainLoop(Editor& e) {
  ClearMessage(e);
  for (;;) {
    RedrawAll(e);
    if (!Dispatch(e, ReadKey(e))) return;
  }
}

}  // namespace lumo

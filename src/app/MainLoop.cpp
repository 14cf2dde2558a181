// The loop has three re-entry points, one after the other in each pass: the
// redraw point (the idle message row again, a waiting replace run is given
// up, the whole window is marked), the update point (scroll the cursor into
// view, mark the status row) and the read point (place the cursor, read the
// next key). A command's result says where the next pass starts. Nothing is
// drawn before the read: the key read draws what is marked and updates the
// terminal once, and only when no key is waiting, so a paste or a held key
// is drawn once when it ends. Keys are handled in a fixed order: the
// take-file undo mark, the snapshot for the one-key undo, a paste, the table,
// and for keys without a row the Ctrl+Alt macro keys, the Alt fallback or
// typing.
#include "app/MainLoop.h"

#include "tools/Keystrokes.h"

#include <algorithm>
#include <utility>

#include "app/Paste.h"
#include "app/Typing.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineHistory.h"

namespace lumo {
namespace {

void PlaceCursor(Editor& e) {
  SetCursor(e, e.CurCol - e.HScroll, e.CurLine - e.TopLine + 3);
}

}  // namespace

void ScrollToCursor(Editor& e) {
  if (!e.Con) return;
  const int w = e.Con->W();
  const int h = e.Con->H();
  const int row = e.CurLine - e.TopLine + 3;
  if (row < 3) e.TopLine = e.CurLine;
  else if (row > h) e.TopLine = int16_t(e.TopLine + row - h);

  // HScroll is a byte: every step is kept within 0..255, and the loop ends
  // when a step changes nothing, so a column the byte cannot reach does not
  // spin for ever.
  for (;;) {
    const int col = e.CurCol - e.HScroll;
    int next = e.HScroll;
    if (col > w) next = e.HalfScroll ? e.HScroll + w / 2 : e.CurCol - w;
    else if (col < 1) next = e.HalfScroll ? e.HScroll - w / 2 : e.CurCol - 1;
    next = std::clamp(next, 0, 255);
    if (next == e.HScroll) break;
    e.HScroll = uint8_t(next);
  }
}

void RedrawAll(Editor& e) {
  ScrollToCursor(e);
  MarkWindow(e);
  MarkStatus(e);
  PlaceCursor(e);
  DrawMarked(e);
}

Reentry Dispatch(Editor& e, KeyCode key) {
  // A paste is no key a user presses, so it has no row (no menu shows it).
  if (key == keys::Paste) return PasteKey(e, key);
  if (const KeyBinding* row = FindBinding(key)) return row->Proc ? row->Proc(e, key) : Reentry::Read;
  const uint8_t shift = ShiftOf(key);
  if ((shift & (ModCtrl | ModAlt)) == (ModCtrl | ModAlt)) return MacroStep(e, key);
  if (shift & ModAlt) return AltFallback(e, key);
  TypePath(e, key);
  return Reentry::Update;
}

Reentry HandleKey(Editor& e, KeyCode key) {
  // The take-file undo survives only a trip through the menu (F10 in any
  // combination); Ctrl+F1 reads the mark itself.
  using namespace keys;
  // Only plain typing keeps a completion going.
  if (ScanOf(key) == 0xFF || CharOf(key) == 0 || (ShiftOf(key) & (ModCtrl | ModAlt))) e.CompletionPos = 0;
  if (key != Ctrl(F1) && CharAndScan(key) != CharAndScan(F10)) e.InsertMark = 0;
  if (key != Ctrl(F1) && e.CurLine >= 1 && e.CurLine <= e.LineCount) TakeSnapshot(e);
  return Dispatch(e, key);
}

void MainLoop(Editor& e) {
  Reentry at = Reentry::Redraw;
  while (!e.Quit) {
    if (at == Reentry::Redraw) {
      ClearMessage(e);
      e.ReplaceWaiting = false;
      MarkWindow(e);
    }
    if (at != Reentry::Read) {
      ScrollToCursor(e);
      MarkStatus(e);
    }
    PlaceCursor(e);
    e.TopBefore = e.TopLine;
    // A key that ended a completion offer is handled as if just pressed; a
    // replay's end, like a recording that overflowed, brings no key: the
    // pass starts again at the update point, which shows what the replay did.
    KeyCode key = 0;
    if (std::exchange(e.HasPendingKey, false)) {
      key = e.PendingKey;
    } else if (!LoopKey(e, key)) {
      at = Reentry::Update;
      continue;
    }
    at = HandleKey(e, key);
  }
}

}  // namespace lumo

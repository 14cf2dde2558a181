// The commands that have no subsystem of their own: mode switches, the Esc
// key, typing a fixed character, the key-code display, the way out at once,
// and the key table's wrappers around the line-history commands. Then the
// two rules for keys without a row: the Alt fallback, which types Latin
// characters by scan code so they stay reachable in the Russian mode, and the
// Ctrl+Alt macro keys. Every procedure returns the loop's re-entry point.
#include <cstdio>

#include "app/KeyTable.h"
#include "app/MacroCommands.h"
#include "app/KeystrokeFile.h"
#include "app/CompleteKeys.h"
#include "app/MainLoop.h"
#include "app/Search.h"
#include "app/Startup.h"
#include "app/Typing.h"
#include "edit/Transforms.h"
#include "files/Save.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {

Reentry UnmarkBlocks(Editor& e, KeyCode) {
  e.BlockFirst = e.BlockLast = 0;
  e.RectFirstLine = e.RectLastLine = 0;
  e.RectFirstCol = e.RectLastCol = 0;
  return Reentry::Redraw;
}

Reentry EscapeKey(Editor& e, KeyCode key) {
  if (e.CompletionPos > 0) {
    e.CompletionPos = 0;
    return Reentry::Read;
  }
  if (e.BlockFirst > 0 || e.RectFirstLine > 0) return UnmarkBlocks(e, key);
  if (ExitSequence(e)) e.Quit = true;
  // The question used both top rows; they are drawn again either way.
  return Reentry::Redraw;
}

Reentry ToggleInsert(Editor& e, KeyCode) {
  e.InsertMode = !e.InsertMode;
  return Reentry::Update;
}

Reentry ToggleRus(Editor& e, KeyCode) {
  e.RusMode = !e.RusMode;
  return Reentry::Update;
}

Reentry TogglePseudographics(Editor& e, KeyCode) {
  e.PseudographicsMode = !e.PseudographicsMode;
  return Reentry::Update;
}

// The idle message row shows the setting, so only the redraw point, which
// draws that row again, shows the change.
Reentry ToggleLimit(Editor& e, KeyCode) {
  e.LengthLimit = !e.LengthLimit;
  return Reentry::Redraw;
}

Reentry TypeBlank(Editor& e, KeyCode) {
  TypeChar(e, ' ');
  return Reentry::Update;
}

Reentry TypeBackslash(Editor& e, KeyCode) {
  TypeChar(e, '\\');
  return Reentry::Update;
}

// Ctrl+letters type the control character they produce.
Reentry TypeControl(Editor& e, KeyCode key) {
  TypeChar(e, CharOf(key));
  return Reentry::Update;
}

// The next key's value as eight hexadecimal digits, kind first. The key comes
// from the loop's own source, so a recorded display replays whole.
Reentry ShowKeyCode(Editor& e, KeyCode) {
  KeyCode k = 0;
  if (!LoopKey(e, k)) return Reentry::Update;
  char digits[9];
  std::snprintf(digits, sizeof digits, "%08X", unsigned(k));
  TypeString(e, {digits, 8});
  return Reentry::Update;
}

Reentry QuitAtOnce(Editor& e, KeyCode) {
  e.ExitCode = 0;
  e.Quit = true;
  return Reentry::Read;
}

Reentry SaveFile(Editor& e, KeyCode) {
  SaveText(e);
  return Reentry::Redraw;
}

// The take-file command remembers the last line it inserted; the lines after
// the cursor's line up to that one are what it brought in. They are deleted
// through a variable of their own: the store moves the index it is given,
// and the cursor must stay on its line even when the taken lines end the text.
Reentry UndoTakeFile(Editor& e, KeyCode) {
  const int16_t last = e.InsertMark < e.LineCount ? e.InsertMark : e.LineCount;
  e.InsertMark = 0;
  if (last <= e.CurLine) return Reentry::Read;
  const int16_t line = e.CurLine;
  for (int n = last - line; n > 0; --n) {
    int16_t at = int16_t(line + 1);
    DeleteLine(e, at);
  }
  e.CurLine = line;
  return Reentry::Update;
}

Reentry RestoreEpisode(Editor& e, KeyCode) {
  RestoreBeforeEpisode(e);
  MarkLine(e, e.CurLine);
  return Reentry::Update;
}

Reentry RestoreRing(Editor& e, KeyCode) {
  RestoreFromRing(e);
  return Reentry::Update;
}

Reentry UndoChange(Editor& e, KeyCode) {
  UndoLastChange(e);
  MarkLine(e, e.CurLine);
  return Reentry::Update;
}

// Alt+T is a template only in program texts; elsewhere it is the Latin "t"
// of the Alt fallback like any other letter.
Reentry AltT(Editor& e, KeyCode key) {
  if (e.ProgramTextMode) return Reentry::Read;
  return AltFallback(e, key);
}

namespace {

// The US-layout character of an Alt key's scan code, 0 when it gives none.
// Letters follow the unnormalised Shift bit, punctuation the key's own shift
// state; the / key gives "?" either way.
uint8_t LatinByScan(uint8_t scan, bool rawShift, bool shift) {
  using K = PcKey;
  static constexpr PcKey Typing[] = {
      K::Q, K::W, K::E, K::R, K::T, K::Y, K::U, K::I, K::O, K::P, K::A, K::S, K::D, K::F, K::G,
      K::H, K::J, K::K, K::L, K::Z, K::X, K::C, K::V, K::B, K::N, K::M, K::LBracket, K::RBracket,
      K::Semicolon, K::Quote, K::Backquote, K::Comma, K::Period, K::Slash};
  for (PcKey k : Typing) {
    const PcKeyRow& r = KeyRow(k);
    if (r.Alt != scan) continue;
    if (k == K::Slash) return r.ShiftCh;
    const bool letter = r.Ch >= 'a' && r.Ch <= 'z';
    return (letter ? rawShift : shift) ? r.ShiftCh : r.Ch;
  }
  // Alt+Shift+2..7 arrive with the scan codes of Alt+2..7.
  for (PcKey k : {K::D2, K::D3, K::D4, K::D5, K::D6, K::D7})
    if (KeyRow(k).Alt == scan) return KeyRow(k).ShiftCh;
  return 0;
}

}  // namespace

Reentry AltFallback(Editor& e, KeyCode key) {
  const uint8_t ch = LatinByScan(ScanOf(key), (e.RawShift & ModLeftShift) != 0, (ShiftOf(key) & ModShift) != 0);
  if (ch) {
    // Straight to TypeChar: these must not pass the Russian table.
    TypeChar(e, ch);
    return Reentry::Update;
  }
  // Alt+F5/F6 change a word's first letter, Alt+F7 searches upward and Alt+F8
  // replaces by a file of pairs, with or without Shift; Alt+F9 writes the
  // keystroke file; Alt+\ appends to the completion list and Alt+Space
  // reads it again. Alt+F2 and Alt+F4 belong to commands still to come;
  // until then they do nothing.
  if (ScanOf(key) == keys::CharAndScan(keys::Backslash) >> 8) return AppendShortsKey(e, key);
  const uint16_t low = keys::CharAndScan(key);
  if (low == keys::CharAndScan(keys::Space)) return RereadShortsKey(e, key);
  if (low == keys::CharAndScan(keys::F5) || low == keys::CharAndScan(keys::F6)) return FirstLetterKey(e, key);
  if (low == keys::CharAndScan(keys::F7)) return SearchKey(e, key);
  if (low == keys::CharAndScan(keys::F8)) return ReplaceByFileKey(e, key);
  if (low == keys::CharAndScan(keys::F9)) return WriteKeystrokesKey(e, key);
  if (low == keys::CharAndScan(keys::F10)) {
    TypeChar(e, 0);
    return Reentry::Update;
  }
  return Reentry::Read;
}

// With the macro keys switched off, Ctrl+Alt keys without a row do nothing.
Reentry MacroStep(Editor& e, KeyCode key) {
  if (!e.MacrosOn) return Reentry::Read;
  return (ShiftOf(key) & ModShift) != 0 ? DefineMacroKey(e, key) : PlayMacroKey(e, key);
}

}  // namespace lumo

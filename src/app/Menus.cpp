// Walking the menu tree. Each menu is a choice bar over the two top rows; the
// bar restores both rows when it is answered, and nothing reaches the
// terminal until the next key read, so going from one menu to the next sends
// only the cells that differ, and leaving the menus leaves the window as it
// was. Esc goes up one menu with the item it came from highlighted; Shift+Esc
// and Alt+Esc leave all of them at once, running nothing.
#include "app/Menus.h"

#include <algorithm>

#include "app/HistoryScreen.h"
#include "app/KeyTable.h"
#include "app/MacroCommands.h"
#include "app/MainLoop.h"
#include "app/MenuActions.h"
#include "app/Startup.h"
#include "edit/Cursor.h"
#include "edit/Format.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/Texts.h"
#include "tools/PromptEditor.h"

namespace lumo {
namespace {

constexpr int LeaveAll = 80;

// The stronger of two re-entry points: a redraw asked for by any command the
// menus ran is not lost to a later one that asked less.
Reentry Stronger(Reentry a, Reentry b) { return std::min(a, b); }

// Before a menu opens again over a command's result, the window shows it.
void ShowResult(Editor& e, Reentry r) {
  if (r == Reentry::Redraw) MarkWindow(e);
  if (r != Reentry::Read) ScrollToCursor(e);
}

}  // namespace

Reentry MenuKey(Editor& e, KeyCode) {
  MenuId at = MenuId::Main;
  Reentry result = Reentry::Update;
  e.ChoicePreselect = 1;
  for (;;) {
    const Menu& m = MenuOf(at);
    const MenuColours& c = m.Colours;
    const int answer = ChoiceBar(e, m.Text, m.Hint, c.Title, c.Item, c.Highlight, c.Hint);
    if (answer == LeaveAll) return result;
    if (answer == 0) {
      if (at == MenuId::Main) return result;
      e.ChoicePreselect = m.EscHighlight;
      at = m.Parent;
      continue;
    }
    const MenuItem& item = m.Items[size_t(answer - 1)];
    switch (item.Kind) {
      case ItemKind::Nothing:
        return result;
      case ItemKind::Submenu:
        e.ChoicePreselect = 1;
        at = item.Sub;
        continue;
      case ItemKind::Key: {
        Reentry r = Dispatch(e, item.Key);
        if (item.Redraw) r = Reentry::Redraw;
        result = Stronger(result, r);
        if (!item.Reopen || e.Quit) return result;
        ShowResult(e, r);
        e.ChoicePreselect = uint8_t(answer);
        continue;
      }
      case ItemKind::Action: {
        if (!item.Act) return result;
        const MenuOutcome o = item.Act(e);
        result = Stronger(result, o.Then);
        if (!o.Reopen || e.Quit) return result;
        ShowResult(e, o.Then);
        e.ChoicePreselect = 1;
        continue;
      }
    }
  }
}

namespace menu {

// The main menu's way out asks about saving at once: unlike Esc, it does not
// stop at removing a block's marking first.
MenuOutcome Exit(Editor& e) {
  if (ExitSequence(e)) e.Quit = true;
  return {Reentry::Redraw};
}

// The history screen takes over the whole screen; a key that came while it
// closed was meant for it, not for the text.
MenuOutcome Keystrokes(Editor& e) {
  ShowHistoryScreen(e);
  if (e.Con && e.Con->KeyWaiting()) ReadKey(e);
  return {Reentry::Redraw};
}

MenuOutcome UseKeyboard(Editor& e) {
  ShowMessage(e, Texts::Menu::UseKeyboard, 0);
  return {Reentry::Update};
}

MenuOutcome WindowTop(Editor& e) {
  CursorToWindowTop(e);
  return {Reentry::Update};
}

MenuOutcome WindowBottom(Editor& e) {
  CursorToWindowBottom(e);
  return {Reentry::Update};
}

// The width paragraphs are formatted to: asked again until it is a number
// from 2 to the typing margin; an empty answer or Esc keeps the old one.
MenuOutcome Columns(Editor& e) {
  PromptText answer;
  for (;;) {
    ShowMessage(e, Texts::Menu::AskColumns, 0);
    PromptEditor(e, answer, PromptOther);
    if (e.OpFailed != 0 || answer.Length == 0) return {Reentry::Redraw};
    int16_t width = 0;
    if (ParseLineNumber(answer.View(), width) && width >= 2 && width <= e.RightMargin) {
      e.FormatWidth = uint8_t(width);
      return {Reentry::Redraw, true};
    }
  }
}

MenuOutcome RaggedFormat(Editor& e) {
  FormatParagraph(e, false);
  return {Reentry::Update};
}

MenuOutcome PseudoOn(Editor& e) {
  e.PseudographicsMode = true;
  return {Reentry::Update};
}

MenuOutcome PseudoOff(Editor& e) {
  e.PseudographicsMode = false;
  return {Reentry::Update};
}

namespace {

// The key the user names is read from the keyboard; its macro is defined or
// typed whether or not the Ctrl+Alt keys are switched to macros.
MenuOutcome MacroByKey(Editor& e, bool define) {
  ShowMessage(e, Texts::Menu::AskMacroKey, 0);
  const KeyCode k = ReadKey(e);
  ClearMessage(e);
  MarkWindow(e);
  return {Stronger(Reentry::Redraw, define ? DefineMacroKey(e, k) : PlayMacroKey(e, k))};
}

}  // namespace

MenuOutcome DefineMacro(Editor& e) { return MacroByKey(e, true); }
MenuOutcome PlayMacro(Editor& e) { return MacroByKey(e, false); }

MenuOutcome ReadMacroFile(Editor& e) {
  TransferMacros(e, MacroTransfer::Read);
  return {Reentry::Redraw};
}

MenuOutcome WriteMacroFile(Editor& e) {
  TransferMacros(e, MacroTransfer::Write);
  return {Reentry::Redraw};
}

MenuOutcome MacrosOn(Editor& e) {
  e.MacrosOn = true;
  return {Reentry::Update};
}

MenuOutcome MacrosOff(Editor& e) {
  e.MacrosOn = false;
  return {Reentry::Update};
}

}  // namespace menu

}  // namespace lumo

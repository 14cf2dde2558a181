// The history screen is drawn straight into the console, outside the text
// window's layout: a header row, the file's code page, three fixed lines,
// then the sixteen ring slots newest first from row 9. The first key decides
// what the screen is for: Space asks for a slot number to insert above the
// cursor's line; any other key turns it into a key-code display, one row per
// key, until Ctrl+Alt+Tab closes it.
#include "app/HistoryScreen.h"

#include <cstdio>
#include <string>
#include <string_view>

#include "app/KeyTable.h"
#include "screen/StatusRow.h"
#include "screen/KeyNames.h"
#include "screen/Window.h"
#include "text/Decimal.h"
#include "text/LineHistory.h"
#include "text/Texts.h"

namespace lumo {
namespace {

constexpr uint8_t PromptAttr = 10;
constexpr uint8_t PromptRepeatAttr = 12;
constexpr uint8_t KeyLineAttr = 0x1E;
constexpr uint8_t ClosingAttr = 0x1C;
// How long the closing key line stays lit when no key comes.
constexpr int ClosingMs = 400;

std::string_view CodePageName(CodePage cp) {
  switch (cp) {
    case CodePage::Ansi: return Texts::CodePageAnsi;
    case CodePage::Koi8: return Texts::CodePageKoi8;
    case CodePage::Utf8: return Texts::CodePageUtf8;
    default: return Texts::CodePageAscii;
  }
}

void DrawRing(Editor& e) {
  for (int k = 16; k >= 1; --k) {
    const int s = (e.HistoryNewest + k) % 16;
    const uint8_t* slot = e.HistorySlot[s];
    char head[8];
    std::snprintf(head, sizeof head, "%2d: ", s);
    std::string row = head;
    row.append(reinterpret_cast<const char*>(slot + 1), slot[0] < 75 ? slot[0] : 75);
    WriteAt(e, 1, 9 + 16 - k, row, 6);
  }
}

void DrawScreen(Editor& e) {
  HideWindow(e);
  e.Con->Clear();
  SetCursor(e, 1, 1);
  WriteAt(e, 1, 1, Texts::HistoryTitle, 0x0B);
  WriteAt(e, 1, 3, CodePageName(e.FileCodePage), 0x0E);
  for (int i = 0; i < 3; ++i) WriteAt(e, 1, 5 + i, Texts::HistoryDefines[i], 7);
  DrawRing(e);
}

// A line typed over the top left corner, ended by Enter. False when the user
// gave up with Esc.
bool ReadNumberLine(Editor& e, uint8_t attr, std::string& text) {
  constexpr size_t MaxDigits = 6;
  text.clear();
  for (;;) {
    SetCursor(e, int(text.size()) + 1, 1);
    const KeyCode k = ReadKey(e);
    if (k == keys::Enter || k == keys::KpEnter) return true;
    if (k == keys::Esc) return false;
    if (k == keys::Backspace) {
      if (!text.empty()) {
        text.pop_back();
        PutCell(e, int(text.size()) + 1, 1, ' ', attr);
      }
      continue;
    }
    const uint8_t ch = CharOf(k);
    if (ch < 32 || text.size() >= MaxDigits) continue;
    PutCell(e, int(text.size()) + 1, 1, ch, attr);
    text += char(ch);
  }
}

// Asks for a slot until a valid one is given, then inserts it.
void ChooseSlot(Editor& e) {
  uint8_t attr = PromptAttr;
  std::string text;
  for (;;) {
    WriteAt(e, 1, 1, Texts::HistoryAskSlot, attr);
    // Esc leaves without inserting: otherwise the only way out of the prompt
    // would be to insert a line.
    if (!ReadNumberLine(e, attr, text)) return;
    const int n = DecimalUpTo(text, 15);
    if (n >= 0) {
      InsertFromSlot(e, n);
      return;
    }
    attr = PromptRepeatAttr;
  }
}

std::string KeyCodeLine(KeyCode k, uint8_t rawShift) {
  const uint8_t ch = CharOf(k);
  char text[48];
  // The length comes from snprintf: the character may be byte 0.
  const int n = std::snprintf(text, sizeof text, "%c  %3u  %02X %02X %02X %02X  %u", char(ch), unsigned(ch),
                              unsigned(ch), unsigned(ScanOf(k)), unsigned(rawShift), unsigned(KindOf(k)),
                              unsigned(ShiftOf(k)));
  return std::string(text, size_t(n));
}

// One row per key, from row 1 of a cleared screen, starting over after the
// last row; Ctrl+Alt+Tab flashes its own row and closes.
void KeyCodeDisplay(Editor& e, KeyCode first) {
  const int h = e.Con->H();
  int row = h;
  KeyCode k = first;
  for (;;) {
    if (row >= h) {
      e.Con->Clear();
      row = 0;
    }
    ++row;
    const std::string line = KeyCodeLine(k, e.RawShift);
    WriteAt(e, 1, row, line, KeyLineAttr);
    if (k == keys::Ctrl(keys::Alt(keys::Tab))) {
      WriteAt(e, 1, row, line, ClosingAttr);
      // The key that ends the flash is left for whoever reads next.
      ShowScreen(e);
      WaitForKey(e, ClosingMs);
      return;
    }
    k = ReadKey(e);
  }
}

}  // namespace

void ShowHistoryScreen(Editor& e) {
  if (!e.Con) return;
  DrawScreen(e);
  const KeyCode first = ReadKey(e);
  if (first == keys::Space) ChooseSlot(e);
  else KeyCodeDisplay(e, first);
  ClearMessage(e);
}

}  // namespace lumo

// The offer's answer is read straight from the keyboard: it belongs to the
// offer, and a key that is no answer is handed back to the loop to be
// handled as if it had just been pressed.
#include "app/CompleteKeys.h"

#include <cstdio>

#include "app/Typing.h"
#include "edit/Words.h"
#include "screen/KeyNames.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineEdit.h"
#include "text/LineStore.h"
#include "text/Texts.h"
#include "tools/Completion.h"
#include "tools/PromptEditor.h"

namespace lumo {
namespace {

void ShowOffer(Editor& e, const CompletionOffer& o) {
  ShowMessage(e, Texts::CompletionTitle, 0);
  WriteAt(e, 22, 2, o.Shown, 0x1E);
  char k[8];
  std::snprintf(k, sizeof k, "%5d", o.K);
  WriteAt(e, 76, 2, k, o.Attr);
}

void Accept(Editor& e, const CompletionOffer& o, int last) {
  TypeString(e, std::string_view(o.Candidate).substr(size_t(o.P - 1), size_t(last - o.P)));
  e.CompletionText = o.Candidate;
  e.CompletionPos = int16_t(last);
}

}  // namespace

Reentry CompleteKey(Editor& e, KeyCode) {
  using namespace keys;
  if (e.CompletionPos > 0) {
    if (e.CompletionPos <= int(e.CompletionText.size())) {
      TypeString(e, std::string_view(e.CompletionText).substr(size_t(e.CompletionPos - 1), 1));
      ++e.CompletionPos;
      return Reentry::Update;
    }
    e.CompletionPos = 0;
  }
  std::string word, prefix;
  TakeWord(e, word, 1);
  for (char c : word)
    if (uint8_t(c) > 41) prefix += c;
  CompletionSearch s(e, prefix);
  CompletionOffer o;
  while (s.Next(o)) {
    ShowOffer(e, o);
    const KeyCode k = ReadKey(e);
    ClearMessage(e);
    if (k == Enter) {
      Accept(e, o, o.E);
    } else if (k == Backslash) {
      Accept(e, o, o.P + 1);
    } else if (k == Backspace) {
      s.Skip();
      continue;
    } else if (k == Up) {
      s.Up();
      continue;
    } else if (k == Down) {
      s.Down();
      continue;
    } else if (k != Esc) {
      e.HasPendingKey = true;
      e.PendingKey = k;
    }
    break;
  }
  return Reentry::Update;
}

Reentry SpaceKey(Editor& e, KeyCode) {
  e.CompletionPos = 0;
  std::string word;
  std::string_view expansion;
  const std::string_view line = LineBytes(e, e.CurLine);
  if (e.CurCol > 1 && ByteAt(line, e.CurCol - 1) != ' ') TakeWord(e, word, 1);
  const int start = e.CurCol - int(word.size());
  // An expansion the line cannot take is not begun: the word would be gone.
  if (!FindAbbrev(e.AbbrevList, word, expansion) || start < 1 ||
      (e.InsertMode && TextLength(line) - word.size() + expansion.size() + 1 > MaxLineBytes)) {
    TypeChar(e, ' ');
    return Reentry::Update;
  }
  if (e.InsertMode) {
    LineEdit w = EditLine(e, e.CurLine);
    w.Erase(start, int(word.size()));
    if (!CommitLine(e, e.CurLine, w)) return Reentry::Update;
    MarkLine(e, e.CurLine);
  }
  e.CurCol = int16_t(start);
  std::string text(expansion);
  if (!text.empty() && text.back() == '\b') text.pop_back();
  else text += ' ';
  TypeString(e, text);
  e.CompletionPos = 0;
  return Reentry::Update;
}

Reentry AppendShortsKey(Editor& e, KeyCode key) {
  std::string text;
  if (ShiftOf(key) & ModShift) {
    const std::string_view line = LineBytes(e, e.CurLine).substr(0, TextLength(e, e.CurLine));
    const size_t first = line.find_first_not_of(' ');
    if (first != std::string_view::npos) text = line.substr(first);
  } else {
    PromptText answer;
    PromptEditor(e, answer, PromptMacroWord);
    if (e.OpFailed > 0) return Reentry::Redraw;
    text = answer.View();
  }
  if (text.empty()) return Reentry::Redraw;
  if (!AppendShortsLine(ShortsName, text)) {
    e.OpFailed = 1;
    ShowMessage(e, Texts::WriteError, 1);
    return Reentry::Redraw;
  }
  ShowMessage(e, std::string(Texts::ShortsAdded) + '"' + text + '"', 1);
  ReadShorts(e);
  return Reentry::Redraw;
}

Reentry RereadShortsKey(Editor& e, KeyCode) {
  ReadShorts(e);
  ShowMessage(e, Texts::ShortsReread, 1);
  return Reentry::Redraw;
}

}  // namespace lumo

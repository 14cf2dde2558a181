// The search scans each line where it is stored, with no copy: a case-blind
// search folds the line's bytes through the capital table while it compares.
// Candidates are found sixteen starts at a time by the pattern's first and
// last bytes (each in both cases), so a long text without the word costs
// little more than reading it once.
//
// A replacement is, by definition, the match deleted and the replacement
// typed in insert mode, wrapping and all. Where typing provably cannot wrap,
// refuse a character or move a rectangle, the line is edited once instead of
// once per character: the result is the same line, and a replace over
// thousands of matches stays quick.
#include "app/Search.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "app/Typing.h"
#include "edit/Cursor.h"
#include "files/AskFile.h"
#include "files/LineSource.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/CaseMap.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"
#include "tools/PromptEditor.h"

namespace lumo {
namespace {

typedef uint8_t Bytes16 __attribute__((vector_size(16)));

Bytes16 Splat(uint8_t b) {
  Bytes16 v;
  for (int i = 0; i < 16; ++i) v[i] = b;
  return v;
}

bool HasLetters(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return ToCapital(uint8_t(c)) != ToSmall(uint8_t(c)); });
}

void Arrive(Editor& e, int from, int line, int col) {
  if (line != from) {
    e.LineSaved = false;
    e.HScroll = 0;
  }
  e.CurLine = int16_t(line);
  e.TopLine = int16_t(line);
  e.CurCol = int16_t(col);
  MarkWindow(e);
}

}  // namespace

int FindIn(std::string_view hay, std::string_view pat, bool fold) {
  const size_t n = hay.size(), m = pat.size();
  if (m == 0 || m > n) return m == 0 ? 0 : -1;
  const auto* h = reinterpret_cast<const uint8_t*>(hay.data());
  const auto* p = reinterpret_cast<const uint8_t*>(pat.data());
  const uint8_t* map = fold ? CaseMaps.Capital.data() : nullptr;
  auto matches = [&](size_t at) {
    for (size_t j = 0; j < m; ++j)
      if ((map ? map[h[at + j]] : h[at + j]) != p[j]) return false;
    return true;
  };
  const Bytes16 f1 = Splat(p[0]), f2 = Splat(fold ? ToSmall(p[0]) : p[0]);
  const Bytes16 l1 = Splat(p[m - 1]), l2 = Splat(fold ? ToSmall(p[m - 1]) : p[m - 1]);
  const size_t last = n - m;  // the last possible start
  size_t i = 0;
  for (; i + 15 <= last; i += 16) {
    Bytes16 a, b;
    std::memcpy(&a, h + i, 16);
    std::memcpy(&b, h + i + m - 1, 16);
    const auto hit = ((a == f1) | (a == f2)) & ((b == l1) | (b == l2));
    uint64_t lanes[2];
    std::memcpy(lanes, &hit, 16);
    for (int half = 0; half < 2; ++half) {
      for (uint64_t bits = lanes[half]; bits != 0;) {
        const int lane = std::countr_zero(bits) / 8;
        const size_t at = i + size_t(half * 8 + lane);
        if (matches(at)) return int(at);
        bits &= ~(uint64_t(0xFF) << (lane * 8));
      }
    }
  }
  for (; i <= last; ++i)
    if (matches(i)) return int(i);
  return -1;
}

Find FindText(Editor& e, std::string_view text, int from, int to, int col, bool report, int8_t& caseFlag,
              bool up) {
  e.OpFailed = 0;
  // An upward search from the first line must still look left of the
  // cursor, not right of it.
  const int step = to > from || (to == from && !up) ? 1 : -1;
  auto notFound = [&] {
    e.OpFailed = 1;
    if (report) ShowMessage(e, Texts::NotFound, 1);
    return Find::NotFound;
  };
  if (from < 1 || from > e.LineCount || to < 1 || to > e.LineCount) return notFound();

  if (text.empty()) {
    for (int i = from; i != to;) {
      i += step;
      if (TextLength(e, i) == 0) {
        Arrive(e, from, i, e.LeftMargin);
        return Find::Found;
      }
    }
    return notFound();
  }

  if (caseFlag == 0 && HasLetters(text)) {
    const int answer = AskChoice(e, Texts::AskIgnoreCase);
    if (answer != 1 && answer != 2) {
      e.OpFailed = 1;
      return Find::Refused;
    }
    caseFlag = answer == 1 ? CaseBlind : CaseExact;
  }
  if (report) {
    std::string shown(Texts::Searching);
    shown += text;
    ShowMessage(e, shown, 0);
  }
  const bool fold = caseFlag > 0;
  char folded[MaxLineBytes];
  const size_t m = std::min(text.size(), sizeof folded);
  for (size_t j = 0; j < m; ++j) folded[j] = char(fold ? ToCapital(uint8_t(text[j])) : uint8_t(text[j]));
  const std::string_view pat(folded, m);

  // The first line counts only what lies past the column (upward: before it).
  {
    const std::string_view s = LineBytes(e, from);
    const size_t cut = size_t(std::clamp<int>(step > 0 ? col : col - 1, 0, int(s.size())));
    const std::string_view part = step > 0 ? s.substr(cut) : s.substr(0, cut);
    if (const int p = FindIn(part, pat, fold); p >= 0) {
      Arrive(e, from, from, (step > 0 ? int(cut) : 0) + p + 1);
      return Find::Found;
    }
  }
  for (int i = from; i != to;) {
    i += step;
    if (const int p = FindIn(LineBytes(e, i), pat, fold); p >= 0) {
      Arrive(e, from, i, p + 1);
      return Find::Found;
    }
  }
  return notFound();
}

namespace {

void RepeatSearch(Editor& e, bool fromStart) {
  PushJump(e);
  const bool up = e.SearchUp && e.SearchUpAt == e.ChoiceBarsShown;
  const int from = fromStart ? 1 : e.CurLine;
  const int col = fromStart ? 0 : e.CurCol;
  FindText(e, e.SearchText, from, up ? 1 : e.LineCount, col, true, e.SavedSearchCase, up);
}

// The store's refusal when typing could add up to n lines, each of them and
// the typed line grown to a full line: checked before the match is touched,
// so a refused replacement leaves its line whole.
bool RoomToType(Editor& e, int n) {
  if (e.LineCount + n > MaxLines) {
    if (e.Notify) e.Notify(e, Texts::TooManyLines);
    e.OpFailed = 1;
    return false;
  }
  if (FreeMemory(e) < size_t(n + 1) * 2 * (MaxLineBytes + 64)) {
    RefuseNoMemory(e);
    return false;
  }
  return true;
}

// The line as the store keeps w: cut at 255 bytes, padded with blanks to its
// capacity, which grows to the text's length and never shrinks.
void AsStored(LineEdit& w, int& cap) {
  w.Len = std::min(w.Len, MaxLineBytes);
  cap = std::max<int>(cap, TextLength(w.View()));
  if (w.Len < cap) w.FillTo(cap);
  w.Len = cap;
}

// Replaces the m bytes of the match at the cursor by repl, and with `more`
// every further match of pat in the line too, as long as typing could not
// wrap there: the line is then stored once. A match where typing could wrap
// is typed for real, unless matches before it in the line were replaced:
// those are stored and the search finds it again. next: the column after
// which the next search starts (the last byte typed). False when the store
// refused or typing could not take the whole replacement, after a message.
bool ReplaceAt(Editor& e, std::string_view pat, bool fold, int m, std::string_view repl, bool more, int& next) {
  const int line = e.CurLine;
  const int n = int(repl.size());
  const bool rectHere = e.InsertMode && e.RectFirstLine == line && e.RectLastLine == line;
  LineEdit w = EditLine(e, line);
  int cap = Capacity(e, line);
  // Blanks past the end of the text, deleted, leave the line as it was
  // (also where a rectangle sends the match the slow way): left alone, or
  // the same match would be taken for ever.
  if (n == 0 && e.CurCol > w.RawEnd()) {
    next = cap;
    return true;
  }
  int done = 0;
  for (int col = e.CurCol; !rectHere;) {
    const int lastCol = col + n - 1;
    if (lastCol > MaxLineBytes) break;
    // Blanks past the end of the text, deleted, leave the line as it was;
    // the rest of the line is such blanks too.
    if (n == 0 && col > w.RawEnd()) {
      next = w.Len;
      if (done == 0) return true;
      break;
    }
    // Most lines end well inside the margins: their text cannot pass the
    // paragraph width whatever the match holds, and the line is spliced
    // without a look at what typing would do.
    const int bound = std::max(w.RawEnd() + n, lastCol);
    // Typing nothing wraps nothing.
    if (n == 0 || (bound <= MaxLineBytes && (!e.LengthLimit || (lastCol <= e.RightMargin && bound <= e.FormatWidth)))) {
      w.Erase(col, m);
      w.Insert(col, repl);
    } else {
      const int len0 = w.Len, tailLen = std::max(0, len0 - col + 1);
      uint8_t tail[LineEdit::Room];
      std::memcpy(tail, w.B + col, size_t(tailLen));
      w.Erase(col, m);
      const int endBefore = w.TextEnd();
      w.Insert(col, repl);
      const bool noWrap = !e.LengthLimit || (lastCol <= e.RightMargin && (std::max(w.TextEnd(), lastCol) <= e.FormatWidth ||
                                                                          endBefore > e.RightMargin));
      if (!noWrap || w.Overflow || w.RawEnd() > MaxLineBytes) {
        std::memcpy(w.B + col, tail, size_t(tailLen));
        w.Len = len0;
        w.Overflow = false;
        break;
      }
    }
    AsStored(w, cap);
    ++done;
    next = lastCol;
    if (!more) break;
    const int p = FindIn(w.Bytes().substr(size_t(std::clamp(lastCol, 0, w.Len))), pat, fold);
    if (p < 0) {
      // Nothing more in this line: the next search starts on the next one.
      next = std::max(next, w.Len);
      break;
    }
    col = std::max(lastCol, 0) + p + 1;
  }
  if (done > 0) {
    if (CheckFit(e, line, w) == Fit::NoMemory) {
      RefuseNoMemory(e);
      return false;
    }
    if (!CommitLine(e, line, w)) return false;
    e.CurCol = int16_t(std::max(next, 1));
    MarkLine(e, line);
    return true;
  }

  if (!RoomToType(e, n)) return false;
  const int col = e.CurCol;
  const LineEdit before = EditLine(e, line);
  const int lines0 = e.LineCount;
  LineEdit cut = before;
  cut.Erase(col, m);
  if (!CommitLine(e, line, cut)) return false;
  MarkLine(e, line);
  for (char c : repl) {
    TypeChar(e, uint8_t(c));
    if (e.OpFailed) {
      // Typing refused part of the replacement: the match comes back whole
      // rather than half replaced, unless a wrap has already carried words
      // to new lines.
      if (e.LineCount == lines0 && e.CurLine == line) {
        CommitLine(e, line, before);
        MarkLine(e, line);
      }
      ShowMessage(e, Texts::ReplaceStopped, 1);
      return false;
    }
  }
  next = e.CurCol - 1;
  MarkWindow(e);
  return true;
}

struct ReplaceJob {
  bool Block = false;    // within BlockFirst..BlockLast
  bool Confirm = true;   // ask at each match
  bool FromFile = false; // pairs from a file: no closing message
  int8_t Case = 0;       // asked once per command
};

// The scope and confirmation questions; false when the user declined.
bool AskReplaceSettings(Editor& e, ReplaceJob& job) {
  job.Block = false;
  if (e.BlockFirst > 0) {
    const int scope = AskChoice(e, Texts::AskReplaceScope);
    if (scope != 1 && scope != 2) return false;
    job.Block = scope == 2;
  }
  const int confirm = AskChoice(e, Texts::AskConfirmEach);
  if (confirm != 1 && confirm != 2) return false;
  job.Confirm = confirm == 1;
  return true;
}

void ShowMatch(Editor& e) {
  if (!e.Con) return;
  const int w = e.Con->W();
  if (e.CurCol - e.HScroll > w || e.CurCol - e.HScroll < 1)
    e.HScroll = uint8_t(std::clamp(e.CurCol - w / 2, 0, 255));
  MarkWindow(e);
  MarkStatus(e);
  SetCursor(e, e.CurCol - e.HScroll, e.CurLine - e.TopLine + 3);
}

// One replace run over the scope; the cursor and the insert mode come back as
// they were. False when the store refused (nothing further should run).
bool ReplaceRun(Editor& e, std::string_view find, std::string_view repl, ReplaceJob& job) {
  const int16_t line0 = e.CurLine, top0 = e.TopLine, col0 = e.CurCol;
  // A match far right scrolls the window sideways; the cursor's way back
  // takes the window with it, or the closing message waits over a stale one.
  const auto hscroll0 = e.HScroll;
  const bool insert0 = e.InsertMode;
  // Where the next search starts: the cursor only moves to what is found,
  // so the questions asked before that see the window as it was.
  int from = job.Block ? e.BlockFirst : 1;
  int col = 0;  // 0 takes in the whole first line
  e.InsertMode = true;
  int prevLine = 0, prevCol = 0;
  bool failed = false, allDone = false;
  for (;;) {
    const int bound = job.Block ? e.BlockLast : e.LineCount;
    // A wrap can carry the cursor past the block's last line: nothing of
    // the block is left below it.
    if (from > bound) {
      allDone = true;
      break;
    }
    const Find f = FindText(e, find, from, bound, col, false, job.Case);
    if (f != Find::Found) {
      allDone = f == Find::NotFound;
      break;
    }
    // A replacement that types nothing shortens the text at every match it
    // takes (blanks past the end are left alone), so a match in the same
    // place again is a new one.
    if (e.CurLine == prevLine && e.CurCol == prevCol && !repl.empty()) break;
    prevLine = e.CurLine;
    from = e.CurLine;
    prevCol = col = e.CurCol;
    if (job.Confirm) {
      ShowMatch(e);
      const int answer = AskChoice(e, Texts::AskReplaceThis);
      if (answer == 2) continue;
      if (answer == 3) job.Confirm = false;
      else if (answer != 1) break;
    }
    std::string pat(find);
    if (job.Case > 0)
      for (char& c : pat) c = char(ToCapital(uint8_t(c)));
    if (!ReplaceAt(e, pat, job.Case > 0, int(find.size()), repl, !job.Confirm, col)) {
      failed = true;
      break;
    }
    from = e.CurLine;
  }
  MoveToLine(e, std::min<int>(line0, e.LineCount));
  e.LineSaved = false;
  e.TopLine = std::min(top0, e.CurLine);
  e.CurCol = col0;
  e.HScroll = hscroll0;
  e.InsertMode = insert0;
  MarkWindow(e);
  MarkStatus(e);
  if (allDone && !job.FromFile) ShowMessage(e, Texts::AllReplaced, 1);
  e.OpFailed = failed ? 1 : 0;
  return !failed;
}

}  // namespace

bool ReplaceAll(Editor& e, std::string_view find, std::string_view repl, bool block, int8_t caseFlag) {
  ReplaceJob job;
  job.Block = block;
  job.Confirm = false;
  job.FromFile = true;
  job.Case = caseFlag;
  return ReplaceRun(e, find, repl, job);
}

Reentry SearchKey(Editor& e, KeyCode key) {
  const uint8_t shift = ShiftOf(key);
  e.SearchUp = (shift & (ModCtrl | ModAlt)) != 0;
  e.SearchUpAt = e.ChoiceBarsShown;
  PromptText answer;
  PromptEditor(e, answer, PromptSearch);
  if (e.OpFailed == 31) {
    e.SearchText = answer.View();
    TypeString(e, e.SearchText);
    return Reentry::Update;
  }
  if (e.OpFailed != 0) return Reentry::Redraw;
  e.SearchText = answer.View();
  e.SavedSearchCase = (shift & ModShift) != 0 ? CaseExact : CaseBlind;
  RepeatSearch(e, ScanOf(e.PromptEndKey) == FromStartScan);
  return Reentry::Redraw;
}

Reentry RepeatSearchKey(Editor& e, KeyCode) {
  RepeatSearch(e, false);
  return Reentry::Redraw;
}

Reentry NewSearchKey(Editor& e, KeyCode) {
  e.SearchText.clear();
  RepeatSearch(e, false);
  return Reentry::Redraw;
}

Reentry MarkerKey(Editor& e, KeyCode) {
  int8_t blind = CaseBlind;
  FindText(e, e.MarkerText, e.CurLine, e.LineCount, e.CurCol, true, blind);
  return Reentry::Redraw;
}

Reentry ReplaceKey(Editor& e, KeyCode) {
  PromptText find, repl;
  PromptEditor(e, find, PromptSearch);
  if (e.OpFailed != 0 || find.Length == 0) return Reentry::Redraw;
  e.SearchText = find.View();
  PromptEditor(e, repl, PromptReplace);
  if (e.OpFailed != 0) return Reentry::Redraw;
  ReplaceJob job;
  if (AskReplaceSettings(e, job)) ReplaceRun(e, find.View(), repl.View(), job);
  return Reentry::Redraw;
}

Reentry ReplaceByFileKey(Editor& e, KeyCode key) {
  const bool swap = (ShiftOf(key) & ModShift) != 0;
  OpenFile file;
  AskFile(e, e.PairsFileName, file, AskRead);
  if (e.OpFailed != 0) return Reentry::Redraw;
  // The whole file is read and judged first: pairs cut at 255 bytes or
  // taken from a binary file would replace what the user never wrote.
  std::vector<std::string> lines;
  LineSource src(file.Fd());
  std::string_view line;
  bool cut = false, anyCut = false, binary = false;
  while (src.Next(line, cut)) {
    anyCut |= cut;
    binary |= line.find('\0') != std::string_view::npos;
    lines.emplace_back(line);
  }
  std::string_view refusal = src.ReadError() ? Texts::PairsReadError
                             : binary        ? Texts::PairsNotText
                             : anyCut        ? Texts::PairsTooLong
                                             : std::string_view{};
  if (!refusal.empty()) {
    ShowMessage(e, refusal, 1);
    e.OpFailed = 1;
    return Reentry::Redraw;
  }
  ReplaceJob job;
  job.FromFile = true;
  bool asked = false;
  for (size_t k = 0; k + 1 < lines.size(); k += 2) {
    const std::string& find = lines[k + (swap ? 1 : 0)];
    const std::string& repl = lines[k + (swap ? 0 : 1)];
    // An empty search text would type the replacement into every empty
    // line; the prompt refuses it too.
    if (find.empty()) continue;
    if (!asked && !AskReplaceSettings(e, job)) return Reentry::Redraw;
    asked = true;
    if (!ReplaceRun(e, find, repl, job)) return Reentry::Redraw;
  }
  if (lines.size() % 2 != 0) {
    ShowMessage(e, Texts::OddPairLines, 1);
    e.OpFailed = 1;
  }
  return Reentry::Redraw;
}

}  // namespace lumo

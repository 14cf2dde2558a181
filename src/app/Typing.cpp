// Typing works on work copies of the lines (text/LineEdit): the character
// goes into a copy, and only when every check has passed (length, memory,
// the wrap's target) is the line pushed to the history and stored. So a
// refused character leaves the text, the history and Modified exactly as
// they were. A wrap builds the target line in a second copy the same way. Nothing here allocates unless a line must
// grow or a continuation line is inserted.
#include "app/Typing.h"

#include <algorithm>
#include <cstring>

#include "screen/Window.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/RusTable.h"

namespace lumo {
namespace {

constexpr int RefusalPauseMs = 30;  // the silent signal of a refused character
constexpr uint8_t VerticalLine = 0xB3;

// Shift + keypad "." .. "9": box drawing ("/" stays).
constexpr uint8_t KeypadBox['9' - '.' + 1] = {
    0xB3,  // .  │
    '/',   // /
    0xC4,  // 0  ─
    0xC0,  // 1  └
    0xC1,  // 2  ┴
    0xD9,  // 3  ┘
    0xC3,  // 4  ├
    0xC5,  // 5  ┼
    0xB4,  // 6  ┤
    0xDA,  // 7  ┌
    0xC2,  // 8  ┬
    0xBF,  // 9  ┐
};

int LeadingBlanks(const LineEdit& w) {
  int k = 0;
  while (k < w.Len && w.B[k + 1] == ' ') ++k;
  return k;
}

void Pause(Editor& e) {
  if (e.Con) e.Con->WaitKey(RefusalPauseMs);
}

// A refusal: the pause for what cannot fit, OpFailed for everything.
bool Refuse(Editor& e, Fit why) {
  if (why == Fit::TooLong) Pause(e);
  e.OpFailed = 1;
  return false;
}

bool BeginsParagraph(const Editor& e, int index) {
  return FirstNonBlank(LineBytes(e, index)) == e.TabStops[2];
}

// How far a continuation moves right past a list marker at the start of x
// ("1 ", "2) ", "12. ", "* "), given the receiving line y.
int ListShift(const LineEdit& x, const LineEdit& y) {
  static constexpr const char* Separators[3] = {" ", ") ", ". "};
  auto follows = [&x](int from, const char* sep) {
    for (int i = 0; sep[i]; ++i)
      if (x.At(from + i) != uint8_t(sep[i])) return false;
    return true;
  };
  auto isDigit = [](uint8_t c) { return c >= '0' && c <= '9'; };
  for (uint8_t d = '0'; d <= '9'; ++d) {
    for (const char* sep : Separators) {
      const int sl = int(std::strlen(sep));
      int w = 0;
      if (x.At(1) == d && follows(2, sep))
        w = sl + 1;
      else if (isDigit(x.At(1)) && x.At(2) == d && follows(3, sep))
        w = sl + 2;
      else
        continue;
      bool blank = true;
      for (int i = 1; i <= w && blank; ++i) blank = y.At(i) == ' ';
      if (blank) return w;
    }
  }
  return x.At(1) == '*' && x.At(2) == ' ' ? 2 : 0;
}

void MoveCursor(Editor& e, int line, int col) {
  MoveToLine(e, line);
  e.CurCol = int16_t(col);
}

// A blank typed past RightMargin at the end of the text: the cursor goes on
// to the next line instead, which is made when the typing cannot go on in the
// line below.
void BlankToNextLine(Editor& e, const LineEdit& s) {
  const int line = e.CurLine;
  const int next = line + 1;
  bool useNext = false;
  if (next <= e.LineCount) {
    const int first = FirstNonBlank(LineBytes(e, next));
    if (first > 0 && first != e.TabStops[2]) {
      std::string_view y = LineBytes(e, next);
      int end = first;
      while (end < int(y.size()) && y[size_t(end)] != ' ') ++end;
      useNext = end <= e.FormatWidth;
    }
  }
  int16_t target = int16_t(next);
  if (!useNext) {
    InsertLine(e, e.RightMargin, target);
    if (e.OpFailed) return;
  }
  MoveCursor(e, target, e.LeftMargin + ListShift(s, EditLine(e, target)));
  if (!useNext) MarkWindow(e);
}

// Rule for a rectangle on the typed line only: its columns follow the text
// that the inserted character pushed right.
void ShiftRectangle(Editor& e, int line, int col) {
  if (!e.InsertMode || e.RectFirstLine != line || e.RectLastLine != line) return;
  if (e.RectFirstCol < col) return;
  ++e.RectFirstCol;
  ++e.RectLastCol;
  if (e.RectLastCol > e.FormatWidth)
    e.RectFirstLine = e.RectLastLine = e.RectFirstCol = e.RectLastCol = 0;
  MarkLine(e, line);
}

// Stores s unwrapped. The cursor always passes the character: left standing
// beyond FormatWidth, it would put each next letter of a long word in front
// of the one before.
bool StoreTyped(Editor& e, int line, const LineEdit& s, int col) {
  if (Fit f = CheckFit(e, line, s); f != Fit::Ok) return Refuse(e, f);
  if (!CommitLine(e, line, s)) return false;
  e.CurCol = int16_t(col + 1);
  MarkLine(e, line);
  return true;
}

// The last word of s (the character at col already in it) goes to the start
// of the next line, or of a new line after this one.
bool WrapWord(Editor& e, LineEdit& s, int col, int n, uint8_t ch) {
  const int line = e.CurLine;
  const int left = e.LeftMargin;
  const int fw = e.FormatWidth;
  int p = n;
  while (p >= 1 && s.B[p] != ' ') --p;
  if (p < left || (ch == ' ' && p <= left)) return Refuse(e, Fit::TooLong);
  const int g = n - p;
  // A word wider than the paragraph stays; so does a blank typed at the end,
  // which leaves nothing to move.
  if (g == 0 || g + left > fw) return StoreTyped(e, line, s, col);

  const int next = line + 1;
  bool useNext = false;
  if (next <= e.LineCount) {
    const int end = TextLength(e, next);
    useNext = end > 0 && !BeginsParagraph(e, next) && fw - end >= g + left;
  }
  LineEdit t;
  int at = left;
  if (useNext) {
    t = EditLine(e, next);
    t.Len = t.RawEnd();  // the store pads again; the word must not push text off
    at = std::min(LeadingBlanks(t) + 1, left);
  }
  // The list shift must not carry the word past 255 bytes, nor into the
  // text of the line below.
  if (const int shift = ListShift(s, t); at + shift + g <= MaxLineBytes) at += shift;
  if (useNext) at = std::min(at, LeadingBlanks(t) + 1);
  at = std::clamp(at, 1, MaxLineBytes - g);
  // The word, with the blank that parts it from what follows it there.
  t.Insert(at, " ");
  t.Insert(at, s.Bytes().substr(size_t(p), size_t(g)));
  s.Erase(p + 1, g);

  // Everything is checked before the first change, so a refusal changes nothing.
  const size_t newCap = size_t(std::max<int>(e.RightMargin, t.TextEnd()));
  const size_t other = useNext ? GrowthCost(e, next, t) : newCap + 1;
  if (Fit f = CheckFit(e, line, s, other); f != Fit::Ok) return Refuse(e, f);
  if (t.Overflow || t.RawEnd() > MaxLineBytes) return Refuse(e, Fit::TooLong);
  if (useNext) {
    if (Fit f = CheckFit(e, next, t, GrowthCost(e, line, s)); f != Fit::Ok) return Refuse(e, f);
  } else {
    int16_t at16 = int16_t(next);
    InsertLine(e, uint8_t(newCap), at16);
    if (e.OpFailed) return false;
  }
  if (!CommitLine(e, line, s)) return false;
  // The target shares the episode that commit opened: the ring keeps one
  // entry for the key, the typed line.
  if (!CommitLine(e, next, t)) return false;

  if (col > p) MoveCursor(e, next, at + (col - p - 1));
  else e.CurCol = int16_t(col);
  TakeSnapshot(e);
  ++e.CurCol;
  if (useNext) {
    MarkLine(e, line);
    MarkLine(e, next);
  } else {
    MarkWindow(e);
  }
  return true;
}

// TypeChar; false when nothing was typed.
bool TypeOne(Editor& e, uint8_t ch) {
  e.OpFailed = 0;
  const int line = e.CurLine;
  if (line < 1 || line > e.LineCount) return false;
  const bool limit = e.LengthLimit;
  const int rm = e.RightMargin;
  int col = std::max<int>(e.CurCol, 1);

  LineEdit s = EditLine(e, line);
  // Measured before an overwrite takes its character out: a line already
  // past the margin must not start to wrap because of an overwrite.
  const int lineEnd = s.TextEnd();
  if (!e.InsertMode) s.Erase(col, 1);
  const int stored = s.Len;
  const int end = s.TextEnd();

  if (col > rm && limit && stored <= rm) {
    if (ch == ' ' && col > end) {
      BlankToNextLine(e, s);
      return false;
    }
    // A letter typed out in the margin lands just past it, where the wrap
    // takes it to the next line; the cursor goes with it.
    if (ch != ' ') col = rm + 1;
  }
  if (col > MaxLineBytes) return Refuse(e, Fit::TooLong);
  // Filling up to the cursor puts the character where the cursor shows it,
  // also in a line whose capacity is smaller than the cursor's column.
  s.Insert(col, ch);

  const int n = std::max(s.TextEnd(), col);
  if (n <= e.FormatWidth || !limit || lineEnd > rm) {
    if (!StoreTyped(e, line, s, col)) return false;
  } else if (!WrapWord(e, s, col, n, ch)) {
    return false;
  }
  ShiftRectangle(e, line, col);
  return true;
}

// The Down move of the vertical-line drawing, without Down's message on the
// last line.
void DrawingDown(Editor& e) {
  if (e.CurCol > 1) --e.CurCol;
  if (e.CurLine < e.LineCount) MoveCursor(e, e.CurLine + 1, e.CurCol);
}

}  // namespace

void TypeChar(Editor& e, uint8_t ch) { TypeOne(e, ch); }

void TypePath(Editor& e, KeyCode key) {
  uint8_t ch = uint8_t(key & 0xFF);
  const uint8_t shift = uint8_t(key >> 16);
  if ((shift & 3) != 0 && e.PseudographicsMode && ch >= '.' && ch <= '9') ch = KeypadBox[ch - '.'];
  if (e.RusMode) ch = RusTranslate(ch);
  e.CompletionPos = 0;
  if (TypeOne(e, ch) && e.PseudographicsMode && ch == VerticalLine) DrawingDown(e);
}

void TypeString(Editor& e, std::string_view text) {
  for (char c : text) TypeChar(e, uint8_t(c));
  SetCursor(e, e.CurCol - e.HScroll, e.CurLine - e.TopLine + 3);
}

}  // namespace lumo

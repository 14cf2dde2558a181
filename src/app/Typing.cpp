// Typing works on private copies: the line's stored string is copied into a
// work buffer (with room past 255 bytes, so that an insertion can be checked
// before anything falls off), the character goes in, and only when every
// check has passed (length, memory, the wrap's target) is the line pushed to
// the history and stored. So a refused character leaves the text, the
// history and Modified exactly as they were. A wrap builds the target line
// in a second buffer the same way. Nothing here allocates unless a line must
// grow or a continuation line is inserted.
#include "app/Typing.h"

#include <algorithm>
#include <cstring>

#include "screen/Window.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/RusTable.h"

namespace lumo {
namespace {

constexpr int MaxText = 255;       // longest stored string
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

// A line being edited: bytes B[1..Len]. A target line can gain a whole word
// on top of 255 bytes before its trailing blanks are accounted for.
struct Work {
  uint8_t B[2 * MaxText + 8];
  int Len = 0;

  uint8_t At(int i) const { return i >= 1 && i <= Len ? B[i] : uint8_t(' '); }
  std::string_view View() const {
    return {reinterpret_cast<const char*>(B + 1), size_t(std::min(Len, MaxText))};
  }
};

void Load(Work& w, const uint8_t* line) {
  w.Len = line[0];
  std::memcpy(w.B + 1, line + 1, size_t(w.Len));
}

// Last byte that is not a blank: what must fit into 255 bytes.
int RawEnd(const Work& w) {
  int i = w.Len;
  while (i > 0 && w.B[i] == ' ') --i;
  return i;
}

// The text end as the store counts it (a trailing line-colour ending left out).
int TextEnd(const Work& w) {
  const int raw = RawEnd(w);
  return raw > MaxText ? raw : TextLength(w.View());
}

void FillTo(Work& w, int len) {
  while (w.Len < len) w.B[++w.Len] = ' ';
}

// Inserts n bytes at column at (at most one past the end).
void Insert(Work& w, int at, const uint8_t* src, int n) {
  std::memmove(w.B + at + n, w.B + at, size_t(w.Len - at + 1));
  std::memcpy(w.B + at, src, size_t(n));
  w.Len += n;
}

void Erase(Work& w, int at, int n) {
  std::memmove(w.B + at, w.B + at + n, size_t(w.Len - at - n + 1));
  w.Len -= n;
}

int LeadingBlanks(const Work& w) {
  int k = 0;
  while (k < w.Len && w.B[k + 1] == ' ') ++k;
  return k;
}

enum class Fit { Ok, TooLong, NoMemory };

// Whether w can be stored as line index, given that `reserve` bytes of the
// budget are spoken for by the other line of the same edit.
Fit CheckFit(const Editor& e, int index, const Work& w, size_t reserve) {
  if (RawEnd(w) > MaxText) return Fit::TooLong;
  const int l = TextEnd(w);
  if (l > Capacity(e, index) && size_t(l) + reserve >= FreeMemory(e)) return Fit::NoMemory;
  return Fit::Ok;
}

size_t GrowthCost(const Editor& e, int index, const Work& w) {
  const int l = TextEnd(w);
  return l > Capacity(e, index) ? size_t(l) + 1 : 0;
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

// Column 1 of a line's first non-blank byte, 0 for a blank line.
int FirstNonBlank(const Editor& e, int index) {
  std::string_view s = LineBytes(e, index);
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] != ' ') return int(i) + 1;
  return 0;
}

bool BeginsParagraph(const Editor& e, int index) {
  return FirstNonBlank(e, index) == e.TabStops[2];
}

// How far a continuation moves right past a list marker at the start of x
// ("1 ", "2) ", "12. ", "* "), given the receiving line y.
int ListShift(const Work& x, const Work& y) {
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
void BlankToNextLine(Editor& e, const Work& s) {
  const int line = e.CurLine;
  const int next = line + 1;
  bool useNext = false;
  if (next <= e.LineCount) {
    const int first = FirstNonBlank(e, next);
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
  Work y;
  Load(y, LineAt(e, target));
  MoveCursor(e, target, e.LeftMargin + ListShift(s, y));
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
bool StoreTyped(Editor& e, int line, const Work& s, int col) {
  if (Fit f = CheckFit(e, line, s, 0); f != Fit::Ok) return Refuse(e, f);
  PushHistory(e, line);
  SetLineText(e, s.View(), line);
  e.CurCol = int16_t(col + 1);
  MarkLine(e, line);
  return true;
}

// The last word of s (the character at col already in it) goes to the start
// of the next line, or of a new line after this one.
bool WrapWord(Editor& e, Work& s, int col, int n, uint8_t ch) {
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
  Work t;
  int at = left;
  if (useNext) {
    Load(t, LineAt(e, next));
    t.Len = RawEnd(t);  // the store pads again; the word must not push text off
    at = std::min(LeadingBlanks(t) + 1, left);
  }
  // The list shift must not carry the word past 255 bytes, nor into the
  // text of the line below.
  if (const int shift = ListShift(s, t); at + shift + g <= MaxText) at += shift;
  if (useNext) at = std::min(at, LeadingBlanks(t) + 1);
  at = std::clamp(at, 1, MaxText - g);
  FillTo(t, at - 1);
  uint8_t word[MaxText + 1];
  std::memcpy(word, s.B + p + 1, size_t(g));
  word[g] = ' ';
  Insert(t, at, word, g + 1);
  Erase(s, p + 1, g);

  // Everything is checked before the first change, so a refusal changes nothing.
  const size_t newCap = size_t(std::max<int>(e.RightMargin, TextEnd(t)));
  const size_t other = useNext ? GrowthCost(e, next, t) : newCap + 1;
  if (Fit f = CheckFit(e, line, s, other); f != Fit::Ok) return Refuse(e, f);
  if (RawEnd(t) > MaxText) return Refuse(e, Fit::TooLong);
  if (useNext) {
    if (Fit f = CheckFit(e, next, t, GrowthCost(e, line, s)); f != Fit::Ok) return Refuse(e, f);
  } else {
    int16_t at16 = int16_t(next);
    InsertLine(e, uint8_t(newCap), at16);
    if (e.OpFailed) return false;
  }
  PushHistory(e, line);
  SetLineText(e, s.View(), line);
  SetLineText(e, t.View(), next);

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

  Work s;
  Load(s, LineAt(e, line));
  // Measured before an overwrite takes its character out: a line already
  // past the margin must not start to wrap because of an overwrite.
  const int lineEnd = TextEnd(s);
  if (!e.InsertMode && col <= s.Len) Erase(s, col, 1);
  const int stored = s.Len;
  const int end = TextEnd(s);

  if (col > rm && limit && stored <= rm) {
    if (ch == ' ' && col > end) {
      BlankToNextLine(e, s);
      return false;
    }
    // A letter typed out in the margin lands just past it, where the wrap
    // takes it to the next line; the cursor goes with it.
    if (ch != ' ') col = rm + 1;
  }
  if (col > MaxText) return Refuse(e, Fit::TooLong);
  // Filling up to the cursor puts the character where the cursor shows it,
  // also in a line whose capacity is smaller than the cursor's column.
  FillTo(s, col - 1);
  Insert(s, col, &ch, 1);

  const int n = std::max(TextEnd(s), col);
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
  if (TypeOne(e, ch) && e.PseudographicsMode && ch == VerticalLine) DrawingDown(e);
}

void TypeString(Editor& e, std::string_view text) {
  for (char c : text) TypeChar(e, uint8_t(c));
  SetCursor(e, e.CurCol - e.HScroll, e.CurLine - e.TopLine + 3);
}

}  // namespace lumo

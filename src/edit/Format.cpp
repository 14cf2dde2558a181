// Reflowing joins the next line's words up to the width and splits a line at
// the first word that crosses it, line by line, the way a user would with
// Alt+J and Alt+S. Two places are read for what they are for: a paragraph's
// last line is broken like the others when it is too long, also when it is
// the first or the text's last line, and the line that ends a paragraph (an
// empty one, or one that starts the next paragraph) is never pulled into it.
// A word longer than the width stays on a line of its own.
#include "edit/Format.h"

#include <algorithm>
#include <string>

#include "edit/LineOps.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"
#include "text/WordScan.h"

namespace lumo {
namespace {

// The most passes one line can take: each join or split moves a word, and a
// line holds at most 128 of them.
constexpr int MaxPasses = 600;
constexpr int TabWidth = 8;

bool Empty(const Editor& e, int i) { return TextLength(e, i) == 0; }

bool StartsParagraph(const Editor& e, int i) {
  const std::string_view s = LineBytes(e, i);
  return FirstNonBlank(s) == e.TabStops[2] || ByteAt(s, e.LeftMargin) == '\t';
}

// Line i is its paragraph's last: the next line is empty, starts a new
// paragraph, or there is none.
bool LastOfParagraph(const Editor& e, int i) {
  return i >= e.LineCount || Empty(e, i + 1) || StartsParagraph(e, i + 1);
}

// Every run of blanks in line i becomes one blank, the indentation too.
void SingleBlanks(Editor& e, int i) {
  LineEdit w = EditLine(e, i);
  const int end = w.RawEnd();
  int out = 0;
  for (int k = 1; k <= end; ++k)
    if (w.B[k] != ' ' || out == 0 || w.B[out] != ' ') w.B[++out] = w.B[k];
  if (out == end) return;
  w.Len = out;
  CommitLine(e, i, w);
}

int FirstParagraphLine(Editor& e) {
  int i = e.CurLine;
  while (Empty(e, i) && i < e.LineCount) ++i;
  while (i > 1 && !Empty(e, i) && !StartsParagraph(e, i)) --i;
  if (Empty(e, i) && i < e.LineCount) ++i;
  return i;
}

// Blanks go into the gaps one at a time from the left, pass after pass,
// until the last word ends at the width; a gap where a delimiter touches the
// next word takes none. A line that would need too many steps stays filled
// but ragged.
void Justify(Editor& e, int i) {
  const int width = e.FormatWidth;
  LineEdit w = EditLine(e, i);
  w.FillTo(width);
  const int size = w.Len;
  int steps = 0;
  while (w.At(width) == ' ') {
    int c = FirstNonBlank(w.Bytes());
    if (c == 0) return;
    while (w.At(width) == ' ' && c < TextLength(w.Bytes()) && c < width) {
      c = WordEndRightAt(w.Bytes(), c, 0);
      if (++steps > 254) return;
      if (c < width && !IsDelimiter(w.At(c - 1))) {
        w.Insert(c, ' ');
        w.Cut(size + 1);
        ++c;
      }
    }
  }
  CommitLine(e, i, w);
}

// Joins and splits the current line until it holds what fits in the width.
// True when the line changed length and wants another pass.
bool FillLine(Editor& e, int width) {
  const int length = TextLength(e, e.CurLine);
  if (!LastOfParagraph(e, e.CurLine)) {
    int c = 0;
    if (e.LeftMargin == 1) c = length + 2 <= width ? length + 2 : length;
    else c = length < width ? length + 1 : length;
    if (length < c) {
      e.CurCol = int16_t(c);
      JoinLines(e);
    }
  }
  if (e.OpFailed) return false;
  if (TextLength(e, e.CurLine) > width) {
    const std::string_view s = LineBytes(e, e.CurLine);
    int c = width;
    if (ByteAt(s, width + 1) != ' ') c = WordStartLeftAt(s, width);
    c = WordEndRightAt(s, c, 0);
    // A split before the first word would only leave an empty line behind.
    if (c <= width + 2 && c > FirstNonBlank(s)) {
      e.CurCol = int16_t(c);
      SplitLine(e);
    }
  }
  const int now = TextLength(e, e.CurLine);
  return e.OpFailed == 0 && now != length && now <= width;
}

}  // namespace

void Reindent(Editor& e, int target) {
  LineEdit w = EditLine(e, e.CurLine);
  const int first = FirstNonBlank(w.Bytes());
  if (first == 0) return;
  int shift = std::clamp(target, 1, MaxLineBytes) - first;
  if (shift < 0) w.Erase(1, -shift);
  shift = std::min(shift, MaxLineBytes - w.RawEnd());
  if (shift > 0) w.Insert(1, std::string(size_t(shift), ' '));
  if (shift != 0 && CommitLine(e, e.CurLine, w)) MarkLine(e, e.CurLine);
}

void FormatParagraph(Editor& e, bool justify) {
  e.OpFailed = 0;
  const int width = e.FormatWidth;
  const int first = FirstParagraphLine(e);
  for (int i = first;; ++i) {
    const bool last = LastOfParagraph(e, i);
    MoveToLine(e, i);
    SingleBlanks(e, i);
    Reindent(e, i == first ? e.TabStops[2] : e.LeftMargin);
    if (last || e.OpFailed) break;
  }
  MoveToLine(e, first);
  for (int passes = 0; e.OpFailed == 0;) {
    if (LastOfParagraph(e, e.CurLine) && TextLength(e, e.CurLine) <= width) break;
    if (FillLine(e, width) && ++passes < MaxPasses) continue;
    if (e.OpFailed || LastOfParagraph(e, e.CurLine)) break;
    if (justify) Justify(e, e.CurLine);
    MoveToLine(e, e.CurLine + 1);
    Reindent(e, e.LeftMargin);
    passes = 0;
  }
  if (e.CurLine < e.LineCount) MoveToLine(e, e.CurLine + 1);
  e.CurCol = e.LeftMargin;
  e.LineSaved = false;
  MarkWindow(e);
}

void ExpandTabs(Editor& e) {
  int kept = 0;
  for (int i = 1; i <= e.LineCount; ++i) {
    if (LineBytes(e, i).find('\t') == std::string_view::npos) continue;
    LineEdit w = EditLine(e, i);
    for (int col = 1; col <= w.RawEnd(); ++col) {
      if (w.B[col] != '\t') continue;
      w.B[col] = ' ';
      const int more = (TabWidth - col % TabWidth) % TabWidth;
      if (more > 0) w.Insert(col + 1, std::string(size_t(more), ' '));
      col += more;
    }
    if (w.Overflow || w.RawEnd() > MaxLineBytes || CheckFit(e, i, w) != Fit::Ok || !SetLineText(e, w.View(), i))
      ++kept;
  }
  e.OpFailed = 0;
  e.Modified = true;
  MarkWindow(e);
  if (kept > 0) ShowMessage(e, std::string(Texts::TabsKept) + std::to_string(kept), 1);
}

Reentry ReindentAtCursorKey(Editor& e, KeyCode) {
  Reindent(e, e.CurCol);
  return Reentry::Update;
}

Reentry ReindentToMarginKey(Editor& e, KeyCode) {
  Reindent(e, e.LeftMargin);
  return Reentry::Update;
}

Reentry FormatJustifiedKey(Editor& e, KeyCode) {
  FormatParagraph(e, true);
  return Reentry::Update;
}

// In program texts Ctrl+F belongs to the templates.
Reentry FormatRaggedKey(Editor& e, KeyCode) {
  if (e.ProgramTextMode) return Reentry::Read;
  FormatParagraph(e, false);
  return Reentry::Update;
}

Reentry ExpandTabsKey(Editor& e, KeyCode) {
  ExpandTabs(e);
  return Reentry::Update;
}

}  // namespace lumo

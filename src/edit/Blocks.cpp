// Block commands. A rectangle's pieces are always read in full before the
// first line changes: a destination may share lines with the block, and a
// line changed first would otherwise hand over shifted bytes. Every change
// is measured before it is made, so a line never loses bytes past 255; a
// refusal by the store part-way (the line limit, memory) ends the command
// with what was done kept, as the store's notice says.
#include "edit/Blocks.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/Typing.h"
#include "edit/Cursor.h"
#include "edit/Format.h"
#include "edit/LineOps.h"
#include "edit/Words.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"
#include "tools/ClipFile.h"

namespace lumo {
namespace {

using namespace keys;

bool HasLineBlock(const Editor& e) { return e.BlockFirst > 0; }
bool HasRect(const Editor& e) { return e.RectFirstLine > 0; }
int RectWidth(const Editor& e) { return e.RectLastCol - e.RectFirstCol + 1; }
int RectHeight(const Editor& e) { return e.RectLastLine - e.RectFirstLine + 1; }

bool Fail(Editor& e, std::string_view message) {
  ShowMessage(e, message, 1);
  e.OpFailed = 1;
  return false;
}

// The bytes of the rectangle's columns on line i, blanks past the capacity.
std::string Piece(const Editor& e, int i) {
  const std::string_view s = LineBytes(e, i);
  std::string p;
  for (int c = e.RectFirstCol; c <= e.RectLastCol; ++c) p += char(ByteAt(s, c));
  return p;
}

std::vector<std::string> Pieces(const Editor& e) {
  std::vector<std::string> v;
  for (int i = e.RectFirstLine; i <= e.RectLastLine; ++i) v.push_back(Piece(e, i));
  return v;
}

void TypeBytes(Editor& e, std::string_view bytes) {
  for (char c : bytes) TypeChar(e, uint8_t(c));
}

// Types bytes at the cursor and counts the bytes that wrapping carried into
// the existing line below the one the typing began on. Bytes typed on that
// line itself are not counted: typing moves a rectangle there by itself.
int TypeCarrying(Editor& e, std::string_view bytes) {
  const int line = e.CurLine;
  int carried = 0;
  for (char c : bytes) {
    const bool below = e.CurLine == line && line < e.LineCount;
    const int count = e.LineCount;
    const int before = below ? TextLength(e, line + 1) : 0;
    TypeChar(e, uint8_t(c));
    if (below && e.LineCount == count) carried += TextLength(e, line + 1) - before;
  }
  return carried;
}

// Destination lines past the end of the text are made first; false when the
// store refused one (its notice shown).
bool EnsureLines(Editor& e, int last) {
  while (e.LineCount < last) {
    if (!RoomForLine(e)) return false;
    int16_t at = int16_t(e.LineCount + 1);
    InsertLine(e, e.RightMargin, at);
    if (e.OpFailed) return false;
  }
  return true;
}

// The planned contents of the lines a rectangle command changes, checked
// whole before any is stored.
struct Plan {
  std::vector<int> Index;
  std::vector<LineEdit> Work;
  LineEdit& At(Editor& e, int i) {
    for (size_t k = 0; k < Index.size(); ++k)
      if (Index[k] == i) return Work[k];
    Index.push_back(i);
    Work.push_back(i <= e.LineCount ? EditLine(e, i) : EditText({}));
    return Work.back();
  }
  bool Fits() const {
    for (const LineEdit& w : Work)
      if (w.Overflow || w.RawEnd() > MaxLineBytes) return false;
    return true;
  }
  // Lines made for the destination take their first text unpushed; the
  // others are committed, which keeps their earlier text in the ring.
  // Lines past the end of the text (the store refused to make them) are
  // left out.
  void Store(Editor& e, int madeFrom) {
    for (size_t k = 0; k < Index.size(); ++k) {
      const int i = Index[k];
      if (i > e.LineCount) continue;
      const bool ok = i >= madeFrom ? SetLineText(e, Work[k].View(), i) : CommitLine(e, i, Work[k]);
      if (!ok) return;
    }
  }
};

// ---- Copy ---------------------------------------------------------------------

// The block's lines, copied bottom first to just after the cursor line, all
// with one move of the table. A refusal ends the copy where one line at a
// time would have ended: after the last lines of the block went in.
bool CopyLines(Editor& e) {
  const int first = e.BlockFirst, last = e.BlockLast, cur = e.CurLine;
  if (first <= cur && cur < last) return Fail(e, Texts::BlockOverlap);
  const int count = last - first + 1;
  int taken = 0;
  size_t free = FreeMemory(e);
  bool noMemory = false;
  for (int i = last; i >= first && taken < MaxLines - e.LineCount; --i, ++taken) {
    const size_t cap = Capacity(e, i);
    if (cap >= free) {
      noMemory = true;
      break;
    }
    free -= cap + 1;
  }
  const int from = last - taken + 1;
  std::vector<uint8_t> caps;
  for (int i = from; i <= last; ++i) caps.push_back(Capacity(e, i));
  if (!InsertLines(e, cur + 1, caps)) {
    RefuseNoMemory(e);
    return false;
  }
  const int moved = cur < first ? taken : 0;
  for (int k = 0; k < taken; ++k) {
    const uint8_t* src = LineAt(e, from + moved + k);
    std::copy(src + 1, src + 1 + src[0], LineAt(e, cur + 1 + k) + 1);
  }
  MarkWindow(e);
  if (taken == count) return true;
  if (noMemory) RefuseNoMemory(e);
  else RoomForLine(e);
  return false;
}

// Whether the h × w rectangle at (line, col) meets the block.
bool MeetsRect(const Editor& e, int line, int col) {
  const int w = RectWidth(e), h = RectHeight(e);
  return line <= e.RectLastLine && line + h - 1 >= e.RectFirstLine && col <= e.RectLastCol &&
         col + w - 1 >= e.RectFirstCol;
}

bool CopyRect(Editor& e, int& carried) {
  const int w = RectWidth(e), h = RectHeight(e);
  const int line = e.CurLine, col = e.CurCol;
  if (h == 1) {
    if (line == e.RectFirstLine && e.RectFirstCol < col && col <= e.RectLastCol) return Fail(e, Texts::BlockOverlap);
    const std::string p = Piece(e, e.RectFirstLine);
    PushHistory(e, line);
    carried = TypeCarrying(e, p);
    MarkWindow(e);
    return e.OpFailed == 0;
  }
  if (MeetsRect(e, line, col) && !(line == e.RectFirstLine && col <= e.RectFirstCol))
    return Fail(e, Texts::BlockOverlap);
  const std::vector<std::string> pieces = Pieces(e);
  const int made = e.LineCount + 1;
  Plan plan;
  for (int k = 0; k < h; ++k) {
    LineEdit& d = plan.At(e, line + k);
    if (!e.InsertMode) d.Erase(col, w);
    d.Insert(col, pieces[size_t(k)]);
  }
  if (!plan.Fits()) return Fail(e, Texts::BlockTooLong);
  // A refusal ends the copy with the lines that were there copied.
  const bool room = EnsureLines(e, line + h - 1);
  plan.Store(e, made);
  e.Modified = true;
  MarkWindow(e);
  return room && e.OpFailed == 0;
}

// carried: what a one-line copy's wrapping put into the line below.
bool CopyBlock(Editor& e, int& carried) {
  e.OpFailed = 0;
  e.LineSaved = false;
  carried = 0;
  if (HasLineBlock(e)) return CopyLines(e);
  if (HasRect(e)) return CopyRect(e, carried);
  return Fail(e, Texts::NoBlock);
}

// ---- Move ---------------------------------------------------------------------

bool MoveRect(Editor& e) {
  e.OpFailed = 0;
  const int w = RectWidth(e), h = RectHeight(e);
  const int first = e.RectFirstLine, col0 = e.RectFirstCol;
  const bool sideways = e.CurLine == first;
  const int16_t cursorCol = e.CurCol;
  if (sideways) {
    if (e.CurCol > e.RectLastCol) e.CurCol = int16_t(e.CurCol - w);
    else if (e.CurCol > e.RectFirstCol) return Fail(e, Texts::BlockOverlap);
  } else if (MeetsRect(e, e.CurLine, e.CurCol)) {
    return Fail(e, Texts::BlockOverlap);
  }
  const std::vector<std::string> pieces = Pieces(e);
  if (h == 1 && !sideways) {
    // The bytes leave their line only when the cursor's line can take them
    // even unwrapped: typing refused half-way would lose them.
    if (std::max<int>(TextLength(e, e.CurLine), e.CurCol - 1) + w > MaxLineBytes) return Fail(e, Texts::BlockTooLong);
    LineEdit src = EditLine(e, first);
    src.Erase(col0, w);
    if (!CommitLine(e, first, src)) return false;
    e.LineSaved = false;
    PushHistory(e, e.CurLine);
    TypeBytes(e, pieces[0]);
    MarkWindow(e);
    return e.OpFailed == 0;
  }
  // Each line loses its piece first; a destination column right of the
  // block on a line that lost one stands w columns further left, so the
  // text lands where the cursor showed it.
  const int line = e.CurLine, col = e.CurCol;
  const int made = e.LineCount + 1;
  Plan plan;
  for (int k = 0; k < h; ++k) plan.At(e, first + k).Erase(col0, w);
  for (int k = 0; k < h; ++k) {
    const int d = line + k;
    const bool lost = d >= first && d < first + h;
    const int at = lost && !sideways && col > col0 ? col - w : col;
    plan.At(e, d).Insert(at, pieces[size_t(k)]);
  }
  if (!plan.Fits()) {
    e.CurCol = cursorCol;
    return Fail(e, Texts::BlockTooLong);
  }
  if (!EnsureLines(e, line + h - 1)) return false;
  plan.Store(e, made);
  e.Modified = true;
  MarkWindow(e);
  return e.OpFailed == 0;
}

// ---- Marking by movement ------------------------------------------------------

// Moving away from a block's edge grows it, moving back shrinks it.
void MarkStepDown(Editor& e) {
  const int16_t n = e.CurLine;
  if (n >= e.LineCount) return;
  if (e.RectLastLine == n) ++e.RectLastLine;
  else if (e.RectFirstLine == n) ++e.RectFirstLine;
  else if (e.BlockLast == n) ++e.BlockLast;
  else if (e.BlockFirst == n) ++e.BlockFirst;
  else {
    Unmark(e);
    e.BlockFirst = n;
    e.BlockLast = int16_t(n + 1);
  }
  MoveToLine(e, n + 1);
}

void MarkStepUp(Editor& e) {
  const int16_t n = e.CurLine;
  if (n <= 1) return;
  if (e.RectFirstLine == n) --e.RectFirstLine;
  else if (e.RectLastLine == n) --e.RectLastLine;
  else if (e.BlockFirst == n) --e.BlockFirst;
  else if (e.BlockLast == n) --e.BlockLast;
  else {
    Unmark(e);
    e.BlockFirst = int16_t(n - 1);
    e.BlockLast = n;
  }
  MoveToLine(e, n - 1);
}

int StepCount(KeyCode key) {
  const uint8_t shift = ShiftOf(key);
  return (shift & ModAlt) ? 4 : (shift & ModCtrl) ? 8 : 1;
}

// The rectangle to the end of the line's text from column k.
void MarkToTextEnd(Editor& e, int k) {
  Unmark(e);
  MarkRectCorner(e, k);
  k = TextLength(e, e.CurLine);
  if (k < e.RightMargin) ++k;
  MarkRectCorner(e, k);
}

// The window notices a changed block by itself, but the idle message row
// carries the line block's size, drawn again only at the redraw point.
Reentry Marked() { return Reentry::Redraw; }

}  // namespace

bool HasBlock(const Editor& e) { return HasLineBlock(e) || HasRect(e); }

void Unmark(Editor& e) {
  if (HasLineBlock(e)) e.BlockFirst = e.BlockLast = 0;
  else e.RectFirstLine = e.RectLastLine = e.RectFirstCol = e.RectLastCol = 0;
}

void DeleteBlock(Editor& e) {
  e.OpFailed = 0;
  if (HasLineBlock(e)) {
    e.LineSaved = false;
    DeleteLines(e, e.BlockFirst, e.BlockLast - e.BlockFirst + 1);
    if (e.CurLine < e.TopLine) e.TopLine = e.CurLine;
  } else if (HasRect(e)) {
    for (int i = e.RectFirstLine; i <= e.RectLastLine; ++i) {
      LineEdit w = EditLine(e, i);
      w.Erase(e.RectFirstCol, RectWidth(e));
      if (!CommitLine(e, i, w)) return;
    }
  } else {
    Fail(e, Texts::NoBlock);
    return;
  }
  Unmark(e);
  MarkWindow(e);
}

Reentry MarkLineKey(Editor& e, KeyCode) {
  if (HasRect(e)) {
    e.BlockFirst = e.RectFirstLine;
    e.BlockLast = e.RectLastLine;
    e.RectFirstLine = e.RectLastLine = e.RectFirstCol = e.RectLastCol = 0;
  }
  if (!HasLineBlock(e)) e.BlockFirst = e.BlockLast = e.CurLine;
  else if (e.CurLine > e.BlockLast) e.BlockLast = e.CurLine;
  else if (e.CurLine < e.BlockFirst) e.BlockFirst = e.CurLine;
  return Marked();
}

// In program texts Ctrl+A belongs to the templates.
Reentry MarkAllKey(Editor& e, KeyCode) {
  if (e.ProgramTextMode) return Reentry::Read;
  e.RectFirstLine = e.RectLastLine = e.RectFirstCol = e.RectLastCol = 0;
  e.BlockFirst = 1;
  e.BlockLast = e.LineCount;
  return Marked();
}

Reentry MarkCornerKey(Editor& e, KeyCode) {
  MarkRectCorner(e, e.CurCol);
  return Marked();
}

Reentry MarkWordKey(Editor& e, KeyCode key) {
  if (!(e.RectFirstLine == e.CurLine && e.RectLastLine == e.CurLine)) Unmark(e);
  std::string unused;
  TakeWord(e, unused, CharAndScan(key));
  return Marked();
}

Reentry MarkToEndKey(Editor& e, KeyCode) {
  MarkToTextEnd(e, e.CurCol);
  return Marked();
}

Reentry MarkLineTextKey(Editor& e, KeyCode) {
  const std::string_view s = LineBytes(e, e.CurLine);
  int k = 1;
  while (k < e.RightMargin && ByteAt(s, k) == ' ') ++k;
  MarkToTextEnd(e, k);
  return Marked();
}

Reentry MarkDownKey(Editor& e, KeyCode key) {
  if (e.CurLine >= e.LineCount) return StepCount(key) == 1 ? DownKey(e, key) : Marked();
  for (int k = StepCount(key); k > 0 && e.CurLine < e.LineCount; --k) MarkStepDown(e);
  return Marked();
}

Reentry MarkUpKey(Editor& e, KeyCode key) {
  for (int k = StepCount(key); k > 0 && e.CurLine > 1; --k) MarkStepUp(e);
  return Marked();
}

Reentry MarkRightKey(Editor& e, KeyCode key) {
  const int c = e.CurCol;
  if (HasLineBlock(e)) Unmark(e);
  if (!HasRect(e)) MarkRectCorner(e, c);
  if (c == e.RectFirstCol || c == e.RectLastCol) RightKey(e, key);
  if (c == e.RectFirstCol && e.RectLastCol > e.RectFirstCol) ++e.RectFirstCol;
  // The cursor stops past a line's capacity; the block stops at the last
  // column a line can have.
  else if (e.RectLastCol <= MaxLineBytes) ++e.RectLastCol;
  return Marked();
}

Reentry MarkLeftKey(Editor& e, KeyCode key) {
  const int c = e.CurCol;
  if (HasLineBlock(e)) Unmark(e);
  if (!HasRect(e)) MarkRectCorner(e, c);
  if ((c == e.RectFirstCol || c == e.RectLastCol) && c > 1) LeftKey(e, key);
  if (c != e.RectFirstCol) --e.RectLastCol;
  else if (e.RectFirstCol > 1) --e.RectFirstCol;
  if (e.RectLastCol < e.RectFirstCol) Unmark(e);
  return Marked();
}

Reentry MarkWordLeftKey(Editor& e, KeyCode key) {
  const int c = e.CurCol;
  if (c > 1) {
    if (c - 1 == e.RectLastCol && e.CurLine == e.RectFirstLine) {
      e.RectLastCol = e.RectFirstCol;
    } else if (!HasRect(e)) {
      e.CurCol = int16_t(c - 1);
      MarkRectCorner(e, e.CurCol);
    }
  }
  WordLeftKey(e, key);
  if (e.CurCol < e.RectFirstCol) MarkRectCorner(e, e.CurCol);
  else if (e.CurCol == e.RectFirstCol) Unmark(e);
  else MarkRectCorner(e, e.CurCol - 1);
  return Marked();
}

Reentry MarkWordRightKey(Editor& e, KeyCode key) {
  if (e.CurCol == e.RectFirstCol) e.RectFirstCol = e.RectLastCol;
  else MarkRectCorner(e, e.CurCol);
  WordRightKey(e, key);
  const int p = e.CurCol;
  if (p < e.RectFirstCol) MarkRectCorner(e, p);
  else if (p - 1 == e.RectFirstCol || p - 1 < 1) Unmark(e);
  else MarkRectCorner(e, p - 1);
  return Marked();
}

namespace {

void ShiftRect(Editor& e, int by) {
  e.RectFirstCol = int16_t(e.RectFirstCol + by);
  e.RectLastCol = int16_t(e.RectLastCol + by);
  if (e.RectLastCol > e.FormatWidth) Unmark(e);
}

}  // namespace

// Alt+K keeps the marking on the text it covered: a rectangle whose first
// line took the copy in front of it has moved right with its text, and so
// has a one-line rectangle on the next line that wrapping pushed words into.
Reentry CopyBlockKey(Editor& e, KeyCode key) {
  if (!HasBlock(e)) {
    Fail(e, Texts::NoBlock);
    return Reentry::Redraw;
  }
  PushHistory(e, e.CurLine);
  const int line = e.CurLine, col = e.CurCol;
  const bool rect = HasRect(e), several = rect && RectHeight(e) > 1;
  int carried = 0;
  if (!CopyBlock(e, carried)) return Reentry::Redraw;
  if (key == Alt(C)) Unmark(e);
  else if (e.InsertMode && several && e.RectFirstLine == line && col <= e.RectLastCol + 1) ShiftRect(e, RectWidth(e));
  else if (e.InsertMode && rect && !several && carried > 0 && e.RectFirstLine == line + 1) ShiftRect(e, carried);
  return Reentry::Redraw;
}

Reentry MoveBlockKey(Editor& e, KeyCode) {
  if (HasLineBlock(e)) {
    int carried = 0;
    if (!CopyBlock(e, carried)) return Reentry::Redraw;
    if (e.BlockFirst < e.CurLine) e.LineSaved = false;
    DeleteBlock(e);
    return Reentry::Redraw;
  }
  if (!HasRect(e)) {
    Fail(e, Texts::NoBlock);
    return Reentry::Redraw;
  }
  const bool keepEpisode = RectHeight(e) == 1 && e.RectFirstLine == e.CurLine;
  if (MoveRect(e)) {
    if (!keepEpisode) e.LineSaved = false;
    Unmark(e);
  }
  return Reentry::Redraw;
}

Reentry DeleteBlockKey(Editor& e, KeyCode) {
  DeleteBlock(e);
  return Reentry::Redraw;
}

// The earlier texts are not kept in the ring: the shift undoes itself with
// the other key.
Reentry ShiftBlockKey(Editor& e, KeyCode key) {
  e.OpFailed = 0;
  if (!HasLineBlock(e)) {
    Fail(e, Texts::NoBlock);
    return Reentry::Redraw;
  }
  const bool right = key == Ctrl(Ins);
  if (right)
    for (int i = e.BlockFirst; i <= e.BlockLast; ++i)
      if (EditLine(e, i).RawEnd() >= MaxLineBytes) {
        Fail(e, Texts::BlockTooLong);
        return Reentry::Redraw;
      }
  e.LineSaved = false;
  for (int i = e.BlockFirst; i <= e.BlockLast; ++i) {
    LineEdit w = EditLine(e, i);
    if (right) w.Insert(1, ' ');
    else w.Erase(1, 1);
    if (!SetLineText(e, w.View(), i)) break;
  }
  e.Modified = true;
  MarkWindow(e);
  return Reentry::Redraw;
}

Reentry BlockDelKey(Editor& e, KeyCode key) {
  if (!HasBlock(e)) return DelKey(e, key);
  const int answer = AskChoice(e, Texts::AskDeleteBlock);
  if (answer == 1) DeleteBlock(e);
  else if (answer == 2) DelKey(e, key);
  return Reentry::Redraw;
}

Reentry ClipCopyKey(Editor& e, KeyCode key) {
  e.OpFailed = 0;
  std::vector<std::string> lines;
  char type = ClipLines;
  if (HasLineBlock(e)) {
    for (int i = e.BlockFirst; i <= e.BlockLast; ++i) {
      const std::string_view s = LineBytes(e, i);
      lines.emplace_back(s.substr(0, s.find_last_not_of(' ') + 1));
    }
  } else if (HasRect(e)) {
    type = ClipPieces;
    lines = Pieces(e);
  } else {
    Fail(e, Texts::NoBlock);
    return Reentry::Redraw;
  }
  if (!WriteClipFile(e, type, lines)) {
    e.OpFailed = 1;
    return Reentry::Redraw;
  }
  if (key == Ctrl(X)) DeleteBlock(e);
  else Unmark(e);
  return Reentry::Redraw;
}

Reentry ClipPasteKey(Editor& e, KeyCode) {
  if (!RefreshClipFile(e)) return Reentry::Update;
  const ClipContent clip = ReadClipFile(e);
  if (clip.Type != ClipLines && clip.Type != ClipPieces) return Reentry::Read;
  const bool insert = e.InsertMode;
  e.InsertMode = true;
  e.OpFailed = 0;
  if (clip.Type == ClipLines) {
    if (HasLineBlock(e)) {
      // The block's lines are replaced; a block that ends the text would
      // take the line the pasted text is to go into with it.
      if (e.BlockLast == e.LineCount && RoomForLine(e)) {
        int16_t at = int16_t(e.LineCount + 1);
        InsertLine(e, 254, at);
      }
      MoveToLine(e, e.BlockFirst);
      e.CurCol = 1;
      if (e.OpFailed == 0) DeleteBlock(e);
    } else {
      PushHistory(e, e.CurLine);
    }
    for (const std::string& l : clip.Lines) {
      if (e.OpFailed) break;
      SplitLine(e);
      if (e.OpFailed) break;
      TypeBytes(e, l);
      MoveToLine(e, e.CurLine + 1);
      e.CurCol = 1;
      if (e.LeftMargin > 1) Reindent(e, e.LeftMargin);
    }
    e.CurCol = e.LeftMargin;
  } else {
    int c = e.CurCol;
    if (HasRect(e)) {
      MoveToLine(e, e.RectFirstLine);
      e.CurCol = e.RectFirstCol;
      c = e.RectFirstCol;
      DeleteBlock(e);
    }
    for (size_t k = 0; k < clip.Lines.size() && e.OpFailed == 0; ++k) {
      e.CurCol = int16_t(c);
      TypeBytes(e, clip.Lines[k]);
      if (k + 1 == clip.Lines.size()) break;
      if (e.CurLine >= e.LineCount) {
        e.CurCol = int16_t(TextLength(e, e.CurLine) + 1);
        SplitLine(e);
        if (e.OpFailed) break;
      }
      MoveToLine(e, e.CurLine + 1);
    }
  }
  e.Modified = true;
  e.InsertMode = insert;
  MarkWindow(e);
  return Reentry::Redraw;
}

}  // namespace lumo

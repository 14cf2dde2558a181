// Line operations work on work copies (text/LineEdit): a line's stored bytes
// (its whole capacity) are changed in a copy and committed, which pushes the
// line's history, pads the line to its capacity again and grows it when the
// text got longer. Bytes past a line's capacity read as blanks, so columns
// beyond the text need no special cases. A commit only stores a line that can
// hold all of its text and otherwise changes nothing, so nothing here cuts
// off anything but blanks. A few commands that end up changing nothing still
// push the line, as they always have: the key began the line's episode. The
// line-adding commands check the line limit before they change anything, the
// key procedures at the end mark the lines they may have changed in place and
// choose the loop's re-entry point (lines that come or go redraw the window
// anyway).
#include "edit/LineOps.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "edit/Words.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {
namespace {

// The scans take a byte column; a column past 255 is a blank there as well.
uint8_t ScanColumn(int p) { return uint8_t(std::clamp(p, 1, MaxLineBytes)); }

// The word scans take byte columns, but the cursor can stand one column past
// a full line of 255 bytes. From there, a blank after the text, the word
// start is that of the last word: the scan's steps for a blank start.
int WordStartFrom(std::string_view s, int p) {
  if (p <= MaxLineBytes) return WordStartLeft(s, uint8_t(std::max(p, 1)));
  p = MaxLineBytes;
  while (p > 0 && ByteAt(s, p) == ' ') --p;
  while (p > 0 && IsDelimiter(ByteAt(s, p))) --p;
  while (p > 0 && ByteAt(s, p) > 32 && !IsDelimiter(ByteAt(s, p))) --p;
  while (p > 0 && ByteAt(s, p) < 32) --p;
  return p + 1;
}

// The end scan's byte result stops at 255 even when the scan ran past a full
// line. On the line without its first byte every column is one less, so the
// same scan there can report the column past the end.
int WordEndFrom(std::string_view s, int p) {
  const int r = WordEndRight(s, ScanColumn(p), 0);
  if (r < MaxLineBytes || p < 2 || s.size() < size_t(MaxLineBytes)) return r;
  return WordEndRight(s.substr(1), uint8_t(std::min(p - 1, MaxLineBytes)), 0) + 1;
}

// A rectangle lying on this line alone and right of the changed columns
// keeps covering the same text when bytes left of it go.
void FollowRectangle(Editor& e, int line, int lastChanged, int removed) {
  if (removed == 0 || e.RectFirstLine != line || e.RectLastLine != line) return;
  if (lastChanged >= e.RectFirstCol) return;
  e.RectFirstCol = int16_t(e.RectFirstCol - removed);
  e.RectLastCol = int16_t(e.RectLastCol - removed);
}

// Enter and keypad Enter: a new line on the last line, else one line down.
void NextLine(Editor& e, int col) {
  if (e.CurLine >= e.LineCount) {
    AddEmptyLine(e);
    return;
  }
  e.CurCol = int16_t(col);
  ++e.CurLine;
  e.LineSaved = false;
}

}  // namespace

bool RoomForLine(Editor& e) {
  if (e.LineCount < MaxLines) return true;
  const std::string_view text = Texts::TooManyLines;
  // The store's own refusal goes the same way, so the user sees one message
  // whichever of the two notices the limit.
  if (e.Notify) e.Notify(e, text);
  else ShowMessage(e, text, 1);
  e.OpFailed = 1;
  return false;
}

void AddEmptyLine(Editor& e) {
  if (!RoomForLine(e)) return;
  e.CurCol = e.LeftMargin;
  ++e.CurLine;
  // Inserted at the cursor's own variable: the store keeps the cursor on the
  // new line, and puts it back when it refuses.
  InsertLine(e, e.RightMargin, e.CurLine);
  if (e.OpFailed) return;
  e.LineSaved = false;
}

void DuplicateLine(Editor& e) {
  if (!RoomForLine(e)) return;
  const uint8_t capacity = Capacity(e, e.CurLine);
  ++e.CurLine;
  InsertLine(e, capacity, e.CurLine);
  if (e.OpFailed) return;
  e.LineSaved = false;
  SetLineText(e, LineBytes(e, e.CurLine - 1), e.CurLine);
}

void SplitLine(Editor& e) {
  if (!RoomForLine(e)) return;
  const int line = e.CurLine;
  const int col = std::max<int>(e.CurCol, 1);
  LineEdit tail = EditLine(e, line);  // the bytes from the cursor on
  tail.Erase(1, col - 1);
  // The indent is only layout: it gives way before any of the text would.
  int indent = std::max(e.LeftMargin - 1, 0);
  const int paddedLength = std::min(indent + tail.Len, MaxLineBytes);
  tail.Cut(tail.TextEnd() + 1);
  indent = std::min(indent, MaxLineBytes - tail.Len);
  tail.Insert(1, std::string(size_t(indent), ' '));

  int16_t at = int16_t(line + 1);
  InsertLine(e, uint8_t(std::max<int>(paddedLength, e.RightMargin)), at);
  if (e.OpFailed || !SetLineText(e, tail.View(), at)) return;
  BlankToEnd(e);
}

void JoinLines(Editor& e) {
  if (e.CurLine >= e.LineCount) return;
  const int line = e.CurLine;
  const int below = line + 1;
  // The join column is the cursor's: what stands at and right of it gives way
  // to the next line (the line as it was is in the history ring).
  const int col = std::min(std::max<int>(e.CurCol, 1), MaxLineBytes + 1);
  LineEdit head = EditLine(e, line);
  head.Cut(col);
  head.FillTo(col - 1);

  LineEdit next = EditLine(e, below);
  const int length = next.TextEnd();
  int k = 1;
  while (k <= length && next.At(k) == ' ') ++k;
  // One blank of the indentation parts the two texts.
  if (k > 1 && col > 1 && head.At(col - 1) != ' ') --k;

  if (length < k || col + length - k <= e.FormatWidth) {
    if (length >= k) head.Insert(col, next.Bytes().substr(size_t(k - 1), size_t(length - k + 1)));
    if (!CommitLine(e, line, head)) return;
    int16_t at = int16_t(below);
    DeleteLine(e, at);
    return;
  }

  // Only whole words move: p ends on the blank after the last word that
  // still ends within FormatWidth.
  int p = k + e.FormatWidth - col + 2;
  do {
    --p;
  } while (p > 0 && next.At(p) != ' ');
  if (p <= k) {
    PushHistory(e, line);
    return;
  }
  head.Insert(col, next.Bytes().substr(size_t(k - 1), size_t(p - k)));
  if (!CommitLine(e, line, head)) return;
  next.Erase(k, p - k);
  while (k <= next.Len && next.At(k) == ' ') next.Erase(k, 1);
  CommitLine(e, below, next);
}

bool DeleteCurrentLine(Editor& e) {
  bool asked = false;
  if (e.CurLine >= e.LineCount) {
    asked = true;
    if (AskChoice(e, Texts::AskDeleteLastLine) != 1) return asked;
  }
  e.LineSaved = false;
  PushHistory(e, e.CurLine);
  DeleteLine(e, e.CurLine);
  return asked;
}

void BlankToEnd(Editor& e) {
  LineEdit w = EditLine(e, e.CurLine);
  w.Cut(std::max<int>(e.CurCol, 1));
  CommitLine(e, e.CurLine, w);
}

void DeleteWordLeft(Editor& e, uint8_t flag) {
  if (e.CurCol <= 1) return;
  const int line = e.CurLine;
  LineEdit w = EditLine(e, line);
  const std::string_view s = LineBytes(e, line);
  const int capacity = int(s.size());
  int end = std::min<int>(e.CurCol, capacity + 1);
  if (ByteAt(s, e.CurCol - 1) == ' ') flag = 1;
  if (IsDelimiter(ByteAt(s, end)) && IsDelimiter(ByteAt(s, end - 1))) ++end;

  int first = WordStartFrom(s, end);
  int last = WordEndFrom(s, first);
  // Delimiters glued to the front of the word go with it.
  while (first > 1 && IsDelimiter(ByteAt(s, first - 1)) && ByteAt(s, first) > 32) --first;
  const uint8_t atLast = ByteAt(s, last);
  if (atLast != ' ' && (!IsDelimiter(atLast) || flag == 1)) --last;

  int removed = 0;
  const int cut = std::min(last, capacity);
  if (first <= cut) {
    removed = cut - first + 1;
    w.Erase(first, removed);
  }
  int col = first;
  if (first > 1 && w.At(first - 1) != ' ') {
    w.Insert(first, " ");
    ++col;
    --removed;
  }
  if (!CommitLine(e, line, w)) return;
  e.CurCol = int16_t(col);
  FollowRectangle(e, line, std::max(last, first), removed);
}

void DeleteWord(Editor& e) {
  const int line = e.CurLine;
  const std::string_view s = LineBytes(e, line);
  const uint8_t c = ByteAt(s, e.CurCol);
  bool run = false;
  if (c == ' ') {
    if (e.CurCol > TextLength(s)) {
      PushHistory(e, line);
      return;
    }
    run = true;
  } else if (IsDelimiter(c) && (e.CurCol == 1 || ByteAt(s, e.CurCol - 1) == ' ')) {
    run = true;
  }
  if (!run) {
    e.CurCol = int16_t(WordEndFrom(s, e.CurCol));
    DeleteWordLeft(e, 1);
    return;
  }
  while (IsDelimiter(ByteAt(LineBytes(e, line), e.CurCol)) && DeleteCharAtCursor(e)) {}
  // Only blanks inside the text: past it the line is blanks to its end, and
  // deleting them would never stop.
  while (e.CurCol <= TextLength(e, line) && ByteAt(LineBytes(e, line), e.CurCol) == ' ' && DeleteCharAtCursor(e)) {}
}

bool DeleteCharAtCursor(Editor& e) {
  const int line = e.CurLine;
  const int col = e.CurCol;
  LineEdit w = EditLine(e, line);
  // Past the line's end nothing goes, but the key has still begun the
  // line's episode.
  const bool inside = col >= 1 && col <= w.Len;
  if (inside) w.Erase(col, 1);
  if (!CommitLine(e, line, w)) return false;
  if (inside) FollowRectangle(e, line, col, 1);
  return inside;
}

Reentry AddLineKey(Editor& e, KeyCode) {
  AddEmptyLine(e);
  return Reentry::Update;
}

Reentry EnterKey(Editor& e, KeyCode) {
  NextLine(e, e.LeftMargin);
  return Reentry::Update;
}

Reentry PadEnterKey(Editor& e, KeyCode) {
  NextLine(e, e.ColumnMark);
  return Reentry::Update;
}

Reentry DuplicateKey(Editor& e, KeyCode) {
  DuplicateLine(e);
  return Reentry::Update;
}

Reentry SplitKey(Editor& e, KeyCode) {
  SplitLine(e);
  return Reentry::Update;
}

Reentry JoinKey(Editor& e, KeyCode) {
  JoinLines(e);
  MarkLine(e, e.CurLine);
  MarkLine(e, e.CurLine + 1);
  return Reentry::Update;
}

Reentry DeleteLineKey(Editor& e, KeyCode) {
  return DeleteCurrentLine(e) ? Reentry::Redraw : Reentry::Update;
}

Reentry BlankToEndKey(Editor& e, KeyCode) {
  BlankToEnd(e);
  MarkLine(e, e.CurLine);
  return Reentry::Update;
}

Reentry DeleteWordLeftKey(Editor& e, KeyCode) {
  DeleteWordLeft(e, 0);
  MarkLine(e, e.CurLine);
  return Reentry::Update;
}

Reentry DeleteWordKey(Editor& e, KeyCode) {
  DeleteWord(e);
  MarkLine(e, e.CurLine);
  return Reentry::Update;
}

// Del on the text at the cursor; with a block marked, the block commands ask
// first and come here on the answer that keeps the block.
Reentry DelKey(Editor& e, KeyCode) {
  if (e.CurCol <= TextLength(e, e.CurLine)) DeleteCharAtCursor(e);
  else if (e.CurLine < e.LineCount) JoinLines(e);
  else PushHistory(e, e.CurLine);  // nothing to join: only the episode begins
  MarkLine(e, e.CurLine);
  MarkLine(e, e.CurLine + 1);
  return Reentry::Update;
}

Reentry BackspaceKey(Editor& e, KeyCode) {
  if (e.CurCol <= 1) return Reentry::Read;
  --e.CurCol;
  DeleteCharAtCursor(e);
  MarkLine(e, e.CurLine);
  return Reentry::Update;
}

}  // namespace lumo

// Line operations work on copies: a line's stored bytes (its whole capacity)
// are taken into a std::string, changed there, and written back through the
// store, which pads the line to its capacity again and grows it when the text
// got longer. Bytes past a line's capacity read as blanks, so columns beyond
// the text need no special cases. A copy is only written back when the line
// can hold all of its text; nothing here cuts off anything but blanks. The
// line-adding commands check the line limit before they change anything, the
// key procedures at the end mark the lines they may have changed in place and
// choose the loop's re-entry point (lines that come or go redraw the window
// anyway).
#include "edit/LineOps.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "edit/Words.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {
namespace {

constexpr int MaxLineBytes = 255;

// The byte at 1-based column p; outside the string a blank.
uint8_t ByteAt(std::string_view s, int p) {
  return p >= 1 && p <= int(s.size()) ? uint8_t(s[size_t(p - 1)]) : uint8_t(' ');
}

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

// Writes text into line i. A copy longer than a line can be loses only its
// trailing blanks; when the text itself does not fit, or the line cannot
// grow for want of memory, the line stays as it was and the result is false.
bool PutText(Editor& e, std::string text, int i) {
  while (text.size() > size_t(MaxLineBytes) && text.back() == ' ') text.pop_back();
  if (text.size() > size_t(MaxLineBytes)) return false;
  const uint8_t need = TextLength(text);
  if (need > Capacity(e, i) && need >= FreeMemory(e)) return false;
  SetLineText(e, text, i);
  e.Modified = true;
  return Capacity(e, i) >= need;
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
  std::memcpy(LineAt(e, e.CurLine), LineAt(e, e.CurLine - 1), size_t(capacity) + 1);
}

void SplitLine(Editor& e) {
  if (!RoomForLine(e)) return;
  const int line = e.CurLine;
  const int col = std::max<int>(e.CurCol, 1);
  PushHistory(e, line);
  const std::string_view bytes = LineBytes(e, line);
  const std::string tail = col <= int(bytes.size()) ? std::string(bytes.substr(size_t(col - 1))) : std::string();
  const int tailText = TextLength(tail);
  // The indent is only layout: it gives way before any of the text would.
  int indent = std::max(e.LeftMargin - 1, 0);
  const int paddedLength = std::min(indent + int(tail.size()), MaxLineBytes);
  indent = std::min(indent, MaxLineBytes - tailText);
  std::string text(size_t(indent), ' ');
  text.append(tail, 0, size_t(tailText));

  int16_t at = int16_t(line + 1);
  InsertLine(e, uint8_t(std::max<int>(paddedLength, e.RightMargin)), at);
  if (e.OpFailed) return;
  PutText(e, text, at);
  BlankToEnd(e);
}

void JoinLines(Editor& e) {
  if (e.CurLine >= e.LineCount) return;
  const int line = e.CurLine;
  const int below = line + 1;
  PushHistory(e, line);
  const std::string_view bytes = LineBytes(e, line);
  // The join column is the cursor's: what stands at and right of it gives way
  // to the next line (the line as it was is in the history ring).
  const int col = std::min(std::max<int>(e.CurCol, 1), MaxLineBytes + 1);
  std::string head(bytes.substr(0, std::min(bytes.size(), size_t(col - 1))));
  head.resize(size_t(col - 1), ' ');

  PushHistory(e, below);
  std::string next(LineBytes(e, below));
  const int length = TextLength(next);
  int k = 1;
  while (k <= length && next[size_t(k - 1)] == ' ') ++k;
  // One blank of the indentation parts the two texts.
  if (k > 1 && col > 1 && head[size_t(col - 2)] != ' ') --k;

  if (length < k || col + length - k <= e.FormatWidth) {
    if (length >= k) head.append(next, size_t(k - 1), size_t(length - k + 1));
    if (!PutText(e, head, line)) return;
    int16_t at = int16_t(below);
    DeleteLine(e, at);
    return;
  }

  // Only whole words move: p ends on the blank after the last word that
  // still ends within FormatWidth.
  int p = k + e.FormatWidth - col + 2;
  do {
    --p;
  } while (p > 0 && ByteAt(next, p) != ' ');
  if (p <= k) return;
  head.append(next, size_t(k - 1), size_t(p - k));
  if (!PutText(e, head, line)) return;
  next.erase(size_t(k - 1), size_t(p - k));
  while (k <= int(next.size()) && next[size_t(k - 1)] == ' ') next.erase(size_t(k - 1), 1);
  PutText(e, next, below);
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
  PushHistory(e, e.CurLine);
  uint8_t* p = LineAt(e, e.CurLine);
  for (int c = std::max<int>(e.CurCol, 1); c <= p[0]; ++c) p[c] = ' ';
  e.Modified = true;
}

void DeleteWordLeft(Editor& e, uint8_t flag) {
  if (e.CurCol <= 1) return;
  const int line = e.CurLine;
  PushHistory(e, line);
  std::string s(LineBytes(e, line));
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
    s.erase(size_t(first - 1), size_t(removed));
  }
  int col = first;
  if (first > 1 && ByteAt(s, first - 1) != ' ') {
    if (int(s.size()) < first - 1) s.resize(size_t(first - 1), ' ');
    s.insert(size_t(first - 1), 1, ' ');
    ++col;
    --removed;
  }
  if (!PutText(e, s, line)) return;
  e.CurCol = int16_t(col);
  FollowRectangle(e, line, std::max(last, first), removed);
}

void DeleteWord(Editor& e) {
  const int line = e.CurLine;
  PushHistory(e, line);
  const std::string_view s = LineBytes(e, line);
  const uint8_t c = ByteAt(s, e.CurCol);
  bool run = false;
  if (c == ' ') {
    if (e.CurCol > TextLength(s)) return;
    run = true;
  } else if (IsDelimiter(c) && (e.CurCol == 1 || ByteAt(s, e.CurCol - 1) == ' ')) {
    run = true;
  }
  if (!run) {
    e.CurCol = int16_t(WordEndFrom(s, e.CurCol));
    DeleteWordLeft(e, 1);
    return;
  }
  while (IsDelimiter(ByteAt(LineBytes(e, line), e.CurCol))) DeleteCharAtCursor(e);
  // Only blanks inside the text: past it the line is blanks to its end, and
  // deleting them would never stop.
  while (e.CurCol <= TextLength(e, line) && ByteAt(LineBytes(e, line), e.CurCol) == ' ') DeleteCharAtCursor(e);
}

void DeleteCharAtCursor(Editor& e) {
  const int line = e.CurLine;
  const int col = e.CurCol;
  std::string s(LineBytes(e, line));
  if (col < 1 || col > int(s.size())) return;
  s.erase(size_t(col - 1), 1);
  PutText(e, s, line);
  FollowRectangle(e, line, col, 1);
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

// The question about a marked block comes with the block commands; until
// then Del always works on the text at the cursor.
Reentry DelKey(Editor& e, KeyCode) {
  PushHistory(e, e.CurLine);
  if (e.CurCol > TextLength(e, e.CurLine)) JoinLines(e);
  else DeleteCharAtCursor(e);
  MarkLine(e, e.CurLine);
  MarkLine(e, e.CurLine + 1);
  return Reentry::Update;
}

Reentry BackspaceKey(Editor& e, KeyCode) {
  if (e.CurCol <= 1) return Reentry::Read;
  --e.CurCol;
  PushHistory(e, e.CurLine);
  DeleteCharAtCursor(e);
  MarkLine(e, e.CurLine);
  return Reentry::Update;
}

}  // namespace lumo

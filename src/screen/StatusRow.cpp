// The two top rows. Row 1 is built as text in the status slot of the line
// table (entry 0, 132 bytes, always kept full length with blanks so that its
// length byte stays its capacity) and drawn by the window's line drawer, then
// recoloured cell by cell; choice bars reuse the same slot and row. Row 2
// holds messages, drawn cell by cell with their colour switches, and when
// idle the shade cell with the line block's size at its right end.
// Everything here runs after every key, so texts are built in fixed buffers.
#include "screen/StatusRow.h"

#include "text/Cp866.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "screen/KeyNames.h"
#include "screen/Window.h"
#include "text/LineEdit.h"
#include "text/LineStore.h"

namespace lumo {
namespace {


constexpr uint8_t Separator = 0xB3;  // "│"

// The row text as it is assembled: every field is followed by blanks and
// then cut to the field's last column, so a short value leaves blanks and an
// over-long one is cut.
struct RowText {
  char Buf[StatusCapacity + 16];
  int Len = 0;

  void Add(std::string_view s) {
    int room = int(sizeof Buf) - Len;
    int n = std::min(int(s.size()), room);
    std::memcpy(Buf + Len, s.data(), size_t(n));
    Len += n;
  }
  void AddNumber(long v) {
    char t[24];
    int n = std::snprintf(t, sizeof t, "%ld", v);
    Add({t, size_t(n)});
  }
  void AddByte(uint8_t b) { Add({reinterpret_cast<const char*>(&b), 1}); }
  // Follows the field with seven blanks and ends it at column last.
  void EndField(int last) {
    Add("       ");
    CutTo(last);
  }
  void CutTo(int last) {
    while (Len < last) Buf[Len++] = ' ';
    Len = last;
  }
  std::string_view View() const { return {Buf, size_t(Len)}; }
};

Cell* RowCells(Editor& e, int row) {
  if (!e.Con || row < 1 || row > e.Con->H()) return nullptr;
  return &e.Con->At(row, 1);
}

void SetAttr(Cell* cells, int w, int col, uint8_t attr) {
  if (col >= 1 && col <= w) cells[col - 1] = MakeCell(CellChar(cells[col - 1]), attr);
}

// Puts text (cut to the slot's 132 bytes) into entry 0, padded with blanks.
bool StoreRowText(Editor& e, std::string_view text) {
  if (!e.Lines || !e.Lines[0]) return false;
  uint8_t* slot = e.Lines[0];
  size_t n = std::min(text.size(), size_t(slot[0]));
  std::memcpy(slot + 1, text.data(), n);
  std::memset(slot + 1 + n, ' ', slot[0] - n);
  return true;
}

uint8_t ByteUnderCursor(const Editor& e) {
  if (e.CurLine < 1 || e.CurLine > e.LineCount) return ' ';
  return ByteAt(LineBytes(e, e.CurLine), e.CurCol);
}

void DrawMessageText(Editor& e, std::string_view text) {
  Cell* cells = RowCells(e, 2);
  if (!cells) return;
  const int w = e.Con->W();
  auto at = [&](int i) -> uint8_t { return size_t(i) < text.size() ? uint8_t(text[size_t(i)]) : ' '; };
  uint8_t attr = 0x0E;
  for (int i = 0; i < w; ++i) {
    uint8_t ch = at(i);
    if (attr == 0x0E && at(i + 1) == '(') {
      // The blank before the parenthesis already belongs to the green part.
      attr = 0x2F;
    } else if (ch == ',') {
      cells[i] = MakeCell(',', attr);
      if (i + 1 < w) cells[i + 1] = MakeCell(' ', attr);
      attr = attr == 0x2F || attr == 0x0E ? 0x4F : 0x3F;
      ++i;
      continue;
    }
    cells[i] = MakeCell(ch, attr);
  }
}

}  // namespace

void DrawStatus(Editor& e) {
  if (!e.Con) return;
  const int w = e.Con->W();
  // The fields are laid out for 80 columns; on a wider screen the mode
  // indicators keep to the right edge and the columns between stay blank.
  const int sw = std::clamp(w, 80, int(StatusCapacity));
  RowText t;
  // The name is the system's (UTF-8); the row shows it in the editor's code page.
  char name[21];
  t.Add({name, CpPrefix(e.FileName, name, sizeof name)});
  t.EndField(21);
  t.Add("line=");
  t.AddNumber(e.CurLine);
  t.EndField(31);
  t.Add("column=");
  t.AddNumber(e.CurCol);
  t.EndField(42);
  t.Add("size=");
  t.AddNumber(e.LineCount);
  t.EndField(52);
  t.Add("memory=");
  t.AddNumber(long(FreeMemory(e) / 1024));
  t.EndField(63);
  if (t.Buf[62] == ' ')
    t.Buf[62] = 'K';
  else
    t.Add("K");
  t.EndField(65);
  const uint8_t b = ByteUnderCursor(e);
  char hex[4];
  std::snprintf(hex, sizeof hex, "%02X", unsigned(b));
  t.Add("'");
  t.AddByte(b);
  t.Add("'=");
  t.Add(hex);
  t.EndField(71);
  t.Add("/");
  t.AddNumber(b);
  t.EndField(76);
  t.CutTo(sw - 4);
  t.Buf[sw - 5] = e.RusMode ? 'R' : ' ';
  t.Add("123 ");
  if (!StoreRowText(e, t.View())) return;

  DrawLine(e, 0, 0, 1);
  Cell* cells = RowCells(e, 1);
  for (int c = 1; c <= w; ++c) SetAttr(cells, w, c, 7);
  if (e.InsertMode) SetAttr(cells, w, 67, 0x70);
  if (e.RusMode) SetAttr(cells, w, sw - 4, 0x70);
  for (int m = 1; m <= 3; ++m) {
    int16_t line = e.LineMark[m];
    SetAttr(cells, w, sw - 4 + m, line == 0 ? 0 : line == e.CurLine ? 0x4B : 7);
  }
  if (e.BlockFirst > 0 || e.RectFirstLine > 0) SetAttr(cells, w, sw, 0x70);
  if (e.CursorCross) SetAttr(cells, w, e.CurCol - e.HScroll, 0xF0);
}

void MarkStatus(Editor& e) { e.Marks.Status = true; }

void ShowMessage(Editor& e, std::string_view text, int wait) {
  if (!e.Con) return;
  DrawMessageText(e, text);
  // The wait was once a count of redraw passes from 196607 (wait 1) down to
  // 30; it is kept as the same share of about three seconds.
  constexpr long Passes = 196607 - 30;
  long counter = wait == 1 ? 196607 : wait;
  if (counter < 30) return;
  if (counter > 30) {
    ShowScreen(e);
    WaitForKey(e, int((counter - 30) * 3000 / Passes));
  }
  ClearMessage(e);
}

namespace {

// The idle message row at width w.
void FillIdleRow(const Editor& e, Cell* cells, int w) {
  std::fill(cells, cells + w, IdleCell(e));
  if (e.BlockFirst > 0) {
    char size[16];
    int n = std::snprintf(size, sizeof size, " %d ", e.BlockLast - e.BlockFirst + 1);
    n = std::min({n, 7, w});
    for (int i = 0; i < n; ++i) {
      Cell& cell = cells[w - n + i];
      cell = MakeCell(uint8_t(size[i]), CellAttr(cell));
    }
  }
}

}  // namespace

Cell IdleCell(const Editor& e) { return e.LengthLimit ? e.MessageIdle : Cell(e.MessageIdle | 0x0800); }

void ClearMessage(Editor& e) {
  Cell* cells = RowCells(e, 2);
  if (!cells) return;
  FillIdleRow(e, cells, e.Con->W());
}

void ResizeMessageRow(Editor& e, int oldWidth) {
  Cell* cells = RowCells(e, 2);
  if (!cells || oldWidth <= 0 || oldWidth == e.Con->W()) return;
  std::vector<Cell> idle(static_cast<size_t>(oldWidth));
  FillIdleRow(e, idle.data(), oldWidth);
  // What was kept of the old row tells whether it was idle.
  if (std::equal(cells, cells + std::min(oldWidth, e.Con->W()), idle.begin())) ClearMessage(e);
}

void ShowBarLine(Editor& e, std::string_view text, int row, uint8_t attr) {
  Cell* cells = RowCells(e, row);
  if (!cells || !StoreRowText(e, text)) return;
  DrawLine(e, 0, 0, row);
  const int w = e.Con->W();
  for (int c = 0; c < w; ++c)
    if (CellChar(cells[c]) >= 32) cells[c] = MakeCell(CellChar(cells[c]), attr);
}

int ChoiceBar(Editor& e, std::string_view question, std::string_view hint, uint8_t questionAttr,
              uint8_t optionAttr, uint8_t selectedAttr, uint8_t hintAttr) {
  ++e.ChoiceBarsShown;
  if (!e.Con) return e.ChoiceResult = 0;
  if (!hint.empty()) {
    char h[StatusCapacity];
    size_t n = std::min(hint.size(), sizeof h);
    std::memcpy(h, hint.data(), n);
    if (char* bar = static_cast<char*>(std::memchr(h, '|', n))) *bar = char(Separator);
    ShowBarLine(e, {h, n}, 2, hintAttr);
  }

  // Separator columns p[1..]: option k lies between p[k] and p[k + 1].
  char q[StatusCapacity];
  int p[StatusCapacity + 1];
  int seps = 0;
  const size_t qn = std::min(question.size(), sizeof q);
  for (size_t i = 0; i < qn; ++i) {
    q[i] = question[i];
    if (q[i] == '|') {
      q[i] = char(Separator);
      p[++seps] = int(i) + 1;
    }
  }
  const int n = seps - 1;
  const int w = e.Con->W();
  int s = std::clamp(int(e.ChoicePreselect), 1, std::max(n, 1));
  const uint8_t selected = uint8_t(selectedAttr + 128);
  // The bar holds row 1 until it is answered; the status row comes back after.
  e.Marks.Status = false;

  int answer = 0;
  for (;;) {
    ShowBarLine(e, {q, qn}, 1, optionAttr);
    Cell* cells = RowCells(e, 1);
    int questionEnd = seps > 0 ? p[1] - 1 : int(qn);
    for (int c = 1; c <= std::min(questionEnd, w); ++c) SetAttr(cells, w, c, questionAttr);
    if (n >= 1) {
      for (int c = p[s]; c <= std::min(p[s + 1], w); ++c)
        if (CellAttr(cells[c - 1]) == optionAttr) SetAttr(cells, w, c, selected);
    }

    using namespace keys;
    const KeyCode k = ReadKey(e);
    e.ChoiceKey = k;
    if (k == Esc) {
      answer = 0;
      break;
    }
    if (k == Shift(Esc) || k == Alt(Esc)) {
      answer = 80;
      break;
    }
    answer = 255;  // navigation: no answer yet
    if (k == Enter || k == KpEnter) {
      answer = s;
    } else if (k >= F1 && k <= F12) {
      answer = CharOf(k);  // the function number
    } else if (k == Home || k == End || k == Left || k == Right) {
      if (n >= 1) {
        if (k == Home) s = 1;
        if (k == End) s = n;
        if (k == Left) s = s > 1 ? s - 1 : n;
        if (k == Right) s = s < n ? s + 1 : 1;
      }
    } else {
      answer = CharOf(k) - '0';
    }
    if (answer >= 0 && answer <= n) break;
  }
  e.ChoiceResult = uint16_t(answer);
  DrawStatus(e);
  ClearMessage(e);
  return answer;
}

int AskChoice(Editor& e, std::string_view question, std::string_view hint) {
  e.ChoicePreselect = 1;
  return ChoiceBar(e, question, hint, 0x3F, 0x2F, 0x5F, 0x0D);
}

}  // namespace lumo

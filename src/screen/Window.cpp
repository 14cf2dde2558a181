// The text window. A row is drawn straight into the console's cell buffer in
// passes over its W cells: the line's own trailing colour picks the base
// attribute, then the visible bytes are drawn right to left so that colour
// runs and comments that start further right claim their cells first; a run
// recolours only cells still in the base colour (or 0), which is how a run
// started further left stops where a later one begins. A second scan over
// the columns hidden by the sideways scroll picks up comments and runs that
// began off-screen. Blocks, line marks and the cursor cross are laid over
// the result. The stored line is only read, never copied: the bytes the
// drawing skips (trailing markers) lie past the drawn length anyway.
//
// Rows are drawn when the draw step finds them marked, so a burst of keys
// costs one drawing of what it changed and one update of the terminal.
#include "screen/Window.h"

#include <algorithm>

#include "screen/StatusRow.h"
#include "text/LineStore.h"

namespace lumo {
namespace {

struct Glyph {
  uint8_t Ch;
  uint8_t Attr;
};

// How a control byte shows in the window, whatever the line's colour.
constexpr Glyph ControlGlyph[32] = {
    {0xDB, 0x0A},  // 0  full block
    {0x02, 0x09},  // 1
    {0x02, 0x02},  // 2
    {0x03, 0x03},  // 3
    {0x04, 0x04},  // 4
    {0x05, 0x05},  // 5
    {0x06, 0x06},  // 6
    {0xDB, 0x09},  // 7  full block
    {'*', 0x0B},   // 8
    {0x09, 0x09},  // 9  tab, not expanded
    {0x0A, 0x0A},  // 10
    {0x0B, 0x0B},  // 11
    {0x0C, 0x0C},  // 12
    {0x0D, 0x0D},  // 13
    {0x0E, 0x0E},  // 14
    {0x0F, 0x0F},  // 15
    {0x10, 0x0C},  // 16
    {0x11, 0x16},  // 17..22: (byte mod 8) * 15 + 7
    {0x12, 0x25},  // 18
    {0x13, 0x34},  // 19
    {0x14, 0x43},  // 20
    {0x15, 0x52},  // 21
    {0x16, 0x61},  // 22
    {0x17, 0x0D},  // 23
    {0x18, 0x0E},  // 24
    {0x19, 0x16},  // 25..30: as 17..22
    {0x1A, 0x25},  // 26
    {0x1B, 0x34},  // 27
    {0x1C, 0x43},  // 28
    {0x1D, 0x52},  // 29
    {0x1E, 0x61},  // 30
    {0x1F, 0x0D},  // 31
};

constexpr uint8_t BlockAttr = 0x70;
constexpr uint8_t ZeroEndingAttr = 0x1E;

constexpr bool IsMarkerByte(uint8_t b) { return b <= 2 || b == 31; }

// Blue on black is hard to read, so a stored colour of 1 is shown magenta.
constexpr uint8_t Shown(uint8_t attr) { return attr == 1 ? 13 : attr; }

enum class Reach : uint8_t {
  RowEnd,   // through the last screen column
  TextEnd,  // through the last non-blank byte of the text
  Word,     // up to, not including, the next blank
  Comment,  // through the next "}"
};

// The row being drawn and what every colouring pass needs of it.
struct RowPaint {
  Cell* Cells;         // Cells[c - 1] is screen column c
  int W;               // screen width
  int TextEnd;         // screen column of the last drawn text byte (0..W)
  uint8_t Base;        // attribute of plain text (0x70 inside a line block)
  uint8_t BaseColour;  // the line's own colour; runs recolour only cells in it

  void Put(int c, uint8_t ch, uint8_t attr) {
    if (c >= 1 && c <= W) Cells[c - 1] = MakeCell(ch, attr);
  }

  void Colour(int from, uint8_t attr, Reach reach) {
    int to = reach == Reach::TextEnd ? TextEnd : W;
    for (int c = std::max(from, 1); c <= to; ++c) {
      Cell& cell = Cells[c - 1];
      uint8_t ch = CellChar(cell);
      if (reach == Reach::Word && ch == ' ') return;
      uint8_t a = CellAttr(cell);
      if (a == BaseColour || a == 0) cell = MakeCell(ch, attr);
      if (reach == Reach::Comment && ch == '}') return;
    }
  }
};

// A byte 0, 1, 2 or 31 at line column j is a run marker when colour bytes
// (below 32, not both 0) follow it and, unless checkPrev is off, the byte
// before it is not itself such a byte: a colour byte of value 0..2 or 31
// must not start a run of its own. Returns how many colour bytes follow
// (0 = not a marker) and the run's attribute before the 1-to-13 rule.
int MarkerColours(const uint8_t* p, int len, int j, bool checkPrev, uint8_t& attr) {
  if (checkPrev && j > 1 && IsMarkerByte(p[j - 1])) return 0;
  if (j + 1 > len || p[j + 1] >= 32) return 0;
  uint8_t fg = p[j + 1], bg = 0;
  int count = 1;
  if (j + 2 <= len && p[j + 2] < 32) {
    bg = p[j + 2];
    count = 2;
  }
  if (fg == 0 && bg == 0) return 0;
  attr = uint8_t(fg + 16 * bg);
  return count;
}

constexpr Reach RunReach(uint8_t marker) {
  return marker == 1 ? Reach::TextEnd : marker == 2 ? Reach::Word : Reach::RowEnd;
}

Cell* RowCells(Editor& e, int row) {
  if (!e.Con || row < 1 || row > e.Con->H()) return nullptr;
  return &e.Con->At(row, 1);
}

void BlankRow(Editor& e, int row) {
  Cell* cells = RowCells(e, row);
  if (!cells) return;
  std::fill(cells, cells + e.Con->W(), MakeCell(' ', 7));
}

// Length of the drawn part of a text line and the colour its ending gives:
// trailing blanks, a trailing byte 0 and [B] F TAB endings are not drawn.
int DrawnLength(const uint8_t* p, uint8_t& colour) {
  int i = p[0];
  while (i > 0) {
    uint8_t b = p[i];
    if (b == ' ') {
      --i;
    } else if (b == 0) {
      colour = ZeroEndingAttr;
      --i;
    } else if (b == 9 && i > 1 && p[i - 1] < 16) {
      uint8_t fg = p[i - 1], bg = 0;
      i -= 2;
      if (i >= 1 && p[i] < 16) bg = p[i--];
      colour = Shown(uint8_t(fg + 16 * bg));
    } else {
      break;
    }
  }
  return i;
}

// Things that began in the columns hidden on the left and reach into the
// window. K counts what lies between the scanned byte and the window: each
// blank adds 2, a "}" makes it odd (a "{" further left is closed off-screen).
void PaintHidden(Editor& e, RowPaint& r, const uint8_t* p, int len, int left) {
  const bool program = e.FileType == 2;
  int k = 0;
  for (int j = std::min(left, len); j >= 1; --j) {
    uint8_t b = p[j];
    if (b == ' ') {
      k += 2;
    } else if (program && b == '}') {
      if (k % 2 == 0) ++k;
    } else if (program && b == '{') {
      if (k % 2 == 0) r.Colour(1, e.CommentColour, Reach::Comment);
    } else if (b == '/' && j < len && p[j + 1] == '/') {
      r.Colour(1, e.CommentColour, Reach::RowEnd);
    } else if (IsMarkerByte(b)) {
      // A word marker is taken as it stands: its word must touch the window.
      uint8_t attr = 0;
      int count = MarkerColours(p, len, j, b != 2, attr);
      if (count == 0) continue;
      // Colour bytes that reach into the window show as empty cells, as
      // they do when the whole marker is visible.
      for (int q = j + 1; q <= j + count; ++q) r.Put(q - left, 0, r.Base);
      int from = j + count + 1 - left;
      if (b == 2) {
        if (k < 2) r.Colour(from, attr, Reach::Word);
      } else {
        r.Colour(from, Shown(attr), RunReach(b));
      }
    }
  }
}

void LayOverlays(Editor& e, RowPaint& r, int left, int index) {
  for (int m = 3; m >= 1; --m) {
    if (index != e.LineMark[m]) continue;
    uint8_t marked = uint8_t(7 | (16 * m + 15));
    for (int c = 0; c < r.W; ++c)
      if (CellAttr(r.Cells[c]) == 7) r.Cells[c] = MakeCell(CellChar(r.Cells[c]), marked);
  }
  if (e.RectFirstLine > 0 && e.RectFirstLine <= index && index <= e.RectLastLine) {
    int from = std::max(e.RectFirstCol - left, 1);
    int to = std::min(e.RectLastCol - left, r.W);
    for (int c = from; c <= to; ++c) r.Cells[c - 1] = MakeCell(CellChar(r.Cells[c - 1]), BlockAttr);
  }
  if (!e.CursorCross) return;
  auto addAttr = [&](int c, uint8_t bits, bool onlyBlack) {
    Cell& cell = r.Cells[c - 1];
    uint8_t a = CellAttr(cell);
    if (!onlyBlack || (a & 0xF0) == 0) cell = MakeCell(CellChar(cell), uint8_t(a | bits));
  };
  int cursor = e.CurCol - left;
  bool cursorVisible = cursor >= 1 && cursor <= r.W;
  if (cursorVisible) addAttr(cursor, 0x10, true);
  if (index != e.CurLine) return;
  for (int c = 1; c <= r.W; ++c) addAttr(c, 0x10, true);
  if (cursorVisible) addAttr(cursor, 0x80, false);
}

}  // namespace

void CellAt(Editor& e, int row, int col) {
  if (!e.Con || row < 1 || row > e.Con->H() || col < 1 || col > e.Con->W()) return;
  e.CellIndex = size_t(row - 1) * size_t(e.Con->W()) + size_t(col - 1);
}

void PutCell(Editor& e, int col, int row, uint8_t ch, uint8_t attr) {
  if (!e.Con || row < 1 || row > e.Con->H() || col < 1 || col > e.Con->W()) return;
  e.Con->At(row, col) = MakeCell(ch, attr);
}

void WriteAt(Editor& e, int col, int row, std::string_view text, uint8_t attr) {
  if (!e.Con || row < 1 || row > e.Con->H() || col < 1 || col > e.Con->W()) return;
  // Text may run on into the next row, but never past the buffer.
  size_t at = size_t(row - 1) * size_t(e.Con->W()) + size_t(col - 1);
  size_t total = size_t(e.Con->W()) * size_t(e.Con->H());
  Cell* cells = e.Con->Cells();
  for (size_t i = 0; i < text.size() && at + i < total; ++i)
    cells[at + i] = MakeCell(uint8_t(text[i]), attr);
}

void SetCursor(Editor& e, int col, int row) {
  if (e.Con) e.Con->SetCursor(col - 1, row - 1);
}

void DrawLine(Editor& e, int left, int index, int row) {
  Cell* cells = RowCells(e, row);
  if (!cells) return;
  const int w = e.Con->W();
  left = std::clamp(left, 0, 255);
  if (!e.Lines || index < 0 || index > e.LineCount || !e.Lines[index]) {
    BlankRow(e, row);
    return;
  }
  const uint8_t* p = e.Lines[index];
  const bool text = index > 0;

  uint8_t colour = 7;
  int len = text ? DrawnLength(p, colour) : p[0];
  uint8_t base = colour;
  if (text && e.BlockFirst <= index && index <= e.BlockLast) base = BlockAttr;

  int n = std::clamp(len - left, 0, w);
  RowPaint r{cells, w, n, base, colour};
  std::fill(cells, cells + w, MakeCell(' ', base));

  const bool program = e.FileType == 2;
  for (int j = left + n; j > left; --j) {
    const int c = j - left;
    const uint8_t b = p[j];
    if (b >= 32) {
      cells[c - 1] = MakeCell(b, base);
      if (!text) continue;
      if (program && b == '{')
        r.Colour(c, e.CommentColour, Reach::Comment);
      else if (b == '/' && j < len && p[j + 1] == '/')
        r.Colour(c, e.CommentColour, Reach::RowEnd);
      continue;
    }
    uint8_t attr = 0;
    int count = text && IsMarkerByte(b) ? MarkerColours(p, len, j, true, attr) : 0;
    if (count > 0) {
      for (int q = 0; q <= count; ++q) r.Put(c + q, 0, base);
      r.Colour(c + count + 1, Shown(attr), RunReach(b));
      continue;
    }
    cells[c - 1] = MakeCell(ControlGlyph[b].Ch, ControlGlyph[b].Attr);
  }
  if (!text) return;

  if (left > 0) PaintHidden(e, r, p, len, left);
  LayOverlays(e, r, left, index);
}

void DrawWindow(Editor& e) {
  if (!e.Con) return;
  const int h = e.Con->H();
  for (int row = 3; row <= h; ++row) {
    int index = e.TopLine + row - 3;
    if (index >= 1 && index <= e.LineCount)
      DrawLine(e, e.HScroll, index, row);
    else
      BlankRow(e, row);
  }
}

void MarkLine(Editor& e, int index) {
  DrawMarks& m = e.Marks;
  if (m.Window) return;
  for (int i = 0; i < m.Count; ++i)
    if (m.Lines[i] == index) return;
  // More lines than a command usually touches: the window is as cheap.
  if (m.Count == std::size(m.Lines)) m.Window = true;
  else m.Lines[m.Count++] = int16_t(index);
}

void MarkWindow(Editor& e) { e.Marks.Window = true; }

void HideWindow(Editor& e) {
  e.Marks = {};
}

void DrawMarked(Editor& e) {
  if (!e.Con) return;
  DrawMarks& m = e.Marks;
  WindowView now{e.TopLine, e.LineCount, 0, 0, {e.BlockFirst, e.BlockLast},
                 {e.RectFirstLine, e.RectLastLine, e.RectFirstCol, e.RectLastCol},
                 {0, e.LineMark[1], e.LineMark[2], e.LineMark[3]}, e.HScroll, e.FileType, e.CommentColour};
  if (e.CursorCross) {
    now.CurLine = e.CurLine;
    now.CurCol = e.CurCol;
  }
  if (m.Shown && !m.Window && !(now == m.View)) {
    // The cross's line moving along its column lights one row and darkens another.
    WindowView moved = m.View;
    moved.CurLine = now.CurLine;
    if (moved == now) {
      MarkLine(e, m.View.CurLine);
      MarkLine(e, now.CurLine);
    } else {
      m.Window = true;
    }
  }
  if (m.Window) {
    DrawWindow(e);
    m.Shown = true;
  } else if (m.Shown) {
    for (int i = 0; i < m.Count; ++i) {
      const int row = m.Lines[i] - e.TopLine + 3;
      if (row >= 3 && row <= e.Con->H()) DrawLine(e, e.HScroll, m.Lines[i], row);
    }
  }
  m.Window = false;
  m.Count = 0;
  if (m.Shown) m.View = now;
  if (m.Status) DrawStatus(e);
  m.Status = false;
}

void ShowScreen(Editor& e) {
  if (!e.Con || e.Con->KeyWaiting()) return;
  DrawMarked(e);
  e.Con->Update(false);
}

}  // namespace lumo

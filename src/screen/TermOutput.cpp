// Cell output. An update is built in three passes over the front (what the
// terminal shows) and the back (what the editor wrote): first, runs of rows
// that only moved up or down are shifted on the terminal itself with a scroll
// region, which turns a one-line scroll of the text window into a couple of
// rows of output; then each row's changed cells are written, one cursor move
// per run, small gaps of unchanged cells rewritten when that is shorter than
// jumping over them; last, the cursor is placed or hidden.
//
// Escape sequences sent from this file:
//   CSI 0 m, CSI fg;bg m   SGR: reset, colours (30-37, 90-97; 40-47, 100-107)
//   CSI 2 J                erase the whole screen (forced update, notice); in
//                          the colours set where the terminal erases so
//   CSI row ; col H        cursor position (also CSI row H, CSI H)
//   CSI n C, CSI n D       cursor forward / back within a row
//   CSI n A, CSI n B       cursor up / down in the same column
//   CR, CR LF, BS          short cursor moves
//   CSI top ; bottom r     scroll region; CSI r resets it to the whole screen
//   CSI n S, CSI n T       scroll the region up / down by n lines
//   CSI ? 25 l, CSI ? 25 h cursor hidden / shown
#include "screen/TermOutput.h"

#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include "text/Cp866.h"
#include "text/Texts.h"

namespace lumo {
namespace {

// The first column from c on where the terminal's cell differs from the
// editor's (w when none): the comparison every update makes for every cell,
// eight cells at a time.
int FirstDiff(const uint32_t* f, const Cell* b, int c, int w) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; c + 8 <= w; c += 8) {
    __m128i back = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + c));
    __m128i lo = _mm_unpacklo_epi16(back, zero), hi = _mm_unpackhi_epi16(back, zero);
    __m128i f0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(f + c));
    __m128i f1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(f + c + 4));
    int eq = _mm_movemask_epi8(_mm_cmpeq_epi32(lo, f0)) | _mm_movemask_epi8(_mm_cmpeq_epi32(hi, f1)) << 16;
    if (eq != -1) break;
  }
#endif
  while (c < w && f[c] == b[c]) ++c;
  return c;
}


// PC colour order (blue = 1, red = 4) to ANSI order (red = 1, blue = 4).
constexpr uint8_t PcToAnsi[8] = {0, 4, 2, 6, 1, 5, 3, 7};

int FgCode(int f) { return (f & 8 ? 90 : 30) + PcToAnsi[f & 7]; }
int BgCode(int b) { return (b & 8 ? 100 : 40) + PcToAnsi[b & 7]; }

void Csi(std::string& s, int n, char final) {
  s += "\x1b[";
  if (n != 1) s += std::to_string(n);
  s += final;
}

std::string AbsoluteMove(int row, int col) {
  std::string s = "\x1b[";
  if (row > 0 || col > 0) s += std::to_string(row + 1);
  if (col > 0) s += ';' + std::to_string(col + 1);
  s += 'H';
  return s;
}

// The shortest bytes that take the cursor from (fromRow, fromCol) to (row,
// col); an unknown start (-1) allows only an absolute move. Relative moves
// never cross the bottom margin: LF is used only below a row that is not the
// last, and the scroll region is always the whole screen when cells are sent.
std::string MoveBytes(int fromRow, int fromCol, int row, int col) {
  std::string best = AbsoluteMove(row, col);
  if (fromRow < 0 || fromCol < 0) return best;
  auto consider = [&best](std::string s) {
    if (s.size() < best.size()) best = std::move(s);
  };
  if (row == fromRow) {
    if (col == fromCol) return {};
    std::string s;
    if (col > fromCol) {
      Csi(s, col - fromCol, 'C');
    } else if (col == fromCol - 1) {
      s = "\b";
    } else {
      Csi(s, fromCol - col, 'D');
    }
    consider(s);
    std::string cr = "\r";
    if (col > 0) Csi(cr, col, 'C');
    consider(cr);
  } else {
    if (row == fromRow + 1) {
      std::string s = "\r\n";
      if (col > 0) Csi(s, col, 'C');
      consider(s);
    }
    if (col == fromCol) {
      std::string s;
      Csi(s, row > fromRow ? row - fromRow : fromRow - row, row > fromRow ? 'B' : 'A');
      consider(s);
    }
  }
  return best;
}

void AppendCell(std::string& s, int& attr, Cell c) {
  s += SgrBytes(attr, CellAttr(c));
  attr = CellAttr(c);
  s += GlyphUtf8(CellChar(c));
}

uint64_t HashRow(const uint32_t* cells, int w) {
  uint64_t h = 1469598103934665603ull;
  for (int i = 0; i < w; ++i) h = (h ^ cells[i]) * 1099511628211ull;
  return h;
}

// The scroll pass. Rows are compared by hash, then cell by cell; a front row
// holding an unknown cell matches nothing. For every shift k the maximal
// runs of back rows r equal to front rows r + k are candidates; a candidate's
// gain is the changed cells it saves less the rows it vacates (they are
// blanked by the scroll and must be written whole) and the bytes of the
// scroll itself. The best candidate is applied and the search repeated, so
// that two regions moving apart are both found.
class ScrollPass {
 public:
  ScrollPass(TermFront& front, const Cell* back, int w, int h)
      : Front(front), Back(back), W(w), H(h), BackHash(size_t(h)), BackRow(size_t(w)) {
    for (int r = 0; r < H; ++r) {
      for (int c = 0; c < W; ++c) BackRow[size_t(c)] = Back[r * W + c];
      BackHash[size_t(r)] = HashRow(BackRow.data(), W);
    }
  }

  void Run(std::string& out) {
    for (int round = 0; round < 4; ++round) {
      Measure();
      Candidate best;
      for (int k = 1 - H; k < H; ++k)
        if (k != 0) FindRuns(k, best);
      if (best.Gain <= 0) return;
      Apply(best, out);
    }
  }

 private:
  struct Candidate {
    int K = 0, S = 0, E = 0;  // back rows S..E equal front rows S+K..E+K
    long Gain = 0;
  };
  static constexpr long ScrollCost = 16;  // bytes of region, scroll, reset

  void Measure() {
    FrontHash.assign(size_t(H), 0);
    FrontKnown.assign(size_t(H), true);
    Diff.assign(size_t(H), 0);
    for (int r = 0; r < H; ++r) {
      const uint32_t* f = &Front.Cells[size_t(r * W)];
      FrontHash[size_t(r)] = HashRow(f, W);
      for (int c = 0; c < W; ++c) {
        if (f[c] == UnknownCell) FrontKnown[size_t(r)] = false;
        if (f[c] != Back[r * W + c]) ++Diff[size_t(r)];
      }
    }
  }

  bool RowsEqual(int backRow, int frontRow) const {
    if (!FrontKnown[size_t(frontRow)] || BackHash[size_t(backRow)] != FrontHash[size_t(frontRow)])
      return false;
    const uint32_t* f = &Front.Cells[size_t(frontRow * W)];
    for (int c = 0; c < W; ++c)
      if (f[c] != Back[backRow * W + c]) return false;
    return true;
  }

  void FindRuns(int k, Candidate& best) const {
    int first = std::max(0, -k), last = std::min(H, H - k);  // rows r with r + k on screen
    int start = -1;
    for (int r = first; r <= last; ++r) {
      bool match = r < last && RowsEqual(r, r + k);
      if (match && start < 0) start = r;
      if (!match && start >= 0) {
        Consider(k, start, r - 1, best);
        start = -1;
      }
    }
  }

  void Consider(int k, int s, int e, Candidate& best) const {
    long gain = -ScrollCost;
    for (int r = s; r <= e; ++r) gain += Diff[size_t(r)];
    int v0 = k > 0 ? e + 1 : s + k, v1 = k > 0 ? e + k : s - 1;  // vacated rows
    for (int v = v0; v <= v1; ++v) gain -= W - Diff[size_t(v)];
    if (gain > best.Gain) best = {k, s, e, gain};
  }

  void Apply(const Candidate& c, std::string& out) {
    int n = c.K > 0 ? c.K : -c.K;
    int top = c.K > 0 ? c.S : c.S + c.K, bottom = c.K > 0 ? c.E + c.K : c.E;
    out += "\x1b[" + std::to_string(top + 1) + ';' + std::to_string(bottom + 1) + 'r';
    Csi(out, n, c.K > 0 ? 'S' : 'T');
    out += "\x1b[r";
    auto row = [this](int r) { return Front.Cells.begin() + r * W; };
    if (c.K > 0) {
      for (int r = c.S; r <= c.E; ++r) std::copy(row(r + c.K), row(r + c.K + 1), row(r));
      std::fill(row(c.E + 1), row(c.E + c.K + 1), UnknownCell);
    } else {
      for (int r = c.E; r >= c.S; --r) std::copy(row(r + c.K), row(r + c.K + 1), row(r));
      std::fill(row(c.S + c.K), row(c.S), UnknownCell);
    }
    Front.Row = Front.Col = -1;  // setting the region homes the cursor
  }

  TermFront& Front;
  const Cell* Back;
  int W, H;
  std::vector<uint64_t> BackHash, FrontHash;
  std::vector<uint32_t> BackRow;
  std::vector<bool> FrontKnown;
  std::vector<int> Diff;
};

// Writes row r's changed cells: a run of changed cells after one move; a gap
// of unchanged cells is rewritten when that costs fewer bytes than the move
// over it.
void RenderRow(TermFront& front, const Cell* back, int w, int r, std::string& out) {
  uint32_t* f = &front.Cells[size_t(r * w)];
  const Cell* b = back + r * w;
  int c = 0;
  for (;;) {
    c = FirstDiff(f, b, c, w);
    if (c >= w) return;
    out += MoveBytes(front.Row, front.Col, r, c);
    for (;;) {
      for (; c < w && f[c] != b[c]; ++c) {
        AppendCell(out, front.Attr, b[c]);
        f[c] = b[c];
      }
      front.Row = r;
      front.Col = c < w ? c : -1;  // past the last column the position is terminal-specific
      if (c >= w) return;
      int next = c;
      next = FirstDiff(f, b, next, w);
      if (next >= w) return;
      // After a clear most gaps are the single blank between two words: in
      // the colours in force and of at most three bytes, a gap is never
      // longer than the shortest move over it (CSI C).
      size_t gapBytes = 0;
      int g = c;
      while (g < next && gapBytes <= 3 && CellAttr(b[g]) == front.Attr) gapBytes += GlyphUtf8(CellChar(b[g++])).size();
      if (g == next && gapBytes <= 3) {
        for (; c < next; ++c) out += GlyphUtf8(CellChar(b[c]));
        continue;
      }
      std::string jump = MoveBytes(r, c, r, next);
      if (size_t(next - c) > jump.size()) break;  // every cell costs at least a byte
      std::string gap;
      int attr = front.Attr;
      for (int g = c; g < next; ++g) AppendCell(gap, attr, b[g]);
      if (gap.size() > jump.size()) break;
      out += gap;
      front.Attr = attr;
      c = next;
    }
  }
}

}  // namespace

std::string SgrBytes(int from, uint8_t to) {
  if (from == int(to)) return {};
  int f = to & 15, b = to >> 4;
  std::string s = "\x1b[";
  if (from < 0) {
    s += "0;" + std::to_string(FgCode(f)) + ';' + std::to_string(BgCode(b));
  } else {
    bool fg = (from & 15) != f, bg = (from >> 4) != b;
    if (fg) s += std::to_string(FgCode(f));
    if (fg && bg) s += ';';
    if (bg) s += std::to_string(BgCode(b));
  }
  s += 'm';
  return s;
}

std::string RenderUpdate(TermFront& front, const Cell* back, int w, int h, int cursorCol,
                         int cursorRow) {
  std::string out;
  if (front.NeedClear || front.W != w || front.H != h) {
    // Cleared in the plain colours, the window's empty rows and the blank
    // ends of short lines are already there.
    constexpr uint8_t plain = 7;
    out = SgrBytes(-1, plain) + "\x1b[2J";
    front.W = w;
    front.H = h;
    front.Cells.assign(size_t(w) * size_t(h), front.EraseInColour ? MakeCell(' ', plain) : UnknownCell);
    front.Attr = plain;
    front.Row = front.Col = front.Visible = -1;
    front.NeedClear = false;
  } else {
    // A scroll only pays when many rows changed; most updates touch a few.
    int changedRows = 0;
    for (int r = 0; r < h && changedRows < 4; ++r) {
      const uint32_t* f = &front.Cells[size_t(r * w)];
      if (FirstDiff(f, back + r * w, 0, w) < w) ++changedRows;
    }
    if (changedRows >= 4) ScrollPass(front, back, w, h).Run(out);
  }
  for (int r = 0; r < h; ++r) RenderRow(front, back, w, r, out);

  bool show = cursorCol >= 0 && cursorCol < w && cursorRow >= 0 && cursorRow < h;
  // A long update with the cursor showing would drag it across the screen.
  if (show && front.Visible == 1 && out.size() > 512) {
    out.insert(0, "\x1b[?25l");
    front.Visible = 0;
  }
  if (!show) {
    if (front.Visible != 0) out += "\x1b[?25l";
    front.Visible = 0;
    return out;
  }
  out += MoveBytes(front.Row, front.Col, cursorRow, cursorCol);
  front.Row = cursorRow;
  front.Col = cursorCol;
  if (front.Visible != 1) out += "\x1b[?25h";
  front.Visible = 1;
  return out;
}

std::vector<std::string> SizeNoticeLines(int cols, int rows) {
  std::vector<std::string> lines;
  if (cols < 1 || rows < 1) return lines;
  std::string text = std::string(Texts::WindowTooSmall) + std::to_string(cols) + "×" + std::to_string(rows) + ".";
  auto chars = [](const std::string& s) {
    size_t n = 0;
    for (unsigned char ch : s) n += (ch & 0xC0) != 0x80;
    return n;
  };
  // Words split into characters, so that a word longer than the line can be
  // broken anywhere without cutting a UTF-8 sequence.
  std::string line, word;
  auto flushWord = [&] {
    if (word.empty()) return;
    size_t need = chars(line) + (line.empty() ? 0 : 1) + chars(word);
    if (!line.empty() && need > size_t(cols)) {
      lines.push_back(line);
      line.clear();
    }
    if (!line.empty()) line += ' ';
    size_t i = 0;
    while (i < word.size()) {
      size_t len = 1;
      while (i + len < word.size() && (uint8_t(word[i + len]) & 0xC0) == 0x80) ++len;
      if (chars(line) == size_t(cols)) {
        lines.push_back(line);
        line.clear();
      }
      line.append(word, i, len);
      i += len;
    }
    word.clear();
  };
  for (char ch : text) {
    if (ch == ' ') flushWord();
    else word += ch;
  }
  flushWord();
  if (!line.empty()) lines.push_back(line);
  if (lines.size() > size_t(rows)) lines.resize(size_t(rows));
  return lines;
}

std::string SizeNoticeBytes(int cols, int rows) {
  std::string out = "\x1b[0m\x1b[2J";
  std::vector<std::string> lines = SizeNoticeLines(cols, rows);
  for (size_t i = 0; i < lines.size(); ++i) out += AbsoluteMove(int(i), 0) + lines[i];
  out += "\x1b[?25l";
  return out;
}

}  // namespace lumo

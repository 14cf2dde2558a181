// The cell output checked against a real terminal emulator: every update is
// fed into libvterm, and the emulated screen must equal the back buffer cell
// for cell (glyph, foreground, background), cursor included. Byte counts are
// checked where the output's size is the point (no change, one cell, one
// scrolled line, one colour).
#include <gtest/gtest.h>
#include <vterm.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>
#include <vector>
#include "screen/TermOutput.h"
#include "text/Cp866.h"

namespace lumo {
namespace {

uint32_t DecodeUtf8(std::string_view s) {
  const size_t more = uint8_t(s[0]) < 0x80 ? 0 : uint8_t(s[0]) < 0xE0 ? 1 : 2;
  uint32_t c = uint8_t(s[0]) & (more == 0 ? 0x7F : more == 1 ? 0x1F : 0x0F);
  for (size_t i = 1; i <= more; ++i) c = c << 6 | (uint8_t(s[i]) & 0x3F);
  return c;
}

// ANSI colour index a terminal must show for a PC colour: blue and red,
// cyan and brown trade places, bit 3 picks the bright set.
int AnsiIndex(int pc) {
  static const int swap[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  return swap[pc & 7] + (pc & 8);
}

class Emulator {
 public:
  Emulator(int rows, int cols) : Cols(cols), Vt(vterm_new(rows, cols)) {
    vterm_set_utf8(Vt, 1);
    Screen = vterm_obtain_screen(Vt);
    static VTermScreenCallbacks callbacks{};
    callbacks.settermprop = [](VTermProp prop, VTermValue* val, void* user) {
      if (prop == VTERM_PROP_CURSORVISIBLE) static_cast<Emulator*>(user)->CursorVisible = val->boolean;
      return 1;
    };
    vterm_screen_set_callbacks(Screen, &callbacks, this);
    vterm_screen_reset(Screen, 1);
  }
  ~Emulator() { vterm_free(Vt); }

  void Feed(const std::string& bytes) { vterm_input_write(Vt, bytes.data(), bytes.size()); }

  // Empty when the emulated screen shows back (w x h, top left), blanks right
  // of it, and the cursor as given; else the first difference.
  std::string Mismatch(const std::vector<Cell>& back, int w, int h, int col, int row) {
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < Cols; ++c) {
        VTermScreenCell cell;
        vterm_screen_get_cell(Screen, VTermPos{r, c}, &cell);
        uint32_t ch = cell.chars[0] ? cell.chars[0] : ' ';
        Cell want = c < w ? back[size_t(r * w + c)] : MakeCell(' ', 0);
        int fg = VTERM_COLOR_IS_INDEXED(&cell.fg) ? cell.fg.indexed.idx : -1;
        int bg = VTERM_COLOR_IS_INDEXED(&cell.bg) ? cell.bg.indexed.idx : -1;
        bool colours = c >= w || (fg == AnsiIndex(CellAttr(want) & 15) && bg == AnsiIndex(CellAttr(want) >> 4));
        if (ch != DecodeUtf8(GlyphUtf8(CellChar(want))) || !colours)
          return "cell " + std::to_string(r) + "," + std::to_string(c) + ": U+" + std::to_string(ch) + " fg " +
                 std::to_string(fg) + " bg " + std::to_string(bg) + ", want " + std::to_string(want);
      }
    bool shown = col >= 0 && col < w && row >= 0 && row < h;
    VTermPos pos;
    vterm_state_get_cursorpos(vterm_obtain_state(Vt), &pos);
    if (CursorVisible != shown || (shown && (pos.row != row || pos.col != col)))
      return "cursor " + std::to_string(CursorVisible) + " at " + std::to_string(pos.row) + "," + std::to_string(pos.col);
    return {};
  }

  std::string RowText(int r) {
    char buf[1024];
    return std::string(buf, vterm_screen_get_text(Screen, buf, sizeof buf, VTermRect{r, r + 1, 0, Cols}));
  }

  bool CursorVisible = true;

 private:
  int Cols;
  VTerm* Vt;
  VTermScreen* Screen;
};

// A screen like the editor's: status and message rows, then text rows of
// varied length with the cursor's row highlighted.
struct EditorScreen {
  int W, H;
  std::vector<Cell> Cells;
  EditorScreen(int w, int h) : W(w), H(h), Cells(size_t(w * h), MakeCell(' ', 7)) {}
  void Row(int r, const std::string& text, uint8_t attr) {
    for (int c = 0; c < W; ++c)
      Cells[size_t(r * W + c)] = MakeCell(c < int(text.size()) ? uint8_t(text[size_t(c)]) : ' ', attr);
  }
  // Text lines first.. on rows 2..H-1, the highlight on `cursorRow`.
  void Text(int first, int cursorRow) {
    Row(0, " Line " + std::to_string(first + cursorRow - 2) + "  Col 1  Ins", 0x30);
    Row(1, "", 0x07);
    for (int r = 2; r < H; ++r) {
      int n = first + r - 2;
      std::string line = "Line " + std::to_string(n) + std::string(size_t(n * 7 % 60), char('a' + n % 26));
      Row(r, line, r == cursorRow ? 0x1E : 0x17);
    }
  }
};

// How many control sequences with this final byte the bytes contain ('S'
// scrolls up, 'T' down, 'm' sets colours).
int Csi(const std::string& bytes, char final) {
  const std::regex sequence("\x1b\\[[^A-Za-z]*" + std::string(1, final));
  return int(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), sequence), std::sregex_iterator()));
}

// The output fed to the emulator, which must then show the buffer; a second
// update of the same buffer must then send nothing.
struct Output {
  TermFront Front;
  Emulator Term;
  Output(int rows, int cols) : Term(rows, cols) {}
  std::string Render(const std::vector<Cell>& back, int w, int h, int col, int row) {
    std::string bytes = RenderUpdate(Front, back.data(), w, h, col, row);
    Term.Feed(bytes);
    EXPECT_EQ(Term.Mismatch(back, w, h, col, row), "") << bytes.size() << " bytes";
    EXPECT_EQ(RenderUpdate(Front, back.data(), w, h, col, row), "");
    return bytes;
  }
};

// Where the output's size is the point: nothing for no change, a move for a
// moved cursor, a move and a glyph for one cell, an SGR only for a changed
// attribute and only of the half that changed, the new row only for a text
// moved by one line either way under a fixed cursor row.
TEST(TermOutput, BytesOnlyForWhatChanged) {
  Output o(25, 80);
  EditorScreen s(80, 25);
  s.Text(1, 5);
  o.Render(s.Cells, 80, 25, 3, 4);
  std::string move = o.Render(s.Cells, 80, 25, 9, 4);
  EXPECT_TRUE(!move.empty() && move.size() <= 8u) << move;
  // hidden the same way (the editor hides with 133, 60)
  EXPECT_EQ(o.Render(s.Cells, 80, 25, 133, 60), "\x1b[?25l");
  s.Cells[size_t(12 * 80 + 40)] = MakeCell(0x9F, 0x17);  // Cyrillic: two UTF-8 bytes
  EXPECT_LE(o.Render(s.Cells, 80, 25, 133, 60).size(), 10u);
  s.Cells[size_t(12 * 80 + 40)] = MakeCell('x', 0x1C);
  EXPECT_LE(o.Render(s.Cells, 80, 25, 133, 60).size(), 14u);

  for (int r = 0; r < 25; ++r) s.Row(r, "same colour everywhere", 0x1F);
  o.Front.Forget();
  EXPECT_EQ(Csi(o.Render(s.Cells, 80, 25, 0, 24), 'm'), 2);  // the reset before the clear, then one colour
  // After a clear in the plain colours only what is not a plain blank is sent.
  EditorScreen plain(80, 25);
  plain.Row(5, "text", 0x07);
  o.Front.Forget();
  EXPECT_LT(o.Render(plain.Cells, 80, 25, 0, 5).size(), 40u);
  EXPECT_EQ(SgrBytes(0x1F, 0x1F), "");
  EXPECT_EQ(SgrBytes(0x17, 0x1F), "\x1b[97m");
  EXPECT_EQ(SgrBytes(0x17, 0x47), "\x1b[41m");

  for (int cursorRow : {24, 2}) {
    s.Text(10, cursorRow);
    o.Render(s.Cells, 80, 25, 4, cursorRow);
    s.Text(cursorRow == 24 ? 11 : 9, cursorRow);
    std::string bytes = o.Render(s.Cells, 80, 25, 4, cursorRow);
    EXPECT_TRUE(bytes.size() >= 100u && bytes.size() <= 300u) << cursorRow << " " << bytes.size();
  }
}

// Random edits of every kind the editor makes: single cells of any glyph and
// colour, whole rows, regions moved up or down by any distance (sometimes two
// regions at once), cursor moves, hiding, forced updates after the terminal
// was cleared behind the renderer's back. The terminal is wider than the
// buffer, as when the editor keeps 80 columns of 99. The emulator must follow
// exactly.
TEST(TermOutput, RandomEditsKeepTheTerminalEqualToTheBuffer) {
  std::mt19937 rng(2024);
  auto rnd = [&](int n) { return int(rng() % unsigned(n)); };
  for (int w : {80, 132}) {
    const int h = 25;
    Output o(h, w + 7);
    std::vector<Cell> back(size_t(w * h), MakeCell(' ', 7));
    auto randomCell = [&] {
      return MakeCell(rnd(4) ? uint8_t('a' + rnd(26)) : uint8_t(rnd(256)), uint8_t(rnd(3) ? 0x17 : rnd(256)));
    };
    auto moveRows = [&](int top, int bottom, int k) {  // rows top..bottom by k (up when > 0)
      std::vector<Cell> old = back;
        for (int r = top, from = r + k; r <= bottom; ++r, ++from)
        for (int c = 0; c < w; ++c)
          back[size_t(r * w + c)] = from >= top && from <= bottom ? old[size_t(from * w + c)] : randomCell();
    };
    int up = 0, down = 0;
    for (int step = 0; step < 300; ++step) {
      switch (rnd(7)) {
        case 0: for (int i = rnd(5); i >= 0; --i) back[size_t(rnd(w * h))] = randomCell(); break;
        case 1: for (int r = rnd(h), c = 0; c < w; ++c) back[size_t(r * w + c)] = randomCell(); break;
        case 2:
        case 3: {
          int top = rnd(h), bottom = top + rnd(h - top), k = 1 + rnd(bottom - top + 1);
          moveRows(top, bottom, rnd(2) ? k : -k);
          if (rnd(3) == 0) back[size_t(rnd(w * h))] = randomCell();
          break;
        }
        case 4: moveRows(2, 12, 1 + rnd(3)), moveRows(13, h - 1, -1 - rnd(3)); break;
        case 5: if (rnd(4) == 0) o.Term.Feed("\x1b[0m\x1b[2J"), o.Front.Forget(); break;
        // the bottom-right cell must not scroll
        default: back[size_t(w * h - 1)] = randomCell(), back[size_t(w - 1)] = randomCell();
      }
      int col = rnd(6) ? rnd(w) : 133, row = rnd(6) ? rnd(h) : 60;
      std::string bytes = o.Render(back, w, h, col, row);
      up += Csi(bytes, 'S');
      down += Csi(bytes, 'T');
      ASSERT_FALSE(HasFailure()) << "width " << w << " step " << step;
    }
    EXPECT_TRUE(up >= 30 && down >= 30) << up << " " << down;  // the moves were found as such
  }
}

TEST(TermOutput, SizeNoticeFitsAnySmallTerminal) {
  for (auto [cols, rows] : {std::pair{79, 24}, {40, 2}, {20, 10}, {6, 30}, {1, 1}, {200, 2}}) {
    std::vector<std::string> lines = SizeNoticeLines(cols, rows);
    ASSERT_FALSE(lines.empty());
    EXPECT_LE(lines.size(), size_t(rows));
    std::string all;
    for (const std::string& l : lines) {
      auto n = std::count_if(l.begin(), l.end(), [](char ch) { return (uint8_t(ch) & 0xC0) != 0x80; });
      EXPECT_TRUE(n > 0 && n <= cols) << l;
      all += l;
    }
    Emulator term(rows, cols);
    term.Feed(SizeNoticeBytes(cols, rows));
    for (size_t r = 0; r < lines.size(); ++r) EXPECT_EQ(term.RowText(int(r)), lines[r]);
    EXPECT_FALSE(term.CursorVisible);
    if (cols * rows >= 120) {  // room for the whole text: it names the size needed and the size there is
      EXPECT_NE(all.find("80"), std::string::npos) << all;
      EXPECT_NE(all.find(std::to_string(cols) + "×" + std::to_string(rows)), std::string::npos) << all;
    }
  }
}

}  // namespace
}  // namespace lumo

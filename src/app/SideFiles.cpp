// The per-file settings: sixteen decimal numbers, one a line, in a fixed
// order (cursor, line marks, position marks, modes, the idle message cell,
// column mark). The file is shared by every text of the same base name and
// may be cut short or edited by hand, so nothing read is trusted: a value
// that is missing or not a number keeps its start value, a line beyond the
// text loaded now drops its mark, and the cursor and window are brought into
// the text, so the editor never starts with a place outside it.
#include "app/SideFiles.h"

#include <algorithm>
#include <string>

#include "edit/Cursor.h"
#include "files/Save.h"
#include "screen/StatusRow.h"
#include "tools/SideFile.h"

namespace lumo {
namespace {

constexpr int SettingsLines = 16;
// A hand-edited file may be large; sixteen numbers fit in far less.
constexpr size_t SettingsLimit = 4096;
// The column past a full line is the last a cursor can stand in.
constexpr int LastColumn = 256;
// Of the stored idle cell only the bit that says the length limit is off.
constexpr int LimitOffBit = 0x0800;

// Values[k] is line k's number when it holds one.
struct Stored {
  int16_t Values[SettingsLines + 1] = {};
  bool Has[SettingsLines + 1] = {};

  bool Line(int k, int16_t& out) const {
    if (Has[k]) out = Values[k];
    return Has[k];
  }
};

int16_t Column(int v) { return int16_t(std::clamp(v, 1, LastColumn)); }

// A line number kept only while it lies inside the text.
int16_t LineOrUnset(const Editor& e, int v) { return v >= 1 && v <= e.LineCount ? int16_t(v) : int16_t(0); }

void Apply(Editor& e, const Stored& s) {
  int16_t v = 0;
  if (s.Line(2, v) && v >= 1) e.CurLine = std::min(v, e.LineCount);
  // The window keeps the cursor in it whatever the screen's height now.
  const int rows = e.PageStep + 1;
  int16_t top = e.TopLine;
  s.Line(1, top);
  e.TopLine = int16_t(std::clamp<int>(top, std::max(1, e.CurLine - rows + 1), e.CurLine));
  if (s.Line(3, v)) e.CurCol = Column(v);
  for (int k = 1; k <= 3; ++k)
    if (s.Line(3 + k, v)) e.LineMark[k] = LineOrUnset(e, v);
  for (int k = 1; k <= 2; ++k) {
    const int base = 4 + 3 * k;  // lines 7..9 and 10..12: top line, line, column
    PositionMark m;
    if (s.Line(base + 1, v)) m.Line = LineOrUnset(e, v);
    if (m.Line != 0) {
      m.Top = s.Line(base, v) ? int16_t(std::clamp<int>(v, 1, m.Line)) : m.Line;
      m.Col = s.Line(base + 2, v) ? Column(v) : e.LeftMargin;
    }
    if (s.Has[base + 1]) e.PosMark[k] = m;
  }
  if (s.Line(13, v) && (v == 0 || v == 1)) e.InsertMode = v == 1;
  if (s.Line(14, v) && (v == 0 || v == 1)) e.RusMode = v == 1;
  // Or-ed in: a stored limit can switch the limit off, never back on after
  // the load has switched it off for a compact text.
  if (s.Line(15, v) && (v & LimitOffBit) != 0) e.LengthLimit = false;
  if (s.Line(16, v)) e.ColumnMark = Column(v);
}

}  // namespace

void ReadSettings(Editor& e) {
  std::string bytes;
  if (e.SettingsFile.empty() || !ReadSideFile(e.SettingsFile, bytes, SettingsLimit)) return;
  Stored s;
  SideLines in(bytes);
  std::string_view line;
  for (int k = 1; k <= SettingsLines && in.Next(line); ++k) s.Has[k] = ParseLineNumber(line, s.Values[k]);
  Apply(e, s);
}

// Lines end as the system's text files end them; reading takes CR LF too.
void WriteSettings(Editor& e) {
  if (e.SettingsFile.empty()) return;
  const PositionMark* p = e.PosMark;
  const int values[SettingsLines] = {
      e.TopLine,    e.CurLine,    e.CurCol,       e.LineMark[1],  e.LineMark[2], e.LineMark[3],
      p[1].Top,     p[1].Line,    p[1].Col,       p[2].Top,       p[2].Line,     p[2].Col,
      e.InsertMode, e.RusMode,    int(IdleCell(e)), e.ColumnMark};
  std::string text;
  for (int v : values) text += std::to_string(v) + "\n";
  WriteSideFile(e.SettingsFile, text);
}

void SaveTextForExit(Editor& e) { SaveText(e); }

}  // namespace lumo

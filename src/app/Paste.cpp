// A paste is laid out in full before anything changes: its lines are
// converted to 866 and their tabs expanded (a tab stop depends on the column
// a line starts at, so the first line expands after the text left of the
// cursor), then every resulting line is measured, the line count and the
// budget are checked, and only then is the cursor's line pushed and stored
// and the new lines inserted in one go. New lines get what a split line
// gets: room for RightMargin characters, or their text when it is longer.
#include "app/Paste.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/MainLoop.h"
#include "screen/KeyDecoder.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/Cp866.h"
#include "text/LineEdit.h"
#include "text/LineHistory.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {
namespace {

// The paste's lines in 866, split at CR LF, LF and CR; left counts the
// characters 866 lacks.
std::vector<std::string> SplitLines(std::string_view utf8, size_t& left) {
  std::vector<std::string> lines(1);
  for (size_t i = 0; i <= utf8.size();) {
    const size_t end = std::min(utf8.find_first_of("\r\n", i), utf8.size());
    left += AppendCp866(utf8.substr(i, end - i), lines.back());
    if (end == utf8.size()) break;
    i = end + (utf8.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    lines.emplace_back();
  }
  return lines;
}

// Tabs as blanks up to the next stop for a line whose first byte lands in
// column start; past the last stop a tab is one blank. A line that grows
// past any storable length stops growing: it is refused as it is.
void ExpandTabs(const Editor& e, std::string& s, int start) {
  if (s.find('\t') == std::string::npos) return;
  std::string out;
  for (char c : s) {
    if (out.size() > size_t(LineEdit::Room)) break;
    if (c != '\t') {
      out += c;
      continue;
    }
    const int col = start + int(out.size());
    int stop = col + 1;
    for (int k = 1; k <= 32; ++k)
      if (e.TabStops[k] > col) {
        stop = e.TabStops[k];
        break;
      }
    out.append(size_t(stop - col), ' ');
  }
  s.swap(out);
}

// A line whose text would not fit a counted string.
bool TooLong(std::string_view s) {
  const size_t end = s.find_last_not_of(' ');
  return end != std::string_view::npos && end >= size_t(MaxLineBytes);
}

uint8_t NewCapacity(const Editor& e, std::string_view s) {
  return std::max(TextLength(s.substr(0, std::min<size_t>(s.size(), MaxLineBytes))), e.RightMargin);
}

void Refuse(Editor& e, std::string_view why) {
  e.OpFailed = 1;
  ShowMessage(e, why, 1);
}

}  // namespace

void PasteText(Editor& e, std::string_view utf8) {
  e.OpFailed = 0;
  if (!e.Lines || e.CurLine < 1 || e.CurLine > e.LineCount) return;
  if (utf8.size() > MaxPasteBytes) return Refuse(e, Texts::PasteTooBig);
  size_t left = 0;
  std::vector<std::string> lines = SplitLines(utf8, left);
  const int added = int(lines.size()) - 1;
  if (e.LineCount + added > MaxLines) return Refuse(e, Texts::PasteTooManyLines);

  const int line = e.CurLine;
  const int col = std::clamp<int>(e.CurCol, 1, MaxLineBytes + 1);
  ExpandTabs(e, lines.front(), col);
  for (size_t k = 1; k < lines.size(); ++k) ExpandTabs(e, lines[k], 1);
  const int cursorCol = int(lines.back().size()) + (added == 0 ? col : 1);

  // The cursor's line keeps what stands left of the cursor; what stood
  // right of it follows the pasted text, on the paste's last line.
  LineEdit first = EditLine(e, line);
  LineEdit tail = first;
  tail.Erase(1, col - 1);
  tail.Cut(tail.TextEnd() + 1);
  first.Cut(col);
  first.FillTo(col - 1);
  if (lines.front().size() > size_t(LineEdit::Room)) return Refuse(e, Texts::PasteTooLong);
  first.Insert(col, lines.front());
  if (added == 0) first.Insert(first.Len + 1, tail.Bytes());
  else lines.back().append(tail.Bytes());

  bool tooLong = CheckFit(e, line, first) == Fit::TooLong;
  size_t cost = GrowthCost(e, line, first);
  std::vector<uint8_t> capacities;
  capacities.reserve(size_t(added));
  for (size_t k = 1; k < lines.size() && !tooLong; ++k) {
    tooLong = TooLong(lines[k]);
    capacities.push_back(NewCapacity(e, lines[k]));
    cost += size_t(capacities.back()) + 1;
  }
  if (tooLong) return Refuse(e, Texts::PasteTooLong);
  if (cost > 0 && cost >= FreeMemory(e)) return Refuse(e, Texts::PasteNoMemory);

  if (added > 0 || !lines.front().empty()) {
    PushHistory(e, line);
    if (!InsertLines(e, line + 1, capacities)) return RefuseNoMemory(e);
    for (int k = 1; k <= added; ++k) SetLineText(e, lines[size_t(k)], line + k);
    CommitLine(e, line, first);
    MoveToLine(e, line + added);
    e.CurCol = int16_t(std::min(cursorCol, MaxLineBytes + 1));
    if (added > 0) MarkWindow(e);
    else MarkLine(e, line);
  }
  if (left > 0) {
    // The message waits on a screen that already shows the paste.
    RedrawAll(e);
    ShowMessage(e, std::string(Texts::PasteLeftOut) + std::to_string(left), 1);
  }
}

Reentry PasteKey(Editor& e, KeyCode) {
  if (e.Con) PasteText(e, e.Con->TakePaste());
  return Reentry::Update;
}

}  // namespace lumo

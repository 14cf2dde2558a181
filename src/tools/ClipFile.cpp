#include "tools/ClipFile.h"

#include "files/CodePages.h"
#include "screen/StatusRow.h"
#include "text/Texts.h"
#include "tools/Outside.h"
#include "text/LineEdit.h"
#include "tools/SideFile.h"

namespace lumo {

bool WriteClipFile(const Editor& e, char type, const std::vector<std::string>& lines, bool codePageMark) {
  std::string bytes(1, type);
  // The outside program is handed a 1251 text's lines in 1251, as a save
  // would write them, and told so.
  const bool ansi = codePageMark && e.ClipexOn && e.FileCodePage == CodePage::Ansi;
  if (ansi) bytes += 'A';
  bytes += "\r\n";
  const size_t content = bytes.size();
  for (const std::string& l : lines) AddSideLine(bytes, l);
  if (ansi)
    for (size_t i = content; i < bytes.size(); ++i) bytes[i] = char(ToAnsi[uint8_t(bytes[i])]);
  // A rectangle's last piece ends without a line end: pasted back, an end
  // would start one more line.
  if (type == ClipPieces && !lines.empty()) bytes.resize(bytes.size() - 2);
  if (!WriteSideFile(e.ClipFile, bytes)) return false;
  if (e.ClipexOn) RunClipex(e, '#');
  return true;
}

bool RefreshClipFile(Editor& e) {
  if (!e.ClipexOn || RunClipex(e, '@') != ClipexTooLarge) return true;
  ShowMessage(e, Texts::ClipboardTooLarge, 1);
  return false;
}

ClipContent ReadClipFile(const Editor& e) {
  ClipContent c;
  // Enough for the largest text; what lies beyond could not be pasted anyway.
  constexpr size_t Limit = size_t(MaxLines) * (MaxLineBytes + 2) + 8;
  std::string bytes;
  if (!ReadSideFile(e.ClipFile, bytes, Limit) || bytes.empty()) return c;
  c.Type = bytes[0];
  SideLines lines(bytes);
  std::string_view line;
  lines.Next(line);  // the header: its first byte, and "A" for 1251 lines
  const bool ansi = line.size() > 1 && line[1] == 'A';
  while (lines.Next(line) && line.size() <= size_t(MaxLineBytes) && c.Lines.size() < size_t(MaxLines)) {
    c.Lines.emplace_back(line);
    if (ansi)
      for (char& b : c.Lines.back()) b = char(FromAnsi[uint8_t(b)]);
  }
  return c;
}

}  // namespace lumo

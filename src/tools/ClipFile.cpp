#include "tools/ClipFile.h"

#include "text/LineEdit.h"
#include "tools/SideFile.h"

namespace lumo {

bool WriteClipFile(const Editor& e, char type, const std::vector<std::string>& lines, bool codePageMark) {
  std::string bytes(1, type);
  // The outside program needs to know which code page it is handed.
  if (codePageMark && e.ClipexOn && e.FileCodePage == CodePage::Ansi) bytes += 'A';
  bytes += "\r\n";
  for (const std::string& l : lines) AddSideLine(bytes, l);
  // A rectangle's last piece ends without a line end: pasted back, an end
  // would start one more line.
  if (type == ClipPieces && !lines.empty()) bytes.resize(bytes.size() - 2);
  return WriteSideFile(e.ClipFile, bytes);
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
  lines.Next(line);  // the header: only its first byte counts
  while (lines.Next(line) && line.size() <= size_t(MaxLineBytes) && c.Lines.size() < size_t(MaxLines))
    c.Lines.emplace_back(line);
  return c;
}

}  // namespace lumo

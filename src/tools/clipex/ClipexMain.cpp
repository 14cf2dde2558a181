// lumo-clipex: the bridge between the editor's clipboard file and the
// system clipboard. "#FILE" puts the file's text (code page 866, or 1251
// when its header says "A") into the system clipboard as UTF-8: wl-copy
// under Wayland, xclip or xsel under X, else the terminal's OSC 52, which
// also reaches a clipboard over ssh and through tmux. "@FILE" takes the
// system clipboard into the file: several lines as an "L" file, one as a
// "B" file. Where no clipboard can be read the file is left as it is.
// Exit status: 0 done (or nothing to do), 2 wrong use, 3 the system
// clipboard held more than a text can, 4 the file could not be read or
// written.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>
#include <unistd.h>

#include "files/CodePages.h"
#include "text/Cp866.h"
#include "tools/SideFile.h"
#include "tools/clipex/SystemClipboard.h"

namespace {

using namespace lumo;

// More than the largest text (24575 lines of 255 bytes) in UTF-8.
constexpr size_t ClipboardLimit = 10u << 20;

int Copy(const std::string& path) {
  std::string bytes;
  if (!ReadSideFile(path, bytes, ClipboardLimit)) return 4;
  SideLines lines(bytes);
  std::string_view line;
  if (!lines.Next(line)) return 0;
  const bool ansi = line.size() > 1 && line[1] == 'A';
  std::string text;
  bool first = true;
  while (lines.Next(line)) {
    if (!first) text += '\n';
    first = false;
    std::string cp866(line);
    if (ansi)
      for (char& b : cp866) b = char(FromAnsi[uint8_t(b)]);
    text += Utf8FromCp866(cp866);
  }
  if (bytes[0] == 'L' && !first) text += '\n';
  return CopyToSystem(text) ? 0 : 4;
}

int Paste(const std::string& path) {
  std::string utf8;
  if (!PasteFromSystem(utf8, ClipboardLimit + 1)) return 0;
  if (utf8.size() > ClipboardLimit) return 3;
  std::string file;
  std::vector<std::string_view> parts;
  for (size_t at = 0; at <= utf8.size();) {
    size_t end = utf8.find('\n', at);
    if (end == std::string::npos) end = utf8.size();
    std::string_view part(utf8.data() + at, end - at);
    if (!part.empty() && part.back() == '\r') part.remove_suffix(1);
    parts.push_back(part);
    at = end + 1;
  }
  // A final line end ends the last line; it starts no empty one.
  if (parts.size() > 1 && parts.back().empty()) parts.pop_back();
  const bool lines = parts.size() > 1 || utf8.find('\n') != std::string::npos;
  file += lines ? "L\r\n" : "B\r\n";
  for (std::string_view part : parts) {
    std::string cp866;
    AppendCp866(part, cp866);
    AddSideLine(file, cp866);
  }
  if (!lines) file.resize(file.size() - 2);
  return WriteSideFile(path, file) ? 0 : 4;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || (argv[1][0] != '#' && argv[1][0] != '@') || argv[1][1] == 0) {
    std::fprintf(stderr, "usage: lumo-clipex #FILE | @FILE\n");
    return 2;
  }
  const std::string path = argv[1] + 1;
  return argv[1][0] == '#' ? Copy(path) : Paste(path);
}

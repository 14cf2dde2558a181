#include "app/Options.h"

#include <cctype>

#include "tools/SidePaths.h"

namespace lumo {

std::string OptionText(const std::vector<std::string>& args) {
  std::string s;
  for (size_t i = 0; i + 1 < args.size(); ++i) s += args[i] + " ";
  if (s.size() > 255) s.resize(255);
  return s;
}


void ApplyOptions(Editor& e, const std::string& optionText) {
  std::string t = optionText + " ";
  size_t dash;
  while ((dash = t.find('-')) != std::string::npos) {
    t[dash] = ' ';
    size_t at = dash + 1;
    char letter = at < t.size() ? char(std::toupper(uint8_t(t[at]))) : ' ';
    char next = at + 1 < t.size() ? t[at + 1] : ' ';
    auto directory = [&] {
      size_t end = t.find(' ', at + 1);
      return t.substr(at + 1, (end == std::string::npos ? t.size() : end) - (at + 1));
    };
    switch (letter) {
      case 'W': e.Credits = false; break;
      case 'T': if (std::isdigit(uint8_t(next))) e.TabStep = uint8_t(next - '0'); break;
      case 'C': if (std::isdigit(uint8_t(next))) e.CommentColour = uint8_t(next - '0'); break;
      case 'G': e.PseudographicsMode = false; break;
      case 'J': e.HalfScroll = false; break;
      case 'P': e.CodePageCheck = false; break;
      case 'K': e.LoadKeystrokes = true; break;
      case '+': e.CursorCross = false; break;
      case '#': e.ClipexOn = true; break;
      case 'I': {
        std::string dir = directory();
        if (!dir.empty()) e.SettingsFile = dir + BaseName(e.FileName) + ".LmIni";
        break;
      }
      case 'X': {
        std::string dir = directory();
        if (!dir.empty()) {
          e.ClipFile = dir + "LumoClip";
          e.HistoryFile = dir + "LumoSS";
        }
        break;
      }
      default: break;
    }
  }
}

std::string BaseName(const std::string& name) {
  size_t sep = name.find_last_of("/\\");
  return sep == std::string::npos ? name : name.substr(sep + 1);
}

void ApplyExtension(Editor& e, const std::string& fileName, int screenWidth) {
  // Leading "./" and "../" are how POSIX names a place, not an extension.
  size_t from = 0;
  while (fileName.compare(from, 2, "./") == 0 || fileName.compare(from, 3, "../") == 0)
    from += fileName[from + 1] == '/' ? 2 : 3;
  size_t dot = fileName.find('.', from);
  if (dot == std::string::npos) return;
  std::string ext = fileName.substr(dot + 1, 3);
  bool numeric = !ext.empty();
  int n = 0;
  for (char c : ext) {
    if (!std::isdigit(uint8_t(c))) { numeric = false; break; }
    n = n * 10 + (c - '0');
  }
  if (numeric && n >= 1 && n <= 254) {
    e.RightMargin = e.FormatWidth = uint8_t(n);
    return;
  }
  for (char& c : ext) c = char(std::toupper(uint8_t(c)));
  if (ext == "PAS" || ext == "INC" || ext == "PP" || ext == "DPR") {
    e.ProgramTextMode = true;
    e.FileType = 2;
    e.RightMargin = e.FormatWidth = uint8_t(screenWidth + 5);
    e.MarkerText = "{}";
    e.LeftMargin = 3;
  }
}

}  // namespace lumo

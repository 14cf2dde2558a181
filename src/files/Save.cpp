// Saving never writes over the old file in place: the text goes to a
// temporary file that replaces the old one only when every line was written.
// A line is written without trailing blanks and bytes 0, followed by CR LF
// (a UTF-8 file's lines are written in UTF-8 and end as its first line did).
#include "files/Save.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/AskFile.h"
#include "files/CodePages.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/Cp866.h"
#include "text/LineStore.h"
#include "text/Texts.h"
#include "tools/AtomicFile.h"

namespace lumo {
namespace {

// One line as it goes to disk, before recoding.
void EncodeLine(std::string_view line, int mode, std::string& out) {
  size_t n = line.size();
  while (n > 0 && (line[n - 1] == ' ' || line[n - 1] == 0)) --n;
  size_t start = out.size();
  for (size_t i = 0; i < n; ++i) {
    uint8_t b = uint8_t(line[i]);
    if (b < 32 && mode == SaveControlsBlank) {
      out += ' ';
    } else if (b < 32 && mode == SaveControlsCoded) {
      out += '#';
      out += std::to_string(b);
    } else {
      out += char(b);
    }
  }
  if (out.size() - start > 255) out.resize(start + 255);
}

bool ConfirmCutLines(Editor& e) {
  if (e.CutLines == 0 || e.CutConfirmed || e.FileName != e.BoundName) return true;
  int a = AskChoice(e, Texts::AskSaveCutLines);
  if (a != 1) return false;
  e.CutConfirmed = true;
  return true;
}

// Writes the whole text in mode to name as a transaction.
bool WriteCopy(Editor& e, const std::string& name, int mode) {
  AtomicFile f;
  if (!f.Open(name)) return false;
  if (!SaveLines(e, 1, e.LineCount, f.Fd(), mode)) return false;
  if (!f.Commit()) {
    ShowMessage(e, Texts::WriteError, 1);
    return false;
  }
  return true;
}

std::string Without(const std::string& name, char c) {
  std::string s = name;
  s.erase(s.find(c), 1);
  return s;
}

}  // namespace

bool SaveLines(Editor& e, int first, int last, int fd, int mode, bool quiet) {
  if (!quiet) {
    ShowMessage(e, Texts::Writing, 0);
    SetCursor(e, 133, 60);
    // A long write is a wait too: the notice must be on screen during it.
    ShowScreen(e);
  }
  const bool utf8 = e.FileCodePage == CodePage::Utf8;
  const std::string_view end = e.LineEnds == LineEnd::Lf ? "\n" : e.LineEnds == LineEnd::Cr ? "\r" : "\r\n";
  std::string buf, line;
  buf.reserve(1 << 16);
  // The mark begins a file, never the middle of one appended to.
  struct stat st {};
  if (utf8 && e.Utf8Bom && fstat(fd, &st) == 0 && st.st_size == 0) buf = "\xEF\xBB\xBF";
  bool ok = true;
  // The text is held in 866; a file that came in another code page goes back in it.
  const ByteMap* out = WriteMap(e.FileCodePage);
  for (int i = first; i <= last && ok; ++i) {
    if (utf8) {
      line.clear();
      EncodeLine(LineBytes(e, i), mode, line);
      buf += Utf8FromCp866(line);
    } else {
      const size_t start = buf.size();
      EncodeLine(LineBytes(e, i), mode, buf);
      if (out) RecodeBytes(buf.data() + start, buf.size() - start, *out);
    }
    buf += end;
    if (buf.size() >= (1 << 16) - 512) {
      ok = WriteFully(fd, buf.data(), buf.size());
      buf.clear();
    }
  }
  if (ok && !buf.empty()) ok = WriteFully(fd, buf.data(), buf.size());
  if (!quiet) {
    if (!ok) ShowMessage(e, Texts::WriteError, 1);
    ClearMessage(e);
  }
  return ok;
}

void SaveText(Editor& e) {
  e.OpFailed = 0;
  if (e.BoundName.empty()) {
    if (!AskSaveName(e)) {
      e.OpFailed = 1;
      return;
    }
  }
  if (e.Modified) {
    if (!ConfirmCutLines(e)) {
      e.OpFailed = 1;
      return;
    }
    for (;;) {
      AtomicFile f;
      if (f.Open(e.BoundName)) {
        if (!SaveLines(e, 1, e.LineCount, f.Fd(), SaveAsIs)) {
          e.OpFailed = 1;
          return;
        }
        if (f.Commit()) break;
      }
      ShowMessage(e, Texts::WriteError, 1);
      if (!AskSaveName(e)) {
        e.OpFailed = 1;
        return;
      }
    }
    e.Modified = false;
    e.LineSaved = false;
  }
  if (e.FileName.find('{') != std::string::npos) {
    if (!WriteCopy(e, Without(e.FileName, '{'), SaveControlsBlank)) ShowMessage(e, Texts::WriteError, 1);
  }
  if (e.FileName.find('}') != std::string::npos) {
    if (!WriteCopy(e, Without(e.FileName, '}'), SaveControlsCoded)) ShowMessage(e, Texts::WriteError, 1);
  }
}

std::string WriteEmergencyCopy(Editor& e) {
  if (!e.Modified || e.LineCount < 1) return {};
  std::string base = (e.BoundName.empty() ? std::string("lumo") : e.BoundName) + ".save";
  for (int n = 0; n < 1000; ++n) {
    std::string name = n == 0 ? base : base + "." + std::to_string(n);
    int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return {};
    }
    bool ok = SaveLines(e, 1, e.LineCount, fd, SaveAsIs, true) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok) {
      unlink(name.c_str());
      return {};
    }
    return name;
  }
  return {};
}

}  // namespace lumo

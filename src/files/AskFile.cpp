// AskFile is one loop: edit the name (in the asking modes), check it, open
// it, and on failure either report and go round again or report and give up.
// The opened file lives in the caller's OpenFile, so every way out of a
// command closes it, and a write that never finishes leaves the old file
// alone. Ctrl+F2 builds its target from the answer and the bare file name;
// the places where the rule meets POSIX paths are in ElsewhereTarget.
#include "files/AskFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/Load.h"
#include "files/Save.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "text/Cp866.h"
#include "text/LineStore.h"
#include "text/Texts.h"
#include "tools/PromptEditor.h"

namespace lumo {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Opening with O_NONBLOCK keeps a named pipe from stopping the editor; a
// regular file does not care, and the flag is taken off again.
int OpenRegular(const std::string& path, int flags) {
  int fd = open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  int fl = fcntl(fd, F_GETFL);
  if (fl != -1) fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  return fd;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool Asks(uint8_t mode) { return mode == AskRead || mode == AskWrite || mode == AskNameOnly; }
bool Reads(uint8_t mode) { return mode == AskRead || mode == AskReadGiven; }

// Opens name as mode wants; false when it cannot be had.
bool OpenAs(OpenFile& file, const std::string& name, uint8_t mode, bool append) {
  if (name.size() > MaxFileName) return false;
  if (mode == AskNameOnly) return true;
  const std::string path = HostPath(name);
  if (Reads(mode)) return file.OpenRead(path);
  if (append && IsRegularFile(path)) return file.OpenAppend(path);
  return file.OpenReplace(path);
}

std::string FailureText(uint8_t mode, const std::string& name) {
  if (mode == AskNameOnly) return std::string(Texts::BadFileName);
  if (Reads(mode)) return std::string(Texts::FileNotFound) + Cp(name);
  return std::string(Texts::WriteError);
}

enum class Written { Done, NotCreated, Failed };

// The whole text to path as a transaction. A failed write has been reported
// by SaveLines.
Written WriteWhole(Editor& e, const std::string& path, int mode) {
  OpenFile f;
  if (!f.OpenReplace(path)) return Written::NotCreated;
  if (!SaveLines(e, 1, e.LineCount, f.Fd(), mode)) return Written::Failed;
  if (!f.Finish()) {
    ShowMessage(e, Texts::WriteError, 1);
    return Written::Failed;
  }
  return Written::Done;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 || errno != ENOENT;
}

}  // namespace

bool OpenFile::OpenRead(const std::string& path) {
  Close();
  Fd_ = OpenRegular(path, O_RDONLY);
  if (Fd_ < 0) return false;
  How = Kind::Read;
  return true;
}

bool OpenFile::OpenReplace(const std::string& path) {
  Close();
  if (!Atomic.Open(path)) return false;
  How = Kind::Replace;
  return true;
}

// An append that fails halfway (a full disk) must not leave half a block at
// the file's end: the old bytes go into a new file first, and that file
// takes the old one's place only once the whole block follows them.
bool OpenFile::OpenAppend(const std::string& path) {
  Close();
  const int old = OpenRegular(path, O_RDONLY);
  if (old < 0) return false;
  bool ok = Atomic.Open(path);
  char buf[1 << 16];
  while (ok) {
    const ssize_t n = read(old, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    ok = WriteFully(Atomic.Fd(), buf, size_t(n));
  }
  close(old);
  if (!ok) {
    Atomic.Cancel();
    return false;
  }
  How = Kind::Append;
  return true;
}

bool OpenFile::Finish() {
  const bool ok = How != Kind::Replace && How != Kind::Append ? true : Atomic.Commit();
  Close();
  return ok;
}

void OpenFile::Close() {
  Atomic.Cancel();
  if (Fd_ >= 0) close(Fd_);
  Fd_ = -1;
  How = Kind::None;
}

std::string HostPath(std::string_view name) {
  std::string s(name);
  for (char& c : s)
    if (c == '\\') c = '/';
  return s;
}

std::string_view BareName(std::string_view name) {
  size_t i = name.size();
  while (i > 0 && !IsSeparator(name[i - 1])) --i;
  return name.substr(i);
}

void AskFile(Editor& e, std::string& name, OpenFile& file, uint8_t mode, KeyCode command) {
  const bool append = command == AskFileAppendKey;
  const std::string original = name;
  file.Close();
  e.OpFailed = 0;
  for (;;) {
    if (Asks(mode)) {
      ShowMessage(e, Texts::AskFileName, 22);
      PromptText answer;
      // Names are the system's UTF-8; the prompt edits them in code page 866.
      answer.Set(Cp(name));
      PromptEditor(e, answer, PromptOther);
      DrawStatus(e);
      if (e.OpFailed != 0) {
        e.OpFailed = 1;
        break;
      }
      name = Utf8FromCp866(answer.View());
    }
    if (name.empty()) {
      ShowMessage(e, std::string(Texts::FileNotFound) + Cp(name), 1);
      if (mode == AskRead) continue;
      e.OpFailed = 1;
      break;
    }
    if (OpenAs(file, name, mode, append)) break;
    ShowMessage(e, FailureText(mode, name), 1);
    if (!Asks(mode)) {
      e.OpFailed = 1;
      break;
    }
  }
  // A name the text cannot hold is never handed back.
  if (name.size() > MaxFileName) name = original;
  ClearMessage(e);
}

bool AskSaveName(Editor& e) {
  std::string name = e.BoundName.empty() ? e.FileName : e.BoundName;
  OpenFile probe;
  AskFile(e, name, probe, AskWrite);
  if (e.OpFailed != 0) return false;
  // The save writes the file itself; opening it has shown the place takes a
  // file, and closing the unfinished replacement leaves any old file alone.
  probe.Close();
  e.FileName = e.BoundName = HostPath(name);
  return true;
}

bool AskStartupName(Editor& e, const std::string& tried) {
  std::string name = tried.size() > MaxFileName ? std::string() : tried;
  OpenFile none;
  AskFile(e, name, none, AskNameOnly);
  if (e.OpFailed != 0) {
    e.OpFailed = 0;
    e.FileName.clear();
    e.BoundName.clear();
    return false;
  }
  // The failed load left one blank line; the next load starts from none.
  FreeAllLines(e);
  e.FileName = HostPath(name);
  return true;
}

std::string ElsewhereTarget(std::string_view answer, std::string_view fileName) {
  // A drive letter alone or in front of a path: there are no drives, and
  // guessing a directory for one could put the copy somewhere unexpected.
  if (answer.size() == 1 || (answer.size() >= 2 && answer[1] == ':')) return {};
  std::string dir = HostPath(answer);
  // Like a path without a drive, a directory is taken from the root.
  if (dir.front() != '/') dir.insert(dir.begin(), '/');
  if (dir.back() != '/') dir += '/';
  return dir + std::string(BareName(fileName));
}

void SaveElsewhere(Editor& e, uint8_t mode, const std::string& target) {
  e.OpFailed = 0;
  if (mode != 0) {
    if (WriteWhole(e, HostPath(target), mode) == Written::NotCreated) {
      ShowMessage(e, Texts::WriteError, 1);
      e.OpFailed = 1;
    }
    return;
  }
  if (e.FileName.empty()) return;
  PromptText answer;
  for (;;) {
    ShowMessage(e, Texts::AskDirectory, 22);
    PromptEditor(e, answer, PromptOther);
    if (e.OpFailed != 0) {
      e.OpFailed = 1;
      ClearMessage(e);
      return;
    }
    if (answer.Length > 0) break;
  }
  ClearMessage(e);
  std::string path = ElsewhereTarget(Utf8FromCp866(answer.View()), e.FileName);
  if (path.empty()) {
    ShowMessage(e, Texts::NoDrives, 1);
    e.OpFailed = 1;
    return;
  }
  WriteAt(e, 1, 1, path + std::string(11, ' '), 0x0B);
  Written w = WriteWhole(e, path, SaveAsIs);
  if (w == Written::NotCreated) {
    // The second try, the name below its first directory relative to here,
    // is made only where nothing is yet: it must never replace a file the
    // user did not name, least of all the edited file itself.
    const std::string& name = e.FileName;
    size_t sep = name.find_first_of("/\\");
    if (sep != std::string::npos && sep + 1 < name.size()) {
      std::string second = HostPath(std::string_view(name).substr(sep + 1));
      if (!Exists(second)) {
        path = second;
        w = WriteWhole(e, path, SaveAsIs);
      }
    }
  }
  if (w == Written::NotCreated)
    ShowMessage(e, std::string(Texts::BadPathBefore) + Cp(path) + std::string(Texts::BadPathAfter), 1);
  if (w != Written::Done) e.OpFailed = 1;
}

Reentry SaveElsewhereKey(Editor& e, KeyCode) {
  SaveElsewhere(e, 0);
  return Reentry::Redraw;
}

}  // namespace lumo

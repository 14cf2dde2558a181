// The answer ring and its file. The ring is 16 strings of at most 53 bytes
// with a current index; the file lists the slots from the current one
// backwards (line k is slot index - k + 1, modulo 16), then the saved search
// case as a decimal number, each line ended by CR LF. Reading is forgiving,
// because the file may have been edited by hand or damaged: any bytes, lines
// of any length (cut to 53), missing lines (empty slots). Writing goes to a
// temporary file beside the target that is renamed over it, so the old
// history survives a failed or interrupted write.
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/PromptEditor.h"

namespace lumo {
namespace {

constexpr size_t SlotBytes = 53;
constexpr int SlotLines = 16;

// Reads lines of a file descriptor, keeping at most `keep` bytes of each.
// CR, LF and CR LF all end a line; a read error ends the file.
class LineReader {
 public:
  explicit LineReader(int fd) : Fd(fd) {}
  // False at the end of the file; line is then empty.
  bool Next(std::string& line, size_t keep) {
    line.clear();
    bool any = false;
    for (;;) {
      int c = Get();
      if (c < 0) return any;
      any = true;
      if (c == '\n') return true;
      if (c == '\r') {
        if (Peek() == '\n') Get();
        return true;
      }
      if (line.size() < keep) line += char(c);
    }
  }

 private:
  int Get() {
    int c = Peek();
    if (c >= 0) ++Pos;
    return c;
  }
  int Peek() {
    if (Pos == Len && !Fill()) return -1;
    return uint8_t(Buf[Pos]);
  }
  bool Fill() {
    if (Eof) return false;
    ssize_t n;
    do n = read(Fd, Buf, sizeof Buf);
    while (n < 0 && errno == EINTR);
    if (n <= 0) {
      Eof = true;
      return false;
    }
    Pos = 0;
    Len = size_t(n);
    return true;
  }
  int Fd;
  char Buf[4096];
  size_t Pos = 0, Len = 0;
  bool Eof = false;
};

// A decimal signed byte, with optional blanks around it.
bool ParseSignedByte(const std::string& s, int8_t& out) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  int value = 0, digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    value = value * 10 + (s[i++] - '0');
    if (++digits > 3) return false;
  }
  while (i < s.size() && s[i] == ' ') ++i;
  if (digits == 0 || i != s.size()) return false;
  if (negative) value = -value;
  if (value < -128 || value > 127) return false;
  out = int8_t(value);
  return true;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

// Replaces path by bytes in one step: written beside it, flushed, renamed
// over it. A link is followed so that the link stays a link.
bool ReplaceFile(const std::string& path, const std::string& bytes) {
  std::string target = path;
  struct stat st {};
  if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char real[PATH_MAX];
    if (realpath(path.c_str(), real)) target = real;
  }
  const bool existed = stat(target.c_str(), &st) == 0;
  if (existed && !S_ISREG(st.st_mode)) return false;
  std::string temp = target + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  bool ok = (!existed || fchmod(fd, st.st_mode & 07777) == 0) && WriteAll(fd, bytes) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) ok = rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace

void StorePromptAnswer(Editor& e, std::string_view answer) {
  uint8_t i = e.PromptIndex;
  for (int n = 0; n < 15; ++n) {
    i = uint8_t((i + 1) & 15);
    if (e.PromptSlot[i].empty()) break;
  }
  e.PromptSlot[i] = std::string(answer.substr(0, SlotBytes));
  e.PromptIndex = i;
}

void ReadPromptHistory(Editor& e) {
  if (e.HistoryFile.empty()) return;
  // Without O_NONBLOCK a FIFO of that name would hold the start-up forever;
  // only a plain file is a history file.
  int fd = open(e.HistoryFile.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return;
  }
  LineReader in(fd);
  std::string line;
  for (int k = 1; k <= SlotLines; ++k) {
    in.Next(line, SlotBytes);
    e.PromptSlot[(e.PromptIndex - k + 1) & 15] = line;
  }
  // The saved case belongs to the file as a whole; a ring already browsed
  // or stored into keeps the case of this run.
  int8_t value = 0;
  if (e.PromptIndex == 0 && in.Next(line, 8) && ParseSignedByte(line, value)) e.SavedSearchCase = value;
  close(fd);
  e.SearchText = e.PromptSlot[e.PromptIndex];
}

void WritePromptHistory(Editor& e) {
  if (e.HistoryFile.empty()) return;
  if (e.PrepareSideFile && !e.PrepareSideFile(e.HistoryFile)) return;
  std::string text;
  for (int k = 1; k <= SlotLines; ++k) {
    std::string slot = e.PromptSlot[(e.PromptIndex - k + 1) & 15].substr(0, SlotBytes);
    // A line end inside an answer (Ctrl+J typed into it) would
    // shift every later slot by a line when the file is read back.
    for (char& c : slot)
      if (c == '\r' || c == '\n') c = ' ';
    text += slot;
    text += "\r\n";
  }
  text += std::to_string(int(e.SavedSearchCase));
  text += "\r\n";
  ReplaceFile(e.HistoryFile, text);
}

}  // namespace lumo

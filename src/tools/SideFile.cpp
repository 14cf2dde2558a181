// Side files are read whole into memory, up to a limit the caller chooses,
// and written through AtomicFile like the edited file itself.
#include "tools/SideFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/AtomicFile.h"
#include "tools/SidePaths.h"

namespace lumo {

bool ReadSideFile(const std::string& path, std::string& bytes, size_t limit) {
  bytes.clear();
  if (path.empty()) return false;
  // Without O_NONBLOCK a FIFO of that name would hold the editor forever;
  // only a plain file is a side file.
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  // A file that grows or shrinks while it is read is taken as far as it goes;
  // a read error ends it like its end would.
  ReadUpTo(fd, bytes, limit);
  close(fd);
  return true;
}

bool ReadUpTo(int fd, std::string& bytes, size_t limit) {
  char buf[1 << 14];
  while (bytes.size() < limit) {
    const ssize_t n = read(fd, buf, std::min(sizeof buf, limit - bytes.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n == 0;
    bytes.append(buf, size_t(n));
  }
  return true;
}

bool WriteSideFile(const std::string& path, std::string_view bytes) {
  // Only the private state directory is made on demand; a directory the user
  // named with an option is used as it is.
  const std::string dir = StateDirectory();
  if (path.compare(0, dir.size(), dir) == 0 && !EnsureStateDirectory()) return false;
  AtomicFile f;
  return f.Open(path, 0600) && WriteFully(f.Fd(), bytes.data(), bytes.size()) && f.Commit();
}

bool SideLines::Next(std::string_view& line, size_t keep) {
  if (Rest.empty()) {
    line = {};
    return false;
  }
  const size_t end = Rest.find_first_of("\r\n");
  line = Rest.substr(0, std::min(end, keep));
  if (end == std::string_view::npos) {
    Rest = {};
  } else {
    const bool crlf = Rest[end] == '\r' && end + 1 < Rest.size() && Rest[end + 1] == '\n';
    Rest.remove_prefix(end + (crlf ? 2 : 1));
  }
  return true;
}

void AddSideLine(std::string& out, std::string_view line) {
  const size_t at = out.size();
  out += line;
  for (size_t i = at; i < out.size(); ++i)
    if (out[i] == '\r' || out[i] == '\n') out[i] = ' ';
  out += "\r\n";
}

}  // namespace lumo

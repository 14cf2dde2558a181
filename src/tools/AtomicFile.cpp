#include "tools/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {
namespace {

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

AtomicFile* OpenFiles = nullptr;
WriteFunction WriteSeam = nullptr;

mode_t CurrentUmask() {
  mode_t m = umask(0);
  umask(m);
  return m;
}

}  // namespace

bool AtomicFile::Open(const std::string& target, mode_t newMode) {
  Cancel();
  if (target.empty()) return false;
  Target = target;
  struct stat st {};
  if (lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    // Replace the file the link points to, not the link.
    char real[PATH_MAX];
    if (realpath(target.c_str(), real)) Target = real;
  }
  Existed = stat(Target.c_str(), &st) == 0;
  if (Existed) {
    if (!S_ISREG(st.st_mode)) return false;
    // A rename would replace a file we may not write; refuse as writing it would.
    if (access(Target.c_str(), W_OK) != 0) return false;
    Mode = st.st_mode & 07777;
    Owner = st.st_uid;
    Group = st.st_gid;
  } else {
    Mode = newMode & ~CurrentUmask();
  }
  std::string dir = DirectoryOf(Target);
  size_t slash = Target.rfind('/');
  std::string base = slash == std::string::npos ? Target : Target.substr(slash + 1);
  Temp = dir + "/." + base + ".lumo-XXXXXX";
  Fd_ = mkostemp(Temp.data(), O_CLOEXEC);
  if (Fd_ < 0) {
    Temp.clear();
    return false;
  }
  Link();
  return true;
}

bool AtomicFile::Commit() {
  if (Fd_ < 0) return false;
  Unlink();
  bool ok = fchmod(Fd_, Mode) == 0;
  if (Existed) {
    // Keeping the group (and the owner when we may) keeps shared files shared.
    if (fchown(Fd_, Owner, Group) != 0 && fchown(Fd_, uid_t(-1), Group) != 0) {
    }
  }
  ok = ok && fsync(Fd_) == 0;
  ok = close(Fd_) == 0 && ok;
  Fd_ = -1;
  if (!ok || rename(Temp.c_str(), Target.c_str()) != 0) {
    unlink(Temp.c_str());
    Temp.clear();
    return false;
  }
  Temp.clear();
  int dfd = open(DirectoryOf(Target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    fsync(dfd);
    close(dfd);
  }
  return true;
}

void AtomicFile::Cancel() {
  Unlink();
  if (Fd_ >= 0) close(Fd_);
  Fd_ = -1;
  if (!Temp.empty()) unlink(Temp.c_str());
  Temp.clear();
}

bool WriteFully(int fd, const char* data, size_t n) {
  while (n > 0) {
    long w = WriteSeam ? WriteSeam(fd, data, n) : long(write(fd, data, n));
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    data += w;
    n -= size_t(w);
  }
  return true;
}

void SetWriteSeam(WriteFunction f) { WriteSeam = f; }

void AtomicFile::CancelAll() {
  while (OpenFiles) OpenFiles->Cancel();
}

void AtomicFile::Link() {
  if (Linked) return;
  NextOpen = OpenFiles;
  OpenFiles = this;
  Linked = true;
}

void AtomicFile::Unlink() {
  if (!Linked) return;
  for (AtomicFile** p = &OpenFiles; *p; p = &(*p)->NextOpen) {
    if (*p == this) {
      *p = NextOpen;
      break;
    }
  }
  NextOpen = nullptr;
  Linked = false;
}

}  // namespace lumo

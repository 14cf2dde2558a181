// A file written as a transaction: the bytes go to a temporary file in the
// target's directory, which is flushed to disk and renamed over the target
// only on Commit. Until then, and on every way out without Commit, the old
// file stays as it was and the temporary file is removed. The edited file and
// the side files are both written this way.
#pragma once
#include <cstddef>
#include <string>
#include <sys/types.h>

namespace lumo {

class AtomicFile {
 public:
  AtomicFile() = default;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;
  ~AtomicFile() { Cancel(); }

  // False when the target cannot be written: a directory, a file we may not
  // write, or a directory where no file can be created. A target that does
  // not exist yet gets newMode less the umask.
  bool Open(const std::string& target, mode_t newMode = 0666);
  int Fd() const { return Fd_; }
  bool Commit();
  void Cancel();
  // Cancels every file still open: for a way out that ends the process
  // without unwinding (a hang-up, SIGTERM), where no destructor would.
  static void CancelAll();

 private:
  void Link();
  void Unlink();

  AtomicFile* NextOpen = nullptr;  // the files with a temporary file, newest first
  bool Linked = false;
  int Fd_ = -1;
  std::string Temp;
  std::string Target;   // the real file (a link's target)
  mode_t Mode = 0;
  bool Existed = false;
  uid_t Owner = 0;
  gid_t Group = 0;
};

// Writes n bytes to fd, going on after short and interrupted writes; false
// when a write fails or makes no progress.
bool WriteFully(int fd, const char* data, size_t n);

// Tests make writes fail at any byte by standing in for write(2) in
// WriteFully: the function returns how many of the n bytes it wrote, or -1
// with errno set. nullptr gives the real write back.
using WriteFunction = long (*)(int fd, const void* data, unsigned long n);
void SetWriteSeam(WriteFunction f);

}  // namespace lumo

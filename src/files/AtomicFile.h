// A file written as a transaction: the bytes go to a temporary file in the
// target's directory, which is flushed to disk and renamed over the target
// only on Commit. Until then, and on every way out without Commit, the old
// file stays as it was and the temporary file is removed.
#pragma once
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
  // write, or a directory where no file can be created.
  bool Open(const std::string& target);
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

}  // namespace lumo

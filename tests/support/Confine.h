// The editor writes wherever a typed name points, and an answer typed at the
// "save elsewhere" prompt is taken from the root: a fuzzer that feeds keys
// and runs as root would soon leave files in /etc. So, where it can, the
// process confines itself first: in a mount namespace of its own every mount
// is read-only except the current directory (libFuzzer's corpus and
// findings, the runs' private directories in tmp/ below it; names typed
// without a directory land there too). Run it from a scratch directory.
#pragma once
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzFail.h"

namespace lumo::test {

// Mount points from /proc/self/mountinfo (field 5, with its octal escapes).
inline std::vector<std::string> MountPoints() {
  std::vector<std::string> points;
  std::ifstream in("/proc/self/mountinfo");
  for (std::string line, skip, raw; std::getline(in, line);) {
    std::istringstream fields(line);
    if (!(fields >> skip >> skip >> skip >> skip >> raw)) continue;
    std::string& p = points.emplace_back();
    for (size_t i = 0; i < raw.size(); ++i) {
      const bool escape = raw[i] == '\\' && i + 3 < raw.size();
      p += escape ? char((raw[i + 1] - '0') * 64 + (raw[i + 2] - '0') * 8 + (raw[i + 3] - '0')) : raw[i];
      if (escape) i += 3;
    }
  }
  return points;
}

inline void Confine(const char* target) {
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) return;
  if (geteuid() != 0) return;  // an ordinary user's writes reach only their own files
  if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    std::fprintf(stderr, "%s: running as root without a mount namespace of its own; "
                         "typed file names may write anywhere\n", target);
    return;
  }
  for (const std::string& p : MountPoints())
    mount(nullptr, p.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
  // The runs' private directories go below the current directory too: a
  // fresh /tmp would hide that directory when it lies under /tmp itself.
  const bool here = mount(cwd, cwd, nullptr, MS_BIND, nullptr) == 0 &&
                    mount(nullptr, cwd, nullptr, MS_REMOUNT | MS_BIND, nullptr) == 0 && chdir(cwd) == 0;
  const std::string tmp = std::string(cwd) + "/tmp";
  const bool made = here && (mkdir(tmp.c_str(), 0700) == 0 || errno == EEXIST);
  if (!here || !made)
    FuzzFail(target, "could not set up the confinement in " + std::string(cwd));
  setenv("TMPDIR", tmp.c_str(), 1);
}

}  // namespace lumo::test

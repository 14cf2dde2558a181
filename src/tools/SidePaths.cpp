#include "tools/SidePaths.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace lumo {
namespace {

bool IsFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

std::string StateDirectory() {
  const char* xdg = std::getenv("XDG_STATE_HOME");
  if (xdg && *xdg == '/') return std::string(xdg) + "/lumo/";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/state/lumo/";
}

bool EnsureStateDirectory() {
  std::string dir = StateDirectory();
  // Create each missing level; only the last one is ours and private.
  for (size_t i = 1; i < dir.size(); ++i) {
    if (dir[i] != '/') continue;
    std::string part = dir.substr(0, i);
    struct stat st {};
    if (stat(part.c_str(), &st) == 0) continue;
    bool last = i + 1 == dir.size();
    if (mkdir(part.c_str(), last ? 0700 : 0755) != 0) return false;
  }
  return true;
}

std::string ProgramPath() {
  char buf[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return {};
  return std::string(buf, size_t(n));
}

bool FindSideFile(std::string& name, const std::string& programPath) {
  if (IsFile(name)) return true;
  if (name.size() > 12) return false;
  size_t slash = programPath.rfind('/');
  if (slash == std::string::npos) return false;
  std::string dir = programPath.substr(0, slash + 1);
  for (const std::string& candidate : {dir + name, dir + "../share/lumo/" + name}) {
    if (IsFile(candidate)) {
      name = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace lumo

// Key streams through the real main loop. The input is a list of records:
// two bytes (a, b) are one action of the realistic key mix, a record
// starting with 0xFF is a raw key value (the four bytes after it, little
// endian), so that any key at all can come at any point, and one starting
// with 0xFE is a paste: a length byte n, then n bytes of pasted text (scaled
// by the byte after them: that many copies, so a paste can reach the limits). Byte 0 chooses the
// window and the memory budget. At most 2000 keys per input.
//
// The whole state is checked before every key (StressRun); a fault aborts
// with what was wrong after which key.
//
// The editor writes wherever a typed name points, and an answer typed at the
// "save elsewhere" prompt is taken from the root: a fuzzer running as root
// would soon leave files in /etc. So, where it can, the process confines
// itself first: in a mount namespace of its own every mount is read-only
// except the current directory (libFuzzer's corpus and findings, the runs'
// private directories in tmp/ below it; names typed without a directory
// land there too). Run it from a scratch directory, with its inputs under it.
#include <sched.h>
#include <sys/stat.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzFail.h"
#include "KeyMix.h"
#include "StressRun.h"

namespace {

using namespace lumo;
using namespace lumo::test;

constexpr size_t MaxKeys = 2000;

// Mount points from /proc/self/mountinfo (field 5, with its octal escapes).
std::vector<std::string> MountPoints() {
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

void Confine() {
  char cwd[PATH_MAX];
  if (!getcwd(cwd, sizeof cwd)) return;
  if (geteuid() != 0) return;  // an ordinary user's writes reach only their own files
  if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
    std::fprintf(stderr, "key stream: running as root without a mount namespace of its own; "
                         "typed file names may write anywhere\n");
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
    lumo::test::FuzzFail("key stream", "could not set up the confinement in " + std::string(cwd));
  setenv("TMPDIR", tmp.c_str(), 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Confine();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The everyday window, a narrow and short one (scrolling at every other
  // key), and a budget the text barely fits (refusals).
  static constexpr struct { int W, H; size_t Budget; } Setups[] = {{80, 25, lumo::DefaultBudget}, {20, 6, lumo::DefaultBudget},
                                     {80, 25, lumo::TableBytes + 2000}, {132, 3, lumo::DefaultBudget}};
  const auto& s = Setups[data[0] % std::size(Setups)];
  StressRun r(lumo::test::StressText, s.W, s.H, s.Budget);
  KeyMix mix(data[0], r.Dir.Path);

  std::vector<KeyCode> keys;
  for (size_t i = 1; i + 1 < size && keys.size() < MaxKeys;) {
    if (data[i] == 0xFE) {
      const size_t n = i + 1 < size ? data[i + 1] : 0;
      if (i + 3 + n > size) break;
      std::string text;
      const std::string_view piece(reinterpret_cast<const char*>(data + i + 2), n);
      for (int copies = 1 + data[i + 2 + n] * 64; copies > 0; --copies) text += piece;
      keys.push_back(lumo::keys::Paste);
      r.Con.Pastes.push_back(std::move(text));
      i += 3 + n;
      continue;
    }
    if (data[i] == 0xFF) {
      if (i + 5 > size) break;
      keys.push_back(KeyCode(data[i + 1] | data[i + 2] << 8 | data[i + 3] << 16 | uint32_t(data[i + 4]) << 24));
      i += 5;
      continue;
    }
    mix.Plan(data[i], data[i + 1]);
    i += 2;
    while (mix.Queued() > 0 && keys.size() < MaxKeys) keys.push_back(mix.Next());
  }

  size_t next = 0;
  if (!r.Run([&] { return keys[next++]; }, long(keys.size()))) lumo::test::FuzzFail("key stream", r.Fault);
  return 0;
}

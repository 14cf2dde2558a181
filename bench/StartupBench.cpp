// Start-up of the real program in an 80x25 pseudo-terminal: from the fork
// that execs it to the last byte of its first screen. The status row is
// drawn after the window, so the screen is complete once the row's line
// count has arrived and nothing more follows for a while.
#include "Bench.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include "text/TextState.h"

namespace lumo::bench {
namespace {

constexpr int QuietMs = 100;  // no byte for this long after the status row: the screen stands

struct Sample {
  double Us = 0;
  size_t Bytes = 0;
  long PeakKb = -1;
};

bool OneStart(const std::string& binary, const std::string& path, int lines, Sample& out, std::string& why) {
  struct winsize ws {};
  ws.ws_col = 80;
  ws.ws_row = 25;
  int master = -1;
  std::fflush(nullptr);
  const auto t0 = Clock::now();
  const pid_t pid = forkpty(&master, nullptr, nullptr, &ws);
  if (pid < 0) {
    why = "forkpty failed";
    return false;
  }
  if (pid == 0) {
    setenv("TERM", "xterm-256color", 1);
    unsetenv("LUMO_MEMORY_BUDGET");  // the default budget, as the rows in process have
    execl(binary.c_str(), "lumo", "-W", path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const std::string status = "size=" + std::to_string(lines);
  std::string seen;
  auto last = t0;
  bool complete = false;
  for (;;) {
    struct pollfd p {master, POLLIN, 0};
    if (poll(&p, 1, complete ? QuietMs : 5000) <= 0) break;
    char buf[65536];
    const ssize_t n = read(master, buf, sizeof buf);
    if (n <= 0) break;
    last = Clock::now();
    const size_t from = seen.size() > status.size() ? seen.size() - status.size() : 0;
    seen.append(buf, size_t(n));
    complete = complete || seen.find(status, from) != std::string::npos;
  }
  out = {Micros(last - t0), seen.size(), PeakKb(pid)};
  // Ctrl+Alt+Backspace ends the program at once, writing nothing.
  if (write(master, "\x1b\x08", 2) != 2) kill(pid, SIGTERM);
  int st = 0;
  waitpid(pid, &st, 0);
  close(master);
  if (!complete) why = "the first screen never showed the text's line count";
  return complete;
}

}  // namespace

bool StartUpRow(const std::string& binary, const std::string& path, int lines, const std::string& name, int runs,
                Row& row, std::string& why) {
  std::vector<double> us;
  Sample s;
  long peak = -1;
  for (int i = 0; i < runs; ++i) {
    if (!OneStart(binary, path, lines, s, why)) return false;
    us.push_back(s.Us);
    peak = std::max(peak, s.PeakKb);
  }
  std::sort(us.begin(), us.end());
  row = {name, us[us.size() / 2], double(s.Bytes), peak, runs, 1};
  return true;
}

}  // namespace lumo::bench

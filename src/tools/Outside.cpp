// The child gets the default dispositions of the signals the editor handles
// or ignores, so an interrupt typed at the terminal ends it; the editor
// ignores SIGINT and SIGQUIT while it waits, so the same keys never end the
// editor (whose text is not saved). A time limit is kept by polling: the
// helpers it is meant for end within milliseconds, and a hung one is killed.
#include "tools/Outside.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace lumo {
namespace {

constexpr int PollMs = 10;
// A clipboard helper ends within milliseconds; one that hangs (a clipboard
// owner that never answers) is given up after this long.
constexpr int ClipexLimitMs = 3000;

struct IgnoredInterrupts {
  struct sigaction Int {}, Quit {};
  IgnoredInterrupts() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGINT, &ignore, &Int);
    sigaction(SIGQUIT, &ignore, &Quit);
  }
  ~IgnoredInterrupts() {
    sigaction(SIGINT, &Int, nullptr);
    sigaction(SIGQUIT, &Quit, nullptr);
  }
};

[[noreturn]] void Exec(const std::vector<std::string>& argv) {
  for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGWINCH, SIGXFSZ, SIGPIPE}) signal(sig, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  _exit(127);
}

int Wait(pid_t pid, int limitMs) {
  int status = 0;
  for (int waited = 0;;) {
    const pid_t r = waitpid(pid, &status, limitMs > 0 ? WNOHANG : 0);
    if (r == pid) break;
    if (r < 0 && errno != EINTR) return -1;
    if (r == 0) {
      if (waited >= limitMs) {
        kill(pid, SIGKILL);
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return -1;
      }
      const timespec pause{0, PollMs * 1000000L};
      nanosleep(&pause, nullptr);
      waited += PollMs;
    }
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status) == 127 ? -1 : WEXITSTATUS(status);
  return -1;
}

}  // namespace

int RunProgram(Console* con, const std::vector<std::string>& argv, RunOptions options) {
  if (argv.empty() || argv[0].empty()) return -1;
  const bool terminal = options.UsesTerminal && con;
  if (terminal) con->Suspend();
  int result = -1;
  {
    IgnoredInterrupts guard;
    const pid_t pid = fork();
    if (pid == 0) Exec(argv);
    if (pid > 0) result = Wait(pid, options.TimeLimitMs);
  }
  if (terminal) con->Resume();
  return result;
}

int RunClipex(const Editor& e, char how) {
  const std::string arg = how + e.ClipFile;
  RunOptions quiet{false, ClipexLimitMs};
  if (const char* comspec = std::getenv("COMSPEC"); comspec && *comspec)
    return RunProgram(nullptr, {comspec, "/C", "Clipex.exe", arg}, quiet);
  // The helper installed beside this program first, then whatever PATH has.
  std::string helper = "lumo-clipex";
  if (const size_t slash = e.ProgramPath.rfind('/'); slash != std::string::npos) {
    const std::string beside = e.ProgramPath.substr(0, slash + 1) + helper;
    if (access(beside.c_str(), X_OK) == 0) helper = beside;
  }
  return RunProgram(nullptr, {helper, arg}, quiet);
}

int RunInterpreter(Editor& e, std::string_view comspecLine, const std::string& shellCommand) {
  const char* comspec = std::getenv("COMSPEC");
  if (!comspec || !*comspec) return RunProgram(e.Con, {"/bin/sh", "-c", shellCommand});
  std::vector<std::string> argv{comspec};
  for (size_t i = 0; i < comspecLine.size();) {
    const size_t start = comspecLine.find_first_not_of(' ', i);
    if (start == std::string_view::npos) break;
    const size_t end = std::min(comspecLine.find(' ', start), comspecLine.size());
    argv.emplace_back(comspecLine.substr(start, end - start));
    i = end;
  }
  return RunProgram(e.Con, argv);
}

std::string ShellQuote(std::string_view s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') q += "'\\''";
    else q += c;
  }
  return q + "'";
}

}  // namespace lumo

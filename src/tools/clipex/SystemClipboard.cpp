// Each tool is run directly with an argument vector and fed or read through
// a pipe; a tool that is not on PATH is skipped. OSC 52 needs no tool, so
// copying always has a way; reading the clipboard through the terminal is
// not offered, since a terminal that does not answer would hang the read.
#include "tools/clipex/SystemClipboard.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lumo {
namespace {

bool OnPath(const char* program) {
  const char* path = std::getenv("PATH");
  if (!path) return false;
  std::string_view dirs(path);
  for (size_t at = 0; at <= dirs.size();) {
    size_t end = dirs.find(':', at);
    if (end == std::string_view::npos) end = dirs.size();
    const std::string file = std::string(dirs.substr(at, end - at)) + "/" + program;
    if (access(file.c_str(), X_OK) == 0) return true;
    at = end + 1;
  }
  return false;
}

bool Set(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

// Runs argv with input on its stdin (write) or its stdout into output
// (read). True when it ran and exited with 0.
bool Run(const std::vector<const char*>& argv, const std::string* input, std::string* output, size_t limit) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    if (input) dup2(fds[0], STDIN_FILENO);
    else dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> args;
    for (const char* a : argv) args.push_back(const_cast<char*>(a));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  signal(SIGPIPE, SIG_IGN);
  bool ok = true;
  if (input) {
    close(fds[0]);
    for (size_t at = 0; at < input->size();) {
      const ssize_t n = write(fds[1], input->data() + at, input->size() - at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ok = false;
        break;
      }
      at += size_t(n);
    }
    close(fds[1]);
  } else {
    close(fds[1]);
    char buf[1 << 16];
    for (;;) {
      const ssize_t n = read(fds[0], buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      if (output->size() < limit) output->append(buf, size_t(n) < limit - output->size() ? size_t(n) : limit - output->size());
    }
    close(fds[0]);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string Base64(const std::string& s) {
  static constexpr char Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (size_t i = 0; i < s.size(); i += 3) {
    const uint32_t n = uint32_t(uint8_t(s[i])) << 16 | (i + 1 < s.size() ? uint32_t(uint8_t(s[i + 1])) << 8 : 0) |
                       (i + 2 < s.size() ? uint8_t(s[i + 2]) : 0);
    out += Digits[n >> 18 & 63];
    out += Digits[n >> 12 & 63];
    out += i + 1 < s.size() ? Digits[n >> 6 & 63] : '=';
    out += i + 2 < s.size() ? Digits[n & 63] : '=';
  }
  return out;
}

bool Osc52(const std::string& utf8) {
  const std::string seq = "\x1b]52;c;" + Base64(utf8) + "\x07";
  int fd = isatty(STDOUT_FILENO) ? STDOUT_FILENO : open("/dev/tty", O_WRONLY | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  size_t at = 0;
  while (at < seq.size()) {
    const ssize_t n = write(fd, seq.data() + at, seq.size() - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    at += size_t(n);
  }
  if (fd != STDOUT_FILENO) close(fd);
  return at == seq.size();
}

}  // namespace

bool CopyToSystem(const std::string& utf8) {
  if (Set("WAYLAND_DISPLAY") && OnPath("wl-copy") && Run({"wl-copy"}, &utf8, nullptr, 0)) return true;
  if (Set("DISPLAY") && OnPath("xclip") && Run({"xclip", "-selection", "clipboard", "-in"}, &utf8, nullptr, 0)) return true;
  if (Set("DISPLAY") && OnPath("xsel") && Run({"xsel", "--clipboard", "--input"}, &utf8, nullptr, 0)) return true;
  return Osc52(utf8);
}

bool PasteFromSystem(std::string& utf8, size_t limit) {
  utf8.clear();
  if (Set("WAYLAND_DISPLAY") && OnPath("wl-paste") && Run({"wl-paste", "--no-newline"}, nullptr, &utf8, limit)) return true;
  utf8.clear();
  if (Set("DISPLAY") && OnPath("xclip") && Run({"xclip", "-selection", "clipboard", "-out"}, nullptr, &utf8, limit)) return true;
  utf8.clear();
  if (Set("DISPLAY") && OnPath("xsel") && Run({"xsel", "--clipboard", "--output"}, nullptr, &utf8, limit)) return true;
  utf8.clear();
  return false;
}

}  // namespace lumo

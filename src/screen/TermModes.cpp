// Terminal modes, the raw tty and the signal handlers that must undo them.
// Everything a signal handler reads is static and fixed before the handler
// can run: the saved termios, the off bytes (copied into a char array), the
// descriptors. Handlers call only write, tcsetattr, sigaction and raise.
//
// Escape sequences sent from this file (ModeTable):
//   CSI ? 1049 h / l    alternate screen on / off
//   CSI 0 m             attributes reset on entering and leaving
//   CSI ? 7 l / h       autowrap off / on (the last column must not wrap)
//   CSI ? 25 l / h      cursor hidden / shown
//   CSI > 4 ; 2 m / CSI > 4 m   xterm modifyOtherKeys level 2 / reset
//   CSI > 1 u / CSI < u         kitty keyboard flags: push disambiguate / pop
//   CSI ? 1036 h / l    metaSendsEscape on / off
//   CSI ? 2004 h / l    bracketed paste on / off
#include "screen/TermModes.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "text/Texts.h"

namespace lumo {
namespace {

constexpr TermMode Modes[] = {
    {"alternate screen", "\x1b[?1049h", "\x1b[?1049l"},
    {"attributes", "\x1b[0m", "\x1b[0m"},
    {"autowrap", "\x1b[?7l", "\x1b[?7h"},
    {"cursor", "\x1b[?25l", "\x1b[?25h"},
    {"modifyOtherKeys", "\x1b[>4;2m", "\x1b[>4m"},
    {"kitty keyboard flags", "\x1b[>1u", "\x1b[<u"},
    {"metaSendsEscape", "\x1b[?1036h", "\x1b[?1036l"},
    {"bracketed paste", "\x1b[?2004h", "\x1b[?2004l"},
};

constexpr int FatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGINT, SIGQUIT};
constexpr int FlagSignals[] = {SIGTERM, SIGHUP, SIGWINCH};
// A write past the file size limit would end the process with the text
// unsaved; ignored, the write fails with EFBIG and the save reports it.
constexpr int IgnoredSignals[] = {SIGXFSZ};
constexpr size_t SignalCount = std::size(FatalSignals) + std::size(FlagSignals) + std::size(IgnoredSignals);

struct termios Saved;
bool HaveSaved = false;
volatile sig_atomic_t Active = 0;
int InFd = -1, OutFd = -1;
char OffBytes[256];
size_t OffLen = 0;

volatile sig_atomic_t ResizeFlag = 0;
volatile sig_atomic_t StopFlag = 0;
int WakePipe[2] = {-1, -1};

struct sigaction OldActions[SignalCount];
bool HandlersInstalled = false;
bool AtExitRegistered = false;

void Wake() {
  if (WakePipe[1] >= 0) {
    char b = 1;
    ssize_t r = write(WakePipe[1], &b, 1);  // a full pipe already wakes the poll
    (void)r;
  }
}

void OnFatalSignal(int sig) {
  // SA_RESETHAND gave the default action back and SA_NODEFER lets the raise
  // act at once: the process ends as the signal meant, with a sane tty.
  LeaveTerminalModes();
  raise(sig);
}

void OnFlagSignal(int sig) {
  int saved = errno;
  if (sig == SIGWINCH) ResizeFlag = 1;
  else StopFlag = sig;
  Wake();
  errno = saved;
}

void MakeRaw(struct termios& t) {
  t.c_iflag &= tcflag_t(~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON));
  t.c_oflag &= tcflag_t(~OPOST);
  t.c_lflag &= tcflag_t(~(ECHO | ECHONL | ICANON | ISIG | IEXTEN));
  t.c_cflag &= tcflag_t(~(CSIZE | PARENB));
  t.c_cflag |= CS8;
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
}

}  // namespace

std::span<const TermMode> ModeTable() { return Modes; }

std::string ModesOnBytes() {
  std::string s;
  for (const TermMode& m : Modes) s += m.On;
  return s;
}

std::string ModesOffBytes() {
  std::string s;
  for (size_t i = std::size(Modes); i-- > 0;) s += Modes[i].Off;
  return s;
}

bool WriteAll(int fd, const char* data, size_t len) {
  while (len > 0) {
    ssize_t n = write(fd, data, len);
    if (n > 0) {
      data += n;
      len -= size_t(n);
    } else if (n < 0 && errno == EINTR) {
      // tried again below, unless the signal was a stop
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      struct pollfd p = {fd, POLLOUT, 0};
      poll(&p, 1, 100);
    } else {
      return false;
    }
    // A terminal that does not read blocks the write; a stop signal arriving
    // meanwhile must end the editor (and save the text), not wait for it.
    if (len > 0 && StopFlag) return false;
  }
  return true;
}

bool EnterTerminalModes(int inFd, int outFd, std::string& reason) {
  if (Active) return true;
  if (!HaveSaved) {
    if (tcgetattr(inFd, &Saved) != 0) {
      reason = std::string(Texts::CannotReadTerminalMode) + std::strerror(errno);
      return false;
    }
    HaveSaved = true;
  }
  struct termios raw = Saved;
  MakeRaw(raw);
  if (tcsetattr(inFd, TCSADRAIN, &raw) != 0) {
    reason = std::string(Texts::CannotSetRawMode) + std::strerror(errno);
    return false;
  }
  std::string off = ModesOffBytes();
  OffLen = off.size() < sizeof OffBytes ? off.size() : sizeof OffBytes;
  std::memcpy(OffBytes, off.data(), OffLen);
  InFd = inFd;
  OutFd = outFd;
  Active = 1;
  std::string on = ModesOnBytes();
  WriteAll(outFd, on.data(), on.size());
  return true;
}

void LeaveTerminalModes() {
  if (!Active) return;
  Active = 0;
  WriteAll(OutFd, OffBytes, OffLen);
  tcsetattr(InFd, TCSADRAIN, &Saved);
}

bool TerminalModesActive() { return Active != 0; }

uint8_t SavedEraseByte() { return HaveSaved ? uint8_t(Saved.c_cc[VERASE]) : 0x7F; }

void InstallSignalHandlers() {
  if (HandlersInstalled) return;
  if (WakePipe[0] < 0 && pipe(WakePipe) == 0) {
    for (int fd : WakePipe) {
      fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
      fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
  }
  size_t i = 0;
  for (int sig : FatalSignals) {
    struct sigaction a {};
    a.sa_handler = OnFatalSignal;
    sigemptyset(&a.sa_mask);
    a.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigaction(sig, &a, &OldActions[i++]);
  }
  for (int sig : FlagSignals) {
    struct sigaction a {};
    a.sa_handler = OnFlagSignal;
    sigfillset(&a.sa_mask);
    a.sa_flags = 0;  // no SA_RESTART: a blocked poll should see the flag
    sigaction(sig, &a, &OldActions[i++]);
  }
  for (int sig : IgnoredSignals) {
    struct sigaction a {};
    a.sa_handler = SIG_IGN;
    sigemptyset(&a.sa_mask);
    sigaction(sig, &a, &OldActions[i++]);
  }
  HandlersInstalled = true;
  if (!AtExitRegistered) {
    std::atexit([] { LeaveTerminalModes(); });
    AtExitRegistered = true;
  }
}

void RemoveSignalHandlers() {
  if (!HandlersInstalled) return;
  size_t i = 0;
  for (int sig : FatalSignals) sigaction(sig, &OldActions[i++], nullptr);
  for (int sig : FlagSignals) sigaction(sig, &OldActions[i++], nullptr);
  for (int sig : IgnoredSignals) sigaction(sig, &OldActions[i++], nullptr);
  HandlersInstalled = false;
}

bool TakeResizeSignal() {
  if (!ResizeFlag) return false;
  ResizeFlag = 0;
  return true;
}

int TakeStopSignal() {
  int s = StopFlag;
  StopFlag = 0;
  return s;
}

int WakeFd() { return WakePipe[0]; }

void DrainWakeFd() {
  char buf[64];
  while (WakePipe[0] >= 0 && read(WakePipe[0], buf, sizeof buf) > 0) {
  }
}

}  // namespace lumo

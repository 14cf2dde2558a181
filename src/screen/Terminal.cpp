// The terminal console. Every wait for input goes through FillPending, one
// poll() over stdin and the signal pipe; in one pass it checks the signal
// flags, decodes what is buffered and computes how long it may sleep: until
// the caller's deadline or, with an incomplete sequence buffered, until that
// sequence's escape time is up, whichever comes first. Nothing here draws
// from a signal handler: the flags are read only on this path.
//
// All escape sequences this console sends are built in TermOutput.cpp (cells,
// cursor, the size notice) and TermModes.cpp (the modes); this file sends
// their bytes and nothing of its own.
#include "screen/Terminal.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>
#include "screen/TermModes.h"
#include "text/Texts.h"

namespace lumo {

TermConsole::~TermConsole() { Restore(); }

bool TermConsole::Open(std::string& reason) {
  if (IsOpen) return true;
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    reason = Texts::NotATerminal;
    return false;
  }
  if (!EnterTerminalModes(STDIN_FILENO, STDOUT_FILENO, reason)) return false;
  InstallSignalHandlers();
  Decoder.Profile = ProfileFromEnvironment(SavedEraseByte());
  // GNU screen erases in the default colours unless told otherwise (tmux,
  // even inside it, erases in the colours set).
  Front.EraseInColour = !(std::getenv("STY") && !std::getenv("TMUX"));
  IsOpen = true;
  Suspended = false;
  ApplySize(false);
  Front.Forget();
  return true;
}

void TermConsole::Restore() {
  if (!IsOpen) return;
  LeaveTerminalModes();
  RemoveSignalHandlers();
  IsOpen = false;
  Suspended = false;
}

void TermConsole::Suspend() {
  if (!IsOpen || Suspended) return;
  LeaveTerminalModes();
  Suspended = true;
}

void TermConsole::Resume() {
  if (!IsOpen || !Suspended) return;
  std::string reason;
  // A program that was killed (another editor, say) leaves its modes on:
  // its keyboard flags pushed, its screen switched. Switching every mode off
  // first takes them away, so ours are not stacked on top of them and the
  // shell gets its terminal back as it was when the editor ends.
  Send(ModesOffBytes());
  // If the tty cannot be set now, output still works; keys will fail to
  // read and end in Hangup.
  EnterTerminalModes(STDIN_FILENO, STDOUT_FILENO, reason);
  Suspended = false;
  TakeResizeSignal();  // ApplySize reads the size anyway
  NoticeShown = false;
  Front.Forget();
  ApplySize(true);
}

void TermConsole::ApplySize(bool notify) {
  struct winsize ws {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 0 && ws.ws_row > 0) {
    if (ws.ws_col != Cols || ws.ws_row != Rows) NoticeShown = false;
    Cols = ws.ws_col;
    Rows = ws.ws_row;
  }
  int w = EditorWidth(Cols);
  TooSmall = w == 0 || Rows < 3;
  // While too small the buffer keeps its size: the editor goes on drawing
  // into it, and it is shown as it is once the terminal is large again.
  bool changed = !TooSmall && (w != W() || Rows != H());
  if (changed) Resize(w, Rows);
  if (!notify) return;
  if (changed && OnResize) OnResize();
  Update(true);
}

void TermConsole::Send(const std::string& bytes) {
  if (Gone || bytes.empty()) return;
  if (!WriteAll(STDOUT_FILENO, bytes.data(), bytes.size())) Gone = true;
}

void TermConsole::Update(bool force) {
  if (!IsOpen || Suspended) return;
  if (TooSmall) {
    if (force) NoticeShown = false;
    if (!NoticeShown) Send(SizeNoticeBytes(Cols, Rows));
    NoticeShown = true;
    Front.Forget();  // the notice replaced whatever the front held
    return;
  }
  if (force) Front.Forget();
  Send(RenderUpdate(Front, Cells(), W(), H(), CursorCol, CursorRow));
}

void TermConsole::SetCursor(int col, int row) {
  CursorCol = col;
  CursorRow = row;
}

void TermConsole::Hangup(int sig) {
  if (!InHangup) {
    InHangup = true;
    if (OnHangup) OnHangup(sig);
  }
  Restore();
  _exit(1);
}

void TermConsole::CheckSignals() {
  if (int sig = TakeStopSignal()) Hangup(sig);
  if (Gone) Hangup(0);
  if (TakeResizeSignal()) ApplySize(true);
}

bool TermConsole::DecodeBuffered(bool force) {
  while (!HavePending && InPos < In.size()) {
    Decoded d = Decoder.Decode(In.data() + InPos, In.size() - InPos, force);
    if (d.Status == DecodeStatus::Incomplete && !force) {
      if (!Incomplete) IncompleteSince = Clock::now();
      Incomplete = true;
      return false;
    }
    // A decoder that consumes nothing would hold the input for ever.
    InPos += d.Used > 0 ? d.Used : 1;
    Incomplete = false;
    if (d.Status == DecodeStatus::Key) {
      Pending = d.Key;
      HavePending = true;
      if (Pending == keys::Paste) PendingPaste = Decoder.TakePaste();
    }
  }
  if (InPos >= In.size()) {
    In.clear();
    InPos = 0;
    Incomplete = false;
  }
  return HavePending;
}

void TermConsole::ReadInput() {
  if (InPos > 0 && InPos * 2 > In.size()) {
    In.erase(In.begin(), In.begin() + long(InPos));
    InPos = 0;
  }
  uint8_t buf[4096];
  ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
  if (n > 0) {
    In.insert(In.end(), buf, buf + n);
    LastInput = Clock::now();
    Incomplete = false;  // the escape time counts from the last byte
    return;
  }
  if (n < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)) return;
  Hangup(0);  // end of file or EIO: the terminal was closed
}

bool TermConsole::FillPending(int timeoutMs) {
  if (!IsOpen) return false;
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    if (HavePending) return true;
    CheckSignals();
    if (DecodeBuffered(false)) return true;
    Clock::time_point now = Clock::now();
    int wait = -1;
    if (timeoutMs >= 0)
      wait = int(std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count());
    if (Incomplete) {
      auto due = IncompleteSince + std::chrono::milliseconds(EscapeMs);
      if (now >= due) {
        if (DecodeBuffered(true)) return true;
        continue;
      }
      int escWait = int(std::chrono::ceil<std::chrono::milliseconds>(due - now).count());
      if (wait < 0 || escWait < wait) wait = escWait;
    }
    if (Decoder.Pasting()) {
      auto due = LastInput + std::chrono::milliseconds(PasteMs);
      if (now >= due) {
        Decoder.EndPaste();
        Pending = keys::Paste;
        PendingPaste = Decoder.TakePaste();
        HavePending = true;
        return true;
      }
      int pasteWait = int(std::chrono::ceil<std::chrono::milliseconds>(due - now).count());
      if (wait < 0 || pasteWait < wait) wait = pasteWait;
    }
    if (wait < 0 && timeoutMs >= 0) wait = 0;
    struct pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {WakeFd(), POLLIN, 0}};
    int r = poll(fds, WakeFd() >= 0 ? 2 : 1, wait);
    if (r < 0) {
      if (errno == EINTR || errno == EAGAIN) continue;
      Hangup(0);
    }
    if (r == 0) {
      if (timeoutMs >= 0 && Clock::now() >= deadline &&
          !(Incomplete && Clock::now() >= IncompleteSince + std::chrono::milliseconds(EscapeMs)))
        return false;
      continue;
    }
    if (fds[1].revents) DrainWakeFd();
    if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) ReadInput();
    if (fds[0].revents & POLLNVAL) Hangup(0);
  }
}

bool TermConsole::KeyWaiting() { return FillPending(0); }

bool TermConsole::WaitKey(int ms) {
  return FillPending(ms < 0 ? 0 : ms);
}

KeyCode TermConsole::ReadKey() {
  if (!FillPending(-1)) return keys::Esc;  // not open: Esc, as a test console would
  HavePending = false;
  Pasted = Pending == keys::Paste ? std::move(PendingPaste) : std::string();
  PendingPaste.clear();
  return Pending;
}

KeyCode TermConsole::PeekKey() { return FillPending(0) ? Pending : 0; }

std::string TermConsole::TakePaste() { return std::exchange(Pasted, {}); }

}  // namespace lumo

// The terminal's modes and their guard. The editor changes the tty (raw
// termios) and the terminal (alternate screen, keyboard protocols, ...); all of
// it must be undone on every way out, including from a signal handler, so the
// state that undoing needs lives here, process-wide, in a form a handler can
// use: the saved termios, the switch-off bytes ready in a static buffer.
//
// ModeTable pairs each switch-on with its switch-off. The on bytes are sent in
// table order, the off bytes in reverse order, so modes are left in the
// opposite order they were entered (the keyboard flags pushed on the
// alternate screen are popped there).
//
// Signals: fatal ones (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, and SIGINT,
// SIGQUIT, which a keyboard cannot send in raw mode) restore the terminal and
// re-raise; SIGTERM and SIGHUP only record themselves, SIGWINCH sets a flag;
// SIGXFSZ is ignored, so a write past the file size limit fails with EFBIG
// and the save reports it instead of the editor being killed.
// Every flag also writes a byte into a pipe so that a poll() in progress wakes.
#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace lumo {

struct TermMode {
  const char* Name;
  const char* On;
  const char* Off;
};

std::span<const TermMode> ModeTable();
std::string ModesOnBytes();   // table order
std::string ModesOffBytes();  // reverse table order

// Saves the tty state of inFd (the first time only, so that a later call
// after an outside program does not save what that program left), switches
// it to raw mode and sends the modes' on bytes to outFd. False with a reason
// when the tty cannot be set.
bool EnterTerminalModes(int inFd, int outFd, std::string& reason);
// Sends the off bytes and puts the saved tty state back. Idempotent and
// async-signal-safe.
void LeaveTerminalModes();
// True between EnterTerminalModes and LeaveTerminalModes.
bool TerminalModesActive();
// The erase byte (VERASE) of the saved tty state.
uint8_t SavedEraseByte();

// Installs the handlers described above, and once per process an atexit
// hook that leaves the modes. RemoveSignalHandlers puts the previous
// dispositions back.
void InstallSignalHandlers();
void RemoveSignalHandlers();
// Each returns and clears its flag: true after a SIGWINCH; the number of
// SIGTERM or SIGHUP, or 0.
bool TakeResizeSignal();
int TakeStopSignal();
// The read end of the wake-up pipe, for poll(); DrainWakeFd empties it.
int WakeFd();
void DrainWakeFd();

// Writes all of data to fd, retrying on EINTR and EAGAIN; false when the
// descriptor fails (the terminal is gone) or a SIGTERM or SIGHUP waits to be
// taken while bytes are left. Async-signal-safe.
bool WriteAll(int fd, const char* data, size_t len);

}  // namespace lumo

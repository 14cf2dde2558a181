// The console on a POSIX terminal: stdin and stdout in raw mode, the cell
// buffer sent through TermOutput, keys read and decoded by KeyDecoder.
//
// Input is a byte buffer (In, from InPos) filled by read(2) and taken apart
// key by key; one decoded key may wait in Pending, so that KeyWaiting and
// WaitKey can look ahead without consuming. A sequence the decoder calls
// incomplete (a lone ESC above all) is decoded by force once no byte has
// followed it for EscapeMs. A paste is one key whose text waits beside it
// (PendingPaste, then Pasted once read); one whose end marker does not come
// is ended after PasteMs of silence. Signals arrive as flags (TermModes) that every
// wait checks: a resize resizes the buffer and redraws; SIGTERM, SIGHUP and a
// vanished terminal go to OnHangup.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>
#include "screen/Console.h"
#include "screen/KeyDecoder.h"
#include "screen/TermOutput.h"

namespace lumo {

class TermConsole : public Console {
 public:
  static constexpr int EscapeMs = 25;  // a lone ESC is Esc after this long
  // A paste that stops without its end marker is ended after this long: far
  // longer than a pause inside a paste over a slow link, short enough that
  // the editor does not seem to hang.
  static constexpr int PasteMs = 500;

  TermConsole() = default;
  ~TermConsole() override;
  TermConsole(const TermConsole&) = delete;
  TermConsole& operator=(const TermConsole&) = delete;

  // Takes the terminal: both stdin and stdout must be one. False with a
  // reason (UTF-8, for the user) when it cannot; the terminal is then
  // untouched.
  bool Open(std::string& reason);
  // Gives the terminal back as it was found. Safe to call more than once.
  void Restore();
  // Around an outside program: the terminal as it was found while the
  // program runs, then taken back with a full redraw (at the size it has
  // now).
  void Suspend() override;
  void Resume() override;

  void Update(bool force) override;
  void SetCursor(int col, int row) override;
  bool KeyWaiting() override;
  KeyCode ReadKey() override;
  bool WaitKey(int ms) override;
  KeyCode PeekKey() override;
  std::string TakePaste() override;

  // Called with the signal number (SIGTERM, SIGHUP) or 0 when the terminal
  // is gone. It is expected to end the process; if it returns or is unset,
  // the console restores the terminal and ends it with exit code 1.
  std::function<void(int)> OnHangup;

 private:
  using Clock = std::chrono::steady_clock;

  // Waits up to timeoutMs (-1: without end) for a decoded key in Pending.
  bool FillPending(int timeoutMs);
  // Decodes buffered bytes; true when a key landed in Pending.
  bool DecodeBuffered(bool force);
  // Reads what the terminal has (poll said it is readable); ends in Hangup
  // when the terminal is gone.
  void ReadInput();
  void CheckSignals();
  // Reads the terminal's size; with notify, a changed editor size reaches
  // the editor (OnResize) and the screen (or the size notice) is drawn anew.
  void ApplySize(bool notify);
  void Send(const std::string& bytes);
  [[noreturn]] void Hangup(int sig);

  KeyDecoder Decoder;
  std::vector<uint8_t> In;
  size_t InPos = 0;
  bool HavePending = false;
  KeyCode Pending = 0;
  bool Incomplete = false;  // the buffered bytes start a sequence not yet whole
  Clock::time_point IncompleteSince;
  Clock::time_point LastInput;  // when the terminal last sent bytes
  std::string PendingPaste;     // the text of a paste key in Pending
  std::string Pasted;           // the text of the paste key read last

  TermFront Front;
  int CursorCol = 133, CursorRow = 60;  // hidden until the editor places it
  int Cols = 80, Rows = 25;             // the terminal's own size
  bool TooSmall = false;                // the size notice stands instead of the buffer
  bool NoticeShown = false;
  bool IsOpen = false, Suspended = false;
  bool Gone = false;                    // a write failed: the terminal is gone
  bool InHangup = false;
};

}  // namespace lumo

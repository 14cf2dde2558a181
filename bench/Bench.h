// What the benchmarks share: a console that counts the bytes the real
// renderer would send, keys fed as terminal bytes through the real decoder
// and main loop, the largest text, and the table of results.
#pragma once
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "app/Editor.h"
#include "screen/Console.h"
#include "screen/KeyDecoder.h"
#include "screen/TermOutput.h"

namespace lumo::bench {

using Clock = std::chrono::steady_clock;
inline double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// An 80x25 console whose updates go through the terminal renderer (counting
// them and their bytes instead of writing them) and whose keys are decoded
// from a script of terminal bytes. The keys come one at a time, as typed, so
// each is drawn; with OneRead the whole script has arrived at once, as a
// paste does. An exhausted script reads as Ctrl+Alt+Backspace, which ends
// the main loop.
class BenchConsole : public Console {
 public:
  BenchConsole() { Resize(80, 25); }
  void Update(bool force) override;
  void SetCursor(int col, int row) override { CursorCol = col; CursorRow = row; }
  bool KeyWaiting() override { return OneRead && Pos < Script.size(); }
  KeyCode ReadKey() override;
  bool WaitKey(int) override { return KeyWaiting(); }
  KeyCode PeekKey() override;
  std::string TakePaste() override { return Decoder.TakePaste(); }

  TermFront Front;
  size_t Sent = 0;     // bytes the renderer produced, all updates together
  long Updates = 0;
  std::string Script;
  size_t Pos = 0;
  bool OneRead = false;
  KeyDecoder Decoder;

 private:
  // The next key of the script from `decoder`, moving `pos` past it.
  static KeyCode Next(KeyDecoder& decoder, const std::string& script, size_t& pos);
  int CursorCol = 133, CursorRow = 60;
};

// The editor as the program starts it on path ("-W" path), drawn once.
// Refusals of the store (no memory, too many lines) are counted in Refusals.
struct Session {
  BenchConsole Con;
  Editor E;
  int Refusals = 0;
};
// False (and why) unless the whole text loaded without the compact reload.
bool StartSession(Session& s, const std::string& path, std::string& why);

// One timed stretch: ops operations took Us microseconds and made the
// renderer produce Bytes bytes in Updates updates.
struct Span {
  long Ops = 0;
  double Us = 0;
  size_t Bytes = 0;
  long Updates = 0;
  Span& operator+=(const Span& o) {
    Ops += o.Ops;
    Us += o.Us;
    Bytes += o.Bytes;
    Updates += o.Updates;
    return *this;
  }
};

// Runs the main loop on the terminal bytes until they are used up; ops is
// how many operations the bytes hold. The screen is brought up to date
// first, so the time is the keys' own.
Span RunKeys(Session& s, const std::string& bytes, long ops);
// Times n calls of f, counting the bytes they made the renderer produce.
Span TimeLoop(Session& s, long n, const std::function<void()>& f);
// A byte sequence repeated n times.
std::string Times(const std::string& bytes, long n);

// Terminal bytes of the keys the benchmarks press (the xterm sequences).
inline const std::string KeyDown = "\x1b[B", KeyUp = "\x1b[A", KeyRight = "\x1b[C", KeyPageDown = "\x1b[6~";
// The rows that send these check their effect on the text instead.
inline const std::string KeyShiftF5 = "\x1b[15;2~", KeyShiftF6 = "\x1b[17;2~";
// False with a reason when the decoder does not make these bytes the keys meant.
bool CheckKeyBytes(std::string& why);

// The largest text: MaxLines lines of Latin, code and code page 866
// Cyrillic, lengths 0..255 (in 866). Written to path, in 866 or in UTF-8;
// returns its size in bytes.
size_t WriteLargestText(const std::string& path, bool utf8 = false);

// A Russian text of MaxLines lines of 200 bytes, written in 1251 to path;
// returns its first line as code page 866, or an empty string on failure.
std::string WriteAnsiText(const std::string& path);

struct Row {
  std::string Name;
  double UsPerOp = 0;     // median over the runs
  double BytesPerOp = 0;  // bytes sent to the terminal per operation
  long PeakKb = -1;       // peak resident set of the process that ran it
  int Runs = 0;
  long OpsPerRun = 0;
  long BaseKb = -1;       // of that process before the text was loaded
};

// A benchmark run in a process of its own: it gets a started session and
// returns one run's span, or sets why and returns a span of no operations
// when the editor did not end up where the keys should have taken it.
struct Bench {
  const char* Name;
  int Runs;
  std::function<Span(Session&, int run, std::string& why)> Run;
  bool Utf8 = false;  // on the largest text in UTF-8
};

// Forks, starts the editor on path in the child, runs b.Runs times there and
// reports the median and the child's own peak. False (and why) on failure.
bool RunInChild(const Bench& b, const std::string& path, Row& row, std::string& why);
// VmHWM of a process (in KB), -1 when it cannot be read.
long PeakKb(int pid);

void PrintTable(const std::vector<Row>& rows);
bool WriteCsv(const std::vector<Row>& rows, const std::string& path);

// Start-up of the real program in a pseudo-terminal on a text of `lines`
// lines, median of runs.
bool StartUpRow(const std::string& binary, const std::string& path, int lines, const std::string& name, int runs,
                Row& row, std::string& why);

}  // namespace lumo::bench

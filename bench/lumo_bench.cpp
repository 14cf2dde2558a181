// Benchmarks: start-up to the first screen on the largest text (the real
// program in a pseudo-terminal), and the drawing paths in process with the
// real terminal output, counting the bytes each sends. Prints one table.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/Editor.h"
#include "app/MainLoop.h"
#include "screen/KeyDecoder.h"
#include "files/Load.h"
#include "screen/StatusRow.h"
#include "screen/TermOutput.h"
#include "screen/Window.h"
#include "text/Cp866.h"
#include "text/LineStore.h"

namespace lumo {
namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

// A console that sends nowhere but counts what the terminal would be sent.
class CountingConsole : public Console {
 public:
  CountingConsole(int w, int h) { Resize(w, h); }
  void Update(bool force) override {
    if (force) Front.Forget();
    Sent += RenderUpdate(Front, Cells(), W(), H(), CursorCol, CursorRow).size();
  }
  void SetCursor(int col, int row) override { CursorCol = col; CursorRow = row; }
  bool KeyWaiting() override { return false; }
  KeyCode ReadKey() override { return 0x0000011B; }
  bool WaitKey(int) override { return true; }
  TermFront Front;
  size_t Sent = 0;
  int CursorCol = 0, CursorRow = 0;
};

// A console whose keys come from terminal bytes through the real decoder and
// whose updates go through the real renderer: the whole path of a key but
// the system calls.
class ScriptConsole : public CountingConsole {
 public:
  ScriptConsole(int w, int h, std::string bytes) : CountingConsole(w, h), Bytes(std::move(bytes)) {}
  bool KeyWaiting() override { return Pos < Bytes.size(); }
  KeyCode ReadKey() override {
    Update(false);  // as the terminal does before it waits for a key
    while (Pos < Bytes.size()) {
      Decoded d = Decoder.Decode(reinterpret_cast<const uint8_t*>(Bytes.data()) + Pos, Bytes.size() - Pos, true);
      Pos += d.Used ? d.Used : 1;
      if (d.Status == DecodeStatus::Key) return d.Key;
    }
    return 0x030C0E00;  // Ctrl+Alt+Backspace: the script is over
  }
  bool WaitKey(int) override { return KeyWaiting(); }
  std::string Bytes;
  size_t Pos = 0;
  KeyDecoder Decoder;
};

std::string BigText() {
  std::string line866 = Cp("Строка текста для проверки скорости: Lumo, редактор. ");
  std::string s;
  s.reserve(24575u * 202u);
  for (int i = 0; i < 24575; ++i) {
    std::string l = std::to_string(i + 1) + ": ";
    while (l.size() < 200) l += line866;
    l.resize(200);
    s += l + "\r\n";
  }
  return s;
}

struct Row {
  std::string Name;
  double MicrosPerOp;
  long Bytes;
  long PeakKb;
};

void Print(const std::vector<Row>& rows) {
  std::printf("%-40s %14s %12s %12s\n", "benchmark", "time/op (us)", "bytes sent", "peak RSS KB");
  for (const Row& r : rows)
    std::printf("%-40s %14.2f %12ld %12s\n", r.Name.c_str(), r.MicrosPerOp, r.Bytes,
                r.PeakKb >= 0 ? std::to_string(r.PeakKb).c_str() : "-");
}

// Runs the program on path in an 80x25 pseudo-terminal until its first screen
// is complete; returns the time to the last byte of that screen.
Row StartUp(const std::string& path) {
  std::vector<double> times;
  long peak = 0, bytes = 0;
  for (int run = 0; run < 15; ++run) {
    struct winsize ws {};
    ws.ws_col = 80;
    ws.ws_row = 25;
    int master = -1;
    auto t0 = Clock::now();
    pid_t pid = forkpty(&master, nullptr, nullptr, &ws);
    if (pid == 0) {
      setenv("TERM", "xterm-256color", 1);
      execl(LUMO_BINARY, "lumo", "-W", path.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    std::string seen;
    Clock::time_point last = t0;
    bool complete = false;
    for (;;) {
      struct pollfd p {master, POLLIN, 0};
      int timeout = complete ? 100 : 5000;
      if (poll(&p, 1, timeout) <= 0) break;
      char buf[65536];
      ssize_t n = read(master, buf, sizeof buf);
      if (n <= 0) break;
      last = Clock::now();
      seen.append(buf, size_t(n));
      if (seen.find("size=24575") != std::string::npos) complete = true;
    }
    times.push_back(Micros(last - t0));
    // The high-water mark of the program itself: the rusage of a child also
    // counts what it shared with this process before exec.
    FILE* st = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (st) {
      char line[256];
      while (std::fgets(line, sizeof line, st))
        if (std::strncmp(line, "VmHWM:", 6) == 0) peak = std::max(peak, std::atol(line + 6));
      std::fclose(st);
    }
    bytes = long(seen.size());
    // Ctrl+Alt+Backspace ends the program at once.
    const char quit[] = "\x1b\x08";
    if (write(master, quit, 2) != 2) kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    close(master);
  }
  std::sort(times.begin(), times.end());
  return {"start-up to first screen, 24575x200", times[times.size() / 2], bytes, peak};
}

template <class F>
double TimePerOp(int n, F f) {
  auto t0 = Clock::now();
  for (int i = 0; i < n; ++i) f(i);
  return Micros(Clock::now() - t0) / n;
}

void InProcess(const std::string& text, std::vector<Row>& rows) {
  CountingConsole con(80, 25);
  Editor e;
  e.Con = &con;
  InitLineTable(e);
  LoadBytes(e, text);
  e.CurLine = e.TopLine = 1;
  e.CurCol = 1;
  auto draw = [&] {
    DrawWindow(e);
    DrawStatus(e);
    con.SetCursor(e.CurCol - e.HScroll - 1, e.CurLine - e.TopLine + 2);
    con.Update(false);
  };
  draw();

  size_t before = con.Sent;
  double t = TimePerOp(2000, [&](int) { draw(); });
  rows.push_back({"redraw, nothing changed", t, long(con.Sent - before) / 2000, -1});

  before = con.Sent;
  t = TimePerOp(2000, [&](int) {
    DrawWindow(e);
    DrawStatus(e);
    con.Update(true);
  });
  rows.push_back({"full redraw (forced update)", t, long(con.Sent - before) / 2000, -1});

  before = con.Sent;
  t = TimePerOp(20, [&](int) {
    ++e.CurLine;
    draw();
  });
  rows.push_back({"cursor down inside the window", t, long(con.Sent - before) / 20, -1});

  e.CurLine = e.TopLine + 22;
  draw();
  before = con.Sent;
  const int scrolls = 2000;
  t = TimePerOp(scrolls, [&](int) {
    ++e.CurLine;
    ++e.TopLine;
    draw();
  });
  rows.push_back({"cursor down scrolling the window", t, long(con.Sent - before) / scrolls, -1});

  {
    // Typing into the middle of the text: a word, then a blank, 30000 keys.
    std::string keys;
    const std::string word = "текст ";
    while (keys.size() < 30000 * 2) keys += word;
    ScriptConsole sc(80, 25, keys);
    Editor t;
    t.Con = &sc;
    InitLineTable(t);
    LoadBytes(t, text);
    // An empty line in the middle and a margin of 72: the words wrap into
    // new lines as in ordinary writing.
    t.CurLine = 12000;
    t.TopLine = 11990;
    t.CurCol = 1;
    t.RightMargin = t.FormatWidth = 72;
    SetLineText(t, "", 12000);
    size_t chars = 0;
    for (size_t i = 0; i < keys.size(); ++i) chars += (uint8_t(keys[i]) & 0xC0) != 0x80;
    RedrawAll(t);
    size_t sent0 = sc.Sent;
    auto start = Clock::now();
    MainLoop(t);
    double per = Micros(Clock::now() - start) / double(chars);
    rows.push_back({"typing in the middle (whole loop)", per, long((sc.Sent - sent0) / chars), -1});
    std::printf("(typed %zu characters, %zu bytes sent)\n", chars, sc.Sent - sent0);
  }

  auto t0 = Clock::now();
  Editor l;
  CountingConsole lc(80, 25);
  l.Con = &lc;
  InitLineTable(l);
  LoadBytes(l, text);
  rows.push_back({"load 24575x200 from memory", Micros(Clock::now() - t0), 0, -1});
}

}  // namespace
}  // namespace lumo

int main() {
  using namespace lumo;
  std::string dir = "/tmp/lumo-bench";
  mkdir(dir.c_str(), 0700);
  std::string path = dir + "/big.txt";
  std::string text = BigText();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 1;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  std::vector<Row> rows;
  rows.push_back(StartUp(path));
  InProcess(text, rows);
  Print(rows);
  return 0;
}

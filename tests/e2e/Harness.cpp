// The pty, the child process and the libvterm screen behind Session.
//
// The pty is opened with posix_openpt rather than forkpty so that the parent
// can hold a slave descriptor of its own: the line discipline outlives the
// program and can be inspected after it exits, and the master never reads
// EIO just because the program closed its side.
#include "Harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vterm.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <stdexcept>

#include "KeysTsv.h"

extern char** environ;

namespace lumo::e2e {

namespace fs = std::filesystem;

std::string EditorBinary() { return LUMO_BINARY; }

std::string Lines(const std::vector<std::string>& lines, std::string_view ending) {
  std::string out;
  for (const std::string& l : lines) out.append(l).append(ending);
  return out;
}

namespace {

// libvterm reports the ANSI palette order; the editor thinks in the PC order,
// which swaps blue with red and cyan with brown.
constexpr int PcFromAnsi[8] = {0, 4, 2, 6, 1, 5, 3, 7};

int PcColour(const VTermColor& c, bool foreground) {
  if (foreground ? VTERM_COLOR_IS_DEFAULT_FG(&c) : VTERM_COLOR_IS_DEFAULT_BG(&c))
    return foreground ? 7 : 0;
  if (!VTERM_COLOR_IS_INDEXED(&c) || c.indexed.idx > 15) return -1;
  return PcFromAnsi[c.indexed.idx & 7] | (c.indexed.idx & 8);
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
    return;
  }
  int tail = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;
  out += char((0xF0 << (3 - tail)) | cp >> (6 * tail));  // the lead byte: tail + 1 high bits
  for (int i = tail - 1; i >= 0; --i) out += char(0x80 | ((cp >> (6 * i)) & 0x3F));
}

int Utf8Length(std::string_view s) {
  int n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

std::string Hex2(int v) {
  char b[8];
  std::snprintf(b, sizeof b, "%02X", unsigned(v));
  return v < 0 ? "??" : b;
}

// Each key as the bytes xterm with metaSendsEscape was measured sending (the
// TERM the harness sets), or kitty's legacy form for the few keys xterm keeps
// for itself, such as Shift+Ins.
const std::map<std::string, std::string>& MeasuredKeys() {
  static const std::map<std::string, std::string> keys = [] {
    std::map<std::string, std::string> m;
    for (const test::MeasuredKey& k : test::KeysTsv())
      if (!k.Bytes.empty() && (k.Env == "xterm-metaesc" || (k.Env == "kitty-legacy" && !m.count(k.Name))))
        m[k.Name].assign(k.Bytes.begin(), k.Bytes.end());
    return m;
  }();
  return keys;
}

// A script as one chunk of bytes per key: a name from the list in brackets,
// or one UTF-8 character. An unknown name is a fault of the test.
std::vector<std::string> ParseKeys(std::string_view s) {
  std::vector<std::string> keys;
  for (size_t i = 0; i < s.size();) {
    if (s[i] == '<') {
      const size_t close = s.find('>', i + 1);
      const std::string name(s.substr(i + 1, close == s.npos ? s.npos : close - i - 1));
      const auto k = MeasuredKeys().find(name);
      if (close == s.npos || k == MeasuredKeys().end()) throw std::invalid_argument("no measured key <" + name + ">");
      keys.push_back(k->second);
      i = close + 1;
      continue;
    }
    const auto b = static_cast<unsigned char>(s[i]);
    const size_t n = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
    keys.emplace_back(s.substr(i, n));
    i += n;
  }
  return keys;
}

void CheckSys(bool ok, const char* what) {
  if (!ok) throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

}  // namespace

struct SessionCallbacks {
  static int SetTermProp(VTermProp prop, VTermValue* val, void* user) {
    auto* s = static_cast<Session*>(user);
    if (prop == VTERM_PROP_ALTSCREEN) s->AltActive = val->boolean;
    if (prop == VTERM_PROP_CURSORVISIBLE) s->CursorShown = val->boolean;
    return 1;
  }
  static int MoveCursor(VTermPos pos, VTermPos, int, void* user) {
    auto* s = static_cast<Session*>(user);
    s->CurRow = pos.row;
    s->CurCol = pos.col;
    return 1;
  }
  static void Output(const char* bytes, size_t len, void* user) {
    // Terminal replies (device attributes, cursor reports) go back to the
    // program as a real terminal's would.
    auto* s = static_cast<Session*>(user);
    if (s->Master >= 0 && !s->Closed) (void)!write(s->Master, bytes, len);
  }
};

namespace {
const VTermScreenCallbacks ScreenCallbacks = [] {
  VTermScreenCallbacks c{};
  c.movecursor = SessionCallbacks::MoveCursor;
  c.settermprop = SessionCallbacks::SetTermProp;
  return c;
}();
}  // namespace

Session::Session() {
  for (const std::string* d : {&Work, &Home, &State, &San}) fs::create_directory(*d);
}

Session::~Session() {
  if (Child > 0 && !Ended) {
    kill(Child, SIGKILL);
    int status = 0;
    waitpid(Child, &status, 0);
  }
  if (Master >= 0) close(Master);
  if (Slave >= 0) close(Slave);
  if (Vt) vterm_free(Vt);
}

void Session::WriteFile(std::string_view name, std::string_view bytes) const {
  test::TempDir::Write(PathOf(name), std::string(bytes));
}

std::string Session::PathOf(std::string_view name) const {
  return !name.empty() && name[0] == '/' ? std::string(name) : Work + "/" + std::string(name);
}

std::optional<std::string> Session::ReadFile(std::string_view name) const {
  if (!Exists(name)) return std::nullopt;
  return test::TempDir::Read(PathOf(name));
}

bool Session::Exists(std::string_view name) const { return fs::exists(PathOf(name)); }

void Session::Start(const LaunchOptions& opts) {
  if (Child > 0) throw std::logic_error("a session runs one program");
  RowsN = opts.Rows;
  ColsN = opts.Cols;

  Vt = vterm_new(RowsN, ColsN);
  vterm_set_utf8(Vt, 1);
  vterm_output_set_callback(Vt, SessionCallbacks::Output, this);
  Screen = vterm_obtain_screen(Vt);
  vterm_screen_enable_altscreen(Screen, 1);
  vterm_screen_set_callbacks(Screen, &ScreenCallbacks, this);
  vterm_screen_reset(Screen, 1);

  Master = posix_openpt(O_RDWR | O_NOCTTY);
  CheckSys(Master >= 0, "posix_openpt");
  CheckSys(grantpt(Master) == 0 && unlockpt(Master) == 0, "grantpt/unlockpt");
  const char* name = ptsname(Master);
  CheckSys(name != nullptr, "ptsname");
  const std::string slaveName = name;
  const winsize ws{static_cast<unsigned short>(RowsN), static_cast<unsigned short>(ColsN), 0, 0};
  CheckSys(ioctl(Master, TIOCSWINSZ, &ws) == 0, "TIOCSWINSZ");
  Slave = open(slaveName.c_str(), O_RDWR | O_NOCTTY);
  CheckSys(Slave >= 0, "open slave");
  CheckSys(tcgetattr(Slave, &Initial) == 0, "tcgetattr");
  fcntl(Master, F_SETFL, fcntl(Master, F_GETFL) | O_NONBLOCK);

  // Everything the child needs is built before fork: no allocation after it.
  std::vector<std::pair<std::string, std::string>> env = {
      {"PATH", std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin"},
      {"HOME", Home},
      {"XDG_STATE_HOME", State},
      {"TERM", "xterm-256color"},
      {"LANG", "C.UTF-8"},
      {"ASAN_OPTIONS", "log_path=" + San + "/asan:detect_leaks=1"},
      {"UBSAN_OPTIONS", "log_path=" + San + "/ubsan:print_stacktrace=1"},
  };
  // A later entry wins: getenv finds the first, so they go in reverse.
  env.insert(env.end(), opts.Env.begin(), opts.Env.end());
  std::vector<std::string> envStrings, argStrings = {opts.Program.empty() ? EditorBinary() : opts.Program};
  for (auto it = env.rbegin(); it != env.rend(); ++it) envStrings.push_back(it->first + "=" + it->second);
  argStrings.insert(argStrings.end(), opts.Args.begin(), opts.Args.end());
  auto pointers = [](std::vector<std::string>& v) {
    std::vector<char*> p;
    for (std::string& s : v) p.push_back(s.data());
    p.push_back(nullptr);
    return p;
  };
  std::vector<char*> envp = pointers(envStrings), argv = pointers(argStrings);
  std::string work = Work;

  Child = fork();
  CheckSys(Child >= 0, "fork");
  if (Child == 0) {
    setsid();
    int fd = open(slaveName.c_str(), O_RDWR);
    if (fd < 0) _exit(126);
    ioctl(fd, TIOCSCTTY, 0);
    for (int out = 0; out < 3; ++out) dup2(fd, out);  // stdin, stdout, stderr
    if (fd > 2) close(fd);
    close(Master);
    close(Slave);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int sig : {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGPIPE, SIGWINCH, SIGCHLD}) signal(sig, SIG_DFL);
    if (chdir(work.c_str()) != 0) _exit(126);
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
  }
}

bool Session::Pump(Ms wait) {
  if (Master < 0 || Closed) return false;
  pollfd p{Master, POLLIN, 0};
  int r = poll(&p, 1, int(wait.count()));
  if (r <= 0) return true;
  std::array<char, 65536> buf;
  for (;;) {
    ssize_t n = read(Master, buf.data(), buf.size());
    if (n > 0) {
      Raw.append(buf.data(), size_t(n));
      vterm_input_write(Vt, buf.data(), size_t(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return true;
    Closed = true;  // EIO or EOF: nobody holds the slave any more
    return false;
  }
}

bool Session::WaitFor(const std::function<bool()>& pred, Ms deadline) {
  auto end = std::chrono::steady_clock::now() + deadline;
  for (;;) {
    Pump();
    if (pred()) return true;
    auto now = std::chrono::steady_clock::now();
    if (now >= end) return false;
    auto left = std::chrono::duration_cast<Ms>(end - now);
    if (!Pump(std::min(left, Ms{20}))) {
      // The program's side is gone; nothing more will arrive.
      return pred();
    }
  }
}

bool Session::WaitText(int row, int col, std::string_view utf8, Ms deadline) {
  int len = Utf8Length(utf8);
  return WaitFor([&] { return Text(row, col, len) == utf8; }, deadline);
}

std::string Session::Mismatches(const std::vector<Expect>& picture) const {
  std::string out;
  for (const Expect& e : picture) {
    int len = Utf8Length(e.Text);
    if (!e.Text.empty()) {
      std::string got = Text(e.Row, e.Col, len);
      if (got != e.Text)
        out += "row " + std::to_string(e.Row) + " col " + std::to_string(e.Col) + ": expected \"" +
               e.Text + "\", got \"" + got + "\"\n";
    }
    if (e.Attr >= 0) {
      int n = e.Text.empty() ? e.Len : len;
      for (int c = e.Col; c < e.Col + n; ++c) {
        int a = Attr(e.Row, c);
        if (a != e.Attr) {
          out += "row " + std::to_string(e.Row) + " col " + std::to_string(c) + ": attribute " +
                 Hex2(a) + ", expected " + Hex2(e.Attr) + "\n";
          break;
        }
      }
    }
  }
  return out;
}

std::string Session::WaitScreen(const std::vector<Expect>& picture, Ms deadline) {
  WaitFor([&] { return Mismatches(picture).empty(); }, deadline);
  return Mismatches(picture);
}

int Session::Cell(int row, int col, std::string* utf8) const {
  VTermScreenCell c{};
  const bool on = Screen && row >= 1 && row <= RowsN && col >= 1 && col <= ColsN;
  if (on) vterm_screen_get_cell(Screen, VTermPos{row - 1, col - 1}, &c);
  if (utf8 && !c.chars[0]) *utf8 += ' ';
  if (!on) return -1;
  for (int i = 0; utf8 && i < VTERM_MAX_CHARS_PER_CELL && c.chars[i]; ++i) AppendUtf8(*utf8, c.chars[i]);
  int fg = PcColour(c.fg, true), bg = PcColour(c.bg, false);
  if (c.attrs.reverse) std::swap(fg, bg);
  return fg < 0 || bg < 0 ? -1 : fg | bg << 4;
}

std::string Session::Text(int row, int col, int len) const {
  std::string s;
  for (int c = col; c < col + len; ++c) Cell(row, c, &s);
  return s;
}

bool Session::ScreenContains(std::string_view utf8) const {
  for (int r = 1; r <= RowsN; ++r)
    if (Text(r, 1, ColsN).find(utf8) != std::string::npos) return true;
  return false;
}

std::string Session::Dump() const {
  std::ostringstream o;
  o << "screen " << ColsN << "x" << RowsN << ", cursor row " << CursorRow() << " col " << CursorCol()
    << (CursorShown ? " shown" : " hidden") << ", alternate screen " << (AltActive ? "on" : "off") << "\n";
  for (int r = 1; r <= RowsN; ++r) {
    std::string text = Text(r, 1, ColsN);
    text.erase(text.find_last_not_of(' ') + 1);
    o << (r < 10 ? " " : "") << r << "|" << text << "|\n   ";
    int runStart = 1;
    int runAttr = Attr(r, 1);
    for (int c = 2; c <= ColsN + 1; ++c) {
      int a = c <= ColsN ? Attr(r, c) : -2;
      if (a == runAttr) continue;
      o << " " << runStart << "-" << c - 1 << ":" << Hex2(runAttr);
      runStart = c;
      runAttr = a;
    }
    o << "\n";
  }
  return o.str();
}

void Session::Send(std::string_view bytes) {
  if (Master < 0) return;
  size_t off = 0;
  while (off < bytes.size()) {
    ssize_t n = write(Master, bytes.data() + off, bytes.size() - off);
    if (n > 0) off += size_t(n);
    else if (n < 0 && errno == EAGAIN) Pump(Ms{10});  // the program is busy; keep its output moving meanwhile
    else if (!(n < 0 && errno == EINTR)) return;
  }
}

void Session::Keys(std::string_view script) {
  for (const std::string& k : ParseKeys(script)) {
    Send(k);
    // The program tells a lone Esc from Alt+key by a pause of about 25 ms.
    if (k == "\x1b") {
      auto end = std::chrono::steady_clock::now() + Ms{80};
      while (std::chrono::steady_clock::now() < end && Pump(Ms{10})) {
      }
    } else {
      Pump();
    }
  }
}

void Session::Resize(int cols, int rows) {
  const winsize ws{static_cast<unsigned short>(rows), static_cast<unsigned short>(cols), 0, 0};
  RowsN = rows;
  ColsN = cols;
  vterm_set_size(Vt, rows, cols);
  // The kernel signals the foreground group itself; the explicit signal
  // covers a program that runs in a group of its own.
  ioctl(Master, TIOCSWINSZ, &ws);
  if (Child > 0 && !Ended) kill(Child, SIGWINCH);
}

void Session::Signal(int sig) {
  if (Child > 0 && !Ended) kill(Child, sig);
}

void Session::HangUp() {
  if (Master >= 0) close(Master);
  Master = -1;
  Closed = true;
}

bool Session::Running() {
  if (Child <= 0 || Ended) return false;
  int status = 0;
  if (waitpid(Child, &status, WNOHANG) != Child) return true;
  Ended = ExitStatus{WIFEXITED(status), WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                     WIFSIGNALED(status) ? WTERMSIG(status) : 0};
  return false;
}

std::optional<ExitStatus> Session::WaitExit(Ms deadline) {
  auto end = std::chrono::steady_clock::now() + deadline;
  while (Running()) {
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    if (!Pump(Ms{10})) usleep(5000);  // hung up: nothing to read, just wait
  }
  // What the program wrote just before it ended is still in the pty.
  while (Pump(Ms{0}) && Master >= 0) {
    pollfd p{Master, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0) break;
  }
  return Ended;
}

std::optional<termios> Session::TtyModes() const {
  termios t{};
  if (Slave < 0 || tcgetattr(Slave, &t) != 0) return std::nullopt;
  return t;
}

std::string Session::SanitizerReports() const {
  std::string out;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(San, ec))
    out += entry.path().filename().string() + ":\n" + test::TempDir::Read(entry.path()) + "\n";
  return out;
}

}  // namespace lumo::e2e

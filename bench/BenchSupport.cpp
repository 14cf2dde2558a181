#include "Bench.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

#include "app/MainLoop.h"
#include "app/Startup.h"
#include "files/CodePages.h"
#include "screen/Window.h"
#include "text/Cp866.h"
#include "text/LineStore.h"

namespace lumo::bench {

void BenchConsole::Update(bool force) {
  ++Updates;
  if (force) Front.Forget();
  Sent += RenderUpdate(Front, Cells(), W(), H(), CursorCol, CursorRow).size();
}

KeyCode BenchConsole::Next(KeyDecoder& decoder, const std::string& script, size_t& pos) {
  while (pos < script.size()) {
    Decoded d = decoder.Decode(reinterpret_cast<const uint8_t*>(script.data()) + pos, script.size() - pos, true);
    pos += d.Used ? d.Used : 1;
    if (d.Status == DecodeStatus::Key) return d.Key;
  }
  // A script that ends inside a paste ends it, as the terminal's silence does.
  if (decoder.Pasting()) return decoder.EndPaste().Key;
  return keys::Ctrl(keys::Alt(keys::Backspace));
}

KeyCode BenchConsole::ReadKey() { return Next(Decoder, Script, Pos); }

KeyCode BenchConsole::PeekKey() {
  if (!KeyWaiting()) return 0;
  KeyDecoder ahead = Decoder;
  size_t pos = Pos;
  return Next(ahead, Script, pos);
}

bool StartSession(Session& s, const std::string& path, std::string& why) {
  Editor& e = s.E;
  e.Con = &s.Con;
  e.Notify = [&s](TextState&, std::string_view) { ++s.Refusals; };
  if (!StartEditor(e, {"-W", path})) {
    why = "start-up failed";
    return false;
  }
  // The figures are only those of the largest text if all of it is in, at
  // the margins of an ordinary load.
  if (e.LineCount != MaxLines || e.CutLines != 0) why = "the text did not load whole";
  if (e.CompactLoad || !e.LengthLimit) why = "the text needed the compact reload";
  RedrawAll(e);
  ShowScreen(e);
  return why.empty();
}

Span RunKeys(Session& s, const std::string& bytes, long ops) {
  RedrawAll(s.E);
  ShowScreen(s.E);
  s.Con.Script = bytes;
  s.Con.Pos = 0;
  s.E.Quit = false;
  const size_t sent = s.Con.Sent;
  const long updates = s.Con.Updates;
  const auto t0 = Clock::now();
  MainLoop(s.E);
  return {ops, Micros(Clock::now() - t0), s.Con.Sent - sent, s.Con.Updates - updates};
}

Span TimeLoop(Session& s, long n, const std::function<void()>& f) {
  const size_t sent = s.Con.Sent;
  const long updates = s.Con.Updates;
  const auto t0 = Clock::now();
  for (long i = 0; i < n; ++i) f();
  return {n, Micros(Clock::now() - t0), s.Con.Sent - sent, s.Con.Updates - updates};
}

std::string Times(const std::string& bytes, long n) {
  std::string s;
  s.reserve(bytes.size() * size_t(n));
  for (long i = 0; i < n; ++i) s += bytes;
  return s;
}

bool CheckKeyBytes(std::string& why) {
  const std::pair<const std::string*, KeyCode> forms[] = {
      {&KeyDown, keys::Down}, {&KeyUp, keys::Up}, {&KeyRight, keys::Right}, {&KeyPageDown, keys::PgDn}};
  for (const auto& [bytes, key] : forms) {
    KeyDecoder d;
    Decoded r = d.Decode(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size(), true);
    if (r.Status != DecodeStatus::Key || r.Key != key || r.Used != bytes->size()) {
      why = "the decoder does not read " + KeyName(key) + " from its xterm bytes";
      return false;
    }
  }
  return true;
}

size_t WriteLargestText(const std::string& path, bool utf8) {
  const char* latin[] = {"editor", "line", "screen", "cursor", "buffer", "window", "status", "margin",
                         "Text", "file", "block", "search", "replace", "format", "page", "Lumo,"};
  const char* code[] = {"if (n > 0) {", "return x;", "a[i] = b[i] + 1;", "for (i = 1; i <= n; ++i)",
                        "}", "x := y * 2;", "begin", "end;", "// note:", "{ comment }"};
  const char* cyrillic[] = {"строка", "текст", "редактор", "экран", "курсор", "память", "файл",
                            "поиск", "замена", "абзац", "Москва,", "ЁЖИК", "щётка.", "данные"};
  std::vector<std::string> words;
  for (const char* w : latin) words.emplace_back(w);
  for (const char* w : code) words.emplace_back(w);
  for (const char* w : cyrillic) {
    words.push_back(Cp(w));
    words.push_back(Cp(w));  // Cyrillic as often as the rest together
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  uint32_t x = 2463534242u;  // xorshift: the same text every run
  auto next = [&x] {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return x;
  };
  size_t total = 0;
  std::string line;
  for (int i = 0; i < MaxLines; ++i) {
    // One line in eight short (blank ones among them), one of middle length,
    // the rest long up to the 255 a line can hold.
    const int kind = i % 8;
    const size_t len = kind == 0 ? next() % 80 : kind == 1 ? 80 + next() % 112 : 192 + next() % 64;
    line.clear();
    while (line.size() < len) line += words[next() % words.size()] + " ";
    line.resize(len);
    if (utf8) line = Utf8FromCp866(line);
    line += "\r\n";
    total += std::fwrite(line.data(), 1, line.size(), f);
  }
  return std::fclose(f) == 0 ? total : 0;
}

std::string WriteAnsiText(const std::string& path) {
  const char* cyrillic[] = {"строка", "текст", "редактор", "экран", "курсор", "память", "файл", "поиск",
                            "замена", "абзац", "Москва,", "ЁЖИК", "щётка.", "данные", "и", "в", "на"};
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return {};
  uint32_t x = 88675123u;
  std::string line, first;
  bool ok = true;
  for (int i = 0; i < MaxLines && ok; ++i) {
    line.clear();
    while (line.size() < 200) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      line += Cp(cyrillic[x % (sizeof cyrillic / sizeof *cyrillic)]) + " ";
    }
    line.resize(200);
    if (i == 0) first = line;
    RecodeBytes(line.data(), line.size(), ToAnsi);
    line += "\r\n";
    ok = std::fwrite(line.data(), 1, line.size(), f) == line.size();
  }
  return std::fclose(f) == 0 && ok ? first : std::string();
}

long PeakKb(int pid) {
  FILE* st = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
  if (!st) return -1;
  long kb = -1;
  char line[256];
  while (std::fgets(line, sizeof line, st))
    if (std::strncmp(line, "VmHWM:", 6) == 0) kb = std::atol(line + 6);
  std::fclose(st);
  return kb;
}

namespace {

// What a child sends back through its pipe.
struct ChildResult {
  double UsPerOp;
  double BytesPerOp;
  long PeakKb;
  long BaseKb;
  long OpsPerRun;
  char Why[200];
};

ChildResult RunHere(const Bench& b, const std::string& path) {
  ChildResult r{};
  std::string why;
  auto s = std::make_unique<Session>();
  std::vector<double> perOp;
  Span all;
  r.BaseKb = PeakKb(getpid());
  if (StartSession(*s, path, why)) {
    for (int run = 0; run < b.Runs && why.empty(); ++run) {
      Span sp = b.Run(*s, run, why);
      if (why.empty() && s->Refusals) why = "the editor refused an operation";
      if (why.empty() && sp.Ops <= 0) why = "no operations were timed";
      if (!why.empty()) break;
      perOp.push_back(sp.Us / double(sp.Ops));
      all += sp;
      r.OpsPerRun = sp.Ops;
    }
  }
  if (why.empty()) {
    std::sort(perOp.begin(), perOp.end());
    r.UsPerOp = perOp[perOp.size() / 2];
    r.BytesPerOp = double(all.Bytes) / double(all.Ops);
  }
  r.PeakKb = PeakKb(getpid());
  std::snprintf(r.Why, sizeof r.Why, "%s", why.c_str());
  return r;
}

}  // namespace

bool RunInChild(const Bench& b, const std::string& path, Row& row, std::string& why) {
  int fds[2];
  if (pipe(fds) != 0) {
    why = "no pipe";
    return false;
  }
  std::fflush(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    ChildResult r = RunHere(b, path);
    _exit(write(fds[1], &r, sizeof r) == ssize_t(sizeof r) ? 0 : 1);
  }
  close(fds[1]);
  ChildResult r{};
  const bool got = pid > 0 && read(fds[0], &r, sizeof r) == ssize_t(sizeof r);
  close(fds[0]);
  int status = 0;
  if (pid > 0) waitpid(pid, &status, 0);
  if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    why = "the benchmark process failed";
    return false;
  }
  if (r.Why[0]) {
    why = r.Why;
    return false;
  }
  row = {b.Name, r.UsPerOp, r.BytesPerOp, r.PeakKb, b.Runs, r.OpsPerRun, r.BaseKb};
  return true;
}

void PrintTable(const std::vector<Row>& rows) {
  std::printf("%-48s %14s %12s %12s %12s\n", "operation", "time/op (us)", "bytes/op", "peak RSS KB", "runs x ops");
  std::printf("%s\n", std::string(48 + 14 + 3 * 13 + 1, '-').c_str());
  for (const Row& r : rows) {
    const std::string reps = std::to_string(r.Runs) + " x " + std::to_string(r.OpsPerRun);
    std::printf("%-48s %14.2f %12.1f %12ld %12s\n", r.Name.c_str(), r.UsPerOp, r.BytesPerOp, r.PeakKb,
                reps.c_str());
  }
}

bool WriteCsv(const std::vector<Row>& rows, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "w");
  if (!f) return false;
  std::fprintf(f, "operation,us_per_op,bytes_per_op,peak_rss_kb,runs,ops_per_run\n");
  for (const Row& r : rows)
    std::fprintf(f, "\"%s\",%.3f,%.1f,%ld,%d,%ld\n", r.Name.c_str(), r.UsPerOp, r.BytesPerOp, r.PeakKb, r.Runs,
                 r.OpsPerRun);
  return std::fclose(f) == 0;
}

}  // namespace lumo::bench

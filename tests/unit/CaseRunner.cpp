// Editing cases as data. Every file tests/cases/*.cases is a list of cases,
// one behaviour a line:
//
//   [set-up] text before ⇒ keys ⇒ text after ⇒ checks
//
// A text is the editor's lines in UTF-8: ¦ is the cursor, ¶ a line break (code
// page 866 has neither), c×N is N copies of c, «x 1..9» the lines "x 1" to
// "x 9", \xHH a byte. A text after of "=" means "as before" (only the checks
// speak). Keys are key names of tests/data/keys.tsv in angle brackets, <Tab>×8
// repeats one, anything else is typed; blanks next to a key only separate. A
// final … says the keys end at a question on purpose: the screen is compared
// there, and Esc answers it. Set-up and checks are Name=value pairs (quoted
// when the value has blanks; see Fields below). A line holding only [set-up]
// gives the set-up of the cases after it; a line starting with ⇒ continues the
// case above; # starts a comment line.
//
// Each case gets a fresh editor on the test console, its text loaded as the
// program loads a file. Each key is the byte sequence a terminal was measured
// to send for it (kitty's, or the first terminal's that sends it), decoded by
// the real decoder with that terminal's profile; typed text goes through the
// decoder as UTF-8. The keys are queued and the real main loop runs them, with
// the state invariants checked at every read. The first read past the keys is
// where the case is compared; besides its checks, a case ending in the loop
// must show its text in the window, the cursor on the screen and its place on
// the status row. A read after that means a question still waits: the case
// fails, since its keys ran out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "app/Editor.h"
#include "app/Invariants.h"
#include "app/MainLoop.h"
#include "app/Startup.h"
#include "files/Load.h"
#include "screen/KeyDecoder.h"
#include "screen/StatusRow.h"
#include "screen/TestConsole.h"
#include "text/Cp866.h"
#include "text/LineStore.h"

namespace lumo {
namespace {

using test::TempDir;

// ---- Keys -----------------------------------------------------------------

// Terminal families as keys.tsv names its environments, outer terminal first.
DecoderProfile ProfileFor(const std::string& env) {
  DecoderProfile p;
  if (env.rfind("xterm", 0) == 0) {
    p.ShiftPagesAreKeypad = p.Meta8Bit = p.AltEnterIsCtrlAltM = true;
  } else if (env.rfind("tmux", 0) == 0 || env.rfind("linux", 0) == 0) {
    p.BsIsCtrlBackspace = false;
  }
  p.ShiftCursorIsKeypad = env.find("-numlock") != std::string::npos;
  return p;
}

// All keys the bytes give, as the console decodes what it has read.
std::vector<KeyCode> DecodeBytes(const std::string& bytes, const DecoderProfile& profile) {
  KeyDecoder d;
  d.Profile = profile;
  std::vector<KeyCode> keys;
  const auto* b = reinterpret_cast<const uint8_t*>(bytes.data());
  for (size_t at = 0; at < bytes.size();) {
    Decoded r = d.Decode(b + at, bytes.size() - at, false);
    if (r.Status == DecodeStatus::Incomplete) r = d.Decode(b + at, bytes.size() - at, true);
    if (r.Status == DecodeStatus::Key) keys.push_back(r.Key);
    at += std::max<size_t>(r.Used, 1);
  }
  return keys;
}

// Key name to key, through the measured bytes.
const std::map<std::string, KeyCode>& NamedKeys() {
  static const std::map<std::string, KeyCode> keys = [] {
    std::map<std::string, std::pair<std::string, std::string>> chosen;  // name: env, bytes
    std::ifstream in(LUMO_TEST_DATA "/keys.tsv");
    std::string row;
    std::getline(in, row);
    while (std::getline(in, row)) {
      std::vector<std::string> f;
      std::stringstream cells(row);
      for (std::string cell; std::getline(cells, cell, '\t');) f.push_back(cell);
      if (f.size() < 4 || f[3] == "-") continue;
      std::string bytes;
      for (size_t i = 0; i + 1 < f[3].size(); i += 2) bytes += char(std::stoi(f[3].substr(i, 2), nullptr, 16));
      auto it = chosen.find(f[0]);
      if (it == chosen.end() || (f[2] == "kitty-1" && it->second.first != "kitty-1"))
        chosen[f[0]] = {f[2], bytes};
    }
    std::map<std::string, KeyCode> m;
    for (const auto& [name, how] : chosen) {
      std::vector<KeyCode> k = DecodeBytes(how.second, ProfileFor(how.first));
      if (k.size() == 1) m[name] = k[0];
    }
    return m;
  }();
  return keys;
}

KeyCode Named(const std::string& name) { return NamedKeys().at(name); }

// ---- Texts ------------------------------------------------------------------

// The next character of UTF-8 text, advancing i.
std::string_view NextChar(std::string_view s, size_t& i) {
  size_t n = 1;
  const auto b = uint8_t(s[i]);
  if (b >= 0xF0) n = 4;
  else if (b >= 0xE0) n = 3;
  else if (b >= 0xC0) n = 2;
  n = std::min(n, s.size() - i);
  std::string_view c = s.substr(i, n);
  i += n;
  return c;
}

// The count after ×, advancing i.
int Count(std::string_view s, size_t& i) {
  int n = 0;
  auto [end, ec] = std::from_chars(s.data() + i, s.data() + s.size(), n);
  i = size_t(end - s.data());
  return ec == std::errc() ? n : 0;
}

struct Text {
  std::vector<std::string> Lines{""};  // code page 866
  int Line = 0, Col = 0;               // the cursor mark, 0 = none
  std::string Error;
};

Text Expand(std::string_view s) {
  Text t;
  for (size_t i = 0; i < s.size();) {
    std::string_view c = NextChar(s, i);
    std::string& line = t.Lines.back();
    if (c == "¦") {
      t.Line = int(t.Lines.size());
      t.Col = int(line.size()) + 1;
    } else if (c == "¶") {
      t.Lines.emplace_back();
    } else if (c == "×" && !line.empty()) {
      line.append(size_t(std::max(Count(s, i) - 1, 0)), line.back());
    } else if (c == "\\" && s.substr(i, 1) == "x" && i + 3 <= s.size()) {
      line += char(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
      i += 3;
    } else if (c == "«") {
      const size_t end = s.find("»", i), dots = s.find("..", i);
      if (end == std::string_view::npos || dots > end) return t.Error = "bad «»", t;
      size_t first = dots;
      while (first > i && std::isdigit(uint8_t(s[first - 1]))) --first;
      size_t at = first, to = dots + 2;
      const int a = Count(s, at), b = Count(s, to);
      if (at != dots || to != end) return t.Error = "bad «»", t;
      for (int n = a; n <= b; ++n) {
        if (n > a) t.Lines.emplace_back();
        t.Lines.back() += Cp(s.substr(i, first - i)) + std::to_string(n);
      }
      i = end + std::string_view("»").size();
    } else {
      size_t k = 0;
      uint32_t cp = uint8_t(c[0]) & (c.size() == 1 ? 0x7F : 0x3F >> (c.size() - 1));
      while (++k < c.size()) cp = cp << 6 | (uint8_t(c[k]) & 0x3F);
      const int b = UnicodeToCp866(cp);
      if (b < 0) return t.Error = "not in code page 866: " + std::string(c), t;
      line += char(b);
    }
  }
  // Blanks at a line's end only place the cursor: a loaded line would keep
  // them and take their room as its capacity.
  for (std::string& l : t.Lines) l.erase(l.find_last_not_of(' ') + 1);
  return t;
}

// A line for a failure report, as a case would write it.
std::string Show(std::string_view line, int cursor = 0) {
  std::string s(line), out;
  if (cursor > int(s.size()) + 1) s.resize(size_t(cursor - 1), ' ');
  for (size_t i = 0; i <= s.size();) {
    if (int(i) + 1 == cursor) out += "¦";
    if (i == s.size()) break;
    size_t run = 1;
    while (i + run < s.size() && s[i + run] == s[i] && int(i + run) + 1 != cursor) ++run;
    const auto b = uint8_t(s[i]);
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", b);
    out += b < 32 ? std::string(hex) : Utf8FromCp866(s.substr(i, 1));
    if (run < 6) run = 1;
    else out += "×" + std::to_string(run);
    i += run;
  }
  return out;
}

std::string Trim(std::string_view s) {
  const size_t a = s.find_first_not_of(' ');
  return a == std::string::npos ? "" : std::string(s.substr(a, s.find_last_not_of(' ') - a + 1));
}

// ---- One run ----------------------------------------------------------------

// Records the messages the editor waited on and checks the state at every
// read: a command may leave nothing broken even in the middle of a question.
struct CaseConsole : TestConsole {
  using TestConsole::TestConsole;
  Editor* E = nullptr;
  std::vector<std::string> Said;
  std::string Fault;
  std::string Row(int r) { return Show(Trim(Text(r))); }
  bool WaitKey(int ms) override {
    if (std::string s = Row(2); !s.empty()) Said.push_back(s);
    return TestConsole::WaitKey(ms);
  }
  KeyCode ReadKey() override {
    if (Fault.empty()) Fault = CheckInvariants(*E);
    return TestConsole::ReadKey();
  }
};

struct Run {
  Editor& E;
  CaseConsole& Con;
  bool Ended;
};

std::string Pair(int a, int b, char sep = ',') { return std::to_string(a) + sep + std::to_string(b); }

bool ReadPair(const std::string& v, int& a, int& b, char sep = ',') {
  const size_t at = v.find(sep);
  if (at == std::string::npos) return false;
  a = std::atoi(v.c_str());
  b = std::atoi(v.c_str() + at + 1);
  return true;
}

std::string ScreenCursor(Run& r) { return Pair(r.Con.CursorRow + 1, r.Con.CursorCol + 1); }

// Set-up before the load (margins give the lines their capacity), set-up after
// it, and checks. A '#' in a name stands for a number: LineMark2, Cap3.
struct Field {
  const char* Name;
  bool BeforeLoad;
  std::function<bool(Editor&, int, const std::string&)> Set;
  std::function<std::string(Run&, int)> Get;
};

template <class T, class S>
Field Number(const char* name, T S::*m, bool beforeLoad = false) {
  return {name, beforeLoad,
          [m](Editor& e, int, const std::string& v) { return e.*m = T(std::atoi(v.c_str())), true; },
          [m](Run& r, int) { return std::to_string(int(r.E.*m)); }};
}

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = {
      {"At", false,
       [](Editor& e, int, const std::string& v) {
         int l = 0, c = 0;
         return ReadPair(v, l, c) && (e.CurLine = int16_t(l), e.CurCol = int16_t(c), true);
       },
       [](Run& r, int) { return Pair(r.E.CurLine, r.E.CurCol); }},
      Number("Top", &Editor::TopLine),
      Number("HScroll", &Editor::HScroll),
      Number("LeftMargin", &Editor::LeftMargin, true),
      Number("RightMargin", &Editor::RightMargin, true),
      Number("FormatWidth", &Editor::FormatWidth, true),
      Number("ColumnMark", &Editor::ColumnMark),
      Number("Insert", &Editor::InsertMode),
      Number("Rus", &Editor::RusMode),
      Number("Pseudo", &Editor::PseudographicsMode),
      Number("Program", &Editor::ProgramTextMode),
      Number("HalfScroll", &Editor::HalfScroll),
      Number("Macros", &Editor::MacrosOn),
      Number("Modified", &Editor::Modified),
      Number("OpFailed", &Editor::OpFailed),
      Number("Count", &Editor::LineCount),
      {"Budget", false,
       [](Editor& e, int, const std::string& v) { return e.BudgetLimit = e.BudgetUsed + size_t(std::atoi(v.c_str())), true; },
       nullptr},
      {"LineMark#", false,
       [](Editor& e, int i, const std::string& v) { return i >= 1 && i <= 3 && (e.LineMark[i] = int16_t(std::atoi(v.c_str())), true); },
       [](Run& r, int i) { return std::to_string(i >= 1 && i <= 3 ? r.E.LineMark[i] : -1); }},
      {"PosMark#", false,
       [](Editor& e, int i, const std::string& v) {
         int l = 0, c = 0;
         return i >= 1 && i <= 2 && ReadPair(v, l, c) && (e.PosMark[i] = {int16_t(l), 1, int16_t(c)}, true);
       },
       [](Run& r, int i) { return i >= 1 && i <= 2 ? Pair(r.E.PosMark[i].Line, r.E.PosMark[i].Col) : "?"; }},
      {"Block", false,
       [](Editor& e, int, const std::string& v) {
         int a = 0, b = 0;
         return ReadPair(v, a, b, '-') && (e.BlockFirst = int16_t(a), e.BlockLast = int16_t(b), true);
       },
       [](Run& r, int) { return r.E.BlockFirst ? Pair(r.E.BlockFirst, r.E.BlockLast, '-') : "0"; }},
      // A rectangle: first-last line:first-last column, "2:5-8" on one line.
      {"Rect", false,
       [](Editor& e, int, const std::string& v) {
         const size_t colon = v.find(':');
         int l1 = 0, l2 = 0, c1 = 0, c2 = 0;
         if (colon == std::string::npos || !ReadPair(v.substr(colon + 1), c1, c2, '-')) return false;
         if (!ReadPair(v.substr(0, colon), l1, l2, '-')) l1 = l2 = std::atoi(v.c_str());
         e.RectFirstLine = int16_t(l1), e.RectLastLine = int16_t(l2);
         e.RectFirstCol = int16_t(c1), e.RectLastCol = int16_t(c2);
         return true;
       },
       [](Run& r, int) {
         const Editor& e = r.E;
         if (!e.RectFirstLine) return std::string("0");
         std::string lines = e.RectFirstLine == e.RectLastLine ? std::to_string(e.RectFirstLine)
                                                               : Pair(e.RectFirstLine, e.RectLastLine, '-');
         return lines + ":" + Pair(e.RectFirstCol, e.RectLastCol, '-');
       }},
      {"Cap#", false, nullptr,
       [](Run& r, int i) { return i >= 1 && i <= r.E.LineCount ? std::to_string(Capacity(r.E, i)) : "?"; }},
      // The messages the editor waited on; empty when it said nothing.
      {"Msg", false, nullptr, nullptr},
      {"Row#", false, nullptr, [](Run& r, int i) { return i >= 1 && i <= r.Con.H() ? r.Con.Row(i) : "?"; }},
      // The prompt line's answer field, from column 28.
      {"Answer", false, nullptr,
       [](Run& r, int) {
         std::string a = r.Con.Text(2, 28);
         return Show(a.erase(a.find_last_not_of(' ') + 1));
       }},
      {"Cursor", false, nullptr, [](Run& r, int) { return ScreenCursor(r); }},
      {"Waited", false, nullptr, [](Run& r, int) { return std::to_string(r.Con.WaitedMs); }},
      {"Exit", false, nullptr,
       [](Run& r, int) { return r.Ended ? std::to_string(r.E.ExitCode) : std::string("still editing"); }},
      // The edited file's bytes, line ends written as ¶.
      {"Saved", false, nullptr,
       [](Run& r, int) {
         std::string s = TempDir::Read(r.E.BoundName), out;
         for (size_t at; (at = s.find("\r\n")) != std::string::npos; s.erase(0, at + 2)) out += Show(s.substr(0, at)) + "¶";
         return out + Show(s);
       }},
  };
  return fields;
}

// Texts on the screen and in the file are compared as a failure shows them,
// so "a×5" and "aaaaa" mean the same.
bool Textual(const std::string& name) {
  return name == "Answer" || name == "Saved" || name == "Msg" || name.rfind("Row", 0) == 0;
}

std::string Canonical(const std::string& value) {
  std::string out;
  for (const std::string& l : Expand(value).Lines) out += (out.empty() ? "" : "¶") + Show(l);
  return out;
}

const Field* FindField(const std::string& name, int& index) {
  size_t digits = name.size();
  while (digits > 0 && std::isdigit(uint8_t(name[digits - 1]))) --digits;
  index = digits < name.size() ? std::atoi(name.c_str() + digits) : 0;
  for (const Field& f : Fields()) {
    std::string_view n = f.Name;
    if (n == name || (n.back() == '#' && digits < name.size() && n.substr(0, n.size() - 1) == name.substr(0, digits)))
      return &f;
  }
  return nullptr;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs ReadPairs(std::string_view s, std::string& error) {
  Pairs out;
  std::string text(s);
  for (size_t i = 0; i < text.size();) {
    if (text[i] == ' ') { ++i; continue; }
    const size_t eq = text.find('=', i);
    if (eq == std::string::npos) return error = "no '=' in " + text.substr(i), out;
    std::string value;
    size_t end = eq + 1;
    if (end < text.size() && text[end] == '"') {
      end = text.find('"', eq + 2);
      if (end == std::string::npos) return error = "unclosed quote", out;
      value = text.substr(eq + 2, end - eq - 2);
      ++end;
    } else {
      end = std::min(text.find(' ', eq), text.size());
      value = text.substr(eq + 1, end - eq - 1);
    }
    out.emplace_back(text.substr(i, eq - i), value);
    i = end;
  }
  return out;
}

struct Keys {
  std::vector<KeyCode> Codes;
  bool Question = false;
  std::string Error;
};

Keys ExpandKeys(std::string_view s) {
  Keys k;
  if (s.size() >= 3 && s.substr(s.size() - 3) == "…") {
    k.Question = true;
    s.remove_suffix(3);
  }
  std::string typed, last;
  auto type = [&](bool beforeKey) {
    if (beforeKey) typed.erase(typed.find_last_not_of(' ') + 1);
    std::vector<KeyCode> c = DecodeBytes(typed, ProfileFor("kitty-1"));
    k.Codes.insert(k.Codes.end(), c.begin(), c.end());
    typed.clear();
  };
  bool afterKey = true;
  for (size_t i = 0; i < s.size();) {
    if (s[i] == '<') {
      const size_t end = s.find('>', i + 2);
      const std::string name(s.substr(i + 1, end - i - 1));
      if (end == std::string_view::npos || !NamedKeys().count(name)) return k.Error = "no key <" + name + ">", k;
      type(true);
      i = end + 1;
      int n = 1;
      if (s.substr(i, 2) == "×") n = Count(s, i += 2);
      k.Codes.insert(k.Codes.end(), size_t(n), Named(name));
      afterKey = true;
      continue;
    }
    std::string_view c = NextChar(s, i);
    if (afterKey && c == " ") continue;
    afterKey = false;
    if (c == "×" && !last.empty()) {
      for (int n = Count(s, i); n > 1; --n) typed += last;
    } else {
      typed += c;
      last = c;
    }
  }
  type(true);
  return k;
}

// ---- Cases ------------------------------------------------------------------

struct Case {
  int Line = 0;
  std::string Source, Defaults, Setup, Before, Keys, After, Checks;
};

// Compares what the editor did with what the case says; empty when they agree.
std::string RunCase(const Case& c) {
  std::string error;
  Pairs setup = ReadPairs(c.Setup, error), checks = ReadPairs(c.Checks, error);
  int w = 80, h = 25;
  for (auto& [name, value] : setup)
    if (name == "Screen") ReadPair(value, w, h, 'x');
  const Text before = Expand(c.Before);
  Text after = c.After == "=" ? before : Expand(c.After);
  if (c.After == "=") after.Line = after.Col = 0;
  const Keys keys = ExpandKeys(c.Keys);
  for (const std::string& e : {before.Error, after.Error, keys.Error})
    if (error.empty()) error = e;
  if (!error.empty()) return "malformed case: " + error;

  TempDir dir;
  CaseConsole con(w, h);
  auto editor = std::make_unique<Editor>();
  Editor& e = *editor;
  con.E = &e;
  e.Con = &con;
  SetStartValues(e);
  e.FileName = e.BoundName = dir / "text.txt";
  e.HistoryFile = dir / "history";
  e.SettingsFile = dir / "settings";
  e.ClipFile = dir / "clip";
  e.Notify = [](TextState& t, std::string_view m) { ShowMessage(static_cast<Editor&>(t), m, 1); };
  auto apply = [&](bool beforeLoad) {
    for (auto& [name, value] : setup) {
      int i = 0;
      const Field* f = FindField(name, i);
      if (name == "Screen") continue;
      if (!f || !f->Set) error = "no set-up " + name;
      else if (f->BeforeLoad == beforeLoad && !f->Set(e, i, value)) error = "bad value " + name + "=" + value;
    }
  };
  apply(true);
  ComputeTabStops(e);
  e.CurCol = e.ColumnMark = e.LeftMargin;
  std::string bytes;
  for (const std::string& l : before.Lines) bytes += l + "\r\n";
  TempDir::Write(e.FileName, bytes);
  InitLineTable(e);
  LoadBytes(e, bytes);
  EnsureOneLine(e);
  e.Modified = false;
  e.ExitCode = 0;
  if (before.Line) e.CurLine = int16_t(before.Line), e.CurCol = int16_t(before.Col);
  apply(false);
  if (!error.empty()) return "malformed case: " + error;

  // Compared at the first read past the keys, or when the editor has ended.
  std::string report, screen, row2;
  int extraReads = 0;
  Run run{e, con, false};
  auto compare = [&] {
    std::vector<std::string> want, got;
    auto text = [&](int i) {
      std::string_view l = LineBytes(e, i);
      return l.substr(0, TextLength(l));
    };
    bool differs = after.Lines.size() != size_t(e.LineCount) ||
                   (after.Line && (after.Line != e.CurLine || after.Col != e.CurCol));
    for (int i = 1; i <= e.LineCount && !differs; ++i) differs = after.Lines[size_t(i - 1)] != text(i);
    // A long text shows only its differing lines, numbered.
    const size_t n = std::max(after.Lines.size(), size_t(e.LineCount));
    for (size_t i = 0; differs && i < n; ++i) {
      std::string w = i < after.Lines.size() ? Show(after.Lines[i], int(i) + 1 == after.Line ? after.Col : 0) : "";
      std::string g = int(i) < e.LineCount ? Show(text(int(i) + 1), int(i) + 1 == e.CurLine ? e.CurCol : 0) : "";
      if (n > 12 && w == g) continue;
      const std::string at = n > 12 ? std::to_string(i + 1) + ": " : "";
      want.push_back(i < after.Lines.size() ? at + w : "");
      got.push_back(int(i) < e.LineCount ? at + g : "");
    }
    for (auto& [name, value] : checks) {
      int i = 0;
      const Field* f = FindField(name, i);
      std::string actual;
      if (!f || (!f->Get && name != "Msg")) {
        actual = "(no such check)";
      } else if (name == "Msg") {
        std::string all;
        for (const std::string& s : con.Said) all += (all.empty() ? "" : " | ") + s;
        if (value.empty() ? con.Said.empty() : std::count(con.Said.begin(), con.Said.end(), Canonical(value)) > 0)
          continue;
        actual = all;
      } else {
        actual = f->Get(run, i);
        if (actual == (Textual(name) ? Canonical(value) : value)) continue;
      }
      want.push_back(name + "=" + value);
      got.push_back(name + "=" + actual);
    }
    if (!keys.Question && !run.Ended) {
      // Whatever the loop shows must be the text as it is now.
      const int top = e.TopLine;
      for (int r = 3; r <= h && screen.empty(); ++r) {
        const int i = top + r - 3;
        std::string_view l = i <= e.LineCount ? LineBytes(e, i) : std::string_view("");
        if (std::any_of(l.begin(), l.begin() + TextLength(l), [](char b) { return uint8_t(b) < 32; })) continue;
        std::string shown = con.Text(r), wanted;
        for (int col = 1; col <= w; ++col) wanted += size_t(e.HScroll + col) <= l.size() ? l[size_t(e.HScroll + col - 1)] : ' ';
        if (shown != wanted) screen = "row " + std::to_string(r) + " shows \"" + Show(Trim(shown)) + "\"";
      }
      const std::string status = con.Text(1, 22, 31) + " ";
      auto shows = [&](const std::string& field) {
        const size_t at = status.find(field);
        return at != std::string::npos && !std::isdigit(uint8_t(status[at + field.size()]));
      };
      if (status.rfind("line=", 0) != 0 || !shows("line=" + std::to_string(e.CurLine)) ||
          !shows("column=" + std::to_string(e.CurCol)))
        screen = "status row shows \"" + Show(Trim(status)) + "\"";
      if (ScreenCursor(run) != Pair(e.CurLine - top + 3, e.CurCol - e.HScroll))
        screen = "screen cursor at " + ScreenCursor(run);
    }
    for (size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
      std::string l = i < want.size() ? want[i] : "", r = i < got.size() ? got[i] : "";
      size_t chars = 0;
      for (size_t k = 0; k < l.size(); NextChar(l, k)) ++chars;
      report += "  " + l + std::string(chars < 36 ? 36 - chars : 1, ' ') + "| " + r + "\n";
    }
    if (!report.empty()) report = "  expected" + std::string(28, ' ') + "| actual\n" + report;
  };
  con.Keys.assign(keys.Codes.begin(), keys.Codes.end());
  con.Feed = [&]() -> KeyCode {
    if (extraReads++ == 0) {
      row2 = con.Row(1) + "\" / \"" + con.Row(2);
      compare();
      return Named("Ctrl+Alt+Backspace");
    }
    // Winding down: Esc leaves a question, Ctrl+Alt+Backspace the loop.
    return extraReads % 2 ? Named("Ctrl+Alt+Backspace") : Named("Esc");
  };
  MainLoop(e);
  if (extraReads == 0) {
    run.Ended = true;
    compare();
    if (!con.Keys.empty()) report += "  the editor ended with " + std::to_string(con.Keys.size()) + " keys unread\n";
    else if (std::none_of(checks.begin(), checks.end(), [](auto& p) { return p.first == "Exit"; }))
      report += "  the editor ended\n";
  } else if (keys.Question && extraReads == 1) {
    report += "  no question was waiting at the end of the keys\n";
  } else if (!keys.Question && extraReads > 1) {
    report += "  a question waits for more keys: \"" + row2 + "\"\n";
  }
  if (!screen.empty() && extraReads <= 1) report += "  the screen is stale: " + screen + "\n";
  if (!con.Fault.empty()) report += "  broken state: " + con.Fault + "\n";
  return report;
}

// Splits a case line at ⇒ into its parts; one blank each side belongs to the
// arrow, so blanks at a text's ends stay the text's.
bool ParseCase(Case& c) {
  std::string s = c.Source;
  std::vector<std::string> parts;
  for (size_t at; (at = s.find("⇒")) != std::string::npos; s.erase(0, at + 3)) parts.push_back(s.substr(0, at));
  parts.push_back(s);
  if (parts.size() < 3 || parts.size() > 4) return false;
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string& p = parts[i];
    if (i > 0 && !p.empty() && p.front() == ' ') p.erase(0, 1);
    if (i + 1 < parts.size() && !p.empty() && p.back() == ' ') p.pop_back();
  }
  c.Setup = c.Defaults;
  if (!parts[0].empty() && parts[0][0] == '[') {
    const size_t close = parts[0].find(']');
    if (close == std::string::npos) return false;
    c.Setup += " " + parts[0].substr(1, close - 1);
    parts[0].erase(0, parts[0].compare(close + 1, 1, " ") == 0 ? close + 2 : close + 1);
  }
  c.Before = parts[0];
  c.Keys = Trim(parts[1]);
  c.After = parts[2];
  c.Checks = parts.size() > 3 ? parts[3] : "";
  return true;
}

void RunFile(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<Case> cases;
  std::string defaults, line;
  for (int n = 1; std::getline(in, line); ++n) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    if (t.rfind("⇒", 0) == 0 && !cases.empty()) {
      cases.back().Source += " " + t;
      continue;
    }
    if (t[0] == '[' && t.find("⇒") == std::string::npos) {
      defaults = t.substr(1, t.find(']') - 1);
      continue;
    }
    Case c;
    c.Line = n;
    c.Source = line;
    c.Defaults = defaults;
    cases.push_back(c);
  }
  ASSERT_FALSE(cases.empty()) << path;
  for (Case& c : cases) {
    if (!ParseCase(c)) {
      ADD_FAILURE_AT(path.c_str(), c.Line) << "not a case: " << c.Source;
      continue;
    }
    const std::string report = RunCase(c);
    if (!report.empty()) ADD_FAILURE_AT(path.c_str(), c.Line) << c.Source << "\n" << report;
  }
}

std::vector<std::string> CaseFiles() {
  std::vector<std::string> files;
  for (const auto& f : std::filesystem::directory_iterator(LUMO_TEST_DATA "/../cases"))
    if (f.path().extension() == ".cases") files.push_back(std::filesystem::canonical(f.path()));
  std::sort(files.begin(), files.end());
  return files;
}

class Cases : public ::testing::TestWithParam<std::string> {};

TEST_P(Cases, AllPass) { RunFile(GetParam()); }

INSTANTIATE_TEST_SUITE_P(File, Cases, ::testing::ValuesIn(CaseFiles()),
                         [](const auto& info) { return std::filesystem::path(info.param).stem().string(); });

}  // namespace
}  // namespace lumo

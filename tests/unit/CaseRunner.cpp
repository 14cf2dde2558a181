// Editing cases as data. Every file tests/cases/*.cases is a list of cases,
// one behaviour a line:
//
//   [set-up] text before ⇒ keys ⇒ text after ⇒ checks
//
// A text is the editor's lines in UTF-8: ¦ is the cursor, ¶ a line break (code
// page 866 has neither), c×N is N copies of c, «x 1..9» the lines "x 1" to
// "x 9", \xHH a byte; blanks at a line's end only place the cursor. A text
// after of "=" means "as before", the cursor left to the checks. Keys are key
// names of tests/data/keys.tsv in angle brackets, <Tab>×8 repeats one, and
// anything else is typed; blanks next to a key only separate. <Paste "text">
// is text pasted into the terminal, between the paste markers: UTF-8 as
// written, with the shorthands, ¶ a line end as terminals paste it (CR) and
// \xHH a byte (\x0A for LF, \x09 for TAB, broken UTF-8). A final … says
// the keys end at a question on purpose: the case is compared there. Set-up
// and checks are Name=value pairs, quoted when the value has blanks (see Set
// and Get below). A row's colours are checked as AttrN="07×3 70 1E×76": the
// attribute of each cell of row N in hex, left to right, a run of one value
// written once with ×count; the runs must be as long as they go. MsgAttr
// checks a message the editor waited on the same way. A line holding only
// [set-up] gives the set-up of the cases after it; a line starting with ⇒
// continues the case above; # starts a comment.
//
// Each case runs in a fresh directory of its own, which $D names, with a fresh
// editor on the test console and its text loaded as the program loads a file
// from text.txt there. Each key is the byte sequence a terminal was measured
// to send for it (kitty's, or the first terminal's that sends it), decoded by
// the real decoder with that terminal's profile; typed text goes through the
// decoder as UTF-8. The keys are queued and the real main loop runs them, the
// state invariants checked at every read. The first read past the keys is
// where the case is compared: besides its checks, a case that ends in the loop
// must show its text in the window, the cursor on the screen and its place on
// the status row. Any read after that is a question the keys did not answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <variant>
#include <vector>

#include "KeysTsv.h"
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

// ---- Keys -------------------------------------------------------------------

// Bytes that arrived together, as the console decodes them.
test::KeyRun Decode(std::string_view bytes, const DecoderProfile& profile) {
  KeyDecoder d;
  d.Profile = profile;
  return test::ReadKeys(d, bytes);
}

// Each key name with the value the decoder gives for the bytes kitty sends,
// or the first terminal that sends it.
const std::map<std::string, KeyCode>& NamedKeys() {
  static const std::map<std::string, KeyCode> keys = [] {
    std::map<std::string, KeyCode> m;
    for (const test::MeasuredKey& k : test::KeysTsv()) {
      if (k.Bytes.empty() || (m.count(k.Name) && k.Env != "kitty-1")) continue;
      const auto run = Decode({reinterpret_cast<const char*>(k.Bytes.data()), k.Bytes.size()}, test::ProfileFor(k.Env));
      if (run.Keys.size() == 1) m[k.Name] = run.Keys[0];
    }
    return m;
  }();
  return keys;
}

// ---- Texts ------------------------------------------------------------------

std::string_view NextChar(std::string_view s, size_t& i) {
  const auto b = uint8_t(s[i]);
  const size_t n = std::min<size_t>(b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1, s.size() - i);
  i += n;
  return s.substr(i - n, n);
}

// The number at i (after a ×), advancing i.
int Count(std::string_view s, size_t& i) {
  int n = 0;
  i = size_t(std::from_chars(s.data() + i, s.data() + s.size(), n).ptr - s.data());
  return n;
}

struct Text {
  std::vector<std::string> Lines{""};  // code page 866
  int Line = 0, Col = 0;               // the cursor mark, 0 = none
  std::string Error;
};

// A written text or typed keys with the shorthands spelled out: «x 1..9» as
// lines, c×N as N copies of c, a \xHH counting as one character.
std::string Unfold(std::string_view s) {
  static const std::regex numbered("^«(.*?)(\\d+)\\.\\.(\\d+)»");
  std::string out, last;
  for (size_t i = 0; i < s.size();) {
    std::cmatch m;
    if (s.compare(i, 2, "«") == 0 && std::regex_search(s.data() + i, s.data() + s.size(), m, numbered)) {
      for (int n = std::stoi(m[2]); n <= std::stoi(m[3]); ++n) out += (n > std::stoi(m[2]) ? "¶" : "") + m[1].str() + std::to_string(n);
      i += size_t(m.length()), last.clear();
    } else if (const std::string_view c = NextChar(s, i); c == "×" && !last.empty()) {
      for (int n = Count(s, i); n > 1; --n) out += last;
    } else {
      last = c == "\\" && s.compare(i, 1, "x") == 0 ? std::string(s.substr(i - 1, 4)) : std::string(c);
      out += last, i += last.size() - c.size();
    }
  }
  return out;
}

Text Expand(const std::string& written) {
  const std::string s = Unfold(written);
  Text t;
  for (size_t i = 0; i < s.size();) {
    const std::string_view c = NextChar(s, i);
    std::string& line = t.Lines.back();
    if (c == "¦") t.Line = int(t.Lines.size()), t.Col = int(line.size()) + 1;
    else if (c == "¶") t.Lines.emplace_back();
    else if (c == "\\" && s.compare(i, 1, "x") == 0) line += char(std::stoi(s.substr(i + 1, 2), nullptr, 16)), i += 3;
    else if (uint8_t(c[0]) < 0x80) line += c[0];
    else if (const std::string b = Cp(c); b != "?") line += b;
    else t.Error = "not in code page 866: " + std::string(c);
  }
  // A loaded line would keep its trailing blanks and take them as capacity.
  for (std::string& l : t.Lines) l.erase(l.find_last_not_of(' ') + 1);
  return t;
}

// Bytes as a case writes them, for reports and for comparing screen texts.
std::string Show(std::string_view line, int cursor = 0) {
  std::string s(line), out;
  if (cursor > int(s.size()) + 1) s.resize(size_t(cursor - 1), ' ');
  for (size_t i = 0; i <= s.size();) {
    if (int(i) + 1 == cursor) out += "¦";
    if (i == s.size()) break;
    size_t run = 1;
    while (i + run < s.size() && s[i + run] == s[i] && int(i + run) + 1 != cursor) ++run;
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02X", unsigned(uint8_t(s[i])));
    out += uint8_t(s[i]) < 32 ? std::string(hex) : Utf8FromCp866(s.substr(i, 1));
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

// A written text in the form Show gives, so "a×5" and "aaaaa" compare equal.
std::string Canonical(const std::string& value) {
  std::string out;
  for (const std::string& l : Expand(value).Lines) out += (out.empty() ? "" : "¶") + Show(l);
  return out;
}

struct Keys {
  std::vector<KeyCode> Codes;
  std::vector<std::string> Pastes;  // the text of each paste key, in order
  bool Question = false;  // the keys end at a question on purpose
  std::string Error;
};

Keys ExpandKeys(std::string s) {
  static const std::regex key("\\s*<([^<>]+)>(?:×(\\d+))?\\s*");
  Keys k;
  if (s.size() >= 3 && s.compare(s.size() - 3, 3, "…") == 0) k.Question = true, s.resize(s.size() - 3);
  auto type = [&](std::string_view bytes) {
    const test::KeyRun run = Decode(bytes, test::ProfileFor("kitty-1"));
    k.Codes.insert(k.Codes.end(), run.Keys.begin(), run.Keys.end());
    k.Pastes.insert(k.Pastes.end(), run.Pastes.begin(), run.Pastes.end());
  };
  auto from = s.cbegin();
  static const std::regex paste("Paste \"(.*)\"");
  for (std::sregex_iterator it(s.begin(), s.end(), key), end; it != end; ++it) {
    type(Unfold(std::string(from, (*it)[0].first)));
    from = (*it)[0].second;
    if (std::smatch p; std::regex_match((*it)[1].first, (*it)[1].second, p, paste)) {
      std::string text = std::regex_replace(Unfold(p[1].str()), std::regex("¶"), "\r");
      for (size_t at; (at = text.find("\\x")) != std::string::npos;) text.replace(at, 4, 1, char(std::stoi(text.substr(at + 2, 2), nullptr, 16)));
      type("\x1b[200~" + text + "\x1b[201~");
      continue;
    }
    const auto named = NamedKeys().find((*it)[1]);
    if (named == NamedKeys().end()) k.Error = "no key <" + (*it)[1].str() + ">";
    else k.Codes.insert(k.Codes.end(), size_t((*it)[2].matched ? std::stoi((*it)[2]) : 1), named->second);
  }
  type(Unfold(std::string(from, s.cend())));
  return k;
}

// ---- The editor -------------------------------------------------------------

// Keeps the messages the editor waited on, and checks the state at every
// read: a command may leave nothing broken, not even while it asks.
struct CaseConsole : TestConsole {
  using TestConsole::TestConsole;
  Editor* E = nullptr;
  std::vector<std::string> Said, SaidAttrs;
  std::string Fault;
  std::string Row(int r) { return Show(Trim(Text(r))); }
  // The attributes of row r as runs: "07×3 70 1E×76".
  std::string Attrs(int r) {
    std::string runs;
    for (int c = 1, n; c <= W(); c += n) {
      for (n = 1; c + n <= W() && Attr(r, c + n) == Attr(r, c);) ++n;
      char run[16];
      std::snprintf(run, sizeof run, n > 1 ? " %02X×%d" : " %02X", unsigned(Attr(r, c)), n);
      runs += run;
    }
    return runs.substr(1);
  }
  bool WaitKey(int ms) override {
    if (std::string s = Row(2); !s.empty()) {
      Said.push_back(s);
      SaidAttrs.push_back(Attrs(2));
    }
    return TestConsole::WaitKey(ms);
  }
  KeyCode ReadKey() override {
    if (Fault.empty()) Fault = CheckInvariants(*E);
    return TestConsole::ReadKey();
  }
};

std::string Pair(int a, int b, const char* sep = ",") { return std::to_string(a) + sep + std::to_string(b); }

// The number ending a name: LineMark2, Cap3, Row1.
int Index(const std::string& name, std::string& base) {
  const size_t d = name.find_last_not_of("0123456789") + 1;
  base = name.substr(0, d);
  return d < name.size() ? std::atoi(name.c_str() + d) : 0;
}

// The numbers a case may both set and check, by name.
using Number = std::variant<int16_t*, uint8_t*, bool*, int*>;
std::map<std::string, Number> Numbers(Editor& e) {
  return {{"LeftMargin", &e.LeftMargin}, {"RightMargin", &e.RightMargin}, {"FormatWidth", &e.FormatWidth},
          {"Modified", &e.Modified}, {"CutLines", &e.CutLines}, {"Top", &e.TopLine}, {"HScroll", &e.HScroll},
          {"ColumnMark", &e.ColumnMark}, {"Insert", &e.InsertMode}, {"Rus", &e.RusMode},
          {"Pseudo", &e.PseudographicsMode}, {"Program", &e.ProgramTextMode}, {"HalfScroll", &e.HalfScroll},
          {"Macros", &e.MacrosOn}, {"Count", &e.LineCount}, {"OpFailed", &e.OpFailed},
          {"LineMark1", &e.LineMark[1]}, {"LineMark2", &e.LineMark[2]}, {"LineMark3", &e.LineMark[3]},
          {"Cross", &e.CursorCross}, {"FileType", &e.FileType}, {"CommentColour", &e.CommentColour},
          {"CodePageCheck", &e.CodePageCheck}, {"Clipex", &e.ClipexOn},
          {"Recording", &e.RecordCount}, {"Replay", &e.ReplayIndex}};
}

const std::map<std::string, CodePage> CodePages = {{"ASCII", CodePage::Ascii}, {"ANSI", CodePage::Ansi}, {"KOI8", CodePage::Koi8}};

// Set-up. The margins are set before the text is loaded, since they give the
// loaded lines their capacity, and so is CodePageCheck; the rest after.
// Guess=1 is taken in RunCase; Utf8=1 writes the case's text.txt in UTF-8.
bool Set(Editor& e, const std::string& name, const std::string& value, bool beforeLoad) {
  std::string base;
  const int i = Index(name, base), x = std::atoi(value.c_str());
  const char* v = value.c_str();
  int a = 0, b = 0, c = 0, d = 0;
  if (beforeLoad != (name == "LeftMargin" || name == "RightMargin" || name == "FormatWidth" || name == "CodePageCheck") ||
      name == "Screen" || name == "Utf8")
    return true;
  const auto numbers = Numbers(e);
  if (const auto n = numbers.find(name); n != numbers.end())
    return std::visit([&](auto* p) { *p = std::remove_reference_t<decltype(*p)>(x); }, n->second), true;
  // A file, "name:text" with each line but the last ended by CR LF, or a directory.
  const size_t colon = name == "File" ? value.find(':') : value.size();
  if (name == "File" || name == "Dir") {
    const std::filesystem::path path = value.substr(0, colon);
    std::error_code ec;
    std::filesystem::create_directories(name == "Dir" ? path : path.parent_path(), ec);
    std::string bytes;
    for (const std::string& l : Expand(value.substr(std::min(colon + 1, value.size()))).Lines) bytes += l + "\r\n";
    if (name == "File") TempDir::Write(value.substr(0, colon), bytes.substr(0, bytes.size() - 2));
  }
  else if (name == "Name") e.FileName = e.BoundName = Utf8FromCp866(Expand(value).Lines[0]);
  else if (name == "At" && std::sscanf(v, "%d,%d", &a, &b) == 2) e.CurLine = int16_t(a), e.CurCol = int16_t(b);
  else if (name == "Budget") e.BudgetLimit = e.BudgetUsed + size_t(x);
  else if (name == "CodePage" && CodePages.count(value)) e.FileCodePage = CodePages.at(value);
  else if (base == "PosMark" && i >= 1 && i <= 2 && std::sscanf(v, "%d,%d", &a, &b) == 2) e.PosMark[i] = {int16_t(a), 1, int16_t(b)};
  else if (name == "Block" && std::sscanf(v, "%d-%d", &a, &b) == 2) e.BlockFirst = int16_t(a), e.BlockLast = int16_t(b);
  // A rectangle: lines:columns, "2-3:5-8", or "2:5-8" on one line.
  else if (name == "Rect" && (std::sscanf(v, "%d-%d:%d-%d", &a, &b, &c, &d) == 4 ||
                              (std::sscanf(v, "%d:%d-%d", &a, &c, &d) == 3 && (b = a))))
    e.RectFirstLine = int16_t(a), e.RectLastLine = int16_t(b), e.RectFirstCol = int16_t(c), e.RectLastCol = int16_t(d);
  else return false;
  return true;
}

// Checks, in the notation of the set-up. Exit says the case ended the editor
// with that code; Updates counts the terminal updates until the case is
// compared; Saved is the bound file's bytes and File="name:text" a file's,
// line ends as ¶, and Saved8 the bound file read as UTF-8; Msg and MsgAttr
// (compared in RunCase) the messages the editor waited on; RowN a screen
// row's text, AttrN its attributes.
std::string Get(Editor& e, CaseConsole& con, bool ended, const std::string& name, const std::string& value) {
  std::string base;
  const int i = Index(name, base);
  auto num = [](int n) { return std::to_string(n); };
  const auto numbers = Numbers(e);
  if (const auto n = numbers.find(name); n != numbers.end()) return std::visit([](auto* p) { return std::to_string(*p); }, n->second);
  if (name == "At") return Pair(e.CurLine, e.CurCol);
  if (name == "CodePage")
    for (const auto& [word, page] : CodePages)
      if (page == e.FileCodePage) return word;
  if (base == "PosMark" && i >= 1 && i <= 2) return Pair(e.PosMark[i].Line, e.PosMark[i].Col);
  if (name == "Block") return e.BlockFirst ? Pair(e.BlockFirst, e.BlockLast, "-") : "0";
  if (name == "Rect")
    return !e.RectFirstLine ? "0"
           : (e.RectFirstLine == e.RectLastLine ? num(e.RectFirstLine) : Pair(e.RectFirstLine, e.RectLastLine, "-")) +
                 ":" + Pair(e.RectFirstCol, e.RectLastCol, "-");
  if (base == "Cap" && i >= 1 && i <= e.LineCount) return num(Capacity(e, i));
  if (base == "Row" && i >= 1 && i <= con.H()) return con.Row(i);
  if (base == "Attr" && i >= 1 && i <= con.H()) return con.Attrs(i);
  if (name == "Answer") {  // the prompt line's field, from column 28
    std::string a = con.Text(2, 28);
    return Show(a.erase(a.find_last_not_of(' ') + 1));
  }
  if (name == "Cursor") return Pair(con.CursorRow + 1, con.CursorCol + 1);
  if (name == "Waited") return num(int(con.WaitedMs));
  if (name == "Updates") return num(con.Updates);
  if (name == "Exit") return ended ? num(e.ExitCode) : "still editing";
  if (name == "Saved" || name == "Saved8" || name == "File") {
    const std::string path = name == "File" ? value.substr(0, value.find(':')) : e.BoundName;
    std::string s = name == "Saved8" ? Cp(TempDir::Read(path)) : TempDir::Read(path), out = name == "File" ? path + ":" : "";
    if (!std::filesystem::is_regular_file(path)) return out + "(no file)";
    for (size_t at; (at = s.find("\r\n")) != std::string::npos; s.erase(0, at + 2)) out += Show(s.substr(0, at)) + "¶";
    return out + Show(s);
  }
  return "(no such check)";
}

// Whatever the window and the status row show must be the state as it is.
std::string StaleScreen(Editor& e, CaseConsole& con) {
  for (int r = 3; r <= con.H(); ++r) {
    const int i = e.TopLine + r - 3;
    std::string_view l = i <= e.LineCount ? LineBytes(e, i) : std::string_view("");
    l = l.substr(0, TextLength(l));  // a colour ending is not shown
    if (std::any_of(l.begin(), l.end(), [](char b) { return uint8_t(b) < 32; })) continue;
    std::string want;
    for (size_t c = e.HScroll; c < size_t(e.HScroll + con.W()); ++c) want += c < l.size() ? l[c] : ' ';
    if (con.Text(r) != want) return "row " + std::to_string(r) + " shows \"" + con.Row(r) + "\"";
  }
  const std::string status = con.Text(1, 22, 31) + " ";
  for (const std::string& field : {"line=" + std::to_string(e.CurLine), "column=" + std::to_string(e.CurCol)})
    if (const size_t at = status.find(field); at == std::string::npos || std::isdigit(uint8_t(status[at + field.size()])))
      return "status row shows \"" + con.Row(1) + "\"";
  if (con.CursorRow + 1 != e.CurLine - e.TopLine + 3 || con.CursorCol + 1 != e.CurCol - e.HScroll)
    return "screen cursor at " + Pair(con.CursorRow + 1, con.CursorCol + 1);
  return "";
}

// ---- Cases ------------------------------------------------------------------

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs ReadPairs(const std::string& s, std::string& error) {
  static const std::regex pair("(\\w+)=(?:\"([^\"]*)\"|(\\S*))");
  Pairs out;
  for (std::sregex_iterator it(s.begin(), s.end(), pair), end; it != end; ++it)
    out.emplace_back((*it)[1], (*it)[2].matched ? (*it)[2] : (*it)[3]);
  if (!Trim(std::regex_replace(s, pair, "")).empty()) error = "not Name=value: " + s;
  return out;
}

struct Case {
  int Line = 0;
  std::string Source, Defaults;
};

// What went wrong, side by side with what the case expects; empty when the
// editor did as the case says.
std::string RunCase(const Case& c) {
  TempDir dir;
  struct InDir {
    std::filesystem::path Old = std::filesystem::current_path();
    ~InDir() { std::filesystem::current_path(Old); }
  } here;
  std::filesystem::current_path(dir.Path);
  // The arrows part the fields; one blank each side of an arrow belongs to it.
  const std::string source = std::regex_replace(c.Source, std::regex("\\$D"), dir.Path);
  static const std::regex arrow(" ?⇒ ?");
  const std::vector<std::string> f(std::sregex_token_iterator(source.begin(), source.end(), arrow, -1), {});
  static const std::regex setupAndText("(?:\\[(.*?)\\] ?)?(.*)");
  std::smatch m;
  if (f.size() < 3 || f.size() > 4 || !std::regex_match(f[0], m, setupAndText)) return "  not a case\n";
  std::string error;
  const Pairs setup = ReadPairs(c.Defaults + " " + m[1].str(), error);
  const Pairs checks = ReadPairs(f.size() > 3 ? f[3] : "", error);
  const Text before = Expand(m[2]);
  Text after = Expand(f[2] == "=" ? std::regex_replace(m[2].str(), std::regex("¦"), "") : f[2]);
  const Keys keys = ExpandKeys(f[1]);
  int w = 80, h = 25;
  for (auto& [name, value] : setup)
    if (name == "Screen") std::sscanf(value.c_str(), "%dx%d", &w, &h);

  CaseConsole con(w, h);
  auto editor = std::make_unique<Editor>();
  Editor& e = *(con.E = editor.get());
  e.Con = &con;
  SetStartValues(e);
  e.FileName = e.BoundName = dir / "text.txt";
  e.HistoryFile = dir / "history";
  e.SettingsFile = dir / "settings";
  e.ClipFile = dir / "clip";
  e.Notify = [](TextState& t, std::string_view text) { ShowMessage(static_cast<Editor&>(t), text, 1); };
  for (auto& [name, value] : setup)
    if (!Set(e, name, value, true)) error = "no set-up " + name;
  ComputeTabStops(e);
  e.CurCol = e.ColumnMark = e.LeftMargin;
  const bool utf8 = std::any_of(setup.begin(), setup.end(), [](auto& p) { return p.first == "Utf8"; });
  std::string bytes;
  for (const std::string& l : before.Lines) bytes += (utf8 ? Utf8FromCp866(l) : l) + "\r\n";
  TempDir::Write(e.FileName, bytes);
  InitLineTable(e);
  Utf8Verdict verdict;
  LoadBytes(e, bytes, &verdict);
  e.Modified = false;
  e.ExitCode = 0;
  if (before.Line) e.CurLine = int16_t(before.Line), e.CurCol = int16_t(before.Col);
  bool guess = false;
  for (auto& [name, value] : setup)
    if (name == "Guess") guess = value == "1";
    else if (!Set(e, name, value, false)) error = "no set-up " + name + "=" + value;
  for (const std::string& problem : {before.Error, after.Error, keys.Error})
    if (!problem.empty()) error = problem;
  if (!error.empty()) return "  malformed: " + error + "\n";

  // What the case expects side by side with what the editor did.
  std::string report, stale, asking;
  auto differ = [&](const std::string& want, const std::string& got) {
    const auto chars = std::count_if(want.begin(), want.end(), [](char b) { return (uint8_t(b) & 0xC0) != 0x80; });
    report += "  " + want + std::string(size_t(std::max<long>(36 - chars, 1)), ' ') + "| " + got + "\n";
  };
  int reads = 0;
  auto compare = [&](bool ended) {
    auto text = [&](int i) { return LineBytes(e, i).substr(0, TextLength(e, i)); };
    bool differs = after.Lines.size() != size_t(e.LineCount) || (after.Line && (after.Line != e.CurLine || after.Col != e.CurCol));
    for (int i = 1; i <= e.LineCount && !differs; ++i) differs = after.Lines[size_t(i - 1)] != text(i);
    // Of a long text only the differing lines are shown, numbered.
    const size_t n = differs ? std::max(after.Lines.size(), size_t(e.LineCount)) : 0;
    for (size_t i = 0; i < n; ++i) {
      const std::string at = n > 12 ? std::to_string(i + 1) + ": " : "";
      std::string l = i < after.Lines.size() ? at + Show(after.Lines[i], int(i) + 1 == after.Line ? after.Col : 0) : "";
      std::string r = int(i) < e.LineCount ? at + Show(text(int(i) + 1), int(i) + 1 == e.CurLine ? e.CurCol : 0) : "";
      if (n <= 12 || l != r) differ(l, r);
    }
    for (auto& [name, value] : checks) {
      std::string actual;
      if (name == "Msg" || name == "MsgAttr") {
        const std::vector<std::string>& said = name == "Msg" ? con.Said : con.SaidAttrs;
        const std::string want = name == "Msg" ? Canonical(value) : value;
        if (value.empty() ? said.empty() : std::count(said.begin(), said.end(), want) > 0) continue;
        for (const std::string& one : said) actual += (actual.empty() ? "" : " | ") + one;
      } else {
        actual = Get(e, con, ended, name, value);
        const bool textual = name == "Answer" || name.rfind("Saved", 0) == 0 || name == "File" || name.rfind("Row", 0) == 0;
        if (actual == (textual ? Canonical(value) : value)) continue;
      }
      differ(name + "=" + value, name + "=" + actual);
    }
    if (!keys.Question && !ended) stale = StaleScreen(e, con);
  };
  con.Keys.assign(keys.Codes.begin(), keys.Codes.end());
  con.Pastes.assign(keys.Pastes.begin(), keys.Pastes.end());
  con.Feed = [&]() -> KeyCode {
    if (reads++ == 0) {
      asking = con.Row(1) + "\" / \"" + con.Row(2);
      compare(false);
    }
    // Ctrl+Alt+Backspace leaves the loop at once; Esc leaves a question.
    return NamedKeys().at(reads % 2 ? "Ctrl+Alt+Backspace" : "Esc");
  };
  // Guess=1: the look the program's load takes at the first lines, answered by the keys.
  if (guess) {
    GuessLoadedCodePage(e, verdict);
    e.Modified = false;
  }
  MainLoop(e);
  if (reads == 0) compare(true);
  if (con.Fault.empty()) con.Fault = CheckInvariants(e);

  if (!report.empty()) report = "  expected" + std::string(28, ' ') + "| actual\n" + report;
  const bool exit = std::any_of(checks.begin(), checks.end(), [](auto& p) { return p.first == "Exit"; });
  if (reads == 0 && !con.Keys.empty()) report += "  the editor ended with " + std::to_string(con.Keys.size()) + " keys unread\n";
  else if (reads == 0 && !exit) report += "  the editor ended\n";
  if (keys.Question && reads == 1) report += "  no question was waiting at the end of the keys\n";
  if (!keys.Question && reads > 1) report += "  a question waits for more keys: \"" + asking + "\"\n";
  else if (!stale.empty()) report += "  the screen is stale: " + stale + "\n";
  if (!con.Fault.empty()) report += "  broken state: " + con.Fault + "\n";
  return report;
}

void RunFile(const std::string& path) {
  std::ifstream in(path);
  std::vector<Case> cases;
  std::string defaults, line;
  for (int n = 1; std::getline(in, line); ++n) {
    const std::string t = Trim(line);
    if (t.empty() || t[0] == '#') continue;
    if (t.rfind("⇒", 0) == 0 && !cases.empty()) cases.back().Source += " " + t;
    else if (t[0] == '[' && t.find("⇒") == std::string::npos) defaults = t.substr(1, t.find(']') - 1);
    else cases.push_back({n, line, defaults});
  }
  EXPECT_FALSE(cases.empty()) << path;
  for (const Case& c : cases)
    if (const std::string report = RunCase(c); !report.empty())
      ADD_FAILURE_AT(path.c_str(), c.Line) << c.Source << "\n" << report;
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

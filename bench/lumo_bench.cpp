// The editor's performance in one table: start-up of the real program on the
// largest text, then each editing operation in a process of its own, keys
// going as terminal bytes through the decoder, the main loop and the
// renderer (all but the system calls). Every row checks that the editor
// ended where its keys should have taken it, so a row never times nothing.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "Bench.h"
#include "app/MainLoop.h"
#include "app/Startup.h"
#include "files/Load.h"
#include "screen/KeyNames.h"
#include "screen/Window.h"
#include "text/Cp866.h"
#include "text/CaseMap.h"
#include "text/LineStore.h"
#include "tools/Macros.h"
#include "tools/BlockSum.h"

namespace lumo::bench {
namespace {

void Place(Editor& e, int line, int col) {
  e.CurLine = e.TopLine = int16_t(line);
  e.CurCol = int16_t(col);
  e.HScroll = 0;
}

// The whole screen drawn and sent, as after a resize.
void Redraw(Session& s) {
  RedrawAll(s.E);
  ShowScreen(s.E);
}

// n lines from `from` on whose text is lo..hi bytes long.
std::vector<int> LinesOfLength(const Editor& e, int from, int lo, int hi, size_t n) {
  std::vector<int> found;
  for (int i = from; i <= e.LineCount && found.size() < n; ++i) {
    const int len = TextLength(e, i);
    if (len >= lo && len <= hi) found.push_back(i);
  }
  return found;
}

// Types the same characters into each line at the column col(line) gives;
// every run takes lines of its own.
Span TypeInto(Session& s, int from, int lo, int hi, int (*col)(int len), int run, std::string& why) {
  const std::string typed = "Lumo текст ёж, abc Привет мир. Строка проверки скорости xyz!";
  const std::string stored = Cp(typed);
  const long perLine = long(stored.size());
  Editor& e = s.E;
  Span all;
  for (int line : LinesOfLength(e, from + run * 2000, lo, hi, 40)) {
    const int at = col(TextLength(e, line));
    Place(e, line, at);
    all += RunKeys(s, typed, perLine);
    if (LineBytes(e, line).substr(size_t(at - 1), stored.size()) != stored) {
      why = "the typed characters are not in the line";
      break;
    }
  }
  return all;
}

// Three loads of path as the program makes them, answer typed at any
// question; check judges each loaded text.
template <typename Check>
Span LoadThrice(Session& s, std::string path, std::string answer, Check check) {
  // The session's own text goes first, so the peak is that of one text.
  FreeAllLines(s.E);
  Span all;
  for (int i = 0; i < 3; ++i) {
    auto e = std::make_unique<Editor>();
    e->Con = &s.Con;
    SetStartValues(*e);
    InitLineTable(*e);
    e->FileName = path;
    s.Con.Script = answer;
    s.Con.Pos = 0;
    const auto t0 = Clock::now();
    const LoadResult r = LoadStartupFile(*e);
    all += {1, Micros(Clock::now() - t0), 0, 0};
    check(r, *e);
  }
  return all;
}

bool Whole(LoadResult r, const Editor& e) { return r == LoadResult::Loaded && e.LineCount == MaxLines && !e.CompactLoad; }

Span Load(Session& s, int, std::string& why) {
  return LoadThrice(s, s.E.FileName, "", [&](LoadResult r, const Editor& e) {
    if (!Whole(r, e) || e.CutLines) why = "the load came out short";
    if (e.FileCodePage != s.E.FileCodePage) why = "the load took the text in another code page";
  });
}

// The 1251 text and its first line as the load should make it (866).
std::string AnsiPath, AnsiFirstLine;

// The 1251 text loaded as the program loads it: the look at the first lines
// asks, the answer 1 ("ANSI") recodes every line.
Span LoadAnsi(Session& s, int, std::string& why) {
  return LoadThrice(s, AnsiPath, "1", [&](LoadResult r, const Editor& e) {
    if (!Whole(r, e)) why = "the load came out short";
    if (e.FileCodePage != CodePage::Ansi || LineBytes(e, 1).substr(0, AnsiFirstLine.size()) != AnsiFirstLine)
      why = "the text was not recoded from 1251";
  });
}

Span RedrawUnchanged(Session& s, int, std::string&) {
  Place(s.E, 12000, 1);
  Redraw(s);
  return TimeLoop(s, 5000, [&s] { Redraw(s); });
}

Span RedrawForced(Session& s, int, std::string&) {
  Place(s.E, 12000, 1);
  // What a resize or a return from an outside program does: the terminal is
  // taken to show anything, and every cell is sent.
  return TimeLoop(s, 2000, [&s] {
    s.Con.Front.Forget();
    Redraw(s);
  });
}

Span DownInWindow(Session& s, int, std::string& why) {
  Place(s.E, 12000, 1);
  const long rounds = 120;
  Span sp = RunKeys(s, Times(Times(KeyDown, 21) + Times(KeyUp, 21), rounds), rounds * 42);
  if (s.E.CurLine != 12000 || s.E.TopLine != 12000) why = "the cursor left the window";
  return sp;
}

Span DownThroughText(Session& s, int, std::string& why) {
  Place(s.E, 1, 1);
  Span sp = RunKeys(s, Times(KeyDown, MaxLines - 1), MaxLines - 1);
  if (s.E.CurLine != MaxLines) why = "the cursor did not reach the last line";
  return sp;
}

Span RightAlongLine(Session& s, int run, std::string& why) {
  Span all;
  for (int line : LinesOfLength(s.E, 1000 + run * 500, 192, 255, 40)) {
    Place(s.E, line, 1);
    all += RunKeys(s, Times(KeyRight, 254), 254);
    if (s.E.CurCol != 255) why = "the cursor did not reach column 255";
  }
  return all;
}

Span PageDown(Session& s, int, std::string& why) {
  Place(s.E, 1, 1);
  const long pages = (MaxLines - 1) / s.E.PageStep - 1;
  Span sp = RunKeys(s, Times(KeyPageDown, pages), pages);
  if (s.E.CurLine != 1 + pages * s.E.PageStep) why = "the pages did not go down the text";
  return sp;
}

Span TypeMiddle(Session& s, int run, std::string& why) {
  return TypeInto(s, 12000, 140, 191, [](int len) { return len / 2; }, run, why);
}

Span TypeEnd(Session& s, int run, std::string& why) {
  return TypeInto(s, 1000, 80, 191, [](int len) { return len + 1; }, run, why);
}

// The typing runs start on an empty line with a margin of 72; the full
// table has no room for the lines the wrapping adds, so the first run
// deletes some at the end.
void StartTyping(Session& s, int run, int room) {
  Editor& e = s.E;
  if (run == 0) {
    for (int16_t i = 1; i <= room; ++i) {
      int16_t at = 20000;
      DeleteLine(e, at);
    }
    e.RightMargin = e.FormatWidth = 72;
  }
  const int line = 12000 + run * 500;
  SetLineText(e, "", line);
  Place(e, line, 1);
}

// Ordinary writing: words wrapping into new lines.
Span TypeWrapping(Session& s, int run, std::string& why) {
  Editor& e = s.E;
  StartTyping(s, run, 600);
  const std::string typed = Times("текст ", 500);
  const int before = e.LineCount;
  Span sp = RunKeys(s, typed, 3000);
  if (e.LineCount < before + 30) why = "the words did not wrap into new lines";
  return sp;
}

// A paste: the characters arrive in one read, so the loop finds the next key
// waiting after each one and draws and updates only when they are all in.
Span TypeOneRead(Session& s, int run, std::string& why) {
  Editor& e = s.E;
  StartTyping(s, run, 1200);
  const std::string typed = Times("paste ", 1666) + "past";
  const int before = e.LineCount;
  s.Con.OneRead = true;
  Span sp = RunKeys(s, typed, long(typed.size()));
  s.Con.OneRead = false;
  if (sp.Updates != 1) why = "the paste took " + std::to_string(sp.Updates) + " updates, not one";
  if (e.LineCount < before + 100) why = "the words did not wrap into new lines";
  return sp;
}

// A bracketed paste of 10,000 lines, some 600 KB of Latin and Cyrillic, in
// one read: one key, one insertion into the middle of the text, one update.
// Each run first makes room for it at the end of the text, untimed.
Span PasteLines(Session& s, int, std::string& why) {
  Editor& e = s.E;
  constexpr int Lines = 10000;
  while (e.LineCount > MaxLines - Lines) {
    int16_t last = e.LineCount;
    DeleteLine(e, last);
  }
  Place(e, 12000, 10);
  const std::string line = "Вставка из терминала: paste line, 0123456789";
  const std::string bytes = "\x1b[200~" + Times(line + "\r", Lines) + "\x1b[201~";
  const int before = e.LineCount;
  s.Con.OneRead = true;
  Span sp = RunKeys(s, bytes, 1);
  s.Con.OneRead = false;
  if (e.LineCount != before + Lines || e.CurLine != 12000 + Lines) why = "the paste did not go in whole";
  if (sp.Updates != 1) why = "the paste took " + std::to_string(sp.Updates) + " updates, not one";
  return sp;
}

// Capitals and small letters in turn over a line block of the whole text,
// ending in capitals.
Span CaseOfWholeText(Session& s, int, std::string& why) {
  Editor& e = s.E;
  Place(e, 12000, 1);
  e.BlockFirst = 1;
  e.BlockLast = e.LineCount;
  const long rounds = 5;
  Span sp = RunKeys(s, Times(KeyShiftF5 + KeyShiftF6, rounds) + KeyShiftF5, 2 * rounds + 1);
  for (int line : {1, 12000, int(e.LineCount)})
    for (char b : LineBytes(e, line))
      if (ToCapital(uint8_t(b)) != uint8_t(b)) why = "a small letter is left in line " + std::to_string(line);
  return sp;
}

// A block of 10,000 lines: lines 1000..10999 marked, the cursor on `cursor`,
// the text first brought untimed to `lines` lines (cut from its end, or
// lengthened with lines of 60 bytes). One key, one update.
constexpr int BlockLines = 10000;

void MarkBlock(Session& s, int lines, int cursor) {
  Editor& e = s.E;
  if (e.LineCount > lines) DeleteLines(e, lines + 1, e.LineCount - lines);
  if (e.LineCount < lines) {
    const std::vector<uint8_t> caps(size_t(lines - e.LineCount), 60);
    InsertLines(e, e.LineCount + 1, caps);
  }
  e.BlockFirst = 1000;
  e.BlockLast = 1000 + BlockLines - 1;
  Place(e, cursor, 1);
}

// The key arrives before the loop's first draw, so the one update counted
// is the command's.
Span BlockKey(Session& s, const std::string& key, std::string& why) {
  s.Con.OneRead = true;
  Span sp = RunKeys(s, key, 1);
  s.Con.OneRead = false;
  if (sp.Updates != 1) why = "the block command took " + std::to_string(sp.Updates) + " updates, not one";
  return sp;
}

Span CopyBlock(Session& s, int, std::string& why) {
  Editor& e = s.E;
  MarkBlock(s, MaxLines - BlockLines, 12000);
  const std::string first(LineBytes(e, 1000));
  Span sp = BlockKey(s, "\x1b" "c", why);  // Alt+C
  if (e.LineCount != MaxLines || e.BlockFirst != 0 || LineBytes(e, 12001) != first) why = "the block was not copied";
  return sp;
}

Span MoveBlock(Session& s, int, std::string& why) {
  Editor& e = s.E;
  MarkBlock(s, MaxLines - BlockLines, 12000);
  const std::string first(LineBytes(e, 1000));
  Span sp = BlockKey(s, "\x1b" "m", why);  // Alt+M
  if (e.LineCount != MaxLines - BlockLines || e.CurLine != 2000 || LineBytes(e, 2001) != first)
    why = "the block was not moved";
  return sp;
}

Span DeleteBlock(Session& s, int, std::string& why) {
  Editor& e = s.E;
  MarkBlock(s, MaxLines, 12000);
  const std::string after(LineBytes(e, 11000));
  Span sp = BlockKey(s, "\x1b" "g", why);  // Alt+G
  if (e.LineCount != MaxLines - BlockLines || LineBytes(e, 1000) != after) why = "the block was not deleted";
  return sp;
}

// Terminal bytes of the search and replace keys (xterm).
const std::string KeyF6 = "\x1b[17~", KeyF7 = "\x1b[18~";

// Occurrences of word in the text, letter case kept.
long CountWord(const Editor& e, std::string_view word) {
  long n = 0;
  for (int i = 1; i <= e.LineCount; ++i) {
    const std::string_view l = LineBytes(e, i);
    for (size_t at = l.find(word); at != std::string_view::npos; at = l.find(word, at + word.size())) ++n;
  }
  return n;
}

// F6 "alpha" by "beta", no confirmation, letter case kept, over the largest
// text with five "alpha" put at the start of each of its first 20,000 lines
// (untimed). No replacement can wrap, so every match takes the one-edit way.
Span ReplaceAll(Session& s, int, std::string& why) {
  Editor& e = s.E;
  constexpr int Lines = 20000;
  for (int i = 1; i <= Lines; ++i) {
    std::string text = "alpha alpha alpha alpha alpha " + std::string(LineBytes(e, i).substr(0, TextLength(e, i)));
    text.resize(std::min<size_t>(text.size(), 250));
    SetLineText(e, text, i);
  }
  const long before = CountWord(e, "alpha");
  if (before != 5L * Lines) {
    why = "the text holds " + std::to_string(before) + " alpha, not 100,000";
    return {};
  }
  Place(e, 12000, 7);
  Span sp = RunKeys(s, KeyF6 + "alpha\r" + "beta\r" + "22", 1);
  if (CountWord(e, "alpha") != 0 || e.CurLine != 12000 || e.CurCol != 7) why = "not every alpha was replaced";
  return sp;
}

// F7 for a Cyrillic word, typed in other letter cases than the text holds,
// that only the last line has: every line is searched.
Span SearchCyrillic(Session& s, int, std::string& why) {
  Editor& e = s.E;
  SetLineText(e, Cp("Последняя строка: ЭкСпЕдИцИя на север."), MaxLines);
  Span all;
  for (int i = 0; i < 20 && why.empty(); ++i) {
    Place(e, 1, 1);
    all += RunKeys(s, KeyF7 + "эКсПеДиЦиЯ\r", 1);
    if (e.CurLine != MaxLines || e.CurCol != 19) why = "the word was not found in the last line";
  }
  return all;
}

// The main menu opened, its light moved one item and the menu closed, each
// key drawn on its own: only rows 1 and 2 change, and closing gives them
// back without drawing the window again.
Span MenuOpenMoveClose(Session& s, int, std::string& why) {
  Editor& e = s.E;
  Place(e, 12000, 1);
  const std::string keys = "\x1b[21~" + KeyRight + "\x1b";
  const long rounds = 300;
  const uint32_t bars = e.ChoiceBarsShown;
  Span all;
  for (long i = 0; i < rounds; ++i) all += RunKeys(s, keys, 3);
  if (e.ChoiceBarsShown != bars + rounds || e.CurLine != 12000 || e.TopLine != 12000)
    why = "the menu did not open and close on its own";
  return all;
}

// F9 plays 31 kept Down keys: a replay is drawn once, when it ends, however
// many keys it holds. Each kept key is an operation.
Span ReplayDowns(Session& s, int, std::string& why) {
  Editor& e = s.E;
  for (int i = 0; i < 31; ++i) e.Keystroke[i] = keys::Down;
  e.Keystroke[31] = 0;
  Place(e, 1, 1);
  const long replays = 300;
  Span sp = RunKeys(s, Times("\x1b[20~", replays), replays * 31);
  if (e.CurLine != 1 + replays * 31 || e.ReplayIndex != 0) why = "the replays did not move the cursor 31 lines each";
  return sp;
}

// Completion from the text: a word found 24,574 lines up, and the offers of
// a frequent word walked one by one, each going on where the last one was.
Span CompleteFarWord(Session& s, int, std::string& why) {
  Editor& e = s.E;
  SetLineText(e, "zqwertyuiop", 1);
  Span all;
  for (int i = 0; i < 20 && why.empty(); ++i) {
    SetLineText(e, "zqw", MaxLines);
    Place(e, MaxLines, 4);
    all += RunKeys(s, "\\\r", 1);
    if (LineBytes(e, MaxLines).substr(0, 11) != "zqwertyuiop") why = "the word of line 1 was not completed";
  }
  return all;
}

Span CompleteWalkOffers(Session& s, int, std::string& why) {
  Editor& e = s.E;
  const long offers = 3000;
  SetLineText(e, "ed", MaxLines);
  Place(e, MaxLines, 3);
  std::string keys = "\\";
  keys += Times("\x7f", offers - 1);
  keys += '\r';
  Span all = RunKeys(s, keys, offers);
  if (LineBytes(e, MaxLines).substr(0, 6) != "editor") why = "the last offer was not a word of the text";
  return all;
}

// Ctrl+Alt+A typing its macro of 255 bytes into an empty line: every byte
// typed as a key is, the line drawn once.
Span TypeLongMacro(Session& s, int, std::string& why) {
  Editor& e = s.E;
  std::string text;
  for (int i = 0; text.size() < 255; ++i) text += "macro" + std::to_string(i) + " ";
  text.resize(255);
  StoreMacro(e, MacroId(e, keys::Ctrl(keys::Alt(keys::A))), text);
  e.LengthLimit = false;
  Span all;
  for (int line = 2000; line < 2200 && why.empty(); ++line) {
    SetLineText(e, "", line);
    Place(e, line, 1);
    all += RunKeys(s, "\x1b[97;7u", 1);
    if (LineBytes(e, line).substr(0, 255) != text) why = "the macro was not typed whole";
  }
  return all;
}

// Alt+Q over a rectangle of every line, each holding a price with both
// kinds of separator: the exact sum of 24575 numbers.
Span SumWholeColumn(Session& s, int, std::string& why) {
  Editor& e = s.E;
  for (int i = 1; i <= e.LineCount; ++i) SetLineText(e, "Item: 9,999,999.99999", i);
  e.RectFirstLine = 1;
  e.RectLastLine = e.LineCount;
  e.RectFirstCol = 1;
  e.RectLastCol = 40;
  Place(e, 1, 1);
  const std::string altQ = "\x1bq";
  Span all;
  for (int i = 0; i < 10 && why.empty(); ++i) {
    all += RunKeys(s, altQ, 1);
    std::string total, bad;
    if (!SumPieces(e, total, bad) || total != "245749999999.75425") why = "the sum is not the exact one";
  }
  return all;
}

// Ctrl+Shift+F held down a text of short paragraphs (three lines and an
// empty one, every line of the table used): one key a paragraph, each
// justified to 60 columns and the cursor left on the next.
Span JustifyParagraphs(Session& s, int, std::string& why) {
  Editor& e = s.E;
  const char* words[] = {"the", "quick", "brown", "fox", "jumps", "over", "lazy", "dogs", "and", "cats"};
  // Each run joins lines; the next starts from the whole table again.
  MarkBlock(s, MaxLines, 1);
  e.BlockFirst = e.BlockLast = 0;
  for (int i = 1; i <= e.LineCount; ++i) {
    std::string line;
    for (int w = 0; i % 4 != 0 && w < 6; ++w) line += std::string(words[(i * 7 + w * 3) % 10]) + " ";
    SetLineText(e, line, i);
  }
  e.FormatWidth = 60;
  Place(e, 1, 1);
  const long paragraphs = (e.LineCount + 3) / 4;
  Span sp = RunKeys(s, Times("\x1b[70;6u", paragraphs), paragraphs);
  for (int i = 1; i < e.LineCount && why.empty(); ++i)
    if (TextLength(e, i) > 0 && TextLength(e, i + 1) > 0 && TextLength(e, i) != 60) why = "a line was not justified";
  if (e.CurLine != e.LineCount) why = "the keys did not reach the last paragraph";
  return sp;
}

// The rows after start-up, in the order printed. Each runs in a process of
// its own, on the largest text as the program loads it.
const std::vector<Bench> Benches = {
    {"load the text from its file", 5, Load},
    {"  the same, the text in UTF-8 (converted to 866)", 5, Load, true},
    {"load a 1251 text, 200-byte lines, recoded (1)", 5, LoadAnsi},
    {"redraw, nothing changed", 5, RedrawUnchanged},
    {"full redraw (forced)", 5, RedrawForced},
    {"cursor down/up inside the window", 5, DownInWindow},
    {"cursor down through the text (scrolling)", 5, DownThroughText},
    {"cursor right along a line to column 255", 5, RightAlongLine},
    {"page down through the text", 5, PageDown},
    {"typing in the middle of a long line", 5, TypeMiddle},
    {"typing at the end of a line", 5, TypeEnd},
    {"typing with word wrap at margin 72", 5, TypeWrapping},
    {"10,000 characters in one read (one update)", 5, TypeOneRead},
    {"paste of 10,000 lines, 600 KB (one update)", 5, PasteLines},
    {"case of a line block of the whole text (Shift+F5/F6)", 5, CaseOfWholeText},
    {"copy of a 10,000-line block (Alt+C, one update)", 5, CopyBlock},
    {"move of a 10,000-line block (Alt+M, one update)", 5, MoveBlock},
    {"delete of a 10,000-line block (Alt+G, one update)", 5, DeleteBlock},
    {"replace 100,000 alpha by beta, no questions (F6)", 5, ReplaceAll},
    {"case-blind search, a Cyrillic word in the last line", 5, SearchCyrillic},
    {"block sum (Alt+Q), 24,575-line rectangle", 5, SumWholeColumn},
    {"menu: F10, Right, Esc, each key drawn (per key)", 5, MenuOpenMoveClose},
    {"replay of 31 kept Down keys (F9, drawn once)", 5, ReplayDowns},
    {"completion: a word 24,574 lines up (\\, Enter)", 5, CompleteFarWord},
    {"  offers walked with Backspace (per offer)", 5, CompleteWalkOffers},
    {"a 255-byte macro typed into a line (Ctrl+Alt+A)", 5, TypeLongMacro},
    {"justify, Ctrl+Shift+F held (3-line paragraphs)", 5, JustifyParagraphs},
};

}  // namespace
}  // namespace lumo::bench

int main() {
  using namespace lumo::bench;
  const std::string dir = LUMO_BENCH_DIR;
  // The side files (settings, prompt history) of these runs stay here.
  const std::string state = dir + "/bench-state";
  mkdir(state.c_str(), 0700);
  setenv("XDG_STATE_HOME", state.c_str(), 1);

  std::string why;
  const std::string path = dir + "/largest.txt";
  const size_t size = WriteLargestText(path);
  const std::string utf8 = dir + "/largest-utf8.txt";
  const size_t utf8Size = WriteLargestText(utf8, true);
  if (size == 0 || utf8Size == 0 || !CheckKeyBytes(why)) {
    std::fprintf(stderr, "lumo_bench: %s\n", size == 0 ? ("cannot write " + path).c_str() : why.c_str());
    return 1;
  }

  AnsiPath = dir + "/ansi.txt";
  AnsiFirstLine = WriteAnsiText(AnsiPath);
  if (AnsiFirstLine.empty()) {
    std::fprintf(stderr, "lumo_bench: cannot write %s\n", AnsiPath.c_str());
    return 1;
  }

  // The same start-up on a text of one line tells the load from the rest.
  const std::string small = dir + "/one-line.txt";
  if (FILE* f = std::fopen(small.c_str(), "wb")) {
    std::fputs("one line\r\n", f);
    std::fclose(f);
  }
  std::vector<Row> rows(3);
  bool ok = StartUpRow(LUMO_BINARY, path, lumo::MaxLines, "start-up to the first screen (real program, pty)", 15,
                       rows[0], why) &&
            StartUpRow(LUMO_BINARY, utf8, lumo::MaxLines, "  the same, the text in UTF-8", 15, rows[1], why) &&
            StartUpRow(LUMO_BINARY, small, 1, "  the same on a one-line text", 15, rows[2], why);
  for (size_t i = 0; ok && i < Benches.size(); ++i) {
    rows.emplace_back();
    ok = RunInChild(Benches[i], Benches[i].Utf8 ? utf8 : path, rows.back(), why);
    if (!ok) why = std::string(Benches[i].Name) + ": " + why;
  }
  if (!ok) {
    std::fprintf(stderr, "lumo_bench: %s\n", why.c_str());
    return 1;
  }

  // The budget the text takes, from a load of the same file.
  auto probe = std::make_unique<Session>();
  if (!StartSession(*probe, path, why)) {
    std::fprintf(stderr, "lumo_bench: %s\n", why.c_str());
    return 1;
  }
  const size_t used = probe->E.BudgetUsed, limit = probe->E.BudgetLimit;
  probe.reset();

  PrintTable(rows);
  std::printf("\nText: %s, %zu bytes, %d lines (lengths 0..255, Latin, code, cp866 Cyrillic);\n"
              "  loaded whole without the compact reload, budget %zu of %zu bytes used.\n"
              "  In UTF-8: %s, %zu bytes.\n",
              path.c_str(), size, lumo::MaxLines, used, limit, utf8.c_str(), utf8Size);
  std::printf("Peak RSS: the editor process for start-up; otherwise the process that ran the row\n"
              "  (a fork of this program, %ld KB before it loaded the text).\n", rows.back().BaseKb);
  const std::string csv = dir + "/bench-results.csv";
  if (WriteCsv(rows, csv)) std::printf("CSV: %s\n", csv.c_str());
  long cpus = sysconf(_SC_NPROCESSORS_ONLN);
  double load[3] = {0, 0, 0};
  if (getloadavg(load, 3) < 0) load[0] = -1;
  std::printf("Machine: %ld cores, load average %.2f during the run.\n", cpus, load[0]);
  return 0;
}

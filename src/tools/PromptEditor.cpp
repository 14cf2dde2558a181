// The prompt line: one call edits one answer on row 2. The title stands in
// columns 1..27, the answer from column 28; X is the cursor's screen column
// and the answer's end column is always Length + 27, so it is computed, not
// kept. `Touched` says whether the answer on show is still the one the call
// started with (or loaded from the ring): the first character typed into an
// untouched answer at its start replaces it. The key dispatch is one switch
// over whole key values; keys it does not claim insert their character byte.
//
// The keys that take the word at the text cursor run the shared word scans
// themselves rather than TakeWord: the macro-word start needs the cursor's
// place inside the word, which TakeWord does not give back.
#include "tools/PromptEditor.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "screen/StatusRow.h"
#include "screen/Window.h"
#include "screen/KeyCodes.h"
#include "text/Cp866.h"
#include "text/LineStore.h"
#include "text/WordScan.h"
#include "tools/Keystrokes.h"

namespace lumo {

void PromptText::Set(std::string_view s) {
  Length = uint8_t(std::min<size_t>(s.size(), sizeof Bytes));
  std::memmove(Bytes, s.data(), Length);  // s may be a part of Bytes
}

namespace {

constexpr int FieldStart = 28;   // screen column of the answer's first byte

// ---- The word at the text cursor ----------------------------------------

// The current line as the scans see it: 1-based, blanks past its capacity
// (the padding the scans assume), and byte 0 never looked at.
struct LineView {
  std::string_view S;
  uint8_t At(int p) const { return p >= 1 && p <= int(S.size()) ? uint8_t(S[size_t(p - 1)]) : ' '; }
};

// Mode 0: the bare word; mode 2: with its trailing delimiters and one blank.
// offset becomes the cursor's 1-based place in the word.
std::string WordAtCursor(Editor& e, int mode, int& offset) {
  offset = 0;
  if (!e.Lines || e.CurLine < 1 || e.CurLine > e.LineCount) return {};
  const LineView s{LineBytes(e, e.CurLine)};
  int end = std::min<int>(e.CurCol, int(s.S.size()));
  if (end < 1) return {};
  if (s.At(end) == ' ' && (end == 1 || s.At(end - 1) == ' ')) return {};
  if (end > 1 && IsDelimiter(s.At(end)) && s.At(end - 1) == ' ') ++end;
  end = WordEndRightAt(s.S, end, 2);
  int start = std::min<int>(WordStartLeftAt(s.S, end), e.CurCol);
  while (start < end && IsDelimiter(s.At(start))) ++start;
  if (mode == 0) {
    while (end > start && s.At(end) != ' ' && IsDelimiter(s.At(end - 1))) --end;
    while (start < end && s.At(start) < 32) ++start;
  } else if (s.At(end) == ' ') {
    ++end;
  }
  offset = e.CurCol - start + 1;
  std::string word;
  for (int p = start; p < end; ++p) word += char(s.At(p));
  return word;
}

// ---- The editing session -------------------------------------------------

struct Session {
  Editor& E;
  PromptText& A;
  uint8_t Mode;
  int X = FieldStart;
  bool Touched = false;
  bool Done = false;

  int W() const { return E.Con->W(); }
  int End() const { return A.Length + FieldStart - 1; }

  void ShowTitle() {
    if (Mode == PromptSearch) ShowMessage(E, Cp("Введите строку для поиска: "), 0);
    else if (Mode == PromptReplace) ShowMessage(E, Cp("Введите строку для замены: "), 0);
  }
  void ClearField(int last, uint8_t attr) {
    for (int c = FieldStart; c <= last; ++c) PutCell(E, c, 2, ' ', attr);
  }
  // The field is cleared through the last column: an answer that filled it
  // and then got shorter must not leave its old last byte on show.
  void Display() {
    ClearField(W(), 0x07);
    X = FieldStart;
  }
  void Show() {
    // A long answer (a caller's, or bytes exposed by Shift+Right) is shown
    // as far as the row goes; it must not run on into the text window.
    const size_t fits = size_t(W() - FieldStart + 1);
    WriteAt(E, FieldStart, 2, A.View().substr(0, fits), 0x5A);
    SetCursor(E, std::min(X, W()), 2);
  }
  void LoadSlot() { A.Set(E.PromptSlot[E.PromptIndex]); }
  void Reload(int step) {
    E.PromptIndex = uint8_t((E.PromptIndex + step) & 15);
    if (Mode == PromptSearch || Mode == PromptReplace) {
      ShowTitle();
      LoadSlot();
    }
    Display();
    Touched = false;
  }
  void Replace(std::string_view text) {
    A.Set(text);
    Touched = true;
    Display();
  }

  void Insert(uint8_t ch) {
    if (!Touched && X == FieldStart) {
      A.Length = 0;
      ClearField(W(), 0x0F);
    }
    if (End() >= W()) return;
    if (E.RusMode && E.RusKey) ch = E.RusKey(ch);
    const size_t at = std::min<size_t>(size_t(X - FieldStart), A.Length);
    std::memmove(A.Bytes + at + 1, A.Bytes + at, A.Length - at);
    A.Bytes[at] = char(ch);
    ++A.Length;
    Touched = true;
    if (X < W()) ++X;
  }
  // Removes the byte under X; nothing at or past the end.
  bool DeleteAtX() {
    const size_t at = size_t(X - FieldStart);
    if (at >= A.Length) return false;
    std::memmove(A.Bytes + at, A.Bytes + at + 1, A.Length - at - 1);
    // The storage keeps what it held past the length, as Shift+Right
    // exposes it; the byte shifted out of the answer stays there.
    PutCell(E, End(), 2, ' ', 0x07);
    --A.Length;
    Touched = true;
    return true;
  }
  void InsertHex(uint32_t value) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    for (int shift = 28; shift >= 0; shift -= 4) Insert(uint8_t(Digits[(value >> shift) & 15]));
  }
  // The next key straight from the keyboard, typed as its value in hex, so
  // that a key can be searched for by its code.
  void InsertKeyCode() {
    const bool rus = E.RusMode;
    E.RusMode = false;
    KeyCode k = ReadKey(E);
    InsertHex(k);
    E.RusMode = rus;
    PutCell(E, X + 2, 2, uint8_t(48 + ((k >> 16) & 0xFF)), 0x1C);
  }
  void Finish(uint8_t result) {
    E.OpFailed = result;
    Done = true;
  }

  void MacroWordStart() {
    ShowMessage(E, Cp("        Слово для макроса: "), 0);
    int p = 0;
    std::string word = WordAtCursor(E, 0, p);
    // Only the dot-separated part holding the cursor is the macro's name; a
    // cursor on a dot keeps the part before it.
    for (;;) {
      const size_t dot = word.find('.');
      if (dot == std::string::npos) break;
      const int d = int(dot) + 1;
      if (p > d) {
        word.erase(0, size_t(d));
        p -= d;
      } else {
        word.resize(size_t(d - 1));
      }
    }
    Mode = PromptOther;
    Replace(word);
  }

  void TakeBlockOrWord() {
    const int line = E.RectFirstLine;
    if (line >= 1 && line == E.RectLastLine && line <= E.LineCount && E.Lines) {
      std::string_view s = LineBytes(E, line);
      const int from = std::max<int>(E.RectFirstCol, 1);
      const int to = std::min<int>(E.RectLastCol, int(s.size()));
      Replace(from <= to ? s.substr(size_t(from - 1), size_t(to - from + 1)) : std::string_view{});
      return;
    }
    int p = 0;
    Replace(WordAtCursor(E, 2, p));
  }

  void Dispatch(KeyCode& key) {
    switch (key) {
      case KeyEnter: case KeyPadEnter:
        break;
      case 0x00021C0D: case 0x0002E00D:  // Shift+Enter: a search from the start
        if (Mode == PromptSearch) key = (key & 0xFFFF00FF) | 0xF000;
        break;
      case 0x00041C0A: case 0x10041C0A: case 0x03081C00: case 0x0308A600:  // Ctrl/Alt+Enter
        if (Mode == PromptSearch) key = (key & 0xFFFF0000) | 0xF00D;
        break;
      case KeyEsc: Finish(1); break;
      case 0x00041910: Finish(31); break;               // Ctrl+P
      case 0x00000E08:                                  // Backspace
        if (X > FieldStart) {
          --X;
          DeleteAtX();
        }
        break;
      case 0x0200FF2A: DeleteAtX(); break;              // Delete
      case 0x0004250B:                                  // Ctrl+K
        while (A.Length > X - FieldStart && DeleteAtX()) {}
        break;
      case 0x0200FF20: X = FieldStart; Touched = true; break;  // Home
      case 0x0200FF26: X = End() + 1; break;                   // End
      case 0x0200FF23:                                         // Left
        if (X > FieldStart) --X;
        else Touched = true;
        break;
      case 0x0200FF25:                                         // Right
        if (X <= End()) ++X;
        Touched = true;
        break;
      case 0x0202FF23:                                         // Shift+Left
        if (A.Length > 0) --A.Length;
        Touched = true;
        Display();
        break;
      case 0x0202FF25:                                         // Shift+Right
        if (A.Length < sizeof A.Bytes) ++A.Length;
        Touched = true;
        Display();
        break;
      case 0x0200FF21: case 0x0200FF22: case 0x0200FF07: Reload(-1); break;  // Up, PgUp, F7
      case 0x0200FF27: case 0x0200FF28: Reload(1); break;                    // Down, PgDn
      case 0x0200FF06: case 0x0200FF08: {                                    // F6, F8
        int p = 0;
        Replace(WordAtCursor(E, 0, p));
        break;
      }
      case 0x0200FF05: TakeBlockOrWord(); break;               // F5
      // Ctrl+C, Ctrl+X, Ctrl+V exchange the answer with the clipboard file,
      // which does not exist yet; claimed so they insert no control byte.
      case 0x00042E03: case 0x00042D18: case 0x00042F16: break;
      case 0x00041117: WritePromptHistory(E); break;           // Ctrl+W
      case 0x00041312: ReadPromptHistory(E); break;            // Ctrl+R
      // Shift+F9 starts or stops keystroke recording, which does not exist
      // yet; claimed so it inserts no byte.
      case 0x0202FF09: break;
      case 0x0208FF03: E.RusMode = !E.RusMode; break;          // Alt+F3
      case 0x0208FF0A: Insert(0); break;                       // Alt+F10
      // Alt+[ ] ; ' , . / come as kind 3 from the console; the kind-0 form
      // is the same key as older tables write it.
      case 0x03081A00: case 0x00081A00: Insert('['); break;
      case 0x03081B00: case 0x00081B00: Insert(']'); break;
      case 0x03082700: case 0x00082700: Insert(';'); break;
      case 0x03082800: case 0x00082800: Insert('\''); break;
      case 0x03083300: case 0x00083300: Insert(','); break;
      case 0x03083400: case 0x00083400: Insert('.'); break;
      case 0x03083500: case 0x00083500: Insert('/'); break;
      case 0x03082D00: case 0x030C0F00: InsertKeyCode(); break;  // Alt+X, Ctrl+Alt+Tab
      case 0x03087800: case 0x03087900: case 0x03087A00:         // Alt+1..3
        E.LineMark[((key >> 8) & 0xFF) - 0x77] = E.CurLine;
        break;
      case 0x03087E00: case 0x03087F00:                          // Alt+7, Alt+8
        E.PosMark[((key >> 8) & 0xFF) - 0x7D] = {E.CurLine, E.TopLine, E.CurCol};
        break;
      default:
        // A key whose character is a carriage return accepts below; typing
        // it into the answer as well would put a line end into a search text.
        if ((key & 0xFF) != 13) Insert(uint8_t(key & 0xFF));
        break;
    }
  }
};

}  // namespace

void PromptEditor(Editor& e, PromptText& answer, uint8_t mode) {
  Session s{e, answer, mode};
  if (!e.Con) {
    e.OpFailed = 1;
    return;
  }
  if (mode == PromptMacroWord) {
    s.MacroWordStart();
  } else {
    s.ShowTitle();
    if (mode == PromptSearch || mode == PromptReplace) s.LoadSlot();
    s.Display();
  }
  KeyCode key = 0;
  while (!s.Done) {
    s.Show();
    key = NextKey(e);
    s.Dispatch(key);
    if (!s.Done && (key & 0xFF) == 13) s.Finish(0);
  }
  e.PromptEndKey = key;
  if (s.Touched && (s.Mode == PromptSearch || s.Mode == PromptReplace))
    StorePromptAnswer(e, answer.View());
  ClearMessage(e);
}

}  // namespace lumo

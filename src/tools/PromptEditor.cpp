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
#include "screen/KeyNames.h"
#include "text/Cp866.h"
#include "text/LineEdit.h"
#include "text/LineStore.h"
#include "text/RusTable.h"
#include "text/Texts.h"
#include "text/WordScan.h"
#include "tools/ClipFile.h"
#include "tools/Keystrokes.h"

namespace lumo {

void PromptText::Set(std::string_view s) {
  Length = uint8_t(std::min<size_t>(s.size(), sizeof Bytes));
  std::memmove(Bytes, s.data(), Length);  // s may be a part of Bytes
}

namespace {

constexpr int FieldStart = 28;   // screen column of the answer's first byte

// ---- The word at the text cursor ----------------------------------------

// Mode 0: the bare word; mode 2: with its trailing delimiters and one blank.
// offset becomes the cursor's 1-based place in the word.
std::string WordAtCursor(Editor& e, int mode, int& offset) {
  offset = 0;
  if (!e.Lines || e.CurLine < 1 || e.CurLine > e.LineCount) return {};
  const std::string_view s = LineBytes(e, e.CurLine);
  auto at = [s](int p) { return ByteAt(s, p); };
  int end = std::min<int>(e.CurCol, int(s.size()));
  if (end < 1) return {};
  if (at(end) == ' ' && (end == 1 || at(end - 1) == ' ')) return {};
  if (end > 1 && IsDelimiter(at(end)) && at(end - 1) == ' ') ++end;
  end = WordEndRightAt(s, end, 2);
  int start = std::min<int>(WordStartLeftAt(s, end), e.CurCol);
  while (start < end && IsDelimiter(at(start))) ++start;
  if (mode == 0) {
    while (end > start && at(end) != ' ' && IsDelimiter(at(end - 1))) --end;
    while (start < end && at(start) < 32) ++start;
  } else if (at(end) == ' ') {
    ++end;
  }
  offset = e.CurCol - start + 1;
  std::string word;
  for (int p = start; p < end; ++p) word += char(at(p));
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
    if (Mode == PromptSearch) ShowMessage(E, Texts::AskSearchText, 0);
    else if (Mode == PromptReplace) ShowMessage(E, Texts::AskReplaceText, 0);
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
  // The answer as a work copy: its storage past the length rides along, so
  // that Shift+Right still finds what was there.
  LineEdit Work() const {
    LineEdit w = EditText({A.Bytes, sizeof A.Bytes});
    w.Len = A.Length;
    return w;
  }
  void Keep(const LineEdit& w) {
    std::memcpy(A.Bytes, w.B + 1, sizeof A.Bytes);
    A.Length = uint8_t(w.Len);
  }
  void Replace(std::string_view text) {
    A.Set(text);
    Touched = true;
    Display();
  }

  void Insert(uint8_t ch, bool translate = true) {
    if (!Touched && X == FieldStart) {
      A.Length = 0;
      ClearField(W(), 0x0F);
    }
    if (End() >= W()) return;
    if (translate && E.RusMode) ch = RusTranslate(ch);
    if (A.Length == sizeof A.Bytes) return;
    LineEdit w = Work();
    w.Insert(std::min(X - FieldStart + 1, w.Len + 1), ch);
    Keep(w);
    Touched = true;
    if (X < W()) ++X;
  }
  // Removes the byte under X; nothing at or past the end.
  bool DeleteAtX() {
    const int col = X - FieldStart + 1;
    if (col > A.Length) return false;
    // The storage keeps what it held past the length, as Shift+Right
    // exposes it; the byte shifted out of the answer stays there.
    LineEdit w = Work();
    w.Erase(col, 1);
    PutCell(E, End(), 2, ' ', 0x07);
    Keep(w);
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
  // A paste is text for the answer, which is one line: its first line goes
  // in as it is (no Russian layout), a tab as a blank; the rest is dropped.
  void InsertPaste(std::string_view utf8) {
    std::string text;
    AppendCp866(utf8.substr(0, std::min(utf8.find_first_of("\r\n"), utf8.size())), text);
    for (char c : text) Insert(c == '\t' ? uint8_t(' ') : uint8_t(c), false);
  }
  void Finish(uint8_t result) {
    E.OpFailed = result;
    Done = true;
  }

  void MacroWordStart() {
    ShowMessage(E, Texts::AskMacroWord, 0);
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
    // X, W and End are names of the session's own, so those keys are spelt
    // keys::X, keys::W and keys::End.
    using namespace keys;
    switch (key) {
      case Enter: case KpEnter:
        break;
      case Shift(Enter): case Shift(KpEnter):  // a search from the start
        if (Mode == PromptSearch) key = MakeKey(CharOf(key), FromStartScan, ShiftOf(key), KindOf(key));
        break;
      // Some keyboards flag Ctrl+Enter with kind 0x10.
      case Ctrl(Enter): case WithKind(Ctrl(Enter), 0x10): case Alt(Enter): case Alt(KpEnter):
        if (Mode == PromptSearch) key = MakeKey('\r', FromStartScan, ShiftOf(key), KindOf(key));
        break;
      case Esc: Finish(1); break;
      case Ctrl(P): Finish(31); break;
      case Backspace:
        if (X > FieldStart) {
          --X;
          DeleteAtX();
        }
        break;
      case Del: DeleteAtX(); break;
      case Ctrl(K):
        while (A.Length > X - FieldStart && DeleteAtX()) {}
        break;
      case Home: X = FieldStart; Touched = true; break;
      case keys::End: X = End() + 1; break;
      case Left:
        if (X > FieldStart) --X;
        else Touched = true;
        break;
      case Right:
        if (X <= End()) ++X;
        Touched = true;
        break;
      case Shift(Left):
        if (A.Length > 0) --A.Length;
        Touched = true;
        Display();
        break;
      case Shift(Right):
        if (A.Length < sizeof A.Bytes) ++A.Length;
        Touched = true;
        Display();
        break;
      case Up: case PgUp: case F7: Reload(-1); break;
      case Down: case PgDn: Reload(1); break;
      case F6: case F8: {
        int p = 0;
        Replace(WordAtCursor(E, 0, p));
        break;
      }
      case F5: TakeBlockOrWord(); break;
      // A cut that could not be written keeps the answer.
      case Ctrl(C): case Ctrl(keys::X):
        if (WriteClipFile(E, ClipPieces, {std::string(A.View())}, false) && key == Ctrl(keys::X)) {
          A.Length = 0;
          X = FieldStart;
          Touched = true;
          Display();
        }
        break;
      case Ctrl(V): {
        if (!RefreshClipFile(E)) break;
        const ClipContent clip = ReadClipFile(E);
        if (clip.Type == ClipNone) break;
        const std::string line = clip.Lines.empty() ? std::string() : clip.Lines[0];
        Replace(std::string_view(line).substr(0, size_t(W() - FieldStart + 1)));
        X = End() + 1;
        break;
      }
      case Ctrl(keys::W): WritePromptHistory(E); break;
      case Ctrl(R): ReadPromptHistory(E); break;
      // Stopping ends the prompt: the caller must not act on an answer
      // whose keys the recording has just closed.
      case Shift(F9):
        if (E.RecordCount > 0) {
          Finish(127);
        } else {
          StartRecording(E);
          ClearField(W(), 0x07);
        }
        break;
      case Alt(F3): E.RusMode = !E.RusMode; break;
      case Alt(F10): Insert(0); break;
      // Alt+[ ] ; ' , . / come as kind 3 from the console; the kind-0 form
      // is the same key as older tables write it.
      case Alt(LBracket): case WithKind(Alt(LBracket), KindChar): Insert('['); break;
      case Alt(RBracket): case WithKind(Alt(RBracket), KindChar): Insert(']'); break;
      case Alt(Semicolon): case WithKind(Alt(Semicolon), KindChar): Insert(';'); break;
      case Alt(Quote): case WithKind(Alt(Quote), KindChar): Insert('\''); break;
      case Alt(Comma): case WithKind(Alt(Comma), KindChar): Insert(','); break;
      case Alt(Period): case WithKind(Alt(Period), KindChar): Insert('.'); break;
      case Alt(Slash): case WithKind(Alt(Slash), KindChar): Insert('/'); break;
      case Alt(keys::X): case Ctrl(Alt(Tab)): InsertKeyCode(); break;
      case Alt(D1): case Alt(D2): case Alt(D3):
        SetLineMark(E, ScanOf(key) - ScanOf(Alt(D1)) + 1);
        break;
      case Paste: InsertPaste(E.Con->TakePaste()); break;
      case Alt(D7): case Alt(D8):
        SetPositionMark(E, ScanOf(key) - ScanOf(Alt(D7)) + 1);
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
    const KeyFrom from = NextKey(e, key);
    if (from != KeyFrom::Key) {
      s.Finish(from == KeyFrom::Overflow ? 127 : 1);
      break;
    }
    s.Dispatch(key);
    if (!s.Done && (key & 0xFF) == 13) s.Finish(0);
  }
  e.PromptEndKey = key;
  if (s.Touched && (s.Mode == PromptSearch || s.Mode == PromptReplace))
    StorePromptAnswer(e, answer.View());
  ClearMessage(e);
  if (e.OpFailed == 127) StopRecording(e, key);
}

}  // namespace lumo

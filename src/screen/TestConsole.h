// A console for unit tests: keys come from a queue the test fills, and the
// cell buffer and cursor can be inspected. An empty queue reads as Esc so a
// command that waits for more keys than the test gave cannot hang. A feed,
// when set, hands out keys once the queue is empty: stress tests generate
// keys one at a time and look at the state before each. Each paste key
// read takes the next text of Pastes along.
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include "screen/Console.h"
#include "screen/KeyNames.h"

namespace lumo {

class TestConsole : public Console {
 public:
  explicit TestConsole(int w = 80, int h = 25) { Resize(w, h); }
  void Update(bool force) override { ++Updates; if (force) ++ForcedUpdates; }
  void SetCursor(int col, int row) override { CursorCol = col; CursorRow = row; }
  bool KeyWaiting() override { return !Keys.empty(); }
  KeyCode ReadKey() override {
    ++KeysRead;
    KeyCode k = keys::Esc;
    if (Keys.empty() && Feed) {
      k = Feed();
    } else if (!Keys.empty()) {
      k = Keys.front();
      Keys.pop_front();
    }
    Taken.clear();
    if (k == keys::Paste && !Pastes.empty()) {
      Taken = std::move(Pastes.front());
      Pastes.pop_front();
    }
    return k;
  }
  bool WaitKey(int ms) override { WaitedMs += ms; return !Keys.empty(); }
  KeyCode PeekKey() override { return Keys.empty() ? 0 : Keys.front(); }
  std::string TakePaste() override { return std::exchange(Taken, {}); }
  void SetSize(int w, int h) { Resize(w, h); if (OnResize) OnResize(); }

  // Characters of row r from column c, n cells (1-based).
  std::string Text(int row, int col = 1, int n = -1) {
    std::string s;
    if (n < 0) n = W() - col + 1;
    for (int i = 0; i < n; ++i) s += char(CellChar(At(row, col + i)));
    return s;
  }
  uint8_t Attr(int row, int col) { return CellAttr(At(row, col)); }

  std::deque<KeyCode> Keys;
  std::deque<std::string> Pastes;  // UTF-8, one for each paste key in order
  std::string Taken;               // the text of the paste key read last
  std::function<KeyCode()> Feed;
  int CursorCol = -1, CursorRow = -1;
  int Updates = 0, ForcedUpdates = 0, KeysRead = 0;
  long WaitedMs = 0;
};

}  // namespace lumo

// The console the editor draws into and reads keys from. The editor writes
// cells into the buffer in place and calls Update from its draw step; only
// the console knows how the buffer reaches a screen. Reading or waiting for a
// key does not update: the editor decides whether a waiting key makes the
// drawing pointless. Two implementations: the real terminal and the
// test console with a scripted key queue.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumo {

using Cell = uint16_t;     // attribute << 8 | character (code page 866)
using KeyCode = uint32_t;  // char | scan << 8 | shift << 16 | kind << 24

inline constexpr Cell MakeCell(uint8_t ch, uint8_t attr) { return Cell(attr << 8 | ch); }
inline constexpr uint8_t CellChar(Cell c) { return uint8_t(c & 0xFF); }
inline constexpr uint8_t CellAttr(Cell c) { return uint8_t(c >> 8); }

class Console {
 public:
  virtual ~Console() = default;

  int W() const { return Width; }   // 80, 100 or 132
  int H() const { return Height; }  // at least 3
  Cell* Cells() { return Buffer.data(); }
  Cell& At(int row, int col) { return Buffer[size_t((row - 1) * Width + (col - 1))]; }

  // Shows the buffer; without force only changed cells are sent.
  virtual void Update(bool force) = 0;
  // 0-based; a position outside the screen hides the cursor.
  virtual void SetCursor(int col, int row) = 0;
  virtual bool KeyWaiting() = 0;
  // Blocks until a key; the value is translated (Part of the key rules) with
  // the shift state as the keyboard reports it (Shift = 3, not normalised).
  virtual KeyCode ReadKey() = 0;
  // True when a key is waiting within ms milliseconds; does not consume it.
  virtual bool WaitKey(int ms) = 0;
  // The key that is waiting, without consuming it; 0 when none is. Never
  // blocks.
  virtual KeyCode PeekKey() = 0;
  // The text of the paste key read last (keys::Paste), in the terminal's
  // UTF-8, once; empty for any other key. Whoever reads a paste key takes
  // its text or drops it.
  virtual std::string TakePaste() = 0;
  // Around an outside program that uses the terminal: given back as it was
  // found, then taken back with every cell to be sent again. Nothing to do
  // where there is no terminal.
  virtual void Suspend() {}
  virtual void Resume() {}
  // Every cell blank in attribute 7.
  void Clear() {
    for (Cell& c : Buffer) c = MakeCell(' ', 7);
  }

  // Called by the console after the screen size changed (the buffer keeps its
  // old content anchored top left); the editor redraws what it owns.
  std::function<void()> OnResize;

 protected:
  void Resize(int w, int h) {
    std::vector<Cell> n(size_t(w) * size_t(h), MakeCell(' ', 7));
    for (int r = 0; r < h && r < Height; ++r)
      for (int c = 0; c < w && c < Width; ++c) n[size_t(r * w + c)] = Buffer[size_t(r * Width + c)];
    Buffer.swap(n);
    Width = w;
    Height = h;
  }
  int Width = 80;
  int Height = 25;
  std::vector<Cell> Buffer = std::vector<Cell>(80 * 25, MakeCell(' ', 7));
};

// The editor's width for a terminal of `columns`: 132, 100 or 80 (0 when the
// terminal is narrower than 80).
inline int EditorWidth(int columns) {
  return columns >= 132 ? 132 : columns >= 100 ? 100 : columns >= 80 ? 80 : 0;
}

}  // namespace lumo

// Terminal bytes to key values. The decoder is a pure function over a byte
// buffer: it reads nothing and waits for nothing, so the terminal code and the
// tests drive it the same way. Its result is a translated key value whose
// shift state is the raw one (Shift = 3); NormaliseShift gives the value the
// dispatch compares.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include "screen/Console.h"
#include "screen/KeyNames.h"
#include "screen/PcKeys.h"

namespace lumo {

// What the terminal family makes of the few byte sequences that mean
// different keys on different terminals.
struct DecoderProfile {
  uint8_t EraseByte = 0x7F;          // the tty's VERASE: this byte is Backspace
  bool BsIsCtrlBackspace = true;     // the other of 0x08/0x7F: Ctrl+Backspace, else Ctrl+H
  bool ShiftPagesAreKeypad = false;  // xterm keeps Shift+PgUp/PgDn/Ins for itself, so
                                     // CSI 5;2~ 6;2~ 2;2~ come from the keypad
  bool ShiftCursorIsKeypad = false;  // NumLock on: Shift+cursor sequences are keypad digits
  bool Meta8Bit = false;             // U+0080..U+00FF typed are Alt + (code - 0x80)
  bool AltEnterIsCtrlAltM = false;   // xterm takes Alt+Enter (full screen), so ESC CR is
                                     // Ctrl+Alt+M
};

enum class DecodeStatus : uint8_t {
  Key,         // Key holds a key, Used bytes consumed
  Incomplete,  // more bytes may follow; decode again with force after a pause
  Nothing,     // Used bytes consumed, no key (unknown sequence, part of a paste, reply)
};

// The most of one paste that is kept. It is more than the largest text can
// take in any spelling, so a paste that reaches it is refused whole; the rest
// up to its end marker is dropped as it comes, never read as keys.
inline constexpr size_t MaxPasteBytes = size_t(32) << 20;

struct Decoded {
  DecodeStatus Status = DecodeStatus::Nothing;
  KeyCode Key = 0;
  size_t Used = 0;
};

class KeyDecoder {
 public:
  DecoderProfile Profile;
  // Decodes the first key of data[0..n). With force, an incomplete sequence is
  // taken as what it is so far (a lone ESC is Esc).
  Decoded Decode(const uint8_t* data, size_t n, bool force);
  // Between the paste markers. Only silence can end a paste whose end
  // marker never comes, and only the caller knows the time: EndPaste.
  bool Pasting() const { return InPaste; }
  // Ends the paste with what came of it: the Paste key (Used 0), or Nothing
  // outside a paste.
  Decoded EndPaste();
  // The text of the last paste (the terminal's UTF-8, at most MaxPasteBytes
  // + 1 bytes), once: the Paste key carries none.
  std::string TakePaste();

 private:
  // A paste goes into PasteText as it arrives, whatever the reads cut, so a
  // paste larger than a read costs one pass over its bytes.
  Decoded DecodePaste(const uint8_t* data, size_t n);
  void KeepPasted(const uint8_t* bytes, size_t n);

  bool InPaste = false;    // between the bracketed-paste markers
  uint8_t EndSeen = 0;     // bytes of the end marker seen so far, at the end of the last read
  std::string PasteText;
  uint8_t SkipCsi = 0;   // inside a sequence too long to be a key, dropped as it comes
};

// The profile for the terminal this process runs in (TERM, TMUX, XTERM_VERSION,
// KITTY_WINDOW_ID and the tty's erase byte).
DecoderProfile ProfileFromEnvironment(uint8_t eraseByte);

}  // namespace lumo

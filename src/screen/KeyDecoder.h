// Terminal bytes to key values. The decoder is a pure function over a byte
// buffer: it reads nothing and waits for nothing, so the terminal code and the
// tests drive it the same way. Its result is a translated key value whose
// shift state is the raw one (Shift = 3); NormaliseShift gives the value the
// dispatch compares.
#pragma once
#include <cstddef>
#include <cstdint>
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
  Nothing,     // Used bytes consumed, no key (unknown sequence, paste marker, reply)
};

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

 private:
  bool InPaste = false;  // between the bracketed-paste markers
  bool PasteCr = false;  // the last pasted byte was CR: a CR LF pair is one Enter
  uint8_t SkipCsi = 0;   // inside a sequence too long to be a key, dropped as it comes
};

// The profile for the terminal this process runs in (TERM, TMUX, XTERM_VERSION,
// KITTY_WINDOW_ID and the tty's erase byte).
DecoderProfile ProfileFromEnvironment(uint8_t eraseByte);

}  // namespace lumo

// The terminal key decoder: bytes to raw PC key events, then the translation
// rule. Every form ends in the same step: a PC key plus modifier bits (Event),
// which the PC key table turns into the BIOS scan code and character for that
// modifier set. Sequences are parsed by their grammar, never by read
// boundaries: a sequence cut short is Incomplete until the caller forces it.
#include "screen/KeyDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "screen/KeyTables.h"
#include "text/Cp866.h"

namespace lumo {

namespace {

// A physical key and its modifiers; Ch is the character when it is not the
// one the US layout gives (Cyrillic, keypad digits with NumLock on).
struct Event {
  PcKey Key = PcKey::None;
  uint8_t Mods = 0;
  uint8_t Ch = 0;
};

struct Step {
  DecodeStatus Status = DecodeStatus::Nothing;
  Event Ev;
  size_t Used = 0;
};

constexpr uint8_t Esc = 0x1B;
// Longest CSI we wait for; a longer run without a final byte is garbage.
constexpr size_t MaxSequence = 64;

Step KeyStep(Event ev, size_t used) { return {DecodeStatus::Key, ev, used}; }
Step NothingStep(size_t used) { return {DecodeStatus::Nothing, {}, used}; }
Step IncompleteStep() { return {DecodeStatus::Incomplete, {}, 0}; }

// The xterm modifier parameter (1 + Shift 1 + Alt 2 + Ctrl 4; kitty adds
// Super and the lock keys above them, which the PC has no place for) as the
// PC shift bits. The only place this conversion happens.
uint8_t ModsFromParam(uint32_t p) {
  if (p == 0) return 0;
  uint32_t m = p - 1;
  return uint8_t(((m & 1) ? ModShift : 0) | ((m & 2) ? ModAlt : 0) | ((m & 4) ? ModCtrl : 0));
}

// C0 bytes and DEL: Ctrl+letter, with Tab, Enter, Esc and Backspace apart.
// The tty's erase byte is Backspace; the other of 0x08/0x7F is Ctrl+Backspace
// where the terminal sends that, else Ctrl+H.
Event ControlByte(uint8_t b, const DecoderProfile& p) {
  if (b == p.EraseByte) return {PcKey::Backspace};
  if (b == 0x08 || b == 0x7F) {
    if (p.BsIsCtrlBackspace) return {PcKey::Backspace, ModCtrl};
    return b == 0x08 ? Event{PcKey::H, ModCtrl} : Event{PcKey::Backspace};
  }
  switch (b) {
    case 0x09: return {PcKey::Tab};
    case 0x0D: return {PcKey::Enter};
    case Esc: return {PcKey::Esc};
    case 0x00: return {PcKey::Space, ModCtrl};
    case 0x1C: return {PcKey::Backslash, ModCtrl};
    case 0x1D: return {PcKey::RBracket, ModCtrl};
    case 0x1E: return {PcKey::D6, ModCtrl};
    case 0x1F: return {PcKey::Minus, ModCtrl};
    default: return {KeyForAscii(uint8_t('a' + b - 1)).Key, ModCtrl};
  }
}

// A code point with modifiers (CSI u, CSI 27;m;code~, typed text) as the PC
// key that types it. base is kitty's base-layout key: the US key at the same
// place, which names the key whatever the layout.
Event FromCodepoint(uint32_t cp, uint8_t mods, uint32_t base, const DecoderProfile& p) {
  Event ev;
  if ((cp == 0x09 || cp == 0x0D) && (mods & (ModCtrl | ModAlt | ModShift)) == (ModAlt | ModShift)) {
    // tmux's extended keys fold Ctrl+I and Ctrl+M into these codes and report
    // the rest: CSI 9;4u is Ctrl+Alt+Shift+I. Nothing else sends them so.
    return {cp == 0x09 ? PcKey::I : PcKey::M, uint8_t(mods | ModCtrl)};
  }
  if (cp < 0x20 || cp == 0x7F) {
    // Key codes, not tty bytes: 127 and 8 are the Backspace key itself.
    ev = (cp == 0x7F || cp == 0x08) ? Event{PcKey::Backspace} : ControlByte(uint8_t(cp), p);
    ev.Mods |= mods;
    return ev;
  }
  SeqKey fk = FunctionalKey(cp);
  if (fk.Key != PcKey::None) return {fk.Key, uint8_t(mods | fk.Mods), fk.Ch};
  TypedBy t;
  if (cp < 0x80) {
    t = KeyForAscii(uint8_t(cp));
  } else if ((t = KeyForCyrillic(cp)).Key != PcKey::None) {
    if ((mods & ModShift) && !t.Shifted) cp = CyrillicUpper(cp);
  }
  int c = UnicodeToCp866(cp);
  if (c < 0) return {};
  ev = {t.Key, uint8_t(mods | (t.Shifted ? ModShift : 0)), uint8_t(cp < 0x80 ? 0 : c)};
  if (base >= 0x20 && base < 0x7F && KeyForAscii(uint8_t(base)).Key != PcKey::None)
    ev.Key = KeyForAscii(uint8_t(base)).Key;
  if (ev.Key == PcKey::None) ev.Ch = uint8_t(c);  // a character no key types
  return ev;
}

// A key with Alt added, typed as byte b after ESC or with the high bit set.
Event WithAlt(Event ev, uint8_t b, const DecoderProfile& p) {
  if (p.AltEnterIsCtrlAltM && b == 0x0D) ev = {PcKey::M, ModCtrl};
  ev.Mods |= ModAlt;
  return ev;
}

// The raw PC key event for an Event, translated; 0 when it is no key.
KeyCode Finish(const Event& ev) { return PcKeyValue(ev.Key, ev.Mods, ev.Ch); }

// Length of a UTF-8 sequence from its lead byte; 0 for a byte that cannot lead.
size_t Utf8Length(uint8_t b) {
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

// Reads one UTF-8 character. Status Key with Ev.Ch unused; the code point is
// returned through cp.
Step ReadUtf8(const uint8_t* d, size_t n, bool force, uint32_t& cp) {
  size_t len = Utf8Length(d[0]);
  if (len == 0) return NothingStep(1);
  for (size_t i = 1; i < len; ++i) {
    if (i >= n) return force ? NothingStep(n) : IncompleteStep();
    if ((d[i] & 0xC0) != 0x80) return NothingStep(i);
  }
  cp = d[0] & (0x7F >> len);
  for (size_t i = 1; i < len; ++i) cp = cp << 6 | (d[i] & 0x3Fu);
  static constexpr uint32_t MinOf[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < MinOf[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return NothingStep(len);
  return {DecodeStatus::Key, {}, len};
}

// Parameters of a CSI: up to four ';' fields of up to three ':' parts.
struct Params {
  uint32_t V[4][3] = {};
  int Fields = 0;
};

void ParseParams(const uint8_t* d, size_t n, Params& ps) {
  int f = 0, s = 0;
  ps.Fields = n ? 1 : 0;
  for (size_t i = 0; i < n; ++i) {
    uint8_t b = d[i];
    if (b == ';') {
      if (++f >= 4) return;
      s = 0;
      ps.Fields = f + 1;
    } else if (b == ':') {
      ++s;
    } else if (b >= '0' && b <= '9' && s < 3) {
      uint32_t& v = ps.V[f][s];
      if (v < 0x1000000u) v = v * 10 + uint32_t(b - '0');  // saturates far above any key code
    }
  }
}

// The keypad key that a Shift+cursor sequence stands for on terminals that
// send those for Shift + keypad digits.
PcKey KeypadFor(PcKey k) {
  switch (k) {
    case PcKey::Home: return PcKey::Kp7;
    case PcKey::Up: return PcKey::Kp8;
    case PcKey::PgUp: return PcKey::Kp9;
    case PcKey::Left: return PcKey::Kp4;
    case PcKey::Right: return PcKey::Kp6;
    case PcKey::End: return PcKey::Kp1;
    case PcKey::Down: return PcKey::Kp2;
    case PcKey::PgDn: return PcKey::Kp3;
    case PcKey::Ins: return PcKey::Kp0;
    case PcKey::Del: return PcKey::KpDot;
    default: return k;
  }
}

Event ProfileReading(Event ev, const DecoderProfile& p) {
  if (ev.Mods != ModShift) return ev;
  bool page = ev.Key == PcKey::PgUp || ev.Key == PcKey::PgDn || ev.Key == PcKey::Ins;
  if (p.ShiftCursorIsKeypad || (p.ShiftPagesAreKeypad && page)) ev.Key = KeypadFor(ev.Key);
  return ev;
}

// ESC [ ... : Status Incomplete means the sequence has no final byte yet. A
// sequence whose final byte would come at MaxSequence or later is garbage
// through its final byte, however the reads cut it: without a final byte in
// view, what came is dropped and skipCsi (1 in the parameters, 2 in the
// intermediates) drops the rest as it arrives.
Step DecodeCsi(const uint8_t* d, size_t n, const DecoderProfile& p, bool& inPaste, uint8_t& skipCsi) {
  if (n < 3) return IncompleteStep();
  if (d[2] == '[') {  // Linux console: ESC [ [ A..E are F1..F5
    if (n < 4) return IncompleteStep();
    if (d[3] >= 'A' && d[3] <= 'E') return KeyStep({PcKey(size_t(PcKey::F1) + (d[3] - 'A'))}, 4);
    return NothingStep(d[3] >= 0x40 && d[3] <= 0x7E ? 4 : 3);
  }
  size_t i = 2;
  while (i < n && d[i] >= 0x30 && d[i] <= 0x3F) ++i;
  size_t paramEnd = i;
  while (i < n && d[i] >= 0x20 && d[i] <= 0x2F) ++i;
  if (i >= n && n < MaxSequence) return IncompleteStep();
  if (i >= n) {
    skipCsi = i > paramEnd ? 2 : 1;
    return NothingStep(n);
  }
  uint8_t final = d[i];
  size_t used = i + 1;
  if (final < 0x40 || final > 0x7E) return NothingStep(i);  // broken off: drop what came
  if (i >= MaxSequence) return NothingStep(used);
  // Replies to queries (kitty flags, DA1, DA2, mode reports) and anything
  // with intermediates are no keys.
  if (paramEnd > 2 && d[2] >= 0x3C) return NothingStep(used);
  if (i != paramEnd) return NothingStep(used);
  Params ps;
  ParseParams(d + 2, paramEnd - 2, ps);
  uint8_t mods = ModsFromParam(ps.V[1][0]);
  if (ps.V[1][1] == 3) return NothingStep(used);  // kitty: a key release
  Event ev;
  if (final == '~') {
    uint32_t num = ps.V[0][0];
    if (num == 200) {  // the text that follows is taken apart by DecodePaste
      inPaste = true;
      return NothingStep(used);
    }
    if (num == 201) return NothingStep(used);
    if (num == 27) {  // xterm modifyOtherKeys: CSI 27 ; m ; code ~
      ev = FromCodepoint(ps.V[2][0], mods, 0, p);
    } else {
      SeqKey sk = TildeKey(num);
      ev = ProfileReading({sk.Key, uint8_t(mods | sk.Mods), sk.Ch}, p);
    }
  } else if (final == 'u') {  // CSI code[:shifted[:base]] ; mods[:event] [; text] u
    uint32_t code = ps.V[0][0];
    if (code == 0 || IsModifierKeyCode(code)) return NothingStep(used);
    if ((mods & ModShift) && ps.V[0][1]) code = ps.V[0][1];
    ev = FromCodepoint(code, mods, ps.V[0][2], p);
  } else {
    SeqKey sk = FinalKey(final, false);
    ev = ProfileReading({sk.Key, uint8_t(mods | sk.Mods), sk.Ch}, p);
  }
  if (ev.Key == PcKey::None && ev.Ch == 0) return NothingStep(used);
  return KeyStep(ev, used);
}

// ESC O [modifier digit] final. Status Incomplete: no final yet; Nothing with
// Used 0: not an SS3 at all (the caller reads ESC O as Alt+Shift+O).
Step DecodeSs3(const uint8_t* d, size_t n) {
  size_t i = 2;
  if (i >= n) return IncompleteStep();
  uint8_t mods = 0;
  if (d[i] >= '1' && d[i] <= '9') {
    mods = ModsFromParam(uint32_t(d[i] - '0'));
    if (++i >= n) return IncompleteStep();
  }
  uint8_t final = d[i];
  if (final < 0x40 || final > 0x7E) return NothingStep(0);
  SeqKey sk = FinalKey(final, true);
  if (sk.Key == PcKey::None) return NothingStep(i + 1);
  return KeyStep({sk.Key, uint8_t(mods | sk.Mods), sk.Ch}, i + 1);
}

Step DecodeOne(const uint8_t* d, size_t n, bool force, bool nested, const DecoderProfile& p,
               bool& inPaste, uint8_t& skipCsi);

// ESC: the start of CSI or SS3, or the Alt prefix of the key that follows,
// decoded by the same decoder. Only one ESC is taken as Alt.
Step DecodeEscape(const uint8_t* d, size_t n, bool force, bool nested, const DecoderProfile& p,
                  bool& inPaste, uint8_t& skipCsi) {
  if (n == 1) return force ? KeyStep({PcKey::Esc}, 1) : IncompleteStep();
  Step s;
  if (d[1] == '[') {
    s = DecodeCsi(d, n, p, inPaste, skipCsi);
  } else if (d[1] == 'O') {
    s = DecodeSs3(d, n);
    if (s.Status == DecodeStatus::Nothing && s.Used == 0) s = KeyStep({PcKey::O, ModAlt | ModShift}, 2);
  } else if (nested) {
    return KeyStep({PcKey::Esc}, 1);
  } else {
    Step inner = DecodeOne(d + 1, n - 1, force, true, p, inPaste, skipCsi);
    if (inner.Status == DecodeStatus::Incomplete) return inner;
    if (inner.Status == DecodeStatus::Nothing) return NothingStep(inner.Used + 1);
    inner.Ev = WithAlt(inner.Ev, d[1], p);
    inner.Used += 1;
    return inner;
  }
  if (s.Status != DecodeStatus::Incomplete) return s;
  if (!force) return s;
  // Cut short and nothing more is coming: ESC [ is Alt+[, ESC O Alt+Shift+O.
  return KeyStep(d[1] == '[' ? Event{PcKey::LBracket, ModAlt} : Event{PcKey::O, ModAlt | ModShift}, 2);
}

Step DecodeOne(const uint8_t* d, size_t n, bool force, bool nested, const DecoderProfile& p,
               bool& inPaste, uint8_t& skipCsi) {
  uint8_t b = d[0];
  if (b == Esc) return DecodeEscape(d, n, force, nested, p, inPaste, skipCsi);
  if (b < 0x20 || b == 0x7F) return KeyStep(ControlByte(b, p), 1);
  if (b < 0x80) return KeyStep(FromCodepoint(b, 0, 0, p), 1);
  uint32_t cp = 0;
  Step s = ReadUtf8(d, n, force, cp);
  if (s.Status != DecodeStatus::Key) return s;
  if (p.Meta8Bit && cp <= 0xFF) {  // xterm's 8-bit Meta: Alt + the 7-bit key
    uint8_t low = uint8_t(cp - 0x80);
    Event ev = low < 0x20 || low == 0x7F ? ControlByte(low, p) : FromCodepoint(low, 0, 0, p);
    return KeyStep(WithAlt(ev, low, p), s.Used);
  }
  if (cp < 0xA0) return NothingStep(s.Used);  // C1 controls are no keys
  return KeyStep(FromCodepoint(cp, 0, 0, p), s.Used);
}

constexpr std::string_view PasteEnd = "\x1b[201~";

}  // namespace

Decoded KeyDecoder::Decode(const uint8_t* data, size_t n, bool force) {
  if (n == 0) return {DecodeStatus::Incomplete, 0, 0};
  if (InPaste) return DecodePaste(data, n);
  if (SkipCsi) {
    // The rest of an over-long sequence, by the same grammar: parameter
    // bytes, intermediate bytes, the final byte; any other byte has broken
    // it off and is read for itself.
    size_t i = 0;
    while (SkipCsi == 1 && i < n && data[i] >= 0x30 && data[i] <= 0x3F) ++i;
    if (i < n) SkipCsi = 2;
    while (i < n && data[i] >= 0x20 && data[i] <= 0x2F) ++i;
    if (i < n) {
      SkipCsi = 0;
      if (data[i] >= 0x40 && data[i] <= 0x7E) ++i;
    }
    if (i > 0) return {DecodeStatus::Nothing, 0, i};
  }
  Step s = DecodeOne(data, n, force, false, Profile, InPaste, SkipCsi);
  if (InPaste) PasteText.clear();  // a paste began; one nobody took is gone
  if (s.Status != DecodeStatus::Key) return {s.Status, 0, s.Used};
  KeyCode k = Finish(s.Ev);
  if (k == 0) return {DecodeStatus::Nothing, 0, s.Used};
  return {DecodeStatus::Key, k, s.Used};
}

// The end marker may be cut by a read anywhere, and its ESC may as well be
// pasted text: the bytes of a marker begun are held (EndSeen) until the next
// byte shows whether it goes on. No marker byte but ESC recurs in it, so a
// marker broken off is text and the byte that broke it is looked at anew.
Decoded KeyDecoder::DecodePaste(const uint8_t* data, size_t n) {
  size_t i = 0;
  while (i < n) {
    if (EndSeen > 0) {
      if (data[i] == uint8_t(PasteEnd[EndSeen])) {
        ++i;
        if (++EndSeen == PasteEnd.size()) {
          InPaste = false;
          EndSeen = 0;
          return {DecodeStatus::Key, keys::Paste, i};
        }
        continue;
      }
      KeepPasted(reinterpret_cast<const uint8_t*>(PasteEnd.data()), EndSeen);
      EndSeen = 0;
    }
    const auto* esc = static_cast<const uint8_t*>(std::memchr(data + i, Esc, n - i));
    const size_t stop = esc ? size_t(esc - data) : n;
    KeepPasted(data + i, stop - i);
    i = stop;
    if (i < n) {
      EndSeen = 1;
      ++i;
    }
  }
  return {DecodeStatus::Nothing, 0, n};
}

void KeyDecoder::KeepPasted(const uint8_t* bytes, size_t n) {
  const size_t room = MaxPasteBytes + 1 - std::min(PasteText.size(), MaxPasteBytes + 1);
  PasteText.append(reinterpret_cast<const char*>(bytes), std::min(n, room));
}

Decoded KeyDecoder::EndPaste() {
  if (!InPaste) return {DecodeStatus::Nothing, 0, 0};
  // A marker cut off by the silence was no text.
  InPaste = false;
  EndSeen = 0;
  return {DecodeStatus::Key, keys::Paste, 0};
}

std::string KeyDecoder::TakePaste() { return std::exchange(PasteText, {}); }

// Which terminal family the bytes come from, by the marks each leaves in the
// environment. The outer terminal decides even inside tmux (tmux passes its
// bytes through), so KITTY_WINDOW_ID and XTERM_VERSION are read first; they
// reach tmux panes from the environment the tmux server started in.
//   kitty (KITTY_WINDOW_ID, or TERM=xterm-kitty): 0x08 is Ctrl+Backspace.
//   xterm (XTERM_VERSION): 0x08 is Ctrl+Backspace; CSI 2;2~ 5;2~ 6;2~ are
//     Shift + keypad 0, 9, 3 (xterm keeps Shift+Ins/PgUp/PgDn for itself);
//     U+0080..U+00FF are 8-bit Meta (Alt); ESC CR is Ctrl+Alt+M.
//   tmux (TMUX, no outer mark) and the Linux console (TERM=linux...): 0x08 is
//     Ctrl+H, so ESC 0x08 is Ctrl+Alt+H and never the instant exit.
//   anything else: 0x08 is Ctrl+Backspace.
// NumLock cannot be seen from here, so Shift+cursor sequences stay cursor keys.
DecoderProfile ProfileFromEnvironment(uint8_t eraseByte) {
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  const char* term = std::getenv("TERM");
  std::string_view t = term ? term : "";
  DecoderProfile p;
  if (eraseByte == 0x08 || eraseByte == 0x7F) p.EraseByte = eraseByte;
  if (set("KITTY_WINDOW_ID") || t == "xterm-kitty") return p;
  if (set("XTERM_VERSION")) {
    p.ShiftPagesAreKeypad = true;
    p.Meta8Bit = true;
    p.AltEnterIsCtrlAltM = true;
    return p;
  }
  if (set("TMUX") || t.starts_with("linux")) p.BsIsCtrlBackspace = false;
  return p;
}

}  // namespace lumo

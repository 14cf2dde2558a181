// Terminal bytes through the key decoder as the terminal feeds them: in reads
// of a size the input chooses, with or without a pause (the escape time)
// between reads. Byte 0 picks the profile, byte 1 the reads; the rest is what
// the terminal sent.
//
// Checked: every key or garbage consumes at least one byte and no more than
// it was given (each call sees a buffer of exactly n bytes, so a read past n
// is a heap overflow); a forced decode always finishes; and without pauses the
// keys do not depend on where the reads were cut, because sequences are
// parsed by their grammar; neither do the texts of pastes, and a paste left
// open at the end is ended as the terminal's silence ends it. Key values have
// the shape the dispatch expects.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FuzzFail.h"
#include "screen/KeyDecoder.h"
#include "screen/KeyNames.h"

namespace {

using namespace lumo;

[[noreturn]] void Fail(const char* what, size_t at, const Decoded& d) {
  std::fprintf(stderr, "key decoder: %s at byte %zu (status %d, key %08X, used %zu)\n", what, at,
               int(d.Status), unsigned(d.Key), d.Used);
  std::abort();
}

// Every combination of the profile's readings: the terminal families set
// some of them together, NumLock sets ShiftCursorIsKeypad.
DecoderProfile ProfileFrom(uint8_t b) {
  DecoderProfile p;
  p.EraseByte = (b & 1) ? 0x08 : 0x7F;
  p.BsIsCtrlBackspace = !(b & 2);
  p.ShiftPagesAreKeypad = b & 4;
  p.ShiftCursorIsKeypad = b & 8;
  p.Meta8Bit = b & 16;
  p.AltEnterIsCtrlAltM = b & 32;
  return p;
}

// One call on a copy that ends exactly where the decoder's view ends.
Decoded DecodeExact(KeyDecoder& dec, const uint8_t* data, size_t n, bool force) {
  std::unique_ptr<uint8_t[]> copy(new uint8_t[n]);
  std::memcpy(copy.get(), data, n);
  return dec.Decode(copy.get(), n, force);
}

// The keys of the stream; reads of `chunk` bytes (0: all at once), forced
// after each read when pauses is set and always at the end. The texts of
// pastes go to pastes.
std::vector<KeyCode> Run(const DecoderProfile& profile, const uint8_t* bytes, size_t total, size_t chunk,
                         bool pauses, std::vector<std::string>& pastes) {
  KeyDecoder dec;
  dec.Profile = profile;
  std::vector<KeyCode> keys;
  std::vector<uint8_t> in;
  size_t pos = 0, fed = 0;
  auto read = [&] {
    size_t k = chunk == 0 || total - fed < chunk ? total - fed : chunk;
    in.insert(in.end(), bytes + fed, bytes + fed + k);
    fed += k;
  };
  while (pos < in.size() || fed < total) {
    if (pos == in.size()) {
      read();
      continue;
    }
    const size_t n = in.size() - pos;
    Decoded d = DecodeExact(dec, in.data() + pos, n, false);
    if (d.Status == DecodeStatus::Incomplete) {
      if (d.Used != 0) Fail("waits for more but consumed bytes", pos, d);
      if (fed < total && !pauses) {
        read();
        continue;
      }
      d = DecodeExact(dec, in.data() + pos, n, true);
      if (d.Status == DecodeStatus::Incomplete) Fail("a forced decode did not finish", pos, d);
    }
    if (d.Used == 0) Fail("nothing consumed", pos, d);
    if (d.Used > n) Fail("consumed more than it was given", pos, d);
    if (d.Status == DecodeStatus::Key && d.Key == lumo::keys::Paste) {
      keys.push_back(d.Key);
      pastes.push_back(dec.TakePaste());
    } else if (d.Status == DecodeStatus::Key) {
      // A character (kind 0) or a key with a scan code (2: function keys,
      // 3: the others); never a value without its low half.
      const unsigned kind = d.Key >> 24;
      if ((kind != 0 && kind != 2 && kind != 3) || (d.Key & 0xFFFFu) == 0) Fail("not a key value", pos, d);
      keys.push_back(d.Key);
      (void)KeyName(NormaliseShift(d.Key));
    }
    pos += d.Used;
  }
  if (dec.Pasting()) {
    if (dec.EndPaste().Key != lumo::keys::Paste || dec.Pasting()) Fail("an open paste did not end", pos, {});
    keys.push_back(lumo::keys::Paste);
    pastes.push_back(dec.TakePaste());
  }
  return keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const DecoderProfile profile = ProfileFrom(data[0]);
  const size_t chunk = data[1] & 15;  // 0: the whole stream in one read
  const bool pauses = data[1] & 16;
  const uint8_t* bytes = data + 2;
  const size_t n = size - 2;
  std::vector<std::string> pastes, wholePastes;
  const std::vector<KeyCode> keys = Run(profile, bytes, n, chunk, pauses, pastes);
  if (!pauses && chunk != 0) {
    const std::vector<KeyCode> whole = Run(profile, bytes, n, 0, false, wholePastes);
    if (keys != whole || pastes != wholePastes)
      lumo::test::FuzzFail("key decoder", "reads of " + std::to_string(chunk) + " bytes give other keys than one read");
  }
  return 0;
}

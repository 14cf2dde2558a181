// Terminal bytes through a key decoder as the console reads them, for the
// tests and the fuzz targets alike: in reads of `chunk` bytes (0: all at
// once), forced after each read when `pauses` (the escape time passed
// between reads) and always after the last, as the terminal's silence does;
// a paste still open at the end is ended the same way. Each call sees a copy
// that ends exactly where its view ends, so a read past it is a heap overflow.
#pragma once
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "screen/KeyDecoder.h"
#include "screen/KeyNames.h"

namespace lumo::test {

struct KeyRun {
  std::vector<KeyCode> Keys;        // as decoded, the shift state raw
  std::vector<std::string> Pastes;  // the text of each paste key, in order
  std::string Fault;                // the first rule of the decoder broken; the keys stop there
};

inline KeyRun ReadKeys(KeyDecoder& dec, std::string_view bytes, size_t chunk = 0, bool pauses = false) {
  KeyRun run;
  size_t pos = 0, fed = 0;
  auto read = [&] { fed = chunk && bytes.size() - fed > chunk ? fed + chunk : bytes.size(); };
  auto decode = [&](bool force) {
    std::unique_ptr<uint8_t[]> copy(new uint8_t[fed - pos]);
    std::memcpy(copy.get(), bytes.data() + pos, fed - pos);
    return dec.Decode(copy.get(), fed - pos, force);
  };
  auto fail = [&](const char* what) { run.Fault = what + (" at byte " + std::to_string(pos)); };
  while (pos < bytes.size() && run.Fault.empty()) {
    if (pos == fed) {
      read();
      continue;
    }
    Decoded d = decode(false);
    if (d.Status == DecodeStatus::Incomplete) {
      if (d.Used != 0) return fail("waits for more but consumed bytes"), run;
      if (fed < bytes.size() && !pauses) {
        read();
        continue;
      }
      d = decode(true);
    }
    // A key is a character (kind 0) or has a scan code (2: function keys,
    // 3: the others); never a value without its low half.
    const unsigned kind = d.Key >> 24;
    if (d.Status == DecodeStatus::Incomplete) fail("a forced decode did not finish");
    else if (d.Used == 0 || d.Used > fed - pos) fail("used no bytes or more than it was given");
    else if (d.Status == DecodeStatus::Key && d.Key != keys::Paste && ((kind != 0 && kind != 2 && kind != 3) || !(d.Key & 0xFFFF)))
      fail("not a key value");
    else if (d.Status == DecodeStatus::Key) run.Keys.push_back(d.Key);
    if (run.Fault.empty() && d.Status == DecodeStatus::Key && d.Key == keys::Paste) run.Pastes.push_back(dec.TakePaste());
    pos += d.Used;
  }
  if (run.Fault.empty() && dec.Pasting()) {
    if (dec.EndPaste().Key != keys::Paste || dec.Pasting()) return fail("an open paste did not end"), run;
    run.Keys.push_back(keys::Paste);
    run.Pastes.push_back(dec.TakePaste());
  }
  return run;
}

}  // namespace lumo::test

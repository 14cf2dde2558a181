// Key streams through the real main loop. The input is a list of records:
// two bytes (a, b) are one action of the realistic key mix, a record
// starting with 0xFF is a raw key value (the four bytes after it, little
// endian), so that any key at all can come at any point, and one starting
// with 0xFE is a paste: a length byte n, then n bytes of pasted text (scaled
// by the byte after them: that many copies, so a paste can reach the limits). Byte 0 chooses the
// window and the memory budget. At most 2000 keys per input.
//
// The whole state is checked before every key (StressRun); a fault aborts
// with what was wrong after which key.
//
// Typed file names could write anywhere, so the process confines itself
// first (Confine.h). Run it from a scratch directory, with its inputs under it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Confine.h"
#include "FuzzFail.h"
#include "KeyMix.h"
#include "StressRun.h"

namespace {

using namespace lumo;
using namespace lumo::test;

constexpr size_t MaxKeys = 2000;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  Confine("key stream");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The everyday window, a narrow and short one (scrolling at every other
  // key), and a budget the text barely fits (refusals).
  static constexpr struct { int W, H; size_t Budget; } Setups[] = {{80, 25, lumo::DefaultBudget}, {20, 6, lumo::DefaultBudget},
                                     {80, 25, lumo::TableBytes + 2000}, {132, 3, lumo::DefaultBudget}};
  const auto& s = Setups[data[0] % std::size(Setups)];
  StressRun r(lumo::test::StressText, s.W, s.H, s.Budget);
  KeyMix mix(data[0], r.Dir.Path);

  std::vector<KeyCode> keys;
  for (size_t i = 1; i + 1 < size && keys.size() < MaxKeys;) {
    if (data[i] == 0xFE) {
      const size_t n = i + 1 < size ? data[i + 1] : 0;
      if (i + 3 + n > size) break;
      std::string text;
      const std::string_view piece(reinterpret_cast<const char*>(data + i + 2), n);
      for (int copies = 1 + data[i + 2 + n] * 64; copies > 0; --copies) text += piece;
      keys.push_back(lumo::keys::Paste);
      r.Con.Pastes.push_back(std::move(text));
      i += 3 + n;
      continue;
    }
    if (data[i] == 0xFF) {
      if (i + 5 > size) break;
      keys.push_back(KeyCode(data[i + 1] | data[i + 2] << 8 | data[i + 3] << 16 | uint32_t(data[i + 4]) << 24));
      i += 5;
      continue;
    }
    mix.Plan(data[i], data[i + 1]);
    i += 2;
    while (mix.Queued() > 0 && keys.size() < MaxKeys) keys.push_back(mix.Next());
  }

  size_t next = 0;
  if (!r.Run([&] { return keys[next++]; }, long(keys.size()))) lumo::test::FuzzFail("key stream", r.Fault);
  return 0;
}

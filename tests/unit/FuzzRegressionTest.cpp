// Faults the fuzz targets (tests/fuzz) found, each as the smallest input
// that showed it; the inputs are also in the fuzzers' seed corpora.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "screen/KeyDecoder.h"

namespace lumo {
namespace {

// The keys of a byte stream arriving in reads of `chunk` bytes (0: one read),
// forced only at the end, as the terminal does when no pause comes between.
std::vector<KeyCode> Keys(const std::string& bytes, size_t chunk) {
  KeyDecoder d;
  std::vector<KeyCode> keys;
  std::vector<uint8_t> in;
  size_t pos = 0, fed = 0;
  auto read = [&] {
    size_t k = chunk == 0 ? bytes.size() - fed : std::min(chunk, bytes.size() - fed);
    in.insert(in.end(), bytes.begin() + long(fed), bytes.begin() + long(fed + k));
    fed += k;
  };
  for (;;) {
    const bool last = fed == bytes.size();
    if (pos == in.size()) {
      if (last) return keys;
      read();
      continue;
    }
    Decoded r = d.Decode(in.data() + pos, in.size() - pos, last);
    if (r.Status == DecodeStatus::Incomplete && !last) {
      read();
      continue;
    }
    if (r.Status == DecodeStatus::Incomplete || r.Used == 0) return {};  // stuck
    if (r.Status == DecodeStatus::Key) keys.push_back(r.Key);
    pos += r.Used;
  }
}

std::vector<KeyCode> Typed(const std::string& s) {
  std::vector<KeyCode> keys;
  for (unsigned char c : s) keys.push_back(Keys(std::string(1, char(c)), 0).at(0));
  return keys;
}

// A control sequence longer than the decoder waits for is garbage through
// its final byte, whether it comes in one read or in many: none of its bytes
// may become a key, and the bytes after it mean what they mean alone. Found
// by the key decoder target: the sequence was dropped when the reads cut it
// past 64 bytes and its tail typed into the text, while in one read the same
// bytes were a key.
TEST(FuzzRegression, AnOverlongSequenceIsGarbageHoweverTheReadsCutIt) {
  struct Case {
    std::string Bytes;
    std::string After;  // what is typed after the garbage
  } cases[] = {
      {"\x1b[" + std::string(80, '&') + ";C", ";C"},  // intermediates, then broken off
      {"\x1b[" + std::string(40 * 2, ';') + "Ax", "x"},  // parameters and a final byte
      {"\x1b[" + std::string(70, '1') + "&&Ax", "x"},
      {"\x1b[" + std::string(70, '1') + "&1Ax", "1Ax"},  // a parameter after an intermediate breaks it
  };
  for (const Case& c : cases) {
    const std::vector<KeyCode> want = Typed(c.After);
    for (size_t chunk : {0, 1, 5, 12, 16, 63, 64, 65}) {
      EXPECT_EQ(Keys(c.Bytes, chunk), want) << c.Bytes.size() << " bytes in reads of " << chunk;
    }
  }
  // Up to the limit a long sequence is still read as the key it is.
  const std::string up = "\x1b[" + std::string(55, '0') + "1;5A";
  for (size_t chunk : {0, 1, 7}) EXPECT_EQ(Keys(up, chunk), Keys("\x1b[1;5A", 0)) << chunk;
}

}  // namespace
}  // namespace lumo

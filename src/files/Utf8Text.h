// UTF-8 files as the loader meets them. Most texts on this system are UTF-8,
// while the editor holds code page 866; a file that is UTF-8 as a whole is
// converted while its lines are cut, so the bytes are looked at once. The
// reader below follows the text line by line: it converts each line on the
// guess that the whole file will prove convertible, and drops the guess for
// good at the first byte that says otherwise (an 866 or 1251 file at its
// first letter), after which it costs nothing. The decoder keeps its state
// between calls, so a character may arrive in pieces (the skipped rest of an
// over-long line crossing reads).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace lumo {

// What a whole text turned out to be.
enum class Utf8Verdict : uint8_t {
  NotUtf8,      // not valid UTF-8, or without a multi-byte character
  Convertible,  // valid, and every character exists in 866
  Foreign,      // valid, with a character 866 lacks: kept as read
};

class Utf8Reader {
 public:
  enum class Mode : uint8_t {
    Off,      // not UTF-8 (or not looked for): lines as read
    Convert,  // convertible so far: lines converted
    Check,    // valid so far, but 866 lacks a character: lines as read, checked on
  };

  explicit Utf8Reader(bool watch) : M(watch ? Mode::Convert : Mode::Off) {}

  // Gives the line whose bytes (or, when !complete, first bytes) are
  // s[0..n): converted while the text is convertible, else its first 255
  // bytes as read. high says whether any byte of them is 128 or more. Returns
  // how many bytes it took; of an incomplete line the rest goes to Skip.
  size_t Line(const char* s, size_t n, bool complete, bool high, std::string_view& line, bool& cut);
  // The bytes of an over-long line's dropped rest, in pieces.
  void Skip(const char* s, size_t n) {
    if (M != Mode::Off) SkipBytes(reinterpret_cast<const uint8_t*>(s), n);
  }
  // Where a skipped rest ends (line end or end of text): no character may be open.
  void LineEnd() {
    if (Need) Invalid();
  }

  Mode Current() const { return M; }
  // Lines were given converted before the text proved not convertible: the
  // reader of the lines must read them again as they are.
  bool Mixed() const { return Mix; }
  // A byte-order mark began the text and was left out of line 1.
  bool Bom() const { return BomSeen; }
  Utf8Verdict Verdict() const;
  // Bytes that must be cut a little larger than 255 for 255 converted characters.
  size_t Window() const { return M == Mode::Convert ? 3 * 255 : 255; }

 private:
  template <bool Emit>
  size_t Run(const uint8_t* p, size_t n);
  void SkipBytes(const uint8_t* p, size_t n);
  void Lacks();
  void Invalid();

  Mode M;
  uint8_t Need = 0;            // continuation bytes still to come
  uint8_t Lo = 0x80, Hi = 0xBF;  // the range the next one must be in
  uint32_t Code = 0;           // the character being decoded
  bool Multi = false;          // a multi-byte character was met
  bool Converted = false;      // a line was given that differs from its bytes
  bool Mix = false;
  bool BomSeen = false;
  bool AtStart = true;
  uint8_t Len = 0;
  char Out[255 + 64];  // room for a converted block past the last character
};

// The 866 byte of a character from 128 on, 0 when 866 lacks it.
uint8_t Cp866Of(uint32_t code);

}  // namespace lumo

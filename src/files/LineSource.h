// Cuts a byte stream into text lines as the loader and file insertion read
// them: a line ends at LF, CR LF or a lone CR (also when the CR and the LF
// arrive in different reads); a Ctrl+Z where a line would begin ends the
// text; a line longer than 255 bytes yields its first 255 and the rest is
// skipped. The stream is read in large chunks into one buffer, so a file is
// never held whole in memory, and every byte is looked at once. A source
// that watches for UTF-8 gives the lines of a convertible UTF-8 text in 866,
// 255 characters at most (files/Utf8Text.h).
#pragma once
#include <cstddef>
#include <memory>
#include <string_view>

#include "files/FileState.h"
#include "files/Utf8Text.h"

namespace lumo {

class LineSource {
 public:
  explicit LineSource(int fd, bool utf8 = false);                // reads fd from its current offset
  explicit LineSource(std::string_view bytes, bool utf8 = false);  // reads memory, no copy
  // The next line (valid until the next call); false at the end of the text.
  // cut is set when the line was longer than 255 bytes (characters).
  bool Next(std::string_view& line, bool& cut);
  bool ReadError() const { return Error; }

  // Lines came converted before the text proved not convertible.
  bool Mixed() const { return U.Mixed(); }
  // Reads on as far as needed to know what the text is as UTF-8.
  Utf8Verdict ReadToVerdict();
  // What the text read so far is.
  Utf8Verdict Verdict() const { return U.Verdict(); }
  bool Bom() const { return U.Bom(); }
  // How the first line ended; LF when no line has ended.
  LineEnd FirstLineEnd() const { return FirstEnd; }

 private:
  bool Fill();  // more bytes after End; false at the end of the stream
  bool EnsureByte();
  template <bool Watch>
  size_t FindLineEnd(size_t from, bool& high) const;
  void ConsumeLineEnd(size_t at);
  size_t Give(size_t n, bool complete, bool high, std::string_view& line, bool& cut);

  int Fd = -1;
  std::unique_ptr<char[]> Buffer;
  const char* Data = nullptr;
  size_t Begin = 0, End = 0;
  bool Eof = false;
  bool Error = false;
  bool SkipLf = false;    // the last line ended in a CR at the end of a read
  bool SkipRest = false;  // the rest of an over-long line is to be dropped
  bool Ended = false;
  bool FirstEnded = false;  // FirstEnd is known (but for the LF of a CR at a read's end)
  LineEnd FirstEnd = LineEnd::Lf;
  Utf8Reader U;
};

}  // namespace lumo

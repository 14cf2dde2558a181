// Cuts a byte stream into text lines as the loader and file insertion read
// them: a line ends at LF, CR LF or a lone CR (also when the CR and the LF
// arrive in different reads); a Ctrl+Z where a line would begin ends the
// text; a line longer than 255 bytes yields its first 255 and the rest is
// skipped. The stream is read in large chunks into one buffer, so a file is
// never held whole in memory, and every byte is looked at once.
#pragma once
#include <cstddef>
#include <memory>
#include <string_view>

namespace lumo {

class LineSource {
 public:
  explicit LineSource(int fd);                // reads fd from its current offset
  explicit LineSource(std::string_view bytes);  // reads memory, no copy
  // The next line (valid until the next call); false at the end of the text.
  // cut is set when the line was longer than 255 bytes.
  bool Next(std::string_view& line, bool& cut);
  bool ReadError() const { return Error; }

 private:
  bool Fill();  // more bytes after End; false at the end of the stream
  bool EnsureByte();
  size_t FindLineEnd(size_t from) const;
  void ConsumeLineEnd(size_t at);

  int Fd = -1;
  std::unique_ptr<char[]> Buffer;
  const char* Data = nullptr;
  size_t Begin = 0, End = 0;
  bool Eof = false;
  bool Error = false;
  bool SkipLf = false;    // the last line ended in a CR at the end of a read
  bool SkipRest = false;  // the rest of an over-long line is to be dropped
  bool Ended = false;
};

}  // namespace lumo

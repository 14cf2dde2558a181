// The editor's side files: the per-file settings, the prompt history, the
// clipboard file, the keystroke file, the macro file and the completion list.
// They are small, live beside the user's own files or in the private state
// directory, and may have been edited by hand, damaged or cut short, so
// reading takes whatever bytes are there and a file that cannot be read is
// simply absent: the caller keeps what it had. Writing replaces a file in one
// step, so a failed or interrupted write leaves the old one. Line-based
// formats end their lines with CR LF and read CR, LF and CR LF alike.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace lumo {

// Reads at most limit bytes of path into bytes (the rest of a longer file is
// left). False, with bytes empty, when there is no regular file to read: a
// missing file, a directory, a FIFO or a device (opened without waiting), a
// file we may not read.
bool ReadSideFile(const std::string& path, std::string& bytes, size_t limit);

// Appends what fd holds to bytes until its end or limit bytes in all; false
// when a read failed (what came before it is kept).
bool ReadUpTo(int fd, std::string& bytes, size_t limit);

// Replaces path by bytes: a new file is private (0600 less the umask), an old
// one keeps its permissions, and a link keeps pointing at the replaced file.
// When path lies in the state directory that directory is made first;
// other directories must exist. False when nothing was written.
bool WriteSideFile(const std::string& path, std::string_view bytes);

// The lines of a side file's bytes, front to back.
class SideLines {
 public:
  explicit SideLines(std::string_view bytes) : Rest(bytes) {}
  // The next line without its end, cut to keep bytes; false (line empty)
  // when no line is left. Bytes after the last line end are a line too.
  bool Next(std::string_view& line, size_t keep = std::string_view::npos);

 private:
  std::string_view Rest;
};

// Appends line and CR LF to out. A CR or LF inside line becomes a blank:
// read back, it would split the line and shift every later one.
void AddSideLine(std::string& out, std::string_view line);

}  // namespace lumo

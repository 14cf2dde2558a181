// The loader cuts the file into lines with LineSource and copies each line
// once, straight into its block. A first reading gives every line room up to
// the right margin; when the text does not fit that way it is read again with
// each line only as long as itself.
#include "files/Load.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "files/CodePageCheck.h"
#include "files/LineSource.h"
#include "screen/StatusRow.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {
namespace {

enum class Pass { Done, TooManyLines, Short, OutOfMemory, ReadError, Mixed };

// One reading of the whole text; on the first pass a shortage is only noted,
// on the compact pass it is fatal.
Pass ReadLines(Editor& e, LineSource& src, bool compact, int& cut) {
  cut = 0;
  std::string_view line;
  bool wasCut = false;
  while (src.Next(line, wasCut)) {
    if (src.Mixed()) return Pass::Mixed;
    if (wasCut) ++cut;
    uint8_t capacity = uint8_t(line.size() > e.RightMargin ? line.size() : e.RightMargin);
    bool stored = false;
    if (FreeMemory(e) > capacity) {
      if (e.LineCount >= MaxLines) {
        ShowMessage(e, Texts::TooManyLines, 1);
        e.OpFailed = 1;
        return Pass::TooManyLines;
      }
      stored = AppendLoadedLine(e, line, capacity);
    }
    if (!stored) {
      if (!compact) return Pass::Short;
      ShowMessage(e, Texts::NoMemory, 1);
      e.OpFailed = 1;
      return Pass::OutOfMemory;
    }
  }
  if (src.Mixed()) return Pass::Mixed;
  return src.ReadError() ? Pass::ReadError : Pass::Done;
}

// The readings of the loader over one source of bytes; reopen(utf8) gives
// the bytes again from their start. A UTF-8 text comes converted in the
// first reading; the rare text that proves not convertible after lines were
// converted is read again as it is, so that it is never half converted.
template <class Reopen>
Pass LoadLines(Editor& e, Reopen reopen, Utf8Verdict& utf8) {
  e.OpFailed = 0;
  e.CompactLoad = false;
  bool watch = e.CodePageCheck;
  utf8 = Utf8Verdict::NotUtf8;
  LineEnd ends = LineEnd::CrLf;
  bool bom = false;
  int cut = 0;
  Pass r;
  for (;;) {
    LineSource src = reopen(watch);
    r = ReadLines(e, src, e.CompactLoad, cut);
    if (r == Pass::Mixed) {
      utf8 = src.ReadToVerdict();
      watch = false;
    } else {
      if (watch) utf8 = src.Verdict();
      ends = src.FirstLineEnd();
      bom = src.Bom();
      if (r != Pass::Short || e.CompactLoad) break;
      e.RightMargin = 7;
      e.LengthLimit = !e.LengthLimit;
      e.CompactLoad = true;
    }
    FreeAllLines(e);
    e.OpFailed = 0;
  }
  // In the compact reading even the line limit ends the program.
  if (e.CompactLoad && r == Pass::TooManyLines) r = Pass::OutOfMemory;
  e.CutLines = cut;
  e.FileCodePage = utf8 == Utf8Verdict::Convertible ? CodePage::Utf8 : CodePage::Ascii;
  e.LineEnds = utf8 == Utf8Verdict::NotUtf8 ? LineEnd::CrLf : ends;
  e.Utf8Bom = utf8 == Utf8Verdict::Convertible && bom;
  if (utf8 == Utf8Verdict::Foreign && r != Pass::OutOfMemory) ShowMessage(e, Texts::Utf8NotConverted, 1);
  return r;
}

}  // namespace

std::string LinesCutMessage(int count) {
  return std::string(Texts::LinesCutBefore) + std::to_string(count) + std::string(Texts::LinesCutAfter);
}

void EnsureOneLine(Editor& e) {
  if (e.LineCount > 0) return;
  int16_t at = 1;
  InsertLine(e, e.RightMargin, at);
}

bool LoadBytes(Editor& e, std::string_view bytes, Utf8Verdict* verdict) {
  Utf8Verdict utf8;
  const bool fits = LoadLines(e, [bytes](bool watch) { return LineSource(bytes, watch); }, utf8) != Pass::OutOfMemory;
  if (verdict) *verdict = utf8;
  return fits;
}

void GuessLoadedCodePage(Editor& e, Utf8Verdict utf8) {
  // A UTF-8 text is settled: recoding its bytes as another code page would spoil it.
  if (e.CodePageCheck && e.LineCount > 0 && utf8 == Utf8Verdict::NotUtf8)
    GuessCodePage(e, 1, e.LineCount < 25 ? e.LineCount : 25, true);
}

LoadResult LoadStartupFile(Editor& e) {
  e.BlankLength = e.RightMargin;
  e.BoundName = e.FileName;
  e.LineCount = 0;
  e.CutLines = 0;
  e.CutConfirmed = false;
  LoadResult result = LoadResult::Loaded;

  int fd = open(e.FileName.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (fd >= 0 && (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode))) {
    close(fd);
    fd = -1;
    errno = EISDIR;
  }
  if (fd < 0) {
    // Create only what does not exist: an existing file we may not read is
    // never truncated.
    int nf = errno == ENOENT ? open(e.FileName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666) : -1;
    if (nf < 0) {
      ShowMessage(e, Texts::BadFileName, 1);
      e.FileName.clear();
      e.BoundName.clear();
      EnsureOneLine(e);
      return LoadResult::BadName;
    }
    close(nf);
    ShowMessage(e, Texts::NewFile, 1);
    result = LoadResult::NewFile;
  } else {
    Utf8Verdict utf8;
    Pass r = LoadLines(
        e,
        [fd](bool watch) {
          lseek(fd, 0, SEEK_SET);
          return LineSource(fd, watch);
        },
        utf8);
    close(fd);
    if (r == Pass::OutOfMemory) return LoadResult::OutOfMemory;
    if (r == Pass::ReadError) {
      // A text read only in part must not be saved over the whole file.
      FreeAllLines(e);
      ShowMessage(e, Texts::BadFileName, 1);
      e.FileName.clear();
      e.BoundName.clear();
      EnsureOneLine(e);
      return LoadResult::BadName;
    }
    if (e.CutLines > 0)
      ShowMessage(e, LinesCutMessage(e.CutLines), 1);
    GuessLoadedCodePage(e, utf8);
  }
  EnsureOneLine(e);
  e.Modified = false;
  return result;
}

}  // namespace lumo

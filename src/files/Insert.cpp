// The lines are read with the loader's own splitter, so a taken file is cut
// into lines exactly as a loaded one is. Each line goes in as a line of its
// own with room for the right margin; a refusal of the store (too many lines,
// no memory) ends the reading with the lines that fit, and the mark still
// covers them all so that Ctrl+F1 removes them together. A UTF-8 file is
// converted as a loaded one is.
#include "files/Insert.h"

#include <string>
#include <unistd.h>

#include "files/CodePageCheck.h"
#include "files/LineSource.h"
#include "files/Load.h"
#include "files/Save.h"
#include "screen/StatusRow.h"
#include "text/LineStore.h"
#include "text/Texts.h"

namespace lumo {

int InsertFileLines(Editor& e, int fd) {
  // A UTF-8 file goes in converted or as it is, never half converted; which
  // one, the file is looked through for first, as far as that takes.
  Utf8Verdict utf8 = Utf8Verdict::NotUtf8;
  const off_t start = lseek(fd, 0, SEEK_CUR);
  if (e.CodePageCheck && start >= 0) {
    LineSource scan(fd, true);
    utf8 = scan.ReadToVerdict();
    if (lseek(fd, start, SEEK_SET) != start) utf8 = Utf8Verdict::NotUtf8;
  }
  LineSource src(fd, utf8 == Utf8Verdict::Convertible);
  const int16_t after = e.CurLine;
  int16_t i = after;
  int cut = 0;
  std::string_view line;
  bool wasCut = false;
  e.OpFailed = 0;
  while (e.OpFailed == 0 && src.Next(line, wasCut)) {
    if (wasCut) ++cut;
    ++i;
    InsertLine(e, uint8_t(line.size() > e.RightMargin ? line.size() : e.RightMargin), i);
    if (e.OpFailed == 0) SetLineText(e, line, i);
  }
  e.InsertMark = i;
  const bool failed = e.OpFailed != 0;
  if (src.ReadError()) ShowMessage(e, Texts::InsertReadError, 1);
  if (cut > 0)
    ShowMessage(e, LinesCutMessage(cut), 1);
  if (utf8 == Utf8Verdict::Foreign) ShowMessage(e, Texts::Utf8NotConverted, 1);
  if (e.CodePageCheck && i > after && utf8 == Utf8Verdict::NotUtf8) GuessCodePage(e, after + 1, i, false);
  e.OpFailed = failed || src.ReadError() ? 1 : 0;
  return i - after;
}

void TakeFile(Editor& e) {
  if (e.BlockFileName.empty()) e.BlockFileName = e.FileName;
  OpenFile file;
  AskFile(e, e.BlockFileName, file, AskRead);
  if (e.OpFailed != 0) return;
  InsertFileLines(e, file.Fd());
}

// The new name is taken only once the text is really in that file.
void WriteBlock(Editor& e) {
  e.OpFailed = 0;
  if (e.BlockFirst <= 0) {
    ShowMessage(e, Texts::NoBlock, 1);
    e.OpFailed = 1;
    return;
  }
  if (e.BlockFileName.empty()) e.BlockFileName = e.FileName;
  OpenFile file;
  AskFile(e, e.BlockFileName, file, AskWrite, AskFileAppendKey);
  if (e.OpFailed != 0) return;
  if (!SaveLines(e, e.BlockFirst, e.BlockLast, file.Fd(), SaveAsIs)) {
    e.OpFailed = 1;
    return;
  }
  if (!file.Finish()) {
    ShowMessage(e, Texts::WriteError, 1);
    e.OpFailed = 1;
    return;
  }
  if (e.BlockFirst == 1 && e.BlockLast == e.LineCount) e.FileName = HostPath(e.BlockFileName);
}

Reentry WriteBlockKey(Editor& e, KeyCode) {
  WriteBlock(e);
  return Reentry::Redraw;
}

Reentry TakeFileKey(Editor& e, KeyCode) {
  TakeFile(e);
  return Reentry::Redraw;
}

}  // namespace lumo

// File bytes through the loader with a memory budget small enough that the
// first reading often does not fit, so the compact reload runs and sometimes
// fails too. Bytes 0-1 choose the budget (from just above the line table to
// about 2 MiB), byte 2 the right margin; the rest is the file.
//
// Checked after a load that fitted: the whole state holds, each line holds
// the bytes the line splitter gave for it padded with blanks to a capacity of
// max(length, margin) (of a text taken as UTF-8, the line in UTF-8 agrees with
// them as far as both go), and the splitter reading the same bytes from a file
// descriptor in pieces gives the same lines as reading them from memory.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

#include "FuzzFail.h"
#include "app/Editor.h"
#include "app/Invariants.h"
#include "files/LineSource.h"
#include "files/Load.h"
#include "screen/TestConsole.h"
#include "text/Cp866.h"
#include "text/LineStore.h"

namespace {

using namespace lumo;

[[noreturn]] void Fail(const std::string& what) { test::FuzzFail("file loader", what); }

// The splitter over a descriptor (the loader's path for real files) against
// the splitter over memory: the reads cut lines and CR LF pairs anywhere.
void CompareSources(std::string_view bytes) {
  int fd = memfd_create("lumo-fuzz", MFD_CLOEXEC);
  if (fd < 0) return;
  // A memory file takes the whole write at once.
  if (write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) || lseek(fd, 0, SEEK_SET) != 0) {
    close(fd);
    return;
  }
  LineSource mem(bytes), file(fd);
  std::string_view a, b;
  bool cutA = false, cutB = false;
  for (long line = 1;; ++line) {
    const bool moreA = mem.Next(a, cutA), moreB = file.Next(b, cutB);
    if (moreA != moreB || (moreA && (a != b || cutA != cutB)))
      Fail("a file read in pieces splits differently at line " + std::to_string(line));
    if (!moreA) break;
  }
  close(fd);
}

// The loaded lines against what the splitter yields.
void CompareText(const Editor& e, std::string_view bytes, int loaded) {
  LineSource src(bytes);
  std::string_view line;
  bool cut = false;
  int i = 0;
  while (i < loaded && src.Next(line, cut)) {
    ++i;
    if (e.FileCodePage == CodePage::Utf8) {
      // Back in UTF-8 the line is the bytes read and blanks; of a line cut at
      // 255 bytes, as far as its last whole character.
      if (i == 1 && e.Utf8Bom) line.remove_prefix(3);
      const std::string utf8 = Utf8FromCp866(LineBytes(e, i));
      const size_t n = cut ? line.size() - std::min<size_t>(line.size(), 3) : line.size();
      if (utf8.compare(0, n, line.substr(0, n)) != 0 || (!cut && utf8.find_first_not_of(' ', n) != std::string::npos))
        Fail("line " + std::to_string(i) + " is not its bytes converted from UTF-8");
      continue;
    }
    const size_t pad = line.size() < e.RightMargin ? e.RightMargin - line.size() : 0;
    if (LineBytes(e, i) != std::string(line) + std::string(pad, ' '))
      Fail("line " + std::to_string(i) + " is not its " + std::to_string(line.size()) +
           " bytes padded with blanks to the margin");
  }
  if (i != loaded) Fail("more lines loaded than the file has");
  // The loader stops early only at the line limit.
  if (i < MaxLines && src.Next(line, cut)) Fail("a line of the file was not loaded");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const size_t budget = TableBytes + 1000 + (size_t(data[0]) << 8 | data[1]) * 30;
  const uint8_t margin = uint8_t(1 + data[2] % 254);
  const std::string_view bytes(reinterpret_cast<const char*>(data + 3), size - 3);

  TestConsole con(80, 25);
  Editor e;
  e.Con = &con;
  e.PageStep = 22;
  e.BudgetLimit = budget;
  e.RightMargin = e.FormatWidth = e.BlankLength = margin;
  e.Notify = [](TextState&, std::string_view) {};
  if (!InitLineTable(e)) Fail("no room for the line table");
  if (!LoadBytes(e, bytes)) return 0;  // the program ends here (exit code 2)
  const int loaded = e.LineCount;
  EnsureOneLine(e);
  if (std::string f = CheckInvariants(e); !f.empty()) Fail(f);
  CompareText(e, bytes, loaded);
  CompareSources(bytes);
  return 0;
}

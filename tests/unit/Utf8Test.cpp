// UTF-8 where a case cannot reach: characters and over-long lines across the
// reads of a file, and the exact bytes a loaded file is saved as.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "TempDir.h"
#include "TestEditor.h"
#include "files/Load.h"
#include "files/Save.h"
#include "screen/KeyNames.h"
#include "text/Cp866.h"

namespace lumo {
namespace {

using test::TempDir;

// The text loaded from a file, read in chunks, which must be the text loaded
// from the same bytes in memory.
std::vector<std::string> Loaded(const TempDir& d, const std::string& bytes, LineEnd& ends) {
  TempDir::Write(d / "f", bytes);
  test::TestEditor t[2];
  t[0]->FileName = d / "f";
  t[0].Con.Keys.push_back(keys::Esc);  // ends a waiting message
  LoadStartupFile(*t[0]);
  LoadBytes(*t[1], bytes);
  std::vector<std::string> lines[2];
  for (int k = 0; k < 2; ++k)
    for (int i = 1; i <= t[k]->LineCount; ++i) lines[k].push_back(t[k].Line(i));
  EXPECT_EQ(lines[0], lines[1]);
  ends = t[1]->LineEnds;
  return lines[0];
}

// An over-long Cyrillic line reaches past the first read at each byte of a
// character; the end of its dropped rest decides what the whole text is.
TEST(Utf8, CharactersAcrossReads) {
  TempDir d;
  std::string head, ru;
  while (head.size() < 256 * 1024 - 1100) head += std::string(99, 'a') + "\n";
  for (int i = 0; i < 700; ++i) ru += i % 3 ? "\xD0\x96" : "\xE2\x94\x80";  // Ж, ─
  for (int shift = 0; shift < 7; ++shift) {
    const std::string text = head + std::string(size_t(shift), 'b') + "\n" + ru;
    LineEnd ends;
    const std::vector<std::string> lines = Loaded(d, text + "\n" + ru, ends);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()), std::vector<std::string>(2, Cp(ru).substr(0, 255)));
    EXPECT_EQ(ends, LineEnd::Lf);
    // A character 866 lacks keeps the bytes and the line end; a bad one only the bytes.
    for (const auto& [tail, end] : {std::pair<std::string, LineEnd>{"\xE2\x82\xAC", LineEnd::Lf},
                                    {"\xED\xA0\x80", LineEnd::CrLf}, {"\xD0", LineEnd::CrLf}}) {
      EXPECT_EQ(Loaded(d, text + tail, ends).back(), ru.substr(0, 255)) << shift;
      EXPECT_EQ(ends, end);
    }
  }
}

// Lines of every 866 character, mostly Russian letters so that the wide
// conversion paths carry them and the rest falls between, come back from
// their UTF-8 whatever the mix and length.
TEST(Utf8, EveryCharacterInAnyMix) {
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t n) { return (seed = seed * 1103515245 + 12345) / 65536 % n; };
  const std::string common = Cp("абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВЯЁ ,.");
  std::vector<std::string> want;
  std::string bytes;
  for (int i = 0; i < 400; ++i) {
    std::string line;
    const uint32_t len = 1 + next(255), rare = next(4) == 0 ? 8 : 200;
    while (line.size() < len) {
      const uint32_t pick = next(rare);
      line += pick == 0 ? char(0x80 + next(128)) : pick == 1 ? char(0x21 + next(94)) : common[next(uint32_t(common.size()))];
    }
    line.back() = '.';
    want.push_back(line);
    bytes += Utf8FromCp866(line) + "\n";
  }
  test::TestEditor t;
  LoadBytes(*t, bytes);
  ASSERT_EQ(t->LineCount, int(want.size()));
  for (int i = 1; i <= t->LineCount; ++i) ASSERT_EQ(t.Line(i), want[size_t(i - 1)]) << i;
}

// Saved unchanged, a loaded file comes back as it was, but for the line end
// a last line lacked.
TEST(Utf8, SavesTheBytesItLoaded) {
  TempDir d;
  const std::string bom = "\xEF\xBB\xBF", zh = "\xD0\x96";
  for (const auto& [in, out] : std::vector<std::pair<std::string, std::string>>{
           {zh + "\r" + zh + "\r", ""}, {bom + zh + "\n", ""}, {"\xE2\x82\xAC\r\n", ""}, {zh, zh + "\n"}}) {
    const std::string path = d / "f.txt";
    TempDir::Write(path, in);
    test::TestEditor t;
    t->FileName = path;
    t.Con.Keys.push_back(keys::Esc);  // ends a waiting message
    LoadStartupFile(*t);
    t->Modified = true;
    SaveText(*t);
    EXPECT_EQ(TempDir::Read(path), out.empty() ? in : out);
    // Lines added to a file never put the mark inside it.
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND);
    SaveLines(*t, 1, 1, fd, SaveAsIs, true);
    close(fd);
    EXPECT_EQ(TempDir::Read(path).rfind(bom), in.rfind(bom, 0) == 0 ? 0 : std::string::npos);
  }
}

}  // namespace
}  // namespace lumo

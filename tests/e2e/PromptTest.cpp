// The answer ring's file, which is read at start and written back at exit.
#include <filesystem>
#include <fstream>

#include "EditorFixture.h"

namespace lumo::e2e {
namespace {

// The ring's file lives in the state directory. Slots of different
// lengths, an empty one, a Cyrillic one (code page 866 in the file) and one
// of exactly 53 bytes; line 17 the search case.
using HistoryFileTest = EditorTest;

TEST_F(HistoryFileTest, AFullFileIsWrittenBackSlotForSlot) {
  std::vector<std::string> lines;
  for (int k = 1; k <= 16; ++k) lines.push_back("answer " + std::to_string(k));
  lines[3] = "";
  lines[6] = "\xAF\xE0\xA8\xA2\xA5\xE2";  // "привет"
  lines[9] = std::string(53, 'z');
  lines.push_back("-15");
  const std::string file = Lines(lines);
  const std::string path = StateFile("LumoSS");
  std::filesystem::create_directories(S.StateDir() + "/lumo");
  std::ofstream(path, std::ios::binary) << file;
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  // Read at start, so gone from disk the file must come back whole at exit.
  ASSERT_TRUE(std::filesystem::remove(path));
  S.Keys("<Esc>");
  ASSERT_EQ(Ended().Code, 0);
  EXPECT_EQ(S.ReadFile(path), file);
}

}  // namespace
}  // namespace lumo::e2e

// The one-line answer editor, driven through the go-to-line prompt (which
// keeps a rejected answer and asks again, so a second round starts from an
// untouched answer), and the answer ring's file, which is read at start and
// written back at exit.
#include <filesystem>
#include <fstream>

#include "EditorFixture.h"

namespace lumo::e2e {
namespace {

const std::string GoToTitle = "     Введите номер строки:";

class PromptTest : public EditorTest {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(40))); }

  // The cursor comes after the text it follows, so it is waited for too.
  void ExpectCursorAt(int col) {
    EXPECT_TRUE(S.WaitFor([&] { return S.CursorRow() == 2 && S.CursorCol() == col; }))
        << "cursor at " << S.CursorRow() << "," << S.CursorCol() << ", not 2," << col;
  }
};

// A rejected answer is shown untouched, in its own colours, and the first
// character typed replaces it; then the editing keys move in the answer.
TEST_F(PromptTest, TheFirstCharacterReplacesAnUntouchedAnswerAndKeysEditIt) {
  S.Keys("<F4>");
  ASSERT_EQ(S.WaitScreen({{2, 1, GoToTitle}}), "");
  S.Keys("abc<Enter>");
  ASSERT_TRUE(S.WaitFor([&] { return S.CursorRow() == 2 && S.CursorCol() == 28; }))
      << "no second round; cursor at " << S.CursorRow() << "," << S.CursorCol();
  ASSERT_EQ(S.WaitScreen({{2, 1, GoToTitle}, {2, 28, "abc", 0x5A}}), "");
  S.Keys("3x<Backspace>5");
  EXPECT_EQ(S.WaitScreen({{2, 28, "35 "}}), "");
  ExpectCursorAt(30);
  S.Keys("<Home>1");
  EXPECT_EQ(S.WaitScreen({{2, 28, "135 "}}), "");
  ExpectCursorAt(29);
  S.Keys("<Del><End>");
  EXPECT_EQ(S.WaitScreen({{2, 28, "15   "}}), "");
  ExpectCursorAt(30);
  S.Keys("<Enter>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=15 "}, {3, 1, "line 15 "}}), "");
}

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

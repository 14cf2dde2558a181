// Start-up as the user sees it: the credits screen, the options that show on
// the first screen, what a new file, a name that cannot be created and too
// little memory say; and the answer ring's file, read at start
// and written back at exit.
#include <filesystem>

#include "EditorFixture.h"

namespace lumo::e2e {
namespace {

using StartupTest = EditorTest;

// The credits screen, at the two widths, by the columns of its pieces: the
// menu hint, the prompt, the cells in rows 12 and 14, the shadow's start in
// row 20 (it steps right by 4 a row). Its closing key must not reach the
// editor: Esc would leave an unmodified text at once.
TEST_F(StartupTest, CreditsScreenWaitsForAKeyAndSwallowsIt) {
  const struct { int Cols, Rows, Menu, Press, Row12, Row14, Shadow; } Widths[] = {
      {80, 25, 34, 32, 8, 27, 11}, {100, 30, 44, 42, 19, 37, 21}};
  for (auto w : Widths) {
    Session s;
    s.WriteFile("a.txt", "hello\r\n");
    s.StartEditor({"a.txt"}, w.Cols, w.Rows);
    EXPECT_EQ(s.WaitScreen({{6, w.Menu, "Menu - F10", 0x0C}, {16, w.Press, " Press any key. ", 0x0D},
                            {12, w.Row12, "", 0x1E, 1}, {14, w.Row14, "", 0x61, 1}, {20, w.Shadow, "", 0x08, 1},
                            {21, w.Shadow + 4, "", 0x08, 1}, {22, w.Shadow + 8, "", 0x08, 1}}),
              "") << w.Cols << " columns\n" << s.Dump();
    EXPECT_FALSE(EditorUp(s));
    s.Keys("<Esc>");
    EXPECT_EQ(s.WaitScreen({{3, 1, "hello"}, {1, 22, "line=1"}}), "") << w.Cols << " columns";
    EXPECT_FALSE(s.ScreenContains("Menu - F10"));
    EXPECT_FALSE(s.WaitExit(Ms{300})) << "the key that closed the credits screen reached the editor";
    EXPECT_EQ(s.SanitizerReports(), "");
  }
}

TEST_F(StartupTest, ShortMemoryEndsWithExitCodeTwo) {
  S.WriteFile("a.txt", "hello\r\n");
  S.StartEditor({"-W", "a.txt"}, 80, 25, {{"LUMO_MEMORY_BUDGET", "1000"}});
  EXPECT_TRUE(S.WaitFor([&] { return S.ScreenContains("НЕ ХВАТАЕТ ПАМЯТИ!") || !S.Running(); }));
  EXPECT_NE(S.RawOutput().find("НЕ ХВАТАЕТ ПАМЯТИ!"), std::string::npos);
  S.Keys("<Home>");
  auto e = S.WaitExit();
  ASSERT_TRUE(e);
  EXPECT_TRUE(e->Exited);
  EXPECT_EQ(e->Code, 2);
  ExpectTerminalRestored();
}

// At start-up, before any text is on screen: the message, then the prompt.
TEST_F(StartupTest, ANameThatCannotBeCreatedIsAskedForAtStart) {
  S.StartEditor({"-W", "-+", "nodir/x.txt"});
  ASSERT_TRUE(S.WaitText(2, 1, "Неверное имя файла! ")) << S.Dump();
  // The key that ends the message goes to the name prompt, where it replaces
  // the name tried.
  S.Keys("g");
  ASSERT_EQ(S.WaitScreen({{2, 1, "Введите имя файла или Esc: "}, {2, 28, "g "}}), "");
  S.Keys("ood.txt<Enter>");
  ASSERT_EQ(S.WaitScreen({{2, 1, "Новый файл."}}), "");
  EXPECT_EQ(S.ReadFile("good.txt"), "") << "the new file is created when it is named";
  S.Keys("hi");
  EXPECT_EQ(S.WaitScreen({{1, 1, "good.txt "}, {1, 22, "line=1 "}, {3, 1, "hi "}}), "");
  SaveAndExpect("good.txt", "hi\r\n");
  EXPECT_FALSE(S.Exists("nodir"));
  S.Keys("<Esc>");
  EXPECT_EQ(Ended().Code, 0);
}

// The ring's file lives in the state directory. Slots of different
// lengths, an empty one, a Cyrillic one (code page 866 in the file) and one
// of exactly 53 bytes; line 17 the search case.
TEST_F(StartupTest, TheAnswerRingFileIsWrittenBackSlotForSlot) {
  std::vector<std::string> lines;
  for (int k = 1; k <= 16; ++k) lines.push_back("answer " + std::to_string(k));
  lines[3] = "";
  lines[6] = "\xAF\xE0\xA8\xA2\xA5\xE2";  // "привет"
  lines[9] = std::string(53, 'z');
  lines.push_back("-15");
  const std::string file = Lines(lines);
  const std::string path = StateFile("LumoSS");
  std::filesystem::create_directories(S.StateDir() + "/lumo");
  S.WriteFile(path, file);
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  // Read at start, so gone from disk the file must come back whole at exit.
  ASSERT_TRUE(std::filesystem::remove(path));
  S.Keys("<Esc>");
  ASSERT_EQ(Ended().Code, 0);
  EXPECT_EQ(S.ReadFile(path), file);
}

// -K reads the keystroke file where the side-file look-up finds it (here the
// current directory); F9 then plays it.
TEST_F(StartupTest, OptionKReadsTheKeystrokeFileAtStart) {
  std::string keys("x\x2D\0\0y\x15\0\0", 8);
  keys.resize(128, '\0');
  S.WriteFile("kbdbufer.lmo", keys);
  S.WriteFile("a.txt", "z\r\n");
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "-+", "-K", "a.txt"}));
  S.Keys("<F9>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "xyz"}}), "");
}

}  // namespace
}  // namespace lumo::e2e

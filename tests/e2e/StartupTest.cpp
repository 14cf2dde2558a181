// Start-up as the user sees it: the credits screen, the options that show on
// the first screen, the extension rules and the code-page question.
#include <sys/stat.h>

#include <filesystem>

#include "EditorFixture.h"

namespace lumo::e2e {
namespace {

using StartupTest = EditorTest;

TEST_F(StartupTest, CreditsScreenWaitsForAKeyAndSwallowsIt) {
  S.WriteFile("a.txt", "hello\r\n");
  S.StartEditor({"a.txt"});
  std::string left = S.WaitScreen({
      {6, 34, "Menu - F10", 0x0C},
      {16, 32, " Press any key. ", 0x0D},
      {12, 8, "", 0x1E, 1},
      {14, 27, "", 0x61, 1},
      {20, 11, "", 0x08, 1},
      {21, 15, "", 0x08, 1},
      {22, 19, "", 0x08, 1},
  });
  ASSERT_EQ(left, "");
  EXPECT_FALSE(EditorUp(S));
  // Esc would leave an unmodified text at once; taken by the credits screen,
  // it must not reach the editor.
  S.Keys("<Esc>");
  ASSERT_EQ(S.WaitScreen({{3, 1, "hello"}, {1, 22, "line=1"}}), "");
  EXPECT_EQ(S.FindRow("Menu - F10"), 0);
  EXPECT_FALSE(S.WaitExit(Ms{300})) << "the key that closed the credits screen reached the editor";
}

TEST_F(StartupTest, CreditsScreenMovesRightOnWideTerminals) {
  S.WriteFile("a.txt", "hello\r\n");
  S.StartEditor({"a.txt"}, 100, 30);
  EXPECT_EQ(S.WaitScreen({
                {6, 44, "Menu - F10", 0x0C},
                {16, 42, " Press any key. ", 0x0D},
                {12, 19, "", 0x1E, 1},
                {14, 37, "", 0x61, 1},
                {20, 21, "", 0x08, 1},
                {21, 25, "", 0x08, 1},
                {22, 29, "", 0x08, 1},
            }),
            "");
}

TEST_F(StartupTest, OptionWSkipsTheCreditsScreenInAnyCase) {
  S.WriteFile("a.txt", "hello\r\n");
  Open({"-t4", "-w", "a.txt"});
  EXPECT_EQ(S.WaitScreen({{3, 1, "hello"}}), "");
  EXPECT_EQ(S.RawOutput().find("Menu - F10"), std::string::npos) << "the credits screen was drawn";
}

TEST_F(StartupTest, WithoutArgumentsThereIsNoCreditsScreenAndOneEmptyLine) {
  Open({});
  EXPECT_EQ(S.WaitScreen({{1, 1, std::string(21, ' ')}, {1, 43, "size=1"}, {3, 1, std::string(80, ' ')}}), "");
  EXPECT_EQ(S.RawOutput().find("Menu - F10"), std::string::npos);
}

TEST_F(StartupTest, TheTerminalIsRawWhileTheEditorRuns) {
  S.WriteFile("a.txt", "x\r\n");
  Open({"-W", "a.txt"});
  auto modes = S.TtyModes();
  ASSERT_TRUE(modes);
  EXPECT_FALSE(modes->c_lflag & ICANON);
  EXPECT_FALSE(modes->c_lflag & ECHO);
  EXPECT_TRUE(S.AltScreen());
  EXPECT_EQ(S.LastAltSwitch(), 'h');
}

// The first column of the cursor is the left margin, which the extension
// decides: 3 for program texts, 1 otherwise; the first "." of the whole name
// starts the extension.
struct MarginCase {
  const char* Name;
  std::string Dir;
  std::string File;
  const char* Column;
};

class ExtensionTest : public EditorTest, public testing::WithParamInterface<MarginCase> {};

TEST_P(ExtensionTest, LeftMarginFollowsTheExtension) {
  const MarginCase& c = GetParam();
  if (!c.Dir.empty()) std::filesystem::create_directory(S.PathOf(c.Dir));
  S.WriteFile(c.File, "begin\r\n");
  Open({"-W", c.File});
  EXPECT_EQ(S.WaitScreen({{1, 32, c.Column}}), "");
}

INSTANTIATE_TEST_SUITE_P(
    Names, ExtensionTest,
    testing::Values(MarginCase{"Pascal", "", "prog.pas", "column=3 "},
                    MarginCase{"UpperCaseInclude", "", "UNIT.INC", "column=3 "},
                    MarginCase{"FreePascal", "", "x.pp", "column=3 "},
                    MarginCase{"PlainText", "", "notes.txt", "column=1 "},
                    MarginCase{"DotInDirectoryCounts", "my.dir", "my.dir/a.pas", "column=1 "}),
    [](const testing::TestParamInfo<MarginCase>& i) { return std::string(i.param.Name); });

// Tab goes to the next tab stop: left margin + TabStep.
struct TabCase {
  const char* Name;
  std::vector<std::string> Options;
  const char* Column;
};

class TabStepTest : public EditorTest, public testing::WithParamInterface<TabCase> {};

TEST_P(TabStepTest, TabMovesByTheStepOfOptionT) {
  S.WriteFile("a.txt", "some text here\r\n");
  std::vector<std::string> args = GetParam().Options;
  args.push_back("a.txt");
  Open(args);
  S.Keys("<Tab>");
  EXPECT_EQ(S.WaitScreen({{1, 32, GetParam().Column}}), "");
}

INSTANTIATE_TEST_SUITE_P(Options, TabStepTest,
                         testing::Values(TabCase{"Default", {"-W"}, "column=9 "},
                                         TabCase{"Four", {"-t4", "-w"}, "column=5 "},
                                         TabCase{"ThreeJoined", {"-W-T3"}, "column=4 "}),
                         [](const testing::TestParamInfo<TabCase>& i) { return std::string(i.param.Name); });

// Windows-1251 bytes for the Russian letters of s (UTF-8 in).
std::string To1251(std::string_view utf8) {
  std::string out;
  for (unsigned char c : Cp(utf8)) {
    if (c >= 0x80 && c <= 0xAF) out += char(c + 0x40);
    else if (c >= 0xE0 && c <= 0xEF) out += char(c + 0x10);
    else out += char(c);
  }
  return out;
}

TEST_F(StartupTest, AWindows1251TextIsOfferedForRecodingAndRecodedOnAnswerOne) {
  S.WriteFile("ru.txt", To1251("Привет, как дела? Это проверка перекодировки текста.") + "\r\n");
  S.StartEditor({"-W", "ru.txt"});
  ASSERT_TRUE(S.WaitFor([&] { return S.Text(1, 1, 5) == " X = " && S.ScreenContains("Recode from:"); }));
  EXPECT_NE(S.RowText(1).find("│ 1 - ANSI │ 2 - koi8-r │ 3 or Esc - not to change │"), std::string::npos);
  S.Keys("1");
  EXPECT_EQ(S.WaitScreen({{3, 1, "Привет, как дела?"}, {1, 22, "line=1"}}), "");
}

TEST_F(StartupTest, OptionPSkipsTheCodePageQuestion) {
  std::string bytes = To1251("Привет, как дела? Это проверка перекодировки текста.");
  S.WriteFile("ru.txt", bytes + "\r\n");
  Open({"-W", "-P", "ru.txt"});
  EXPECT_EQ(S.WaitScreen({{3, 1, Shown(bytes.substr(0, 17))}}), "");
  EXPECT_EQ(S.RawOutput().find("Recode from:"), std::string::npos);
}

TEST_F(StartupTest, AMissingFileIsCreatedAndAnnounced) {
  S.StartEditor({"-W", "new.txt"});
  EXPECT_EQ(S.WaitScreen({{2, 1, "Новый файл.", 0x0E}}), "");
  EXPECT_TRUE(S.Exists("new.txt"));
  EXPECT_EQ(S.ReadFile("new.txt"), "");
  S.Keys("<Home>");  // ends the message's wait
  EXPECT_EQ(S.WaitScreen({{1, 1, "new.txt "}, {1, 43, "size=1 "}}), "");
}

TEST_F(StartupTest, TooManyLinesAreCutWithAWarning) {
  std::string big;
  for (int i = 1; i <= 24580; ++i) big += std::to_string(i) + "\r\n";
  S.WriteFile("big.txt", big);
  S.StartEditor({"-W", "big.txt"});
  EXPECT_EQ(S.WaitScreen({{2, 1, "СЛИШКОМ МНОГО СТРОК! НЕ ЗАПИСЫВАЙТЕ ЭТОТ ФАЙЛ!", 0x0E}}), "");
  S.Keys("<Home>");
  EXPECT_EQ(S.WaitScreen({{1, 43, "size=24575"}, {3, 1, "1 "}, {4, 1, "2 "}}), "");
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

}  // namespace
}  // namespace lumo::e2e

// The ways out of the editor: Esc with and without changes, the save
// question, Ctrl+Alt+Backspace, SIGTERM and a hang-up; what each leaves on
// disk and whether the terminal is given back in cooked mode on the main
// screen. Also F2.
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "EditorFixture.h"
#include "Keys.h"

namespace lumo::e2e {
namespace {

const std::string SaveQuestion =
    " Записать в файл ? │ 1 - да │ 2 - нет │ 3 = Esc - продолжить редактирование │";

int Mode(const std::string& path) {
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return -1;
  return int(st.st_mode & 07777);
}

class ExitTest : public EditorTest {
 protected:
  // The text made modified by typing one letter at the start of line 1.
  void OpenModified(const std::string& bytes = "abc\r\n") {
    S.WriteFile("a.txt", bytes);
    ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}));
    S.Keys("x");
    ASSERT_TRUE(S.WaitText(3, 1, "xabc")) << "typing does not reach the text";
  }
  ExitStatus Ended(Ms deadline = DefaultWait) {
    auto e = S.WaitExit(deadline);
    if (!e) {
      ADD_FAILURE() << "the editor did not end";
      return {};
    }
    return *e;
  }
};

TEST_F(ExitTest, EscOnAnUnchangedTextLeavesAtOnceWithZero) {
  S.WriteFile("a.txt", "abc\r\n");
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}));
  S.Keys("<Esc>");
  ExitStatus e = Ended();
  EXPECT_TRUE(e.Exited);
  EXPECT_EQ(e.Code, 0);
  EXPECT_EQ(S.RawOutput().find("Записать в файл"), std::string::npos) << "asked although nothing changed";
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
  ExpectTerminalRestored();
}

struct ChordCase {
  const char* Name;
  std::string Bytes;
};

void PrintTo(const ChordCase& c, std::ostream* os) { *os << c.Name; }

class CtrlAltBackspaceTest : public ExitTest, public testing::WithParamInterface<ChordCase> {};

TEST_P(CtrlAltBackspaceTest, EndsAtOnceWithZeroAndWritesNothing) {
  S.WriteFile("a.txt", "abc\r\n");
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}));
  S.Send(GetParam().Bytes);
  ExitStatus e = Ended();
  EXPECT_TRUE(e.Exited);
  EXPECT_EQ(e.Code, 0);
  EXPECT_FALSE(S.Exists(StateFile("a.txt.LmIni"))) << "settings are not written on this way out";
  EXPECT_FALSE(S.Exists(StateFile("LumoSS")));
  ExpectTerminalRestored();
}

// What xterm sends once the editor has asked for modifyOtherKeys, with
// metaSendsEscape, and under the kitty protocol.
INSTANTIATE_TEST_SUITE_P(Terminals, CtrlAltBackspaceTest,
                         testing::Values(ChordCase{"ModifyOtherKeys", "\x1b[27;7;8~"},
                                         ChordCase{"MetaSendsEscape", "\x1b\x08"},
                                         ChordCase{"Kitty", "\x1b[127;7u"}),
                         [](const testing::TestParamInfo<ChordCase>& i) { return std::string(i.param.Name); });

TEST_F(ExitTest, CtrlAltBackspaceDropsChangesWithoutAsking) {
  ASSERT_NO_FATAL_FAILURE(OpenModified());
  S.Keys("<C-A-BS>");
  ExitStatus e = Ended();
  EXPECT_EQ(e.Code, 0);
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
  EXPECT_EQ(S.RawOutput().find("Записать в файл"), std::string::npos);
  ExpectTerminalRestored();
}

TEST_F(ExitTest, SigtermGivesTheTerminalBack) {
  S.WriteFile("a.txt", "abc\r\n");
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}));
  S.Signal(SIGTERM);
  Ended();
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
  EXPECT_FALSE(S.Exists("a.txt.save")) << "an unchanged text needs no rescue copy";
  ExpectTerminalRestored();
}

TEST_F(ExitTest, AHangUpEndsTheEditor) {
  S.WriteFile("a.txt", "abc\r\n");
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}));
  S.HangUp();
  Ended();
  EXPECT_FALSE(S.Exists("a.txt.save"));
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
}

TEST_F(ExitTest, AHangUpKeepsAChangedTextBesideTheFile) {
  ASSERT_NO_FATAL_FAILURE(OpenModified());
  S.HangUp();
  Ended();
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n") << "the file itself is not overwritten";
  EXPECT_EQ(S.ReadFile("a.txt.save"), "xabc\r\n");
}

TEST_F(ExitTest, EscOnAChangedTextAsksAndEscReturnsToEditing) {
  ASSERT_NO_FATAL_FAILURE(OpenModified());
  S.Keys("<Esc>");
  ASSERT_EQ(S.WaitScreen({{1, 1, SaveQuestion}}), "");
  S.Keys("<Esc>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=1 "}, {3, 1, "xabc"}}), "");
  EXPECT_FALSE(S.WaitExit(Ms{300})) << "Esc at the question must not leave";
  // Answer 2 leaves without saving.
  S.Keys("<Esc>");
  ASSERT_EQ(S.WaitScreen({{1, 1, SaveQuestion}}), "");
  S.Keys("2");
  ExitStatus e = Ended();
  EXPECT_EQ(e.Code, 3);
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
  ExpectTerminalRestored();
}

TEST_F(ExitTest, AnswerOneSavesAndLeavesWithOne) {
  ASSERT_NO_FATAL_FAILURE(OpenModified("abc\n"));
  S.Keys("<Esc>");
  ASSERT_EQ(S.WaitScreen({{1, 1, SaveQuestion}}), "");
  S.Keys("1");
  ExitStatus e = Ended();
  EXPECT_EQ(e.Code, 1);
  EXPECT_EQ(S.ReadFile("a.txt"), "xabc\r\n");
  ExpectTerminalRestored();
}

TEST_F(ExitTest, F2OnAnUnchangedTextWritesNothing) {
  const std::string bytes = "ab  \ncd\n";
  S.WriteFile("a.txt", bytes);
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "a.txt"}));
  S.Keys("<F2><Esc>");
  ExitStatus e = Ended();
  EXPECT_EQ(e.Code, 0);
  EXPECT_EQ(S.ReadFile("a.txt"), bytes);
}

TEST_F(ExitTest, F2WritesCrLfLinesWithoutTrailingBlanksAndKeepsThePermissions) {
  ASSERT_NO_FATAL_FAILURE(OpenModified("abc  \ncd\x01\x04\t\n   \nend"));
  ASSERT_EQ(chmod(S.PathOf("a.txt").c_str(), 0604), 0);
  S.Keys("<F2>");
  const std::string want = "xabc\r\ncd\x01\x04\t\r\n\r\nend\r\n";
  EXPECT_TRUE(S.WaitFor([&] { return S.ReadFile("a.txt") == want; }))
      << "file holds \"" << S.ReadFile("a.txt").value_or("(missing)") << "\"";
  EXPECT_EQ(Mode(S.PathOf("a.txt")), 0604);
  // Saved means unmodified: Esc now leaves without a question.
  S.Keys("<Esc>");
  ExitStatus e = Ended();
  EXPECT_EQ(e.Code, 0);
  EXPECT_EQ(S.ReadFile("a.txt"), want);
}

}  // namespace
}  // namespace lumo::e2e

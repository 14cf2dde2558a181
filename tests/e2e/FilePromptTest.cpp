// Commands that ask for a file name or a directory, seen through the files
// they leave: a copy of the text into another directory, inserting a file and
// taking the insertion back, and naming a text whose name cannot be created.
#include <filesystem>

#include "EditorFixture.h"

namespace lumo::e2e {
namespace {

const std::string NameTitle = "Введите имя файла или Esc: ";
const std::string PathTitle = "   Введите букву или путь:";
const std::string SaveQuestion =
    " Записать в файл ? │ 1 - да │ 2 - нет │ 3 = Esc - продолжить редактирование │";

class FilePromptTest : public EditorTest {};

TEST_F(FilePromptTest, CtrlF2WritesTheTextIntoADirectoryUnderItsOwnName) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  std::filesystem::create_directory(S.PathOf("out"));
  const std::string dir = S.PathOf("out");
  ASSERT_LT(dir.size(), 50u) << "the directory does not fit the answer field";
  S.Keys("x<Ctrl+F2>");
  ASSERT_EQ(S.WaitScreen({{2, 1, PathTitle}}), "");
  S.Keys(dir + "<Enter>");
  S.WaitFor([&] { return S.ReadFile("out/a.txt") == "xabc\r\n"; });
  EXPECT_EQ(S.ReadFile("out/a.txt"), "xabc\r\n");
  EXPECT_EQ(S.WaitScreen({{1, 1, "a.txt "}, {1, 22, "line=1 "}, {3, 1, "xabc "}}), "");
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
  // The copy is not a save: the text is still modified.
  S.Keys("<Esc>");
  ASSERT_EQ(S.WaitScreen({{1, 1, SaveQuestion}}), "");
  S.Keys("2");
  EXPECT_EQ(Ended().Code, 3);
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
}

TEST_F(FilePromptTest, ShiftF1InsertsAfterTheCursorLineAndCtrlF1TakesItBack) {
  S.WriteFile("ins.txt", "X1\r\nX2\r\n");
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\n"));
  S.Keys("<Shift+F1>");
  // The name offered first is the text's own.
  ASSERT_EQ(S.WaitScreen({{2, 1, NameTitle}, {2, 28, "a.txt "}}), "");
  S.Keys("ins.txt<Enter>");
  ASSERT_EQ(S.WaitScreen({{3, 1, "one "}, {4, 1, "X1 "}, {5, 1, "X2 "}, {6, 1, "two "}, {1, 22, "line=1 "},
                          {1, 43, "size=4 "}, {2, 1, "░░░░░░░░"}}),
            "");
  S.Keys("<Ctrl+F1>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "one "}, {4, 1, "two "}, {5, 1, "    "}, {1, 22, "line=1 "}, {1, 43, "size=2 "}}),
            "");
  SaveAndExpect("a.txt", "one\r\ntwo\r\n");
}

TEST_F(FilePromptTest, ANameThatCannotBeCreatedIsAskedForAtStart) {
  S.StartEditor({"-W", "-+", "nodir/x.txt"});
  ASSERT_TRUE(S.WaitText(2, 1, "Неверное имя файла! ")) << S.Dump();
  // The key that ends the message goes to the name prompt, where it replaces
  // the name tried.
  S.Keys("g");
  ASSERT_EQ(S.WaitScreen({{2, 1, NameTitle}, {2, 28, "g "}}), "");
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

}  // namespace
}  // namespace lumo::e2e

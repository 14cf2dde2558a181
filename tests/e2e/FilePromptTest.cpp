// Commands that ask for a file name or a directory: a copy of the text into
// another directory, inserting a file and taking the insertion back, and
// naming a text that has no usable name when it is saved.
#include <filesystem>

#include "EditingFixture.h"
#include "Keys.h"

namespace lumo::e2e {
namespace {

const std::string NameTitle = "Введите имя файла или Esc: ";
const std::string PathTitle = "   Введите букву или путь:";
const std::string SaveQuestion =
    " Записать в файл ? │ 1 - да │ 2 - нет │ 3 = Esc - продолжить редактирование │";

class FilePromptTest : public EditingTest {};

TEST_F(FilePromptTest, CtrlF2WritesTheTextIntoADirectoryUnderItsOwnName) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  std::filesystem::create_directory(S.PathOf("out"));
  const std::string dir = S.PathOf("out");
  ASSERT_LT(dir.size(), 50u) << "the directory does not fit the answer field";
  S.Keys("x<C-F2>");
  ASSERT_EQ(S.WaitScreen({{2, 1, PathTitle}}), "");
  // An empty answer is asked again.
  S.Keys("<Enter>");
  ASSERT_EQ(S.WaitScreen({{2, 1, PathTitle}}), "");
  S.Keys(dir + "<Enter>");
  EXPECT_TRUE(S.WaitFor([&] { return S.ReadFile("out/a.txt") == "xabc\r\n"; }))
      << "out/a.txt holds \"" << Escaped(S.ReadFile("out/a.txt")) << "\"";
  EXPECT_EQ(S.WaitScreen({{1, 1, "a.txt "}, {1, 22, "line=1 "}, {3, 1, "xabc "}}), "");
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
  // The copy is not a save: the text is still modified.
  S.Keys("<Esc>");
  ASSERT_EQ(S.WaitScreen({{1, 1, SaveQuestion}}), "");
  S.Keys("2");
  EXPECT_EQ(Ended().Code, 3);
  EXPECT_EQ(S.ReadFile("a.txt"), "abc\r\n");
  EXPECT_EQ(S.ReadFile("out/a.txt"), "xabc\r\n");
}

TEST_F(FilePromptTest, CtrlF2CancelledWritesNothing) {
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  S.Keys("<C-F2>");
  ASSERT_EQ(S.WaitScreen({{2, 1, PathTitle}}), "");
  S.Keys("out<Esc>");
  EXPECT_EQ(S.WaitScreen({{2, 1, "░░░░░░░░"}, {1, 1, "a.txt "}}), "");
  EXPECT_FALSE(S.Exists("out"));
  EXPECT_FALSE(S.Exists("outa.txt"));
}

class InsertTest : public EditingTest {
 protected:
  void SetUp() override {
    S.WriteFile("ins.txt", "X1\r\nX2\r\n");
    ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\ntwo\r\n"));
  }
  // Shift+F1 with the name typed over the offered one.
  void InsertIns() {
    S.Keys("<S-F1>");
    // The name offered first is the text's own.
    ASSERT_EQ(S.WaitScreen({{2, 1, NameTitle}, {2, 28, "a.txt "}}), "");
    S.Keys("ins.txt<Enter>");
    ASSERT_EQ(S.WaitScreen({{3, 1, "one "}, {4, 1, "X1 "}, {5, 1, "X2 "}, {6, 1, "two "}, {1, 22, "line=1 "},
                            {1, 43, "size=4 "}, {2, 1, "░░░░░░░░"}}),
              "");
  }
};

TEST_F(InsertTest, ShiftF1InsertsAfterTheCursorLineAndCtrlF1TakesItBack) {
  ASSERT_NO_FATAL_FAILURE(InsertIns());
  S.Keys("<C-F1>");
  EXPECT_EQ(S.WaitScreen({{3, 1, "one "}, {4, 1, "two "}, {5, 1, "    "}, {1, 22, "line=1 "}, {1, 43, "size=2 "}}),
            "");
  // Only once: the mark is gone.
  S.Keys("<C-F1><Down>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=2 "}, {1, 43, "size=2 "}, {4, 1, "two "}}), "");
  SaveAndExpect("a.txt", "one\r\ntwo\r\n");
}

TEST_F(InsertTest, CtrlF1AfterAnotherKeyDoesNothing) {
  ASSERT_NO_FATAL_FAILURE(InsertIns());
  S.Keys("<Right><C-F1><Down>");
  EXPECT_EQ(S.WaitScreen({{1, 22, "line=2 "}, {1, 32, "column=2 "}, {1, 43, "size=4 "}, {4, 1, "X1 "},
                          {5, 1, "X2 "}}),
            "");
  SaveAndExpect("a.txt", "one\r\nX1\r\nX2\r\ntwo\r\n");
}

TEST_F(InsertTest, AMissingFileIsReportedAndAskedAgain) {
  S.Keys("<S-F1>");
  ASSERT_EQ(S.WaitScreen({{2, 1, NameTitle}}), "");
  S.Keys("nope.txt<Enter>");
  ASSERT_EQ(S.WaitScreen({{2, 1, "Файл не найден: nope.txt "}}), "");
  // The key that ends the message is the prompt's first: it replaces the
  // name offered again.
  S.Keys("i");
  ASSERT_EQ(S.WaitScreen({{2, 1, NameTitle}, {2, 28, "i "}}), "");
  S.Keys("ns.txt<Enter>");
  EXPECT_EQ(S.WaitScreen({{4, 1, "X1 "}, {5, 1, "X2 "}, {6, 1, "two "}, {1, 43, "size=4 "}}), "");
}

TEST_F(InsertTest, EscAtTheNameInsertsNothing) {
  S.Keys("<S-F1>");
  ASSERT_EQ(S.WaitScreen({{2, 1, NameTitle}}), "");
  S.Keys("ins.txt<Esc>");
  EXPECT_EQ(S.WaitScreen({{2, 1, "░░░░░░░░"}, {3, 1, "one "}, {4, 1, "two "}, {1, 43, "size=2 "}}), "");
  S.Keys("<Esc>");
  EXPECT_EQ(Ended().Code, 0) << "the text counts as changed";
}

class NameTest : public EditingTest {};

TEST_F(NameTest, ANameThatCannotBeCreatedIsAskedForAtStart) {
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
  S.Keys("<F2>");
  EXPECT_TRUE(S.WaitFor([&] { return S.ReadFile("good.txt") == "hi\r\n"; }))
      << "good.txt holds \"" << Escaped(S.ReadFile("good.txt")) << "\"";
  EXPECT_FALSE(S.Exists("nodir"));
  S.Keys("<Esc>");
  EXPECT_EQ(Ended().Code, 0);
}

TEST_F(NameTest, EscAtTheStartPromptLeavesAnUnnamedText) {
  S.StartEditor({"-W", "-+", "nodir/x.txt"});
  ASSERT_TRUE(S.WaitText(2, 1, "Неверное имя файла! ")) << S.Dump();
  S.Keys("<Esc>");
  ASSERT_TRUE(S.WaitFor([&] { return EditorUp(S); }));
  // Esc ends the message and then the prompt; the editor stays.
  EXPECT_EQ(S.WaitScreen({{1, 1, std::string(21, ' ')}, {1, 43, "size=1 "}, {2, 1, "░░░░░░░░"}}), "");
  EXPECT_FALSE(S.WaitExit(Ms{200}));
}

TEST_F(NameTest, SavingAnUnnamedTextAsksForTheName) {
  ASSERT_NO_FATAL_FAILURE(Open({}));
  S.Keys("hey");
  ASSERT_EQ(S.WaitScreen({{3, 1, "hey "}}), "");
  S.Keys("<F2>");
  ASSERT_EQ(S.WaitScreen({{2, 1, NameTitle}}), "");
  EXPECT_TRUE(S.WaitFor([&] { return S.CursorRow() == 2 && S.CursorCol() == 28; })) << "no empty answer field";
  S.Keys("new.txt<Enter>");
  EXPECT_TRUE(S.WaitFor([&] { return S.ReadFile("new.txt") == "hey\r\n"; }))
      << "new.txt holds \"" << Escaped(S.ReadFile("new.txt")) << "\"";
  EXPECT_EQ(S.WaitScreen({{1, 1, "new.txt "}}), "");
  // Saved completely: nothing to ask on the way out.
  S.Keys("<Esc>");
  EXPECT_EQ(Ended().Code, 0);
}

TEST_F(NameTest, EscAtTheSaveNameKeepsTheTextUnsaved) {
  ASSERT_NO_FATAL_FAILURE(Open({}));
  S.Keys("hey<F2>");
  ASSERT_EQ(S.WaitScreen({{2, 1, NameTitle}}), "");
  S.Keys("new.txt<Esc>");
  EXPECT_EQ(S.WaitScreen({{2, 1, "░░░░░░░░"}, {3, 1, "hey "}}), "");
  EXPECT_FALSE(S.Exists("new.txt"));
  S.Keys("<Esc>");
  EXPECT_EQ(S.WaitScreen({{1, 1, SaveQuestion}}), "");
}

}  // namespace
}  // namespace lumo::e2e

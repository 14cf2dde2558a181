#include <gtest/gtest.h>

#include "AnswerKeys.h"
#include "TempDir.h"
#include "app/MainLoop.h"
#include "files/Insert.h"

namespace lumo {
namespace {

using test::Answer;
using test::EscKey;
using test::TempDir;

constexpr KeyCode ShiftF1 = 0x0202FF01;
constexpr KeyCode F10 = 0x0200FF0A;
constexpr KeyCode Down = 0x0200FF27;

struct Taking : ::testing::Test, test::AskingEditor {
  TempDir D;
  Editor& E() { return *T; }
  std::vector<std::string> Lines() {
    std::vector<std::string> v;
    for (int i = 1; i <= E().LineCount; ++i) v.push_back(T.Line(i));
    return v;
  }
  void Take(const std::string& path) {
    Answer(Con, path);
    HandleKey(E(), ShiftF1);
  }
};

TEST_F(Taking, LinesFollowTheCursorLineAndCtrlF1TakesThemBack) {
  T.SetLines({"one", "two", "three"});
  E().RightMargin = 20;
  E().CurLine = 2;
  TempDir::Write(D / "in.txt", "a\r\nb\rc\n");
  Take(D / "in.txt");
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"one", "two", "a", "b", "c", "three"}));
  EXPECT_EQ(E().CurLine, 2);
  EXPECT_EQ(E().InsertMark, 5);
  EXPECT_TRUE(E().Modified);
  for (int i = 3; i <= 5; ++i) EXPECT_EQ(Capacity(E(), i), 20);
  EXPECT_EQ(E().BlockFileName, D / "in.txt");

  // The menu key in between keeps the mark.
  HandleKey(E(), F10);
  HandleKey(E(), keys::Ctrl(keys::F1));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(E().CurLine, 2);
  EXPECT_EQ(E().InsertMark, 0);
}

TEST_F(Taking, UndoWorksOnlyAsTheNextCommand) {
  T.SetLines({"one", "two"});
  TempDir::Write(D / "in.txt", "x\ny\n");
  Take(D / "in.txt");
  ASSERT_EQ(E().LineCount, 4);
  HandleKey(E(), Down);
  EXPECT_EQ(E().InsertMark, 0);
  const int16_t line = E().CurLine;
  HandleKey(E(), keys::Ctrl(keys::F1));
  EXPECT_EQ(E().LineCount, 4);
  EXPECT_EQ(E().CurLine, line);
}

TEST_F(Taking, AtTheEndOfTheTextTheUndoLeavesTheCursorOnItsLine) {
  T.SetLines({"one", "two"});
  E().CurLine = 2;
  TempDir::Write(D / "in.txt", "x\ny");
  Take(D / "in.txt");
  EXPECT_EQ(Lines(), (std::vector<std::string>{"one", "two", "x", "y"}));
  HandleKey(E(), keys::Ctrl(keys::F1));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(E().CurLine, 2);
}

TEST_F(Taking, MissingFilesAndDirectoriesAreAskedAgainAndEscChangesNothing) {
  T.SetLines({"one"});
  E().FileName = "edited.txt";
  Answer(Con, D / "missing.txt");
  Answer(Con, D.Path);
  Con.Keys.push_back(EscKey);
  HandleKey(E(), ShiftF1);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_EQ(Lines(), std::vector<std::string>{"one"});
  EXPECT_FALSE(E().Modified);
  EXPECT_EQ(E().InsertMark, 0);
  EXPECT_TRUE(Con.Saw("Файл не найден: " + D / "missing.txt"));
  EXPECT_TRUE(Con.Saw("Файл не найден: " + D.Path));
  HandleKey(E(), keys::Ctrl(keys::F1));
  EXPECT_EQ(Lines(), std::vector<std::string>{"one"});
}

TEST_F(Taking, TheBlockFileNameStartsFromTheFileName) {
  T.SetLines({"one"});
  TempDir::Write(D / "edited.txt", "copy\n");
  E().FileName = D / "edited.txt";
  Con.Keys.push_back(test::EnterKey);  // accept the name offered
  HandleKey(E(), ShiftF1);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"one", "copy"}));
  EXPECT_EQ(E().BlockFileName, D / "edited.txt");
}

TEST_F(Taking, AnEmptyFileInsertsNothingAndLongLinesAreCut) {
  T.SetLines({"one", "two"});
  TempDir::Write(D / "empty.txt", "");
  Take(D / "empty.txt");
  EXPECT_EQ(E().OpFailed, 0);
  HandleKey(E(), keys::Ctrl(keys::F1));
  EXPECT_EQ(Lines(), (std::vector<std::string>{"one", "two"}));

  TempDir::Write(D / "long.txt", std::string(300, 'z') + "\nnext\n\x1Agone\n");
  E().CurLine = 1;
  Take(D / "long.txt");
  ASSERT_EQ(E().LineCount, 4);
  EXPECT_EQ(T.Line(2), std::string(255, 'z'));
  EXPECT_EQ(T.Line(3), "next");
  EXPECT_EQ(T.Line(4), "two");
  EXPECT_TRUE(Con.Saw("Строк длиннее 255 байт: 1"));
}

TEST_F(Taking, AtTheLineLimitWhatFitsStaysAndTheUndoRemovesIt) {
  E().RightMargin = 1;
  std::vector<std::string> many(MaxLines - 1, "");
  many[0] = "first";
  T.SetLines(many);
  TempDir::Write(D / "in.txt", "a\nb\nc\n");
  Take(D / "in.txt");
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_EQ(E().LineCount, MaxLines);
  EXPECT_EQ(T.Line(2), "a");
  EXPECT_EQ(E().InsertMark, 2);
  EXPECT_EQ(T.LastNotice, Cp("СЛИШКОМ МНОГО СТРОК! НЕ ЗАПИСЫВАЙТЕ ЭТОТ ФАЙЛ!"));
  HandleKey(E(), keys::Ctrl(keys::F1));
  EXPECT_EQ(E().LineCount, MaxLines - 1);
  EXPECT_EQ(T.Line(2), "");
}

}  // namespace
}  // namespace lumo

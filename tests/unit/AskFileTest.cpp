// Opening files for the commands that name them. The prompts that reach
// AskFile by keys (Shift+F1, F2, Ctrl+F2) are cases in tests/cases; here are
// the ways no key reaches yet: appending, the given-name modes, the copies a
// save writes and the name asked for at start-up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "AnswerKeys.h"
#include "TempDir.h"
#include "app/Startup.h"
#include "files/AskFile.h"
#include "files/Save.h"

namespace lumo {
namespace {

using test::Answer;
using test::TempDir;

struct Asking : ::testing::Test, test::AskingEditor {
  TempDir D;
  Editor& E() { return *T; }
  // Opens name as mode and command want and writes the first line into it.
  OpenFile::Kind Write(const std::string& name, KeyCode command) {
    std::string n = name;
    OpenFile f;
    Answer(Con, name);
    AskFile(E(), n, f, AskWrite, command);
    const OpenFile::Kind kind = f.Opened();
    EXPECT_TRUE(SaveLines(E(), 1, 1, f.Fd(), SaveAsIs));
    EXPECT_TRUE(f.Finish());
    return kind;
  }
};

// Only Shift+F2 appends, and only to a file that is there; a replacement
// counts only once finished, and leaves no temporary behind when dropped.
TEST_F(Asking, AppendingAndReplacing) {
  const std::string path = D / "log.txt";
  TempDir::Write(path, "kept\r\n");
  T.SetLines({"block"});
  EXPECT_EQ(Write(path, AskFileAppendKey), OpenFile::Kind::Append);
  EXPECT_EQ(TempDir::Read(path), "kept\r\nblock\r\n");
  EXPECT_EQ(Write(path, keys::F2), OpenFile::Kind::Replace);
  EXPECT_EQ(TempDir::Read(path), "block\r\n");
  EXPECT_EQ(Write(D / "new.txt", AskFileAppendKey), OpenFile::Kind::Replace);
  EXPECT_EQ(TempDir::Read(D / "new.txt"), "block\r\n");

  T.SetLines({"lost"});
  std::string name = path;
  OpenFile f;
  AskFile(E(), name, f, AskWriteGiven);
  ASSERT_EQ(write(f.Fd(), "lost", 4), 4);
  f.Close();
  EXPECT_EQ(TempDir::Read(path), "block\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(D.Path), {}), 2);
}

TEST_F(Asking, GivenNameModesNeverAsk) {
  TempDir::Write(D / "in.txt", "data");
  OpenFile f;
  for (auto [name, mode, failed] : {std::tuple{D / "in.txt", AskReadGiven, 0}, {D / "gone.txt", AskReadGiven, 1},
                                    {D / "out.txt", AskWriteGiven, 0}, {D / "none/out.txt", AskWriteGiven, 1}}) {
    AskFile(E(), name, f, uint8_t(mode));
    EXPECT_EQ(E().OpFailed, failed) << name;
    EXPECT_EQ(f.Opened() == OpenFile::Kind::None, failed == 1) << name;
  }
  EXPECT_EQ(Con.KeysRead, 0);
  ASSERT_EQ(Con.Shown.size(), 2u);
  EXPECT_EQ(Con.Shown[0], Cp("Файл не найден: ") + D / "gone.txt");
  EXPECT_EQ(Con.Shown[1], Cp("Ошибка записи или файл - только для чтения!"));
}

TEST_F(Asking, CopiesWithControlBytesTreatedAndWhereTheyGo) {
  T.SetLines({std::string("a\x01" "b", 3)});
  SaveElsewhere(E(), SaveControlsCoded, D / "coded.txt");
  EXPECT_EQ(TempDir::Read(D / "coded.txt"), "a#1b\r\n");
  SaveElsewhere(E(), SaveControlsBlank, D.Path);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_TRUE(Con.Saw("Ошибка записи или файл - только для чтения!"));
  // Copies go to a directory from the root; drives are refused.
  EXPECT_EQ(ElsewhereTarget("tmp/copies", "/home/u/notes.txt"), "/tmp/copies/notes.txt");
  EXPECT_EQ(ElsewhereTarget("/mnt/usb/", "notes.txt"), "/mnt/usb/notes.txt");
  EXPECT_EQ(ElsewhereTarget("\\backup\\", "dir\\a.pas"), "/backup/a.pas");
  EXPECT_EQ(ElsewhereTarget(Cp("Ф"), "notes.txt"), "");
  EXPECT_EQ(ElsewhereTarget("c:\\dir", "notes.txt"), "");
}

// At start-up a name that can be neither opened nor created is asked for
// again; a new name restarts the extension rule and the load, Esc goes on
// unnamed with an empty text.
TEST_F(Asking, StartupAsksForAnotherName) {
  setenv("XDG_STATE_HOME", D.Path.c_str(), 1);
  TempDir::Write(D / "good.72", "line one\nline two\n");
  FreeAllLines(E());
  Answer(Con, D / "good.72");
  ASSERT_TRUE(StartEditor(E(), {"-w", D / "no/dir/bad.txt"}));
  EXPECT_TRUE(Con.Saw("Неверное имя файла!"));
  EXPECT_EQ(E().BoundName, D / "good.72");
  EXPECT_EQ(E().RightMargin, 72);
  ASSERT_EQ(E().LineCount, 2);
  EXPECT_EQ(T.Line(2), "line two");
  EXPECT_EQ(Capacity(E(), 1), 72);

  test::AskingEditor next;
  FreeAllLines(*next.T);
  Answer(next.Con, D / "still/bad");
  next.Con.Keys.push_back(keys::Esc);
  ASSERT_TRUE(StartEditor(*next.T, {"-w", D / "no/dir/bad.txt"}));
  unsetenv("XDG_STATE_HOME");
  EXPECT_EQ(std::count(next.Con.Shown.begin(), next.Con.Shown.end(), Cp("Неверное имя файла!")), 2);
  EXPECT_TRUE(next.T->FileName.empty() && next.T->BoundName.empty());
  EXPECT_EQ(next.T->LineCount, 1);
  EXPECT_EQ(next.T.Line(1), "");
  EXPECT_FALSE(next.T->Modified);
}

}  // namespace
}  // namespace lumo

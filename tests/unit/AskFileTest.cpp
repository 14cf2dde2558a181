#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "AnswerKeys.h"
#include "TempDir.h"
#include "app/Startup.h"
#include "files/AskFile.h"
#include "files/Save.h"

namespace lumo {
namespace {

using test::Answer;
using test::EscKey;
using test::TempDir;

constexpr KeyCode CtrlK = 0x0004250B;

struct Asking : ::testing::Test, test::AskingEditor {
  TempDir D;
  Editor& E() { return *T; }
  std::string ReadAll(int fd) {
    std::string s;
    char buf[256];
    for (long n; (n = read(fd, buf, sizeof buf)) > 0;) s.append(buf, size_t(n));
    return s;
  }
};

TEST_F(Asking, ReadModeOpensTheAnsweredFile) {
  TempDir::Write(D / "in.txt", "hello");
  std::string name = "start";
  OpenFile f;
  Answer(Con, D / "in.txt");
  AskFile(E(), name, f, AskRead);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(name, D / "in.txt");
  ASSERT_EQ(f.Opened(), OpenFile::Kind::Read);
  EXPECT_EQ(ReadAll(f.Fd()), "hello");
  EXPECT_TRUE(Con.Shown.empty());
}

// The prompt edits code page 866; the system names files in UTF-8. A
// Cyrillic name typed at the prompt must find the file a shell sees.
TEST_F(Asking, CyrillicNamesMeetTheSystemInUtf8) {
  TempDir::Write(D / "письмо.txt", "привет");
  std::string name = D / "письмо.txt";  // offered as the starting answer
  OpenFile f;
  Con.Keys.push_back(test::EnterKey);  // accept it as shown
  AskFile(E(), name, f, AskRead);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(name, D / "письмо.txt");
  ASSERT_EQ(f.Opened(), OpenFile::Kind::Read);

  std::string typed;
  OpenFile g;
  Answer(Con, Cp(D / "новый.txt"));
  AskFile(E(), typed, g, AskWrite);
  EXPECT_EQ(typed, D / "новый.txt");
  EXPECT_EQ(g.Opened(), OpenFile::Kind::Replace);
  EXPECT_TRUE(g.Finish());
  EXPECT_TRUE(std::filesystem::exists(D / "новый.txt"));
}

TEST_F(Asking, ReadModeAsksAgainUntilAFileOpensOrEsc) {
  TempDir::Write(D / "in.txt", "x");
  std::string name;
  OpenFile f;
  // A missing file, a directory and an empty answer are each refused and
  // asked for again; the fourth answer opens.
  Answer(Con, D / "missing");
  Answer(Con, D.Path);
  Con.Keys.push_back(CtrlK);  // the refused name is offered again: clear it
  Con.Keys.push_back(test::EnterKey);
  Answer(Con, D / "in.txt");
  AskFile(E(), name, f, AskRead);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(f.Opened(), OpenFile::Kind::Read);
  ASSERT_EQ(Con.Shown.size(), 3u);
  EXPECT_EQ(Con.Shown[0], Cp("Файл не найден: ") + D / "missing");
  EXPECT_EQ(Con.Shown[1], Cp("Файл не найден: ") + D.Path);
  EXPECT_EQ(Con.Shown[2], Cp("Файл не найден:"));

  Con.Shown.clear();
  Answer(Con, D / "missing");
  Con.Keys.push_back(EscKey);
  AskFile(E(), name, f, AskRead);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_EQ(f.Opened(), OpenFile::Kind::None);
  EXPECT_TRUE(Con.Saw("Файл не найден: "));
}

TEST_F(Asking, NameLongerThanTheTextKeepsIsRefused) {
  // The field takes fewer bytes than that, but a caller's starting value is
  // offered whole and Enter accepts it.
  TempDir::Write(D / "in.txt", "x");
  const std::string longName = D.Path + "/" + std::string(130, 'a');
  std::string name = longName;
  OpenFile f;
  Con.Keys.push_back(test::EnterKey);
  Answer(Con, D / "in.txt");
  AskFile(E(), name, f, AskRead);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(name, D / "in.txt");
  EXPECT_TRUE(Con.Saw("Файл не найден: " + longName.substr(0, 40)));

  Con.Shown.clear();
  name = longName;
  Con.Keys.push_back(test::EnterKey);
  Answer(Con, "short");
  AskFile(E(), name, f, AskNameOnly);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(name, "short");
  EXPECT_TRUE(Con.Saw("Неверное имя файла!"));
}

TEST_F(Asking, WriteModeReplacesTheFileOnlyWhenFinished) {
  TempDir::Write(D / "out.txt", "old contents");
  std::string name;
  OpenFile f;
  Answer(Con, D / "out.txt");
  AskFile(E(), name, f, AskWrite);
  ASSERT_EQ(E().OpFailed, 0);
  ASSERT_EQ(f.Opened(), OpenFile::Kind::Replace);
  ASSERT_EQ(write(f.Fd(), "new", 3), 3);
  EXPECT_EQ(TempDir::Read(D / "out.txt"), "old contents");
  EXPECT_TRUE(f.Finish());
  EXPECT_EQ(TempDir::Read(D / "out.txt"), "new");

  // Dropped without Finish: the old file stays and no temporary is left.
  Answer(Con, D / "out.txt");
  AskFile(E(), name, f, AskWrite);
  ASSERT_EQ(write(f.Fd(), "lost", 4), 4);
  f.Close();
  EXPECT_EQ(TempDir::Read(D / "out.txt"), "new");
  int entries = 0;
  for (auto& it : std::filesystem::directory_iterator(D.Path)) entries += it.is_regular_file();
  EXPECT_EQ(entries, 1);
}

TEST_F(Asking, AppendingOnlyFromShiftF2AndOnlyToAnExistingFile) {
  const std::string path = D / "log.txt";
  TempDir::Write(path, "kept\r\n");
  T.SetLines({"block"});
  std::string name = path;
  OpenFile f;
  Answer(Con, path);
  AskFile(E(), name, f, AskWrite, AskFileAppendKey);
  ASSERT_EQ(f.Opened(), OpenFile::Kind::Append);
  ASSERT_TRUE(SaveLines(E(), 1, 1, f.Fd(), SaveAsIs));
  EXPECT_TRUE(f.Finish());
  EXPECT_EQ(TempDir::Read(path), "kept\r\nblock\r\n");

  // Any other key truncates, and Shift+F2 on a new name creates the file.
  Answer(Con, path);
  AskFile(E(), name, f, AskWrite, 0x0200FF02);
  EXPECT_EQ(f.Opened(), OpenFile::Kind::Replace);
  ASSERT_TRUE(SaveLines(E(), 1, 1, f.Fd(), SaveAsIs));
  EXPECT_TRUE(f.Finish());
  EXPECT_EQ(TempDir::Read(path), "block\r\n");

  Answer(Con, D / "new.txt");
  AskFile(E(), name, f, AskWrite, AskFileAppendKey);
  EXPECT_EQ(f.Opened(), OpenFile::Kind::Replace);
  EXPECT_TRUE(f.Finish());
  EXPECT_TRUE(std::filesystem::exists(D / "new.txt"));
}

TEST_F(Asking, WriteModeRefusesDirectoriesAndPlacesWithoutOne) {
  std::string name;
  OpenFile f;
  Answer(Con, D.Path);                  // a directory, also from Shift+F2
  Answer(Con, D / "no/such/dir/f.txt");  // nowhere to create it
  Con.Keys.push_back(EscKey);
  AskFile(E(), name, f, AskWrite, AskFileAppendKey);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_EQ(Con.Shown.size(), 2u);
  EXPECT_TRUE(Con.Saw("Ошибка записи или файл - только для чтения!"));

  // An empty name in write mode ends at once.
  Con.Shown.clear();
  name = "x";
  Con.Keys.push_back(0x0200FF2A);  // Del
  Con.Keys.push_back(test::EnterKey);
  AskFile(E(), name, f, AskWrite);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_TRUE(Con.Saw("Файл не найден:"));
  EXPECT_TRUE(Con.Keys.empty());
}

TEST_F(Asking, GivenNameModesNeverAsk) {
  TempDir::Write(D / "in.txt", "data");
  OpenFile f;
  std::string name = D / "in.txt";
  AskFile(E(), name, f, AskReadGiven);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(ReadAll(f.Fd()), "data");

  name = D / "gone.txt";
  AskFile(E(), name, f, AskReadGiven);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_EQ(f.Opened(), OpenFile::Kind::None);

  name = D / "out.txt";
  AskFile(E(), name, f, AskWriteGiven);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(f.Opened(), OpenFile::Kind::Replace);

  name = D / "none/out.txt";
  AskFile(E(), name, f, AskWriteGiven);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_EQ(Con.KeysRead, 0);
  ASSERT_EQ(Con.Shown.size(), 2u);
  EXPECT_EQ(Con.Shown[0], Cp("Файл не найден: ") + D / "gone.txt");
  EXPECT_EQ(Con.Shown[1], Cp("Ошибка записи или файл - только для чтения!"));
}

TEST_F(Asking, NameOnlyModeOpensNothingAndBackslashesSeparate) {
  std::string name;
  OpenFile f;
  Answer(Con, D / "never.txt");
  AskFile(E(), name, f, AskNameOnly);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(f.Opened(), OpenFile::Kind::None);
  EXPECT_FALSE(std::filesystem::exists(D / "never.txt"));

  std::filesystem::create_directory(D / "sub");
  TempDir::Write(D / "sub/in.txt", "x");
  Answer(Con, D.Path + "\\sub\\in.txt");
  AskFile(E(), name, f, AskRead);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(f.Opened(), OpenFile::Kind::Read);
}

TEST_F(Asking, SaveAsksForANameWhenUnnamedAndAfterAFailedCreate) {
  T.SetLines({"text"});
  E().Modified = true;
  Answer(Con, D / "first.txt");
  SaveText(E());
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_FALSE(E().Modified);
  EXPECT_EQ(E().BoundName, D / "first.txt");
  EXPECT_EQ(E().FileName, D / "first.txt");
  EXPECT_EQ(TempDir::Read(D / "first.txt"), "text\r\n");

  E().BoundName = E().FileName = D / "gone/f.txt";
  E().Modified = true;
  Answer(Con, D / "second.txt");
  SaveText(E());
  EXPECT_TRUE(Con.Saw("Ошибка записи или файл - только для чтения!"));
  EXPECT_FALSE(E().Modified);
  EXPECT_EQ(E().BoundName, D / "second.txt");
  EXPECT_EQ(TempDir::Read(D / "second.txt"), "text\r\n");

  // Esc keeps the text modified and the binding as it was.
  E().BoundName.clear();
  E().Modified = true;
  Con.Keys.push_back(EscKey);
  SaveText(E());
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_TRUE(E().Modified);
}

TEST(SaveElsewhereTarget, DirectoriesComeFromTheRootAndDrivesAreRefused) {
  EXPECT_EQ(ElsewhereTarget("tmp/copies", "/home/u/notes.txt"), "/tmp/copies/notes.txt");
  EXPECT_EQ(ElsewhereTarget("/mnt/usb/", "notes.txt"), "/mnt/usb/notes.txt");
  EXPECT_EQ(ElsewhereTarget("\\backup\\", "dir\\a.pas"), "/backup/a.pas");
  EXPECT_EQ(ElsewhereTarget("a", "notes.txt"), "");
  EXPECT_EQ(ElsewhereTarget(Cp("Ф"), "notes.txt"), "");
  EXPECT_EQ(ElsewhereTarget("c:\\dir", "notes.txt"), "");
}

struct InDirectory {
  explicit InDirectory(const std::string& dir) : Old(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  ~InDirectory() { std::filesystem::current_path(Old); }
  std::filesystem::path Old;
};

TEST_F(Asking, CtrlF2WritesTheTextIntoADirectoryUnderItsBareName) {
  std::filesystem::create_directory(D / "copies");
  T.SetLines({"one", "two"});
  E().FileName = E().BoundName = "some/where/notes.txt";
  E().Modified = true;
  // An empty answer is asked again; the directory is taken from the root
  // whether or not it begins with a separator.
  Answer(Con, "");
  Answer(Con, (D / "copies").substr(1));
  SaveElsewhere(E(), 0);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(TempDir::Read(D / "copies/notes.txt"), "one\r\ntwo\r\n");
  EXPECT_TRUE(E().Modified);
  EXPECT_EQ(E().FileName, "some/where/notes.txt");
  EXPECT_EQ(E().BoundName, "some/where/notes.txt");
  EXPECT_EQ(Con.Text(1, 1, int((D / "copies/notes.txt").size())), D / "copies/notes.txt");
  EXPECT_EQ(Con.Attr(1, 1), 0x0B);

  Answer(Con, "a");
  SaveElsewhere(E(), 0);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_TRUE(Con.Saw("Дисков здесь нет"));
}

TEST_F(Asking, CtrlF2SecondTryNeverReplacesAFile) {
  InDirectory here(D.Path);
  T.SetLines({"new text"});
  E().FileName = "sub/notes.txt";
  // The directory does not exist: the second try is notes.txt here, which
  // already holds another text and must keep it.
  TempDir::Write(D / "notes.txt", "other");
  Answer(Con, D / "nowhere");
  SaveElsewhere(E(), 0);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_EQ(TempDir::Read(D / "notes.txt"), "other");
  EXPECT_TRUE(Con.Saw("Неверно указано устройство или путь: " + D / "nowhere/notes.txt"));

  // Where nothing is, the second try writes.
  std::filesystem::remove(D / "notes.txt");
  Answer(Con, D / "nowhere");
  SaveElsewhere(E(), 0);
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_EQ(TempDir::Read(D / "notes.txt"), "new text\r\n");

  // Esc ends the command and writes nothing.
  Con.Keys.push_back(EscKey);
  SaveElsewhere(E(), 0);
  EXPECT_EQ(E().OpFailed, 1);
}

TEST_F(Asking, CopiesWithControlBytesTreated) {
  T.SetLines({std::string("a\x01" "b", 3)});
  SaveElsewhere(E(), SaveControlsBlank, D / "blank.txt");
  SaveElsewhere(E(), SaveControlsCoded, D / "coded.txt");
  EXPECT_EQ(TempDir::Read(D / "blank.txt"), "a b\r\n");
  EXPECT_EQ(TempDir::Read(D / "coded.txt"), "a#1b\r\n");
  SaveElsewhere(E(), SaveControlsBlank, D.Path);
  EXPECT_EQ(E().OpFailed, 1);
  EXPECT_TRUE(Con.Saw("Ошибка записи или файл - только для чтения!"));
}

// The start-up prompt after a name that can be neither opened nor created.
struct StartupAsking : Asking {
  StartupAsking() { setenv("XDG_STATE_HOME", D.Path.c_str(), 1); }
  ~StartupAsking() override { unsetenv("XDG_STATE_HOME"); }
};

TEST_F(StartupAsking, ANewNameRestartsTheExtensionRuleAndTheLoad) {
  TempDir::Write(D / "good.72", "line one\nline two\n");
  FreeAllLines(E());
  Answer(Con, D / "good.72");
  ASSERT_TRUE(StartEditor(E(), {"-w", D / "no/dir/bad.txt"}));
  EXPECT_TRUE(Con.Saw("Неверное имя файла!"));
  EXPECT_EQ(E().FileName, D / "good.72");
  EXPECT_EQ(E().BoundName, D / "good.72");
  EXPECT_EQ(E().RightMargin, 72);
  ASSERT_EQ(E().LineCount, 2);
  EXPECT_EQ(T.Line(2), "line two");
  EXPECT_EQ(Capacity(E(), 1), 72);
}

TEST_F(StartupAsking, EscContinuesUnnamedWithAnEmptyText) {
  FreeAllLines(E());
  Answer(Con, D / "still/bad");  // asked again after the second failure
  Con.Keys.push_back(EscKey);
  ASSERT_TRUE(StartEditor(E(), {"-w", D / "no/dir/bad.txt"}));
  EXPECT_EQ(std::count(Con.Shown.begin(), Con.Shown.end(), Cp("Неверное имя файла!")), 2);
  EXPECT_TRUE(E().FileName.empty());
  EXPECT_TRUE(E().BoundName.empty());
  EXPECT_EQ(E().LineCount, 1);
  EXPECT_EQ(T.Line(1), "");
  EXPECT_FALSE(E().Modified);
}

}  // namespace
}  // namespace lumo

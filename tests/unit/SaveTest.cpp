// Saving the text: the bytes, the file's permissions, the coded copy's cut
// and the emergency copy. The prompts and questions around F2 are cases in
// tests/cases.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TempDir.h"
#include "TestEditor.h"
#include "files/Save.h"

namespace lumo {
namespace {

using test::TempDir;
using test::TestEditor;

struct Saving : ::testing::Test {
  TempDir D;
  TestEditor T;
  std::string Path = D / "out.txt";
  void Bind(const std::string& name) {
    T->FileName = T->BoundName = name;
  }
  // Saves these lines, changed, to the file of that name.
  void Save(const std::vector<std::string>& lines, const std::string& name) {
    T.SetLines(lines);
    Bind(name);
    T->Modified = true;
    SaveText(*T);
  }
};

// The old file is replaced in one step, keeping its permission bits and
// leaving no temporary beside it.
TEST_F(Saving, WritesCrLfWithoutTrailingBlanksAndZerosKeepingThePermissions) {
  TempDir::Write(Path, "old\r\n");
  chmod(Path.c_str(), 0640);
  Save({"abc   ", std::string("de\0\0  ", 6), "      ", std::string("col\x01\x04\t", 6)}, Path);
  EXPECT_EQ(T->OpFailed, 0);
  EXPECT_FALSE(T->Modified);
  EXPECT_EQ(TempDir::Read(Path), std::string("abc\r\nde\r\n\r\ncol\x01\x04\t\r\n", 19));
  struct stat st {};
  ASSERT_EQ(stat(Path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(D.Path), {}), 1);
}

TEST_F(Saving, CodedCopyIsCutAt255Bytes) {
  Save({std::string(200, '\x01')}, D / "c}.txt");
  std::string coded;
  while (coded.size() < 255) coded += "#1";
  coded.resize(255);
  EXPECT_EQ(TempDir::Read(D / "c.txt"), coded + "\r\n");
}

TEST_F(Saving, EmergencyCopyNeverOverwrites) {
  TempDir::Write(Path, "original");
  TempDir::Write(Path + ".save", "older copy");
  T.SetLines({"unsaved work"});
  Bind(Path);
  EXPECT_EQ(WriteEmergencyCopy(*T), "");  // nothing to keep
  T->Modified = true;
  EXPECT_EQ(WriteEmergencyCopy(*T), Path + ".save.1");
  EXPECT_EQ(TempDir::Read(Path + ".save.1"), "unsaved work\r\n");
  EXPECT_EQ(TempDir::Read(Path + ".save"), "older copy");
  EXPECT_EQ(TempDir::Read(Path), "original");
}

}  // namespace
}  // namespace lumo

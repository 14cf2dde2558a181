// The keystroke file's failures, which no key sequence can bring about: a
// write that fails after the file was opened, a read that fails at once.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "TempDir.h"
#include "TestEditor.h"
#include "app/KeystrokeFile.h"
#include "screen/KeyNames.h"
#include "tools/AtomicFile.h"
#include "tools/Keystrokes.h"

namespace lumo {
namespace {

TEST(KeystrokesTest, AFailedTransferKeepsWhatWasThere) {
  test::TempDir dir;
  test::TestEditor t;
  const std::string path = dir / "k";
  test::TempDir::Write(path, "old");
  t->Keystroke[0] = keys::Enter;
  for (char c : path) t.Con.Keys.push_back(MakeKey(uint8_t(c), 0, 0, 0));
  t.Con.Keys.push_back(keys::Enter);
  SetWriteSeam([](int, const void*, unsigned long) -> long { return errno = ENOSPC, -1; });
  TransferKeystrokes(*t, KeystrokeTransfer::Write);
  SetWriteSeam(nullptr);
  EXPECT_EQ(test::TempDir::Read(path), "old");
  EXPECT_EQ(t->OpFailed, 1) << "the failed write passed for done";
  // The same answer without the fault writes the file: the prompt did reach it.
  for (char c : path) t.Con.Keys.push_back(MakeKey(uint8_t(c), 0, 0, 0));
  t.Con.Keys.push_back(keys::Enter);
  TransferKeystrokes(*t, KeystrokeTransfer::Write);
  EXPECT_EQ(t->OpFailed, 0);
  EXPECT_EQ(test::TempDir::Read(path).substr(0, 4), std::string("\x0D\x1C\0\0", 4));

  // Reading a directory fails at the first byte: no slot was read whole.
  const int fd = open(dir.Path.c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(fd, 0);
  ReadKeystrokes(*t, fd);
  close(fd);
  EXPECT_EQ(t->Keystroke[0], keys::Enter);
  EXPECT_EQ(t->Keystroke[1], 0u);
}

}  // namespace
}  // namespace lumo

// A keystroke file write that fails after the file was opened, which no key
// sequence can bring about: the old file stays and the failure is reported.
#include <gtest/gtest.h>

#include <cerrno>

#include "TempDir.h"
#include "TestEditor.h"
#include "app/KeystrokeFile.h"
#include "screen/KeyNames.h"
#include "tools/AtomicFile.h"

namespace lumo {
namespace {

TEST(KeystrokesTest, AFailedWriteKeepsTheOldFile) {
  test::TempDir dir;
  test::TestEditor t;
  const std::string path = dir / "k";
  test::TempDir::Write(path, "old");
  t->Keystroke[0] = keys::Enter;
  for (long fail : {1, 0}) {
    for (char c : path) t.Con.Keys.push_back(MakeKey(uint8_t(c), 0, 0, 0));
    t.Con.Keys.push_back(keys::Enter);
    SetWriteSeam(fail ? +[](int, const void*, unsigned long) -> long { return errno = ENOSPC, -1; } : nullptr);
    TransferKeystrokes(*t, KeystrokeTransfer::Write);
    EXPECT_EQ(t->OpFailed, fail) << "the write's result was misreported";
    EXPECT_EQ(test::TempDir::Read(path).substr(0, 3), fail ? "old" : std::string("\x0D\x1C\0", 3));
  }
}

}  // namespace
}  // namespace lumo

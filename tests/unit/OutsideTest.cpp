// Outside programs as they meet the system: names no shell may read, fake
// clipboard tools standing on PATH, a helper that hangs, a clipboard too big.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "TempDir.h"
#include "TestEditor.h"
#include "app/OutsideCommands.h"
#include "tools/ClipFile.h"
#include "tools/Outside.h"

namespace lumo {
namespace {

struct Outside : ::testing::Test {
  test::TempDir D;
  test::TestEditor T;
  std::string OldPath = std::getenv("PATH");
  Outside() {
    std::filesystem::create_directory(D / "bin");
    setenv("PATH", (D / "bin" + ":" + OldPath).c_str(), 1);
    unsetenv("COMSPEC");
    T->ProgramPath = LUMO_PROGRAM;
    T->ClipFile = D / "LumoClip";
  }
  ~Outside() override {
    setenv("PATH", OldPath.c_str(), 1);
    unsetenv("WAYLAND_DISPLAY");
  }
  void Tool(const std::string& name, const std::string& script) {
    test::TempDir::Write(D / "bin/" + name, "#!/bin/sh\n" + script + "\n");
    chmod((D / "bin/" + name).c_str(), 0755);
  }
};

// RUN gets the saved file's name as one word, whatever it holds: the shell
// runs nothing of it.
TEST_F(Outside, RunTakesTheFileNameAsOneWord) {
  const std::string name = D / "a b $(touch pwned); 'q' \"d\".txt";
  Tool("RUN", "printf '%s' \"$1\" > '" + D / "got" + "'");
  T.SetLines({"text"});
  T->FileName = T->BoundName = name;
  T->Modified = true;
  RunFileKey(*T, 0);
  EXPECT_EQ(test::TempDir::Read(D / "got"), name);
  EXPECT_FALSE(std::filesystem::exists("pwned") || std::filesystem::exists(D / "pwned"));
  EXPECT_FALSE(T->Modified);
}

// With -# a clipboard write reaches wl-copy as UTF-8; a paste takes
// wl-paste's text first, as lines; a clipboard over 10 MB is refused and
// the file stays; a tool that hangs is given up and the editor goes on.
TEST_F(Outside, TheClipboardHelperMeetsTheSystemClipboard) {
  setenv("WAYLAND_DISPLAY", "test", 1);
  T->ClipexOn = true;
  Tool("wl-copy", "cat > '" + D / "copied" + "'");
  ASSERT_TRUE(WriteClipFile(*T, ClipLines, {Cp("Привет"), "world"}));
  EXPECT_EQ(test::TempDir::Read(D / "copied"), "Привет\nworld\n");

  Tool("wl-paste", "printf 'один\\ntwo\\n'");
  EXPECT_TRUE(RefreshClipFile(*T));
  EXPECT_EQ(ReadClipFile(*T).Lines, (std::vector<std::string>{Cp("один"), "two"}));

  Tool("wl-paste", "head -c 11000000 /dev/zero | tr '\\0' x");
  EXPECT_FALSE(RefreshClipFile(*T));
  EXPECT_EQ(ReadClipFile(*T).Lines, (std::vector<std::string>{Cp("один"), "two"}));

  Tool("wl-copy", "sleep 30");
  EXPECT_EQ(RunClipex(*T, '#'), -1);
}

// A program that cannot be started is no error, with COMSPEC or without.
TEST_F(Outside, AMissingProgramIsNoError) {
  EXPECT_EQ(RunProgram(nullptr, {D / "none"}), -1);
  setenv("COMSPEC", (D / "none").c_str(), 1);
  EXPECT_EQ(RunInterpreter(*T, " /C RUN x", "RUN x"), -1);
  unsetenv("COMSPEC");
}

}  // namespace
}  // namespace lumo

// The history file: its exact form, the round trip between two runs, the
// prompt keys that read and write it, and files that are short, long, binary
// or not files at all.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>

#include "app/Startup.h"
#include "screen/KeyNames.h"
#include "tools/AtomicFile.h"
#include "tools/PromptEditor.h"
#include "TempDir.h"
#include "TestEditor.h"

namespace lumo {
namespace {

using test::TempDir;
using test::TestEditor;

// Sixteen slots, the first ones given, then line 17.
std::string File(std::vector<std::string> slots, const std::string& last) {
  slots.resize(16);
  std::string s;
  for (const std::string& l : slots) s += l + "\r\n";
  return s + last + "\r\n";
}

struct HistoryFile : ::testing::Test {
  HistoryFile() { E->HistoryFile = Dir / "LumoSS"; }
  TempDir Dir;
  TestEditor E;
  // The file read into a fresh editor, as the next run reads it.
  TestEditor Next() {
    TestEditor next;
    next->HistoryFile = E->HistoryFile;
    ReadPromptHistory(*next);
    return next;
  }
};

// Backwards from the current slot, then the search case. The next run starts
// at slot 0 with the ring's order kept; reading in the middle of a run fills
// backwards from the current slot and keeps this run's case.
TEST_F(HistoryFile, SlotsBackwardsFromTheCurrentOneThenTheCase) {
  E->PromptSlot[3] = "three";
  E->PromptSlot[2] = "two";
  E->PromptSlot[4] = std::string("\x01\xFF\xA0 binary\x7F", 11);
  E->PromptIndex = 3;
  E->SavedSearchCase = -15;
  WritePromptHistory(*E);
  const std::string written = TempDir::Read(E->HistoryFile);
  EXPECT_EQ(written, File({"three", "two", "", "", "", "", "", "", "", "", "", "", "", "", "", E->PromptSlot[4]}, "-15"));

  TestEditor next = Next();
  EXPECT_EQ(next->PromptSlot[0], "three");
  EXPECT_EQ(next->PromptSlot[15], "two");
  EXPECT_EQ(next->PromptSlot[1], E->PromptSlot[4]);
  EXPECT_EQ(next->PromptIndex, 0);
  EXPECT_EQ(next->SavedSearchCase, -15);
  EXPECT_EQ(next->SearchText, "three");
  WritePromptHistory(*next);
  EXPECT_EQ(TempDir::Read(E->HistoryFile), written);

  E->PromptIndex = 5;
  E->SavedSearchCase = 15;
  ReadPromptHistory(*E);
  EXPECT_EQ(E->PromptSlot[5], "three");
  EXPECT_EQ(E->PromptSlot[4], "two");
  EXPECT_EQ(E->SavedSearchCase, 15);
}

TEST_F(HistoryFile, ShortLongAndBinaryFiles) {
  for (std::string& s : E->PromptSlot) s = "before";
  E->SavedSearchCase = 15;
  // Short, with LF and a lone CR as line ends, no line 17.
  TempDir::Write(E->HistoryFile, "one\ntwo\rthree\r\n");
  ReadPromptHistory(*E);
  EXPECT_EQ(E->PromptSlot[0], "one");
  EXPECT_EQ(E->PromptSlot[15], "two");
  EXPECT_EQ(E->PromptSlot[14], "three");
  for (int i = 1; i <= 13; ++i) EXPECT_EQ(E->PromptSlot[i], "") << i;
  EXPECT_EQ(E->SavedSearchCase, 15);

  // Over-long lines are cut to 53 bytes; the next line is still line 2.
  // Past its first MiB a file is not read. Any bytes, NUL too, are kept.
  const std::string binary("\0\x01\xFE\xFF\x1A" "z", 6);
  TempDir::Write(E->HistoryFile, std::string(5000, 'L') + "\r\n" + binary + "\r\n");
  ReadPromptHistory(*E);
  EXPECT_EQ(E->PromptSlot[0], std::string(53, 'L'));
  EXPECT_EQ(E->PromptSlot[15], binary);
  TempDir::Write(E->HistoryFile, std::string(1 << 20, 'L') + "\r\nbeyond\r\n");
  ReadPromptHistory(*E);
  EXPECT_EQ(E->PromptSlot[15], "");

  // A line 17 that is no number is ignored.
  for (const char* c : {"x15", "999", "", "-", "1 5"}) {
    TempDir::Write(E->HistoryFile, File({}, c));
    ReadPromptHistory(*E);
    EXPECT_EQ(E->SavedSearchCase, 15) << c;
  }
  TempDir::Write(E->HistoryFile, File({}, " -15 "));
  ReadPromptHistory(*E);
  EXPECT_EQ(E->SavedSearchCase, -15);
}

// A failed write leaves the old history; through a link the target is
// replaced; a line end inside an answer must not shift the later slots.
TEST_F(HistoryFile, WritingReplacesOnlyAFileInOneStep) {
  const std::string target = Dir / "real";
  TempDir::Write(target, "old\r\n");
  std::filesystem::create_symlink(target, E->HistoryFile);
  E->PromptSlot[0] = "a\nb";
  E->PromptSlot[15] = "second";
  SetWriteSeam([](int, const void*, unsigned long) -> long { return errno = ENOSPC, -1; });
  WritePromptHistory(*E);
  SetWriteSeam(nullptr);
  EXPECT_EQ(TempDir::Read(target), "old\r\n");
  WritePromptHistory(*E);
  EXPECT_TRUE(std::filesystem::is_symlink(E->HistoryFile));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir.Path), {}), 2);
  TestEditor next = Next();
  EXPECT_EQ(next->PromptSlot[0], "a b");
  EXPECT_EQ(next->PromptSlot[15], "second");

  // What is no file is neither read nor written: a named pipe would wait for
  // a writer for ever, and a directory that does not exist is not made for a
  // name the user gave.
  E->PromptSlot[0] = "kept";
  E->HistoryFile = Dir / "missing";
  ReadPromptHistory(*E);
  ASSERT_EQ(mkfifo((Dir / "fifo").c_str(), 0600), 0);
  for (const std::string& name : {Dir / "fifo", Dir.Path}) {
    E->HistoryFile = name;
    ReadPromptHistory(*E);
    WritePromptHistory(*E);
  }
  EXPECT_TRUE(std::filesystem::is_directory(Dir.Path));
  EXPECT_EQ(E->PromptSlot[0], "kept");
  E->HistoryFile = Dir / "none/LumoSS";
  WritePromptHistory(*E);
  EXPECT_FALSE(std::filesystem::exists(Dir / "none"));
}

TEST_F(HistoryFile, CtrlWAndCtrlRInsideAPrompt) {
  E->PromptSlot[0] = "saved";
  E.Con.Keys = {keys::Ctrl(keys::W), keys::Enter};
  PromptText a;
  PromptEditor(*E, a, PromptSearch);
  EXPECT_EQ(TempDir::Read(E->HistoryFile).substr(0, 7), "saved\r\n");
  E->PromptSlot[0] = "changed";
  E.Con.Keys = {keys::Ctrl(keys::R), keys::Down, keys::Up, keys::Enter};  // read, then Down and Up reload
  PromptEditor(*E, a, PromptSearch);
  EXPECT_EQ(a.View(), "saved");
  EXPECT_EQ(E->SearchText, "saved");
}

TEST_F(HistoryFile, DefaultStateDirectoryIsCreatedPrivateOnFirstWrite) {
  setenv("XDG_STATE_HOME", (Dir / "state").c_str(), 1);
  TestEditor t;
  SetStartValues(*t);
  EXPECT_EQ(t->HistoryFile, Dir / "state/lumo/LumoSS");
  ReadPromptHistory(*t);  // reading creates nothing
  EXPECT_FALSE(std::filesystem::exists(Dir / "state"));
  t->PromptSlot[0] = "kept";
  WritePromptHistory(*t);
  unsetenv("XDG_STATE_HOME");
  struct stat st {};
  ASSERT_EQ(stat((Dir / "state/lumo").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(stat(t->HistoryFile.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0u) << "others may read the history";
}

}  // namespace
}  // namespace lumo

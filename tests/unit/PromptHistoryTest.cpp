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
#include "tools/AtomicFile.h"
#include "tools/PromptEditor.h"
#include "TempDir.h"
#include "TestEditor.h"

namespace lumo {
namespace {

using test::TempDir;
using test::TestEditor;

constexpr KeyCode CtrlW = 0x00041117, CtrlR = 0x00041312, Enter = 0x00001C0D;

std::string Lines(std::initializer_list<std::string> lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\r\n";
  return s;
}

struct HistoryFile : ::testing::Test {
  HistoryFile() { E->HistoryFile = Dir / "LumoSS"; }
  TempDir Dir;
  TestEditor E;
};

TEST_F(HistoryFile, FileListsTheSlotsBackwardsFromTheCurrentOneThenTheCase) {
  E->PromptSlot[3] = "three";
  E->PromptSlot[2] = "two";
  E->PromptSlot[4] = "four";
  E->PromptIndex = 3;
  E->SavedSearchCase = -15;
  WritePromptHistory(*E);
  EXPECT_EQ(TempDir::Read(E->HistoryFile),
            Lines({"three", "two", "", "", "", "", "", "", "", "", "", "", "", "", "", "four", "-15"}));
}

TEST_F(HistoryFile, RoundTripAcrossTwoEditors) {
  for (int i = 0; i < 16; ++i) E->PromptSlot[i] = "answer " + std::to_string(i);
  E->PromptSlot[9] = std::string("\x01\xFF\xA0 binary\x7F", 11);
  E->PromptIndex = 7;
  E->SavedSearchCase = 15;
  WritePromptHistory(*E);

  TestEditor next;
  next->HistoryFile = E->HistoryFile;
  ReadPromptHistory(*next);
  // The next run starts at index 0; the ring's order relative to the
  // current slot is what survives.
  for (int k = 1; k <= 16; ++k)
    EXPECT_EQ(next->PromptSlot[(1 - k) & 15], E->PromptSlot[(7 - k + 1) & 15]) << k;
  EXPECT_EQ(next->PromptIndex, 0);
  EXPECT_EQ(next->SavedSearchCase, 15);
  EXPECT_EQ(next->SearchText, "answer 7");
  // Written again unchanged, the file is the same bytes.
  std::string first = TempDir::Read(E->HistoryFile);
  WritePromptHistory(*next);
  EXPECT_EQ(TempDir::Read(E->HistoryFile), first);
}

TEST_F(HistoryFile, ReadingAtAnotherIndexKeepsTheCaseOfThisRun) {
  TempDir::Write(E->HistoryFile, Lines({"a", "b", "c", "", "", "", "", "", "", "", "", "", "", "", "", "", "-15"}));
  E->PromptIndex = 5;
  E->SavedSearchCase = 15;
  ReadPromptHistory(*E);
  EXPECT_EQ(E->PromptSlot[5], "a");
  EXPECT_EQ(E->PromptSlot[4], "b");
  EXPECT_EQ(E->PromptSlot[3], "c");
  EXPECT_EQ(E->SavedSearchCase, 15);
  EXPECT_EQ(E->SearchText, "a");
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
  // Past its first MiB a file is not read.
  TempDir::Write(E->HistoryFile, std::string(5000, 'L') + "\r\nsecond\r\n");
  ReadPromptHistory(*E);
  EXPECT_EQ(E->PromptSlot[0], std::string(53, 'L'));
  EXPECT_EQ(E->PromptSlot[15], "second");
  TempDir::Write(E->HistoryFile, std::string(1 << 20, 'L') + "\r\nbeyond\r\n");
  ReadPromptHistory(*E);
  EXPECT_EQ(E->PromptSlot[15], "");

  // Any bytes, NUL included, are kept as they are.
  std::string binary("\0\x01\xFE\xFF\x1A" "z", 6);
  TempDir::Write(E->HistoryFile, binary + "\r\n");
  ReadPromptHistory(*E);
  EXPECT_EQ(E->PromptSlot[0], binary);

  // An empty file empties the ring; a line 17 that is no number is ignored.
  std::string bad = Lines({"", "", "", "", "", "", "", "", "", "", "", "", "", "", "", ""});
  for (const char* c : {"x15", "999", "", "-", "1 5"}) {
    TempDir::Write(E->HistoryFile, bad + c + "\r\n");
    ReadPromptHistory(*E);
    EXPECT_EQ(E->SavedSearchCase, 15) << c;
  }
  TempDir::Write(E->HistoryFile, bad + " -15 \r\n");
  ReadPromptHistory(*E);
  EXPECT_EQ(E->SavedSearchCase, -15);
  for (const std::string& s : E->PromptSlot) EXPECT_EQ(s, "");
}

TEST_F(HistoryFile, WhatIsNoFileChangesNothing) {
  E->PromptSlot[0] = "kept";
  E->SearchText = "search";
  ReadPromptHistory(*E);  // missing
  ASSERT_EQ(mkfifo((Dir / "fifo").c_str(), 0600), 0);
  E->HistoryFile = Dir / "fifo";  // would wait for a writer for ever
  ReadPromptHistory(*E);
  E->HistoryFile = Dir.Path;  // a directory
  ReadPromptHistory(*E);
  WritePromptHistory(*E);
  EXPECT_TRUE(std::filesystem::is_directory(Dir.Path));
  EXPECT_EQ(E->PromptSlot[0], "kept");
  EXPECT_EQ(E->SearchText, "search");
  // A directory that does not exist is not made for a name the user gave.
  E->HistoryFile = Dir / "none/LumoSS";
  WritePromptHistory(*E);
  EXPECT_FALSE(std::filesystem::exists(Dir / "none"));
}

TEST_F(HistoryFile, WritingReplacesTheFileInOneStep) {
  TempDir::Write(E->HistoryFile, "old\r\n");
  chmod(E->HistoryFile.c_str(), 0640);
  E->PromptSlot[0] = "new";
  WritePromptHistory(*E);
  EXPECT_EQ(TempDir::Read(E->HistoryFile).substr(0, 5), "new\r\n");
  struct stat st {};
  ASSERT_EQ(stat(E->HistoryFile.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // A write that fails leaves the old history.
  SetWriteSeam([](int, const void*, unsigned long) -> long { return errno = ENOSPC, -1; });
  E->PromptSlot[0] = "lost";
  WritePromptHistory(*E);
  SetWriteSeam(nullptr);
  EXPECT_EQ(TempDir::Read(E->HistoryFile).substr(0, 5), "new\r\n");
  E->PromptSlot[0] = "new";
  // No temporary file is left beside it by either write.
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(Dir.Path)) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
  // Through a link, the link stays and its target is replaced.
  std::string target = Dir / "real";
  TempDir::Write(target, "x\r\n");
  std::filesystem::remove(E->HistoryFile);
  std::filesystem::create_symlink(target, E->HistoryFile);
  WritePromptHistory(*E);
  EXPECT_TRUE(std::filesystem::is_symlink(E->HistoryFile));
  EXPECT_EQ(TempDir::Read(target).substr(0, 5), "new\r\n");
  // A line end inside an answer must not shift the later slots.
  E->PromptSlot[0] = "a\nb";
  E->PromptSlot[15] = "second";
  WritePromptHistory(*E);
  TestEditor next;
  next->HistoryFile = E->HistoryFile;
  ReadPromptHistory(*next);
  EXPECT_EQ(next->PromptSlot[0], "a b");
  EXPECT_EQ(next->PromptSlot[15], "second");
}

TEST_F(HistoryFile, CtrlWAndCtrlRInsideAPrompt) {
  E->PromptSlot[0] = "saved";
  E.Con.Keys = {CtrlW, Enter};
  PromptText a;
  PromptEditor(*E, a, PromptSearch);
  EXPECT_EQ(TempDir::Read(E->HistoryFile).substr(0, 7), "saved\r\n");
  E->PromptSlot[0] = "changed";
  E.Con.Keys = {CtrlR, 0x0200FF27, 0x0200FF21, Enter};  // read, then Down and Up reload
  PromptEditor(*E, a, PromptSearch);
  EXPECT_EQ(a.View(), "saved");
  EXPECT_EQ(E->SearchText, "saved");
}

TEST_F(HistoryFile, DefaultStateDirectoryIsCreatedPrivateOnFirstWrite) {
  struct StateHome {
    explicit StateHome(const std::string& d) { setenv("XDG_STATE_HOME", d.c_str(), 1); }
    ~StateHome() { unsetenv("XDG_STATE_HOME"); }
  } home(Dir / "state");
  TestEditor t;
  SetStartValues(*t);
  EXPECT_EQ(t->HistoryFile, Dir / "state/lumo/LumoSS");
  ReadPromptHistory(*t);  // reading creates nothing
  EXPECT_FALSE(std::filesystem::exists(Dir / "state"));
  t->PromptSlot[0] = "kept";
  WritePromptHistory(*t);
  struct stat st {};
  ASSERT_EQ(stat((Dir / "state/lumo").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  ASSERT_EQ(stat(t->HistoryFile.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0u) << "others may read the history";
  EXPECT_EQ(TempDir::Read(t->HistoryFile).substr(0, 6), "kept\r\n");
}

}  // namespace
}  // namespace lumo

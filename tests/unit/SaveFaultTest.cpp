// Saving when the system refuses: a disk that fills at any byte, places the
// user may not write. (A file size limit is met by the real program, and a
// directory where the file should be is a case line.)
// Whatever happens the old file stays as it was, nothing is left beside it,
// the text stays modified and the user is told.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AnswerKeys.h"
#include "TempDir.h"
#include "tools/AtomicFile.h"
#include "files/AskFile.h"
#include "files/Save.h"
#include "screen/TermModes.h"

namespace lumo {
namespace {

using test::TempDir;

const char* const WriteError = "Ошибка записи или файл - только для чтения!";
const std::string OldBytes = "the old file\r\nas it was on disk\r\n";

// The disk under the write seam (a plain function, so its state is
// file-wide): it takes Budget more bytes, then fails with Errno; at most Step
// bytes a call; every third call interrupted when Interrupt is set. Step 0 is
// a write that makes no progress. Asked keeps the sizes the save asked for.
struct DiskModel {
  long Budget = LONG_MAX;
  int Errno = ENOSPC;
  unsigned long Step = ULONG_MAX;
  bool Interrupt = false;
  int Calls = 0;
  std::vector<unsigned long> Asked = {};
};
DiskModel Disk;

long ModelDisk(int fd, const void* data, unsigned long n) {
  Disk.Asked.push_back(n);
  if (Disk.Interrupt && ++Disk.Calls % 3 == 0) {
    errno = EINTR;
    return -1;
  }
  if (Disk.Budget <= 0) {
    errno = Disk.Errno;
    return -1;
  }
  long w = long(::write(fd, data, std::min({n, Disk.Step, static_cast<unsigned long>(Disk.Budget)})));
  if (w > 0) Disk.Budget -= w;
  return w;
}

struct SaveFaults : ::testing::Test, test::AskingEditor {
  SaveFaults() {
    Disk = {};  // a test that stopped early leaves its disk behind
    SetWriteSeam(ModelDisk);
  }
  ~SaveFaults() override { SetWriteSeam(nullptr); }
  TempDir D;
  std::string Path = D / "out.txt";
  Editor& E() { return *T; }

  void Bind(const std::string& name) { E().FileName = E().BoundName = name; }
  // Everything in the directory but the kept file.
  std::vector<std::string> Others(const std::string& dir, const std::string& keep) const {
    std::vector<std::string> out;
    for (auto& f : std::filesystem::directory_iterator(dir))
      if (f.path().filename() != keep) out.push_back(f.path().filename().string());
    return out;
  }
  // One save over the old file on this disk: either the whole text `want`
  // lands, or the save is refused and reported with the old file intact;
  // nothing is ever left beside it.
  void SaveOn(const DiskModel& disk, const std::string& want, bool fits, const std::string& what) {
    TempDir::Write(Path, OldBytes);
    Bind(Path);
    Disk = disk;
    E().Modified = true;
    Con.Shown.clear();
    SaveText(E());
    ASSERT_EQ(E().OpFailed, fits ? 0 : 1) << what;
    ASSERT_EQ(E().Modified, !fits) << what;
    ASSERT_EQ(Con.Saw(WriteError), !fits) << what << ": what the user was told";
    ASSERT_EQ(TempDir::Read(Path), fits ? want : OldBytes) << what;
    ASSERT_EQ(E().BoundName, Path) << what;
    ASSERT_EQ(Others(D.Path, "out.txt"), std::vector<std::string>{}) << what << ": left beside the file";
  }
};

// Whatever the disk does, the save is all or nothing: full at any byte (with
// either errno), at either side of a chunk boundary of a text larger than one
// write; short and interrupted writes are completed; a write that makes no
// progress fails rather than being retried for ever.
TEST_F(SaveFaults, EveryWriteBehaviourLeavesTheOldFileOrTheWholeText) {
  // Lines exercising what the save changes on the way out.
  T.SetLines({"first   ", std::string("zero\0\0 ", 7), "", Cp("кириллица в 866"),
              std::string("tab\tand\x01" "ctl", 11), "      ", "last"});
  const std::string mixed =
      "first\r\nzero\r\n\r\n" + Cp("кириллица в 866") + "\r\ntab\tand\x01" "ctl\r\n\r\nlast\r\n";
  const long size = long(mixed.size());
  for (int err : {ENOSPC, EIO})
    for (long at = 0; at < size; ++at)
      ASSERT_NO_FATAL_FAILURE(SaveOn({.Budget = at, .Errno = err}, mixed, false,
                                     "full after " + std::to_string(at) + ", errno " + std::to_string(err)));
  ASSERT_NO_FATAL_FAILURE(SaveOn({.Budget = size}, mixed, true, "room for exactly the text"));
  ASSERT_NO_FATAL_FAILURE(SaveOn({.Step = 7, .Interrupt = true}, mixed, true, "short and interrupted writes"));
  ASSERT_NO_FATAL_FAILURE(SaveOn({.Step = 0}, mixed, false, "no progress"));

  std::vector<std::string> lines;
  std::string big;
  for (int i = 0; i < 3000; ++i) {
    lines.push_back("line " + std::to_string(i) + std::string(size_t(i % 70), '.'));
    big += lines.back() + "\r\n";
  }
  T.SetLines(lines);
  ASSERT_NO_FATAL_FAILURE(SaveOn({}, big, true, "the large text"));
  ASSERT_GE(Disk.Asked.size(), 2u) << "the text should take more than one write";
  std::vector<long> points = {0, long(big.size()) - 1};
  long edge = 0;
  for (unsigned long c : Disk.Asked) {
    edge += long(c);
    for (long at : {edge - 1, edge, edge + 1})
      if (at >= 0 && at < long(big.size())) points.push_back(at);
  }
  for (long at : points)
    ASSERT_NO_FATAL_FAILURE(SaveOn({.Budget = at}, big, false, "full after " + std::to_string(at) + " of the large text"));
  ASSERT_NO_FATAL_FAILURE(SaveOn({}, big, true, "the next save"));
}

// Appending the line block is all or nothing as well: the block lands after
// the old bytes whole, or the old file stays as it was.
TEST_F(SaveFaults, AnAppendLeavesTheOldFileOrAllOfIt) {
  T.SetLines({"one", "two"});
  const std::string whole = OldBytes + "one\r\ntwo\r\n";
  for (long at = 0; at <= long(whole.size()); ++at) {
    TempDir::Write(Path, OldBytes);
    Disk = {.Budget = at};
    OpenFile f;
    const bool ok = f.OpenAppend(Path) && SaveLines(E(), 1, 2, f.Fd(), SaveAsIs) && f.Finish();
    f.Close();
    ASSERT_EQ(ok, at == long(whole.size())) << at;
    ASSERT_EQ(TempDir::Read(Path), ok ? whole : OldBytes) << at;
    ASSERT_EQ(Others(D.Path, "out.txt"), std::vector<std::string>{}) << at;
  }
}

// A hang-up ends the process from inside a save without unwinding it: every
// unfinished file must go then, and the files cancelled that way stay usable.
TEST_F(SaveFaults, CancellingAllOpenFilesRemovesEveryUnfinishedOne) {
  TempDir::Write(Path, OldBytes);
  auto a = std::make_unique<AtomicFile>();
  AtomicFile b, c;
  ASSERT_TRUE(a->Open(Path));
  ASSERT_TRUE(b.Open(D / "new.txt"));
  ASSERT_TRUE(c.Open(D / "done.txt"));
  ASSERT_EQ(::write(c.Fd(), "x", 1), 1);
  ASSERT_TRUE(c.Commit());
  a.reset();  // cancelled the usual way, before the others
  ASSERT_EQ(::write(b.Fd(), "part", 4), 4);
  EXPECT_EQ(Others(D.Path, "out.txt").size(), 2u) << "one unfinished file and the committed one";
  AtomicFile::CancelAll();
  EXPECT_EQ(Others(D.Path, "out.txt"), std::vector<std::string>{"done.txt"});
  EXPECT_EQ(TempDir::Read(Path), OldBytes);
  EXPECT_EQ(b.Fd(), -1);
  EXPECT_FALSE(b.Commit());
  // Opened again after that, a file is written as before.
  ASSERT_TRUE(b.Open(Path));
  ASSERT_EQ(::write(b.Fd(), "new", 3), 3);
  EXPECT_TRUE(b.Commit());
  EXPECT_EQ(TempDir::Read(Path), "new");
  AtomicFile::CancelAll();
  EXPECT_EQ(TempDir::Read(Path), "new");
}

// Runs the save in a child process that `prepare` first restricts (it
// returns false when it cannot), and gives back what the child saw: 100 when
// it could not be restricted, -1 when it did not exit, else bits for a
// failed save, a modified text, the user told and the same binding.
int SaveInChild(test::AskingEditor& a, const std::function<bool()>& prepare, std::string& how) {
  const std::string bound = a.T->BoundName;
  pid_t child = fork();
  if (child == 0) {
    if (!prepare()) _exit(100);
    SaveText(*a.T);
    Editor& e = *a.T;
    _exit((e.OpFailed == 1 ? 1 : 0) | (e.Modified ? 2 : 0) | (a.Con.Saw(WriteError) ? 4 : 0) |
          (e.BoundName == bound ? 8 : 0));
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  if (WIFSIGNALED(status)) how = std::string("the saving process was killed by ") + strsignal(WTERMSIG(status));
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

constexpr int AllReported = 1 | 2 | 4 | 8;

TEST(SignalSetup, TheFileSizeSignalIsIgnoredOnlyWhileTheEditorRuns) {
  struct sigaction mine {}, old {}, now {};
  mine.sa_handler = [](int) {};
  sigemptyset(&mine.sa_mask);
  ASSERT_EQ(sigaction(SIGXFSZ, &mine, &old), 0);
  InstallSignalHandlers();
  sigaction(SIGXFSZ, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_IGN);
  RemoveSignalHandlers();
  sigaction(SIGXFSZ, nullptr, &now);
  EXPECT_EQ(now.sa_handler, mine.sa_handler) << "the disposition found is not given back";
  sigaction(SIGXFSZ, &old, nullptr);
}

// Someone who may not replace the file, because of the file (the directory
// would take a new one) or of the directory: the save is refused and
// reported, the old bytes stay and nothing is left beside them. The child
// gives up root first, when the tests run as root, and reaches the files
// through the test's private directory.
TEST_F(SaveFaults, AFileTheUserMayNotReplaceStaysAsItWas) {
  const std::string dir = D / "dir", file = D / "dir/f.txt";
  ASSERT_EQ(chmod(D.Path.c_str(), 0755), 0);
  ASSERT_TRUE(std::filesystem::create_directory(dir));
  for (auto [dirMode, fileMode] : {std::pair<mode_t, mode_t>{0777, 0444}, {0555, 0666}}) {
    std::filesystem::remove(file);  // the last round's may be read-only
    TempDir::Write(file, OldBytes);
    ASSERT_EQ(chmod(file.c_str(), fileMode), 0);
    ASSERT_EQ(chmod(dir.c_str(), dirMode), 0);
    T.SetLines({"changed"});
    Bind(file);
    E().Modified = true;
    std::string how;
    int r = SaveInChild(*this, [] {
      return geteuid() != 0 || (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0);
    }, how);
    ASSERT_NE(r, 100) << "cannot drop root";
    EXPECT_EQ(r, AllReported) << how << ", directory " << dirMode << " file " << fileMode;
    EXPECT_EQ(TempDir::Read(file), OldBytes);
    chmod(dir.c_str(), 0755);
    EXPECT_EQ(Others(dir, "f.txt"), std::vector<std::string>{});
  }
}

}  // namespace
}  // namespace lumo

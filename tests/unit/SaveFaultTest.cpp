// Saving when the system refuses: a disk that fills at any byte, a file size
// limit, places the user may not write, a directory where the file should be.
// Whatever happens the old file stays as it was, nothing is left beside it,
// the text stays modified and the user is told.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "AnswerKeys.h"
#include "TempDir.h"
#include "files/AskFile.h"
#include "tools/AtomicFile.h"
#include "files/Save.h"
#include "screen/TermModes.h"

namespace lumo {
namespace {

using test::Answer;
using test::EscKey;
using test::TempDir;

const char* const WriteError = "Ошибка записи или файл - только для чтения!";
const std::string OldBytes = "the old file\r\nas it was on disk\r\n";

// The write seam takes plain functions, so their state is file-wide.
long Budget = 0;         // bytes the disk still takes
int FaultErrno = ENOSPC;
std::vector<unsigned long> Chunks;  // sizes the save asked to write, in order

// A disk that fills up: a write that partly fits returns what fitted, the
// next one fails.
long FillingDisk(int fd, const void* data, unsigned long n) {
  if (Budget <= 0) {
    errno = FaultErrno;
    return -1;
  }
  unsigned long k = n < static_cast<unsigned long>(Budget) ? n : static_cast<unsigned long>(Budget);
  long w = long(::write(fd, data, k));
  if (w > 0) Budget -= w;
  return w;
}

long Recording(int fd, const void* data, unsigned long n) {
  Chunks.push_back(n);
  return long(::write(fd, data, n));
}

// Slow devices and signals: at most 7 bytes a call, and every third call
// interrupted before it wrote anything.
int Calls = 0;
long Dribbling(int fd, const void* data, unsigned long n) {
  if (++Calls % 3 == 0) {
    errno = EINTR;
    return -1;
  }
  return long(::write(fd, data, n < 7 ? n : 7));
}

long NoProgress(int, const void*, unsigned long) { return 0; }

struct SaveFaults : ::testing::Test, test::AskingEditor {
  ~SaveFaults() override { SetWriteSeam(nullptr); }
  TempDir D;
  std::string Path = D / "out.txt";
  Editor& E() { return *T; }

  void Bind(const std::string& name) { E().FileName = E().BoundName = name; }
  // Everything in the directory but the old file.
  // A save on a disk that fills after `at` bytes: refused and reported, the
  // old file intact and nothing left beside it.
  void FailingSave(long at, const std::string& what) {
    E().Modified = true;
    Budget = at;
    Con.Shown.clear();
    SaveText(E());
    ExpectFailureReported(what);
    ASSERT_EQ(TempDir::Read(Path), OldBytes) << what;
    ASSERT_EQ(Others(D.Path, "out.txt"), std::vector<std::string>{}) << what << ": left beside the file";
  }
  std::vector<std::string> Others(const std::string& dir, const std::string& keep) const {
    std::vector<std::string> out;
    for (auto& f : std::filesystem::directory_iterator(dir))
      if (f.path().filename() != keep) out.push_back(f.path().filename().string());
    return out;
  }
  // A text whose lines exercise what the save changes on the way out.
  void MixedText() {
    T.SetLines({"first   ", std::string("zero\0\0 ", 7), "", Cp("кириллица в 866"),
                std::string("tab\tand\x01" "ctl", 11), "      ", "last"});
  }
  const std::string MixedBytes =
      "first\r\nzero\r\n\r\n" + Cp("кириллица в 866") + "\r\ntab\tand\x01" "ctl\r\n\r\nlast\r\n";

  void ExpectFailureReported(const std::string& what) {
    EXPECT_EQ(E().OpFailed, 1) << what;
    EXPECT_TRUE(E().Modified) << what;
    EXPECT_TRUE(Con.Saw(WriteError)) << what << ": the user was not told";
  }
};

TEST_F(SaveFaults, ADiskThatFillsAtAnyByteLeavesTheOldFile) {
  TempDir::Write(Path, OldBytes);
  MixedText();
  Bind(Path);
  const long size = long(MixedBytes.size());
  SetWriteSeam(FillingDisk);
  for (FaultErrno = ENOSPC; ; FaultErrno = EIO) {
    for (long at = 0; at < size; ++at) {
      const std::string what = "fails after " + std::to_string(at) + " bytes, errno " + std::to_string(FaultErrno);
      ASSERT_NO_FATAL_FAILURE(FailingSave(at, what));
      ASSERT_EQ(E().BoundName, Path) << what;
    }
    if (FaultErrno == EIO) break;
  }
  // Room for exactly the text is enough.
  Budget = size;
  Con.Shown.clear();
  SaveText(E());
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_FALSE(E().Modified);
  EXPECT_FALSE(Con.Saw(WriteError));
  EXPECT_EQ(TempDir::Read(Path), MixedBytes);
  EXPECT_EQ(Others(D.Path, "out.txt"), std::vector<std::string>{});
}

// A text larger than one write: the save goes out in several chunks, and a
// disk filling at either side of a chunk boundary is no different.
TEST_F(SaveFaults, ALargeTextFailsAtEveryChunkBoundary) {
  TempDir::Write(Path, OldBytes);
  std::vector<std::string> lines;
  std::string want;
  for (int i = 0; i < 3000; ++i) {
    std::string l = "line " + std::to_string(i) + std::string(size_t(i % 70), '.');
    lines.push_back(l);
    want += l + "\r\n";
  }
  T.SetLines(lines);
  Bind(D / "probe.txt");
  E().Modified = true;
  Chunks.clear();
  SetWriteSeam(Recording);
  SaveText(E());
  ASSERT_EQ(TempDir::Read(D / "probe.txt"), want);
  ASSERT_GE(Chunks.size(), 2u) << "the text should take more than one write";
  std::filesystem::remove(D / "probe.txt");

  std::vector<long> points = {0, long(want.size()) - 1};
  long edge = 0;
  for (unsigned long c : Chunks) {
    edge += long(c);
    for (long d : {-1L, 0L, 1L})
      if (edge + d >= 0 && edge + d < long(want.size())) points.push_back(edge + d);
  }
  Bind(Path);
  SetWriteSeam(FillingDisk);
  FaultErrno = ENOSPC;
  for (long at : points) {
    const std::string what = "fails after " + std::to_string(at) + " of " + std::to_string(want.size());
    ASSERT_NO_FATAL_FAILURE(FailingSave(at, what));
  }
  SetWriteSeam(nullptr);
  SaveText(E());
  EXPECT_FALSE(E().Modified);
  EXPECT_EQ(TempDir::Read(Path), want);
}

// Short writes and interrupted writes are not failures; a write that makes
// no progress is one, and must not be retried for ever.
TEST_F(SaveFaults, ShortAndInterruptedWritesAreCompletedAndNoProgressFails) {
  TempDir::Write(Path, OldBytes);
  MixedText();
  Bind(Path);
  E().Modified = true;
  SetWriteSeam(Dribbling);
  Calls = 0;
  SaveText(E());
  EXPECT_EQ(E().OpFailed, 0);
  EXPECT_FALSE(E().Modified);
  EXPECT_EQ(TempDir::Read(Path), MixedBytes);

  TempDir::Write(Path, OldBytes);
  SetWriteSeam(NoProgress);
  ASSERT_NO_FATAL_FAILURE(FailingSave(0, "no progress"));
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

// What a child reports to the test through its exit status.
enum Report { ReportFailed = 1, ReportModified = 2, ReportTold = 4, ReportSameBinding = 8 };

int Outcome(pid_t child, std::string& how) {
  int status = 0;
  if (waitpid(child, &status, 0) != child) {
    how = "lost the child";
    return -1;
  }
  if (WIFSIGNALED(status)) {
    how = std::string("the saving process was killed by ") + strsignal(WTERMSIG(status));
    return -1;
  }
  return WEXITSTATUS(status);
}

int ReportOf(Editor& e, const test::RecordingConsole& con, const std::string& bound) {
  return (e.OpFailed == 1 ? ReportFailed : 0) | (e.Modified ? ReportModified : 0) |
         (con.Saw(WriteError) ? ReportTold : 0) | (e.BoundName == bound ? ReportSameBinding : 0);
}

constexpr int AllReported = ReportFailed | ReportModified | ReportTold | ReportSameBinding;

// A file size limit below the text's size. The process that hits the limit
// gets SIGXFSZ, which would end the editor and lose the text: while the
// editor holds the terminal it must see the failed write instead.
TEST_F(SaveFaults, AFileSizeLimitFailsTheSaveInsteadOfKillingTheEditor) {
  TempDir::Write(Path, OldBytes);
  std::vector<std::string> lines(200, std::string(60, 'x'));
  T.SetLines(lines);
  Bind(Path);
  E().Modified = true;
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstallSignalHandlers();  // what the editor does when it takes the terminal
    struct rlimit lim {};
    getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = 4000;  // the text is 200 * 62 bytes
    if (setrlimit(RLIMIT_FSIZE, &lim) != 0) _exit(100);
    SaveText(E());
    int r = ReportOf(E(), Con, Path);
    // The emergency copy meets the same limit and must not leave a part.
    if (!WriteEmergencyCopy(E()).empty()) r |= 16;
    _exit(r);
  }
  std::string how;
  int r = Outcome(child, how);
  ASSERT_NE(r, 100) << "cannot lower the file size limit";
  EXPECT_EQ(r, AllReported) << how;
  EXPECT_EQ(TempDir::Read(Path), OldBytes);
  EXPECT_EQ(Others(D.Path, "out.txt"), std::vector<std::string>{});
}

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

// Permissions, checked by a process that is subject to them: when the tests
// run as root the child gives up root first.
struct Unprivileged : SaveFaults {
  void SetUp() override {
    // The child must reach the files through the test's private directory.
    ASSERT_EQ(chmod(D.Path.c_str(), 0755), 0);
    ASSERT_TRUE(std::filesystem::create_directory(Dir));
  }
  // Runs the save in a child without write permission to what was set up;
  // returns its report.
  int SaveAsSomeoneElse(std::string& how) {
    pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) {
      if (geteuid() == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(100);
      }
      SaveText(E());
      _exit(ReportOf(E(), Con, E().BoundName));
    }
    return Outcome(child, how);
  }
  std::string Dir = D / "dir";
  std::string File = D / "dir/f.txt";
};

// Someone who may not replace the file, because of the file (the directory
// would take a new one) or of the directory: the save is refused and
// reported, the old bytes stay and nothing is left beside them.
TEST_F(Unprivileged, AFileTheUserMayNotReplaceStaysAsItWas) {
  for (auto [dirMode, fileMode] : {std::pair<mode_t, mode_t>{0777, 0444}, {0555, 0666}}) {
    std::filesystem::remove(File);  // the last round's may be read-only
    TempDir::Write(File, OldBytes);
    ASSERT_EQ(chmod(File.c_str(), fileMode), 0);
    ASSERT_EQ(chmod(Dir.c_str(), dirMode), 0);
    T.SetLines({"changed"});
    Bind(File);
    E().Modified = true;
    std::string how;
    int r = SaveAsSomeoneElse(how);
    ASSERT_NE(r, 100) << "cannot drop root";
    EXPECT_EQ(r, AllReported) << how << ", directory " << dirMode << " file " << fileMode;
    EXPECT_EQ(TempDir::Read(File), OldBytes);
    chmod(Dir.c_str(), 0755);
    EXPECT_EQ(Others(Dir, "f.txt"), std::vector<std::string>{});
  }
}

// A console that also keeps what the message row showed whenever a key was
// read, so a test sees which prompt took the answer.
struct PromptConsole : test::RecordingConsole {
  using RecordingConsole::RecordingConsole;
  KeyCode ReadKey() override {
    Prompts.push_back(Text(2));
    return RecordingConsole::ReadKey();
  }
  bool Asked(std::string_view utf8) const { return test::AnyStartsWith(Prompts, utf8); }
  std::vector<std::string> Prompts;
};

TEST(SaveOverADirectory, AsksForANameAndEscKeepsTheTextModified) {
  TempDir d;
  PromptConsole con;
  test::TestEditor t;
  t->Con = &con;
  t.SetLines({"keep me"});
  const std::string dir = d / "sub";
  std::filesystem::create_directory(dir);
  t->FileName = t->BoundName = dir;
  t->Modified = true;

  con.Keys.push_back(EscKey);
  SaveText(*t);
  EXPECT_TRUE(con.Saw(WriteError));
  EXPECT_TRUE(con.Asked("Введите имя файла или Esc: ")) << "no name was asked for";
  EXPECT_EQ(t->OpFailed, 1);
  EXPECT_TRUE(t->Modified);
  EXPECT_EQ(t->BoundName, dir);
  EXPECT_TRUE(std::filesystem::is_directory(dir));
  EXPECT_TRUE(std::filesystem::is_empty(dir));

  // The name offered is the directory's; a good answer replaces it and saves.
  con.Prompts.clear();
  con.Shown.clear();
  con.Keys.push_back(0x0004250B);  // Ctrl+K clears the offered name
  Answer(con, d / "good.txt");
  SaveText(*t);
  EXPECT_TRUE(con.Asked("Введите имя файла или Esc: "));
  EXPECT_EQ(t->OpFailed, 0);
  EXPECT_FALSE(t->Modified);
  EXPECT_EQ(t->BoundName, d / "good.txt");
  EXPECT_EQ(TempDir::Read(d / "good.txt"), "keep me\r\n");
  EXPECT_TRUE(std::filesystem::is_empty(dir));
}

}  // namespace
}  // namespace lumo

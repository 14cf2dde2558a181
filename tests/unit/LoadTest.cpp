// Loading the file named at start-up: line ends, long lines, the numeric
// extension, files that are not there or cannot be read, and short memory.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "AnswerKeys.h"
#include "TempDir.h"
#include "TestEditor.h"
#include "app/Options.h"
#include "files/Load.h"

namespace lumo {
namespace {

using test::TempDir;
using test::TestEditor;

struct Loaded : test::AskingEditor {
  LoadResult Result;
  Loaded(const TempDir& d, const std::string& name, const std::string& bytes, size_t budget = 0) {
    std::string path = d / name;
    TempDir::Write(path, bytes);
    if (budget) T->BudgetLimit = T->BudgetUsed + budget;
    T->FileName = path;
    ApplyExtension(*T, path, 80);
    Con.Keys.push_back(keys::Esc);  // ends any waiting message at once
    Result = LoadStartupFile(*T);
  }
};

// Every line end splits lines (a CR before a CR LF ends one, and so does the
// CR after an LF); Ctrl+Z at a line's start ends the text, inside a line it
// is a byte like any other.
TEST(Load, LineEndsAndCtrlZ) {
  TempDir d;
  std::string binary;
  for (int i = 0; i < 256; ++i)
    if (i != '\r' && i != '\n' && i != 26) binary += char(i);
  const std::vector<std::pair<std::string, std::vector<std::string>>> files = {
      {"one\r\ntwo\nthree\rfour\r", {"one", "two", "three", "four"}},
      {"a\r\r\nb\n\rc", {"a", "", "b", "", "c"}},
      {"a\r\nb\x1a" "c\r\nd\r\n\x1a" "e\r\nf\r\n", {"a", "b\x1a" "c", "d"}},
      {binary, {binary}}};
  for (const auto& [bytes, lines] : files) {
    Loaded l(d, "f.txt", bytes);
    ASSERT_EQ(l.Result, LoadResult::Loaded);
    std::vector<std::string> got;
    for (int i = 1; i <= l.T->LineCount; ++i) got.push_back(l.T.Line(i));
    EXPECT_EQ(got, lines) << bytes;
    EXPECT_FALSE(l.T->Modified);
  }
}

// Lines keep their first 255 bytes and are counted; a numeric extension sets
// the margins and so the least capacity.
TEST(Load, LongLinesAndTheNumericExtension) {
  TempDir d;
  std::string longLine(300, 'x');
  longLine[254] = 'y';
  Loaded l(d, "letter.72", "short\r\n" + longLine + "\r\n" + std::string(100, 'a') + "\r\n");
  ASSERT_EQ(l.T->LineCount, 3);
  EXPECT_EQ(l.T->RightMargin, 72);
  EXPECT_EQ(l.T->FormatWidth, 72);
  EXPECT_EQ(Capacity(*l.T, 1), 72);
  EXPECT_EQ(Capacity(*l.T, 2), 255);
  EXPECT_EQ(l.T.Line(2), longLine.substr(0, 255));
  EXPECT_EQ(l.T.Line(3), std::string(100, 'a'));
  EXPECT_EQ(Capacity(*l.T, 3), 100);
  EXPECT_EQ(l.T->CutLines, 1);
}

TEST(Load, EmptyMissingAndBadFiles) {
  TempDir d;
  Loaded empty(d, "empty.txt", "");
  EXPECT_EQ(empty.T->LineCount, 1);
  EXPECT_EQ(Capacity(*empty.T, 1), 254);

  TestEditor t;
  t->FileName = d / "new.txt";
  t.Con.Keys.push_back(keys::Esc);
  EXPECT_EQ(LoadStartupFile(*t), LoadResult::NewFile);
  EXPECT_EQ(t->LineCount, 1);
  struct stat st {};
  EXPECT_EQ(stat((d / "new.txt").c_str(), &st), 0);

  TestEditor dir;
  dir->FileName = d.Path;
  EXPECT_EQ(LoadStartupFile(*dir), LoadResult::BadName);
  EXPECT_TRUE(dir->FileName.empty());
  EXPECT_EQ(dir->LineCount, 1);

  // A file we may not read is reported, and never created over.
  if (geteuid() != 0) {
    std::string locked = d / "locked.txt";
    TempDir::Write(locked, "secret\r\n");
    chmod(locked.c_str(), 0);
    TestEditor l;
    l->FileName = locked;
    EXPECT_EQ(LoadStartupFile(*l), LoadResult::BadName);
    chmod(locked.c_str(), 0600);
    EXPECT_EQ(TempDir::Read(locked), "secret\r\n");
  }
}

TEST(Load, TooManyLinesKeepsTheFirst24575) {
  TempDir d;
  std::string bytes;
  for (int i = 0; i < MaxLines + 10; ++i) bytes += "l\n";
  Loaded l(d, "many.txt", bytes);
  EXPECT_EQ(l.Result, LoadResult::Loaded);
  EXPECT_EQ(l.T->LineCount, MaxLines);
  EXPECT_EQ(l.T->OpFailed, 1);
  EXPECT_TRUE(l.Con.Saw("СЛИШКОМ МНОГО СТРОК! НЕ ЗАПИСЫВАЙТЕ ЭТОТ ФАЙЛ!"));
}

TEST(Load, ShortMemoryReloadsCompactlyThenFails) {
  TempDir d;
  std::string bytes;
  for (int i = 0; i < 100; ++i) bytes += "line of text\r\n";
  // 100 lines of 254 bytes do not fit, 100 lines of 13 do.
  Loaded l(d, "f.txt", bytes, 100 * 14 + 500);
  EXPECT_EQ(l.Result, LoadResult::Loaded);
  EXPECT_TRUE(l.T->CompactLoad);
  EXPECT_EQ(l.T->RightMargin, 7);
  EXPECT_EQ(l.T->LineCount, 100);
  EXPECT_EQ(Capacity(*l.T, 5), 12);
  EXPECT_FALSE(l.T->LengthLimit);  // toggled

  Loaded none(d, "g.txt", bytes, 100 * 5);
  EXPECT_EQ(none.Result, LoadResult::OutOfMemory);
}

}  // namespace
}  // namespace lumo

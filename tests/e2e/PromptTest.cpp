// The one-line answer editor, driven through the go-to-line prompt (which
// keeps a rejected answer and asks again, so a second round starts from an
// untouched answer), and the answer ring's file, which is read at start and
// written back at exit.
#include <sys/stat.h>

#include <cctype>
#include <filesystem>
#include <fstream>

#include "EditingFixture.h"
#include "Keys.h"

namespace lumo::e2e {
namespace {

const std::string GoToTitle = "     Введите номер строки:";

std::string NumberedLines(int n) {
  std::string s;
  for (int i = 1; i <= n; ++i) s += "line " + std::to_string(i) + "\r\n";
  return s;
}

class PromptTest : public EditingTest {
 protected:
  void SetUp() override { ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", NumberedLines(40))); }

  // F4, a first answer that is no number, Enter: the prompt asks again with
  // that answer, untouched, and the cursor at its start.
  void AskAgainWith(const std::string& first) {
    S.Keys("<F4>");
    ASSERT_EQ(S.WaitScreen({{2, 1, GoToTitle}}), "");
    S.Keys(first);
    ASSERT_EQ(S.WaitScreen({{2, 28, first + " "}}), "");
    ASSERT_TRUE(S.WaitFor([&] { return S.CursorCol() == 28 + int(first.size()); }));
    S.Keys("<Enter>");
    // The cursor back at the field's start tells the second round from the first.
    ASSERT_TRUE(S.WaitFor([&] { return S.CursorRow() == 2 && S.CursorCol() == 28; }))
        << "no second round; cursor at " << S.CursorRow() << "," << S.CursorCol();
    ASSERT_EQ(S.WaitScreen({{2, 1, GoToTitle}, {2, 28, first + " "}, {2, 28, "", 0x5A, int(first.size())}}), "");
  }

  // The cursor comes after the text it follows, so it is waited for too.
  void ExpectCursorAt(int col) {
    EXPECT_TRUE(S.WaitFor([&] { return S.CursorRow() == 2 && S.CursorCol() == col; }))
        << "cursor at " << S.CursorRow() << "," << S.CursorCol() << ", not 2," << col;
  }

  // The answer on the screen, then Enter must take the cursor to that line.
  void ExpectAnswerGoesTo(const std::string& answer, int cursorCol) {
    EXPECT_EQ(S.WaitScreen({{2, 28, answer + "   "}}), "");
    ExpectCursorAt(cursorCol);
    S.Keys("<Enter>");
    EXPECT_EQ(S.WaitScreen({{1, 22, "line=" + answer + " "}, {3, 1, "line " + answer + " "}}), "");
  }
};

TEST_F(PromptTest, TypingIntoAFreshAnswerWithBackspace) {
  S.Keys("<F4>");
  ASSERT_EQ(S.WaitScreen({{2, 1, GoToTitle}}), "");
  S.Keys("3x<BS>5");
  ExpectAnswerGoesTo("35", 30);
}

TEST_F(PromptTest, TheFirstCharacterReplacesAnUntouchedAnswer) {
  ASSERT_NO_FATAL_FAILURE(AskAgainWith("abc"));
  S.Keys("7");
  ExpectAnswerGoesTo("7", 29);
}

TEST_F(PromptTest, HomeThenTypingInsertsAtTheStart) {
  ASSERT_NO_FATAL_FAILURE(AskAgainWith("5x"));
  S.Keys("<Home>1");
  EXPECT_EQ(S.WaitScreen({{2, 28, "15x "}}), "");
  ExpectCursorAt(29);
  S.Keys("<End>");
  ExpectCursorAt(31);
  S.Keys("<BS>");
  ExpectAnswerGoesTo("15", 30);
}

TEST_F(PromptTest, EndThenTypingAppends) {
  ASSERT_NO_FATAL_FAILURE(AskAgainWith("2y"));
  // Backspace right after End removes the last character; typing appends.
  S.Keys("<End><BS>0");
  ExpectAnswerGoesTo("20", 30);
}

TEST_F(PromptTest, LeftAtTheStartTouchesTheAnswerAndDelDeletesUnderTheCursor) {
  ASSERT_NO_FATAL_FAILURE(AskAgainWith("q3"));
  S.Keys("<Left>1");
  EXPECT_EQ(S.WaitScreen({{2, 28, "1q3 "}}), "");
  ExpectCursorAt(29);
  S.Keys("<Del>");
  ExpectAnswerGoesTo("13", 29);
}

TEST_F(PromptTest, RightThenBackspaceDeletesTheFirstCharacter) {
  ASSERT_NO_FATAL_FAILURE(AskAgainWith("x12"));
  S.Keys("<Right>");
  ExpectCursorAt(29);
  S.Keys("<BS>");
  ExpectAnswerGoesTo("12", 28);
}

TEST_F(PromptTest, DeleteAtTheEndAndBackspaceAtTheStartChangeNothing) {
  ASSERT_NO_FATAL_FAILURE(AskAgainWith("9z"));
  S.Keys("<End><Del><Del>");
  EXPECT_EQ(S.WaitScreen({{2, 28, "9z "}}), "");
  ExpectCursorAt(30);
  S.Keys("<BS><Home><BS><BS>");
  EXPECT_EQ(S.WaitScreen({{2, 28, "9  "}}), "");
  ExpectCursorAt(28);
  // Touched by Home: a typed character is inserted, not a replacement.
  S.Keys("<Right><Left>3");
  ExpectAnswerGoesTo("39", 29);
}

TEST_F(PromptTest, OnEightyColumnsTheAnswerHoldsFiftyThreeCharacters) {
  S.Keys("<F4>");
  ASSERT_EQ(S.WaitScreen({{2, 1, GoToTitle}}), "");
  S.Keys(std::string(53, '1'));
  ASSERT_EQ(S.WaitScreen({{2, 28, std::string(53, '1')}}), "");
  S.Keys("2222<Home><Del><End>");
  // Had the 2s gone in, the line would still be full after the deletion.
  EXPECT_EQ(S.WaitScreen({{2, 28, std::string(52, '1') + " "}}), "");
  S.Keys("<Esc>");
  EXPECT_EQ(S.WaitScreen({{2, 1, "░░░░"}, {1, 22, "line=1 "}}), "");
}

// The history file.

std::string HistoryPath(const Session& s) { return s.StateDir() + "/lumo/LumoSS"; }

void WriteHistory(const Session& s, const std::string& bytes) {
  std::filesystem::create_directories(s.StateDir() + "/lumo");
  std::ofstream f(HistoryPath(s), std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), std::streamsize(bytes.size()));
  ASSERT_TRUE(f.good()) << "cannot write the history file";
}

// What is wrong with a written history file, empty when nothing: 17 lines
// ended by CR LF, 16 slots of at most 53 bytes and a signed byte in decimal.
std::string FormatFaults(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = bytes.find("\r\n", at);
    if (end == std::string::npos) return "the bytes after line " + std::to_string(lines.size()) + " lack CR LF";
    lines.push_back(bytes.substr(at, end - at));
    at = end + 2;
  }
  if (lines.size() != 17) return std::to_string(lines.size()) + " lines, not 17";
  for (size_t k = 0; k < 16; ++k) {
    if (lines[k].size() > 53) return "line " + std::to_string(k + 1) + " is longer than 53 bytes";
    if (lines[k].find_first_of("\r\n") != std::string::npos) return "line " + std::to_string(k + 1) + " holds CR or LF";
  }
  const std::string& last = lines[16];
  size_t digits = !last.empty() && last[0] == '-' ? 1 : 0;
  if (digits == last.size()) return "line 17 is no number";
  for (size_t i = digits; i < last.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(last[i]))) return "line 17 is no number: " + last;
  int value = std::stoi(last);
  if (value < -128 || value > 127) return "line 17 is no signed byte: " + last;
  return "";
}

class HistoryFileTest : public EditingTest {
 protected:
  // A run that uses no prompt: the ring goes out as it came in.
  void RunOnce() {
    ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
    S.Keys("<Esc>");
    ASSERT_EQ(Ended().Code, 0);
  }
};

TEST_F(HistoryFileTest, AFullFileIsWrittenBackSlotForSlot) {
  // Slots of different lengths, an empty one, a Cyrillic one (code page 866
  // in the file) and one of exactly 53 bytes; line 17 the search case.
  std::vector<std::string> lines;
  for (int k = 1; k <= 16; ++k) lines.push_back("answer " + std::to_string(k));
  lines[3] = "";
  lines[6] = "\xAF\xE0\xA8\xA2\xA5\xE2";  // "привет"
  lines[9] = std::string(53, 'z');
  lines.push_back("-15");
  const std::string file = Lines(lines);
  ASSERT_NO_FATAL_FAILURE(WriteHistory(S, file));
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  // Read at start, so gone from disk the file must come back whole at exit.
  ASSERT_TRUE(std::filesystem::remove(HistoryPath(S)));
  S.Keys("<Esc>");
  ASSERT_EQ(Ended().Code, 0);
  EXPECT_EQ(Escaped(S.ReadFile(HistoryPath(S))), Escaped(file));
}

TEST_F(HistoryFileTest, ReadingIsForgivingAndWritingCanonical) {
  // LF alone and CR alone end lines too; a long line keeps 53 bytes.
  std::string in;
  for (int k = 1; k <= 16; ++k) {
    in += k == 2 ? std::string(70, 'L') : "s" + std::to_string(k);
    in += k % 2 ? "\n" : "\r";
  }
  in += "15\n";
  std::vector<std::string> want;
  for (int k = 1; k <= 16; ++k) want.push_back(k == 2 ? std::string(53, 'L') : "s" + std::to_string(k));
  want.push_back("15");
  ASSERT_NO_FATAL_FAILURE(WriteHistory(S, in));
  ASSERT_NO_FATAL_FAILURE(RunOnce());
  EXPECT_EQ(Escaped(S.ReadFile(HistoryPath(S))), Escaped(Lines(want)));
}

TEST_F(HistoryFileTest, AShortFileFillsTheFirstSlotsAndTheRestStayEmpty) {
  ASSERT_NO_FATAL_FAILURE(WriteHistory(S, "abc"));
  ASSERT_NO_FATAL_FAILURE(RunOnce());
  std::optional<std::string> out = S.ReadFile(HistoryPath(S));
  ASSERT_TRUE(out) << "no history file written at exit";
  EXPECT_EQ(FormatFaults(*out), "") << Escaped(out);
  std::string slots = "abc\r\n";
  for (int k = 2; k <= 16; ++k) slots += "\r\n";
  EXPECT_EQ(Escaped(out->substr(0, slots.size())), Escaped(slots));
}

TEST_F(HistoryFileTest, AMissingFileIsCreatedAtExitInAPrivateDirectory) {
  ASSERT_NO_FATAL_FAILURE(RunOnce());
  std::optional<std::string> out = S.ReadFile(HistoryPath(S));
  ASSERT_TRUE(out) << "no history file written at exit";
  EXPECT_EQ(FormatFaults(*out), "") << Escaped(out);
  std::string emptySlots;
  for (int k = 0; k < 16; ++k) emptySlots += "\r\n";
  EXPECT_EQ(Escaped(out->substr(0, emptySlots.size())), Escaped(emptySlots));
  struct stat st {};
  ASSERT_EQ(stat((S.StateDir() + "/lumo").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST_F(HistoryFileTest, BinaryGarbageDoesNotHurt) {
  std::string junk;
  for (int i = 0; i < 3000; ++i) junk += char((i * 97 + 13) % 256);
  junk += std::string(5000, '\xFF');  // a line far longer than a slot
  junk += std::string("\x1a\x00\x1b[2J", 6);
  ASSERT_NO_FATAL_FAILURE(WriteHistory(S, junk));
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "abc\r\n"));
  EXPECT_EQ(S.WaitScreen({{3, 1, "abc "}, {1, 22, "line=1 "}}), "");
  S.Keys("<Esc>");
  ExitStatus e = Ended();
  EXPECT_TRUE(e.Exited);
  EXPECT_EQ(e.Code, 0);
  std::optional<std::string> out = S.ReadFile(HistoryPath(S));
  ASSERT_TRUE(out) << "no history file written at exit";
  EXPECT_EQ(FormatFaults(*out), "") << Escaped(out);
}

}  // namespace
}  // namespace lumo::e2e

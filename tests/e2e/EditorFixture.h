// What every editor test shares: a session, the screen dump and sanitizer
// reports on failure, the checks for "the editor is up" and "the terminal was
// given back"; for the tests that edit a text, a file opened quietly (no
// credits, no cursor cross, so stored colours and status cells show alone),
// F2 with a wait for the bytes on disk, and the end of the run.
#pragma once
#include <gtest/gtest.h>
#include <termios.h>

#include <string>
#include <vector>

#include "Harness.h"

namespace lumo::e2e {

// The status row is up once its "line=" field is drawn.
inline bool EditorUp(const Session& s) { return s.Text(1, 22, 5) == "line="; }

class EditorTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(S.SanitizerReports(), "") << "the program reported memory or undefined-behaviour faults";
    if (HasFailure()) std::cerr << S.Dump();
  }

  // Starts the editor and waits for its status row.
  void Open(std::vector<std::string> args, int cols = 80, int rows = 25,
            std::vector<std::pair<std::string, std::string>> env = {}) {
    S.StartEditor(std::move(args), cols, rows, std::move(env));
    ASSERT_TRUE(S.WaitFor([&] { return EditorUp(S); })) << "the editor did not come up";
  }

  // Cooked mode and the main screen again, the cursor shown.
  void ExpectTerminalRestored() {
    auto modes = S.TtyModes();
    ASSERT_TRUE(modes) << "the pty cannot be read";
    EXPECT_TRUE(modes->c_lflag & ICANON) << "left without canonical input";
    EXPECT_TRUE(modes->c_lflag & ECHO) << "left without echo";
    EXPECT_TRUE(modes->c_lflag & ISIG) << "left without signal keys";
    EXPECT_FALSE(S.AltScreen()) << "the alternate screen was not left";
    EXPECT_TRUE(S.CursorVisible());
  }

  std::string StateFile(std::string_view name) const { return S.StateDir() + "/lumo/" + std::string(name); }

  void OpenText(const std::string& name, const std::string& bytes) {
    S.WriteFile(name, bytes);
    ASSERT_NO_FATAL_FAILURE(Open({"-W", "-+", name}));
  }

  // F2, then the file must come to hold exactly want (gtest shows the
  // bytes of code page 866 escaped).
  void SaveAndExpect(const std::string& name, const std::string& want) {
    S.Keys("<F2>");
    S.WaitFor([&] { return S.ReadFile(name) == want; });
    EXPECT_EQ(S.ReadFile(name), want);
  }

  ExitStatus Ended(Ms deadline = DefaultWait) {
    const auto e = S.WaitExit(deadline);
    EXPECT_TRUE(e) << "the editor did not end";
    return e.value_or(ExitStatus{});
  }

  Session S;
};

}  // namespace lumo::e2e

// Outside programs in a real terminal: the clipboard helper's OSC 52 where
// no clipboard tool is there, and a nested editor killed outright.
#include <csignal>
#include <cstdio>

#include "EditorFixture.h"

namespace lumo::e2e {
namespace {

using OutsideTest = EditorTest;

// With -# and no clipboard tool, Ctrl+C sends the block to the terminal's
// clipboard: OSC 52 with the text in base64 ("text one\n").
TEST_F(OutsideTest, CopyWithoutToolsGoesToTheTerminal) {
  S.WriteFile("a.txt", "text one\r\n");
  ASSERT_NO_FATAL_FAILURE(Open({"-W", "-#", "a.txt"}, 80, 25, {{"WAYLAND_DISPLAY", ""}, {"DISPLAY", ""}}));
  S.Keys("<Alt+L><Ctrl+C>");
  EXPECT_TRUE(S.WaitFor([&] { return S.RawOutput().find("\x1b]52;c;dGV4dCBvbmUK\x07") != std::string::npos; }));
}

// A nested editor (help) killed with SIGKILL leaves the outer one running,
// its text as it was, its terminal taken back.
TEST_F(OutsideTest, AKilledNestedEditorLeavesTheOuterOneWorking) {
  S.WriteFile("lumoview.hlp", "help text\r\n");
  ASSERT_NO_FATAL_FAILURE(OpenText("a.txt", "one\r\n"));
  S.Keys("x<F1>");
  ASSERT_TRUE(S.WaitText(3, 1, "help text"));
  char cmd[64];
  std::snprintf(cmd, sizeof cmd, "pkill -KILL -P %d", int(S.Pid()));
  ASSERT_EQ(std::system(cmd), 0);
  EXPECT_TRUE(S.WaitText(3, 1, "xone"));
  S.Keys("y");
  EXPECT_TRUE(S.WaitText(3, 1, "xyone"));
  EXPECT_TRUE(S.Running());
}

}  // namespace
}  // namespace lumo::e2e

// What the tests that edit a text share: a file opened quietly (no credits,
// no cursor cross, so stored colours and status cells show alone), F2 with a
// wait for the bytes on disk, and the end of the run.
#pragma once
#include <string>
#include <vector>

#include "EditorFixture.h"

namespace lumo::e2e {

// "line 1" to "line n", so that each row on the screen names its line.
inline std::string NumberedLines(int n) {
  std::string s;
  for (int i = 1; i <= n; ++i) s += "line " + std::to_string(i) + "\r\n";
  return s;
}

class EditingTest : public EditorTest {
 protected:
  void OpenText(const std::string& name, const std::string& bytes, std::vector<std::string> options = {},
                int cols = 80) {
    S.WriteFile(name, bytes);
    std::vector<std::string> args = {"-W", "-+"};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(name);
    ASSERT_NO_FATAL_FAILURE(Open(args, cols));
  }

  // F2, then the file must come to hold exactly want (gtest shows the
  // bytes of code page 866 escaped).
  void SaveAndExpect(const std::string& name, const std::string& want) {
    S.Keys("<F2>");
    S.WaitFor([&] { return S.ReadFile(name) == want; });
    EXPECT_EQ(S.ReadFile(name), want);
  }

  ExitStatus Ended(Ms deadline = DefaultWait) {
    auto e = S.WaitExit(deadline);
    if (!e) {
      ADD_FAILURE() << "the editor did not end";
      return {};
    }
    return *e;
  }
};

}  // namespace lumo::e2e

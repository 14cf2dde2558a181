// Typing answers into the prompt line from a test, and a console that keeps
// every message the editor waited on and the row each key was read under, so
// a test can see what was reported or asked after the row has been cleared.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "TestEditor.h"
#include "screen/KeyNames.h"

namespace lumo::test {

// The answer's bytes as keys (the prompt line inserts a key's character
// byte), then Enter.
inline void Answer(TestConsole& c, std::string_view text) {
  for (char ch : text) c.Keys.push_back(KeyCode(uint8_t(ch)));
  c.Keys.push_back(keys::Enter);
}

// True when some recorded row begins with text (UTF-8).
inline bool AnyStartsWith(const std::vector<std::string>& rows, std::string_view utf8) {
  const std::string want = Cp(utf8);
  for (const std::string& s : rows)
    if (s.compare(0, want.size(), want) == 0) return true;
  return false;
}

struct RecordingConsole : TestConsole {
  using TestConsole::TestConsole;
  bool WaitKey(int ms) override {
    std::string row = Text(2);
    while (!row.empty() && row.back() == ' ') row.pop_back();
    Shown.push_back(row);
    return TestConsole::WaitKey(ms);
  }
  KeyCode ReadKey() override {
    Prompts.push_back(Text(2));
    return TestConsole::ReadKey();
  }
  // True when some waited message begins with text (UTF-8).
  bool Saw(std::string_view utf8) const { return AnyStartsWith(Shown, utf8); }
  std::vector<std::string> Shown, Prompts;
};

// A test editor whose console records the messages.
struct AskingEditor {
  AskingEditor() { T->Con = &Con; }
  RecordingConsole Con;
  TestEditor T;
};

}  // namespace lumo::test

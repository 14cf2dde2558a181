// A fresh editing state on a test console, with helpers to fill the text.
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/Editor.h"
#include "screen/TestConsole.h"
#include "text/Cp866.h"
#include "text/LineStore.h"

namespace lumo::test {

struct TestEditor {
  explicit TestEditor(int w = 80, int h = 25) : Con(w, h) {
    E = std::make_unique<Editor>();
    E->Con = &Con;
    E->PageStep = int16_t(h - 3);
    InitLineTable(*E);
    E->Notify = [this](TextState&, std::string_view m) { LastNotice = std::string(m); };
  }
  // Replaces the text by these lines, each with capacity max(length, RightMargin).
  void SetLines(const std::vector<std::string>& lines) {
    FreeAllLines(*E);
    for (const std::string& s : lines) {
      int16_t at = int16_t(E->LineCount + 1);
      uint8_t cap = uint8_t(s.size() > E->RightMargin ? s.size() : E->RightMargin);
      InsertLine(*E, cap, at);
      SetLineText(*E, s, at);
    }
    E->Modified = false;
  }
  std::string Line(int i) const {
    std::string_view b = LineBytes(*E, i);
    return std::string(b.substr(0, TextLength(b)));
  }
  Editor& operator*() { return *E; }
  Editor* operator->() { return E.get(); }

  TestConsole Con;
  std::string LastNotice;  // the store's last refusal
  std::unique_ptr<Editor> E;
};

}  // namespace lumo::test

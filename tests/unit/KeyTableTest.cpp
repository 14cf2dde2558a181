// Properties of the key table and the key names, checked against the values
// real terminals were measured to send (tests/data/keys.tsv) rather than
// against a copy of the rows.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "KeysTsv.h"
#include "TestEditor.h"
#include "app/KeyTable.h"
#include "app/MainLoop.h"
#include "app/Menus.h"

namespace lumo {
namespace {

TEST(KeyTable, ValuesAreUniqueAndOneCommandHasOneProcedure) {
  std::set<KeyCode> seen;
  std::map<std::string, Command> byLabel;
  for (const KeyBinding& row : KeyBindings()) {
    EXPECT_TRUE(seen.insert(row.Value).second) << KeyName(row.Value);
    auto [it, fresh] = byLabel.emplace(row.Label, row.Proc);
    EXPECT_TRUE(fresh || it->second == row.Proc) << row.Label;
  }
}

// Each bound value is what some measured terminal's bytes decode to, so a
// row cannot name a key that no keyboard gives; the two values no console
// produces are the only ones exempt.
TEST(KeyTable, EveryRowDecodesFromMeasuredBytes) {
  const std::set<KeyCode> unreachable = {keys::CtrlAltLeftShiftTab,
                                         keys::WithChar(keys::Alt(keys::Slash), '/')};
  for (const KeyBinding& row : KeyBindings()) {
    bool decoded = false;
    for (const test::MeasuredKey& m : test::KeysTsv()) {
      if (m.Value != row.Value || m.Bytes.empty() || decoded) continue;
      KeyDecoder d;
      d.Profile = test::ProfileFor(m.Env);
      const test::KeyRun run = test::DecodeAll(d, m.Bytes);
      decoded = run.Fault.empty() && run.Keys == std::vector<KeyCode>{row.Value};
    }
    EXPECT_NE(decoded, unreachable.count(row.Value) == 1) << KeyName(row.Value);
  }
}

TEST(KeyNames, MeasuredNamesParseAndLabelsReadBack) {
  for (const test::MeasuredKey& m : test::KeysTsv())
    EXPECT_EQ(ParseKeyName(m.Name), m.Value) << m.Name << " " << KeyName(m.Value);
  for (const KeyBinding& row : KeyBindings()) {
    const std::string label = KeyLabel(row.Value);
    EXPECT_FALSE(label.starts_with("0x")) << label;
    EXPECT_EQ(ParseKeyName(label), row.Value) << label;
  }
  for (const char* bad : {"", "Ctrl+", "Ctrl+Ctrl+A", "Hyper+A", "keypad", "€", "0x0000011", "NumLock+A"})
    EXPECT_EQ(ParseKeyName(bad), std::nullopt) << bad;
}

// Every menu item runs a key's command (a row, or an Alt key the fallback
// takes) and never types, and Esc from a submenu goes back to the menu that
// opened it.
TEST(Menus, ItemsRunCommandsAndEscReturnsToTheOpener) {
  for (size_t i = 0; i < Menus().size(); ++i)
    for (const MenuItem& item : Menus()[i].Items) {
      if (item.Kind == ItemKind::Key) {
        EXPECT_TRUE(FindBinding(item.Key) || (ShiftOf(item.Key) & ModAlt)) << KeyName(item.Key);
      }
      if (item.Kind == ItemKind::Submenu) {
        EXPECT_EQ(size_t(MenuOf(item.Sub).Parent), i) << Menus()[i].Text;
      }
    }
}

}  // namespace
}  // namespace lumo

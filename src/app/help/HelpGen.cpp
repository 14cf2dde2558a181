// Writes the help file lumoview.hlp at build time: the prose of doc/ around
// every command, taken from the menu tree and the key table themselves, so
// the help names exactly the keys the editor answers to. Grouped as the
// menus group the commands; keys that no menu item runs follow. Code page
// 866, CR LF line ends.
//
//   lumo_helpgen intro.txt outro.txt lumoview.hlp
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/KeyTable.h"
#include "app/Menus.h"
#include "screen/KeyNames.h"
#include "text/Cp866.h"

namespace {

using namespace lumo;

std::string Read(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The segments between the "|" of a menu line: the title, then the items.
std::vector<std::string> Segments(std::string_view line) {
  std::vector<std::string> out;
  size_t at = 0;
  for (size_t bar; (bar = line.find('|', at)) != std::string_view::npos; at = bar + 1)
    out.emplace_back(line.substr(at, bar - at));
  return out;
}

std::string Trim(std::string s) {
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

struct Writer {
  std::string Out;
  std::set<KeyCode> InMenus;

  void Line(const std::string& s) { Out += s + "\r\n"; }

  void Menu(MenuId id, int depth) {
    const lumo::Menu& m = MenuOf(id);
    const std::vector<std::string> seg = Segments(m.Text);
    const std::string indent(size_t(depth * 2 + 2), ' ');
    Line(indent + Trim(seg[0]));
    std::set<KeyCode> here;
    for (size_t i = 0; i < m.Items.size(); ++i) {
      const MenuItem& item = m.Items[i];
      if (item.Kind == ItemKind::Nothing) continue;
      if (item.Kind == ItemKind::Submenu) {
        Menu(item.Sub, depth + 1);
        continue;
      }
      // A command is named as the key table names it; a menu's own action
      // by its item, without the item's number.
      std::string name = Trim(seg[i + 1]);
      if (name.size() > 2 && name[0] >= '0' && name[0] <= '9' && name[1] == ' ') name = Trim(name.substr(2));
      std::string key = Cp("только из меню");
      if (item.Kind == ItemKind::Key) {
        if (!here.insert(item.Key).second) continue;
        InMenus.insert(item.Key);
        if (const KeyBinding* row = FindBinding(item.Key)) name = std::string(row->Label);
        key = KeyLabel(item.Key);
      }
      std::string row = indent + "  " + name;
      if (row.size() < 52) row.resize(52, '.');
      Line(row + " " + key);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: lumo_helpgen intro.txt outro.txt lumoview.hlp\n");
    return 2;
  }
  Writer w;
  for (char c : Cp(Read(argv[1])))
    if (c == '\n') w.Out += "\r\n";
    else w.Out += c;
  w.Line("");
  w.Menu(MenuId::Main, 0);
  w.Line("");
  w.Line(Cp("  ДРУГИЕ КЛАВИШИ"));
  w.Line("");
  // Keys that share a command share a line; a long list goes on below.
  std::vector<std::pair<std::string_view, std::vector<std::string>>> rest;
  for (const KeyBinding& row : KeyBindings()) {
    if (!row.Proc || w.InMenus.count(row.Value)) continue;
    // A second spelling of a key some keyboards send names no new key.
    const std::string key = KeyLabel(row.Value);
    if (key.find(" with ") != std::string::npos) continue;
    auto it = rest.begin();
    while (it != rest.end() && it->first != row.Label) ++it;
    if (it == rest.end()) rest.push_back({row.Label, {key}});
    else it->second.push_back(key);
  }
  for (const auto& [label, keyList] : rest) {
    std::string line = "    " + std::string(label);
    if (line.size() < 52) line.resize(52, '.');
    line += ' ';
    for (size_t i = 0; i < keyList.size(); ++i) {
      const std::string part = keyList[i] + (i + 1 < keyList.size() ? "," : "");
      if (line.size() + part.size() > 79) {
        w.Line(line);
        line = std::string(53, ' ');
      } else if (i > 0) {
        line += ' ';
      }
      line += part;
    }
    w.Line(line);
  }
  for (char c : Cp(Read(argv[2])))
    if (c == '\n') w.Out += "\r\n";
    else w.Out += c;
  std::ofstream out(argv[3], std::ios::binary);
  out << w.Out;
  return out.good() ? 0 : 1;
}

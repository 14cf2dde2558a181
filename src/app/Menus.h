// The menu tree on F10: one-line menus over the two top rows, each a choice
// bar whose items open a submenu, run the command of a key, or do one of the
// few things only a menu does. An item names its key, not a procedure: it
// runs whatever the dispatch does with that key, so an item and its key can
// never differ, and an item whose key gets its command later works from then
// on without touching the tree.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

enum class MenuId : uint8_t {
  Main, File, Text, Blocks, Rect, Copy, MoreBlocks, Search, Pairs, Cursor, Screen, Marks,
  MarkLine, GoLine, MarkPos, GoPos, Line, Restore, Delete, Format, Paragraph, Service, Pseudo,
  Macros, Buffer, Continue,
};

// What a menu-only item did: where the loop goes on, or the menu opens again.
struct MenuOutcome {
  Reentry Then = Reentry::Update;
  bool Reopen = false;
};
using MenuAction = MenuOutcome (*)(Editor& e);

enum class ItemKind : uint8_t { Nothing, Submenu, Key, Action };

struct MenuItem {
  ItemKind Kind = ItemKind::Nothing;
  KeyCode Key = 0;            // Key: the key whose command runs
  MenuId Sub = MenuId::Main;  // Submenu
  MenuAction Act = nullptr;   // Action; nullptr: its command is still to come
  bool Reopen = false;        // Key: the menu opens again on this item afterwards
  bool Redraw = false;        // Key: the window is drawn again afterwards
};

// The colours a choice bar takes: the title, the items, the highlight's base
// (drawn with its top bit set) and the hint row.
struct MenuColours {
  uint8_t Title, Item, Highlight, Hint;
};
inline constexpr MenuColours ColoursA{0x3F, 0x2F, 0x5F, 0x0D};
inline constexpr MenuColours ColoursB{0x4F, 0x5F, 0x1C, 0x6E};

struct Menu {
  std::string_view Text, Hint;
  MenuColours Colours;
  MenuId Parent;
  uint8_t EscHighlight;  // the parent's item highlighted when Esc returns to it
  std::span<const MenuItem> Items;
};

const Menu& MenuOf(MenuId id);
// Every menu, in MenuId order.
std::span<const Menu> Menus();

// F10: the main menu, then wherever the answers lead.
Reentry MenuKey(Editor& e, KeyCode key);

}  // namespace lumo

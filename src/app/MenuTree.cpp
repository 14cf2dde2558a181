// The menus as data, in the order the main menu reaches them. Where a hint
// names another key than the one an item runs (the block sum, shorts.lmo,
// the main menu's last column), the key table decides: the hint is only
// what users read.
#include "app/MenuActions.h"
#include "app/Menus.h"
#include "screen/KeyNames.h"
#include "text/Texts.h"

namespace lumo {
namespace {

using namespace keys;
using Id = MenuId;
namespace T = Texts::Menu;

constexpr MenuItem Open(Id sub) { return {ItemKind::Submenu, 0, sub}; }
constexpr MenuItem Run(KeyCode key) { return {ItemKind::Key, key}; }
constexpr MenuItem RunAndReopen(KeyCode key) { return {ItemKind::Key, key, Id::Main, nullptr, true}; }
constexpr MenuItem RunAndRedraw(KeyCode key) { return {ItemKind::Key, key, Id::Main, nullptr, false, true}; }
constexpr MenuItem Act(MenuAction act) { return {ItemKind::Action, 0, Id::Main, act}; }
constexpr MenuItem None() { return {}; }

constexpr MenuItem MainItems[] = {
    Open(Id::File), Open(Id::Text), Open(Id::Service), RunAndReopen(Ctrl(F10)), Run(F1),
    Act(menu::Keystrokes), Act(menu::Exit), Run(Alt(F3))};
constexpr MenuItem FileItems[] = {Run(F2), Run(Ctrl(F2)), Run(Shift(F2)), Run(Shift(F1)), Run(Ctrl(F1)), Run(Ctrl(F4))};
constexpr MenuItem TextItems[] = {
    Open(Id::Blocks), Open(Id::Search), Open(Id::Cursor), Open(Id::Screen), Open(Id::Line),
    Open(Id::Delete), Open(Id::Format), Run(Ctrl(F3))};
constexpr MenuItem BlocksItems[] = {
    Run(Alt(L)), Open(Id::Rect), Open(Id::Copy), Run(Alt(M)), Run(Alt(G)), Run(Ctrl(Ins)), Run(Ctrl(Del)),
    Open(Id::MoreBlocks), RunAndRedraw(Alt(U))};
constexpr MenuItem RectItems[] = {Run(Alt(B)), Run(Alt(V)), Run(Shift(End)), Run(Alt(N)), Act(menu::UseKeyboard)};
// The last three segments copy and keep the marking, as the menu always did
// with its own key value; Alt+K is the key that does exactly that.
constexpr MenuItem CopyItems[] = {Run(Alt(C)), Run(Alt(K)), Run(Alt(K)), Run(Alt(K)), Run(Alt(K))};
constexpr MenuItem MoreBlocksItems[] = {Run(Shift(F5)), Run(Shift(F6)), Run(Alt(F)), Run(Shift(F3)), Run(Shift(F4)), Run(Alt(Slash))};
constexpr MenuItem SearchItems[] = {Run(F7), Run(Shift(F7)), Run(Ctrl(Enter)), Run(Ctrl(F7)), Run(F6), Open(Id::Pairs)};
constexpr MenuItem PairsItems[] = {Run(Alt(F8)), Run(Alt(Shift(F8)))};
constexpr MenuItem CursorItems[] = {
    Run(Ctrl(Left)), Run(Ctrl(Right)), Act(menu::WindowTop), Act(menu::WindowBottom), Run(Alt(Up)), Run(Alt(Down)), Run(F5)};
constexpr MenuItem ScreenItems[] = {Run(Ctrl(Home)), Run(Ctrl(End)), Run(F4), Run(Ctrl(PgUp)), Run(Ctrl(PgDn)), Open(Id::Marks)};
constexpr MenuItem MarksItems[] = {
    Open(Id::MarkLine), Open(Id::GoLine), Open(Id::MarkPos), Open(Id::GoPos), Run(Alt(Minus)), Run(Alt(Equals)),
    RunAndRedraw(Ctrl(F12))};
constexpr MenuItem MarkLineItems[] = {Run(Alt(D1)), Run(Alt(D2)), Run(Alt(D3))};
constexpr MenuItem GoLineItems[] = {Run(Alt(D4)), Run(Alt(D5)), Run(Alt(D6))};
constexpr MenuItem MarkPosItems[] = {Run(Alt(D7)), Run(Alt(D8))};
constexpr MenuItem GoPosItems[] = {Run(Alt(D9)), Run(Alt(D0))};
constexpr MenuItem LineItems[] = {Run(F3), Run(F8), Run(Alt(S)), Run(Alt(J)), Open(Id::Restore)};
constexpr MenuItem RestoreItems[] = {Run(Shift(F10)), Run(Alt(R)), Run(Alt(Backspace))};
// "5 |лок " splits into "5 " and "лок ": only the first deletes the block.
constexpr MenuItem DeleteItems[] = {Run(Ctrl(Y)), Run(Alt(W)), Run(Ctrl(Backspace)), Run(Ctrl(K)), Run(Alt(G)), None()};
constexpr MenuItem FormatItems[] = {Run(Alt(A)), Run(Shift(Enter)), Open(Id::Paragraph), Run(Ctrl(Alt(Shift(Tab))))};
// The ragged format is Ctrl+F's command, which in program texts types a
// template instead: the menu runs the command itself.
constexpr MenuItem ParagraphItems[] = {Run(Ctrl(Shift(F))), Act(menu::RaggedFormat), Act(menu::Columns)};
constexpr MenuItem ServiceItems[] = {
    Open(Id::Macros), Open(Id::Buffer), Open(Id::Continue), Run(Alt(Q)), Run(F11), Open(Id::Pseudo), Run(Alt(F2))};
constexpr MenuItem PseudoItems[] = {Act(menu::PseudoOn), Act(menu::PseudoOff)};
constexpr MenuItem MacrosItems[] = {
    Act(menu::DefineMacro), Act(menu::PlayMacro),     Act(menu::MacrosOn),
    Act(menu::MacrosOff),   Act(menu::ReadMacroFile), Act(menu::WriteMacroFile)};
// Both first items start or stop a recording; a recording is played with F9.
constexpr MenuItem BufferItems[] = {Run(Shift(F9)), Run(Shift(F9)), Run(Ctrl(Shift(F9))), Run(Ctrl(F9))};
constexpr MenuItem ContinueItems[] = {Run(Backslash), Run(Alt(F4)), Run(Alt(Backslash)), Run(Alt(Shift(Backslash)))};

constexpr Menu Tree[] = {
    {T::Main, T::MainHint, ColoursA, Id::Main, 1, MainItems},
    {T::File, T::FileHint, ColoursB, Id::Main, 1, FileItems},
    {T::Text, {}, ColoursB, Id::Main, 2, TextItems},
    {T::Blocks, T::BlocksHint, ColoursA, Id::Text, 1, BlocksItems},
    {T::Rect, T::RectHint, ColoursB, Id::Blocks, 2, RectItems},
    {T::Copy, T::CopyHint, ColoursB, Id::Blocks, 3, CopyItems},
    {T::MoreBlocks, T::MoreBlocksHint, ColoursB, Id::Blocks, 8, MoreBlocksItems},
    {T::Search, T::SearchHint, ColoursA, Id::Text, 2, SearchItems},
    {T::Pairs, T::PairsHint, ColoursB, Id::Search, 6, PairsItems},
    {T::Cursor, T::CursorHint, ColoursA, Id::Text, 3, CursorItems},
    {T::Screen, T::ScreenHint, ColoursA, Id::Text, 4, ScreenItems},
    {T::Marks, T::MarksHint, ColoursB, Id::Screen, 6, MarksItems},
    {T::MarkLine, T::MarkLineHint, ColoursA, Id::Marks, 1, MarkLineItems},
    {T::GoLine, T::GoLineHint, ColoursA, Id::Marks, 2, GoLineItems},
    {T::MarkPos, T::MarkPosHint, ColoursA, Id::Marks, 3, MarkPosItems},
    {T::GoPos, T::GoPosHint, ColoursA, Id::Marks, 4, GoPosItems},
    {T::Line, T::LineHint, ColoursA, Id::Text, 5, LineItems},
    {T::Restore, T::RestoreHint, ColoursB, Id::Line, 5, RestoreItems},
    {T::Delete, T::DeleteHint, ColoursA, Id::Text, 6, DeleteItems},
    {T::Format, T::FormatHint, ColoursA, Id::Text, 7, FormatItems},
    {T::Paragraph, T::ParagraphHint, ColoursB, Id::Format, 3, ParagraphItems},
    {T::Service, T::ServiceHint, ColoursB, Id::Main, 3, ServiceItems},
    // Esc from the box-drawing question comes back on the recoding item.
    {T::Pseudo, {}, ColoursA, Id::Service, 5, PseudoItems},
    {T::Macros, T::MacrosHint, ColoursA, Id::Service, 1, MacrosItems},
    {T::Buffer, T::BufferHint, ColoursA, Id::Service, 2, BufferItems},
    {T::Continue, T::ContinueHint, ColoursA, Id::Service, 3, ContinueItems},
};

// A menu line has one item between every two "|".
constexpr bool ItemsMatchLines() {
  for (const Menu& m : Tree) {
    size_t bars = 0;
    for (char c : m.Text) bars += c == '|';
    if (bars != m.Items.size() + 1) return false;
  }
  return true;
}
static_assert(ItemsMatchLines(), "a menu's items and its line's segments differ in number");
static_assert(std::size(Tree) == size_t(Id::Continue) + 1);

}  // namespace

std::span<const Menu> Menus() { return Tree; }
const Menu& MenuOf(MenuId id) { return Tree[size_t(id)]; }

}  // namespace lumo

// The key table. Rows are grouped as the keys arrive from the console: keys
// with a character (kind 0), function and cursor keys (kind 2, scan byte
// 0xFF, low byte the function number), keys known by their PC scan code only
// (kind 3), and the Ctrl+Alt keys taken before the macro keys. Within a group
// the rows follow the keyboard so a reviewer can check them line by line.
// Keys that share a command share its label; labels take the words of the
// menu item that runs the same command where there is one.
#include "app/KeyTable.h"
#include "app/KeystrokeFile.h"
#include "app/Menus.h"
#include "app/CompleteKeys.h"
#include "edit/Blocks.h"
#include "app/Search.h"
#include "edit/Cursor.h"
#include "edit/Format.h"
#include "edit/LineOps.h"
#include "edit/Marks.h"
#include "edit/Transforms.h"
#include "files/CodePageCheck.h"
#include "files/Insert.h"
#include "text/Texts.h"
#include "tools/Keystrokes.h"
#include "tools/BlockSum.h"
#include "tools/Colours.h"

namespace lumo {
namespace {

using namespace keys;

constexpr KeyBinding Table[] = {
  // Keys with a character.
  {Esc, EscapeKey, Cp866<"Снять разметку или выход">},
  {Backspace, BackspaceKey, Cp866<"Удалить символ слева">},
  {Tab, NextTabKey, Cp866<"Следующая позиция табуляции">},
  {Enter, EnterKey, Cp866<"Следующая строка">},
  {Backslash, CompleteKey, Cp866<"Продолжение строки или слова">},
  {Space, SpaceKey, Cp866<"Сокращение или пробел">},
  {KpEnter, PadEnterKey, Cp866<"Следующая строка с колонки метки">},
  {Shift(Enter), ToggleLimit, Cp866<"Ограничение длины">},
  {Shift(KpEnter), ToggleLimit, Cp866<"Ограничение длины">},
  {Ctrl(Backspace), DeleteWordLeftKey, Cp866<"Удалить слово влево">},
  {Ctrl(Q), MarkerKey, Cp866<"Поиск маркера">},
  {Ctrl(W), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(E), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(R), TypeControl, Cp866<"Шаблон, выровнять вправо или управляющий символ">},
  {Ctrl(T), nullptr, Cp866<"Шаблон then/the">},
  {Ctrl(Y), DeleteLineKey, Cp866<"Удалить строку">},
  {Ctrl(U), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(I), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(P), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(LBracket), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(RBracket), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(Enter), RepeatSearchKey, Cp866<"Повтор поиска">},
  {Ctrl(A), MarkAllKey, Cp866<"Шаблон или пометить весь текст">},
  {Ctrl(S), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(D), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(F), FormatRaggedKey, Cp866<"Шаблон или формат справа неровно">},
  {Ctrl(G), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(H), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(J), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(K), BlankToEndKey, Cp866<"Удалить до конца строки">},
  {Ctrl(L), ReindentToMarginKey, Cp866<"Выровнять по левому полю">},
  {Ctrl(Backslash), TypeBackslash, Cp866<"Набрать \\">},
  {Ctrl(Z), NewSearchKey, Cp866<"Новый поиск">},
  {Ctrl(X), ClipCopyKey, Cp866<"Блок в буфер с удалением">},
  {Ctrl(C), ClipCopyKey, Cp866<"Блок в буфер">},
  {Ctrl(V), ClipPasteKey, Cp866<"Вставить из буфера">},
  {Ctrl(B), TypeControl, Cp866<"Шаблон или управляющий символ">},
  {Ctrl(N), nullptr, Cp866<"Шаблон End;/and">},
  {Ctrl(Space), TypeBlank, Cp866<"Шаблон := или пробел">},
  {Ctrl(Shift(F)), FormatJustifiedKey, Cp866<"Формат справа ровно">},
  {WithChar(Alt(Slash), '/'), WhereBlockKey, Cp866<"Где блок">},

  // Function and cursor keys.
  {F1, nullptr, Cp866<"Помощь">},
  {F2, SaveFile, Cp866<"Запись">},
  {F3, AddLineKey, Cp866<"Добавить пустую строку">},
  {F4, GoToLineKey, Cp866<"Строка по номеру">},
  {F5, LineToTopKey, Cp866<"Сделать верхней">},
  {F6, ReplaceKey, Cp866<"Замена">},
  {F7, SearchKey, Cp866<"Поиск без учета размера">},
  {F8, DuplicateKey, Cp866<"Дублировать строку">},
  {F9, ReplayKey, Cp866<"Воспроизвести буфер">},
  {F10, MenuKey, Cp866<"Основное меню">},
  {F11, RecodeKey, Cp866<"Перекодировка">},
  {F12, NextEndMarkerKey, Cp866<"К строке с закладкой">},
  {Home, HomeKey, Cp866<"Начало строки">},
  {Up, UpKey, Cp866<"Строка вверх">},
  {Down, DownKey, Cp866<"Строка вниз">},
  {PgUp, PageUpKey, Cp866<"Страница вверх">},
  {PgDn, PageDownKey, Cp866<"Страница вниз">},
  {Left, LeftKey, Cp866<"Колонка влево">},
  {Right, RightKey, Cp866<"Колонка вправо">},
  {End, EndKey, Cp866<"Конец строки">},
  {Ins, ToggleInsert, Cp866<"Вставка или замена">},
  {Del, BlockDelKey, Cp866<"Удалить символ или блок">},
  {Shift(F1), TakeFileKey, Cp866<"Взять файл">},
  {Shift(F2), WriteBlockKey, Cp866<"Запись блока">},
  {Shift(F3), BlockTransformKey, Cp866<"Блок QWE>ЙЦУ">},
  {Shift(F4), BlockTransformKey, Cp866<"Блок ЙЦУ>QWE">},
  {Shift(F5), BlockTransformKey, Cp866<"Блок в большие">},
  {Shift(F6), BlockTransformKey, Cp866<"Блок в малые">},
  {Shift(F7), SearchKey, Cp866<"Поиск с учетом размера">},
  {Shift(F9), RecordKey, Cp866<"Начать формирование буфера">},
  {Shift(F10), RestoreEpisode, Cp866<"Восстановить строку как до входа">},
  {Shift(Home), WindowEdgeKey, Cp866<"Верх или низ экрана">},
  {Shift(Up), MarkUpKey, Cp866<"Строка вверх с блоком">},
  {Shift(Down), MarkDownKey, Cp866<"Строка вниз с блоком">},
  {Shift(Left), MarkLeftKey, Cp866<"Колонка влево с прямоугольником">},
  {Shift(Right), MarkRightKey, Cp866<"Колонка вправо с прямоугольником">},
  {Shift(End), MarkToEndKey, Cp866<"Прямоугольник до конца строки">},
  {Shift(Ins), ToggleLimit, Cp866<"Ограничение длины">},
  {Shift(Del), ToggleLimit, Cp866<"Ограничение длины">},
  {Ctrl(F1), UndoTakeFile, Cp866<"Отмена взятия файла">},
  {Ctrl(F2), SaveElsewhereKey, Cp866<"Запись в другой файл">},
  {Ctrl(F3), GetBackKey, Cp866<"Get back">},
  {Ctrl(F4), nullptr, Cp866<"Редактировать другой файл">},
  {Ctrl(F5), LetterCaseKey, Cp866<"Символ в большую">},
  {Ctrl(F6), LetterCaseKey, Cp866<"Символ в малую">},
  {Ctrl(F7), SearchKey, Cp866<"Поиск вверх без учета размера">},
  {Ctrl(F9), ReadKeystrokesKey, Cp866<"Считать буфер из файла">},
  {Ctrl(F10), ColoursKey, Cp866<"Цвета">},
  {Ctrl(F12), ToggleEndMarkerKey, Cp866<"Закладка F12">},
  {Ctrl(Home), TextTopKey, Cp866<"Верхняя строка файла">},
  {Ctrl(End), TextBottomKey, Cp866<"Нижняя строка файла">},
  {Ctrl(Up), Up8Key, Cp866<"8 строк вверх">},
  {Ctrl(Down), Down8Key, Cp866<"8 строк вниз">},
  {Ctrl(PgUp), ScrollUpKey, Cp866<"Сдвиг текста вверх">},
  {Ctrl(PgDn), ScrollDownKey, Cp866<"Сдвиг текста вниз">},
  {Ctrl(Left), WordLeftKey, Cp866<"Слово влево">},
  {Ctrl(Right), WordRightKey, Cp866<"Слово вправо">},
  {Ctrl(Ins), ShiftBlockKey, Cp866<"Сдвиг блока вправо">},
  {Ctrl(Del), ShiftBlockKey, Cp866<"Сдвиг блока влево">},
  {Ctrl(Shift(F5)), FirstLetterKey, Cp866<"Слово с большой">},
  {Ctrl(Shift(F6)), FirstLetterKey, Cp866<"Слово с малой">},
  {Ctrl(Shift(F7)), SearchKey, Cp866<"Поиск вверх с учетом размера">},
  {Ctrl(Shift(F8)), ReplaceByFileKey, Cp866<"Замена по файлу">},
  {Ctrl(Shift(F9)), WriteKeystrokesKey, Cp866<"Записать буфер в файл">},
  {Ctrl(Shift(Up)), MarkUpKey, Cp866<"8 строк вверх с блоком">},
  {Ctrl(Shift(Down)), MarkDownKey, Cp866<"8 строк вниз с блоком">},
  {Ctrl(Shift(Left)), MarkWordLeftKey, Cp866<"Слово влево с блоком">},
  {Ctrl(Shift(Right)), MarkWordRightKey, Cp866<"Слово вправо с блоком">},
  {Alt(F3), ToggleRus, Cp866<"Rus">},
  {Alt(Up), Up4Key, Cp866<"4 строки вверх">},
  {Alt(Down), Down4Key, Cp866<"4 строки вниз">},
  {Alt(Left), WordwiseLeftKey, Cp866<"Пословно влево">},
  {Alt(Right), WordwiseRightKey, Cp866<"Пословно вправо">},
  {Alt(Shift(Up)), MarkUpKey, Cp866<"4 строки вверх с блоком">},
  {Alt(Shift(Down)), MarkDownKey, Cp866<"4 строки вниз с блоком">},

  // Keys known by their scan code.
  {Shift(Tab), PrevTabKey, Cp866<"Предыдущая позиция табуляции">},
  {Ctrl(KpPlus), TogglePseudographics, Cp866<"Псевдографика">},
  {Ctrl(Tab), WindowEdgeKey, Cp866<"Верх или низ экрана">},
  {Alt(Equals), GoColumnMarkKey, Cp866<"В колонку">},
  {Alt(Minus), SetColumnMarkKey, Cp866<"Пометить колонку">},
  {Alt(Backspace), UndoChange, Cp866<"Отмена последнего изменения">},
  {Alt(Q), BlockSumKey, Cp866<"Счет блока">},
  {Alt(W), DeleteWordKey, Cp866<"Удалить слово">},
  {Alt(E), MarkToEndKey, Cp866<"Прямоугольник до конца строки">},
  {Alt(R), RestoreRing, Cp866<"Восстановить следующую строку">},
  {Alt(T), AltT, Cp866<"Шаблон String">},
  {Alt(U), UnmarkBlocks, Cp866<"Снять разметку">},
  {Alt(Enter), RepeatSearchKey, Cp866<"Повтор поиска">},
  {Alt(KpEnter), RepeatSearchKey, Cp866<"Повтор поиска">},
  {Alt(A), ReindentAtCursorKey, Cp866<"Выровнять по курсору">},
  {Alt(S), SplitKey, Cp866<"Расщепить строку">},
  {Alt(F), FillBlockKey, Cp866<"Заполнить блок символом">},
  {Alt(G), DeleteBlockKey, Cp866<"Удалить блок">},
  {Alt(H), nullptr, Cp866<"Помощь">},
  {Alt(J), JoinKey, Cp866<"Объединить строки">},
  {Alt(C), CopyBlockKey, Cp866<"Копия блока со снятием разметки">},
  {Alt(K), CopyBlockKey, Cp866<"Копия блока без снятия разметки">},
  {Alt(L), MarkLineKey, Cp866<"Пометить блок строк">},
  {Alt(Z), MarkWordKey, Cp866<"Прямоугольник: слово">},
  {Alt(X), MarkWordKey, Cp866<"Прямоугольник: слово">},
  {Alt(V), MarkWordKey, Cp866<"Прямоугольник: слово">},
  {Alt(B), MarkCornerKey, Cp866<"Прямоугольник: любой угол">},
  {Alt(N), MarkLineTextKey, Cp866<"Прямоугольник: вся строка">},
  {Alt(M), MoveBlockKey, Cp866<"Перенос блока">},
  {Alt(Slash), WhereBlockKey, Cp866<"Где блок">},
  {Alt(D1), SetLineMarkKey, Cp866<"Пометить строку 1">},
  {Alt(D2), SetLineMarkKey, Cp866<"Пометить строку 2">},
  {Alt(D3), SetLineMarkKey, Cp866<"Пометить строку 3">},
  {Alt(D4), GoLineMarkKey, Cp866<"Перейти к строке 1">},
  {Alt(D5), GoLineMarkKey, Cp866<"Перейти к строке 2">},
  {Alt(D6), GoLineMarkKey, Cp866<"Перейти к строке 3">},
  {Alt(D7), SetPositionMarkKey, Cp866<"Пометить позицию 1">},
  {Alt(D8), SetPositionMarkKey, Cp866<"Пометить позицию 2">},
  {Alt(D9), GoPositionMarkKey, Cp866<"Перейти в позицию 1">},
  {Alt(D0), GoPositionMarkKey, Cp866<"Перейти в позицию 2">},

  // Ctrl+Alt keys that are not macro keys.
  {Ctrl(Alt(Tab)), ShowKeyCode, Cp866<"Код клавиши">},
  {Ctrl(Alt(Shift(Tab))), ExpandTabsKey, Cp866<"Extend #9">},
  {CtrlAltLeftShiftTab, ExpandTabsKey, Cp866<"Extend #9">},
  {Ctrl(Alt(Backspace)), QuitAtOnce, Cp866<"Выход без записи">},
};

}  // namespace

std::span<const KeyBinding> KeyBindings() { return Table; }

const KeyBinding* FindBinding(KeyCode key) {
  // A linear pass over some 160 rows once per key costs nothing next to
  // drawing the screen, and keeps the table in its readable order.
  for (const KeyBinding& row : Table)
    if (row.Value == key) return &row;
  return nullptr;
}

}  // namespace lumo

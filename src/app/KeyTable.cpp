// The key table. Rows are grouped as the keys arrive from the console: keys
// with a character (kind 0), function and cursor keys (kind 2, scan byte
// 0xFF, low byte the function number), keys known by their PC scan code only
// (kind 3), and the Ctrl+Alt keys taken before the macro keys. Within a group
// the rows follow the keyboard so a reviewer can check them line by line.
// Keys that share a command share its label; labels take the words of the
// menu item that runs the same command where there is one.
#include "app/KeyTable.h"
#include "edit/Cursor.h"
#include "edit/LineOps.h"
#include "files/Insert.h"

namespace lumo {
namespace {

using namespace keys;

constexpr KeyBinding Table[] = {
  // Keys with a character.
  {Esc, EscapeKey, "Снять разметку или выход"},
  {Backspace, BackspaceKey, "Удалить символ слева"},
  {Tab, NextTabKey, "Следующая позиция табуляции"},
  {Enter, EnterKey, "Следующая строка"},
  {Backslash, nullptr, "Продолжение строки или слова"},
  {Space, TypeBlank, "Сокращение или пробел"},
  {KpEnter, PadEnterKey, "Следующая строка с колонки метки"},
  {Shift(Enter), ToggleLimit, "Ограничение длины"},
  {Shift(KpEnter), ToggleLimit, "Ограничение длины"},
  {Ctrl(Backspace), DeleteWordLeftKey, "Удалить слово влево"},
  {Ctrl(Q), nullptr, "Поиск маркера"},
  {Ctrl(W), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(E), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(R), TypeControl, "Шаблон, выровнять вправо или управляющий символ"},
  {Ctrl(T), nullptr, "Шаблон then/the"},
  {Ctrl(Y), DeleteLineKey, "Удалить строку"},
  {Ctrl(U), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(I), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(P), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(LBracket), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(RBracket), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(Enter), nullptr, "Повтор поиска"},
  {Ctrl(A), nullptr, "Шаблон или пометить весь текст"},
  {Ctrl(S), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(D), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(F), nullptr, "Шаблон или формат справа неровно"},
  {Ctrl(G), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(H), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(J), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(K), BlankToEndKey, "Удалить до конца строки"},
  {Ctrl(L), nullptr, "Выровнять по левому полю"},
  {Ctrl(Backslash), TypeBackslash, "Набрать \\"},
  {Ctrl(Z), nullptr, "Новый поиск"},
  {Ctrl(X), nullptr, "Блок в буфер с удалением"},
  {Ctrl(C), nullptr, "Блок в буфер"},
  {Ctrl(V), nullptr, "Вставить из буфера"},
  {Ctrl(B), TypeControl, "Шаблон или управляющий символ"},
  {Ctrl(N), nullptr, "Шаблон End;/and"},
  {Ctrl(Space), TypeBlank, "Шаблон := или пробел"},
  {Ctrl(Shift(F)), nullptr, "Формат справа ровно"},
  {WithChar(Alt(Slash), '/'), nullptr, "Где блок"},

  // Function and cursor keys.
  {F1, nullptr, "Помощь"},
  {F2, SaveFile, "Запись"},
  {F3, AddLineKey, "Добавить пустую строку"},
  {F4, GoToLineKey, "Строка по номеру"},
  {F5, LineToTopKey, "Сделать верхней"},
  {F6, nullptr, "Замена"},
  {F7, nullptr, "Поиск без учета размера"},
  {F8, DuplicateKey, "Дублировать строку"},
  {F9, nullptr, "Воспроизвести буфер"},
  {F10, nullptr, "Основное меню"},
  {F11, nullptr, "Перекодировка"},
  {F12, nullptr, "К строке с закладкой"},
  {Home, HomeKey, "Начало строки"},
  {Up, UpKey, "Строка вверх"},
  {Down, DownKey, "Строка вниз"},
  {PgUp, PageUpKey, "Страница вверх"},
  {PgDn, PageDownKey, "Страница вниз"},
  {Left, LeftKey, "Колонка влево"},
  {Right, RightKey, "Колонка вправо"},
  {End, EndKey, "Конец строки"},
  {Ins, ToggleInsert, "Вставка или замена"},
  {Del, DelKey, "Удалить символ или блок"},
  {Shift(F1), TakeFileKey, "Взять файл"},
  {Shift(F2), nullptr, "Запись блока"},
  {Shift(F3), nullptr, "Блок QWE>ЙЦУ"},
  {Shift(F4), nullptr, "Блок ЙЦУ>QWE"},
  {Shift(F5), nullptr, "Блок в большие"},
  {Shift(F6), nullptr, "Блок в малые"},
  {Shift(F7), nullptr, "Поиск с учетом размера"},
  {Shift(F9), nullptr, "Начать формирование буфера"},
  {Shift(F10), RestoreEpisode, "Восстановить строку как до входа"},
  {Shift(Home), WindowEdgeKey, "Верх или низ экрана"},
  {Shift(Up), UpKey, "Строка вверх с блоком"},
  {Shift(Down), DownKey, "Строка вниз с блоком"},
  {Shift(Left), nullptr, "Колонка влево с прямоугольником"},
  {Shift(Right), nullptr, "Колонка вправо с прямоугольником"},
  {Shift(End), nullptr, "Прямоугольник до конца строки"},
  {Shift(Ins), ToggleLimit, "Ограничение длины"},
  {Shift(Del), ToggleLimit, "Ограничение длины"},
  {Ctrl(F1), UndoTakeFile, "Отмена взятия файла"},
  {Ctrl(F2), SaveElsewhereKey, "Запись в другой файл"},
  {Ctrl(F3), GetBackKey, "Get back"},
  {Ctrl(F4), nullptr, "Редактировать другой файл"},
  {Ctrl(F5), nullptr, "Символ в большую"},
  {Ctrl(F6), nullptr, "Символ в малую"},
  {Ctrl(F7), nullptr, "Поиск вверх без учета размера"},
  {Ctrl(F9), nullptr, "Считать буфер из файла"},
  {Ctrl(F10), nullptr, "Цвета"},
  {Ctrl(F12), nullptr, "Закладка F12"},
  {Ctrl(Home), TextTopKey, "Верхняя строка файла"},
  {Ctrl(End), TextBottomKey, "Нижняя строка файла"},
  {Ctrl(Up), Up8Key, "8 строк вверх"},
  {Ctrl(Down), Down8Key, "8 строк вниз"},
  {Ctrl(PgUp), ScrollUpKey, "Сдвиг текста вверх"},
  {Ctrl(PgDn), ScrollDownKey, "Сдвиг текста вниз"},
  {Ctrl(Left), WordLeftKey, "Слово влево"},
  {Ctrl(Right), WordRightKey, "Слово вправо"},
  {Ctrl(Ins), nullptr, "Сдвиг блока вправо"},
  {Ctrl(Del), nullptr, "Сдвиг блока влево"},
  {Ctrl(Shift(F5)), nullptr, "Слово с большой"},
  {Ctrl(Shift(F6)), nullptr, "Слово с малой"},
  {Ctrl(Shift(F7)), nullptr, "Поиск вверх с учетом размера"},
  {Ctrl(Shift(F8)), nullptr, "Замена по файлу"},
  {Ctrl(Shift(F9)), nullptr, "Записать буфер в файл"},
  {Ctrl(Shift(Up)), Up8Key, "8 строк вверх с блоком"},
  {Ctrl(Shift(Down)), Down8Key, "8 строк вниз с блоком"},
  {Ctrl(Shift(Left)), WordLeftKey, "Слово влево с блоком"},
  {Ctrl(Shift(Right)), WordRightKey, "Слово вправо с блоком"},
  {Alt(F3), ToggleRus, "Rus"},
  {Alt(Up), Up4Key, "4 строки вверх"},
  {Alt(Down), Down4Key, "4 строки вниз"},
  {Alt(Left), WordwiseLeftKey, "Пословно влево"},
  {Alt(Right), WordwiseRightKey, "Пословно вправо"},
  {Alt(Shift(Up)), Up4Key, "4 строки вверх с блоком"},
  {Alt(Shift(Down)), Down4Key, "4 строки вниз с блоком"},

  // Keys known by their scan code.
  {Shift(Tab), PrevTabKey, "Предыдущая позиция табуляции"},
  {Ctrl(KpPlus), TogglePseudographics, "Псевдографика"},
  {Ctrl(Tab), WindowEdgeKey, "Верх или низ экрана"},
  {Alt(Equals), nullptr, "В колонку"},
  {Alt(Minus), nullptr, "Пометить колонку"},
  {Alt(Backspace), UndoChange, "Отмена последнего изменения"},
  {Alt(Q), nullptr, "Счет блока"},
  {Alt(W), DeleteWordKey, "Удалить слово"},
  {Alt(E), nullptr, "Прямоугольник до конца строки"},
  {Alt(R), RestoreRing, "Восстановить следующую строку"},
  {Alt(T), AltT, "Шаблон String"},
  {Alt(U), UnmarkBlocks, "Снять разметку"},
  {Alt(Enter), nullptr, "Повтор поиска"},
  {Alt(KpEnter), nullptr, "Повтор поиска"},
  {Alt(A), nullptr, "Выровнять по курсору"},
  {Alt(S), SplitKey, "Расщепить строку"},
  {Alt(F), nullptr, "Заполнить блок символом"},
  {Alt(G), nullptr, "Удалить блок"},
  {Alt(H), nullptr, "Помощь"},
  {Alt(J), JoinKey, "Объединить строки"},
  {Alt(C), nullptr, "Копия блока со снятием разметки"},
  {Alt(K), nullptr, "Копия блока без снятия разметки"},
  {Alt(L), nullptr, "Пометить блок строк"},
  {Alt(Z), nullptr, "Прямоугольник: слово"},
  {Alt(X), nullptr, "Прямоугольник: слово"},
  {Alt(V), nullptr, "Прямоугольник: слово"},
  {Alt(B), nullptr, "Прямоугольник: любой угол"},
  {Alt(N), nullptr, "Прямоугольник: вся строка"},
  {Alt(M), nullptr, "Перенос блока"},
  {Alt(Slash), nullptr, "Где блок"},
  {Alt(D1), nullptr, "Пометить строку 1"},
  {Alt(D2), nullptr, "Пометить строку 2"},
  {Alt(D3), nullptr, "Пометить строку 3"},
  {Alt(D4), nullptr, "Перейти к строке 1"},
  {Alt(D5), nullptr, "Перейти к строке 2"},
  {Alt(D6), nullptr, "Перейти к строке 3"},
  {Alt(D7), nullptr, "Пометить позицию 1"},
  {Alt(D8), nullptr, "Пометить позицию 2"},
  {Alt(D9), nullptr, "Перейти в позицию 1"},
  {Alt(D0), nullptr, "Перейти в позицию 2"},

  // Ctrl+Alt keys that are not macro keys.
  {Ctrl(Alt(Tab)), ShowKeyCode, "Код клавиши"},
  {Ctrl(Alt(Shift(Tab))), nullptr, "Extend #9"},
  {CtrlAltLeftShiftTab, nullptr, "Extend #9"},
  {Ctrl(Alt(Backspace)), QuitAtOnce, "Выход без записи"},
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

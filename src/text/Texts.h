// Every text the editor itself shows, by name. They are written here in UTF-8
// and become code page 866 bytes when the program is compiled: the bytes sit
// in static storage, so a text costs nothing at run time and is a plain
// std::string_view wherever it goes. A character that 866 lacks, or a text
// that is not valid UTF-8, stops the build instead of turning into '?' on a
// user's screen. Most of them are what users know the editor by, so they
// keep their bytes exactly, blanks included.
// The few texts written straight to the terminal or to stderr, outside the
// cell screen, stay UTF-8 and are at the end.
#pragma once
#include <cstddef>
#include <string_view>

#include "text/Cp866.h"

namespace lumo {

namespace Cp866Literal {

// Never defined: a conversion that reaches it is not a constant expression,
// so the compiler names it in its error.
void CharacterMissingFromCodePage866OrBadUtf8();

template <size_t N>
struct Utf8Literal {
  char Bytes[N];
  consteval Utf8Literal(const char (&s)[N]) {
    for (size_t i = 0; i < N; ++i) Bytes[i] = s[i];
  }
};

template <size_t N>
struct Encoded {
  char Bytes[N] = {};  // 866 never takes more bytes than UTF-8
  size_t Size = 0;
};

template <Utf8Literal S>
consteval auto Encode() {
  constexpr size_t N = sizeof S.Bytes;
  Encoded<N> out;
  auto byte = [](size_t i) { return uint32_t(uint8_t(S.Bytes[i])); };
  auto follower = [&](size_t i) {
    if (i >= N - 1 || (byte(i) & 0xC0) != 0x80) CharacterMissingFromCodePage866OrBadUtf8();
    return byte(i) & 0x3F;
  };
  for (size_t i = 0; i < N - 1;) {
    uint32_t cp = byte(i);
    if (cp < 0x80) {
      i += 1;
    } else if ((cp & 0xE0) == 0xC0) {
      cp = (cp & 0x1F) << 6 | follower(i + 1);
      i += 2;
    } else if ((cp & 0xF0) == 0xE0) {
      cp = (cp & 0x0F) << 12 | follower(i + 1) << 6 | follower(i + 2);
      i += 3;
    } else {
      CharacterMissingFromCodePage866OrBadUtf8();
    }
    const int b = UnicodeToCp866(cp);
    if (b < 0) CharacterMissingFromCodePage866OrBadUtf8();
    out.Bytes[out.Size++] = char(b);
  }
  return out;
}

template <Utf8Literal S>
inline constexpr auto Storage = Encode<S>();

}  // namespace Cp866Literal

// The 866 bytes of a UTF-8 literal, made by the compiler.
template <Cp866Literal::Utf8Literal S>
inline constexpr std::string_view Cp866{Cp866Literal::Storage<S>.Bytes, Cp866Literal::Storage<S>.Size};

namespace Texts {

// The start-up screen. Its notice, town and mail line and support lines are
// this editor's own.
inline constexpr std::string_view CreditsNotice = Cp866<"Lumo - редактор текстов для консоли">;
inline constexpr std::string_view CreditsTown = Cp866<" Томск * lumo@lumo.invalid ">;
inline constexpr std::string_view CreditsMenu = Cp866<"Menu - F10">;
inline constexpr std::string_view CreditsPressKey = Cp866<" Press any key. ">;
inline constexpr std::string_view CreditsSupport[3] = {
    Cp866<"Если редактор вам пригодился - расскажите о нём другим.">,
    Cp866<"Об ошибках и пожеланиях пишите по адресу выше.">,
    Cp866<"Спасибо за то, что пользуетесь Lumo!">,
};

// Loading, saving and the file-name prompt.
inline constexpr std::string_view NoMemory = Cp866<"НЕ ХВАТАЕТ ПАМЯТИ!">;
inline constexpr std::string_view TooManyLines = Cp866<"СЛИШКОМ МНОГО СТРОК! НЕ ЗАПИСЫВАЙТЕ ЭТОТ ФАЙЛ!">;
inline constexpr std::string_view BadFileName = Cp866<"Неверное имя файла!">;
inline constexpr std::string_view NewFile = Cp866<"Новый файл.">;
inline constexpr std::string_view Writing = Cp866<"Записывается ">;
inline constexpr std::string_view WriteError = Cp866<"Ошибка записи или файл - только для чтения!">;
inline constexpr std::string_view AskFileName = Cp866<"Введите имя файла или Esc: ">;
inline constexpr std::string_view FileNotFound = Cp866<"Файл не найден: ">;  // then the name
inline constexpr std::string_view AskDirectory = Cp866<"   Введите букву или путь:">;
// Around the directory that Ctrl+F2 could not write to.
inline constexpr std::string_view BadPathBefore = Cp866<"Неверно указано устройство или путь: ">;
inline constexpr std::string_view BadPathAfter = Cp866<" !">;
inline constexpr std::string_view NoDrives = Cp866<"Дисков здесь нет - введите путь к каталогу!">;
// Around the number of lines whose ends past byte 255 were not loaded.
inline constexpr std::string_view LinesCutBefore = Cp866<"Строк длиннее 255 байт: ">;
inline constexpr std::string_view LinesCutAfter = Cp866<" - их концы не загружены.">;
inline constexpr std::string_view InsertReadError = Cp866<"Ошибка чтения: файл вставлен не полностью!">;
inline constexpr std::string_view Utf8NotConverted =
    Cp866<"В файле есть знаки вне кодовой страницы 866 - он не перекодирован.">;
inline constexpr std::string_view AskSaveOnExit =
    Cp866<" Записать в файл ? | 1 - да | 2 - нет | 3 = Esc - продолжить редактирование |">;
inline constexpr std::string_view AskSaveCutLines =
    Cp866<" Длинные строки обрезаны. Записать обрезанный текст ? | 1 - да | 2 - нет |">;

// Recoding. The guess asks " X = ", the mean of the text's high bytes, ":"
// and then the question for a text held as 866.
inline constexpr std::string_view GuessMean = Cp866<" X = ">;
inline constexpr std::string_view RecodeFromAscii =
    Cp866<"  Recode from: | 1 - ANSI | 2 - koi8-r | 3 or Esc - not to change |">;
inline constexpr std::string_view RecodeFromKoi8 =
    Cp866<"  Recode from: | 1 - ANSI | 2 - ASCII | 3 or Esc - not to change |">;
inline constexpr std::string_view RecodeFromAnsi =
    Cp866<"  Recode from: | 1 - ASCII | 2 - koi8-r | 3 or Esc - not to change |">;
// Around the number of characters a whole-text recoding leaves without a way
// back: a save would write them as other bytes than the file held.
inline constexpr std::string_view RecodeLossBefore = Cp866<"Знаков без пары в новой кодировке: ">;
inline constexpr std::string_view RecodeLossAfter = Cp866<" - при записи они изменятся.">;
inline constexpr std::string_view AskSaveBeforeRecode =
    Cp866<" No line block marked - all file! To save it? |1 - yes|2 - no|3 - not to change|">;

// Editing commands.
inline constexpr std::string_view OnLastLine = Cp866<"Эта строка - последняя. Добавка новой - F3 или ВВОД.">;
inline constexpr std::string_view AskLineNumber = Cp866<"     Введите номер строки:">;
inline constexpr std::string_view AskDeleteLastLine =
    Cp866<"Последняя строка! Удалять ? | 1 - да | 2 или Esc - нет |">;
inline constexpr std::string_view NoSuchMark = Cp866<"Нет такой пометки!">;
// Blocks.
inline constexpr std::string_view NoBlock = Cp866<"Нет помеченного блока!">;
inline constexpr std::string_view BlockOverlap = Cp866<"Недопустимое перекрытие блоков!">;
inline constexpr std::string_view AskDeleteBlock =
    Cp866<" Удалить помеченный блок ? | 1 - да | 2 - нет | 3 или Esc - ничего |">;
// A copy, move or shift that would push a line past 255 bytes changes nothing.
inline constexpr std::string_view BlockTooLong = Cp866<"Блок не помещается: строка стала бы длиннее 255 байт.">;
// The block sum: the total follows the first, the offending piece and a bell
// the second.
inline constexpr std::string_view BlockSum = Cp866<"Сумма  по  блоку = ">;
inline constexpr std::string_view BadSumData = Cp866<"Некорректные данные для данной функции: ">;
// The colour command's bars; the byte and colour bars get their items added.
inline constexpr std::string_view ColourScope =
    Cp866<" Цвета | 1 Символ | 2 Слово | 3 Строка | 4 До конца строки | 5 = 4 без пробелов|">;
inline constexpr std::string_view ColourControl = Cp866<" Символ: |">;
inline constexpr std::string_view ColourControlHint = Cp866<"         #0 - Alt+F10, others - Alt+numeric keypad.">;
inline constexpr std::string_view ColourFore = Cp866<" Цвет букв: |">;
inline constexpr std::string_view ColourBack = Cp866<" Цвет фона: |">;
inline constexpr std::string_view ColourBlink =
    Cp866<" ? | 1 - без мерцания | 2 - с мерцанием | 3 или Esc - отказ |">;
// Tab expansion leaves a line that would grow past 255 bytes as it was; how
// many such lines there were follows.
inline constexpr std::string_view TabsKept = Cp866<"Строк длиннее 255 байт после раскрытия табуляции (оставлены): ">;
// The system clipboard holds more than the clipboard file may take.
inline constexpr std::string_view ClipboardTooLarge = Cp866<"В буфере обмена системы слишком много текста - не вставлено.">;
inline constexpr std::string_view MacroUndefined = Cp866<"Макрос не определен!">;
inline constexpr std::string_view MacrosOk = Cp866<" keydef.lmo - OK!">;
inline constexpr std::string_view AskSaveMacros = Cp866<" Макросы записать ? | 1 - да | 2 или Esc - нет |">;
inline constexpr std::string_view AskFillChar = Cp866<"Введите символ заполнения: ">;

// Keystroke recording.
inline constexpr std::string_view RecordingHint = Cp866<"В конце набора команд снова нажмите Shift+F9.">;
inline constexpr std::string_view RecordingOverflow = Cp866<" Too many keystrokes! Buffer recording stopped.">;
inline constexpr std::string_view RecordingStopped = Cp866<" Buffer recording stopped.">;
inline constexpr std::string_view KeystrokesOk = Cp866<" kbdbufer.lmo - OK!">;

// Search and replace.
inline constexpr std::string_view Searching = Cp866<"Идет поиск строки ">;  // then the text
inline constexpr std::string_view NotFound = Cp866<"Строка не найдена.">;
inline constexpr std::string_view AllReplaced = Cp866<"Все замены осуществлены.">;
inline constexpr std::string_view AskIgnoreCase =
    Cp866<" Величину букв игнорировать ? | 1 - да | 2 - нет | 3 или Esc - отказ от поиска |">;
// The first "o" of its last answer is a Latin one, as users have always seen it.
inline constexpr std::string_view AskReplaceScope =
    Cp866<" По всему файлу ? | 1 - да | 2 - по блоку строк | 3 или Esc - oтказ от замены |">;
inline constexpr std::string_view AskConfirmEach =
    Cp866<" С подтверждением каждого ? | 1 - да | 2 нет | 3 или Esc - отказ от замены |">;
inline constexpr std::string_view AskReplaceThis =
    Cp866<" Менять ? | 1 - да | 2 - нет | 3 - все | 4 или Esc - отмена процесса |">;
inline constexpr std::string_view OddPairLines = Cp866<"Нечетное число строк в файле!">;
// A replacement that typing could not take whole: past 255 bytes, or a word
// at the right margin with no blank to wrap at.
inline constexpr std::string_view ReplaceStopped = Cp866<"Замена остановлена: замена не входит в строку.">;
// A pairs file the replace will not use at all.
inline constexpr std::string_view PairsTooLong = Cp866<"В файле замен есть строки длиннее 255 байт - замен нет.">;
inline constexpr std::string_view PairsNotText = Cp866<"Файл замен - не текст (в нем есть байты 0) - замен нет.">;
inline constexpr std::string_view PairsReadError = Cp866<"Ошибка чтения файла замен - замен нет.">;

// Text pasted into the terminal: why nothing was inserted, and how many
// characters were left out (the number follows).
inline constexpr std::string_view PasteTooLong = Cp866<"Вставка отменена: строка стала бы длиннее 255 байт.">;
inline constexpr std::string_view PasteTooManyLines = Cp866<"Вставка отменена: строк в тексте стало бы больше 24575.">;
inline constexpr std::string_view PasteNoMemory = Cp866<"Вставка отменена: для неё не хватает памяти.">;
inline constexpr std::string_view PasteTooBig = Cp866<"Вставка отменена: слишком много текста за один раз.">;
inline constexpr std::string_view PasteLeftOut = Cp866<"Знаков вне кодовой страницы 866 при вставке пропущено: ">;

// Titles of the prompt line.
inline constexpr std::string_view AskSearchText = Cp866<"Введите строку для поиска: ">;
inline constexpr std::string_view AskReplaceText = Cp866<"Введите строку для замены: ">;
inline constexpr std::string_view AskMacroWord = Cp866<"        Слово для макроса: ">;

// The history screen.
inline constexpr std::string_view HistoryTitle = Cp866<"  To get back, press Alt+Ctrl+Tab. Now press any key.">;
inline constexpr std::string_view HistoryDefines[3] = {
    Cp866<" {$DEFINE WINDOWS}">, Cp866<" {$DEFINE NOBLINK}">, Cp866<" {$DEFINE RUSSIAN}">};
inline constexpr std::string_view HistoryAskSlot =
    Cp866<"  Enter number of a line you want to restore.        ">;
inline constexpr std::string_view CodePageAscii = Cp866<" ASCII">;
inline constexpr std::string_view CodePageAnsi = Cp866<" ANSI">;
inline constexpr std::string_view CodePageKoi8 = Cp866<" KOI8">;
inline constexpr std::string_view CodePageUtf8 = Cp866<" UTF-8">;

// The menu tree: each menu's line (its title, then one item between every two
// "|", whatever digit an item shows) and the hint row under it. Every "|"
// counts, also the ones that split "2 |ез снятия разм." and "5 |лок ", and
// the hints name the keys as users have always read them.
namespace Menu {
inline constexpr std::string_view Main = Cp866<" Основное:|1 Файл|2 Текст|3 Сервис|4 Цвета|5 Помощь|6 Keystrokes|7 Выход|8 Rus|">;
inline constexpr std::string_view MainHint =
    Cp866<"   Прямо: |                          ^F10  F1=Alt+H   {Alt^Tab}     Esc  Alt+F4">;
inline constexpr std::string_view File = Cp866<" Файл |1 Запись|2 Зап-ь в др.|3 Зап-ь блок|4 Взять файл|5 Отмена п.4|6 Ред. др.|">;
inline constexpr std::string_view FileHint =
    Cp866<" Прямо|    F2        ^F2         Shift+F2     Shift+F1      ^F1        ^+F4">;
inline constexpr std::string_view Text = Cp866<" Текст|1 Блоки|2 Поиск|3 Курсор|4 Экран|5 Строка|6 Удаление|7 Формат|8 Get back|">;
inline constexpr std::string_view Blocks = Cp866<" Блоки|1 Строк|2 Прямоуг.|3 Копия|4 Перенос|5 Удал.|6 Сдв>|7 Сдв<|8 Еще|9 Снять|">;
inline constexpr std::string_view BlocksHint =
    Cp866<" Прямо|Alt+L,Sh+arrows up/dn         Alt+M   Alt+G   ^Ins   ^Del       Alt+U=Esc">;
inline constexpr std::string_view Rect = Cp866<" Блок-прямоугольник|1 Любой угол|2 Слово|3 До конца строки|4 Вся строка|5 Сдвиг|">;
inline constexpr std::string_view RectHint =
    Cp866<"        Прямо:     |   Alt+B  Alt+V=X,Sh^><  Alt+E=Shift+End    Alt+N   Shift+><">;
inline constexpr std::string_view UseKeyboard = Cp866<"  Use keyboard! Shifted arrows left-right.">;
inline constexpr std::string_view Copy = Cp866<" Копировать блок|1 Со снятием разметки|2 |ез снятия разм.|3 В буфер|4 Из буфера|">;
inline constexpr std::string_view CopyHint =
    Cp866<"      Прямо     |          Alt+C              Alt+K         ^C,^X        ^V">;
inline constexpr std::string_view MoreBlocks = Cp866<" Еще блоки|1 В большие|2 В малые|3 Заполнить символом|4 QWE>ЙЦУ|5 ЙЦУ>QWE|6 Где|">;
inline constexpr std::string_view MoreBlocksHint =
    Cp866<"   Прямо  |  Shift+F5   Shift+F6          Alt+F       Shift+F3  Shift+F4  Alt+/">;
inline constexpr std::string_view Search = Cp866<" Поиск|1 Б/учета размера|2 С учетом|3 Повтор|4 Вверх|5 Замена|6 Замена по файлу|">;
inline constexpr std::string_view SearchHint = Cp866<" Прямо|         F7        Shift+F7   ^+Enter    ^F7      F6">;
inline constexpr std::string_view Pairs = Cp866<" Замена по файлу |1 Нечетные в четные (1 во 2) |2 Четные в нечетные (2 в 1) |">;
inline constexpr std::string_view PairsHint = Cp866<"      Прямо      |    Alt+F8 = Ctrl+Shift+F8             Shift+Alt+F8">;
inline constexpr std::string_view Cursor = Cp866<" Курсор|1 Слово <|2 Слово >|3 Верх эк.|4 Низ эк.|5 4 стр^|6 4 стр_|7 Сдел.верх.|">;
inline constexpr std::string_view CursorHint =
    Cp866<" Прямо |  Ctrl+<    Ctrl+>     ^Tab       ^Tab    Alt+up   Alt+dn       F5">;
inline constexpr std::string_view Screen = Cp866<" Экран|1 Верхний файла|2 Нижний файла|3 Строка по №|4 Сдвиг^|5 Сдвиг_|6 Метки|">;
inline constexpr std::string_view ScreenHint = Cp866<" Прямо|     ^+Home          ^+End            F4       ^PgUp    ^PgDn">;
inline constexpr std::string_view Marks = Cp866<" Метки|1 Строки|2 К строке|3 Позиции|4 В позицию|5 Колонки|6 В колонку|7 Д/ F12|">;
inline constexpr std::string_view MarksHint =
    Cp866<" Прямо|                                           Alt+\"-\"    Alt+\"=\"     ^F12">;
inline constexpr std::string_view MarkLine = Cp866<" Пометить строку: |  1  |  2  |  3  |">;
inline constexpr std::string_view MarkLineHint = Cp866<"      Прямо:      |Alt+1 Alt+2 Alt+3">;
inline constexpr std::string_view GoLine = Cp866<" Перейти к строке: |  1  |  2  |  3  |">;
inline constexpr std::string_view GoLineHint = Cp866<"       Прямо:      |Alt+4 Alt+5 Alt+6">;
inline constexpr std::string_view MarkPos = Cp866<" Пометить позицию: |  1  |  2  |">;
inline constexpr std::string_view MarkPosHint = Cp866<"       Прямо:      |Alt+7 Alt+8">;
inline constexpr std::string_view GoPos = Cp866<" Перейти в позицию: |  1  |  2  |">;
inline constexpr std::string_view GoPosHint = Cp866<"      Прямо:        |Alt+9 Alt+0">;
inline constexpr std::string_view Line = Cp866<" Строка|1 Добавить пустую|2 Дублировать|3 Расщепить|4 Объединить|5 Восстановить|">;
inline constexpr std::string_view LineHint = Cp866<" Прямо |        F3              F8          Alt+S       Alt+J">;
inline constexpr std::string_view Restore = Cp866<" Восстановить:|1 Строку как до входа|2 Следующую строку|3 Отмена послед.измен-я|">;
inline constexpr std::string_view RestoreHint =
    Cp866<"     Прямо:   |       Shift+F10              Alt+R          Alt+BackSpace">;
inline constexpr std::string_view Delete = Cp866<" Удалить:|1 Строку |2 Слово |3 Слово влево |4 До конца строки |5 |лок |">;
inline constexpr std::string_view DeleteHint =
    Cp866<"  Прямо: |  Ctrl+Y    Alt+W   Ctrl+BkSpace        Ctrl+K        Alt+G">;
inline constexpr std::string_view Format = Cp866<" Формат|1 Выровнять по курсору|2 Toggle огранич. длины|3 Формат\x15 |4 Extend #9|">;
inline constexpr std::string_view FormatHint = Cp866<" Прямо |          Alt+A            Shift+Enter(Ins)">;
inline constexpr std::string_view Paragraph = Cp866<" Формат параграфа|1 Справа ровно|2 Справа неровно|3 Длина строки для форматир-я|">;
inline constexpr std::string_view ParagraphHint = Cp866<"      Прямо      | Ctrl+Shift+F       Ctrl+F">;
inline constexpr std::string_view AskColumns = Cp866<"Сколько колонок в строке?">;
// The seventh item shows "6 RUN" and is chosen with 7; the "a" of "блокa" is a Latin one.
inline constexpr std::string_view Service = Cp866<" Сервис|1 Макросы|2 Буфер|3 Продолж.|4 Счет блокa|5 Перекод|6 Псевдограф.|6 RUN|">;
inline constexpr std::string_view ServiceHint =
    Cp866<" Прямо |                                   ^Q         F11      (on/off)   Alt+F2">;
inline constexpr std::string_view Pseudo = Cp866<" Псевдографика: | 1 Включить | 2 Выключить |">;
inline constexpr std::string_view Macros = Cp866<" Макросы|1 Взять слово|2 Воспр.его|3 Вкл.|4 Выкл.|5 Перечит.файл м-сов|6 Запис.|">;
inline constexpr std::string_view MacrosHint = Cp866<" Прямо  | Alt^Shift+кл   Alt+^+кл">;
inline constexpr std::string_view AskMacroKey = Cp866<"Нажмите клавишу идентификации макроса: ">;
inline constexpr std::string_view Buffer = Cp866<" Буфер:|1 Начать формир.буфера|2 Воспр. буфер|3 Записать в файл|4 Считать файл|">;
inline constexpr std::string_view BufferHint =
    Cp866<" Прямо:|        Shift+F9              F9            Alt+F9            ^F9">;
inline constexpr std::string_view Continue = Cp866<"Продолжение|1 Строки/слова|2 Ред. shorts.lmo|3 Приписать слово|4 Припис. строку|">;
inline constexpr std::string_view ContinueHint =
    Cp866<"Прямо:     |       \\              Alt+F3            Alt+\\         Alt+Shift+\\">;
}  // namespace Menu

// What the template keys type in Pascal texts, and the two words Ctrl+T and
// Ctrl+N type elsewhere.
namespace Template {
inline constexpr std::string_view Writeln = "Writeln(); ", Else = "else ", Readln = "Readln(); ", Then = "then ",
                                  Until = "Until ", Integer = "Integer", Repeat = "Repeat ", OpenComment = "(* ",
                                  CloseComment = " *) ", Absolute = "Absolute ", Assign = "Assign(); ",
                                  Debug = "debug(); ", Function = "Function ", Goto = "Goto ", While = "While ",
                                  Procedure = "Procedure ", Begin = "Begin ", End = "End; ", Becomes = " := ",
                                  String = "String", The = "the ", And = "and ";
}  // namespace Template

// Our own texts fit the narrowest screen: a choice bar wider than its row
// would hide its last answers, a longer message its end.
static_assert(AskSaveCutLines.size() <= 80 && NoDrives.size() <= 80 && InsertReadError.size() <= 80 &&
              Utf8NotConverted.size() <= 80);
static_assert(GuessMean.size() + 4 + RecodeFromAscii.size() <= 80 && AskSaveBeforeRecode.size() <= 80);
static_assert(LinesCutBefore.size() + 5 + LinesCutAfter.size() <= 80);  // 24575 lines at most
static_assert(AskIgnoreCase.size() <= 80 && AskReplaceScope.size() <= 80 && AskConfirmEach.size() <= 80 &&
              AskReplaceThis.size() <= 80 && ReplaceStopped.size() <= 80 && PairsTooLong.size() <= 80 &&
              PairsNotText.size() <= 80 && PairsReadError.size() <= 80);
static_assert(PasteTooLong.size() <= 80 && PasteTooManyLines.size() <= 80 && PasteNoMemory.size() <= 80 &&
              PasteTooBig.size() <= 80 && PasteLeftOut.size() + 8 <= 80);

// Straight to the terminal or stderr (UTF-8), before or around the cells.
inline constexpr std::string_view NotATerminal = "стандартный ввод и вывод должны быть терминалом";
inline constexpr std::string_view CannotReadTerminalMode = "не удалось прочесть режим терминала: ";
inline constexpr std::string_view CannotSetRawMode = "не удалось перевести терминал в прямой режим: ";
// Then the size now, as columns×rows, and a full stop.
inline constexpr std::string_view WindowTooSmall = "Окно слишком мало: нужно не меньше 80 столбцов и 3 строк, сейчас ";

// Completion and the completion list.
inline constexpr std::string_view CompletionTitle = Cp866<" Подходящая строка: ">;
inline constexpr std::string_view ShortsReread = Cp866<" shorts.lmo - OK!">;
inline constexpr std::string_view ShortsAdded = Cp866<"Added ">;

}  // namespace Texts

}  // namespace lumo

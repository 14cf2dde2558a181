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
inline constexpr std::string_view MacroUndefined = Cp866<"Макрос не определен!">;
inline constexpr std::string_view AskFillChar = Cp866<"Введите символ заполнения: ">;

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

}  // namespace Texts

}  // namespace lumo

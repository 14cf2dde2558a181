// Code page 866, the editor's internal code page, and its meeting with UTF-8:
// the terminal speaks UTF-8, file names are the system's UTF-8, and the
// program's own texts are written in UTF-8 source and turned into 866 when
// the program is compiled (text/Texts.h).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace lumo {

// The UTF-8 glyph shown for a cell byte; bytes below 32 and 0x7F are the PC
// glyphs, byte 0 a blank.
std::string_view GlyphUtf8(uint8_t byte);
// The Unicode code point of a cp866 byte as text (control bytes stay controls).
uint32_t Cp866ToUnicode(uint8_t byte);
// The published layout of bytes 0x80-0xFF.
inline constexpr char16_t Cp866Upper[128] = {
    u'А', u'Б', u'В', u'Г', u'Д', u'Е', u'Ж', u'З', u'И', u'Й', u'К', u'Л', u'М', u'Н', u'О', u'П',
    u'Р', u'С', u'Т', u'У', u'Ф', u'Х', u'Ц', u'Ч', u'Ш', u'Щ', u'Ъ', u'Ы', u'Ь', u'Э', u'Ю', u'Я',
    u'а', u'б', u'в', u'г', u'д', u'е', u'ж', u'з', u'и', u'й', u'к', u'л', u'м', u'н', u'о', u'п',
    u'░', u'▒', u'▓', u'│', u'┤', u'╡', u'╢', u'╖', u'╕', u'╣', u'║', u'╗', u'╝', u'╜', u'╛', u'┐',
    u'└', u'┴', u'┬', u'├', u'─', u'┼', u'╞', u'╟', u'╚', u'╔', u'╩', u'╦', u'╠', u'═', u'╬', u'╧',
    u'╨', u'╤', u'╥', u'╙', u'╘', u'╒', u'╓', u'╫', u'╪', u'┘', u'┌', u'█', u'▄', u'▌', u'▐', u'▀',
    u'р', u'с', u'т', u'у', u'ф', u'х', u'ц', u'ч', u'ш', u'щ', u'ъ', u'ы', u'ь', u'э', u'ю', u'я',
    u'Ё', u'ё', u'Є', u'є', u'Ї', u'ї', u'Ў', u'ў', u'°', u'∙', u'·', u'√', u'№', u'¤', u'■', u'\u00A0',
};

// The cp866 byte for a code point, or -1 when the code page lacks it.
constexpr int UnicodeToCp866(uint32_t cp) {
  if (cp < 0x80) return int(cp);
  if (cp >= 0x410 && cp <= 0x43F) return int(cp - 0x410 + 0x80);
  if (cp >= 0x440 && cp <= 0x44F) return int(cp - 0x440 + 0xE0);
  for (int i = 0; i < 128; ++i)
    if (Cp866Upper[i] == cp) return 0x80 + i;
  return -1;
}

// Converts UTF-8 text known only at run time (a file name) to cp866;
// characters that 866 lacks become '?'.
std::string Cp(std::string_view utf8);
// The first characters of utf8 in cp866, at most max of them, into out; no
// allocation, for what is drawn on every pass.
size_t CpPrefix(std::string_view utf8, char* out, size_t max);
// Appends the cp866 of UTF-8 text from outside (a paste) to out, leaving out
// the characters that 866 lacks and the bytes that are no UTF-8 at all;
// returns how many characters it left out.
size_t AppendCp866(std::string_view utf8, std::string& out);
// Converts cp866 text to UTF-8: file names typed at a prompt are made into
// the names the system knows (control bytes stay as they are).
std::string Utf8FromCp866(std::string_view cp866);

}  // namespace lumo

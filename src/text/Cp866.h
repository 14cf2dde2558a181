// Code page 866, the editor's internal code page, and its meeting with UTF-8:
// the terminal speaks UTF-8, the program's own texts are written in UTF-8
// source and turned into 866 where they are used.
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
// The cp866 byte for a code point, or -1 when the code page lacks it.
int UnicodeToCp866(uint32_t cp);
// Converts UTF-8 text to cp866; characters that 866 lacks become '?'.
std::string Cp(std::string_view utf8);
// The first characters of utf8 in cp866, at most max of them, into out; no
// allocation, for what is drawn on every pass.
size_t CpPrefix(std::string_view utf8, char* out, size_t max);
// Converts cp866 text to UTF-8: file names typed at a prompt are made into
// the names the system knows (control bytes stay as they are).
std::string Utf8FromCp866(std::string_view cp866);

}  // namespace lumo

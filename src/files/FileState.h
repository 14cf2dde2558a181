// The edited file's binding and what the loader learnt about it.
#pragma once
#include <cstdint>
#include <string>

namespace lumo {

enum class CodePage : uint8_t { Ascii, Ansi, Koi8, Utf8 };
enum class LineEnd : uint8_t { CrLf, Lf, Cr };

struct FileState {
  std::string FileName;        // as typed, at most 127 bytes; empty = no name yet
  std::string BoundName;       // the file every save rewrites
  std::string BlockFileName;   // remembered between block writes and insertions
  CodePage FileCodePage = CodePage::Ascii;
  bool CodePageCheck = true;   // option "P" turns the UTF-8 check and the guess off
  bool CompactLoad = false;    // the load was repeated with RightMargin 7
  int CutLines = 0;            // lines cut at 255 bytes by the last load
  bool CutConfirmed = false;   // the user agreed to save over a file with cut lines
  int16_t InsertMark = 0;      // last line inserted by the take-file command, 0 = none
  // A UTF-8 file is written back as it came: every line ended as its first
  // line was, and its byte-order mark kept. Other files get CR LF.
  LineEnd LineEnds = LineEnd::CrLf;
  bool Utf8Bom = false;
};

}  // namespace lumo

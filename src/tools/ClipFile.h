// The clipboard file that copied text goes through, between commands and
// between editors: a header line whose first byte says what follows ("L"
// whole lines, "B" the pieces of a rectangle or a prompt answer, then "A"
// when the text was in the ANSI code page and the outside exchange is on),
// then the content, one line each, CR LF between lines.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "app/Editor.h"

namespace lumo {

inline constexpr char ClipLines = 'L';
inline constexpr char ClipPieces = 'B';
inline constexpr char ClipNone = ' ';

// Replaces the clipboard file in one step. A "B" file has no line end after
// its last piece. A prompt answer goes without the code-page mark.
// False when nothing was written.
bool WriteClipFile(const Editor& e, char type, const std::vector<std::string>& lines, bool codePageMark = true);

struct ClipContent {
  char Type = ClipNone;  // ClipNone when there is no file to read
  std::vector<std::string> Lines;
};

// The file's type and content lines, in code page 866 also when the header
// says they are 1251 lines. A file that was hand-made or damaged
// gives what stands before its first line that no text line could hold
// (longer than 255 bytes), and never more lines than a text can have.
ClipContent ReadClipFile(const Editor& e);

// With the outside exchange on (option "#"), every write is handed to the
// clipboard helper, and a paste first takes the system clipboard into the
// file. False, with the message shown, when the system clipboard held more
// than a text can: the file stays as it was and nothing is to be pasted.
bool RefreshClipFile(Editor& e);

}  // namespace lumo

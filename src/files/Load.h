// Reading the edited file into the line table at start-up.
#pragma once
#include <string>
#include <string_view>
#include "app/Editor.h"
#include "files/Utf8Text.h"

namespace lumo {

enum class LoadResult {
  Loaded,    // the file was read (possibly with lines cut or the count limit hit)
  NewFile,   // it did not exist and was created empty
  BadName,   // it can neither be opened nor created; the text is empty and unnamed
  OutOfMemory,  // even the compact reload did not fit: start-up fails (exit code 2)
};

// Loads e.FileName with the margins the name's extension has set. Shows the
// messages of the load and leaves the text with at least one line unless the
// result is OutOfMemory.
LoadResult LoadStartupFile(Editor& e);

// Splits bytes into lines and appends them: the loader's core, separate so that
// tests and the fuzzer can feed it bytes without a file. Returns false when the
// compact reload ran out of memory too; verdict says what UTF-8 made of it.
bool LoadBytes(Editor& e, std::string_view bytes, Utf8Verdict* verdict = nullptr);

// The look a load takes at its first lines for a text in 1251 or KOI8-R.
void GuessLoadedCodePage(Editor& e, Utf8Verdict utf8);

// The message after a read that cut count lines at 255 bytes.
std::string LinesCutMessage(int count);

// Ensures the text has a line (an empty or unnamed text gets one blank line).
void EnsureOneLine(Editor& e);

}  // namespace lumo

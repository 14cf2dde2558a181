// Texts that came in another code page: the guess after a load or a file
// taken in, and the recoding command, which also fixes a wrong answer.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// Looks at the high bytes of lines first..last; a text that looks like 1251
// or KOI8-R is offered for recoding. With whole, an answer recodes the whole
// text and becomes the file's code page; otherwise only first..last change.
void GuessCodePage(Editor& e, int first, int last, bool whole);

// Recodes the line block, or the whole text and the file's code page.
Reentry RecodeKey(Editor& e, KeyCode key);

}  // namespace lumo

// The look at freshly read lines that decides whether the text came in
// another code page. The guess itself comes with recoding; until then the
// text is taken as code page 866.
#pragma once
#include "app/Editor.h"

namespace lumo {

void CheckCodePage(Editor& e, int first, int last, bool whole);

}  // namespace lumo

// Text pasted into the terminal. It is text, not typing: none of the typing
// rules apply (no wrap, no indent, no translation, no abbreviation, always
// inserted), line breaks split the line, and the whole paste goes in or
// nothing does.
#pragma once
#include <string_view>
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// The paste key: inserts the text the console hands over with it.
Reentry PasteKey(Editor& e, KeyCode key);
// Inserts UTF-8 text at the cursor; the text right of the cursor ends up
// after it, and the cursor too. A paste that would break the line length,
// the line limit or the budget is refused with a message, changing nothing.
void PasteText(Editor& e, std::string_view utf8);

}  // namespace lumo

// Paragraphs and indentation: the paragraph at the cursor reflowed to
// FormatWidth (the right edge even or ragged), one line moved to a column,
// and tab bytes turned into blanks.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

// Moves the current line's text to start at column target; a blank line
// stays as it is. Only blanks give way at 255 bytes, never text.
void Reindent(Editor& e, int target);
// Reflows the paragraph at the cursor (or the next one below an empty line)
// to FormatWidth; justified, every line but the last ends at the width. The
// cursor goes to the line after it, so the next call takes the next one.
void FormatParagraph(Editor& e, bool justify);
// Every tab byte of the text becomes blanks up to the next column after a
// multiple of 8; a line that would grow past 255 bytes keeps its tabs.
void ExpandTabs(Editor& e);

Reentry ReindentAtCursorKey(Editor& e, KeyCode key);  // Alt+A
Reentry ReindentToMarginKey(Editor& e, KeyCode key);  // Ctrl+L
Reentry FormatJustifiedKey(Editor& e, KeyCode key);   // Ctrl+Shift+F
Reentry FormatRaggedKey(Editor& e, KeyCode key);      // Ctrl+F
Reentry ExpandTabsKey(Editor& e, KeyCode key);        // Ctrl+Alt+Shift+Tab

}  // namespace lumo

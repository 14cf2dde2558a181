// Cell addressing and the text window: DrawLine turns one stored line into a
// row of cells (control glyphs, stored colours, comments, blocks, marks, the
// cursor cross, sideways scroll); DrawWindow draws every text row.
#pragma once
#include <cstdint>
#include <string_view>
#include "app/Editor.h"

namespace lumo {

void CellAt(Editor& e, int row, int col);
void PutCell(Editor& e, int col, int row, uint8_t ch, uint8_t attr);
// Writes text from (col, row) in one attribute, then updates (not forced).
void WriteAt(Editor& e, int col, int row, std::string_view text, uint8_t attr);
// 1-based; passed on 0-based to the console.
void SetCursor(Editor& e, int col, int row);
// left = HScroll; index 0 draws the status text without highlighting and
// without an update; an index past LineCount draws a blank row.
void DrawLine(Editor& e, int left, int index, int row, bool update = true);
void DrawWindow(Editor& e);

}  // namespace lumo

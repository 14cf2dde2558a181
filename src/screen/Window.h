// Cell addressing and the text window: DrawLine turns one stored line into a
// row of cells (control glyphs, stored colours, comments, blocks, marks, the
// cursor cross, sideways scroll); DrawWindow draws every text row. Drawing
// only fills the cell buffer; the draw step is the one way cells reach the
// screen.
#pragma once
#include <cstdint>
#include <string_view>
#include "app/Editor.h"

namespace lumo {

void CellAt(Editor& e, int row, int col);
void PutCell(Editor& e, int col, int row, uint8_t ch, uint8_t attr);
// Writes text from (col, row) in one attribute.
void WriteAt(Editor& e, int col, int row, std::string_view text, uint8_t attr);
// 1-based; passed on 0-based to the console.
void SetCursor(Editor& e, int col, int row);
// left = HScroll; index 0 draws the status text without highlighting; an
// index past LineCount draws a blank row.
void DrawLine(Editor& e, int left, int index, int row);
void DrawWindow(Editor& e);

// Text line index changed and is to be drawn again.
void MarkLine(Editor& e, int index);
// Every text row is to be drawn again.
void MarkWindow(Editor& e);
// A screen of its own (a full-screen display) covers the window: nothing of
// it is drawn until it is marked whole again.
void HideWindow(Editor& e);
// Draws what is marked, and the rows that a scroll, a moved cursor cross or
// a changed block or line count affect, into the cell buffer.
void DrawMarked(Editor& e);
// The draw step: unless input is already waiting, DrawMarked and one update
// of the console. Called just before the editor would block on input.
void ShowScreen(Editor& e);

}  // namespace lumo

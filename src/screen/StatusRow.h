// The two top rows: the status row with its fields, messages with their
// colouring and waits, the idle message row, bar lines and choice bars.
#pragma once
#include <cstdint>
#include <string_view>
#include "app/Editor.h"

namespace lumo {

void DrawStatus(Editor& e);
// The status row is to be drawn at the next draw step.
void MarkStatus(Editor& e);
// wait 1: until a key or about 3 s, then ClearMessage; 30: show and clear;
// below 30 (0, 22): show and return.
void ShowMessage(Editor& e, std::string_view text, int wait);
void ClearMessage(Editor& e);
// The cell of the idle message row: MessageIdle, turned bright (bit 0x0800)
// while LengthLimit is off. The settings file keeps the setting as this value.
Cell IdleCell(const Editor& e);
// After the console's width changed from oldWidth: an idle message row is
// drawn idle again across the new width; a message or a prompt on it is left
// to whoever shows it.
void ResizeMessageRow(Editor& e, int oldWidth);
void ShowBarLine(Editor& e, std::string_view text, int row, uint8_t attr);
// Answer in e.ChoiceResult (0 refusal, 1..n, 80 leave all menus), also returned.
int ChoiceBar(Editor& e, std::string_view question, std::string_view hint, uint8_t questionAttr,
              uint8_t optionAttr, uint8_t selectedAttr, uint8_t hintAttr);
// The usual colours 0x3F, 0x2F, 0x5F, 0x0D with option 1 preselected.
int AskChoice(Editor& e, std::string_view question, std::string_view hint = {});

// Reads a key from the console and normalises its shift state (1 or 3 become
// 2); the unnormalised state is kept in e.RawShift. What is marked is drawn
// first, unless the key is already there. Pastes are dropped: a paste is
// text, never an answer, so only the main loop and the prompt line, which
// read through ReadKeyOrPaste, ever see one.
KeyCode ReadKey(Editor& e);
KeyCode ReadKeyOrPaste(Editor& e);
// Waits up to ms for a key and leaves it unread; a paste that comes
// meanwhile is dropped and the wait goes on. True when a key is waiting.
bool WaitForKey(Editor& e, int ms);

}  // namespace lumo

// The keystroke buffer to and from its file, kbdbufer.lmo: 128 bytes, the
// 32 slots as the buffer holds them.
#pragma once
#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

enum class KeystrokeTransfer : uint8_t { SilentRead, Write, Read };

void TransferKeystrokes(Editor& e, KeystrokeTransfer how);

Reentry WriteKeystrokesKey(Editor& e, KeyCode key);  // Ctrl+Shift+F9, Alt+F9
Reentry ReadKeystrokesKey(Editor& e, KeyCode key);   // Ctrl+F9

}  // namespace lumo

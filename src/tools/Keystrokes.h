// The one key source of the main loop and of the prompt line, and the
// keystroke buffer behind it: a recording keeps what these two readers take,
// and a replay hands the kept keys back to them in place of the keyboard.
// Every other reader (choice bars, waiting messages, the key-code insertion
// of the prompt) goes to the keyboard itself, so a replay never answers a
// question on the user's behalf. Pastes come through too; these two readers
// alone take them as text, and a paste is never recorded: its text is not
// in the key.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "app/Editor.h"
#include "screen/Console.h"

namespace lumo {

inline constexpr int KeystrokeSlots = 32;
inline constexpr size_t KeystrokeFileSize = KeystrokeSlots * 4;
inline constexpr std::string_view KeystrokeFileName = "kbdbufer.lmo";

enum class KeyFrom : uint8_t {
  Key,         // key holds the next key
  ReplayOver,  // the replay reached its end mark or its last slot; no key
  Overflow,    // the key filled the last slot; recording must stop with it
};

// The next key: a running replay's next slot, else the keyboard. While
// recording, the key is kept; on an overflow the message has been shown.
KeyFrom NextKey(Editor& e, KeyCode& key);
// The main loop's read: false when there is nothing to dispatch (the replay
// ended, or an overflow, which has already stopped the recording).
bool LoopKey(Editor& e, KeyCode& key);

void StartRecording(Editor& e);
// key is the one that stopped the recording; its slot becomes the end mark.
void StopRecording(Editor& e, KeyCode key);

Reentry RecordKey(Editor& e, KeyCode key);  // Shift+F9: start, or stop
Reentry ReplayKey(Editor& e, KeyCode key);  // F9

// The slots as the keystroke file holds them: each key's four bytes,
// character first.
std::string KeystrokeBytes(const Editor& e);
// Fills the slots from a file's bytes: a short file gives bytes 26 past its
// end. With cut set (a read error) only the slots read whole change.
void KeystrokesFromBytes(Editor& e, std::string_view bytes, bool cut = false);
// Reads the file open on fd into the slots.
void ReadKeystrokes(Editor& e, int fd);

}  // namespace lumo

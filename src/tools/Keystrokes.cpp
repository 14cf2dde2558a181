// A replay only ever moves forward through the slots, and nothing restarts
// it while it runs (F9 is refused then), so every replay ends within 32 keys
// whatever the slots hold: a recording that holds F9 plays once.
#include "tools/Keystrokes.h"


#include "screen/KeyNames.h"
#include "screen/StatusRow.h"
#include "text/Texts.h"
#include "tools/SideFile.h"

namespace lumo {
namespace {

bool IsEndMark(KeyCode k) { return keys::CharAndScan(k) == 0; }

}  // namespace

KeyFrom NextKey(Editor& e, KeyCode& key) {
  if (e.ReplayIndex > 0) {
    if (e.ReplayIndex > KeystrokeSlots || IsEndMark(e.Keystroke[e.ReplayIndex - 1])) {
      e.ReplayIndex = 0;
      return KeyFrom::ReplayOver;
    }
    key = e.Keystroke[e.ReplayIndex - 1];
    ++e.ReplayIndex;
    // Only the normalised state was kept; it stands in for the raw one.
    e.RawShift = ShiftOf(key);
  } else {
    key = ReadKeyOrPaste(e);
  }
  if (e.RecordCount == 0 || key == keys::Paste) return KeyFrom::Key;
  e.Keystroke[e.RecordCount - 1] = key;
  if (++e.RecordCount <= KeystrokeSlots) return KeyFrom::Key;
  ShowMessage(e, Texts::RecordingOverflow, 1);
  return KeyFrom::Overflow;
}

bool LoopKey(Editor& e, KeyCode& key) {
  const KeyFrom from = NextKey(e, key);
  if (from == KeyFrom::Overflow) StopRecording(e, key);
  return from == KeyFrom::Key;
}

void StartRecording(Editor& e) {
  e.RecordCount = 1;
  ShowMessage(e, Texts::RecordingHint, 0);
}

void StopRecording(Editor& e, KeyCode key) {
  if (e.RecordCount > 1) e.Keystroke[e.RecordCount - 2] = key & ~KeyCode(0xFFFF);
  e.RecordCount = 0;
  ShowMessage(e, Texts::RecordingStopped, 1);
  ClearMessage(e);
}

Reentry RecordKey(Editor& e, KeyCode key) {
  if (e.RecordCount == 0) {
    StartRecording(e);
    return Reentry::Read;
  }
  StopRecording(e, key);
  return Reentry::Update;
}

Reentry ReplayKey(Editor& e, KeyCode) {
  if (e.ReplayIndex == 0) e.ReplayIndex = 1;
  return Reentry::Read;
}

std::string KeystrokeBytes(const Editor& e) {
  std::string bytes;
  for (KeyCode k : e.Keystroke)
    for (int b = 0; b < 4; ++b) bytes += char(k >> (8 * b));
  return bytes;
}

void KeystrokesFromBytes(Editor& e, std::string_view bytes, bool cut) {
  for (size_t slot = 0; slot < size_t(KeystrokeSlots); ++slot) {
    if (cut && bytes.size() < slot * 4 + 4) return;
    KeyCode k = 0;
    for (size_t b = 0; b < 4; ++b) {
      const size_t at = slot * 4 + b;
      k |= KeyCode(at < bytes.size() ? uint8_t(bytes[at]) : 26) << (8 * b);
    }
    e.Keystroke[slot] = k;
  }
}

void ReadKeystrokes(Editor& e, int fd) {
  std::string bytes;
  const bool read = ReadUpTo(fd, bytes, KeystrokeFileSize);
  KeystrokesFromBytes(e, bytes, !read);
}

}  // namespace lumo

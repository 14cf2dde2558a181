// The one place where a key's shift state is normalised: everything above the
// console compares Shift as 2, while the raw state stays available for the
// few rules that read it. Every key the editor reads comes through here, so
// this is also where the screen is brought up to date before a wait, and
// where pastes are kept from the readers that want a key.
#include <chrono>

#include "screen/KeyDecoder.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"

namespace lumo {

KeyCode ReadKeyOrPaste(Editor& e) {
  ShowScreen(e);
  KeyCode k = e.Con->ReadKey();
  e.RawShift = uint8_t(k >> 16);
  return NormaliseShift(k);
}

KeyCode ReadKey(Editor& e) {
  for (;;) {
    const KeyCode k = ReadKeyOrPaste(e);
    if (k != keys::Paste) return k;
    e.Con->TakePaste();
  }
}

bool WaitForKey(Editor& e, int ms) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
  for (int left = ms; e.Con->WaitKey(left);) {
    if (e.Con->PeekKey() != keys::Paste) return true;
    e.Con->ReadKey();
    e.Con->TakePaste();
    left = int(std::chrono::ceil<std::chrono::milliseconds>(end - Clock::now()).count());
    if (left <= 0) return false;
  }
  return false;
}

}  // namespace lumo

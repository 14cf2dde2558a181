// The one place where a key's shift state is normalised: everything above the
// console compares Shift as 2, while the raw state stays available for the
// few rules that read it. Every key the editor reads comes through here, so
// this is also where the screen is brought up to date before a wait.
#include "screen/KeyDecoder.h"
#include "screen/StatusRow.h"
#include "screen/Window.h"

namespace lumo {

KeyCode ReadKey(Editor& e) {
  ShowScreen(e);
  KeyCode k = e.Con->ReadKey();
  e.RawShift = uint8_t(k >> 16);
  return NormaliseShift(k);
}

}  // namespace lumo

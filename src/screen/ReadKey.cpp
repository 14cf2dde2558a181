// The one place where a key's shift state is normalised: everything above the
// console compares Shift as 2, while the raw state stays available for the
// few rules that read it.
#include "screen/KeyDecoder.h"
#include "screen/StatusRow.h"

namespace lumo {

KeyCode ReadKey(Editor& e) {
  KeyCode k = e.Con->ReadKey();
  e.RawShift = uint8_t(k >> 16);
  return NormaliseShift(k);
}

}  // namespace lumo

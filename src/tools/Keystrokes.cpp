#include "tools/Keystrokes.h"

#include "screen/StatusRow.h"

namespace lumo {

KeyCode NextKey(Editor& e) { return ReadKey(e); }

}  // namespace lumo

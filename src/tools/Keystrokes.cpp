#include "tools/Keystrokes.h"

#include "screen/StatusRow.h"

namespace lumo {

KeyCode NextKey(Editor& e) { return ReadKeyOrPaste(e); }

}  // namespace lumo

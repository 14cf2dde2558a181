// The system clipboard, through whichever tool the session has.
#pragma once
#include <cstddef>
#include <string>

namespace lumo {

// wl-copy (Wayland), xclip or xsel (X), else OSC 52 to the terminal.
bool CopyToSystem(const std::string& utf8);
// wl-paste, xclip -o or xsel -o; false when none of them is there or works.
// At most limit bytes are kept.
bool PasteFromSystem(std::string& utf8, size_t limit);

}  // namespace lumo

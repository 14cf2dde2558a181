// Key scripts in named-key notation, turned into the bytes xterm sends.
//
// A script is text with keys in angle brackets: "abc<Enter><C-F2><Esc>".
// Plain text is sent as UTF-8, one character per key. Inside brackets an
// optional modifier prefix of S- (Shift), C- (Ctrl), A- or M- (Alt), in any
// order, comes before the key name: Esc Enter Tab BS Ins Del Home End PgUp
// PgDn Up Down Left Right F1..F12, or a single letter or digit. The
// encodings are xterm's (normal cursor mode, ESC-prefixed Alt as with
// metaSendsEscape, the modifier parameter 1 + Shift 1 + Alt 2 + Ctrl 4);
// other forms are sent as bytes.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace lumo::e2e {

// A whole script as one chunk of bytes per key. An unknown name in brackets
// is a fault of the test and throws std::invalid_argument.
std::vector<std::string> ParseKeys(std::string_view script);

}  // namespace lumo::e2e

// The Russian typewriter layout on a Latin keyboard, for typing in the text
// and at the prompt line while the Russian mode is on.
#pragma once
#include <cstdint>

namespace lumo {

// The Cyrillic letter (cp866) the Latin key ch gives, or ch.
uint8_t RusTranslate(uint8_t ch);

}  // namespace lumo

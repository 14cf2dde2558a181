// The Russian typewriter layout on a Latin keyboard, for typing in the text
// and at the prompt line while the Russian mode is on.
#pragma once
#include <cstdint>

namespace lumo {

// The Cyrillic letter (cp866) the Latin key ch gives, or ch.
uint8_t RusTranslate(uint8_t ch);
// The way back: the Latin key that gives the cp866 character ch on the
// Russian layout, or ch. Where two keys give one character the first wins.
uint8_t RusUntranslate(uint8_t ch);

}  // namespace lumo

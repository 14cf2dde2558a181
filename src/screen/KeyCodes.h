// Named key values that more than one part of the editor compares against.
// The key table holds every binding; these are the few keys that prompts,
// choice bars and screens of their own read directly.
#pragma once
#include "screen/Console.h"

namespace lumo {

inline constexpr KeyCode KeyEsc = 0x0000011B;
inline constexpr KeyCode KeyShiftEsc = 0x0002011B;
inline constexpr KeyCode KeyAltEsc = 0x03080100;
inline constexpr KeyCode KeyEnter = 0x00001C0D;
inline constexpr KeyCode KeyPadEnter = 0x0000E00D;
inline constexpr KeyCode KeyBackspace = 0x00000E08;
inline constexpr KeyCode KeySpace = 0x00003920;
inline constexpr KeyCode KeyF1 = 0x0200FF01;
inline constexpr KeyCode KeyF2 = 0x0200FF02;
inline constexpr KeyCode KeyF12 = 0x0200FF0C;
inline constexpr KeyCode KeyHome = 0x0200FF20;
inline constexpr KeyCode KeyLeft = 0x0200FF23;
inline constexpr KeyCode KeyRight = 0x0200FF25;
inline constexpr KeyCode KeyEnd = 0x0200FF26;
inline constexpr KeyCode KeyShiftF2 = 0x0202FF02;
inline constexpr KeyCode KeyCtrlF1 = 0x0204FF01;
inline constexpr KeyCode KeyCtrlAltTab = 0x030C0F00;
inline constexpr KeyCode KeyCtrlAltBackspace = 0x030C0E00;

}  // namespace lumo

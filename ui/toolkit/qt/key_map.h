// Qt key events in the Win32 form the windows expect: virtual-key codes and
// modifier bits.
#pragma once

#include "ui/toolkit/win32.h"

class QKeyEvent;

namespace tk::qt {

// The virtual-key code of a key event (0 when the key has none). Digits give
// '0'..'9' on the main keyboard and VK_NUMPAD0..9 on the keypad; letters
// their upper-case letter; shifted digit symbols of a US keyboard ("!@#..")
// give their digit's code, as Windows does.
UINT VirtualKey(const QKeyEvent& event);
// kModShift | kModControl | kModAlt of an event.
UINT Modifiers(const QKeyEvent& event);

}  // namespace tk::qt

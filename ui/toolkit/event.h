// Input events as a control sees them. The paint manager turns window
// messages into these and hands them to the control under the mouse or
// with the keyboard focus; a control that does not handle one passes it to
// its parent.
#pragma once

#include <cstdint>

#include "ui/toolkit/geometry.h"
#include "ui/toolkit/win32.h"

namespace tk {

class CControlUI;

enum class EventType {
  kMouseMove,
  kMouseEnter,
  kMouseLeave,
  kButtonDown,     // left button
  kButtonUp,
  kDblClick,       // left button, second press of a double click
  kRButtonDown,
  kRButtonUp,
  kScrollWheel,    // wParam: WHEEL_DELTA multiples as a signed int (positive: away from the user)
  kKeyDown,        // chKey: virtual-key code
  kKeyUp,
  kChar,           // chKey: the UTF-16 code unit typed
  kSetFocus,
  kKillFocus,
  kTimer,          // wParam: timer id
  kContextMenu,
};

// Modifier keys held during an event.
constexpr UINT kModShift = 0x1;
constexpr UINT kModControl = 0x2;
constexpr UINT kModAlt = 0x4;

struct TEventUI {
  EventType Type = EventType::kMouseMove;
  CControlUI* pSender = nullptr;
  std::uint64_t dwTimestamp = 0;
  Point ptMouse;          // client coordinates
  char16_t chKey = 0;
  UINT wKeyState = 0;     // kMod* bits
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

}  // namespace tk

// The test driver: acts on windows as a user would, through the same path
// as real input (hit-testing at the control's centre, the focused control
// for keys), on the headless backend. Every action runs the posted work
// that it caused before it returns; an action that closes its window (or
// deletes the window object) simply ends there. User-interface thread only.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "ui/toolkit/headless/headless_platform.h"
#include "ui/toolkit/window.h"

namespace tk::headless {

class Driver {
 public:
  // Uses the installed platform, which must be the headless one.
  Driver();
  explicit Driver(HeadlessPlatform& platform) : m_platform(platform) {}
  HeadlessPlatform& Platform() { return m_platform; }

  // ---- Finding ----
  // The newest live window with that class name; null when none.
  CWindowWnd* FindWindow(std::u16string_view className) const;
  static CControlUI* Find(CWindowWnd* window, std::u16string_view name);
  template <typename T>
  static T* Find(CWindowWnd* window, std::u16string_view name) {
    return dynamic_cast<T*>(Find(window, name));
  }

  // ---- Mouse ----
  // Presses and releases the left button over the centre of the named
  // control (of the part shown, when a scrolled container cuts it). False
  // when the control is missing, not shown, or another control takes the
  // press at that point (it is then not pressed at all).
  bool Click(CWindowWnd* window, std::u16string_view name);
  bool Click(CWindowWnd* window, CControlUI* control);
  bool DoubleClick(CWindowWnd* window, std::u16string_view name);
  bool DoubleClick(CWindowWnd* window, CControlUI* control);
  bool RightClick(CWindowWnd* window, std::u16string_view name);
  // At a client point, whatever is there.
  void ClickAt(CWindowWnd* window, Point pt);
  void DoubleClickAt(CWindowWnd* window, Point pt);
  // Wheel notches over the named control (positive scrolls up).
  bool Wheel(CWindowWnd* window, std::u16string_view name, int notches);
  // A double click on the window's caption (WM_NCLBUTTONDBLCLK).
  void DoubleClickCaption(CWindowWnd* window);
  // Selects item `index` of a list (by clicking the item) or a combo (by
  // opening it and choosing from its popup).
  bool SelectItem(CWindowWnd* window, std::u16string_view name, int index);
  // The point that Click would press (the centre of the shown part).
  static bool ClickPoint(CWindowWnd* window, CControlUI* control, Point* pt);

  // ---- Keyboard ----
  // Clicks the control (to focus it) and types the text (WM_CHAR per unit).
  bool Type(CWindowWnd* window, std::u16string_view name, std::u16string_view text);
  // WM_KEYDOWN then WM_KEYUP with a virtual-key code.
  void Key(CWindowWnd* window, UINT vk, UINT mods = 0);
  void Char(CWindowWnd* window, char16_t ch);

  // ---- Desktop ----
  // The desktop's close request (window manager close button, Alt+F4).
  void RequestClose(CWindowWnd* window);
  bool ClickTray(CWindowWnd* owner, UINT id, bool right = false);

  // ---- Time and posted work ----
  void AdvanceTime(std::uint64_t ms) { m_platform.AdvanceTime(ms); }
  int RunPending() { return m_platform.RunPending(); }
  bool PumpUntil(const std::function<bool()>& pred, int timeoutMs = 30000) {
    return m_platform.PumpUntil(pred, timeoutMs);
  }

  // ---- Windows ----
  static bool IsVisible(CWindowWnd* window);
  static Rect Bounds(CWindowWnd* window);
  // Paints the window and returns the paint list.
  PaintList Paint(CWindowWnd* window);

 private:
  void Mouse(HWND hwnd, UINT message, Point pt, UINT keys = 0, int wheel = 0);
  // ClickPoint, when a press there reaches the enabled control itself or a
  // part of it (a child that passes it on), never a control lying above it.
  static bool PressPoint(CWindowWnd* window, CControlUI* control, Point* pt);
  void KeyMessage(HWND hwnd, UINT message, UINT code, UINT mods);

  HeadlessPlatform& m_platform;
};

}  // namespace tk::headless

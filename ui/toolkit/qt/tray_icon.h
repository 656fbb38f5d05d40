// The notification-area icon. Clicks arrive as the Win32 mouse messages the
// windows' message tables expect: a left click as WM_LBUTTONDOWN then
// WM_LBUTTONUP, a right click as WM_RBUTTONDOWN then WM_RBUTTONUP, a double
// click as WM_LBUTTONDBLCLK then WM_LBUTTONUP. Without a system tray the
// icon is simply not seen; it appears when a tray shows up later.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QIcon;
class QRect;
class QSystemTrayIcon;

namespace tk::qt {

class TrayIcon {
 public:
  // onMouse gets the Win32 mouse message, on the GUI thread.
  explicit TrayIcon(std::function<void(unsigned mouseMessage)> onMouse);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // iconPath: an image file; empty or unreadable gives the phone's own icon.
  void Show(const std::u16string& iconPath, const std::u16string& tip);
  void SetTip(const std::u16string& tip);
  void SetOnMouse(std::function<void(unsigned)> onMouse) { onMouse_ = std::move(onMouse); }
  // Acts as a click of the user would (for tests without a tray).
  void Activate(int reason);
  void Hide();
  bool IsShown() const;
  // Where the icon is on the screen (empty while it is in no tray).
  QRect Geometry() const;
  // Whether a system tray is there to show the icon.
  static bool TrayAvailable();

 private:
  QSystemTrayIcon* icon_ = nullptr;  // deleted later: it may be in its own signal
  std::function<void(unsigned)> onMouse_;
};

// The phone's icon drawn in code, for the tray and window icons when the
// skin has none.
QIcon DefaultAppIcon();

}  // namespace tk::qt

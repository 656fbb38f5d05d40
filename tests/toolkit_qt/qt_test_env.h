// Shared set-up of the Qt backend tests: the backend once per process (on
// the display of scripts/with-display, or offscreen without one), the
// installed skins, waiting for conditions while Qt runs, and real input
// through xdotool.
#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "gallery/gallery_window.h"
#include "ui/toolkit/qt/qt_backend.h"
#include "ui/toolkit/qt/qt_platform.h"
#include "ui/toolkit/toolkit.h"

namespace qttest {

inline bool HaveDisplay() {
  const char* d = std::getenv("DISPLAY");
  return d && *d;
}

inline bool HaveXdotool() { return HaveDisplay() && std::system("command -v xdotool >/dev/null 2>&1") == 0; }

// The Qt backend, installed when it is not the current one.
inline tk::qt::QtPlatform& QtBackend() {
  if (tk::qt::QtPlatform* current = tk::qt::CurrentQtPlatform()) return *current;
  if (!HaveDisplay()) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  tk::CPaintManagerUI::SetInstancePath(u"" QV_BIN_DIR "/");
  auto& p = tk::qt::InstallQtPlatform();
  p.SetRecordUrlsOnly(true);
  return p;
}

// Runs Qt until pred() holds or `ms` passed; returns pred().
inline bool PumpUntil(const std::function<bool()>& pred, int ms = 20000) {
  QElapsedTimer timer;
  timer.start();
  while (!pred()) {
    if (timer.elapsed() > ms) return pred();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(2);
  }
  return true;
}

inline void Pump(int ms) {
  QElapsedTimer timer;
  timer.start();
  PumpUntil([&] { return timer.elapsed() >= ms; }, ms + 1000);
}

// Runs xdotool with the arguments (one shell word each, given as written).
inline int Xdo(const std::string& args) { return std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()); }

// The screen point at the centre of a control of a window.
inline tk::Point ScreenCentre(tk::CWindowWnd* window, std::u16string_view name) {
  tk::CControlUI* c = window->GetPaintManager()->FindControl(name);
  if (!c) return {-1, -1};
  const tk::Rect w = window->GetWindowRect();
  const tk::Point p = c->GetPos().Center();
  return {w.left + p.x, w.top + p.y};
}

inline std::string At(tk::Point p) { return std::to_string(p.x) + " " + std::to_string(p.y); }

// Moves the pointer and waits until the X server has it there.
inline void MoveTo(tk::Point p) {
  Xdo("mousemove " + At(p));
  PumpUntil([&] { return QCursor::pos() == QPoint(p.x, p.y); }, 5000);
}

// Clicks the left button at a screen point (the pointer moves there first).
inline void RealClick(tk::Point p, int clicks = 1) {
  MoveTo(p);
  Xdo("click --repeat " + std::to_string(clicks) + " --delay 80 1");
}

// A gallery window shown on screen at (x, y), exposed and ready for input.
class ShownGallery {
 public:
  explicit ShownGallery(int x = 880, int y = 120) {
    QtBackend();
    window = new gallery::GalleryWindow;
    window->Create(nullptr, u"控件样例", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0, x, y, 300, 550);
    widget = tk::qt::WidgetOf(window->GetHWND());
    if (widget) PumpUntil([&] { return widget->isVisible() && widget->testAttribute(Qt::WA_Mapped); }, 20000);
    Pump(100);
  }
  ~ShownGallery() {
    if (window->IsWindow()) window->DestroyWindow();
    delete window;
    Pump(20);
  }
  ShownGallery(const ShownGallery&) = delete;
  ShownGallery& operator=(const ShownGallery&) = delete;

  gallery::GalleryWindow* window = nullptr;
  QWidget* widget = nullptr;
};

}  // namespace qttest

// The Qt 6 backend of the toolkit: windows for people. InstallQtPlatform()
// at start-up, before the first window; everything else goes through the
// toolkit's own interface.
#pragma once

#include <string>

#include "ui/toolkit/platform.h"

class QImage;
class QWidget;

namespace tk {
class CWindowWnd;
}

namespace tk::qt {

class QtPlatform;

// Creates the application (once per process: translations, font, the
// accessibility bridge) and installs the Qt backend and the storage hooks
// (message boxes and sounds of storage/hooks.h). Returns the backend.
QtPlatform& InstallQtPlatform();
// The installed Qt backend, or null when another backend is installed.
QtPlatform* CurrentQtPlatform();

// The top-level widget of a toolkit window (null for an unknown handle).
QWidget* WidgetOf(HWND hwnd);
// Paints a window as it looks now into an image of its size.
QImage RenderWindow(HWND hwnd);
// Same, written as a PNG file; false when it could not be written.
bool RenderWindowToPng(HWND hwnd, const std::u16string& path);

// The engine's widget of a web view (null before its page was first shown).
QWidget* WebViewWidget(NativeWebView* view);
// Whether the embedded browser can be shown (its module is installed).
bool WebViewAvailable();

}  // namespace tk::qt

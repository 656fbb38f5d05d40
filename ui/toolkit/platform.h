// The platform backend: what the toolkit core needs from the desktop.
// Two implementations: the headless backend (ui/toolkit/headless, for
// tests: no display, virtual clock, scripted answers) and the Qt backend
// (ui/toolkit/qt). Exactly one is installed per process, before the first
// window is made; without InstallPlatform the headless backend is used.
//
// The core calls every function here on the user-interface thread, except
// PostToUiThread and IsUiThread (any thread). The backend calls the
// NativeWindowEvents of a window on the user-interface thread only, and
// never after the NativeWindow was destroyed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit/geometry.h"
#include "ui/toolkit/paint.h"
#include "ui/toolkit/shell.h"
#include "ui/toolkit/win32.h"

namespace tk {

// Where a point of a window lies, for frameless windows: the backend moves
// the window for kCaption and resizes it for the edges.
enum class HitArea { kClient, kCaption, kLeft, kTop, kRight, kBottom, kTopLeft, kTopRight, kBottomLeft, kBottomRight };
enum class CursorKind { kArrow, kHand, kIBeam, kSizeWE, kSizeNS, kSizeNWSE, kSizeNESW };

// What the core does for one window; the backend calls it with what
// happened to the native window.
class NativeWindowEvents {
 public:
  virtual ~NativeWindowEvents() = default;
  // Mouse: WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
  // WM_RBUTTONDOWN, WM_RBUTTONUP, WM_MOUSEWHEEL (wheelDelta: 120 per notch,
  // positive away from the user), WM_MOUSELEAVE, and WM_NCLBUTTONDBLCLK for
  // a double click on the caption. pt in client coordinates; keys MK_* bits.
  virtual void OnMouse(UINT message, Point pt, UINT keys, int wheelDelta) = 0;
  // Keys: WM_KEYDOWN / WM_KEYUP with a virtual-key code (VK_*; digits and
  // letters as their upper-case ASCII codes), WM_CHAR with one UTF-16 code
  // unit of typed text. mods: kModShift | kModControl | kModAlt.
  virtual void OnKey(UINT message, UINT code, UINT mods) = 0;
  virtual HitArea OnHitTest(Point pt) = 0;
  virtual CursorKind OnCursor(Point pt) = 0;
  virtual std::u16string OnToolTip(Point pt) = 0;
  // The native window's client size / position / state changed (state:
  // SIZE_RESTORED, SIZE_MINIMIZED, SIZE_MAXIMIZED).
  virtual void OnResized(Size client) = 0;
  virtual void OnMoved(Point topLeft) = 0;
  virtual void OnStateChanged(UINT state) = 0;
  virtual void OnActivate(bool active) = 0;
  // The user asked the desktop to close the window.
  virtual void OnCloseRequest() = 0;
  // Fills `list` with the window's drawing for `dirty`.
  virtual void OnPaint(PaintList& list, const Rect& dirty) = 0;
};

struct NativeWindowParams {
  HWND hwnd = nullptr;          // the core's handle of this window
  HWND owner = nullptr;         // owner window (the new window stays above it), or null
  std::u16string className;     // GetWindowClassName
  std::u16string title;
  DWORD style = 0;
  DWORD exStyle = 0;
  Rect bounds;                  // screen rectangle (frameless: the client area)
  Size minSize;                 // 0: none
  Size maxSize;                 // 0: none
  Size roundCorner;             // rounded window corners (0: square)
};

// One native top-level window, frameless; the core paints everything.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;  // destroys the native window
  virtual void Show(int nCmdShow) = 0;  // SW_*
  virtual void SetBounds(const Rect& screenRect) = 0;
  virtual Rect GetBounds() const = 0;
  virtual void SetTitle(std::u16string_view title) = 0;
  virtual void SetForeground() = 0;
  virtual bool IsVisible() const = 0;
  virtual bool IsMinimized() const = 0;
  virtual bool IsMaximized() const = 0;
  virtual void Invalidate(const Rect& clientRect) = 0;
  virtual void SetMinMaxSize(Size minSize, Size maxSize) = 0;
};

// A native web page shown over a control.
class NativeWebView {
 public:
  virtual ~NativeWebView() = default;
  // Loads an address; the empty address shows a blank page.
  virtual void Navigate(std::u16string_view url) = 0;
  // Client rectangle of the owning window.
  virtual void SetBounds(const Rect& clientRect) = 0;
  virtual void SetVisible(bool visible) = 0;
};

struct MessageBoxParams {
  HWND owner = nullptr;
  std::u16string caption;
  std::u16string text;
  UINT type = MB_OK;
  bool fromWorker = false;      // asked for on another thread (for records)
};

struct PopupMenuParams {
  HWND owner = nullptr;
  Point screenPt;
  UINT flags = 0;               // TPM_*
  std::vector<MenuItem> items;
};

struct TrayIconParams {
  HWND owner = nullptr;
  UINT id = 0;
  std::u16string iconFile;      // absolute path; empty: the program's icon
  std::u16string tip;
  // Called with WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
  // WM_RBUTTONDOWN, WM_RBUTTONUP when the user acts on the icon.
  std::function<void(UINT mouseMessage)> onMouse;
};

class Platform {
 public:
  virtual ~Platform() = default;
  virtual std::u16string_view Name() const = 0;  // "headless", "qt"

  // ---- Threads and the loop ----
  virtual bool IsUiThread() const = 0;
  // Any thread. Posted work runs in order on the user-interface thread.
  virtual void PostToUiThread(std::function<void()> fn) = 0;
  // Runs the loop until QuitMessageLoop; returns the code.
  virtual int RunMessageLoop() = 0;
  virtual void QuitMessageLoop(int code) = 0;
  // True once the loop has been asked to quit (posted work is then
  // dropped, workers' message boxes are answered without a box).
  virtual bool IsQuitting() const = 0;

  // ---- Time ----
  virtual std::uint64_t NowMs() const = 0;
  // Calls tick every `ms` milliseconds until StopTimer; returns an id > 0.
  virtual std::uint64_t StartTimer(unsigned ms, std::function<void()> tick) = 0;
  virtual void StopTimer(std::uint64_t id) = 0;

  // ---- Windows ----
  virtual std::unique_ptr<NativeWindow> CreateNativeWindow(const NativeWindowParams& params,
                                                           NativeWindowEvents* events) = 0;
  virtual Rect WorkArea() const = 0;
  virtual Point CursorPos() const = 0;
  // Text metrics for layout and caret placement.
  virtual int TextWidth(const FontSpec& font, std::u16string_view text) const = 0;
  virtual int LineHeight(const FontSpec& font) const = 0;

  // ---- Dialogs ----
  // Shows a box and returns the answer (IDOK, IDCANCEL, IDYES, IDNO);
  // nested event handling keeps other windows working meanwhile.
  virtual int MessageBoxModal(const MessageBoxParams& params) = 0;
  // Shows a box and returns at once; `done` runs (on the user-interface
  // thread) with the answer. Used for boxes of worker threads.
  virtual void MessageBoxAsync(const MessageBoxParams& params, std::function<void(int)> done) = 0;
  // Shows a popup menu; returns the chosen id or 0.
  virtual UINT TrackPopupMenu(const PopupMenuParams& params) = 0;

  // ---- Shell ----
  virtual bool OpenUrl(std::u16string_view url) = 0;
  // Plays a WAV file asynchronously, cutting off the previous sound; an
  // empty path stops the sound.
  virtual void PlaySound(std::u16string_view path) = 0;
  // Tray icon: add (false when there is no tray), modify, delete.
  virtual bool TrayAdd(const TrayIconParams& params) = 0;
  virtual bool TrayModify(const TrayIconParams& params) = 0;
  virtual bool TrayDelete(HWND owner, UINT id) = 0;
  virtual std::u16string ClipboardText() const = 0;
  virtual void SetClipboardText(std::u16string_view text) = 0;

  // ---- Web views ----
  virtual std::unique_ptr<NativeWebView> CreateWebView(NativeWindow& host) = 0;
};

// Installs the backend (before any window exists); replaces the previous
// one. Returns it.
Platform& InstallPlatform(std::unique_ptr<Platform> platform);
// The installed backend (the headless one when none was installed).
Platform& CurrentPlatform();
// Installs the message and sound hooks of the storage helpers
// (storage/hooks.h) so ShowMessage and PlaySoundFile go to this toolkit:
// an owner given there is a window handle (HWND).
void InstallStorageHooks();

}  // namespace tk

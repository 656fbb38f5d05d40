// Desktop services for the windows, in their Win32 form: message boxes,
// window placement by handle, the tray icon, popup menus, the default web
// browser, sounds, the cursor, the quit message, and handing work to the
// user-interface thread. They go to the installed platform backend.
//
// Threads: MessageBox, PostToUiThread, PostMessage, ShellOpen and
// PlaySoundFile may be called from any thread (the others only from the
// user-interface thread). A message box asked for on a worker thread is
// shown by the user-interface thread, and the worker waits for the answer.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit/geometry.h"
#include "ui/toolkit/win32.h"

namespace tk {

// ---- Message boxes ----
// Shows a box with `text`, `caption` and the buttons of `type` (MB_OK,
// MB_OKCANCEL, MB_YESNO, with an optional MB_ICON* bit); returns IDOK,
// IDCANCEL, IDYES or IDNO. A box with an owner blocks input to that window
// only; a box without owner (nullptr) blocks no window. Closing a box
// without a button answers IDCANCEL (IDNO for Yes/No, IDOK for OK). When
// the message loop has ended, a worker's box is answered the same way
// without being shown.
int MessageBox(HWND owner, std::u16string_view text, std::u16string_view caption, UINT type = MB_OK);

// ---- The user-interface thread ----
// Runs fn on the user-interface thread, in order with other posted work.
// The only way for another thread to reach controls.
void PostToUiThread(std::function<void()> fn);
// True on the user-interface thread.
bool IsUiThread();
// Posts a message to a window (dropped when the window is gone).
void PostMessage(HWND hwnd, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
// Handles a message in a window now (user-interface thread); 0 for an
// unknown window.
LRESULT SendMessage(HWND hwnd, UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
// Ends the message loop with `code`; callable from any thread.
void PostQuitMessage(int code);

// ---- Keyboard state ----
// The modifier keys (kModShift | kModControl | kModAlt, event.h) held with
// the key or mouse message being handled; the backend sets them.
void SetKeyboardModifiers(UINT mods);
UINT GetKeyboardModifiers();
// Win32 GetKeyState for VK_SHIFT, VK_CONTROL and VK_MENU: the high bit is
// set while the key is down.
short GetKeyState(int vk);

// ---- Windows by handle ----
bool ShowWindow(HWND hwnd, int nCmdShow);
bool SetForegroundWindow(HWND hwnd);
bool IsIconic(HWND hwnd);
bool IsWindowVisible(HWND hwnd);
bool IsWindow(HWND hwnd);
// Win32 SetWindowPos; the z-order handle is not used.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool GetWindowRect(HWND hwnd, Rect* rect);
// The screen's work area (the screen less panels).
Rect GetWorkArea();

// ---- Tray icon ----
// The tray record (the fields of Win32 NOTIFYICONDATAW that are used).
// Mouse actions on the icon reach the window `hWnd` as the message
// `uCallbackMessage` with wParam = uID and lParam = the mouse message
// (WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
// WM_RBUTTONUP): a left click gives WM_LBUTTONDOWN then WM_LBUTTONUP, a
// right click WM_RBUTTONDOWN then WM_RBUTTONUP.
struct NOTIFYICONDATAW {
  DWORD cbSize = 956;
  HWND hWnd = nullptr;
  UINT uID = 0;
  UINT uFlags = 0;            // NIF_MESSAGE | NIF_ICON | NIF_TIP
  UINT uCallbackMessage = 0;
  std::u16string hIcon;       // image file of the icon (skin image value); empty: the program's icon
  std::u16string szTip;       // at most 127 characters are used
};
// NIM_ADD, NIM_MODIFY or NIM_DELETE. False when there is no tray (the
// program goes on without an icon) or the icon is unknown.
bool Shell_NotifyIcon(DWORD dwMessage, const NOTIFYICONDATAW* data);

// ---- Popup menus ----
struct MenuItem {
  UINT id = 0;               // command returned when chosen
  std::u16string text;
  UINT flags = MF_STRING;    // MF_SEPARATOR, MF_GRAYED, MF_CHECKED
};
class PopupMenu {
 public:
  void AppendMenu(UINT flags, UINT id, std::u16string_view text);
  const std::vector<MenuItem>& Items() const { return m_items; }
  // Shows the menu at a screen point (TPM_* alignment flags) for the owner
  // window; returns the chosen command, or 0 when none was chosen.
  UINT Track(HWND owner, Point screenPt, UINT flags = TPM_RETURNCMD) const;

 private:
  std::vector<MenuItem> m_items;
};

// ---- Shell ----
// Opens an address in the default web browser (the address is handed over
// as one argument; no command line is built). False when it could not.
bool ShellOpen(std::u16string_view url);
// Starts playing a WAV file and returns at once; a new sound cuts off the
// one playing. An empty path stops the sound.
void PlaySoundFile(std::u16string_view path);
// Screen position of the mouse pointer.
Point GetCursorPos();
// The clipboard's text (empty when none).
std::u16string GetClipboardText();
void SetClipboardText(std::u16string_view text);

}  // namespace tk

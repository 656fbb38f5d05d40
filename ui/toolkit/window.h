// Windows. CWindowWnd is one native top-level window with a Win32-style
// message handler; WindowImplBase adds the control tree built from the
// window's skin, the notification and message-filter interfaces and the
// default handling every window of the program shares:
//   - Escape never closes a window (the message filter swallows it);
//   - a double click on the caption does nothing (no maximise);
//   - WM_SYSCOMMAND SC_MINIMIZE / SC_MAXIMIZE / SC_RESTORE do what they say;
//   - a close request from the desktop (the window manager's close, Alt+F4)
//     is turned into a "click" from the skin's "closebtn" when the skin has
//     a shown, enabled one, so the window's own close rule applies;
//     otherwise the window is closed.
//
// Messages reach HandleMessage in this order: the message filters (the
// window's MessageHandler first), then HandleMessage; WindowImplBase's
// HandleMessage passes input to the paint manager (hit-testing, focus).
// Key presses and characters for a focused, editable edit go to the edit
// after the filters, without HandleMessage (as a native edit child would).
//
// Everything here runs on the user-interface thread, except PostMessage.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/list.h"
#include "ui/toolkit/notify.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/win32.h"

namespace tk {

class NativeWindow;
class WindowEventsAdapter;

class CWindowWnd {
 public:
  CWindowWnd();
  virtual ~CWindowWnd();
  CWindowWnd(const CWindowWnd&) = delete;
  CWindowWnd& operator=(const CWindowWnd&) = delete;

  // The window object of a handle; null for an unknown or destroyed one.
  static CWindowWnd* FromHandle(HWND hwnd);

  HWND GetHWND() const { return m_hWnd.load(); }
  operator HWND() const { return m_hWnd.load(); }

  // Creates the native window: title, WS_* style (WS_VISIBLE shows it at
  // once), position and size in screen pixels (CW_USEDEFAULT for the size
  // takes the skin's size). Sends WM_CREATE to HandleMessage before it
  // returns (WindowImplBase builds its tree and runs InitWindow there).
  // Returns the handle, or null when the window could not be made.
  // All eight placement arguments are required (a missing extended style
  // would otherwise shift x, y, width and height silently).
  HWND Create(HWND hwndParent, std::u16string_view pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y, int cx,
              int cy, HMENU hMenu = nullptr);
  // Closes the window: WM_CLOSE is posted with the code; the window, its
  // native window and its control tree are destroyed when it is handled;
  // the object stays (OnFinalMessage runs last).
  void Close(UINT nRet = IDOK);
  // Destroys the window: at once, or, when called from inside the
  // handling of one of its controls' events, right after that handling.
  void DestroyWindow();
  bool IsWindow() const { return m_hWnd.load() != nullptr; }
  UINT GetCloseCode() const { return m_uCloseCode; }

  // SW_* show commands.
  void ShowWindow(int nCmdShow = SW_SHOW);
  // Centres over the owner window, or over the screen's work area.
  void CenterWindow();
  void SetWindowTitle(std::u16string_view title);
  std::u16string GetWindowTitle() const;
  // Screen rectangle of the window.
  Rect GetWindowRect() const;
  // Moves (and with cx/cy > 0 resizes) the window.
  void MoveWindow(int x, int y, int cx = -1, int cy = -1);
  // Win32 SetWindowPos: SWP_NOSIZE keeps the size, SWP_NOMOVE the place.
  void SetWindowPos(int x, int y, int cx, int cy, UINT flags);
  void SetForeground();
  bool IsIconic() const;
  bool IsZoomed() const;
  bool IsWindowVisible() const;
  HWND GetOwner() const { return m_hWndOwner; }

  // Handles a message now (user-interface thread).
  LRESULT SendMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Queues a message for the window; callable from any thread. Dropped
  // when the window is gone by then.
  void PostMessage(UINT uMsg, WPARAM wParam = 0, LPARAM lParam = 0);
  // Runs fn on the user-interface thread if this window still exists then;
  // callable from any thread.
  void PostCall(std::function<void()> fn);

  // ---- Overridables ----
  virtual std::u16string GetWindowClassName() const = 0;
  virtual LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  // Called after the window was destroyed; the object may delete itself.
  virtual void OnFinalMessage(HWND hWnd);

  // ---- Backend side ----
  NativeWindow* GetNativeWindow() const { return m_native.get(); }
  // Delivers a message from the outside world (input, tray, close
  // request): the message filters first, then HandleMessage.
  LRESULT DispatchMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
  // The paint manager of the window, when it has one.
  virtual CPaintManagerUI* GetPaintManager() { return nullptr; }
  // True once (then false) when DestroyWindow was asked for during the
  // handling of a control event (the paint manager finishes it).
  bool TakeDestroyRequest() {
    bool pending = m_bDestroyPending;
    m_bDestroyPending = false;
    return pending;
  }

 protected:
  // Hooks for WindowImplBase.
  virtual bool FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  virtual bool RouteToFocusedControl(UINT uMsg, WPARAM wParam, LPARAM lParam);
  virtual Size DefaultSize() const { return {400, 300}; }
  void FinishDestroy();

  std::atomic<HWND> m_hWnd{nullptr};
  HWND m_hWndOwner = nullptr;
  DWORD m_dwStyle = 0;
  UINT m_uCloseCode = 0;
  bool m_bClosing = false;
  bool m_bDestroyPending = false;
  std::unique_ptr<NativeWindow> m_native;
  std::unique_ptr<WindowEventsAdapter> m_events;
  std::shared_ptr<bool> m_alive;  // false once destroyed; shared with posted calls
  std::shared_ptr<bool> m_objectAlive = std::make_shared<bool>(true);  // false once the object is gone
  std::u16string m_sTitle;
  friend class WindowEventsAdapter;
};

class WindowImplBase : public CWindowWnd,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback,
                       public IListCallbackUI {
 public:
  WindowImplBase();
  ~WindowImplBase() override;

  // The skin folder (relative to the instance path, or absolute) and the
  // skin file in it. The folder's "theme.xml" is merged first.
  virtual std::u16string GetSkinFolder() = 0;
  virtual std::u16string GetSkinFile() = 0;
  // Runs once, inside Create, after the tree was built and attached.
  virtual void InitWindow() {}
  // Notifications of the window's controls.
  void Notify(TNotifyUI& msg) override;
  // Called by the default Notify for "click".
  virtual void OnClick(TNotifyUI& msg) { (void)msg; }
  // The shared filter: swallows the Escape key-down; passes the rest.
  LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
  // Controls the toolkit does not know, by skin element name (null: none).
  CControlUI* CreateControl(std::u16string_view pstrClass) override;
  const char16_t* GetItemText(CControlUI* pList, int iItem, int iSubItem) override;

  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  CPaintManagerUI* GetPaintManager() override { return &m_PaintManager; }

  // Why the skin could not be built (empty when it was).
  const std::u16string& GetSkinError() const { return m_sSkinError; }

 protected:
  // WM_CREATE: builds the tree from the skin and runs InitWindow. A skin
  // that cannot be built leaves an empty window (and GetSkinError set).
  virtual LRESULT OnCreate();
  bool FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) override;
  bool RouteToFocusedControl(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  Size DefaultSize() const override;
  // SC_CLOSE from the desktop: "click" of "closebtn", or Close.
  void OnCloseRequest();
  // The caption's "minbtn", "maxbtn" and "restorebtn", the same in every
  // window: sends the SC_ command and swaps the max/restore buttons. False
  // for any other control name.
  bool HandleSizeButton(std::u16string_view name);

  CPaintManagerUI m_PaintManager;
  std::u16string m_sSkinError;
};

}  // namespace tk

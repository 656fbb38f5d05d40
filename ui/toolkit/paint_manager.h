// CPaintManagerUI: the control tree of one window and everything around
// it: finding controls, timers, option groups, notifications, the
// keyboard focus, input routing (hit-testing mouse messages, keys to the
// focused control), layout, the paint list, and the skin's resources
// (fonts, styles, images). Every window (WindowImplBase) has one.
//
// The static part is process-wide: the instance path, the message loop and
// the quit message.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit/control.h"
#include "ui/toolkit/notify.h"
#include "ui/toolkit/paint.h"
#include "ui/toolkit/win32.h"

namespace tk {

class COptionUI;
class CWindowWnd;
class SkinResources;

// Notified of changes of the tree (for accessibility bridges).
class IControlObserver {
 public:
  virtual ~IControlObserver() = default;
  virtual void ControlAdded(CControlUI* control) = 0;    // joined the tree
  virtual void ControlRemoved(CControlUI* control) = 0;  // leaves the tree (still alive)
  virtual void ControlChanged(CControlUI* control) = 0;  // text, state or visibility changed
  virtual void FocusChanged(CControlUI* control) = 0;    // null: no focus
};

using OptionGroup = std::vector<COptionUI*>;

class CPaintManagerUI {
 public:
  CPaintManagerUI();
  ~CPaintManagerUI();
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  // ---- Process-wide ----
  // Kept for the Win32 form of start-up; the instance is not used.
  static void SetInstance(HINSTANCE instance);
  static HINSTANCE GetInstance();
  // The folder of the executable, ending with '/'. SetInstancePath
  // replaces it (tests point it at a folder of their own).
  static std::u16string GetInstancePath();
  static void SetInstancePath(std::u16string_view path);
  // Runs the message loop of the user-interface thread until the quit
  // message; returns its exit code.
  static int MessageLoop();
  // Ends the message loop with `code` (from the user-interface thread).
  static void PostQuit(int code = 0);
  // Milliseconds of the toolkit's clock (the platform's; virtual in the
  // headless backend).
  static std::uint64_t Now();

  // ---- Window ----
  void Init(CWindowWnd* window);
  CWindowWnd* GetWindow() const { return m_pWindow; }
  HWND GetPaintWindow() const;
  // Makes `root` the tree of this window (the previous tree is destroyed).
  bool AttachDialog(CControlUI* root);
  CControlUI* GetRoot() const { return m_pRoot; }
  // Client size of the window.
  Size GetClientSize() const { return m_szClient; }
  void SetClientSize(Size size);

  // ---- Skin resources (filled by CDialogBuilder from the theme and skin) ----
  SkinResources& Resources() { return *m_pResources; }
  const SkinResources& Resources() const { return *m_pResources; }
  // The absolute folder of the skin files, ending with '/'.
  const std::u16string& GetResourcePath() const { return m_sResourcePath; }
  void SetResourcePath(std::u16string_view path);
  // Window properties from the skin's <Window> element.
  Size GetInitSize() const { return m_szInitSize; }
  void SetInitSize(Size size) { m_szInitSize = size; }
  const Rect& GetCaptionRect() const { return m_rcCaption; }
  void SetCaptionRect(const Rect& rc) { m_rcCaption = rc; }
  const Rect& GetSizeBox() const { return m_rcSizeBox; }
  void SetSizeBox(const Rect& rc) { m_rcSizeBox = rc; }
  Size GetMinInfo() const { return m_szMinWindow; }
  void SetMinInfo(Size size) { m_szMinWindow = size; }
  Size GetMaxInfo() const { return m_szMaxWindow; }
  void SetMaxInfo(Size size) { m_szMaxWindow = size; }
  Size GetRoundCorner() const { return m_szRoundCorner; }
  void SetRoundCorner(Size size) { m_szRoundCorner = size; }

  // ---- Finding controls ----
  // The first control of the tree with that name (depth first, children
  // in order); null when none.
  CControlUI* FindControl(std::u16string_view name) const;
  // The topmost shown, mouse-enabled control at a client point.
  CControlUI* FindControl(Point pt) const;
  // The first descendant of `parent` with that name; null when none (or
  // when parent is null).
  CControlUI* FindSubControlByName(CControlUI* parent, std::u16string_view name) const;
  template <typename T>
  T* Find(std::u16string_view name) const { return dynamic_cast<T*>(FindControl(name)); }

  // ---- Timers ----
  // Starts (or restarts) timer `id` of `control`: every `elapse` ms a
  // "timer" notification from the control with wParam = id. The control
  // must be in this window's tree. A removed control's timers stop.
  bool SetTimer(CControlUI* control, UINT id, UINT elapse);
  bool KillTimer(CControlUI* control, UINT id);
  // Stops every timer of the control.
  void KillTimer(CControlUI* control);
  void RemoveAllTimers();

  // ---- Option groups ----
  // The options of a group, in the order they joined this window; null
  // when the group never existed (it stays, maybe empty, once it has).
  OptionGroup* GetOptionGroup(std::u16string_view name);
  bool AddOptionGroup(std::u16string_view name, COptionUI* option);
  // False when the option is not in that group.
  bool RemoveOptionGroup(std::u16string_view name, COptionUI* option);
  void RemoveAllOptionGroups();

  // ---- Notifications ----
  void AddNotifier(INotifyUI* notifier);
  void RemoveNotifier(INotifyUI* notifier);
  // Sends a notification to every notifier now (synchronously).
  void SendNotify(CControlUI* control, std::u16string_view type, WPARAM wParam = 0, LPARAM lParam = 0);
  void SendNotify(TNotifyUI& msg);
  void AddMessageFilter(IMessageFilterUI* filter);
  void RemoveMessageFilter(IMessageFilterUI* filter);
  // Runs the filters; true when one of them handled the message.
  bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  void SetObserver(IControlObserver* observer) { m_pObserver = observer; }
  IControlObserver* GetObserver() const { return m_pObserver; }

  // ---- Focus and input ----
  CControlUI* GetFocus() const { return m_pFocus; }
  void SetFocus(CControlUI* control);
  // Moves the focus to the next (or previous) focusable shown control.
  bool SetNextTabControl(bool forward = true);
  CControlUI* GetHot() const { return m_pEventHover; }
  CControlUI* GetCapture() const { return m_pEventClick; }
  Point GetMousePos() const { return m_ptLastMouse; }
  // Handles the input messages of the window (mouse, keys, characters,
  // focus, size); true when the message was one of them.
  bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
  // True when the focused control takes keys itself (an editable edit).
  bool FocusWantsKeys() const;
  // Whether a client point is in the caption (a drag there moves the
  // window, a double click there is WM_NCLBUTTONDBLCLK): inside the
  // caption rectangle and not over a control that takes input.
  bool IsCaptionPoint(Point pt) const;
  // The tooltip to show at a client point (empty: none).
  std::u16string ToolTipAt(Point pt) const;
  // True when the control at pt is an editable text (for the I-beam cursor).
  bool IsTextPoint(Point pt) const;

  // ---- Layout and painting ----
  // Marks the layout stale (done before the next paint or query).
  void NeedUpdate();
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
  // Lays out the tree now when it is stale.
  void UpdateLayout();
  // Asks the window to repaint a client rectangle.
  void Invalidate(const Rect& rc);
  void Invalidate();
  // Lays out when needed and fills `list` with the window's drawing for
  // the `clip` rectangle (the whole window when empty).
  void Render(PaintList& list, Rect clip = {});
  // Fonts and colours for painting.
  int GetDefaultFontId() const { return -1; }
  Color GetDefaultTextColor() const;
  Color GetDefaultDisabledColor() const;
  // Resolves a skin image file name (relative to the skin folder, the
  // instance path or absolute; '\' and '/' both separate) to an existing
  // absolute path; empty when there is no such file.
  std::u16string ResolveImage(std::u16string_view file) const;

  // ---- Internal ----
  // A control joins/leaves the tree (containers call these).
  void ControlAttached(CControlUI* control);
  void ControlDetached(CControlUI* control);
  // Deletes the control once the current dispatch is over.
  void ReapObject(CControlUI* control);
  // True while input, a timer or a notification is being dispatched.
  bool IsDispatching() const { return m_iDispatchDepth > 0; }
  void BeginDispatch() { ++m_iDispatchDepth; }
  void EndDispatch();
  // Control-level dispatch (input to controls, timers, notifications):
  // the stack then holds frames of controls of the tree.
  void BeginEvent() {
    ++m_iEventDepth;
    BeginDispatch();
  }
  void EndEvent();
  bool IsHandlingEvent() const { return m_iEventDepth > 0; }
  void ControlChanged(CControlUI* control);
  // Destroys the tree and everything attached to it (the window is closing).
  void DestroyTree();

 private:
  struct TimerInfo;
  void FireTimer(CControlUI* control, UINT id);
  void HandleMouse(UINT uMsg, WPARAM wParam, LPARAM lParam);
  void HandleKey(UINT uMsg, WPARAM wParam, LPARAM lParam);
  void SetHot(CControlUI* control, Point pt);
  CControlUI* DispatchTarget(CControlUI* control) const;
  void FlushReaped();

  CWindowWnd* m_pWindow = nullptr;
  CControlUI* m_pRoot = nullptr;
  std::unique_ptr<SkinResources> m_pResources;
  Size m_szClient;
  Size m_szInitSize;
  Rect m_rcCaption;
  Rect m_rcSizeBox;
  Size m_szMinWindow;
  Size m_szMaxWindow;
  Size m_szRoundCorner;
  bool m_bUpdateNeeded = true;
  bool m_bInLayout = false;

  std::vector<INotifyUI*> m_notifiers;
  std::vector<IMessageFilterUI*> m_filters;
  IControlObserver* m_pObserver = nullptr;
  std::vector<std::unique_ptr<TimerInfo>> m_timers;
  std::map<std::u16string, OptionGroup, std::less<>> m_optionGroups;

  CControlUI* m_pFocus = nullptr;
  CControlUI* m_pEventHover = nullptr;
  CControlUI* m_pEventClick = nullptr;
  Point m_ptLastMouse;
  int m_iDispatchDepth = 0;
  int m_iEventDepth = 0;
  std::vector<CControlUI*> m_reaped;
  std::u16string m_sResourcePath;
  mutable std::map<std::u16string, std::u16string, std::less<>> m_imageCache;
};

}  // namespace tk

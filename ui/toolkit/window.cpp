#include "ui/toolkit/window.h"

#include <cstdio>
#include <map>

#include "storage/text.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/paths.h"
#include "ui/toolkit/platform.h"
#include "ui/toolkit/shell.h"

namespace tk {

namespace {

// Live windows by handle (user-interface thread only).
std::map<HWND, CWindowWnd*>& Registry() {
  static std::map<HWND, CWindowWnd*> windows;
  return windows;
}

HWND NewHandle() {
  static std::uintptr_t next = 0x10000;
  next += 0x10;
  return reinterpret_cast<HWND>(next);
}

}  // namespace

// Turns what the backend reports into window messages.
class WindowEventsAdapter : public NativeWindowEvents {
 public:
  explicit WindowEventsAdapter(CWindowWnd* window) : m_window(window) {}

  void OnMouse(UINT message, Point pt, UINT keys, int wheelDelta) override {
    CPaintManagerUI* pm = m_window->GetPaintManager();
    if (message == WM_LBUTTONDBLCLK && pm && pm->IsCaptionPoint(pt)) message = WM_NCLBUTTONDBLCLK;
    WPARAM w = keys;
    if (message == WM_MOUSEWHEEL) w = (keys & 0xFFFF) | (static_cast<WPARAM>(static_cast<WORD>(static_cast<short>(wheelDelta))) << 16);
    if (message == WM_NCLBUTTONDBLCLK) w = 2;  // HTCAPTION
    m_window->DispatchMessage(message, w, MAKELPARAM(pt.x, pt.y));
  }

  void OnKey(UINT message, UINT code, UINT mods) override {
    SetKeyboardModifiers(mods);
    m_window->DispatchMessage(message, code, 0);
  }

  HitArea OnHitTest(Point pt) override {
    CPaintManagerUI* pm = m_window->GetPaintManager();
    if (!pm) return HitArea::kClient;
    Size client = pm->GetClientSize();
    const Rect& box = pm->GetSizeBox();
    if (!m_window->IsZoomed() && (box.left || box.top || box.right || box.bottom)) {
      bool l = pt.x < box.left, r = pt.x >= client.cx - box.right;
      bool t = pt.y < box.top, b = pt.y >= client.cy - box.bottom;
      if (t && l) return HitArea::kTopLeft;
      if (t && r) return HitArea::kTopRight;
      if (b && l) return HitArea::kBottomLeft;
      if (b && r) return HitArea::kBottomRight;
      if (l) return HitArea::kLeft;
      if (r) return HitArea::kRight;
      if (t) return HitArea::kTop;
      if (b) return HitArea::kBottom;
    }
    return pm->IsCaptionPoint(pt) ? HitArea::kCaption : HitArea::kClient;
  }

  CursorKind OnCursor(Point pt) override {
    switch (OnHitTest(pt)) {
      case HitArea::kLeft:
      case HitArea::kRight: return CursorKind::kSizeWE;
      case HitArea::kTop:
      case HitArea::kBottom: return CursorKind::kSizeNS;
      case HitArea::kTopLeft:
      case HitArea::kBottomRight: return CursorKind::kSizeNWSE;
      case HitArea::kTopRight:
      case HitArea::kBottomLeft: return CursorKind::kSizeNESW;
      default: break;
    }
    CPaintManagerUI* pm = m_window->GetPaintManager();
    return pm && pm->IsTextPoint(pt) ? CursorKind::kIBeam : CursorKind::kArrow;
  }

  std::u16string OnToolTip(Point pt) override {
    CPaintManagerUI* pm = m_window->GetPaintManager();
    return pm ? pm->ToolTipAt(pt) : std::u16string();
  }

  void OnResized(Size client) override {
    m_window->DispatchMessage(WM_SIZE, m_window->IsZoomed() ? SIZE_MAXIMIZED : SIZE_RESTORED,
                              MAKELPARAM(client.cx, client.cy));
  }

  void OnMoved(Point topLeft) override { m_window->DispatchMessage(WM_MOVE, 0, MAKELPARAM(topLeft.x, topLeft.y)); }

  void OnStateChanged(UINT state) override {
    Rect rc = m_window->GetWindowRect();
    m_window->DispatchMessage(WM_SIZE, state, MAKELPARAM(rc.Width(), rc.Height()));
  }

  void OnActivate(bool active) override { m_window->DispatchMessage(WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0); }

  void OnCloseRequest() override { m_window->DispatchMessage(WM_SYSCOMMAND, SC_CLOSE, 0); }

  void OnPaint(PaintList& list, const Rect& dirty) override {
    if (CPaintManagerUI* pm = m_window->GetPaintManager()) pm->Render(list, dirty);
  }

 private:
  CWindowWnd* m_window;
};

// ---------------------------------------------------------------------------

CWindowWnd::CWindowWnd() : m_alive(std::make_shared<bool>(false)) {}

CWindowWnd::~CWindowWnd() {
  *m_objectAlive = false;
  if (m_hWnd.load()) {
    // Destroyed with its window still open: close it without calling back.
    HWND h = m_hWnd.load();
    if (CPaintManagerUI* pm = GetPaintManager()) pm->DestroyTree();
    m_native.reset();
    m_events.reset();
    Registry().erase(h);
    m_hWnd = nullptr;
    *m_alive = false;
  }
}

CWindowWnd* CWindowWnd::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto& reg = Registry();
  auto it = reg.find(hwnd);
  return it == reg.end() ? nullptr : it->second;
}

HWND CWindowWnd::Create(HWND hwndParent, std::u16string_view pstrName, DWORD dwStyle, DWORD dwExStyle, int x, int y,
                        int cx, int cy, HMENU hMenu) {
  (void)hMenu;
  if (m_hWnd.load()) return m_hWnd.load();
  Platform& platform = CurrentPlatform();
  HWND h = NewHandle();
  m_alive = std::make_shared<bool>(true);
  m_hWnd = h;
  Registry()[h] = this;
  m_hWndOwner = FromHandle(hwndParent) ? hwndParent : nullptr;
  m_dwStyle = dwStyle;
  m_sTitle = pstrName;
  m_uCloseCode = 0;
  m_bClosing = false;

  bool defaultSize = cx == CW_USEDEFAULT || cy == CW_USEDEFAULT || cx <= 0 || cy <= 0;
  Size def = DefaultSize();
  if (x == CW_USEDEFAULT) x = 0;
  if (y == CW_USEDEFAULT) y = 0;
  NativeWindowParams params;
  params.hwnd = h;
  params.owner = m_hWndOwner;
  params.className = GetWindowClassName();
  params.title = std::u16string(pstrName);
  params.style = dwStyle;
  params.exStyle = dwExStyle;
  params.bounds = {x, y, x + (cx == CW_USEDEFAULT || cx <= 0 ? def.cx : cx),
                   y + (cy == CW_USEDEFAULT || cy <= 0 ? def.cy : cy)};
  m_events = std::make_unique<WindowEventsAdapter>(this);
  m_native = platform.CreateNativeWindow(params, m_events.get());
  if (!m_native) {
    Registry().erase(h);
    m_hWnd = nullptr;
    *m_alive = false;
    m_events.reset();
    return nullptr;
  }
  auto alive = m_alive;
  SendMessage(WM_CREATE, 0, 0);
  if (!*alive) return nullptr;
  if (defaultSize) {
    Size size = DefaultSize();
    Rect rc = m_native->GetBounds();
    int w = (cx == CW_USEDEFAULT || cx <= 0) ? size.cx : rc.Width();
    int hgt = (cy == CW_USEDEFAULT || cy <= 0) ? size.cy : rc.Height();
    MoveWindow(rc.left, rc.top, w, hgt);
  }
  if (CPaintManagerUI* pm = GetPaintManager()) {
    Size mn = pm->GetMinInfo(), mx = pm->GetMaxInfo();
    m_native->SetMinMaxSize(mn, mx);
  }
  if (dwStyle & WS_VISIBLE) m_native->Show(SW_SHOWNORMAL);
  return m_hWnd.load();
}

void CWindowWnd::Close(UINT nRet) {
  if (!m_hWnd.load() || m_bClosing) return;
  PostMessage(WM_CLOSE, nRet, 0);
}

void CWindowWnd::DestroyWindow() {
  HWND h = m_hWnd.load();
  if (!h || m_bClosing) return;
  CPaintManagerUI* pm = GetPaintManager();
  if (pm && pm->IsHandlingEvent()) {
    // Controls of this window are still on the stack: the paint manager
    // destroys the window once their handling is over.
    m_bDestroyPending = true;
    return;
  }
  m_bClosing = true;
  auto alive = m_alive;
  HandleMessage(WM_DESTROY, 0, 0);
  if (!*alive) return;
  FinishDestroy();
}

void CWindowWnd::FinishDestroy() {
  HWND h = m_hWnd.load();
  if (CPaintManagerUI* pm = GetPaintManager()) {
    pm->DestroyTree();
    pm->RemoveAllTimers();
  }
  m_native.reset();
  m_events.reset();
  Registry().erase(h);
  m_hWnd = nullptr;
  *m_alive = false;
  m_bClosing = false;
  OnFinalMessage(h);  // may delete this
}

void CWindowWnd::ShowWindow(int nCmdShow) {
  if (m_native) m_native->Show(nCmdShow);
}

void CWindowWnd::CenterWindow() {
  if (!m_native) return;
  Rect rc = m_native->GetBounds();
  Rect area = CurrentPlatform().WorkArea();
  Rect work = area;
  if (CWindowWnd* owner = FromHandle(m_hWndOwner))
    if (owner->IsWindowVisible() && !owner->IsIconic()) area = owner->GetWindowRect();
  int x = area.left + (area.Width() - rc.Width()) / 2;
  int y = area.top + (area.Height() - rc.Height()) / 2;
  x = std::max(work.left, std::min(x, work.right - rc.Width()));
  y = std::max(work.top, std::min(y, work.bottom - rc.Height()));
  m_native->SetBounds({x, y, x + rc.Width(), y + rc.Height()});
}

void CWindowWnd::SetWindowTitle(std::u16string_view title) {
  if (m_native) m_native->SetTitle(title);
  m_sTitle = title;
}

std::u16string CWindowWnd::GetWindowTitle() const { return m_sTitle; }

Rect CWindowWnd::GetWindowRect() const { return m_native ? m_native->GetBounds() : Rect{}; }

void CWindowWnd::MoveWindow(int x, int y, int cx, int cy) {
  if (!m_native) return;
  Rect rc = m_native->GetBounds();
  int w = cx > 0 ? cx : rc.Width();
  int h = cy > 0 ? cy : rc.Height();
  m_native->SetBounds({x, y, x + w, y + h});
}

void CWindowWnd::SetWindowPos(int x, int y, int cx, int cy, UINT flags) {
  if (!m_native) return;
  Rect rc = m_native->GetBounds();
  if (flags & SWP_NOMOVE) {
    x = rc.left;
    y = rc.top;
  }
  if (flags & SWP_NOSIZE) {
    cx = rc.Width();
    cy = rc.Height();
  }
  m_native->SetBounds({x, y, x + cx, y + cy});
  if (flags & SWP_SHOWWINDOW) m_native->Show(SW_SHOWNA);
  if (flags & SWP_HIDEWINDOW) m_native->Show(SW_HIDE);
}

void CWindowWnd::SetForeground() {
  if (m_native) m_native->SetForeground();
}

bool CWindowWnd::IsIconic() const { return m_native && m_native->IsMinimized(); }
bool CWindowWnd::IsZoomed() const { return m_native && m_native->IsMaximized(); }
bool CWindowWnd::IsWindowVisible() const { return m_native && m_native->IsVisible(); }

LRESULT CWindowWnd::SendMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (!m_hWnd.load()) return 0;
  auto alive = m_objectAlive;
  CPaintManagerUI* pm = GetPaintManager();
  if (pm) pm->BeginDispatch();
  LRESULT r = HandleMessage(uMsg, wParam, lParam);
  if (*alive && pm) pm->EndDispatch();
  return r;
}

void CWindowWnd::PostMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  tk::PostMessage(m_hWnd.load(), uMsg, wParam, lParam);
}

void CWindowWnd::PostCall(std::function<void()> fn) {
  HWND h = m_hWnd.load();
  if (!h || !fn) return;
  PostToUiThread([h, fn = std::move(fn)] {
    CWindowWnd* w = FromHandle(h);
    if (!w) return;
    auto alive = w->m_objectAlive;
    CPaintManagerUI* pm = w->GetPaintManager();
    if (pm) pm->BeginDispatch();
    fn();
    if (*alive && pm) pm->EndDispatch();
  });
}

LRESULT CWindowWnd::DispatchMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (!m_hWnd.load()) return 0;
  auto alive = m_alive;
  auto objectAlive = m_objectAlive;
  CPaintManagerUI* pm = GetPaintManager();
  if (pm) pm->BeginDispatch();
  LRESULT lRes = 0;
  if (!FilterMessage(uMsg, wParam, lParam, lRes) && *alive) {
    bool keyboard = uMsg == WM_KEYDOWN || uMsg == WM_KEYUP || uMsg == WM_CHAR;
    if (!(keyboard && RouteToFocusedControl(uMsg, wParam, lParam))) lRes = HandleMessage(uMsg, wParam, lParam);
  }
  if (*objectAlive && pm) pm->EndDispatch();
  return lRes;
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  switch (uMsg) {
    case WM_CLOSE:
      m_uCloseCode = static_cast<UINT>(wParam);
      DestroyWindow();
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE: ShowWindow(SW_MINIMIZE); break;
        case SC_MAXIMIZE: ShowWindow(SW_MAXIMIZE); break;
        case SC_RESTORE: ShowWindow(SW_RESTORE); break;
        case SC_CLOSE: PostMessage(WM_CLOSE, IDCANCEL, 0); break;
        default: break;
      }
      return 0;
    default:
      return 0;
  }
}

void CWindowWnd::OnFinalMessage(HWND hWnd) { (void)hWnd; }

bool CWindowWnd::FilterMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool CWindowWnd::RouteToFocusedControl(UINT, WPARAM, LPARAM) { return false; }

// ---------------------------------------------------------------------------

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() {
  if (GetHWND()) {
    HWND h = GetHWND();
    m_PaintManager.DestroyTree();
    m_PaintManager.RemoveAllTimers();
    m_native.reset();
    m_events.reset();
    Registry().erase(h);
    m_hWnd = nullptr;
    *m_alive = false;
  }
}

void WindowImplBase::Notify(TNotifyUI& msg) {
  if (msg.sType == kNotifyClick) OnClick(msg);
}

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
  (void)lParam;
  if (uMsg == WM_KEYDOWN && wParam == VK_ESCAPE) bHandled = true;  // Escape never closes a window
  return 0;
}

CControlUI* WindowImplBase::CreateControl(std::u16string_view pstrClass) {
  (void)pstrClass;
  return nullptr;
}

const char16_t* WindowImplBase::GetItemText(CControlUI* pList, int iItem, int iSubItem) {
  (void)pList;
  (void)iItem;
  (void)iSubItem;
  return nullptr;
}

bool WindowImplBase::HandleSizeButton(std::u16string_view name) {
  CControlUI* maxButton = m_PaintManager.FindControl(u"maxbtn");
  CControlUI* restoreButton = m_PaintManager.FindControl(u"restorebtn");
  bool maximise = name == u"maxbtn";
  if (name == u"minbtn") {
    SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return true;
  }
  if (!maximise && name != u"restorebtn") return false;
  SendMessage(WM_SYSCOMMAND, maximise ? SC_MAXIMIZE : SC_RESTORE, 0);
  if (maxButton != nullptr) maxButton->SetVisible(!maximise);
  if (restoreButton != nullptr) restoreButton->SetVisible(maximise);
  return true;
}

Size WindowImplBase::DefaultSize() const {
  Size s = m_PaintManager.GetInitSize();
  if (s.cx > 0 && s.cy > 0) return s;
  return {400, 300};
}

bool WindowImplBase::FilterMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  return m_PaintManager.PreMessageHandler(uMsg, wParam, lParam, lRes);
}

bool WindowImplBase::RouteToFocusedControl(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (!m_PaintManager.FocusWantsKeys()) return false;
  LRESULT r;
  m_PaintManager.MessageHandler(uMsg, wParam, lParam, r);
  return true;
}

LRESULT WindowImplBase::OnCreate() {
  m_PaintManager.Init(this);
  m_PaintManager.AddNotifier(this);
  m_PaintManager.AddMessageFilter(this);
  std::u16string folder = NormalizeSeparators(GetSkinFolder());
  if (!IsAbsolutePath(folder)) folder = CPaintManagerUI::GetInstancePath() + folder;
  std::u16string found = FindExisting(folder);
  m_PaintManager.SetResourcePath(found.empty() ? folder : found);
  Rect rc = GetWindowRect();
  m_PaintManager.SetClientSize({rc.Width(), rc.Height()});
  CDialogBuilder builder;
  CControlUI* root = builder.Create(GetSkinFile(), &m_PaintManager, this);
  if (!root) {
    m_sSkinError = builder.GetLastError();
    std::fprintf(stderr, "toolkit: %s: %s\n", qv::ToUtf8(GetWindowClassName()).c_str(),
                 qv::ToUtf8(m_sSkinError).c_str());
    root = new CVerticalLayoutUI;
  }
  m_PaintManager.AttachDialog(root);
  InitWindow();
  return 0;
}

void WindowImplBase::OnCloseRequest() {
  CControlUI* close = m_PaintManager.FindControl(u"closebtn");
  if (close && dynamic_cast<CButtonUI*>(close) && close->IsShown() && close->IsEnabled()) {
    close->Activate();
    return;
  }
  Close(IDCANCEL);
}

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  switch (uMsg) {
    case WM_CREATE:
      return OnCreate();
    case WM_NCLBUTTONDBLCLK:
      return 0;  // a double click on the caption does nothing
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) {
        OnCloseRequest();
        return 0;
      }
      return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    case WM_CLOSE:
    case WM_DESTROY:
      return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    default: {
      LRESULT r = 0;
      if (m_PaintManager.MessageHandler(uMsg, wParam, lParam, r)) return r;
      return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
  }
}

}  // namespace tk

#include "ui/toolkit/paint_manager.h"

#include <unistd.h>

#include <algorithm>
#include <map>
#include <mutex>

#include "storage/text.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/combo.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/edit.h"
#include "ui/toolkit/list.h"
#include "ui/toolkit/paths.h"
#include "ui/toolkit/platform.h"
#include "ui/toolkit/resources.h"
#include "ui/toolkit/web_browser.h"
#include "ui/toolkit/window.h"

namespace tk {

// ---- Process-wide ----

namespace {

std::mutex g_pathMutex;
std::u16string g_instancePath;
HINSTANCE g_instance = nullptr;

std::u16string ExecutableFolder() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return u"./";
  std::string path(buf, static_cast<std::size_t>(n));
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return u"./";
  return qv::FromUtf8(path.substr(0, slash + 1));
}

UINT KeyStateFromMouse(WPARAM w) {
  UINT mods = 0;
  if (w & MK_SHIFT) mods |= kModShift;
  if (w & MK_CONTROL) mods |= kModControl;
  return mods;
}

// The topmost shown, mouse-enabled control at pt.
CControlUI* HitTest(CControlUI* control, Point pt, const Rect& clip) {
  if (!control->IsVisible()) return nullptr;
  const Rect& rc = control->GetPos();
  if (!rc.Contains(pt) || !clip.Contains(pt)) return nullptr;
  if (CContainerUI* container = control->AsContainer()) {
    if (container->VScrollTrack().Contains(pt)) return container;
    if (container->IsMouseChildEnabled()) {
      Rect inner = container->GetClientRect().Intersect(clip);
      const auto& children = container->Children();
      for (auto it = children.rbegin(); it != children.rend(); ++it)
        if (CControlUI* hit = HitTest(*it, pt, inner)) return hit;
    }
  }
  return control->IsMouseEnabled() ? control : nullptr;
}

bool TakesInput(CControlUI* c) {
  return c->IsFocusable() || dynamic_cast<CButtonUI*>(c) || dynamic_cast<CEditUI*>(c) ||
         dynamic_cast<CComboUI*>(c) || dynamic_cast<IListItemUI*>(c) || dynamic_cast<CWebBrowserUI*>(c);
}

UINT g_keyModifiers = 0;

}  // namespace

void SetKeyboardModifiers(UINT mods) { g_keyModifiers = mods; }
UINT GetKeyboardModifiers() { return g_keyModifiers; }
short GetKeyState(int vk) {
  UINT mods = g_keyModifiers;
  bool down = (vk == static_cast<int>(VK_SHIFT) && (mods & kModShift)) ||
              (vk == static_cast<int>(VK_CONTROL) && (mods & kModControl)) ||
              (vk == static_cast<int>(VK_MENU) && (mods & kModAlt));
  return down ? static_cast<short>(0x8000) : 0;
}

void CPaintManagerUI::SetInstance(HINSTANCE instance) { g_instance = instance; }
HINSTANCE CPaintManagerUI::GetInstance() { return g_instance; }

std::u16string CPaintManagerUI::GetInstancePath() {
  std::lock_guard lock(g_pathMutex);
  if (g_instancePath.empty()) g_instancePath = ExecutableFolder();
  return g_instancePath;
}

void CPaintManagerUI::SetInstancePath(std::u16string_view path) {
  std::lock_guard lock(g_pathMutex);
  g_instancePath = NormalizeSeparators(path);
  if (g_instancePath.empty() || g_instancePath.back() != u'/') g_instancePath.push_back(u'/');
}

int CPaintManagerUI::MessageLoop() { return CurrentPlatform().RunMessageLoop(); }

void CPaintManagerUI::PostQuit(int code) { PostQuitMessage(code); }

std::uint64_t CPaintManagerUI::Now() { return CurrentPlatform().NowMs(); }

// ---- Per window ----

struct CPaintManagerUI::TimerInfo {
  CControlUI* control;
  UINT id;
  UINT elapse;
  std::uint64_t platformId;
};

CPaintManagerUI::CPaintManagerUI() : m_pResources(std::make_unique<SkinResources>()) {}

CPaintManagerUI::~CPaintManagerUI() {
  m_iDispatchDepth = 0;
  m_iEventDepth = 0;
  DestroyTree();
  RemoveAllTimers();
  FlushReaped();
}

void CPaintManagerUI::Init(CWindowWnd* window) { m_pWindow = window; }

HWND CPaintManagerUI::GetPaintWindow() const { return m_pWindow ? m_pWindow->GetHWND() : nullptr; }

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
  if (!root || root->GetParent()) return false;
  if (m_pRoot) DestroyTree();
  m_pRoot = root;
  root->SetManager(this, nullptr);
  NeedUpdate();
  return true;
}

void CPaintManagerUI::SetClientSize(Size size) {
  if (size == m_szClient) return;
  m_szClient = size;
  NeedUpdate();
}

void CPaintManagerUI::SetResourcePath(std::u16string_view path) {
  m_sResourcePath = NormalizeSeparators(path);
  if (!m_sResourcePath.empty() && m_sResourcePath.back() != u'/') m_sResourcePath.push_back(u'/');
  m_imageCache.clear();
}

// ---- Finding ----

CControlUI* CPaintManagerUI::FindControl(std::u16string_view name) const {
  if (!m_pRoot || name.empty()) return nullptr;
  return m_pRoot->FindControlIf([&](CControlUI* c) { return c->GetName() == name; });
}

CControlUI* CPaintManagerUI::FindControl(Point pt) const {
  if (!m_pRoot) return nullptr;
  Rect all{0, 0, std::max(m_szClient.cx, m_pRoot->GetPos().right), std::max(m_szClient.cy, m_pRoot->GetPos().bottom)};
  return HitTest(m_pRoot, pt, all);
}

CControlUI* CPaintManagerUI::FindSubControlByName(CControlUI* parent, std::u16string_view name) const {
  if (!parent) return nullptr;
  CContainerUI* container = parent->AsContainer();
  return container ? container->FindSubControl(name) : nullptr;
}

// ---- Timers ----

bool CPaintManagerUI::SetTimer(CControlUI* control, UINT id, UINT elapse) {
  if (!control || control->GetManager() != this) return false;
  KillTimer(control, id);
  auto info = std::make_unique<TimerInfo>();
  info->control = control;
  info->id = id;
  info->elapse = std::max<UINT>(elapse, 1);
  info->platformId = CurrentPlatform().StartTimer(info->elapse, [this, control, id] { FireTimer(control, id); });
  m_timers.push_back(std::move(info));
  return true;
}

bool CPaintManagerUI::KillTimer(CControlUI* control, UINT id) {
  for (auto it = m_timers.begin(); it != m_timers.end(); ++it) {
    if ((*it)->control == control && (*it)->id == id) {
      CurrentPlatform().StopTimer((*it)->platformId);
      m_timers.erase(it);
      return true;
    }
  }
  return false;
}

void CPaintManagerUI::KillTimer(CControlUI* control) {
  for (auto it = m_timers.begin(); it != m_timers.end();) {
    if ((*it)->control == control) {
      CurrentPlatform().StopTimer((*it)->platformId);
      it = m_timers.erase(it);
    } else {
      ++it;
    }
  }
}

void CPaintManagerUI::RemoveAllTimers() {
  for (auto& t : m_timers) CurrentPlatform().StopTimer(t->platformId);
  m_timers.clear();
}

void CPaintManagerUI::FireTimer(CControlUI* control, UINT id) {
  bool live = false;
  for (auto& t : m_timers)
    if (t->control == control && t->id == id) live = true;
  if (!live || control->GetManager() != this) return;
  BeginEvent();
  TEventUI event;
  event.Type = EventType::kTimer;
  event.pSender = control;
  event.dwTimestamp = Now();
  event.wParam = id;
  control->DoEvent(event);
  SendNotify(control, kNotifyTimer, id, 0);
  EndEvent();
}

// ---- Option groups ----

OptionGroup* CPaintManagerUI::GetOptionGroup(std::u16string_view name) {
  auto it = m_optionGroups.find(name);
  return it == m_optionGroups.end() ? nullptr : &it->second;
}

bool CPaintManagerUI::AddOptionGroup(std::u16string_view name, COptionUI* option) {
  if (!option || name.empty()) return false;
  auto it = m_optionGroups.find(name);
  if (it == m_optionGroups.end()) it = m_optionGroups.emplace(std::u16string(name), OptionGroup{}).first;
  if (std::find(it->second.begin(), it->second.end(), option) != it->second.end()) return false;
  it->second.push_back(option);
  return true;
}

bool CPaintManagerUI::RemoveOptionGroup(std::u16string_view name, COptionUI* option) {
  auto it = m_optionGroups.find(name);
  if (it == m_optionGroups.end()) return false;
  auto pos = std::find(it->second.begin(), it->second.end(), option);
  if (pos == it->second.end()) return false;
  it->second.erase(pos);
  return true;
}

void CPaintManagerUI::RemoveAllOptionGroups() { m_optionGroups.clear(); }

// ---- Notifications ----

void CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
  if (notifier && std::find(m_notifiers.begin(), m_notifiers.end(), notifier) == m_notifiers.end())
    m_notifiers.push_back(notifier);
}

void CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
  m_notifiers.erase(std::remove(m_notifiers.begin(), m_notifiers.end(), notifier), m_notifiers.end());
}

void CPaintManagerUI::SendNotify(CControlUI* control, std::u16string_view type, WPARAM wParam, LPARAM lParam) {
  TNotifyUI msg;
  msg.sType = type;
  msg.pSender = control;
  msg.wParam = wParam;
  msg.lParam = lParam;
  SendNotify(msg);
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg) {
  if (!msg.pSender || msg.pSender->GetManager() != this) return;
  msg.dwTimestamp = Now();
  msg.ptMouse = m_ptLastMouse;
  BeginEvent();
  std::vector<INotifyUI*> notifiers = m_notifiers;
  for (INotifyUI* n : notifiers)
    if (std::find(m_notifiers.begin(), m_notifiers.end(), n) != m_notifiers.end()) n->Notify(msg);
  EndEvent();
}

void CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
  if (filter && std::find(m_filters.begin(), m_filters.end(), filter) == m_filters.end()) m_filters.push_back(filter);
}

void CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
  m_filters.erase(std::remove(m_filters.begin(), m_filters.end(), filter), m_filters.end());
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  std::vector<IMessageFilterUI*> filters = m_filters;
  for (IMessageFilterUI* f : filters) {
    bool handled = false;
    LRESULT r = f->MessageHandler(uMsg, wParam, lParam, handled);
    if (handled) {
      lRes = r;
      return true;
    }
  }
  return false;
}

// ---- Focus and input ----

void CPaintManagerUI::SetFocus(CControlUI* control) {
  if (control == m_pFocus) return;
  if (control && (control->GetManager() != this || !control->IsShown() || !control->IsEnabled())) return;
  BeginEvent();
  CControlUI* old = m_pFocus;
  m_pFocus = control;
  if (old) {
    TEventUI event;
    event.Type = EventType::kKillFocus;
    event.pSender = old;
    event.dwTimestamp = Now();
    old->DoEvent(event);
    SendNotify(old, kNotifyKillFocus);
  }
  if (control && m_pFocus == control && control->GetManager() == this) {
    TEventUI event;
    event.Type = EventType::kSetFocus;
    event.pSender = control;
    event.dwTimestamp = Now();
    control->DoEvent(event);
    SendNotify(control, kNotifySetFocus);
  }
  if (m_pObserver) m_pObserver->FocusChanged(m_pFocus);
  EndEvent();
}

bool CPaintManagerUI::SetNextTabControl(bool forward) {
  if (!m_pRoot) return false;
  std::vector<CControlUI*> order;
  m_pRoot->FindControlIf([&](CControlUI* c) {
    if (c->IsFocusable() && c->IsKeyboardEnabled() && c->IsEnabled() && c->IsShown()) order.push_back(c);
    return false;
  });
  if (order.empty()) return false;
  auto it = std::find(order.begin(), order.end(), m_pFocus);
  std::size_t next;
  if (it == order.end()) next = forward ? 0 : order.size() - 1;
  else {
    std::size_t i = static_cast<std::size_t>(it - order.begin());
    next = forward ? (i + 1) % order.size() : (i + order.size() - 1) % order.size();
  }
  SetFocus(order[next]);
  return true;
}

bool CPaintManagerUI::FocusWantsKeys() const {
  auto* edit = dynamic_cast<CEditUI*>(m_pFocus);
  return edit && edit->WantsKeys();
}

bool CPaintManagerUI::IsCaptionPoint(Point pt) const {
  Rect caption{m_rcCaption.left, m_rcCaption.top, m_szClient.cx - m_rcCaption.right, m_rcCaption.bottom};
  if (!caption.Contains(pt)) return false;
  CControlUI* hit = FindControl(pt);
  for (CControlUI* c = hit; c; c = c->GetParent())
    if (TakesInput(c)) return false;
  return true;
}

std::u16string CPaintManagerUI::ToolTipAt(Point pt) const {
  for (CControlUI* c = FindControl(pt); c; c = c->GetParent())
    if (!c->GetToolTip().empty()) return c->GetToolTip();
  return {};
}

bool CPaintManagerUI::IsTextPoint(Point pt) const {
  auto* edit = dynamic_cast<CEditUI*>(FindControl(pt));
  return edit && edit->IsEnabled();
}

void CPaintManagerUI::SetHot(CControlUI* control, Point pt) {
  if (control == m_pEventHover) return;
  std::vector<CControlUI*> oldChain, newChain;
  for (CControlUI* c = m_pEventHover; c; c = c->GetParent()) oldChain.push_back(c);
  for (CControlUI* c = control; c; c = c->GetParent()) newChain.push_back(c);
  m_pEventHover = control;
  for (CControlUI* c : oldChain) {
    if (std::find(newChain.begin(), newChain.end(), c) != newChain.end()) continue;
    if (c->GetManager() != this) continue;
    TEventUI event;
    event.Type = EventType::kMouseLeave;
    event.pSender = c;
    event.ptMouse = pt;
    event.dwTimestamp = Now();
    c->DoEvent(event);
  }
  for (auto it = newChain.rbegin(); it != newChain.rend(); ++it) {
    CControlUI* c = *it;
    if (std::find(oldChain.begin(), oldChain.end(), c) != oldChain.end()) continue;
    if (c->GetManager() != this) continue;
    TEventUI event;
    event.Type = EventType::kMouseEnter;
    event.pSender = c;
    event.ptMouse = pt;
    event.dwTimestamp = Now();
    c->DoEvent(event);
  }
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) {
  lRes = 0;
  switch (uMsg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEWHEEL:
    case WM_MOUSELEAVE:
      BeginEvent();
      HandleMouse(uMsg, wParam, lParam);
      EndEvent();
      return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      BeginEvent();
      HandleKey(uMsg, wParam, lParam);
      EndEvent();
      return true;
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) SetClientSize({LOWORD(static_cast<std::uintptr_t>(lParam)), HIWORD(static_cast<std::uintptr_t>(lParam))});
      return true;
    case WM_KILLFOCUS:
      if (m_pEventClick) {
        CControlUI* captured = m_pEventClick;
        m_pEventClick = nullptr;
        TEventUI event;
        event.Type = EventType::kButtonUp;
        event.pSender = captured;
        event.ptMouse = {-1, -1};
        BeginEvent();
        captured->DoEvent(event);
        EndEvent();
      }
      return true;
    default:
      return false;
  }
}

void CPaintManagerUI::HandleMouse(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  UpdateLayout();
  Point pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  m_ptLastMouse = pt;
  TEventUI event;
  event.ptMouse = pt;
  event.dwTimestamp = Now();
  event.wKeyState = KeyStateFromMouse(wParam) | (GetKeyboardModifiers() & kModAlt);
  auto deliver = [&](CControlUI* target, EventType type) {
    if (!target || target->GetManager() != this) return;
    event.Type = type;
    event.pSender = target;
    target->DoEvent(event);
  };
  switch (uMsg) {
    case WM_MOUSEMOVE: {
      if (m_pEventClick) {
        deliver(m_pEventClick, EventType::kMouseMove);
      } else {
        CControlUI* hit = FindControl(pt);
        SetHot(hit, pt);
        deliver(hit, EventType::kMouseMove);
      }
      break;
    }
    case WM_MOUSELEAVE:
      if (!m_pEventClick) SetHot(nullptr, pt);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      CControlUI* hit = FindControl(pt);
      SetHot(hit, pt);
      if (uMsg != WM_RBUTTONDOWN || hit) {
        CControlUI* focus = nullptr;
        for (CControlUI* c = hit; c; c = c->GetParent())
          if (c->IsFocusable() && c->IsKeyboardEnabled() && c->IsEnabled()) {
            focus = c;
            break;
          }
        if (focus != m_pFocus && (focus || uMsg != WM_RBUTTONDOWN)) SetFocus(focus);
      }
      if (!hit || hit->GetManager() != this) break;
      if (uMsg == WM_RBUTTONDOWN) {
        deliver(hit, EventType::kRButtonDown);
      } else {
        m_pEventClick = hit;
        deliver(hit, uMsg == WM_LBUTTONDOWN ? EventType::kButtonDown : EventType::kDblClick);
      }
      break;
    }
    case WM_LBUTTONUP: {
      CControlUI* target = m_pEventClick ? m_pEventClick : FindControl(pt);
      m_pEventClick = nullptr;
      deliver(target, EventType::kButtonUp);
      CControlUI* hit = FindControl(pt);
      SetHot(hit, pt);
      break;
    }
    case WM_RBUTTONUP: {
      CControlUI* hit = FindControl(pt);
      deliver(hit, EventType::kRButtonUp);
      deliver(hit, EventType::kContextMenu);
      break;
    }
    case WM_MOUSEWHEEL: {
      CControlUI* hit = FindControl(pt);
      event.wParam = static_cast<WPARAM>(static_cast<std::intptr_t>(static_cast<short>(HIWORD(wParam))));
      deliver(hit, EventType::kScrollWheel);
      break;
    }
    default:
      break;
  }
}

void CPaintManagerUI::HandleKey(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  (void)lParam;
  UpdateLayout();
  UINT mods = GetKeyboardModifiers();
  if (uMsg == WM_KEYDOWN && wParam == VK_TAB && !FocusWantsKeys()) {
    SetNextTabControl((mods & kModShift) == 0);
    return;
  }
  CControlUI* target = m_pFocus;
  if (!target) return;
  TEventUI event;
  event.Type = uMsg == WM_KEYDOWN ? EventType::kKeyDown : uMsg == WM_KEYUP ? EventType::kKeyUp : EventType::kChar;
  event.pSender = target;
  event.chKey = static_cast<char16_t>(wParam);
  event.wKeyState = mods;
  event.wParam = wParam;
  event.dwTimestamp = Now();
  event.ptMouse = m_ptLastMouse;
  target->DoEvent(event);
}

// ---- Layout and painting ----

void CPaintManagerUI::NeedUpdate() {
  if (m_bInLayout) return;
  m_bUpdateNeeded = true;
  Invalidate();
}

void CPaintManagerUI::UpdateLayout() {
  if (!m_bUpdateNeeded || m_bInLayout || !m_pRoot) return;
  m_bInLayout = true;
  m_bUpdateNeeded = false;
  Rect rc{0, 0, m_szClient.cx, m_szClient.cy};
  if (m_pRoot->IsFloat()) {
    const Rect& pos = m_pRoot->GetFixedXY();
    rc = {pos.left, pos.top, pos.left + m_pRoot->GetFixedWidth(), pos.top + m_pRoot->GetFixedHeight()};
  }
  m_pRoot->SetPos(rc);
  m_bInLayout = false;
  // Native web views follow their controls.
  std::vector<CWebBrowserUI*> browsers;
  m_pRoot->FindControlIf([&](CControlUI* c) {
    if (auto* b = dynamic_cast<CWebBrowserUI*>(c)) browsers.push_back(b);
    return false;
  });
  for (CWebBrowserUI* b : browsers) b->SyncNativeView();
  Invalidate();
}

void CPaintManagerUI::Invalidate(const Rect& rc) {
  if (!m_pWindow) return;
  if (NativeWindow* native = m_pWindow->GetNativeWindow()) native->Invalidate(rc);
}

void CPaintManagerUI::Invalidate() { Invalidate(Rect{0, 0, m_szClient.cx, m_szClient.cy}); }

void CPaintManagerUI::Render(PaintList& list, Rect clip) {
  UpdateLayout();
  list.fonts = m_pResources->Fonts();
  list.background = m_pResources->WindowColor();
  list.ops.clear();
  if (clip.IsEmpty()) clip = {0, 0, m_szClient.cx, m_szClient.cy};
  if (m_pRoot) m_pRoot->DoPaint(list, clip);
}

Color CPaintManagerUI::GetDefaultTextColor() const { return m_pResources->TextColor(); }
Color CPaintManagerUI::GetDefaultDisabledColor() const { return m_pResources->DisabledTextColor(); }

std::u16string CPaintManagerUI::ResolveImage(std::u16string_view file) const {
  if (file.empty() || file.size() > 1024) return {};
  auto cached = m_imageCache.find(file);
  if (cached != m_imageCache.end()) return cached->second;
  std::u16string norm = NormalizeSeparators(file);
  std::vector<std::u16string> candidates;
  if (IsAbsolutePath(norm)) {
    candidates.push_back(norm);
  } else {
    candidates.push_back(m_sResourcePath + norm);
    candidates.push_back(GetInstancePath() + norm);
    // "Skins/x.png" written relative to the executable, with the skin folder given again.
    std::size_t slash = norm.find(u'/');
    if (slash != std::u16string::npos) candidates.push_back(m_sResourcePath + norm.substr(slash + 1));
  }
  std::u16string found;
  for (auto& c : candidates) {
    found = FindExisting(c);
    if (!found.empty()) break;
  }
  if (m_imageCache.size() > 4096) m_imageCache.clear();
  m_imageCache.emplace(std::u16string(file), found);
  return found;
}

// ---- Tree bookkeeping ----

void CPaintManagerUI::ControlAttached(CControlUI* control) {
  if (auto* option = dynamic_cast<COptionUI*>(control))
    if (!option->GetGroup().empty()) AddOptionGroup(option->GetGroup(), option);
  if (m_pObserver) m_pObserver->ControlAdded(control);
  control->DoInit();
  NeedUpdate();
}

void CPaintManagerUI::ControlDetached(CControlUI* control) {
  auto forget = [&](CControlUI* c) {
    KillTimer(c);
    if (auto* option = dynamic_cast<COptionUI*>(c))
      if (!option->GetGroup().empty()) RemoveOptionGroup(option->GetGroup(), option);
    if (c == m_pFocus) {
      m_pFocus = nullptr;
      if (m_pObserver) m_pObserver->FocusChanged(nullptr);
    }
    if (c == m_pEventHover) m_pEventHover = nullptr;
    if (c == m_pEventClick) m_pEventClick = nullptr;
    if (m_pObserver) m_pObserver->ControlRemoved(c);
    return false;
  };
  control->FindControlIf(forget);
  // A control being destroyed no longer reaches its subclass parts; make
  // sure its own entries are gone whatever its type was.
  forget(control);
  NeedUpdate();
}

void CPaintManagerUI::ReapObject(CControlUI* control) {
  if (control) m_reaped.push_back(control);
}

void CPaintManagerUI::EndDispatch() {
  if (m_iDispatchDepth > 0) --m_iDispatchDepth;
  if (m_iDispatchDepth == 0) {
    FlushReaped();
    if (m_bUpdateNeeded) UpdateLayout();
  }
}

void CPaintManagerUI::EndEvent() {
  if (m_iEventDepth > 0) --m_iEventDepth;
  if (m_iEventDepth == 0 && m_pWindow && m_pWindow->TakeDestroyRequest()) {
    // The window asked to be destroyed while its controls were busy.
    HWND h = m_pWindow->GetHWND();
    PostToUiThread([h] {
      if (CWindowWnd* w = CWindowWnd::FromHandle(h)) w->DestroyWindow();
    });
  }
  EndDispatch();
}

void CPaintManagerUI::FlushReaped() {
  while (!m_reaped.empty()) {
    std::vector<CControlUI*> dead;
    dead.swap(m_reaped);
    for (CControlUI* c : dead) delete c;
  }
}

void CPaintManagerUI::ControlChanged(CControlUI* control) {
  if (m_pObserver) m_pObserver->ControlChanged(control);
}

void CPaintManagerUI::DestroyTree() {
  if (!m_pRoot) return;
  CControlUI* root = m_pRoot;
  ControlDetached(root);
  m_pRoot = nullptr;
  root->SetManager(nullptr, nullptr);
  if (IsDispatching()) ReapObject(root);
  else delete root;
  m_pFocus = m_pEventHover = m_pEventClick = nullptr;
}

}  // namespace tk

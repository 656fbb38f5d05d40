#include "ui/toolkit/headless/driver.h"

#include <algorithm>

#include "ui/toolkit/combo.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/list.h"
#include "ui/toolkit/platform.h"

namespace tk::headless {

Driver::Driver() : m_platform(dynamic_cast<HeadlessPlatform&>(CurrentPlatform())) {}

CWindowWnd* Driver::FindWindow(std::u16string_view className) const {
  auto windows = m_platform.Windows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    CWindowWnd* w = CWindowWnd::FromHandle((*it)->Handle());
    if (w && w->GetWindowClassName() == className) return w;
  }
  return nullptr;
}

CControlUI* Driver::Find(CWindowWnd* window, std::u16string_view name) {
  if (!window || !window->GetPaintManager()) return nullptr;
  return window->GetPaintManager()->FindControl(name);
}

bool Driver::ClickPoint(CWindowWnd* window, CControlUI* control, Point* pt) {
  if (!window || !control || !window->GetPaintManager()) return false;
  CPaintManagerUI* pm = window->GetPaintManager();
  pm->UpdateLayout();
  if (control->GetManager() != pm || !control->IsShown()) return false;
  // The part of the control that its ancestors leave visible.
  Rect visible = control->GetPos();
  for (CControlUI* p = control->GetParent(); p; p = p->GetParent())
    if (CContainerUI* c = p->AsContainer()) visible = visible.Intersect(c->GetClientRect());
  Size client = pm->GetClientSize();
  visible = visible.Intersect({0, 0, client.cx, client.cy});
  if (visible.IsEmpty()) return false;
  *pt = visible.Center();
  return true;
}

void Driver::Mouse(HWND hwnd, UINT message, Point pt, UINT keys, int wheel) {
  // By handle: an action may close the window, or delete its object.
  HeadlessWindow* hw = CWindowWnd::FromHandle(hwnd) ? m_platform.Window(hwnd) : nullptr;
  if (!hw || !hw->Events()) return;
  hw->Events()->OnMouse(message, pt, keys, wheel);
  m_platform.RunPending();
}

bool Driver::Click(CWindowWnd* window, std::u16string_view name) { return Click(window, Find(window, name)); }

bool Driver::PressPoint(CWindowWnd* window, CControlUI* control, Point* pt) {
  if (!ClickPoint(window, control, pt)) return false;
  CControlUI* hit = window->GetPaintManager()->FindControl(*pt);
  bool reaches = false;
  for (CControlUI* c = hit; c; c = c->GetParent())
    if (c == control) reaches = true;
  return reaches && control->IsEnabled();
}

bool Driver::Click(CWindowWnd* window, CControlUI* control) {
  Point pt;
  if (!PressPoint(window, control, &pt)) return false;
  HWND h = window->GetHWND();
  Mouse(h, WM_MOUSEMOVE, pt);
  Mouse(h, WM_LBUTTONDOWN, pt, MK_LBUTTON);
  Mouse(h, WM_LBUTTONUP, pt);
  return true;
}

bool Driver::DoubleClick(CWindowWnd* window, std::u16string_view name) {
  return DoubleClick(window, Find(window, name));
}

bool Driver::DoubleClick(CWindowWnd* window, CControlUI* control) {
  Point pt;
  if (!PressPoint(window, control, &pt)) return false;
  DoubleClickAt(window, pt);
  return true;
}

bool Driver::RightClick(CWindowWnd* window, std::u16string_view name) {
  Point pt;
  if (!ClickPoint(window, Find(window, name), &pt)) return false;
  HWND h = window->GetHWND();
  Mouse(h, WM_RBUTTONDOWN, pt, MK_RBUTTON);
  Mouse(h, WM_RBUTTONUP, pt);
  return true;
}

void Driver::ClickAt(CWindowWnd* window, Point pt) {
  HWND h = window->GetHWND();
  Mouse(h, WM_MOUSEMOVE, pt);
  Mouse(h, WM_LBUTTONDOWN, pt, MK_LBUTTON);
  Mouse(h, WM_LBUTTONUP, pt);
}

void Driver::DoubleClickAt(CWindowWnd* window, Point pt) {
  HWND h = window->GetHWND();
  Mouse(h, WM_MOUSEMOVE, pt);
  Mouse(h, WM_LBUTTONDOWN, pt, MK_LBUTTON);
  Mouse(h, WM_LBUTTONUP, pt);
  Mouse(h, WM_LBUTTONDBLCLK, pt, MK_LBUTTON);
  Mouse(h, WM_LBUTTONUP, pt);
}

bool Driver::Wheel(CWindowWnd* window, std::u16string_view name, int notches) {
  Point pt;
  if (!ClickPoint(window, Find(window, name), &pt)) return false;
  HWND h = window->GetHWND();
  Mouse(h, WM_MOUSEMOVE, pt);
  Mouse(h, WM_MOUSEWHEEL, pt, 0, notches * 120);
  return true;
}

void Driver::DoubleClickCaption(CWindowWnd* window) {
  CPaintManagerUI* pm = window->GetPaintManager();
  Point pt{4, 4};
  if (pm) {
    const Rect& cap = pm->GetCaptionRect();
    pt = {cap.left + 2, cap.top + 2};
    // A point of the caption not covered by a control that takes input.
    Size client = pm->GetClientSize();
    for (int x = cap.left + 1; x < client.cx - cap.right; x += 4)
      if (pm->IsCaptionPoint({x, cap.top + 2})) {
        pt = {x, cap.top + 2};
        break;
      }
  }
  Mouse(window->GetHWND(), WM_NCLBUTTONDBLCLK, pt, MK_LBUTTON);
}

bool Driver::SelectItem(CWindowWnd* window, std::u16string_view name, int index) {
  CControlUI* control = Find(window, name);
  if (auto* list = dynamic_cast<CListUI*>(control)) {
    CControlUI* item = list->GetItemAt(index);
    if (!item) return false;
    list->EnsureVisible(index);
    return Click(window, item);
  }
  if (auto* combo = dynamic_cast<CComboUI*>(control)) {
    if (index < 0 || index >= combo->GetCount()) return false;
    m_platform.QueueMenuAnswer(static_cast<UINT>(index + 1));
    return Click(window, combo);
  }
  return false;
}

bool Driver::Type(CWindowWnd* window, std::u16string_view name, std::u16string_view text) {
  CControlUI* control = Find(window, name);
  HWND h = window->GetHWND();
  if (!Click(window, control)) return false;
  for (char16_t ch : text) {
    CWindowWnd* w = CWindowWnd::FromHandle(h);
    if (!w) return false;
    Char(w, ch);
  }
  return true;
}

void Driver::KeyMessage(HWND hwnd, UINT message, UINT code, UINT mods) {
  HeadlessWindow* hw = CWindowWnd::FromHandle(hwnd) ? m_platform.Window(hwnd) : nullptr;
  if (!hw || !hw->Events()) return;
  hw->Events()->OnKey(message, code, mods);
  m_platform.RunPending();
}

void Driver::Key(CWindowWnd* window, UINT vk, UINT mods) {
  HWND h = window->GetHWND();
  KeyMessage(h, WM_KEYDOWN, vk, mods);
  KeyMessage(h, WM_KEYUP, vk, mods);
}

void Driver::Char(CWindowWnd* window, char16_t ch) { KeyMessage(window->GetHWND(), WM_CHAR, ch, 0); }

void Driver::RequestClose(CWindowWnd* window) {
  HWND h = window->GetHWND();
  HeadlessWindow* hw = CWindowWnd::FromHandle(h) ? m_platform.Window(h) : nullptr;
  if (!hw || !hw->Events()) return;
  hw->Events()->OnCloseRequest();
  m_platform.RunPending();
}

bool Driver::ClickTray(CWindowWnd* owner, UINT id, bool right) {
  return m_platform.ClickTray(owner ? owner->GetHWND() : nullptr, id, right);
}

bool Driver::IsVisible(CWindowWnd* window) { return window && window->IsWindowVisible(); }

Rect Driver::Bounds(CWindowWnd* window) { return window ? window->GetWindowRect() : Rect{}; }

PaintList Driver::Paint(CWindowWnd* window) {
  HeadlessWindow* hw = window ? m_platform.Window(window->GetHWND()) : nullptr;
  return hw ? hw->Paint() : PaintList{};
}

}  // namespace tk::headless

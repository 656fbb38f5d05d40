#include "ui/toolkit/container.h"

#include <algorithm>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/resources.h"

namespace tk {

namespace {
constexpr int kScrollBarWidth = 6;
constexpr int kScrollBarHitWidth = 10;
constexpr int kMinThumb = 24;
constexpr int kLineStep = 40;
constexpr Color kScrollThumbColor = 0x66808A9A;
}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
  std::vector<CControlUI*> items;
  items.swap(m_items);
  for (CControlUI* child : items) {
    child->m_pParent = nullptr;
    delete child;
  }
}

std::u16string_view CContainerUI::GetClass() const { return u"Container"; }

CControlUI* CContainerUI::GetItemAt(int index) const {
  if (index < 0 || index >= static_cast<int>(m_items.size())) return nullptr;
  return m_items[index];
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
  auto it = std::find(m_items.begin(), m_items.end(), control);
  return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
  int from = GetItemIndex(control);
  if (from < 0 || index < 0 || index >= static_cast<int>(m_items.size())) return false;
  m_items.erase(m_items.begin() + from);
  m_items.insert(m_items.begin() + index, control);
  NeedUpdate();
  return true;
}

int CContainerUI::GetCount() const { return static_cast<int>(m_items.size()); }

bool CContainerUI::Add(CControlUI* control) { return AddAt(control, static_cast<int>(m_items.size())); }

bool CContainerUI::AddAt(CControlUI* control, int index) {
  if (!control || control->GetParent()) return false;
  if (index < 0 || index > static_cast<int>(m_items.size())) return false;
  for (CControlUI* p = this; p; p = p->GetParent())
    if (p == control) return false;
  if (m_pManager && m_pManager->GetRoot() == control) return false;
  m_items.insert(m_items.begin() + index, control);
  control->SetManager(m_pManager, this);
  NeedUpdate();
  return true;
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy) {
  if (!control || GetItemIndex(control) < 0) return false;
  DetachChild(control, !doNotDestroy);
  return true;
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy) {
  CControlUI* control = GetItemAt(index);
  if (!control) return false;
  return Remove(control, doNotDestroy);
}

void CContainerUI::RemoveAll() {
  while (!m_items.empty()) DetachChild(m_items.back(), true);
  m_szScrollPos = {};
  NeedUpdate();
}

void CContainerUI::DetachChild(CControlUI* child, bool destroy) {
  CPaintManagerUI* manager = m_pManager;
  if (manager) manager->ControlDetached(child);
  m_items.erase(std::remove(m_items.begin(), m_items.end(), child), m_items.end());
  child->m_pParent = nullptr;
  child->SetManager(nullptr, nullptr);
  if (destroy) {
    if (manager && manager->IsDispatching()) manager->ReapObject(child);
    else delete child;
  }
  NeedUpdate();
}

CControlUI* CContainerUI::FindSubControl(std::u16string_view name) {
  for (CControlUI* child : m_items)
    if (CControlUI* found = child->FindControlIf([&](CControlUI* c) { return c->GetName() == name; }))
      return found;
  return nullptr;
}

std::vector<CControlUI*> CContainerUI::FindSubControls(std::u16string_view name) {
  std::vector<CControlUI*> out;
  for (CControlUI* child : m_items)
    child->FindControlIf([&](CControlUI* c) {
      if (c->GetName() == name) out.push_back(c);
      return false;
    });
  return out;
}

void CContainerUI::SetInset(const Rect& inset) {
  m_rcInset = inset;
  NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding) {
  m_iChildPadding = std::max(0, padding);
  NeedUpdate();
}

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
  m_bVScroll = vertical;
  m_bHScroll = horizontal;
  if (!vertical) m_szScrollPos.cy = 0;
  if (!horizontal) m_szScrollPos.cx = 0;
  NeedUpdate();
}

Size CContainerUI::GetScrollRange() const { return m_szScrollRange; }

void CContainerUI::SetScrollPos(Size pos) {
  pos.cx = std::clamp(pos.cx, 0, std::max(0, m_szScrollRange.cx));
  pos.cy = std::clamp(pos.cy, 0, std::max(0, m_szScrollRange.cy));
  if (pos == m_szScrollPos) return;
  m_szScrollPos = pos;
  if (m_pManager && !m_rcItem.IsEmpty()) {
    // Re-place the children at once so hit-testing sees the new offsets.
    SetPos(m_rcItem);
    Invalidate();
  } else {
    NeedUpdate();
  }
}

void CContainerUI::LineUp() { SetScrollPos({m_szScrollPos.cx, m_szScrollPos.cy - kLineStep}); }
void CContainerUI::LineDown() { SetScrollPos({m_szScrollPos.cx, m_szScrollPos.cy + kLineStep}); }
void CContainerUI::PageUp() {
  SetScrollPos({m_szScrollPos.cx, m_szScrollPos.cy - std::max(kLineStep, GetClientRect().Height() - kLineStep)});
}
void CContainerUI::PageDown() {
  SetScrollPos({m_szScrollPos.cx, m_szScrollPos.cy + std::max(kLineStep, GetClientRect().Height() - kLineStep)});
}
void CContainerUI::HomeUp() { SetScrollPos({m_szScrollPos.cx, 0}); }
void CContainerUI::EndDown() { SetScrollPos({m_szScrollPos.cx, m_szScrollRange.cy}); }

void CContainerUI::ScrollIntoView(CControlUI* child) {
  if (!child || !m_bVScroll) return;
  if (m_pManager) m_pManager->UpdateLayout();
  Rect view = GetClientRect();
  const Rect& rc = child->GetPos();
  if (rc.top < view.top) SetScrollPos({m_szScrollPos.cx, m_szScrollPos.cy - (view.top - rc.top)});
  else if (rc.bottom > view.bottom) SetScrollPos({m_szScrollPos.cx, m_szScrollPos.cy + (rc.bottom - view.bottom)});
}

Rect CContainerUI::GetClientRect() const { return m_rcItem.Deflate(m_rcInset); }

Rect CContainerUI::VScrollTrack() const {
  if (!m_bVScroll || m_szScrollRange.cy <= 0) return {};
  Rect view = GetClientRect();
  return {view.right - kScrollBarHitWidth, view.top, view.right, view.bottom};
}

Rect CContainerUI::VScrollThumb() const {
  Rect track = VScrollTrack();
  if (track.IsEmpty()) return {};
  int viewH = track.Height();
  int contentH = viewH + m_szScrollRange.cy;
  int thumbH = std::max(kMinThumb, viewH * viewH / std::max(1, contentH));
  thumbH = std::min(thumbH, viewH);
  int top = track.top + (viewH - thumbH) * m_szScrollPos.cy / std::max(1, m_szScrollRange.cy);
  return {track.right - kScrollBarWidth - 2, top, track.right - 2, top + thumbH};
}

void CContainerUI::UpdateScrollRange(Size content, const Rect& client) {
  m_szScrollRange.cy = m_bVScroll ? std::max(0, content.cy - client.Height()) : 0;
  m_szScrollRange.cx = m_bHScroll ? std::max(0, content.cx - client.Width()) : 0;
  m_szScrollPos.cy = std::clamp(m_szScrollPos.cy, 0, m_szScrollRange.cy);
  m_szScrollPos.cx = std::clamp(m_szScrollPos.cx, 0, m_szScrollRange.cx);
}

void CContainerUI::SetPos(const Rect& rc) {
  CControlUI::SetPos(rc);
  Rect client = GetClientRect();
  if (client.right < client.left) client.right = client.left;
  if (client.bottom < client.top) client.bottom = client.top;
  if (m_bVScroll || m_bHScroll) {
    // Measure at the view size, then lay out the whole content shifted by
    // the scroll position.
    Size need = LayoutChildren(client);
    UpdateScrollRange(need, client);
    Rect content = client;
    if (m_bVScroll && need.cy > client.Height()) content.bottom = content.top + need.cy;
    if (m_bHScroll && need.cx > client.Width()) content.right = content.left + need.cx;
    content = content.Offset(-m_szScrollPos.cx, -m_szScrollPos.cy);
    if (content != client || m_szScrollRange.cy > 0 || m_szScrollRange.cx > 0) LayoutChildren(content);
  } else {
    LayoutChildren(client);
  }
  for (CControlUI* child : m_items)
    if (child->IsVisible() && child->IsFloat()) SetFloatPos(child);
}

void CContainerUI::SetFloatPos(CControlUI* child) {
  const Rect& pos = child->GetFixedXY();
  int left = m_rcItem.left + pos.left - m_szScrollPos.cx;
  int top = m_rcItem.top + pos.top - m_szScrollPos.cy;
  int w = child->GetFixedWidth();
  int h = child->GetFixedHeight();
  if (w <= 0) w = std::max(0, m_rcItem.right - left);
  if (h <= 0) h = std::max(0, m_rcItem.bottom - top);
  w = std::clamp(w, child->GetMinWidth(), std::max(child->GetMinWidth(), child->GetMaxWidth()));
  h = std::clamp(h, child->GetMinHeight(), std::max(child->GetMinHeight(), child->GetMaxHeight()));
  child->SetPos({left, top, left + w, top + h});
}

Size CContainerUI::LayoutChildren(const Rect& client) {
  Size need;
  for (CControlUI* child : m_items) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    const Rect& pad = child->GetPadding();
    Size avail{client.Width() - pad.left - pad.right, client.Height() - pad.top - pad.bottom};
    Size sz = child->EstimateSize(avail);
    int w = sz.cx > 0 ? sz.cx : avail.cx;
    int h = sz.cy > 0 ? sz.cy : avail.cy;
    w = std::clamp(w, child->GetMinWidth(), std::max(child->GetMinWidth(), child->GetMaxWidth()));
    h = std::clamp(h, child->GetMinHeight(), std::max(child->GetMinHeight(), child->GetMaxHeight()));
    int x = client.left + pad.left;
    int y = client.top + pad.top;
    child->SetPos({x, y, x + std::max(0, w), y + std::max(0, h)});
    need.cx = std::max(need.cx, pad.left + (sz.cx > 0 ? sz.cx : child->GetMinWidth()) + pad.right);
    need.cy = std::max(need.cy, pad.top + (sz.cy > 0 ? sz.cy : child->GetMinHeight()) + pad.bottom);
  }
  return need;
}

Size CContainerUI::EstimateSize(Size available) { return CControlUI::EstimateSize(available); }

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
  CControlUI::SetManager(manager, parent);
  for (CControlUI* child : m_items) child->SetManager(manager, this);
}

void CContainerUI::SetVisible(bool visible) { CControlUI::SetVisible(visible); }

void CContainerUI::SetEnabled(bool enable) { CControlUI::SetEnabled(enable); }

bool CContainerUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"inset") {
    if (auto r = ParseRect(value)) SetInset(*r);
  } else if (name == u"childpadding") {
    if (auto n = ParseInt(value)) SetChildPadding(*n);
  } else if (name == u"childalign") {
    if (value == u"center") SetChildAlign(DT_CENTER);
    else if (value == u"right") SetChildAlign(DT_RIGHT);
    else SetChildAlign(DT_LEFT);
  } else if (name == u"childvalign") {
    if (value == u"vcenter" || value == u"center") SetChildVAlign(DT_VCENTER);
    else if (value == u"bottom") SetChildVAlign(DT_BOTTOM);
    else SetChildVAlign(DT_TOP);
  } else if (name == u"mousechild") {
    if (auto b = ParseBool(value)) SetMouseChildEnabled(*b);
  } else if (name == u"vscrollbar") {
    if (auto b = ParseBool(value)) EnableScrollBar(*b, m_bHScroll);
  } else if (name == u"hscrollbar") {
    if (auto b = ParseBool(value)) EnableScrollBar(m_bVScroll, *b);
  } else {
    return CControlUI::SetAttribute(name, value);
  }
  return true;
}

void CContainerUI::DoEvent(TEventUI& event) {
  Rect track = VScrollTrack();
  switch (event.Type) {
    case EventType::kScrollWheel:
      if (m_bVScroll && m_szScrollRange.cy > 0) {
        int notches = static_cast<int>(static_cast<std::intptr_t>(event.wParam)) / 120;
        if (notches == 0) notches = static_cast<std::intptr_t>(event.wParam) > 0 ? 1 : -1;
        Size before = m_szScrollPos;
        SetScrollPos({m_szScrollPos.cx, m_szScrollPos.cy - notches * kLineStep});
        if (before != m_szScrollPos) return;
      }
      break;
    case EventType::kButtonDown:
    case EventType::kDblClick:
      if (!track.IsEmpty() && track.Contains(event.ptMouse)) {
        Rect thumb = VScrollThumb();
        if (event.ptMouse.y < thumb.top) PageUp();
        else if (event.ptMouse.y >= thumb.bottom) PageDown();
        else {
          m_bScrollDrag = true;
          m_iScrollDragOffset = event.ptMouse.y - thumb.top;
        }
        return;
      }
      break;
    case EventType::kMouseMove:
      if (m_bScrollDrag) {
        Rect thumb = VScrollThumb();
        int free = track.Height() - thumb.Height();
        if (free > 0) {
          int top = event.ptMouse.y - m_iScrollDragOffset - track.top;
          SetScrollPos({m_szScrollPos.cx, top * m_szScrollRange.cy / free});
        }
        return;
      }
      break;
    case EventType::kButtonUp:
      if (m_bScrollDrag) {
        m_bScrollDrag = false;
        return;
      }
      break;
    default:
      break;
  }
  CControlUI::DoEvent(event);
}

CControlUI* CContainerUI::FindControlIf(const std::function<bool(CControlUI*)>& visit) {
  if (visit(this)) return this;
  for (std::size_t i = 0; i < m_items.size(); ++i)
    if (CControlUI* found = m_items[i]->FindControlIf(visit)) return found;
  return nullptr;
}

void CContainerUI::DoPaint(PaintList& list, const Rect& clip) {
  if (!IsVisible() || m_rcItem.IsEmpty()) return;
  Rect visible = m_rcItem.Intersect(clip);
  if (visible.IsEmpty()) return;
  PaintBkColor(list);
  PaintBkImage(list);
  PaintStatusImage(list);
  PaintText(list);
  Rect client = GetClientRect().Intersect(visible);
  if (!m_items.empty() && !client.IsEmpty()) {
    DrawOp push;
    push.kind = DrawKind::kPushClip;
    push.rect = GetClientRect();
    push.round = (m_rcInset == Rect{}) ? m_cxyBorderRound : Size{};
    push.control = this;
    list.ops.push_back(std::move(push));
    for (CControlUI* child : m_items) child->DoPaint(list, client);
    DrawOp pop;
    pop.kind = DrawKind::kPopClip;
    pop.control = this;
    list.ops.push_back(std::move(pop));
  }
  Rect thumb = VScrollThumb();
  if (!thumb.IsEmpty()) list.AddFill(this, thumb, kScrollThumbColor, {kScrollBarWidth / 2, kScrollBarWidth / 2});
  PaintBorder(list);
}

// ---------------------------------------------------------------------------

namespace {

struct FlowItem {
  CControlUI* control;
  int main;      // size along the flow (0: flexible)
  int cross;     // size across (0: fill)
  bool flexible;
};

// Shares `space` among flexible items, honouring their min/max; returns
// the sizes (for flexible entries only).
void ShareFlexible(std::vector<FlowItem>& items, int space, bool vertical) {
  std::vector<FlowItem*> pool;
  for (auto& it : items)
    if (it.flexible) pool.push_back(&it);
  while (!pool.empty()) {
    int share = std::max(0, space) / static_cast<int>(pool.size());
    bool clamped = false;
    for (auto iter = pool.begin(); iter != pool.end();) {
      CControlUI* c = (*iter)->control;
      int mn = vertical ? c->GetMinHeight() : c->GetMinWidth();
      int mx = vertical ? c->GetMaxHeight() : c->GetMaxWidth();
      if (share < mn || share > mx) {
        (*iter)->main = share < mn ? mn : mx;
        space -= (*iter)->main;
        iter = pool.erase(iter);
        clamped = true;
      } else {
        ++iter;
      }
    }
    if (!clamped) {
      int rest = std::max(0, space) - share * static_cast<int>(pool.size());
      for (auto* it : pool) {
        it->main = share + (rest > 0 ? 1 : 0);
        if (rest > 0) --rest;
      }
      break;
    }
  }
}

Size LayoutFlow(std::vector<CControlUI*>& children, const Rect& client, int childPadding, UINT align,
                UINT valign, bool vertical) {
  std::vector<FlowItem> items;
  int fixedTotal = 0;
  int minTotal = 0;
  int crossNeed = 0;
  for (CControlUI* child : children) {
    if (!child->IsVisible() || child->IsFloat()) continue;
    const Rect& pad = child->GetPadding();
    Size avail{client.Width() - pad.left - pad.right, client.Height() - pad.top - pad.bottom};
    Size sz = child->EstimateSize(avail);
    FlowItem it{child, vertical ? sz.cy : sz.cx, vertical ? sz.cx : sz.cy, false};
    int mn = vertical ? child->GetMinHeight() : child->GetMinWidth();
    int mx = vertical ? child->GetMaxHeight() : child->GetMaxWidth();
    if (it.main > 0) {
      it.main = std::clamp(it.main, mn, std::max(mn, mx));
      fixedTotal += it.main;
    } else {
      it.flexible = true;
      minTotal += mn;
    }
    fixedTotal += vertical ? pad.top + pad.bottom : pad.left + pad.right;
    int crossPad = vertical ? pad.left + pad.right : pad.top + pad.bottom;
    crossNeed = std::max(crossNeed, crossPad + std::max(it.cross, vertical ? child->GetMinWidth() : child->GetMinHeight()));
    items.push_back(it);
  }
  if (items.empty()) return {};
  int gaps = childPadding * static_cast<int>(items.size() - 1);
  int mainSpace = vertical ? client.Height() : client.Width();
  ShareFlexible(items, mainSpace - fixedTotal - gaps, vertical);
  int used = gaps;
  for (auto& it : items) {
    const Rect& pad = it.control->GetPadding();
    used += it.main + (vertical ? pad.top + pad.bottom : pad.left + pad.right);
  }
  int pos = vertical ? client.top : client.left;
  int slack = mainSpace - used;
  UINT mainAlign = vertical ? valign : align;
  if (slack > 0) {
    if (mainAlign & (vertical ? DT_VCENTER : DT_CENTER)) pos += slack / 2;
    else if (mainAlign & (vertical ? DT_BOTTOM : DT_RIGHT)) pos += slack;
  }
  for (auto& it : items) {
    CControlUI* c = it.control;
    const Rect& pad = c->GetPadding();
    int crossSpace = vertical ? client.Width() - pad.left - pad.right : client.Height() - pad.top - pad.bottom;
    int cross = it.cross > 0 ? it.cross : crossSpace;
    int mn = vertical ? c->GetMinWidth() : c->GetMinHeight();
    int mx = vertical ? c->GetMaxWidth() : c->GetMaxHeight();
    cross = std::clamp(cross, mn, std::max(mn, mx));
    int crossStart = vertical ? client.left + pad.left : client.top + pad.top;
    int crossSlack = crossSpace - cross;
    UINT crossAlign = vertical ? align : valign;
    if (crossSlack > 0) {
      if (crossAlign & (vertical ? DT_CENTER : DT_VCENTER)) crossStart += crossSlack / 2;
      else if (crossAlign & (vertical ? DT_RIGHT : DT_BOTTOM)) crossStart += crossSlack;
    }
    int main = std::max(0, it.main);
    cross = std::max(0, cross);
    if (vertical) {
      int top = pos + pad.top;
      c->SetPos({crossStart, top, crossStart + cross, top + main});
      pos = top + main + pad.bottom + childPadding;
    } else {
      int left = pos + pad.left;
      c->SetPos({left, crossStart, left + main, crossStart + cross});
      pos = left + main + pad.right + childPadding;
    }
  }
  int mainNeed = fixedTotal + minTotal + gaps;
  return vertical ? Size{crossNeed, mainNeed} : Size{mainNeed, crossNeed};
}

}  // namespace

std::u16string_view CVerticalLayoutUI::GetClass() const { return u"VerticalLayout"; }

Size CVerticalLayoutUI::EstimateSize(Size available) { return CContainerUI::EstimateSize(available); }

Size CVerticalLayoutUI::LayoutChildren(const Rect& client) {
  return LayoutFlow(m_items, client, m_iChildPadding, m_uChildAlign, m_uChildVAlign, true);
}

std::u16string_view CHorizontalLayoutUI::GetClass() const { return u"HorizontalLayout"; }

Size CHorizontalLayoutUI::EstimateSize(Size available) { return CContainerUI::EstimateSize(available); }

Size CHorizontalLayoutUI::LayoutChildren(const Rect& client) {
  return LayoutFlow(m_items, client, m_iChildPadding, m_uChildAlign, m_uChildVAlign, false);
}

// ---------------------------------------------------------------------------

std::u16string_view CTabLayoutUI::GetClass() const { return u"TabLayout"; }

bool CTabLayoutUI::Add(CControlUI* control) { return AddAt(control, static_cast<int>(m_items.size())); }

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  if (m_iCurSel < 0) {
    m_iCurSel = index;
  } else if (index <= m_iCurSel) {
    ++m_iCurSel;
  }
  if (m_iPendingSel >= 0 && m_iPendingSel < static_cast<int>(m_items.size())) {
    m_iCurSel = m_iPendingSel;
    m_iPendingSel = -1;
  }
  ShowOnlyCurrent();
  return true;
}

bool CTabLayoutUI::Remove(CControlUI* control, bool doNotDestroy) {
  int index = GetItemIndex(control);
  if (index < 0) return false;
  if (!CContainerUI::Remove(control, doNotDestroy)) return false;
  if (m_items.empty()) {
    m_iCurSel = -1;
  } else if (index < m_iCurSel || (index == m_iCurSel && m_iCurSel >= static_cast<int>(m_items.size()))) {
    m_iCurSel = std::max(0, m_iCurSel - 1);
  }
  ShowOnlyCurrent();
  return true;
}

void CTabLayoutUI::RemoveAll() {
  CContainerUI::RemoveAll();
  m_iCurSel = -1;
}

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
  if (index == m_iCurSel) return true;
  m_iCurSel = index;
  ShowOnlyCurrent();
  if (m_pManager) {
    // A page that had the focus is hidden now: the focus moves off it.
    CControlUI* focus = m_pManager->GetFocus();
    if (focus && !focus->IsShown()) m_pManager->SetFocus(nullptr);
  }
  return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* page) { return SelectItem(GetItemIndex(page)); }

void CTabLayoutUI::ShowOnlyCurrent() {
  for (int i = 0; i < static_cast<int>(m_items.size()); ++i) {
    CControlUI* page = m_items[i];
    bool show = i == m_iCurSel;
    if (page->IsVisible() != show) page->SetVisible(show);
  }
  NeedUpdate();
}

bool CTabLayoutUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"selectedid") {
    if (auto n = ParseInt(value)) {
      if (*n >= 0 && *n < static_cast<int>(m_items.size())) SelectItem(*n);
      else if (*n >= 0) m_iPendingSel = *n;  // pages come later while building
    }
    return true;
  }
  return CContainerUI::SetAttribute(name, value);
}

Size CTabLayoutUI::LayoutChildren(const Rect& client) { return CContainerUI::LayoutChildren(client); }

}  // namespace tk

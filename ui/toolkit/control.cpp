#include "ui/toolkit/control.h"

#include <algorithm>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/container.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/resources.h"

namespace tk {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
  if (m_pManager) m_pManager->ControlDetached(this);
  if (m_pParent) {
    // Deleted directly while still a child: leave the parent consistent.
    if (CContainerUI* parent = m_pParent->AsContainer()) {
      auto& items = const_cast<std::vector<CControlUI*>&>(parent->Children());
      items.erase(std::remove(items.begin(), items.end(), this), items.end());
      parent->NeedUpdate();
    }
  }
}

std::u16string_view CControlUI::GetClass() const { return u"Control"; }

void CControlUI::SetName(std::u16string_view name) {
  if (m_sName == name) return;
  m_sName = name;
  if (m_pManager) m_pManager->ControlChanged(this);
}

void CControlUI::SetText(std::u16string_view text) {
  if (m_sText == text) return;
  m_sText = text;
  Invalidate();
  if (m_pManager) m_pManager->ControlChanged(this);
}

void CControlUI::SetVisible(bool visible) {
  if (m_bVisible == visible) return;
  if (!visible && m_pManager) {
    // The focus and the mouse leave a control that disappears.
    for (CControlUI* c = m_pManager->GetFocus(); c; c = c->GetParent())
      if (c == this) {
        m_pManager->SetFocus(nullptr);
        break;
      }
  }
  m_bVisible = visible;
  NeedParentUpdate();
  if (m_pManager) m_pManager->ControlChanged(this);
}

bool CControlUI::IsShown() const {
  if (!m_pManager) return false;
  for (const CControlUI* c = this; c; c = c->m_pParent)
    if (!c->IsVisible()) return false;
  return true;
}

void CControlUI::SetEnabled(bool enable) {
  if (m_bEnabled == enable) return;
  m_bEnabled = enable;
  SetState(UISTATE_DISABLED, !enable);
  if (!enable && m_pManager && m_pManager->GetFocus() == this) m_pManager->SetFocus(nullptr);
  Invalidate();
  if (m_pManager) m_pManager->ControlChanged(this);
}

bool CControlUI::IsFocused() const { return m_pManager && m_pManager->GetFocus() == this; }

void CControlUI::SetFocus() {
  if (m_pManager) m_pManager->SetFocus(this);
}

void CControlUI::SetPos(const Rect& rc) {
  m_rcItem = rc;
  if (m_rcItem.right < m_rcItem.left) m_rcItem.right = m_rcItem.left;
  if (m_rcItem.bottom < m_rcItem.top) m_rcItem.bottom = m_rcItem.top;
}

void CControlUI::SetFloat(bool isFloat) {
  if (m_bFloat == isFloat) return;
  m_bFloat = isFloat;
  NeedParentUpdate();
}

void CControlUI::SetFixedRect(const Rect& rc) {
  m_rcPos = rc;
  m_cxyFixed.cx = std::max(0, rc.Width());
  m_cxyFixed.cy = std::max(0, rc.Height());
  NeedParentUpdate();
}

void CControlUI::SetFixedWidth(int cx) {
  if (cx < 0) return;
  m_cxyFixed.cx = cx;
  m_rcPos.right = m_rcPos.left + cx;
  NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int cy) {
  if (cy < 0) return;
  m_cxyFixed.cy = cy;
  m_rcPos.bottom = m_rcPos.top + cy;
  NeedParentUpdate();
}

void CControlUI::SetMinWidth(int cx) {
  if (cx < 0) return;
  m_cxyMin.cx = cx;
  NeedParentUpdate();
}
void CControlUI::SetMaxWidth(int cx) {
  if (cx < 0) return;
  m_cxyMax.cx = cx;
  NeedParentUpdate();
}
void CControlUI::SetMinHeight(int cy) {
  if (cy < 0) return;
  m_cxyMin.cy = cy;
  NeedParentUpdate();
}
void CControlUI::SetMaxHeight(int cy) {
  if (cy < 0) return;
  m_cxyMax.cy = cy;
  NeedParentUpdate();
}

void CControlUI::SetPadding(const Rect& rc) {
  m_rcPadding = rc;
  NeedParentUpdate();
}

Size CControlUI::EstimateSize(Size available) {
  (void)available;
  return m_cxyFixed;
}

void CControlUI::SetBkColor(Color c) {
  m_dwBackColor = c;
  Invalidate();
}
void CControlUI::SetBkImage(std::u16string_view image) {
  if (m_sBkImage == image) return;
  m_sBkImage = image;
  Invalidate();
}
void CControlUI::SetBorderColor(Color c) {
  m_dwBorderColor = c;
  Invalidate();
}
void CControlUI::SetFocusBorderColor(Color c) {
  m_dwFocusBorderColor = c;
  Invalidate();
}
void CControlUI::SetBorderSize(int size) {
  m_nBorderSize = std::clamp(size, 0, 100);
  Invalidate();
}
void CControlUI::SetBorderRound(Size round) {
  m_cxyBorderRound = {std::clamp(round.cx, 0, 1000), std::clamp(round.cy, 0, 1000)};
  Invalidate();
}

void CControlUI::SetState(UINT bit, bool on) {
  UINT before = m_uState;
  if (on) m_uState |= bit;
  else m_uState &= ~bit;
  if (before != m_uState) Invalidate();
}


bool CControlUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"name") {
    SetName(value);
  } else if (name == u"text") {
    SetText(value);
  } else if (name == u"tooltip") {
    SetToolTip(value);
  } else if (name == u"userdata") {
    SetUserData(value);
  } else if (name == u"visible") {
    if (auto b = ParseBool(value)) SetVisible(*b);
  } else if (name == u"enabled") {
    if (auto b = ParseBool(value)) SetEnabled(*b);
  } else if (name == u"mouse") {
    if (auto b = ParseBool(value)) SetMouseEnabled(*b);
  } else if (name == u"keyboard") {
    if (auto b = ParseBool(value)) SetKeyboardEnabled(*b);
  } else if (name == u"float") {
    if (auto b = ParseBool(value)) SetFloat(*b);
  } else if (name == u"pos") {
    if (auto r = ParseRect(value)) SetFixedRect(*r);
  } else if (name == u"width") {
    if (auto n = ParseInt(value)) SetFixedWidth(*n);
  } else if (name == u"height") {
    if (auto n = ParseInt(value)) SetFixedHeight(*n);
  } else if (name == u"minwidth") {
    if (auto n = ParseInt(value)) SetMinWidth(*n);
  } else if (name == u"maxwidth") {
    if (auto n = ParseInt(value)) SetMaxWidth(*n);
  } else if (name == u"minheight") {
    if (auto n = ParseInt(value)) SetMinHeight(*n);
  } else if (name == u"maxheight") {
    if (auto n = ParseInt(value)) SetMaxHeight(*n);
  } else if (name == u"padding") {
    if (auto r = ParseRect(value)) SetPadding(*r);
  } else if (name == u"bkcolor") {
    if (auto c = ParseColorFor(this, value)) SetBkColor(*c);
  } else if (name == u"bkimage") {
    SetBkImage(value);
  } else if (name == u"bordercolor") {
    if (auto c = ParseColorFor(this, value)) SetBorderColor(*c);
  } else if (name == u"focusbordercolor") {
    if (auto c = ParseColorFor(this, value)) SetFocusBorderColor(*c);
  } else if (name == u"bordersize") {
    if (auto n = ParseInt(value)) SetBorderSize(*n);
  } else if (name == u"borderround") {
    if (auto s = ParseSize(value)) SetBorderRound(*s);
  } else if (name == u"style") {
    SetStyleName(value);
    if (const SkinResources* res = ResourcesFor(this))
      if (const AttributeList* style = res->FindStyle(value))
        for (auto& [n, v] : *style)
          if (n != u"style") SetAttribute(n, v);
  } else {
    return false;
  }
  return true;
}

void CControlUI::ApplyAttributeList(std::u16string_view list) {
  for (auto& [name, value] : ParseAttributeList(list)) SetAttribute(name, value);
}

void CControlUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case EventType::kSetFocus:
      SetState(UISTATE_FOCUSED, true);
      return;
    case EventType::kKillFocus:
      SetState(UISTATE_FOCUSED, false);
      return;
    case EventType::kMouseEnter:
      SetState(UISTATE_HOT, true);
      return;
    case EventType::kMouseLeave:
      SetState(UISTATE_HOT, false);
      return;
    case EventType::kTimer:
      return;
    default:
      break;
  }
  if (m_pParent) m_pParent->DoEvent(event);
}

bool CControlUI::Activate() { return IsEnabled() && IsShown(); }

CControlUI* CControlUI::FindControlIf(const std::function<bool(CControlUI*)>& visit) {
  return visit(this) ? this : nullptr;
}

void CControlUI::DoPaint(PaintList& list, const Rect& clip) {
  if (!IsVisible() || m_rcItem.IsEmpty()) return;
  if (m_rcItem.Intersect(clip).IsEmpty()) return;
  PaintBkColor(list);
  PaintBkImage(list);
  PaintStatusImage(list);
  PaintText(list);
  PaintBorder(list);
}

void CControlUI::PaintBkColor(PaintList& list) {
  if (m_dwBackColor == kNoColor) return;
  list.AddFill(this, m_rcItem, m_dwBackColor, m_cxyBorderRound);
}

void CControlUI::PaintBkImage(PaintList& list) {
  if (!m_sBkImage.empty()) DrawImage(list, m_sBkImage, m_rcItem);
}

void CControlUI::PaintBorder(PaintList& list) {
  Color color = m_dwBorderColor;
  if (IsFocused() && m_dwFocusBorderColor != kNoColor) color = m_dwFocusBorderColor;
  if (color == kNoColor || m_nBorderSize <= 0) return;
  list.AddBorder(this, m_rcItem, color, m_nBorderSize, m_cxyBorderRound);
}

bool CControlUI::DrawImage(PaintList& list, std::u16string_view image, const Rect& rc) {
  if (!m_pManager) return false;
  auto spec = ParseImage(image);
  if (!spec) return false;
  std::u16string path = m_pManager->ResolveImage(spec->file);
  if (path.empty()) return false;
  DrawOp op;
  op.kind = DrawKind::kImage;
  op.rect = spec->hasDest ? Rect{rc.left + spec->dest.left, rc.top + spec->dest.top, rc.left + spec->dest.right,
                                 rc.top + spec->dest.bottom}
                          : rc;
  op.image = std::move(path);
  op.source = spec->source;
  op.corner = spec->corner;
  op.fade = static_cast<std::uint8_t>(spec->fade);
  op.round = m_cxyBorderRound;
  op.control = this;
  list.ops.push_back(std::move(op));
  return true;
}

void CControlUI::Invalidate() {
  if (m_pManager && IsVisible()) m_pManager->Invalidate(m_rcItem);
}

void CControlUI::NeedUpdate() {
  if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::NeedParentUpdate() {
  if (m_pManager) m_pManager->NeedUpdate();
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) {
  bool attach = manager && m_pManager != manager;
  m_pParent = parent;
  m_pManager = manager;
  if (attach) manager->ControlAttached(this);
}

void CControlUI::SendNotify(std::u16string_view type, WPARAM wParam, LPARAM lParam) {
  if (m_pManager) m_pManager->SendNotify(this, type, wParam, lParam);
}

}  // namespace tk

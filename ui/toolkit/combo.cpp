#include "ui/toolkit/combo.h"

#include <algorithm>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/platform.h"
#include "ui/toolkit/resources.h"
#include "ui/toolkit/window.h"

namespace tk {

CComboUI::CComboUI() = default;

std::u16string_view CComboUI::GetClass() const { return u"Combo"; }

std::u16string CComboUI::GetText() const {
  if (CControlUI* item = GetItemAt(m_iCurSel)) return item->GetText();
  return m_sText;
}

void CComboUI::Reindex() {
  for (int i = 0; i < GetCount(); ++i)
    if (auto* item = dynamic_cast<IListItemUI*>(GetItemAt(i))) {
      item->SetIndex(i);
      item->SetOwner(this);
    }
}

bool CComboUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CComboUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  // Items live in the drop-down only.
  control->SetFloat(true);
  control->SetFixedRect({0, 0, 0, 0});
  if (auto* item = dynamic_cast<IListItemUI*>(control)) item->SetSelectedState(false);
  if (m_iCurSel >= index) ++m_iCurSel;
  Reindex();
  if (m_iPendingSel >= 0 && m_iPendingSel < GetCount()) {
    if (auto* prev = dynamic_cast<IListItemUI*>(GetItemAt(m_iCurSel))) prev->SetSelectedState(false);
    m_iCurSel = m_iPendingSel;
    m_iPendingSel = -1;
    if (auto* item = dynamic_cast<IListItemUI*>(GetItemAt(m_iCurSel))) item->SetSelectedState(true);
  }
  return true;
}

bool CComboUI::Remove(CControlUI* control, bool doNotDestroy) {
  int index = GetItemIndex(control);
  if (index < 0) return false;
  if (!CContainerUI::Remove(control, doNotDestroy)) return false;
  if (index == m_iCurSel) m_iCurSel = -1;
  else if (index < m_iCurSel) --m_iCurSel;
  Reindex();
  Invalidate();
  return true;
}

void CComboUI::RemoveAll() {
  CContainerUI::RemoveAll();
  m_iCurSel = -1;
  Invalidate();
}

bool CComboUI::SelectItem(int index, bool takeFocus) {
  if (takeFocus && m_pManager) SetFocus();
  if (index == m_iCurSel) return true;
  if (index < -1 || index >= GetCount()) return false;
  IListItemUI* item = nullptr;
  if (index >= 0) {
    item = dynamic_cast<IListItemUI*>(GetItemAt(index));
    if (!item || !GetItemAt(index)->IsEnabled()) return false;
  }
  int old = m_iCurSel;
  if (auto* previous = dynamic_cast<IListItemUI*>(GetItemAt(old))) previous->SetSelectedState(false);
  m_iCurSel = index;
  if (item) item->SetSelectedState(true);
  Invalidate();
  if (m_pManager) m_pManager->ControlChanged(this);
  SendNotify(kNotifyItemSelect, static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  return true;
}

void CComboUI::ItemEvent(TEventUI& event) { DoEvent(event); }

void CComboUI::DropDown() {
  if (!m_pManager || !IsEnabled() || GetCount() == 0) return;
  CWindowWnd* window = m_pManager->GetWindow();
  PopupMenuParams params;
  params.owner = window ? window->GetHWND() : nullptr;
  Rect bounds = window ? window->GetWindowRect() : Rect{};
  params.screenPt = {bounds.left + m_rcItem.left, bounds.top + m_rcItem.bottom};
  params.flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* c = GetItemAt(i);
    MenuItem item;
    item.id = static_cast<UINT>(i + 1);
    item.text = c->GetText();
    item.flags = MF_STRING | (c->IsEnabled() ? 0 : MF_GRAYED) | (i == m_iCurSel ? MF_CHECKED : 0);
    params.items.push_back(std::move(item));
  }
  UINT chosen = CurrentPlatform().TrackPopupMenu(params);
  if (chosen > 0) SelectItem(static_cast<int>(chosen) - 1, true);
}

bool CComboUI::Activate() {
  if (!CControlUI::Activate()) return false;
  DropDown();
  return true;
}

void CComboUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case EventType::kButtonDown:
    case EventType::kDblClick:
      if (IsEnabled()) SetState(UISTATE_PUSHED | UISTATE_CAPTURED, true);
      return;
    case EventType::kButtonUp:
      if (m_uState & UISTATE_CAPTURED) {
        bool inside = m_rcItem.Contains(event.ptMouse);
        SetState(UISTATE_PUSHED | UISTATE_CAPTURED, false);
        if (inside) Activate();
      }
      return;
    case EventType::kKeyDown:
      switch (event.chKey) {
        case VK_UP:
          if (m_iCurSel > 0) SelectItem(m_iCurSel - 1);
          return;
        case VK_DOWN:
          if (m_iCurSel + 1 < GetCount()) SelectItem(m_iCurSel + 1);
          return;
        case VK_SPACE:
        case VK_RETURN:
          Activate();
          return;
        default:
          break;
      }
      break;
    case EventType::kScrollWheel: {
      int step = static_cast<std::intptr_t>(event.wParam) > 0 ? -1 : 1;
      int next = m_iCurSel + step;
      if (next >= 0 && next < GetCount()) SelectItem(next);
      return;
    }
    default:
      break;
  }
  CControlUI::DoEvent(event);
}

bool CComboUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"textcolor") {
    if (auto c = ParseColorFor(this, value)) m_dwTextColor = *c;
  } else if (name == u"itemtextcolor") {
    if (auto c = ParseColorFor(this, value)) m_dwItemTextColor = *c;
  } else if (name == u"hotbkcolor") {
    if (auto c = ParseColorFor(this, value)) m_dwHotBkColor = *c;
  } else if (name == u"hotbordercolor") {
    if (auto c = ParseColorFor(this, value)) m_dwHotBorderColor = *c;
  } else if (name == u"font" || name == u"itemfont") {
    if (auto n = ParseInt(value)) m_iFont = *n;
  } else if (name == u"textpadding") {
    if (auto r = ParseRect(value)) m_rcTextPadding = *r;
  } else if (name == u"arrowimage") {
    m_sArrowImage = value;
  } else if (name == u"selectedid" || name == u"cursel") {
    if (auto n = ParseInt(value)) {
      // Items may not exist yet while the skin is built: remember it.
      if (*n >= 0 && *n < GetCount()) {
        if (auto* prev = dynamic_cast<IListItemUI*>(GetItemAt(m_iCurSel))) prev->SetSelectedState(false);
        m_iCurSel = *n;
        if (auto* item = dynamic_cast<IListItemUI*>(GetItemAt(m_iCurSel))) item->SetSelectedState(true);
      } else if (*n >= 0) {
        m_iPendingSel = *n;
      }
    }
  } else {
    return CContainerUI::SetAttribute(name, value);
  }
  Invalidate();
  return true;
}

void CComboUI::SetPos(const Rect& rc) {
  // The items are not laid out inside the combo.
  CControlUI::SetPos(rc);
  for (CControlUI* item : m_items) item->SetPos({rc.left, rc.bottom, rc.left, rc.bottom});
}

Size CComboUI::EstimateSize(Size available) {
  Size sz = CControlUI::EstimateSize(available);
  return sz;
}

void CComboUI::DoPaint(PaintList& list, const Rect& clip) {
  if (!IsVisible() || m_rcItem.IsEmpty() || m_rcItem.Intersect(clip).IsEmpty()) return;
  Color bk = m_dwBackColor;
  if ((m_uState & UISTATE_HOT) && IsEnabled() && m_dwHotBkColor != kNoColor) bk = m_dwHotBkColor;
  if (bk != kNoColor) list.AddFill(this, m_rcItem, bk, m_cxyBorderRound);
  PaintBkImage(list);
  std::u16string text = GetText();
  if (!text.empty()) {
    DrawOp op;
    op.kind = DrawKind::kText;
    op.rect = m_rcItem.Deflate(m_rcTextPadding);
    op.text = std::move(text);
    Color color = m_dwTextColor != kNoColor ? m_dwTextColor : (m_pManager ? m_pManager->GetDefaultTextColor() : 0xFF1F2937);
    if (!IsEnabled()) color = m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFF9CA3AF;
    op.color = color;
    op.font = m_pManager ? m_pManager->Resources().FontIndex(m_iFont) : 0;
    op.format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    op.control = this;
    list.ops.push_back(std::move(op));
  }
  // The arrow: an image when the skin gives one, else a small chevron.
  Rect arrow{m_rcItem.right - 24, m_rcItem.top, m_rcItem.right - 8, m_rcItem.bottom};
  if (m_sArrowImage.empty() || !DrawImage(list, m_sArrowImage, arrow)) {
    int cx = arrow.left + arrow.Width() / 2;
    int cy = arrow.top + arrow.Height() / 2;
    Color color = m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFF9CA3AF;
    if (const SkinResources* res = ResourcesFor(this))
      if (auto c = res->FindColor(u"text-muted")) color = *c;
    DrawOp a;
    a.kind = DrawKind::kLine;
    a.width = 2;
    a.color = color;
    a.control = this;
    a.rect = {cx - 4, cy - 2, cx, cy + 2};
    list.ops.push_back(a);
    a.rect = {cx, cy + 2, cx + 4, cy - 2};
    list.ops.push_back(a);
  }
  Color border = m_dwBorderColor;
  if ((m_uState & UISTATE_HOT) && IsEnabled() && m_dwHotBorderColor != kNoColor) border = m_dwHotBorderColor;
  if (IsFocused() && m_dwFocusBorderColor != kNoColor) border = m_dwFocusBorderColor;
  if (border != kNoColor && m_nBorderSize > 0)
    list.AddBorder(this, m_rcItem, border, m_nBorderSize, m_cxyBorderRound);
}

}  // namespace tk

#include "ui/toolkit/list.h"

#include <algorithm>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/resources.h"

namespace tk {

namespace {

Color Theme(const CControlUI* c, std::u16string_view name, Color fallback) {
  if (const SkinResources* res = ResourcesFor(c))
    if (auto v = res->FindColor(name)) return *v;
  return fallback;
}

void PaintItemBackground(CControlUI* item, PaintList& list, IListOwnerUI* owner, bool selected, Color own,
                         Size round) {
  Color color = own;
  UINT state = item->GetState();
  if (owner) {
    if (selected) {
      color = owner->ItemSelectedBkColor() != kNoColor ? owner->ItemSelectedBkColor()
                                                        : Theme(item, u"item-selected", 0xFFE8F0FE);
    } else if ((state & UISTATE_HOT) && item->IsEnabled()) {
      color = owner->ItemHotBkColor() != kNoColor ? owner->ItemHotBkColor() : Theme(item, u"item-hot", 0xFFF3F4F6);
    } else if (own == kNoColor) {
      color = owner->ItemBkColor();
    }
  }
  if (color != kNoColor) list.AddFill(item, item->GetPos(), color, round);
  if (owner && owner->ItemLineColor() != kNoColor) {
    const Rect& rc = item->GetPos();
    list.AddFill(item, {rc.left, rc.bottom - 1, rc.right, rc.bottom}, owner->ItemLineColor());
  }
}

}  // namespace

// ---------------------------------------------------------------------------

template <class Base>
bool CListItemBaseUI<Base>::Select(bool select) {
  if (!m_pOwner) return false;
  if (select) return m_pOwner->SelectItem(m_iIndex);
  if (m_bSelected) return m_pOwner->SelectItem(-1);
  return true;
}

template <class Base>
void CListItemBaseUI<Base>::SetSelectedState(bool selected) {
  if (m_bSelected == selected) return;
  m_bSelected = selected;
  this->SetState(UISTATE_SELECTED, selected);
  if (this->m_pManager) this->m_pManager->ControlChanged(this);
}

template <class Base>
bool CListItemBaseUI<Base>::Activate() {
  if (!CControlUI::Activate()) return false;
  this->SendNotify(kNotifyItemActivate);
  return true;
}

template <class Base>
void CListItemBaseUI<Base>::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case EventType::kButtonDown:
    case EventType::kRButtonDown:
      if (this->IsEnabled()) {
        if (m_pOwner) m_pOwner->SelectItem(m_iIndex, true);
        this->SendNotify(kNotifyItemClick);
      }
      return;
    case EventType::kDblClick:
      if (this->IsEnabled()) Activate();
      return;
    case EventType::kButtonUp:
    case EventType::kRButtonUp:
      return;
    case EventType::kKeyDown:
    case EventType::kScrollWheel:
      if (m_pOwner) {
        m_pOwner->ItemEvent(event);
        return;
      }
      break;
    default:
      break;
  }
  Base::DoEvent(event);
}

template <class Base>
Size CListItemBaseUI<Base>::EstimateSize(Size available) {
  Size sz = Base::EstimateSize(available);
  if (sz.cy == 0) sz.cy = 30;
  return sz;
}

template <class Base>
void CListItemBaseUI<Base>::PaintBkColor(PaintList& list) {
  PaintItemBackground(this, list, m_pOwner, m_bSelected, this->m_dwBackColor, this->m_cxyBorderRound);
}

template class CListItemBaseUI<CContainerUI>;
template class CListItemBaseUI<CLabelUI>;

// ---------------------------------------------------------------------------

CListContainerElementUI::CListContainerElementUI() = default;

std::u16string_view CListContainerElementUI::GetClass() const { return u"ListContainerElement"; }

bool CListContainerElementUI::Expand(bool expand) {
  if (m_bExpanded == expand) return true;
  m_bExpanded = expand;
  SendNotify(kNotifyItemExpand, expand ? 1 : 0);
  return true;
}

// ---------------------------------------------------------------------------

CListLabelElementUI::CListLabelElementUI() {
  m_rcTextPadding = {10, 0, 10, 0};
  m_cxyFixed.cy = 0;
}

std::u16string_view CListLabelElementUI::GetClass() const { return u"ListLabelElement"; }

void CListLabelElementUI::PaintText(PaintList& list) {
  std::size_t before = list.ops.size();
  CLabelUI::PaintText(list);
  if (list.ops.size() == before || !m_pOwner) return;
  DrawOp& op = list.ops.back();
  if (m_dwTextColor == kNoColor && m_pOwner->ItemTextColor() != kNoColor) op.color = m_pOwner->ItemTextColor();
  if (m_bSelected && m_pOwner->ItemSelectedTextColor() != kNoColor) op.color = m_pOwner->ItemSelectedTextColor();
  if (m_iFont < 0 && m_pOwner->ItemFont() >= 0 && m_pManager)
    op.font = m_pManager->Resources().FontIndex(m_pOwner->ItemFont());
}

// ---------------------------------------------------------------------------

CListHeaderUI::CListHeaderUI() { m_bVisible = false; }

std::u16string_view CListHeaderUI::GetClass() const { return u"ListHeader"; }

CListBodyUI::CListBodyUI(CListUI* owner) : m_pOwner(owner) {}

std::u16string_view CListBodyUI::GetClass() const { return u"ListBody"; }

void CListBodyUI::DoEvent(TEventUI& event) {
  if (event.Type == EventType::kKeyDown) {
    m_pOwner->DoEvent(event);
    return;
  }
  CVerticalLayoutUI::DoEvent(event);
}

// ---------------------------------------------------------------------------

CListUI::CListUI() {
  m_pHeader = new CListHeaderUI;
  m_pList = new CListBodyUI(this);
  CVerticalLayoutUI::AddAt(m_pHeader, 0);
  CVerticalLayoutUI::AddAt(m_pList, 1);
}

std::u16string_view CListUI::GetClass() const { return u"List"; }

void CListUI::SetHeaderVisible(bool visible) {
  if (m_pHeader) m_pHeader->SetVisible(visible);
}

CControlUI* CListUI::GetItemAt(int index) const { return m_pList->GetItemAt(index); }
int CListUI::GetItemIndex(CControlUI* control) const { return m_pList->GetItemIndex(control); }
int CListUI::GetCount() const { return m_pList->GetCount(); }

bool CListUI::SetItemIndex(CControlUI* control, int index) {
  int from = m_pList->GetItemIndex(control);
  if (from < 0) return false;
  CControlUI* selected = GetItemAt(m_iCurSel);
  if (!m_pList->SetItemIndex(control, index)) return false;
  Reindex(0);
  m_iCurSel = selected ? m_pList->GetItemIndex(selected) : -1;
  return true;
}

bool CListUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CListUI::AddAt(CControlUI* control, int index) {
  if (!control) return false;
  if (auto* header = dynamic_cast<CListHeaderUI*>(control)) {
    if (control->GetParent()) return false;
    CListHeaderUI* old = m_pHeader;
    if (!CVerticalLayoutUI::AddAt(header, 0)) return false;
    m_pHeader = header;
    if (old) CVerticalLayoutUI::Remove(old);
    if (header->GetCount() > 0) header->SetVisible(true);
    return true;
  }
  if (!m_pList->AddAt(control, index)) return false;
  if (auto* item = dynamic_cast<IListItemUI*>(control)) {
    item->SetOwner(this);
    item->SetSelectedState(false);
  }
  if (m_iCurSel >= index) ++m_iCurSel;
  Reindex(index);
  return true;
}

bool CListUI::Remove(CControlUI* control, bool doNotDestroy) {
  int index = m_pList->GetItemIndex(control);
  if (index < 0) {
    if (control == m_pHeader || control == m_pList) return false;
    return false;
  }
  if (auto* item = dynamic_cast<IListItemUI*>(control)) {
    item->SetSelectedState(false);
    if (doNotDestroy) item->SetOwner(nullptr);
  }
  if (!m_pList->Remove(control, doNotDestroy)) return false;
  if (index == m_iCurSel) m_iCurSel = -1;
  else if (index < m_iCurSel) --m_iCurSel;
  Reindex(index);
  return true;
}

bool CListUI::RemoveAt(int index, bool doNotDestroy) {
  CControlUI* control = GetItemAt(index);
  if (!control) return false;
  return Remove(control, doNotDestroy);
}

void CListUI::RemoveAll() {
  m_iCurSel = -1;
  m_pList->RemoveAll();
}

void CListUI::Reindex(int from) {
  for (int i = std::max(0, from); i < m_pList->GetCount(); ++i)
    if (auto* item = dynamic_cast<IListItemUI*>(m_pList->GetItemAt(i))) item->SetIndex(i);
}

bool CListUI::SelectItem(int index, bool takeFocus) {
  if (takeFocus && m_pManager) SetFocus();
  if (index == m_iCurSel) return true;
  if (index < -1 || index >= GetCount()) return false;
  IListItemUI* item = nullptr;
  if (index >= 0) {
    CControlUI* control = GetItemAt(index);
    item = dynamic_cast<IListItemUI*>(control);
    if (!item || !control->IsVisible() || !control->IsEnabled()) return false;
  }
  int old = m_iCurSel;
  if (auto* previous = dynamic_cast<IListItemUI*>(GetItemAt(old))) previous->SetSelectedState(false);
  m_iCurSel = index;
  if (item) {
    item->SetSelectedState(true);
    EnsureVisible(index);
  }
  SendNotify(kNotifyItemSelect, static_cast<WPARAM>(index), static_cast<LPARAM>(old));
  return true;
}

void CListUI::EnsureVisible(int index) {
  if (CControlUI* control = GetItemAt(index)) m_pList->ScrollIntoView(control);
}

void CListUI::ItemEvent(TEventUI& event) {
  if (event.Type == EventType::kKeyDown) HandleKey(event);
  else if (event.Type == EventType::kScrollWheel) m_pList->DoEvent(event);
}

int CListUI::NextSelectable(int from, int step) const {
  int count = GetCount();
  for (int i = from; i >= 0 && i < count; i += step) {
    CControlUI* c = GetItemAt(i);
    if (dynamic_cast<IListItemUI*>(c) && c->IsVisible() && c->IsEnabled()) return i;
  }
  return -1;
}

void CListUI::HandleKey(TEventUI& event) {
  int count = GetCount();
  if (count == 0) return;
  int target = -1;
  int page = std::max(1, m_pList->GetClientRect().Height() / 30);
  switch (event.chKey) {
    case VK_UP: target = NextSelectable(m_iCurSel < 0 ? 0 : m_iCurSel - 1, -1); break;
    case VK_DOWN: target = NextSelectable(m_iCurSel + 1, 1); break;
    case VK_HOME: target = NextSelectable(0, 1); break;
    case VK_END: target = NextSelectable(count - 1, -1); break;
    case VK_PRIOR: target = NextSelectable(std::max(0, m_iCurSel - page), -1); break;
    case VK_NEXT: target = NextSelectable(std::min(count - 1, m_iCurSel + page), 1); break;
    case VK_RETURN:
      if (CControlUI* c = GetItemAt(m_iCurSel)) c->Activate();
      return;
    default:
      return;
  }
  if (target < 0 && event.chKey == VK_PRIOR) target = NextSelectable(0, 1);
  if (target < 0 && event.chKey == VK_NEXT) target = NextSelectable(count - 1, -1);
  if (target >= 0) SelectItem(target, true);
}

Size CListUI::GetScrollPos() const { return m_pList->GetScrollPos(); }
void CListUI::SetScrollPos(Size pos) { m_pList->SetScrollPos(pos); }
Size CListUI::GetScrollRange() const { return m_pList->GetScrollRange(); }
void CListUI::LineUp() { m_pList->LineUp(); }
void CListUI::LineDown() { m_pList->LineDown(); }
void CListUI::PageUp() { m_pList->PageUp(); }
void CListUI::PageDown() { m_pList->PageDown(); }

bool CListUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"header") {
    SetHeaderVisible(!(value == u"hidden" || EqualsNoCase(value, u"false")));
  } else if (name == u"vscrollbar") {
    if (auto b = ParseBool(value)) m_pList->EnableScrollBar(*b, m_pList->IsHScrollEnabled());
  } else if (name == u"hscrollbar") {
    if (auto b = ParseBool(value)) m_pList->EnableScrollBar(m_pList->IsVScrollEnabled(), *b);
  } else if (name == u"itemshowhtml") {
    if (auto b = ParseBool(value)) m_bItemShowHtml = *b;
  } else if (name == u"itemfont") {
    if (auto n = ParseInt(value)) m_iItemFont = *n;
  } else if (name == u"itemtextcolor") {
    if (auto c = ParseColorFor(this, value)) m_dwItemTextColor = *c;
  } else if (name == u"itembkcolor") {
    if (auto c = ParseColorFor(this, value)) m_dwItemBkColor = *c;
  } else if (name == u"itemhotbkcolor") {
    if (auto c = ParseColorFor(this, value)) m_dwItemHotBkColor = *c;
  } else if (name == u"itemselectedbkcolor") {
    if (auto c = ParseColorFor(this, value)) m_dwItemSelectedBkColor = *c;
  } else if (name == u"itemselectedtextcolor") {
    if (auto c = ParseColorFor(this, value)) m_dwItemSelectedTextColor = *c;
  } else if (name == u"itemlinecolor") {
    if (auto c = ParseColorFor(this, value)) m_dwItemLineColor = *c;
  } else if (name == u"childpadding") {
    if (auto n = ParseInt(value)) m_pList->SetChildPadding(*n);
  } else {
    return CVerticalLayoutUI::SetAttribute(name, value);
  }
  Invalidate();
  return true;
}

void CListUI::DoEvent(TEventUI& event) {
  if (event.Type == EventType::kKeyDown) {
    HandleKey(event);
    return;
  }
  CVerticalLayoutUI::DoEvent(event);
}

}  // namespace tk

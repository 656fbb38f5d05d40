#include "ui/toolkit/button.h"

#include <vector>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/resources.h"

namespace tk {

namespace {
constexpr Color kFallbackAccent = 0xFF1F6FEB;

Color Accent(const CControlUI* control) {
  if (const SkinResources* res = ResourcesFor(control))
    if (auto c = res->FindColor(u"accent")) return *c;
  return kFallbackAccent;
}

Color ThemeColor(const CControlUI* control, std::u16string_view name, Color fallback) {
  if (const SkinResources* res = ResourcesFor(control))
    if (auto c = res->FindColor(name)) return *c;
  return fallback;
}
}  // namespace

CButtonUI::CButtonUI() { m_uTextStyle = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS; }

std::u16string_view CButtonUI::GetClass() const { return u"Button"; }

void CButtonUI::SetNormalImage(std::u16string_view image) { m_sNormalImage = image; Invalidate(); }
void CButtonUI::SetHotImage(std::u16string_view image) { m_sHotImage = image; Invalidate(); }
void CButtonUI::SetPushedImage(std::u16string_view image) { m_sPushedImage = image; Invalidate(); }
void CButtonUI::SetFocusedImage(std::u16string_view image) { m_sFocusedImage = image; Invalidate(); }
void CButtonUI::SetDisabledImage(std::u16string_view image) { m_sDisabledImage = image; Invalidate(); }
void CButtonUI::SetForeImage(std::u16string_view image) { m_sForeImage = image; Invalidate(); }
void CButtonUI::SetHotBkColor(Color c) { m_dwHotBkColor = c; Invalidate(); }
void CButtonUI::SetPushedBkColor(Color c) { m_dwPushedBkColor = c; Invalidate(); }
void CButtonUI::SetDisabledBkColor(Color c) { m_dwDisabledBkColor = c; Invalidate(); }
void CButtonUI::SetHotTextColor(Color c) { m_dwHotTextColor = c; Invalidate(); }
void CButtonUI::SetPushedTextColor(Color c) { m_dwPushedTextColor = c; Invalidate(); }
void CButtonUI::SetHotBorderColor(Color c) { m_dwHotBorderColor = c; Invalidate(); }

bool CButtonUI::Activate() {
  if (!CControlUI::Activate()) return false;
  SendNotify(kNotifyClick);
  return true;
}

void CButtonUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case EventType::kButtonDown:
    case EventType::kDblClick:
      if (IsEnabled()) {
        SetState(UISTATE_PUSHED | UISTATE_CAPTURED, true);
      }
      return;
    case EventType::kMouseMove:
      if (m_uState & UISTATE_CAPTURED) {
        SetState(UISTATE_PUSHED, m_rcItem.Contains(event.ptMouse));
        return;
      }
      break;
    case EventType::kButtonUp:
      if (m_uState & UISTATE_CAPTURED) {
        bool inside = m_rcItem.Contains(event.ptMouse);
        SetState(UISTATE_PUSHED | UISTATE_CAPTURED, false);
        if (inside) Activate();
      }
      return;
    case EventType::kKeyDown:
      if (event.chKey == VK_SPACE || event.chKey == VK_RETURN) {
        Activate();
        return;
      }
      break;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

bool CButtonUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"normalimage") SetNormalImage(value);
  else if (name == u"hotimage") SetHotImage(value);
  else if (name == u"pushedimage") SetPushedImage(value);
  else if (name == u"focusedimage") SetFocusedImage(value);
  else if (name == u"disabledimage") SetDisabledImage(value);
  else if (name == u"foreimage") SetForeImage(value);
  else if (name == u"hotbkcolor") {
    if (auto c = ParseColorFor(this, value)) SetHotBkColor(*c);
  } else if (name == u"pushedbkcolor") {
    if (auto c = ParseColorFor(this, value)) SetPushedBkColor(*c);
  } else if (name == u"disabledbkcolor") {
    if (auto c = ParseColorFor(this, value)) SetDisabledBkColor(*c);
  } else if (name == u"hottextcolor") {
    if (auto c = ParseColorFor(this, value)) SetHotTextColor(*c);
  } else if (name == u"pushedtextcolor") {
    if (auto c = ParseColorFor(this, value)) SetPushedTextColor(*c);
  } else if (name == u"hotbordercolor") {
    if (auto c = ParseColorFor(this, value)) SetHotBorderColor(*c);
  } else {
    return CLabelUI::SetAttribute(name, value);
  }
  return true;
}

void CButtonUI::PaintBkColor(PaintList& list) {
  Color color = m_dwBackColor;
  if (!IsEnabled()) {
    if (m_dwDisabledBkColor != kNoColor) color = m_dwDisabledBkColor;
  } else if ((m_uState & UISTATE_PUSHED) && m_dwPushedBkColor != kNoColor) {
    color = m_dwPushedBkColor;
  } else if ((m_uState & UISTATE_HOT) && m_dwHotBkColor != kNoColor) {
    color = m_dwHotBkColor;
  }
  if (color == kNoColor) return;
  list.AddFill(this, m_rcItem, color, m_cxyBorderRound);
}

void CButtonUI::PaintStatusImage(PaintList& list) {
  const std::u16string* image = &m_sNormalImage;
  if (!IsEnabled() && !m_sDisabledImage.empty()) image = &m_sDisabledImage;
  else if ((m_uState & UISTATE_PUSHED) && !m_sPushedImage.empty()) image = &m_sPushedImage;
  else if ((m_uState & UISTATE_HOT) && !m_sHotImage.empty()) image = &m_sHotImage;
  else if ((m_uState & UISTATE_FOCUSED) && !m_sFocusedImage.empty()) image = &m_sFocusedImage;
  if (!image->empty()) DrawImage(list, *image, m_rcItem);
  if (!m_sForeImage.empty()) DrawImage(list, m_sForeImage, m_rcItem);
}

void CButtonUI::PaintBorder(PaintList& list) {
  if ((m_uState & UISTATE_HOT) && IsEnabled() && m_dwHotBorderColor != kNoColor && m_nBorderSize > 0) {
    list.AddBorder(this, m_rcItem, m_dwHotBorderColor, m_nBorderSize, m_cxyBorderRound);
    return;
  }
  CLabelUI::PaintBorder(list);
}

Color CButtonUI::StateTextColor() const {
  if (IsEnabled()) {
    if ((m_uState & UISTATE_PUSHED) && m_dwPushedTextColor != kNoColor) return m_dwPushedTextColor;
    if ((m_uState & UISTATE_HOT) && m_dwHotTextColor != kNoColor) return m_dwHotTextColor;
  }
  return CurrentTextColor();
}

void CButtonUI::PaintText(PaintList& list) {
  std::size_t before = list.ops.size();
  CLabelUI::PaintText(list);
  if (list.ops.size() > before) list.ops.back().color = StateTextColor();
}

// ---------------------------------------------------------------------------

COptionUI::COptionUI() = default;

COptionUI::~COptionUI() = default;

std::u16string_view COptionUI::GetClass() const { return u"Option"; }

void COptionUI::SetGroup(std::u16string_view group) {
  if (m_sGroupName == group) return;
  if (m_pManager && !m_sGroupName.empty()) m_pManager->RemoveOptionGroup(m_sGroupName, this);
  m_sGroupName = group;
  if (m_pManager && !m_sGroupName.empty()) m_pManager->AddOptionGroup(m_sGroupName, this);
}

void COptionUI::Selected(bool selected) {
  if (m_bSelected == selected) return;
  m_bSelected = selected;
  SetState(UISTATE_SELECTED, selected);
  if (!m_pManager) return;
  m_pManager->ControlChanged(this);
  if (selected && !m_sGroupName.empty()) {
    if (OptionGroup* group = m_pManager->GetOptionGroup(m_sGroupName)) {
      std::vector<COptionUI*> others = *group;
      for (COptionUI* other : others)
        if (other != this && other->IsSelected()) other->Selected(false);
    }
  }
  if (m_pManager) m_pManager->SendNotify(this, kNotifySelectChanged);
}

bool COptionUI::Activate() {
  if (!CButtonUI::Activate()) return false;
  if (!m_sGroupName.empty()) Selected(true);
  else Selected(!m_bSelected);
  return true;
}

bool COptionUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"group") {
    SetGroup(value);
  } else if (name == u"selected") {
    if (auto b = ParseBool(value)) Selected(*b);
  } else if (name == u"selectedimage") {
    SetSelectedImage(value);
  } else if (name == u"selectedhotimage") {
    SetSelectedHotImage(value);
  } else if (name == u"selectedforeimage") {
    SetSelectedForeImage(value);
  } else if (name == u"selectedbkcolor") {
    if (auto c = ParseColorFor(this, value)) SetSelectedBkColor(*c);
  } else if (name == u"selectedtextcolor") {
    if (auto c = ParseColorFor(this, value)) SetSelectedTextColor(*c);
  } else {
    return CButtonUI::SetAttribute(name, value);
  }
  return true;
}

void COptionUI::SetSelectedImage(std::u16string_view image) { m_sSelectedImage = image; Invalidate(); }
void COptionUI::SetSelectedHotImage(std::u16string_view image) { m_sSelectedHotImage = image; Invalidate(); }
void COptionUI::SetSelectedForeImage(std::u16string_view image) { m_sSelectedForeImage = image; Invalidate(); }
void COptionUI::SetSelectedBkColor(Color c) { m_dwSelectedBkColor = c; Invalidate(); }
void COptionUI::SetSelectedTextColor(Color c) { m_dwSelectedTextColor = c; Invalidate(); }

void COptionUI::SetManager(CPaintManagerUI* manager, CControlUI* parent) { CButtonUI::SetManager(manager, parent); }

void COptionUI::PaintBkColor(PaintList& list) {
  if (m_bSelected && m_dwSelectedBkColor != kNoColor) {
    list.AddFill(this, m_rcItem, m_dwSelectedBkColor, m_cxyBorderRound);
    return;
  }
  CButtonUI::PaintBkColor(list);
}

void COptionUI::PaintStatusImage(PaintList& list) {
  if (m_bSelected) {
    const std::u16string* image = &m_sSelectedImage;
    if ((m_uState & UISTATE_HOT) && !m_sSelectedHotImage.empty()) image = &m_sSelectedHotImage;
    if (!image->empty()) {
      DrawImage(list, *image, m_rcItem);
      const std::u16string& fore = m_sSelectedForeImage.empty() ? m_sForeImage : m_sSelectedForeImage;
      if (!fore.empty()) DrawImage(list, fore, m_rcItem);
      return;
    }
    if (!m_sSelectedForeImage.empty()) {
      if (!m_sNormalImage.empty()) DrawImage(list, m_sNormalImage, m_rcItem);
      DrawImage(list, m_sSelectedForeImage, m_rcItem);
      return;
    }
  }
  CButtonUI::PaintStatusImage(list);
}

void COptionUI::PaintText(PaintList& list) {
  std::size_t before = list.ops.size();
  CButtonUI::PaintText(list);
  if (list.ops.size() > before && m_bSelected && IsEnabled() && m_dwSelectedTextColor != kNoColor)
    list.ops.back().color = m_dwSelectedTextColor;
}

// ---------------------------------------------------------------------------

CCheckBoxUI::CCheckBoxUI() {
  m_uTextStyle = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  m_rcTextPadding = {24, 0, 0, 0};
}

std::u16string_view CCheckBoxUI::GetClass() const { return u"CheckBox"; }

void CCheckBoxUI::PaintStatusImage(PaintList& list) {
  bool haveImages = !m_sNormalImage.empty() || !m_sSelectedImage.empty();
  if (haveImages) {
    COptionUI::PaintStatusImage(list);
    return;
  }
  // The toolkit's own box: 16 px, rounded, accent-filled with a tick when checked.
  int size = 16;
  int top = m_rcItem.top + (m_rcItem.Height() - size) / 2;
  Rect box{m_rcItem.left + 2, top, m_rcItem.left + 2 + size, top + size};
  Color accent = Accent(this);
  if (m_bSelected) {
    list.AddFill(this, box, IsEnabled() ? accent : ThemeColor(this, u"border", 0xFFD0D5DD), {4, 4});
    DrawOp a;
    a.kind = DrawKind::kLine;
    a.color = 0xFFFFFFFF;
    a.width = 2;
    a.control = this;
    a.rect = {box.left + 4, box.top + 8, box.left + 7, box.top + 11};
    list.ops.push_back(a);
    a.rect = {box.left + 7, box.top + 11, box.left + 12, box.top + 5};
    list.ops.push_back(a);
  } else {
    list.AddFill(this, box, 0xFFFFFFFF, {4, 4});
    list.AddBorder(this, box, (m_uState & UISTATE_HOT) ? accent : ThemeColor(this, u"border-strong", 0xFFB6BECB), 1,
                   {4, 4});
  }
}

}  // namespace tk

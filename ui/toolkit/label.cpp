#include "ui/toolkit/label.h"

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/platform.h"
#include "ui/toolkit/resources.h"

namespace tk {

CLabelUI::CLabelUI() = default;

std::u16string_view CLabelUI::GetClass() const { return u"Label"; }

void CLabelUI::SetTextStyle(UINT style) {
  m_uTextStyle = style;
  Invalidate();
}
void CLabelUI::SetTextColor(Color c) {
  m_dwTextColor = c;
  Invalidate();
}
void CLabelUI::SetDisabledTextColor(Color c) {
  m_dwDisabledTextColor = c;
  Invalidate();
}
void CLabelUI::SetFont(int id) {
  m_iFont = id;
  Invalidate();
  if (m_bAutoCalcWidth) NeedParentUpdate();
}
void CLabelUI::SetTextPadding(const Rect& rc) {
  m_rcTextPadding = rc;
  Invalidate();
}
void CLabelUI::SetShowHtml(bool show) {
  m_bShowHtml = show;
  Invalidate();
}

bool CLabelUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"font") {
    if (auto n = ParseInt(value)) SetFont(*n);
  } else if (name == u"textcolor") {
    if (auto c = ParseColorFor(this, value)) SetTextColor(*c);
  } else if (name == u"disabledtextcolor") {
    if (auto c = ParseColorFor(this, value)) SetDisabledTextColor(*c);
  } else if (name == u"align") {
    UINT style = m_uTextStyle & ~(DT_LEFT | DT_CENTER | DT_RIGHT);
    if (value == u"center") style |= DT_CENTER;
    else if (value == u"right") style |= DT_RIGHT;
    SetTextStyle(style);
  } else if (name == u"valign") {
    UINT style = m_uTextStyle & ~(DT_TOP | DT_VCENTER | DT_BOTTOM);
    if (value == u"vcenter" || value == u"center") style |= DT_VCENTER;
    else if (value == u"bottom") style |= DT_BOTTOM;
    SetTextStyle(style);
  } else if (name == u"textpadding") {
    if (auto r = ParseRect(value)) SetTextPadding(*r);
  } else if (name == u"showhtml") {
    if (auto b = ParseBool(value)) SetShowHtml(*b);
  } else if (name == u"endellipsis") {
    if (auto b = ParseBool(value)) SetTextStyle(*b ? (m_uTextStyle | DT_END_ELLIPSIS) : (m_uTextStyle & ~DT_END_ELLIPSIS));
  } else if (name == u"multiline" || name == u"wordbreak") {
    if (auto b = ParseBool(value)) {
      UINT style = m_uTextStyle;
      if (*b) style = (style & ~DT_SINGLELINE) | DT_WORDBREAK;
      else style = (style & ~DT_WORDBREAK) | DT_SINGLELINE;
      SetTextStyle(style);
    }
  } else if (name == u"autocalcwidth") {
    if (auto b = ParseBool(value)) SetAutoCalcWidth(*b);
  } else {
    return CControlUI::SetAttribute(name, value);
  }
  return true;
}

Size CLabelUI::EstimateSize(Size available) {
  Size sz = CControlUI::EstimateSize(available);
  if (m_bAutoCalcWidth && m_pManager) {
    const FontSpec& font = m_pManager->Resources().GetFont(m_iFont);
    sz.cx = CurrentPlatform().TextWidth(font, DisplayText()) + m_rcTextPadding.left + m_rcTextPadding.right;
  }
  return sz;
}

std::u16string CLabelUI::DisplayText() const {
  std::u16string text = GetText();
  if (!m_bShowHtml) return text;
  // Drop the markup: {b} {/b} {i} {/i} {c ...} {/c} {a ...} {/a}; {n} is a line break.
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'{') {
      std::size_t end = text.find(u'}', i);
      if (end != std::u16string::npos && end - i <= 64) {
        std::u16string_view tag(text.data() + i + 1, end - i - 1);
        if (tag == u"n") out.push_back(u'\n');
        bool known = tag == u"n" || tag == u"b" || tag == u"/b" || tag == u"i" || tag == u"/i" || tag == u"u" ||
                     tag == u"/u" || tag == u"/c" || tag == u"/a" || tag.starts_with(u"c ") || tag == u"a" ||
                     tag.starts_with(u"a ") || tag.starts_with(u"f ") || tag == u"/f";
        if (known) {
          i = end;
          continue;
        }
      }
    }
    out.push_back(text[i]);
  }
  return out;
}

Color CLabelUI::CurrentTextColor() const {
  if (!IsEnabled()) {
    if (m_dwDisabledTextColor != kNoColor) return m_dwDisabledTextColor;
    return m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFF9CA3AF;
  }
  if (m_dwTextColor != kNoColor) return m_dwTextColor;
  return m_pManager ? m_pManager->GetDefaultTextColor() : 0xFF1F2937;
}

void CLabelUI::PaintText(PaintList& list) {
  std::u16string text = DisplayText();
  if (text.empty()) return;
  DrawOp op;
  op.kind = DrawKind::kText;
  op.rect = m_rcItem.Deflate(m_rcTextPadding);
  op.text = std::move(text);
  op.color = CurrentTextColor();
  op.font = m_pManager ? m_pManager->Resources().FontIndex(m_iFont) : 0;
  op.format = m_uTextStyle;
  op.control = this;
  list.ops.push_back(std::move(op));
}

CTextUI::CTextUI() { m_uTextStyle = DT_LEFT | DT_VCENTER | DT_WORDBREAK | DT_END_ELLIPSIS; }

std::u16string_view CTextUI::GetClass() const { return u"Text"; }

}  // namespace tk

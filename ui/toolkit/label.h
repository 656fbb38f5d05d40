// Text controls: CLabelUI (one line by default) and CTextUI (wraps).
#pragma once

#include "ui/toolkit/control.h"

namespace tk {

class CLabelUI : public CControlUI {
 public:
  CLabelUI();
  std::u16string_view GetClass() const override;

  // DT_* alignment and layout flags of the text.
  UINT GetTextStyle() const { return m_uTextStyle; }
  void SetTextStyle(UINT style);
  Color GetTextColor() const { return m_dwTextColor; }
  void SetTextColor(Color c);
  Color GetDisabledTextColor() const { return m_dwDisabledTextColor; }
  void SetDisabledTextColor(Color c);
  // Font id of the skin's font table (-1: the default font).
  int GetFont() const { return m_iFont; }
  void SetFont(int id);
  // Space between the control's edge and the text.
  const Rect& GetTextPadding() const { return m_rcTextPadding; }
  void SetTextPadding(const Rect& rc);
  // Simple markup in the text: {b}..{/b}, {i}..{/i}, {c #AARRGGBB}..{/c},
  // {a}..{/a} (link), {n} (new line). Off by default; the markup is then
  // shown as written.
  bool IsShowHtml() const { return m_bShowHtml; }
  void SetShowHtml(bool show = true);
  // Width grows with the text (for labels inside horizontal layouts).
  void SetAutoCalcWidth(bool on) { m_bAutoCalcWidth = on; NeedParentUpdate(); }

  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  Size EstimateSize(Size available) override;

 protected:
  void PaintText(PaintList& list) override;
  // The text as displayed (markup removed when shown as html).
  virtual std::u16string DisplayText() const;
  Color CurrentTextColor() const;

  UINT m_uTextStyle = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  Color m_dwTextColor = kNoColor;          // kNoColor: the theme's text colour
  Color m_dwDisabledTextColor = kNoColor;
  int m_iFont = -1;
  Rect m_rcTextPadding;
  bool m_bShowHtml = false;
  bool m_bAutoCalcWidth = false;
};

// Multi-line text: wraps at the control's width.
class CTextUI : public CLabelUI {
 public:
  CTextUI();
  std::u16string_view GetClass() const override;
};

}  // namespace tk

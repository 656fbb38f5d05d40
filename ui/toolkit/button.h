// Pressable controls: CButtonUI ("click"), COptionUI (a selectable button,
// alone or in a group of which one is selected: "click" then
// "selectchanged"), CCheckBoxUI (an option that toggles).
#pragma once

#include "ui/toolkit/label.h"

namespace tk {

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();
  std::u16string_view GetClass() const override;
  bool IsFocusable() const override { return true; }

  // Images of the states (skin image values, see CControlUI::DrawImage).
  void SetNormalImage(std::u16string_view image);
  void SetHotImage(std::u16string_view image);
  void SetPushedImage(std::u16string_view image);
  void SetFocusedImage(std::u16string_view image);
  void SetDisabledImage(std::u16string_view image);
  // An image drawn over the background (an icon).
  void SetForeImage(std::u16string_view image);
  void SetHotBkColor(Color c);
  void SetPushedBkColor(Color c);
  void SetDisabledBkColor(Color c);
  void SetHotTextColor(Color c);
  void SetPushedTextColor(Color c);
  void SetHotBorderColor(Color c);

  // Sends "click" (when enabled and shown).
  bool Activate() override;
  void DoEvent(TEventUI& event) override;
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;

 protected:
  void PaintBkColor(PaintList& list) override;
  void PaintStatusImage(PaintList& list) override;
  void PaintBorder(PaintList& list) override;
  Color StateTextColor() const;
  void PaintText(PaintList& list) override;

  std::u16string m_sNormalImage, m_sHotImage, m_sPushedImage, m_sFocusedImage, m_sDisabledImage, m_sForeImage;
  Color m_dwHotBkColor = kNoColor, m_dwPushedBkColor = kNoColor, m_dwDisabledBkColor = kNoColor;
  Color m_dwHotTextColor = kNoColor, m_dwPushedTextColor = kNoColor;
  Color m_dwHotBorderColor = kNoColor;
};

class COptionUI : public CButtonUI {
 public:
  COptionUI();
  ~COptionUI() override;
  std::u16string_view GetClass() const override;

  // The option group ("group" attribute). Options of one group in one
  // window are exclusive: selecting one unselects the others.
  const std::u16string& GetGroup() const { return m_sGroupName; }
  void SetGroup(std::u16string_view group);
  bool IsSelected() const { return m_bSelected; }
  // Changes the selection; every change sends "selectchanged" from the
  // option that changed (an option unselected by its group sends it
  // first, then the newly selected one). Setting the current state again
  // sends nothing. An option that is not in a window's tree changes its
  // state silently.
  virtual void Selected(bool selected = true);
  void SetSelectedImage(std::u16string_view image);
  void SetSelectedHotImage(std::u16string_view image);
  void SetSelectedBkColor(Color c);
  void SetSelectedTextColor(Color c);
  void SetSelectedForeImage(std::u16string_view image);

  // Sends "click", then selects (a grouped option) or toggles (a lone one).
  bool Activate() override;
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;

 protected:
  void PaintBkColor(PaintList& list) override;
  void PaintStatusImage(PaintList& list) override;
  void PaintText(PaintList& list) override;

  std::u16string m_sGroupName;
  bool m_bSelected = false;
  std::u16string m_sSelectedImage, m_sSelectedHotImage, m_sSelectedForeImage;
  Color m_dwSelectedBkColor = kNoColor, m_dwSelectedTextColor = kNoColor;
};

class CCheckBoxUI : public COptionUI {
 public:
  CCheckBoxUI();
  std::u16string_view GetClass() const override;
  bool GetCheck() const { return IsSelected(); }
  void SetCheck(bool check) { Selected(check); }

 protected:
  void PaintStatusImage(PaintList& list) override;
};

}  // namespace tk

// CComboUI: a drop-down choice. Its items are CListLabelElementUI children
// (in skins: <ListLabelElement text="..."/>); the combo shows the text of
// the selected item. A click opens the item list as a popup (the
// platform's popup menu); choosing an item, SelectItem, or Up/Down on the
// focused combo change the selection and send "itemselect" from the combo
// (wParam new index, lParam old index).
#pragma once

#include "ui/toolkit/list.h"

namespace tk {

class CComboUI : public CContainerUI, public IListOwnerUI {
 public:
  CComboUI();
  std::u16string_view GetClass() const override;
  bool IsFocusable() const override { return true; }

  // The selected item's text (empty when none is selected).
  std::u16string GetText() const override;
  int GetCurSel() const override { return m_iCurSel; }
  bool SelectItem(int index, bool takeFocus = false) override;
  void ItemEvent(TEventUI& event) override;

  // Items: the children. Adding keeps the current selection.
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control, bool doNotDestroy = false) override;
  void RemoveAll() override;

  // Opens the drop-down list now (what a click does).
  void DropDown();
  bool Activate() override;

  Color ItemTextColor() const override { return m_dwItemTextColor; }
  Color ItemBkColor() const override { return kNoColor; }
  Color ItemHotBkColor() const override { return kNoColor; }
  Color ItemSelectedBkColor() const override { return kNoColor; }
  Color ItemSelectedTextColor() const override { return kNoColor; }
  Color ItemLineColor() const override { return kNoColor; }
  int ItemFont() const override { return m_iFont; }
  bool ItemShowHtml() const override { return false; }

  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void DoEvent(TEventUI& event) override;
  void SetPos(const Rect& rc) override;
  void DoPaint(PaintList& list, const Rect& clip) override;
  Size EstimateSize(Size available) override;

 protected:
  void Reindex();

  int m_iCurSel = -1;
  int m_iPendingSel = -1;  // "selectedid" given before the items exist
  Color m_dwTextColor = kNoColor;
  Color m_dwItemTextColor = kNoColor;
  Color m_dwHotBkColor = kNoColor;
  Color m_dwHotBorderColor = kNoColor;
  int m_iFont = -1;
  Rect m_rcTextPadding{10, 0, 28, 0};
  std::u16string m_sArrowImage;
};

}  // namespace tk

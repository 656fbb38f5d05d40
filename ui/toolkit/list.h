// Lists: CListUI holds a header (hidden or shown) and a scrolling body of
// items, each a list item: CListContainerElementUI (a container with any
// controls) or CListLabelElementUI (one line of text).
//
// A press on an item selects it ("itemselect" from the list when the
// selection changes) and sends "itemclick" from the item; a double click
// or Return sends "itemactivate" from the item. Up/Down/Home/End/PageUp/
// PageDown move the selection of a focused list.
#pragma once

#include "ui/toolkit/button.h"
#include "ui/toolkit/container.h"

namespace tk {

class CListUI;
class CListBodyUI;
class CListHeaderUI;

// Implemented by lists and combos: what an item asks of its owner.
class IListOwnerUI {
 public:
  virtual ~IListOwnerUI() = default;
  virtual int GetCurSel() const = 0;
  virtual bool SelectItem(int index, bool takeFocus = false) = 0;
  // An item passes its input events here (so the owner can handle keys
  // and the wheel).
  virtual void ItemEvent(TEventUI& event) = 0;
  // Look of the items (the owner's "item*" attributes).
  virtual Color ItemTextColor() const = 0;
  virtual Color ItemBkColor() const = 0;
  virtual Color ItemHotBkColor() const = 0;
  virtual Color ItemSelectedBkColor() const = 0;
  virtual Color ItemSelectedTextColor() const = 0;
  virtual Color ItemLineColor() const = 0;
  virtual int ItemFont() const = 0;
  virtual bool ItemShowHtml() const = 0;
};

// Texts for items supplied by the window (a list's text callback).
class IListCallbackUI {
 public:
  virtual ~IListCallbackUI() = default;
  virtual const char16_t* GetItemText(CControlUI* list, int item, int subItem) = 0;
};

class IListItemUI {
 public:
  virtual ~IListItemUI() = default;
  virtual int GetIndex() const = 0;
  virtual void SetIndex(int index) = 0;
  virtual IListOwnerUI* GetOwner() const = 0;
  virtual void SetOwner(IListOwnerUI* owner) = 0;
  virtual bool IsSelected() const = 0;
  // Selects this item in its owner (sends the owner's "itemselect").
  virtual bool Select(bool select = true) = 0;
  virtual bool IsExpanded() const = 0;
  // Sends "itemexpand" when the state changes.
  virtual bool Expand(bool expand = true) = 0;
  // Internal: the owner marks the item selected or not.
  virtual void SetSelectedState(bool selected) = 0;
};

// What both kinds of list item share over their control class `Base`:
// index, owner and selection; a press selects the item in its owner and
// sends "itemclick", a double click activates it ("itemactivate"), keys and
// the wheel go to the owner; 30 pixels high without a fixed height; the
// owner's item colours behind it.
template <class Base>
class CListItemBaseUI : public Base, public IListItemUI {
 public:
  int GetIndex() const override { return m_iIndex; }
  void SetIndex(int index) override { m_iIndex = index; }
  IListOwnerUI* GetOwner() const override { return m_pOwner; }
  void SetOwner(IListOwnerUI* owner) override { m_pOwner = owner; }
  bool IsSelected() const override { return m_bSelected; }
  bool Select(bool select = true) override;
  void SetSelectedState(bool selected) override;

  bool Activate() override;
  void DoEvent(TEventUI& event) override;
  Size EstimateSize(Size available) override;

 protected:
  void PaintBkColor(PaintList& list) override;

  int m_iIndex = -1;
  IListOwnerUI* m_pOwner = nullptr;
  bool m_bSelected = false;
};

extern template class CListItemBaseUI<CContainerUI>;
extern template class CListItemBaseUI<CLabelUI>;

class CListContainerElementUI : public CListItemBaseUI<CContainerUI> {
 public:
  CListContainerElementUI();
  std::u16string_view GetClass() const override;

  bool IsExpanded() const override { return m_bExpanded; }
  bool Expand(bool expand = true) override;
  bool IsFocusable() const override { return false; }

 protected:
  bool m_bExpanded = false;
};

class CListLabelElementUI : public CListItemBaseUI<CLabelUI> {
 public:
  CListLabelElementUI();
  std::u16string_view GetClass() const override;

  bool IsExpanded() const override { return false; }
  bool Expand(bool expand = true) override { (void)expand; return false; }

 protected:
  void PaintText(PaintList& list) override;
};

class CListHeaderUI : public CHorizontalLayoutUI {
 public:
  CListHeaderUI();
  std::u16string_view GetClass() const override;
};

class CListBodyUI : public CVerticalLayoutUI {
 public:
  explicit CListBodyUI(CListUI* owner);
  std::u16string_view GetClass() const override;
  void DoEvent(TEventUI& event) override;

 private:
  CListUI* m_pOwner;
};

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
 public:
  CListUI();
  std::u16string_view GetClass() const override;
  bool IsFocusable() const override { return true; }

  CListHeaderUI* GetHeader() const { return m_pHeader; }
  CListBodyUI* GetList() const { return m_pList; }
  // Shows or hides the header (the "header" attribute: "hidden").
  void SetHeaderVisible(bool visible);

  // ---- Items (the body's children) ----
  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  bool SetItemIndex(CControlUI* control, int index) override;
  int GetCount() const override;
  // Items are list items (CListContainerElementUI, CListLabelElementUI);
  // any other control is accepted and shown but cannot be selected. A
  // header item (CListHeaderUI) goes to the header.
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control, bool doNotDestroy = false) override;
  bool RemoveAt(int index, bool doNotDestroy = false) override;
  void RemoveAll() override;

  // ---- Selection ----
  int GetCurSel() const override { return m_iCurSel; }
  // Selects item `index` (-1: none) and scrolls it into view; sends
  // "itemselect" (wParam new index, lParam old index) when the selection
  // changes. False for an index out of range or an item that cannot be
  // selected (hidden, disabled, not a list item).
  bool SelectItem(int index, bool takeFocus = false) override;
  void EnsureVisible(int index);
  void ItemEvent(TEventUI& event) override;

  void SetTextCallback(IListCallbackUI* callback) { m_pCallback = callback; }
  IListCallbackUI* GetTextCallback() const { return m_pCallback; }

  // Scrolling of the body.
  Size GetScrollPos() const;
  void SetScrollPos(Size pos);
  Size GetScrollRange() const;
  void LineUp();
  void LineDown();
  void PageUp();
  void PageDown();

  // ---- Item look ----
  Color ItemTextColor() const override { return m_dwItemTextColor; }
  Color ItemBkColor() const override { return m_dwItemBkColor; }
  Color ItemHotBkColor() const override { return m_dwItemHotBkColor; }
  Color ItemSelectedBkColor() const override { return m_dwItemSelectedBkColor; }
  Color ItemSelectedTextColor() const override { return m_dwItemSelectedTextColor; }
  Color ItemLineColor() const override { return m_dwItemLineColor; }
  int ItemFont() const override { return m_iItemFont; }
  bool ItemShowHtml() const override { return m_bItemShowHtml; }

  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void DoEvent(TEventUI& event) override;

 protected:
  void Reindex(int from);
  void HandleKey(TEventUI& event);
  int NextSelectable(int from, int step) const;

  CListHeaderUI* m_pHeader = nullptr;
  CListBodyUI* m_pList = nullptr;
  int m_iCurSel = -1;
  IListCallbackUI* m_pCallback = nullptr;
  Color m_dwItemTextColor = kNoColor, m_dwItemBkColor = kNoColor, m_dwItemHotBkColor = kNoColor;
  Color m_dwItemSelectedBkColor = kNoColor, m_dwItemSelectedTextColor = kNoColor, m_dwItemLineColor = kNoColor;
  int m_iItemFont = -1;
  bool m_bItemShowHtml = false;
};

}  // namespace tk

// Containers: controls that own and lay out child controls.
//
// CContainerUI stacks its children on top of each other, each filling the
// client area (the rectangle less the inset); CVerticalLayoutUI and
// CHorizontalLayoutUI place them one after the other; CTabLayoutUI shows
// one child at a time. Floating children are placed by their "pos"
// relative to the container's top left corner and take no part in the
// flow.
//
// Ownership: Add/AddAt take ownership of a control that has no parent yet.
// Remove/RemoveAt/RemoveAll destroy the removed controls; while a window is
// dispatching an event they are detached at once and deleted when the
// dispatch is over, so a handler may remove the very control that sent its
// notification.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/toolkit/control.h"

namespace tk {

class CContainerUI : public CControlUI {
 public:
  CContainerUI();
  ~CContainerUI() override;

  std::u16string_view GetClass() const override;
  CContainerUI* AsContainer() override { return this; }

  // ---- Children ----
  virtual CControlUI* GetItemAt(int index) const;
  virtual int GetItemIndex(CControlUI* control) const;
  // Moves a child to another index; false when it is not a child.
  virtual bool SetItemIndex(CControlUI* control, int index);
  virtual int GetCount() const;
  // Appends; false (ownership stays with the caller) for null or a control
  // that already has a parent.
  virtual bool Add(CControlUI* control);
  // Inserts before `index` (0..GetCount()); false as for Add, or when the
  // index is out of range.
  virtual bool AddAt(CControlUI* control, int index);
  // Removes and destroys; with doNotDestroy the caller takes the control
  // back (it then has no parent). False when it is not a child.
  virtual bool Remove(CControlUI* control, bool doNotDestroy = false);
  virtual bool RemoveAt(int index, bool doNotDestroy = false);
  virtual void RemoveAll();

  // The first descendant (not this container) with that name, depth first
  // in child order; null when none.
  CControlUI* FindSubControl(std::u16string_view name);
  // Every descendant with that name, in the same order.
  std::vector<CControlUI*> FindSubControls(std::u16string_view name);

  // ---- Layout ----
  const Rect& GetInset() const { return m_rcInset; }
  void SetInset(const Rect& inset);
  int GetChildPadding() const { return m_iChildPadding; }
  void SetChildPadding(int padding);
  // Alignment of the children along the cross axis / main axis when they
  // do not fill it: DT_LEFT/DT_CENTER/DT_RIGHT and DT_TOP/DT_VCENTER/DT_BOTTOM.
  void SetChildAlign(UINT align) { m_uChildAlign = align; NeedUpdate(); }
  void SetChildVAlign(UINT align) { m_uChildVAlign = align; NeedUpdate(); }
  bool IsMouseChildEnabled() const { return m_bMouseChildEnabled; }
  void SetMouseChildEnabled(bool enable = true) { m_bMouseChildEnabled = enable; }

  // ---- Scrolling ----
  // A container with a vertical scroll bar lets its content grow taller
  // than itself and scrolls it (mouse wheel, dragging the bar, keys in
  // lists). The bar is drawn over the right edge when content overflows.
  void EnableScrollBar(bool vertical = true, bool horizontal = false);
  bool IsVScrollEnabled() const { return m_bVScroll; }
  bool IsHScrollEnabled() const { return m_bHScroll; }
  Size GetScrollPos() const { return m_szScrollPos; }
  // Clamped to the scroll range.
  void SetScrollPos(Size pos);
  Size GetScrollRange() const;
  void LineUp();
  void LineDown();
  void PageUp();
  void PageDown();
  void HomeUp();
  void EndDown();
  // Scrolls so that the child's rectangle is inside the view.
  void ScrollIntoView(CControlUI* child);
  // The bar's track and thumb in client coordinates (empty when not shown).
  Rect VScrollTrack() const;
  Rect VScrollThumb() const;

  // ---- CControlUI ----
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void SetPos(const Rect& rc) override;
  void SetManager(CPaintManagerUI* manager, CControlUI* parent) override;
  void SetVisible(bool visible = true) override;
  void SetEnabled(bool enable = true) override;
  void DoEvent(TEventUI& event) override;
  CControlUI* FindControlIf(const std::function<bool(CControlUI*)>& visit) override;
  void DoPaint(PaintList& list, const Rect& clip) override;
  Size EstimateSize(Size available) override;

  // The children as stored (for lists: the header and the body).
  const std::vector<CControlUI*>& Children() const { return m_items; }
  // Client area: the rectangle less the inset (and less a shown scroll bar).
  Rect GetClientRect() const;
  // Places a floating child by its fixed rectangle.
  void SetFloatPos(CControlUI* child);

 protected:
  // Lays out the non-floating children in `client` (already shifted by
  // the scroll position) and returns the content size they need.
  virtual Size LayoutChildren(const Rect& client);
  void DetachChild(CControlUI* child, bool destroy);
  void UpdateScrollRange(Size content, const Rect& client);

  std::vector<CControlUI*> m_items;  // owned
  Rect m_rcInset;
  int m_iChildPadding = 0;
  UINT m_uChildAlign = DT_LEFT;
  UINT m_uChildVAlign = DT_TOP;
  bool m_bMouseChildEnabled = true;
  bool m_bVScroll = false;
  bool m_bHScroll = false;
  Size m_szScrollPos;
  Size m_szScrollRange;
  bool m_bScrollDrag = false;
  int m_iScrollDragOffset = 0;
};

class CVerticalLayoutUI : public CContainerUI {
 public:
  std::u16string_view GetClass() const override;
  Size EstimateSize(Size available) override;

 protected:
  Size LayoutChildren(const Rect& client) override;
};

class CHorizontalLayoutUI : public CContainerUI {
 public:
  std::u16string_view GetClass() const override;
  Size EstimateSize(Size available) override;

 protected:
  Size LayoutChildren(const Rect& client) override;
};

// Pages: exactly one child is shown, filling the client area.
class CTabLayoutUI : public CContainerUI {
 public:
  std::u16string_view GetClass() const override;
  // Shows page `index`; false when out of range. Selecting the page that
  // is showing changes nothing.
  bool SelectItem(int index);
  bool SelectItem(CControlUI* page);
  int GetCurSel() const { return m_iCurSel; }

  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control, bool doNotDestroy = false) override;
  void RemoveAll() override;
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;

 protected:
  Size LayoutChildren(const Rect& client) override;
  void ShowOnlyCurrent();

  int m_iCurSel = -1;
  int m_iPendingSel = -1;  // "selectedid" given before the pages exist
};

}  // namespace tk

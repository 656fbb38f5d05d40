// CControlUI: the base of every windowless control. A control has a name,
// a text, a place computed by its parent's layout, a look set by
// attributes, and a state (visible, enabled, focused, hot, pushed). It
// belongs to the tree of one window (its paint manager) once it is added
// to a container of that tree.
//
// Only the user-interface thread may touch controls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/toolkit/event.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/paint.h"

namespace tk {

class CPaintManagerUI;
class CContainerUI;

// Visual states, combined as bits.
constexpr UINT UISTATE_FOCUSED = 0x01;
constexpr UINT UISTATE_SELECTED = 0x02;
constexpr UINT UISTATE_DISABLED = 0x04;
constexpr UINT UISTATE_HOT = 0x08;
constexpr UINT UISTATE_PUSHED = 0x10;
constexpr UINT UISTATE_READONLY = 0x20;
constexpr UINT UISTATE_CAPTURED = 0x40;

class CControlUI {
 public:
  CControlUI();
  virtual ~CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // The class name as written in skins ("Control", "Button", "List", ...).
  virtual std::u16string_view GetClass() const;

  // ---- Identity and tree ----
  const std::u16string& GetName() const { return m_sName; }
  virtual void SetName(std::u16string_view name);
  CPaintManagerUI* GetManager() const { return m_pManager; }
  CControlUI* GetParent() const { return m_pParent; }
  // Containers return themselves; other controls null.
  virtual CContainerUI* AsContainer() { return nullptr; }

  // ---- Text ----
  virtual std::u16string GetText() const { return m_sText; }
  virtual void SetText(std::u16string_view text);
  const std::u16string& GetToolTip() const { return m_sToolTip; }
  void SetToolTip(std::u16string_view text) { m_sToolTip = text; }

  // ---- State ----
  // The control's own visibility flag. IsShown() tells whether the control
  // is actually on screen: it and every ancestor visible, and attached.
  virtual bool IsVisible() const { return m_bVisible; }
  virtual void SetVisible(bool visible = true);
  bool IsShown() const;
  virtual bool IsEnabled() const { return m_bEnabled; }
  virtual void SetEnabled(bool enable = true);
  bool IsFocused() const;
  // Takes the keyboard focus (sends "killfocus" to the previous holder and
  // "setfocus" from this control).
  virtual void SetFocus();
  bool IsMouseEnabled() const { return m_bMouseEnabled; }
  void SetMouseEnabled(bool enable = true) { m_bMouseEnabled = enable; }
  bool IsKeyboardEnabled() const { return m_bKeyboardEnabled; }
  void SetKeyboardEnabled(bool enable = true) { m_bKeyboardEnabled = enable; }
  // Whether the control takes the keyboard focus when clicked or tabbed to.
  virtual bool IsFocusable() const { return false; }
  UINT GetState() const { return m_uState; }

  // ---- Placement ----
  // The rectangle the layout gave the control (client coordinates).
  const Rect& GetPos() const { return m_rcItem; }
  // Places the control (called by the parent's layout) and lays out its
  // children.
  virtual void SetPos(const Rect& rc);
  bool IsFloat() const { return m_bFloat; }
  void SetFloat(bool isFloat = true);
  // For a floating control: its rectangle relative to the parent's top
  // left corner. For any control its width and height also become the
  // fixed width and height (the "pos" attribute).
  const Rect& GetFixedXY() const { return m_rcPos; }
  void SetFixedRect(const Rect& rc);
  int GetFixedWidth() const { return m_cxyFixed.cx; }
  void SetFixedWidth(int cx);
  int GetFixedHeight() const { return m_cxyFixed.cy; }
  void SetFixedHeight(int cy);
  int GetMinWidth() const { return m_cxyMin.cx; }
  void SetMinWidth(int cx);
  int GetMaxWidth() const { return m_cxyMax.cx; }
  void SetMaxWidth(int cx);
  int GetMinHeight() const { return m_cxyMin.cy; }
  void SetMinHeight(int cy);
  int GetMaxHeight() const { return m_cxyMax.cy; }
  void SetMaxHeight(int cy);
  // Space around the control inside its parent's layout (left, top, right, bottom).
  const Rect& GetPadding() const { return m_rcPadding; }
  void SetPadding(const Rect& rc);
  // The size the control wants inside `available` (0 = take what is given).
  virtual Size EstimateSize(Size available);

  // ---- Look ----
  Color GetBkColor() const { return m_dwBackColor; }
  void SetBkColor(Color c);
  const std::u16string& GetBkImage() const { return m_sBkImage; }
  void SetBkImage(std::u16string_view image);
  Color GetBorderColor() const { return m_dwBorderColor; }
  void SetBorderColor(Color c);
  Color GetFocusBorderColor() const { return m_dwFocusBorderColor; }
  void SetFocusBorderColor(Color c);
  int GetBorderSize() const { return m_nBorderSize; }
  void SetBorderSize(int size);
  Size GetBorderRound() const { return m_cxyBorderRound; }
  void SetBorderRound(Size round);
  // The skin style the control was given ("style" attribute), if any.
  const std::u16string& GetStyleName() const { return m_sStyle; }

  // ---- User data ----
  const std::u16string& GetUserData() const { return m_sUserData; }
  void SetUserData(std::u16string_view text) { m_sUserData = text; }
  std::uintptr_t GetTag() const { return m_pTag; }
  void SetTag(std::uintptr_t tag) { m_pTag = tag; }

  // ---- Attributes ----
  // Sets one skin attribute by name; returns false for a name this control
  // does not know (ignored). Values are parsed leniently: a bad value
  // leaves the property unchanged.
  virtual bool SetAttribute(std::u16string_view name, std::u16string_view value);
  // Applies a list written as in skins: name="value" name2="value2" ...
  void ApplyAttributeList(std::u16string_view list);

  // ---- Input ----
  // Handles an input event; the default passes it to the parent.
  virtual void DoEvent(TEventUI& event);
  // The control's action (a click on a button, selecting an option).
  // Returns false when the control is disabled or hidden.
  virtual bool Activate();

  // ---- Tree search ----
  // Calls `visit` for this control and, for containers, every descendant
  // in tree order (depth first, children in order) until it returns true;
  // returns the control it stopped at, or null.
  virtual CControlUI* FindControlIf(const std::function<bool(CControlUI*)>& visit);

  // ---- Painting ----
  // Appends this control's drawing (and its children's) to `list`; `clip`
  // is the visible part of the window being painted.
  virtual void DoPaint(PaintList& list, const Rect& clip);
  // Asks the window to repaint the control.
  void Invalidate();
  // Asks the window to lay out again (size or visibility changed).
  void NeedUpdate();
  void NeedParentUpdate();

  // ---- Internal: used by containers and the paint manager ----
  virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent);
  // Called once when the control joins a window's tree.
  virtual void DoInit() {}
  void SetStyleName(std::u16string_view style) { m_sStyle = style; }

 protected:
  friend class CContainerUI;
  void SetState(UINT bit, bool on);
  void SendNotify(std::u16string_view type, WPARAM wParam = 0, LPARAM lParam = 0);
  // Standard painting steps, in order.
  virtual void PaintBkColor(PaintList& list);
  virtual void PaintBkImage(PaintList& list);
  virtual void PaintStatusImage(PaintList& list) { (void)list; }
  virtual void PaintText(PaintList& list) { (void)list; }
  virtual void PaintBorder(PaintList& list);
  // Adds an image operation for a skin image value ("file.png" or
  // "file='file.png' dest='l,t,r,b' source='...' corner='...' fade='128'").
  // Returns false when the image value is empty or its file is missing.
  bool DrawImage(PaintList& list, std::u16string_view image, const Rect& rc);

  CPaintManagerUI* m_pManager = nullptr;
  CControlUI* m_pParent = nullptr;
  std::u16string m_sName;
  std::u16string m_sText;
  std::u16string m_sToolTip;
  std::u16string m_sUserData;
  std::u16string m_sStyle;
  std::uintptr_t m_pTag = 0;
  bool m_bVisible = true;
  bool m_bEnabled = true;
  bool m_bMouseEnabled = true;
  bool m_bKeyboardEnabled = true;
  bool m_bFloat = false;
  UINT m_uState = 0;
  Rect m_rcItem;
  Rect m_rcPos;
  Rect m_rcPadding;
  Size m_cxyFixed;
  Size m_cxyMin;
  Size m_cxyMax{9999, 9999};
  Color m_dwBackColor = kNoColor;
  Color m_dwBorderColor = kNoColor;
  Color m_dwFocusBorderColor = kNoColor;
  int m_nBorderSize = 0;
  Size m_cxyBorderRound;
  std::u16string m_sBkImage;
};

}  // namespace tk

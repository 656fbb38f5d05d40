// Text entry: CEditUI (one line; password mode, read-only, length limit,
// prompt text) and CRichEditUI (several lines, appended text, scrolling).
//
// A focused, editable edit behaves as a native child window: key presses
// and typed characters go straight to it, past the window's HandleMessage
// (the window's message filter still sees them first). Typing sends
// "textchanged"; Return in a one-line edit sends "return".
#pragma once

#include <string>

#include "ui/toolkit/label.h"

namespace tk {

class CEditUI : public CLabelUI {
 public:
  CEditUI();
  std::u16string_view GetClass() const override;
  bool IsFocusable() const override { return true; }

  void SetText(std::u16string_view text) override;
  void SetPasswordMode(bool on);
  bool IsPasswordMode() const { return m_bPasswordMode; }
  void SetPasswordChar(char16_t ch) { m_cPasswordChar = ch; Invalidate(); }
  void SetReadOnly(bool on);
  bool IsReadOnly() const { return m_bReadOnly; }
  // At most this many UTF-16 units can be typed (0: no limit). SetText is
  // not limited.
  void SetMaxChar(int max) { m_iMaxChar = max < 0 ? 0 : max; }
  int GetMaxChar() const { return m_iMaxChar; }
  // Only the digits '0'..'9' can be typed.
  void SetNumberOnly(bool on) { m_bNumberOnly = on; }
  // Grey text shown while the edit is empty and not focused.
  void SetPromptText(std::u16string_view text) { m_sPrompt = text; Invalidate(); }
  const std::u16string& GetPromptText() const { return m_sPrompt; }

  // Caret and selection, as UTF-16 offsets.
  int GetCaret() const { return m_iCaret; }
  void SetSel(int start, int end);
  void SetSelAll() { SetSel(0, -1); }
  std::u16string GetSelText() const;
  // Replaces the selection with `text` (as if typed, within the limits).
  void ReplaceSel(std::u16string_view text);

  // True while the edit receives keys directly (focused, enabled, editable).
  bool WantsKeys() const;
  void DoEvent(TEventUI& event) override;
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;

 protected:
  void PaintBkColor(PaintList& list) override;
  void PaintBorder(PaintList& list) override;
  void PaintText(PaintList& list) override;
  std::u16string DisplayText() const override;
  // The prompt text in `area` while the box is empty and not focused.
  void PaintPrompt(PaintList& list, const Rect& area, int fontIndex, UINT format);
  virtual bool IsMultiLine() const { return false; }
  // Caret offset for a point in the control (uses the platform's text metrics).
  int OffsetFromPoint(Point pt) const;
  virtual void OnKey(TEventUI& event);
  void InsertTyped(std::u16string_view text);
  void DeleteSelection();

  bool m_bPasswordMode = false;
  char16_t m_cPasswordChar = u'\u25CF';
  bool m_bReadOnly = false;
  bool m_bNumberOnly = false;
  int m_iMaxChar = 0;
  std::u16string m_sPrompt;
  Color m_dwPromptColor = kNoColor;
  int m_iCaret = 0;
  int m_iAnchor = 0;
  bool m_bSelecting = false;
};

class CRichEditUI : public CEditUI {
 public:
  CRichEditUI();
  std::u16string_view GetClass() const override;

  // Appends at the end; the caret moves to the end. (Appending keeps no
  // undo step.)
  void AppendText(std::u16string_view text, bool canUndo = false);
  // Lines of the text: line breaks + 1 ("\r\n", "\n" and "\r" each end a
  // line); 1 for an empty text.
  int GetLineCount() const;
  // Scroll position in pixels (cx horizontal, cy vertical), clamped to the
  // content; the vertical range is line count x line height - view height.
  Size GetScrollPos() const { return m_szScroll; }
  void SetScrollPos(Size pos);
  Size GetScrollRange() const;
  void EndDown();
  // Return inserts a line break (on by default).
  void SetWantReturn(bool on) { m_bWantReturn = on; }

  void DoEvent(TEventUI& event) override;
  bool SetAttribute(std::u16string_view name, std::u16string_view value) override;
  void SetPos(const Rect& rc) override;

 protected:
  bool IsMultiLine() const override { return true; }
  void PaintText(PaintList& list) override;
  void OnKey(TEventUI& event) override;
  int LineHeight() const;

  Size m_szScroll;
  bool m_bWantReturn = true;
};

}  // namespace tk

#include "ui/toolkit/edit.h"

#include <algorithm>

#include "ui/toolkit/attributes.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/platform.h"
#include "ui/toolkit/resources.h"

namespace tk {

namespace {

bool IsHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

int PrevBoundary(const std::u16string& s, int pos) {
  if (pos <= 0) return 0;
  --pos;
  if (pos > 0 && IsLow(s[pos]) && IsHigh(s[pos - 1])) --pos;
  return pos;
}

int NextBoundary(const std::u16string& s, int pos) {
  int n = static_cast<int>(s.size());
  if (pos >= n) return n;
  ++pos;
  if (pos < n && IsLow(s[pos]) && IsHigh(s[pos - 1])) ++pos;
  return pos;
}

Color Theme(const CControlUI* c, std::u16string_view name, Color fallback) {
  if (const SkinResources* res = ResourcesFor(c))
    if (auto v = res->FindColor(name)) return *v;
  return fallback;
}

const FontSpec& FontOf(const CControlUI* c, int id) {
  static const FontSpec kFallback{u"WenQuanYi Micro Hei", 13};
  if (c->GetManager()) return c->GetManager()->Resources().GetFont(id);
  return kFallback;
}

}  // namespace

CEditUI::CEditUI() {
  m_uTextStyle = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
  m_rcTextPadding = {8, 0, 8, 0};
}

std::u16string_view CEditUI::GetClass() const { return u"Edit"; }

void CEditUI::SetText(std::u16string_view text) {
  CLabelUI::SetText(text);
  m_iCaret = m_iAnchor = static_cast<int>(m_sText.size());
  NeedUpdate();
}

void CEditUI::SetPasswordMode(bool on) {
  m_bPasswordMode = on;
  Invalidate();
}

void CEditUI::SetReadOnly(bool on) {
  m_bReadOnly = on;
  SetState(UISTATE_READONLY, on);
}

void CEditUI::SetSel(int start, int end) {
  int n = static_cast<int>(m_sText.size());
  if (end < 0) end = n;
  m_iAnchor = std::clamp(start, 0, n);
  m_iCaret = std::clamp(end, 0, n);
  Invalidate();
}

std::u16string CEditUI::GetSelText() const {
  int a = std::min(m_iAnchor, m_iCaret), b = std::max(m_iAnchor, m_iCaret);
  return m_sText.substr(a, b - a);
}

bool CEditUI::WantsKeys() const { return IsFocused() && IsEnabled() && !m_bReadOnly; }

void CEditUI::DeleteSelection() {
  int a = std::min(m_iAnchor, m_iCaret), b = std::max(m_iAnchor, m_iCaret);
  if (a == b) return;
  m_sText.erase(a, b - a);
  m_iCaret = m_iAnchor = a;
}

void CEditUI::ReplaceSel(std::u16string_view text) { InsertTyped(text); }

void CEditUI::InsertTyped(std::u16string_view text) {
  std::u16string add;
  add.reserve(text.size());
  for (char16_t c : text) {
    if (!IsMultiLine() && (c == u'\r' || c == u'\n')) continue;
    if (c == u'\r') continue;
    if (c < 0x20 && c != u'\n' && c != u'\t') continue;
    if (m_bNumberOnly && (c < u'0' || c > u'9')) continue;
    add.push_back(c);
  }
  int selLen = std::abs(m_iCaret - m_iAnchor);
  if (m_iMaxChar > 0) {
    int room = m_iMaxChar - (static_cast<int>(m_sText.size()) - selLen);
    if (room <= 0) return;
    if (static_cast<int>(add.size()) > room) {
      add.resize(room);
      if (!add.empty() && IsHigh(add.back())) add.pop_back();
    }
  }
  if (add.empty() && selLen == 0) return;
  DeleteSelection();
  m_sText.insert(m_iCaret, add);
  m_iCaret += static_cast<int>(add.size());
  m_iAnchor = m_iCaret;
  Invalidate();
  NeedUpdate();
  if (m_pManager) m_pManager->ControlChanged(this);
  SendNotify(kNotifyTextChanged);
}

std::u16string CEditUI::DisplayText() const {
  if (m_bPasswordMode) return std::u16string(m_sText.size(), m_cPasswordChar);
  return m_sText;
}

int CEditUI::OffsetFromPoint(Point pt) const {
  std::u16string shown = DisplayText();
  const FontSpec& font = FontOf(this, m_iFont);
  int x = pt.x - (m_rcItem.left + m_rcTextPadding.left);
  if (x <= 0) return 0;
  const Platform& platform = CurrentPlatform();
  int n = static_cast<int>(shown.size());
  int prev = 0;
  for (int i = 1; i <= n; i = NextBoundary(shown, i)) {
    int w = platform.TextWidth(font, std::u16string_view(shown).substr(0, i));
    if (w >= x) return (x - prev < w - x) ? PrevBoundary(shown, i) : i;
    prev = w;
    if (i == n) break;
  }
  return n;
}

void CEditUI::OnKey(TEventUI& event) {
  bool shift = event.wKeyState & kModShift;
  bool ctrl = event.wKeyState & kModControl;
  int n = static_cast<int>(m_sText.size());
  switch (event.chKey) {
    case VK_LEFT:
      m_iCaret = (!shift && m_iCaret != m_iAnchor) ? std::min(m_iCaret, m_iAnchor) : PrevBoundary(m_sText, m_iCaret);
      if (!shift) m_iAnchor = m_iCaret;
      break;
    case VK_RIGHT:
      m_iCaret = (!shift && m_iCaret != m_iAnchor) ? std::max(m_iCaret, m_iAnchor) : NextBoundary(m_sText, m_iCaret);
      if (!shift) m_iAnchor = m_iCaret;
      break;
    case VK_HOME:
      m_iCaret = 0;
      if (!shift) m_iAnchor = m_iCaret;
      break;
    case VK_END:
      m_iCaret = n;
      if (!shift) m_iAnchor = m_iCaret;
      break;
    case VK_BACK:
    case VK_DELETE:
      // Without a selection: the character before (Backspace) or after the caret.
      if (m_bReadOnly) break;
      if (m_iCaret == m_iAnchor)
        m_iAnchor = event.chKey == VK_BACK ? PrevBoundary(m_sText, m_iCaret) : NextBoundary(m_sText, m_iCaret);
      if (m_iCaret != m_iAnchor) {
        DeleteSelection();
        if (m_pManager) m_pManager->ControlChanged(this);
        SendNotify(kNotifyTextChanged);
      }
      break;
    case VK_RETURN:
      SendNotify(kNotifyReturn);
      break;
    case VK_TAB:
      if (m_pManager) m_pManager->SetNextTabControl(!shift);
      break;
    default:
      if (ctrl && event.chKey == 'A') {
        SetSel(0, -1);
      } else if (ctrl && (event.chKey == 'C' || event.chKey == 'X')) {
        if (!m_bPasswordMode && m_iCaret != m_iAnchor) {
          CurrentPlatform().SetClipboardText(GetSelText());
          if (event.chKey == 'X' && !m_bReadOnly) {
            DeleteSelection();
            SendNotify(kNotifyTextChanged);
          }
        }
      } else if (ctrl && event.chKey == 'V') {
        if (!m_bReadOnly) InsertTyped(CurrentPlatform().ClipboardText());
      }
      break;
  }
  Invalidate();
}

void CEditUI::DoEvent(TEventUI& event) {
  switch (event.Type) {
    case EventType::kButtonDown:
      if (IsEnabled()) {
        m_iCaret = m_iAnchor = OffsetFromPoint(event.ptMouse);
        m_bSelecting = true;
        Invalidate();
      }
      return;
    case EventType::kDblClick:
      if (IsEnabled()) SetSel(0, -1);
      return;
    case EventType::kMouseMove:
      if (m_bSelecting) {
        m_iCaret = OffsetFromPoint(event.ptMouse);
        Invalidate();
        return;
      }
      break;
    case EventType::kButtonUp:
      m_bSelecting = false;
      return;
    case EventType::kKillFocus:
      m_bSelecting = false;
      break;
    case EventType::kKeyDown:
      OnKey(event);
      return;
    case EventType::kChar:
      if (IsEnabled() && !m_bReadOnly && event.chKey >= 0x20 && event.chKey != 0x7F) {
        char16_t ch = event.chKey;
        InsertTyped(std::u16string_view(&ch, 1));
      }
      return;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

bool CEditUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"password") {
    if (auto b = ParseBool(value)) SetPasswordMode(*b);
  } else if (name == u"readonly") {
    if (auto b = ParseBool(value)) SetReadOnly(*b);
  } else if (name == u"maxchar") {
    if (auto n = ParseInt(value)) SetMaxChar(*n);
  } else if (name == u"numberonly") {
    if (auto b = ParseBool(value)) SetNumberOnly(*b);
  } else if (name == u"tipvalue" || name == u"prompttext") {
    SetPromptText(value);
  } else if (name == u"tipvaluecolor" || name == u"promptcolor") {
    if (auto c = ParseColorFor(this, value)) m_dwPromptColor = *c;
  } else {
    return CLabelUI::SetAttribute(name, value);
  }
  return true;
}

void CEditUI::PaintBkColor(PaintList& list) { CLabelUI::PaintBkColor(list); }

void CEditUI::PaintBorder(PaintList& list) { CLabelUI::PaintBorder(list); }

void CEditUI::PaintPrompt(PaintList& list, const Rect& area, int fontIndex, UINT format) {
  if (m_sPrompt.empty() || IsFocused()) return;
  DrawOp op;
  op.kind = DrawKind::kText;
  op.rect = area;
  op.text = m_sPrompt;
  op.color = m_dwPromptColor != kNoColor ? m_dwPromptColor : Theme(this, u"text-muted", 0xFF9CA3AF);
  op.font = fontIndex;
  op.format = format;
  op.control = this;
  list.ops.push_back(std::move(op));
}

void CEditUI::PaintText(PaintList& list) {
  Rect area = m_rcItem.Deflate(m_rcTextPadding);
  std::u16string shown = DisplayText();
  int fontIndex = m_pManager ? m_pManager->Resources().FontIndex(m_iFont) : 0;
  if (shown.empty()) PaintPrompt(list, area, fontIndex, m_uTextStyle);
  const Platform& platform = CurrentPlatform();
  const FontSpec& font = FontOf(this, m_iFont);
  bool editing = IsFocused() && IsEnabled();
  // Keep the caret in view: shift the text left when it is wider than the box.
  int caretX = platform.TextWidth(font, std::u16string_view(shown).substr(0, m_iCaret));
  int shift = 0;
  if ((m_uTextStyle & (DT_CENTER | DT_RIGHT)) == 0 && caretX > area.Width() - 2) shift = caretX - area.Width() + 2;
  DrawOp clip;
  clip.kind = DrawKind::kPushClip;
  clip.rect = area.Offset(0, 0);
  clip.rect.left -= 1;
  clip.rect.right += 1;
  clip.control = this;
  list.ops.push_back(clip);
  if (editing && m_iCaret != m_iAnchor) {
    int a = std::min(m_iAnchor, m_iCaret), b = std::max(m_iAnchor, m_iCaret);
    int xa = platform.TextWidth(font, std::u16string_view(shown).substr(0, a));
    int xb = platform.TextWidth(font, std::u16string_view(shown).substr(0, b));
    int lh = platform.LineHeight(font);
    int top = area.top + (area.Height() - lh) / 2;
    list.AddFill(this, {area.left + xa - shift, top, area.left + xb - shift, top + lh},
                 Theme(this, u"selection", 0x551F6FEB));
  }
  if (!shown.empty()) {
    DrawOp op;
    op.kind = DrawKind::kText;
    op.rect = {area.left - shift, area.top, std::max(area.right, area.left - shift + caretX + area.Width()), area.bottom};
    if (shift == 0) op.rect.right = area.right;
    op.text = std::move(shown);
    op.color = CurrentTextColor();
    op.font = fontIndex;
    op.format = (m_uTextStyle | DT_SINGLELINE) & ~(DT_WORDBREAK | DT_END_ELLIPSIS);
    op.control = this;
    list.ops.push_back(std::move(op));
  }
  if (editing && !m_bReadOnly) {
    int lh = platform.LineHeight(font);
    int top = area.top + (area.Height() - lh) / 2;
    int x = area.left + caretX - shift;
    if (m_uTextStyle & DT_CENTER) x = area.left + (area.Width() - platform.TextWidth(font, DisplayText())) / 2 + caretX;
    DrawOp caret;
    caret.kind = DrawKind::kCaret;
    caret.rect = {x, top, x + 1, top + lh};
    caret.color = CurrentTextColor();
    caret.control = this;
    list.ops.push_back(caret);
  }
  DrawOp pop;
  pop.kind = DrawKind::kPopClip;
  pop.control = this;
  list.ops.push_back(pop);
}

// ---------------------------------------------------------------------------

CRichEditUI::CRichEditUI() {
  m_uTextStyle = DT_LEFT | DT_TOP | DT_WORDBREAK;
  m_rcTextPadding = {8, 6, 8, 6};
}

std::u16string_view CRichEditUI::GetClass() const { return u"RichEdit"; }

void CRichEditUI::AppendText(std::u16string_view text, bool canUndo) {
  (void)canUndo;
  m_sText.append(text);
  m_iCaret = m_iAnchor = static_cast<int>(m_sText.size());
  Invalidate();
  if (m_pManager) m_pManager->ControlChanged(this);
}

int CRichEditUI::GetLineCount() const {
  int lines = 1;
  for (std::size_t i = 0; i < m_sText.size(); ++i) {
    if (m_sText[i] == u'\r') {
      ++lines;
      if (i + 1 < m_sText.size() && m_sText[i + 1] == u'\n') ++i;
    } else if (m_sText[i] == u'\n') {
      ++lines;
    }
  }
  return lines;
}

int CRichEditUI::LineHeight() const { return CurrentPlatform().LineHeight(FontOf(this, m_iFont)) + 2; }

namespace {

struct VisualLine {
  int start;
  int end;  // exclusive, without the line break
};

// Breaks the text into lines at line breaks and where a line is wider
// than `width` (at a space when there is one, else anywhere).
std::vector<VisualLine> BreakLines(const std::u16string& text, const FontSpec& font, int width) {
  std::vector<VisualLine> out;
  const Platform& platform = CurrentPlatform();
  int n = static_cast<int>(text.size());
  int start = 0;
  while (start <= n) {
    int end = start;
    while (end < n && text[end] != u'\n' && text[end] != u'\r') ++end;
    // Wrap [start, end).
    int lineStart = start;
    int x = 0;
    int lastSpace = -1;
    for (int i = start; i < end; ++i) {
      int w = platform.TextWidth(font, std::u16string_view(text).substr(i, 1));
      if (x + w > width && i > lineStart && width > 0) {
        int breakAt = (lastSpace > lineStart) ? lastSpace + 1 : i;
        out.push_back({lineStart, breakAt});
        lineStart = breakAt;
        x = platform.TextWidth(font, std::u16string_view(text).substr(lineStart, i - lineStart));
        lastSpace = -1;
      }
      if (text[i] == u' ') lastSpace = i;
      x += w;
    }
    out.push_back({lineStart, end});
    if (end >= n) break;
    start = end + 1;
    if (text[end] == u'\r' && start < n && text[start] == u'\n') ++start;
    if (start == n) {
      out.push_back({n, n});
      break;
    }
  }
  if (out.size() > 200000) out.resize(200000);
  return out;
}

}  // namespace

Size CRichEditUI::GetScrollRange() const {
  Rect area = m_rcItem.Deflate(m_rcTextPadding);
  auto lines = BreakLines(m_sText, FontOf(this, m_iFont), area.Width());
  int content = static_cast<int>(lines.size()) * LineHeight();
  return {0, std::max(0, content - area.Height())};
}

void CRichEditUI::SetScrollPos(Size pos) {
  Size range = GetScrollRange();
  pos.cx = std::clamp(pos.cx, 0, range.cx);
  pos.cy = std::clamp(pos.cy, 0, range.cy);
  if (pos == m_szScroll) return;
  m_szScroll = pos;
  Invalidate();
}

void CRichEditUI::EndDown() { SetScrollPos({0, GetScrollRange().cy}); }

void CRichEditUI::SetPos(const Rect& rc) {
  CEditUI::SetPos(rc);
  Size range = GetScrollRange();
  m_szScroll.cy = std::clamp(m_szScroll.cy, 0, range.cy);
}

void CRichEditUI::OnKey(TEventUI& event) {
  if (event.chKey == VK_RETURN) {
    if (m_bWantReturn && !m_bReadOnly) InsertTyped(u"\n");
    return;
  }
  if (event.chKey == VK_UP || event.chKey == VK_DOWN) {
    // Move by one logical line, keeping the column.
    int lineStart = static_cast<int>(m_sText.rfind(u'\n', m_iCaret > 0 ? m_iCaret - 1 : 0));
    if (m_iCaret == 0 || lineStart == static_cast<int>(std::u16string::npos)) lineStart = -1;
    int column = m_iCaret - (lineStart + 1);
    if (event.chKey == VK_UP) {
      if (lineStart < 0) m_iCaret = 0;
      else {
        int prevStart = lineStart > 0 ? static_cast<int>(m_sText.rfind(u'\n', lineStart - 1)) : -1;
        if (prevStart == static_cast<int>(std::u16string::npos)) prevStart = -1;
        m_iCaret = std::min(prevStart + 1 + column, lineStart);
      }
    } else {
      std::size_t next = m_sText.find(u'\n', m_iCaret);
      if (next == std::u16string::npos) m_iCaret = static_cast<int>(m_sText.size());
      else {
        std::size_t nextEnd = m_sText.find(u'\n', next + 1);
        int limit = nextEnd == std::u16string::npos ? static_cast<int>(m_sText.size()) : static_cast<int>(nextEnd);
        m_iCaret = std::min(static_cast<int>(next) + 1 + column, limit);
      }
    }
    if (!(event.wKeyState & kModShift)) m_iAnchor = m_iCaret;
    Invalidate();
    return;
  }
  if (event.chKey == VK_TAB) return;
  CEditUI::OnKey(event);
}

void CRichEditUI::DoEvent(TEventUI& event) {
  if (event.Type == EventType::kScrollWheel) {
    int notches = static_cast<int>(static_cast<std::intptr_t>(event.wParam)) / 120;
    if (notches == 0) notches = static_cast<std::intptr_t>(event.wParam) > 0 ? 1 : -1;
    Size before = m_szScroll;
    SetScrollPos({m_szScroll.cx, m_szScroll.cy - notches * 3 * LineHeight()});
    if (before == m_szScroll && m_pParent) m_pParent->DoEvent(event);
    return;
  }
  if (event.Type == EventType::kButtonDown || event.Type == EventType::kMouseMove) {
    if (event.Type == EventType::kMouseMove && !m_bSelecting) {
      CLabelUI::DoEvent(event);
      return;
    }
    if (event.Type == EventType::kButtonDown && !IsEnabled()) return;
    // Caret from a point over several lines.
    Rect area = m_rcItem.Deflate(m_rcTextPadding);
    const FontSpec& font = FontOf(this, m_iFont);
    auto lines = BreakLines(m_sText, font, area.Width());
    int row = (event.ptMouse.y - area.top + m_szScroll.cy) / std::max(1, LineHeight());
    row = std::clamp(row, 0, static_cast<int>(lines.size()) - 1);
    const VisualLine& line = lines[row];
    int x = event.ptMouse.x - area.left;
    int pos = line.end;
    const Platform& platform = CurrentPlatform();
    for (int i = line.start; i < line.end; ++i) {
      int w = platform.TextWidth(font, std::u16string_view(m_sText).substr(line.start, i + 1 - line.start));
      if (w >= x) {
        pos = i;
        break;
      }
    }
    m_iCaret = pos;
    if (event.Type == EventType::kButtonDown) {
      m_iAnchor = pos;
      m_bSelecting = true;
    }
    Invalidate();
    return;
  }
  CEditUI::DoEvent(event);
}

bool CRichEditUI::SetAttribute(std::u16string_view name, std::u16string_view value) {
  if (name == u"wantreturn") {
    if (auto b = ParseBool(value)) SetWantReturn(*b);
    return true;
  }
  if (name == u"vscrollbar" || name == u"autovscroll" || name == u"rich" || name == u"multiline") return true;
  return CEditUI::SetAttribute(name, value);
}

void CRichEditUI::PaintText(PaintList& list) {
  Rect area = m_rcItem.Deflate(m_rcTextPadding);
  int fontIndex = m_pManager ? m_pManager->Resources().FontIndex(m_iFont) : 0;
  const FontSpec& font = FontOf(this, m_iFont);
  if (m_sText.empty()) PaintPrompt(list, area, fontIndex, DT_LEFT | DT_TOP | DT_WORDBREAK);
  auto lines = BreakLines(m_sText, font, area.Width());
  int lh = LineHeight();
  DrawOp clip;
  clip.kind = DrawKind::kPushClip;
  clip.rect = area;
  clip.control = this;
  list.ops.push_back(clip);
  const Platform& platform = CurrentPlatform();
  bool editing = IsFocused() && IsEnabled();
  int selA = std::min(m_iAnchor, m_iCaret), selB = std::max(m_iAnchor, m_iCaret);
  int first = std::max(0, m_szScroll.cy / lh);
  for (int row = first; row < static_cast<int>(lines.size()); ++row) {
    int top = area.top + row * lh - m_szScroll.cy;
    if (top >= area.bottom) break;
    const VisualLine& line = lines[row];
    std::u16string_view lineText = std::u16string_view(m_sText).substr(line.start, line.end - line.start);
    if (editing && selA != selB && selB > line.start && selA <= line.end) {
      int a = std::max(selA, line.start), b = std::min(selB, line.end);
      int xa = platform.TextWidth(font, std::u16string_view(m_sText).substr(line.start, a - line.start));
      int xb = platform.TextWidth(font, std::u16string_view(m_sText).substr(line.start, b - line.start));
      list.AddFill(this, {area.left + xa, top, area.left + xb + (b == line.end && selB > line.end ? 4 : 0), top + lh},
                   Theme(this, u"selection", 0x551F6FEB));
    }
    if (!lineText.empty()) {
      DrawOp op;
      op.kind = DrawKind::kText;
      op.rect = {area.left, top, area.right, top + lh};
      op.text = std::u16string(lineText);
      op.color = CurrentTextColor();
      op.font = fontIndex;
      op.format = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
      op.control = this;
      list.ops.push_back(std::move(op));
    }
    if (editing && !m_bReadOnly && m_iCaret >= line.start && m_iCaret <= line.end &&
        (m_iCaret < line.end || row + 1 == static_cast<int>(lines.size()) || lines[row + 1].start != line.end)) {
      int x = area.left + platform.TextWidth(font, std::u16string_view(m_sText).substr(line.start, m_iCaret - line.start));
      DrawOp caret;
      caret.kind = DrawKind::kCaret;
      caret.rect = {x, top + 1, x + 1, top + lh - 1};
      caret.color = CurrentTextColor();
      caret.control = this;
      list.ops.push_back(caret);
    }
  }
  DrawOp pop;
  pop.kind = DrawKind::kPopClip;
  pop.control = this;
  list.ops.push_back(pop);
}

}  // namespace tk

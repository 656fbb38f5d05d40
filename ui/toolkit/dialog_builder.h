// CDialogBuilder: builds a control tree from a skin file.
//
// A skin file is XML (UTF-8). Its root is <Window> (a whole window: the
// attributes size, caption, sizebox, mininfo, maxinfo, roundcorner, bkcolor
// apply to the paint manager) or any control element (a piece of a window,
// built to be inserted somewhere). Inside <Window>: <Include source="..."/>,
// <Font>, <Color>, <Style>, <Default> (resources, see resources.h) and one
// root control. Control elements are the class names without "C...UI":
// Control, Container, VerticalLayout, HorizontalLayout, TabLayout, Label,
// Text, Button, Option, CheckBox, Edit, RichEdit, Combo, List, ListHeader,
// ListHeaderItem, ListContainerElement, ListLabelElement, WebBrowser; each
// attribute goes through the control's attribute setter (style first,
// then the others in order).
//
// Inside a container, <Include source="piece.xml" count="n"/> builds the
// piece's control there (n times; includes nest at most kMaxIncludeDepth
// deep, so a file that includes itself ends).
//
// Before the file itself, the theme "theme.xml" of the skin folder is
// merged into the paint manager's resources (once per window).
//
// Create never throws and never crashes: a missing, empty, malformed,
// oversized (> 4 MiB), too deeply nested (> 64 levels) or otherwise hostile
// file gives null (and GetLastError says why); unknown elements and
// attributes are skipped.
#pragma once

#include <string>
#include <string_view>

namespace tk {

class CControlUI;
class CContainerUI;
class CPaintManagerUI;

// Makes controls for element names the toolkit does not know.
class IDialogBuilderCallback {
 public:
  virtual ~IDialogBuilderCallback() = default;
  virtual CControlUI* CreateControl(std::u16string_view className) = 0;
};

class CDialogBuilder {
 public:
  // Builds the tree of `skinFile` (relative to the paint manager's skin
  // folder, or absolute). With `parent`, the built controls are also added
  // to it. Returns the root control (owned by the caller unless added to a
  // parent or attached to a window), or null.
  CControlUI* Create(std::u16string_view skinFile, CPaintManagerUI* manager,
                     IDialogBuilderCallback* callback = nullptr, CControlUI* parent = nullptr);
  // The same from XML text in memory (`name` is used in messages).
  CControlUI* CreateFromText(std::string_view xml, CPaintManagerUI* manager,
                             IDialogBuilderCallback* callback = nullptr, CControlUI* parent = nullptr,
                             std::u16string_view name = u"");
  // Why the last Create returned null (empty after a success).
  const std::u16string& GetLastError() const { return m_sError; }

  // Limits of a skin file.
  static constexpr std::size_t kMaxFileBytes = 4u << 20;
  static constexpr int kMaxDepth = 64;
  static constexpr int kMaxControls = 20000;
  static constexpr int kMaxIncludeDepth = 4;

 private:
  std::u16string m_sError;
};

// Creates a control object from its skin class name ("Button", "List", ...);
// null for an unknown name.
CControlUI* CreateControlByClass(std::u16string_view className);

}  // namespace tk

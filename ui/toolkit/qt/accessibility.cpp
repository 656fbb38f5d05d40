#include "ui/toolkit/qt/accessibility.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include "ui/toolkit/toolkit.h"
#include "ui/toolkit/qt/native_window.h"
#include "ui/toolkit/qt/qt_backend.h"

namespace tk::qt {
namespace {

QString ToQ(std::u16string_view s) {
  return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}

QString StripMarkup(const QString& text) {
  static const QRegularExpression newline(QStringLiteral("\\{n\\}"));
  static const QRegularExpression tag(QStringLiteral("\\{/?[a-z](?:\\s[^}]*)?\\}"));
  QString out = text;
  out.replace(newline, QStringLiteral(" "));
  out.replace(tag, QString());
  return out;
}

bool ShowsHtml(CControlUI* control) {
  if (auto* label = dynamic_cast<CLabelUI*>(control); label && label->IsShowHtml()) return true;
  for (CControlUI* p = control->GetParent(); p; p = p->GetParent())
    if (auto* list = dynamic_cast<CListUI*>(p)) return list->ItemShowHtml();
  return false;
}

QString VisibleText(CControlUI* control) {
  QString text = ToQ(control->GetText());
  return ShowsHtml(control) ? StripMarkup(text) : text;
}

bool IsListItem(CControlUI* c) { return dynamic_cast<IListItemUI*>(c) != nullptr; }

bool EnabledWithAncestors(CControlUI* c) {
  for (; c; c = c->GetParent())
    if (!c->IsEnabled()) return false;
  return true;
}

// The part of the control not cut away by its ancestors (scrolling).
Rect VisiblePart(CControlUI* c) {
  Rect r = c->GetPos();
  for (CControlUI* p = c->GetParent(); p; p = p->GetParent()) {
    CContainerUI* container = p->AsContainer();
    const Rect client = container ? container->GetClientRect() : Rect{};
    r = r.Intersect(client.IsEmpty() ? p->GetPos() : client);
  }
  return r;
}

// The texts of the shown labels inside a list item, for its name.
QString ItemText(CControlUI* item) {
  QStringList parts;
  item->FindControlIf([&](CControlUI* c) {
    if (c != item && c->IsShown() && dynamic_cast<CLabelUI*>(c) && !dynamic_cast<CButtonUI*>(c) &&
        !dynamic_cast<CEditUI*>(c)) {
      const QString t = VisibleText(c).trimmed();
      if (!t.isEmpty()) parts << t;
    }
    return parts.size() >= 8;
  });
  return parts.join(QLatin1Char(' '));
}

const QString kSelectAction = QStringLiteral("select");
const QString kActivateAction = QStringLiteral("activate");

// Runs an input event or an action the way user input runs: inside a
// dispatch, so a handler may remove the very control it came from.
template <typename Fn>
void Dispatch(CPaintManagerUI* manager, Fn&& fn) {
  if (manager) manager->BeginDispatch();
  fn();
  if (manager) manager->EndDispatch();
}

}  // namespace

// ---------------------------------------------------------------------------
// One control.

class ControlAccessible : public QAccessibleInterface,
                          public QAccessibleActionInterface,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface {
 public:
  struct Snapshot {
    QString name, description, text;
    bool shown = false, enabled = true, checked = false, selected = false;
  };

  ControlAccessible(WindowAccessibility* tree, CControlUI* control) : m_tree(tree), m_control(control) {}

  void SetId(QAccessible::Id id) {
    m_id = id;
    m_snapshot = Take();
  }
  CControlUI* Control() const { return m_control; }
  Snapshot& LastSnapshot() { return m_snapshot; }
  void Detach() { m_tree = nullptr; }

  Snapshot Take() const {
    Snapshot s;
    s.name = text(QAccessible::Name);
    s.description = text(QAccessible::Description);
    s.shown = m_control->IsShown();
    s.enabled = EnabledWithAncestors(m_control);
    if (auto* option = dynamic_cast<COptionUI*>(m_control)) s.checked = option->IsSelected();
    if (auto* item = dynamic_cast<IListItemUI*>(m_control)) s.selected = item->IsSelected();
    if (Edit()) s.text = DisplayedText();
    return s;
  }

  // ---- QAccessibleInterface ----
  bool isValid() const override { return m_tree && m_tree->IsLive(m_control, m_id); }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override {
    return m_tree && m_tree->Widget() ? m_tree->Widget()->windowHandle() : nullptr;
  }

  QAccessibleInterface* parent() const override {
    if (!isValid()) return nullptr;
    if (CControlUI* p = WindowAccessibility::AccessibleParent(m_control)) return m_tree->InterfaceFor(p);
    return QAccessible::queryAccessibleInterface(m_tree->Widget());
  }
  QAccessibleInterface* child(int index) const override {
    if (!isValid() || index < 0) return nullptr;
    if (QWidget* page = WebPage()) return index == 0 ? QAccessible::queryAccessibleInterface(page) : nullptr;
    const auto children = WindowAccessibility::AccessibleChildren(m_control);
    return index < static_cast<int>(children.size()) ? m_tree->InterfaceFor(children[index]) : nullptr;
  }
  int childCount() const override {
    if (!isValid()) return 0;
    if (WebPage()) return 1;
    return static_cast<int>(WindowAccessibility::AccessibleChildren(m_control).size());
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (!isValid() || !child) return -1;
    if (QWidget* page = WebPage()) return QAccessible::queryAccessibleInterface(page) == child ? 0 : -1;
    const auto children = WindowAccessibility::AccessibleChildren(m_control);
    for (int i = 0; i < static_cast<int>(children.size()); ++i)
      if (m_tree->ExistingInterface(children[i]) == child) return i;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    if (!isValid()) return nullptr;
    for (CControlUI* c : WindowAccessibility::AccessibleChildren(m_control)) {
      if (!c->IsShown()) continue;
      if (GlobalRect(VisiblePart(c)).contains(x, y)) return m_tree->InterfaceFor(c);
    }
    return nullptr;
  }

  QString text(QAccessible::Text t) const override {
    if (!isValid()) return {};
    switch (t) {
      case QAccessible::Name: {
        if (auto* edit = Edit()) {
          if (!edit->GetPromptText().empty()) return ToQ(edit->GetPromptText());
          return ToQ(edit->GetToolTip());
        }
        QString name = IsListItem(m_control) && m_control->AsContainer() ? ItemText(m_control) : VisibleText(m_control);
        if (dynamic_cast<CLabelUI*>(m_control) || IsListItem(m_control) || dynamic_cast<CComboUI*>(m_control))
          name = name.trimmed();
        else
          name.clear();  // a container's text is not shown
        if (name.isEmpty()) name = ToQ(m_control->GetToolTip());
        return name;
      }
      case QAccessible::Description:
        return ToQ(m_control->GetName());
      case QAccessible::Value:
        if (Edit()) return DisplayedText();
        if (dynamic_cast<CComboUI*>(m_control)) return ToQ(m_control->GetText());
        return {};
      case QAccessible::Help:
        return ToQ(m_control->GetToolTip());
      default:
        return {};
    }
  }
  void setText(QAccessible::Text t, const QString& text) override {
    if (t == QAccessible::Value && Edit()) replaceText(0, characterCount(), text);
  }

  QRect rect() const override {
    if (!isValid()) return {};
    const Rect visible = VisiblePart(m_control);
    return GlobalRect(visible.IsEmpty() ? m_control->GetPos() : visible);
  }

  QAccessible::Role role() const override {
    CControlUI* c = m_control;
    if (!isValid()) return QAccessible::NoRole;
    if (dynamic_cast<CEditUI*>(c)) return QAccessible::EditableText;
    if (dynamic_cast<CComboUI*>(c)) return QAccessible::ComboBox;
    if (dynamic_cast<CListUI*>(c)) return QAccessible::List;
    if (IsListItem(c)) return QAccessible::ListItem;
    if (dynamic_cast<CCheckBoxUI*>(c)) return QAccessible::CheckBox;
    if (auto* option = dynamic_cast<COptionUI*>(c))
      return option->GetGroup().empty() ? QAccessible::CheckBox : QAccessible::RadioButton;
    if (dynamic_cast<CButtonUI*>(c)) return QAccessible::PushButton;
    if (dynamic_cast<CTabLayoutUI*>(c)) return QAccessible::PageTabList;
    if (c->GetParent() && dynamic_cast<CTabLayoutUI*>(c->GetParent())) return QAccessible::PageTab;
    if (dynamic_cast<CWebBrowserUI*>(c)) return QAccessible::WebDocument;
    if (dynamic_cast<CLabelUI*>(c)) return QAccessible::StaticText;
    if (c->AsContainer()) return c->GetName().empty() ? QAccessible::Client : QAccessible::Grouping;
    if (!c->GetBkImage().empty()) return QAccessible::Graphic;
    return c->GetName().empty() ? QAccessible::Client : QAccessible::Grouping;
  }

  QAccessible::State state() const override {
    QAccessible::State s;
    if (!isValid()) {
      s.invalid = true;
      return s;
    }
    CControlUI* c = m_control;
    const bool shown = c->IsShown();
    // Qt's bridge drops "visible" along with "showing" for offscreen
    // controls; a list item scrolled out of view stays findable.
    s.invisible = !shown;
    s.offscreen = !shown;
    s.disabled = !EnabledWithAncestors(c);
    s.focusable = c->IsFocusable();
    s.focused = c->IsFocused();
    s.hotTracked = (c->GetState() & UISTATE_HOT) != 0;
    s.pressed = (c->GetState() & UISTATE_PUSHED) != 0;
    if (auto* option = dynamic_cast<COptionUI*>(c)) {
      s.checkable = true;
      s.checked = option->IsSelected();
    }
    if (auto* item = dynamic_cast<IListItemUI*>(c)) {
      s.selectable = true;
      s.selected = item->IsSelected();
      s.expandable = false;
    }
    if (auto* tabs = c->GetParent() ? dynamic_cast<CTabLayoutUI*>(c->GetParent()) : nullptr) {
      s.selectable = true;
      s.selected = tabs->GetCurSel() == tabs->GetItemIndex(c);
    }
    if (auto* edit = Edit()) {
      s.editable = !edit->IsReadOnly();
      s.readOnly = edit->IsReadOnly();
      s.passwordEdit = edit->IsPasswordMode();
      s.multiLine = dynamic_cast<CRichEditUI*>(c) != nullptr;
      s.selectableText = true;
    } else if (dynamic_cast<CLabelUI*>(c) && !dynamic_cast<CButtonUI*>(c)) {
      s.readOnly = true;
    }
    return s;
  }

  void* interface_cast(QAccessible::InterfaceType type) override {
    switch (type) {
      case QAccessible::ActionInterface:
        return static_cast<QAccessibleActionInterface*>(this);
      case QAccessible::TextInterface:
        if (HasText()) return static_cast<QAccessibleTextInterface*>(this);
        return nullptr;
      case QAccessible::EditableTextInterface:
        if (Edit()) return static_cast<QAccessibleEditableTextInterface*>(this);
        return nullptr;
      default:
        return nullptr;
    }
  }

  // ---- Actions ----
  QStringList actionNames() const override {
    if (!isValid()) return {};
    CControlUI* c = m_control;
    if (IsListItem(c)) return {kSelectAction, kActivateAction};
    if (Edit()) return {setFocusAction()};
    if (dynamic_cast<CButtonUI*>(c) || dynamic_cast<CComboUI*>(c)) return {pressAction()};
    return {};
  }
  QString localizedActionName(const QString& name) const override {
    if (name == kSelectAction) return QStringLiteral("选择");
    if (name == kActivateAction) return QStringLiteral("打开");
    return QAccessibleActionInterface::localizedActionName(name);
  }
  QString localizedActionDescription(const QString& name) const override { return localizedActionName(name); }
  void doAction(const QString& name) override {
    if (!isValid() || !actionNames().contains(name)) return;
    Later([name](CControlUI* c, CPaintManagerUI* manager) {
      Dispatch(manager, [&] {
        auto* item = dynamic_cast<IListItemUI*>(c);
        auto* combo = item ? dynamic_cast<CComboUI*>(c->GetParent()) : nullptr;
        if (name == kSelectAction && combo) {
          combo->SelectItem(item->GetIndex());  // as choosing it from the drop-down
        } else if (name == kSelectAction) {
          PressLikeMouse(c, manager);
        } else if (name == kActivateAction) {
          c->Activate();
        } else if (name == QAccessibleActionInterface::setFocusAction()) {
          c->SetFocus();
        } else if (auto* combo = dynamic_cast<CComboUI*>(c)) {
          combo->DropDown();
        } else {
          c->Activate();
        }
      });
    });
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

  // ---- Text ----
  void selection(int, int* startOffset, int* endOffset) const override { *startOffset = *endOffset = 0; }
  int selectionCount() const override { return 0; }
  void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
  void removeSelection(int) override {}
  void setSelection(int, int startOffset, int endOffset) override {
    Later([startOffset, endOffset](CControlUI* c, CPaintManagerUI*) {
      if (auto* edit = dynamic_cast<CEditUI*>(c)) edit->SetSel(startOffset, endOffset);
    });
  }
  int cursorPosition() const override {
    auto* edit = Edit();
    return edit ? edit->GetCaret() : 0;
  }
  void setCursorPosition(int position) override { setSelection(0, position, position); }
  QString text(int startOffset, int endOffset) const override {
    const QString t = DisplayedText();
    startOffset = std::clamp(startOffset, 0, static_cast<int>(t.size()));
    endOffset = endOffset < 0 ? static_cast<int>(t.size()) : std::clamp(endOffset, startOffset, static_cast<int>(t.size()));
    return t.mid(startOffset, endOffset - startOffset);
  }
  int characterCount() const override { return static_cast<int>(DisplayedText().size()); }
  QRect characterRect(int offset) const override {
    const QRect r = rect();
    const int count = std::max(1, characterCount());
    const int w = r.width() / count;
    return QRect(r.left() + w * std::clamp(offset, 0, count - 1), r.top(), std::max(1, w), r.height());
  }
  int offsetAtPoint(const QPoint&) const override { return -1; }
  void scrollToSubstring(int, int) override {}
  QString attributes(int, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
  }

  // ---- Editable text (as typed: focus first, limits of the edit apply) ----
  void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, QString()); }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int startOffset, int endOffset, const QString& text) override {
    const std::u16string value = text.toStdU16String();
    Later([startOffset, endOffset, value](CControlUI* c, CPaintManagerUI* manager) {
      auto* edit = dynamic_cast<CEditUI*>(c);
      if (!edit || edit->IsReadOnly() || !edit->IsEnabled()) return;
      Dispatch(manager, [&] {
        if (!edit->IsFocused()) edit->SetFocus();
        edit->SetSel(startOffset, endOffset);
        edit->ReplaceSel(value);
      });
    });
  }

 private:
  CEditUI* Edit() const { return isValid() ? dynamic_cast<CEditUI*>(m_control) : nullptr; }
  // The engine's view of a browser control, once its page was shown: the
  // page itself is reachable through it.
  QWidget* WebPage() const {
    auto* browser = dynamic_cast<CWebBrowserUI*>(m_control);
    return browser ? WebViewWidget(browser->GetNativeView()) : nullptr;
  }
  bool HasText() const {
    return isValid() && dynamic_cast<CLabelUI*>(m_control) && !dynamic_cast<CButtonUI*>(m_control);
  }
  QString DisplayedText() const {
    if (!isValid()) return {};
    if (auto* edit = dynamic_cast<CEditUI*>(m_control)) {
      const std::u16string t = edit->GetText();
      if (edit->IsPasswordMode()) return QString(static_cast<qsizetype>(t.size()), QChar(0x25CF));
      return ToQ(t);
    }
    return VisibleText(m_control);
  }
  QRect GlobalRect(const Rect& r) const {
    QWidget* w = m_tree ? m_tree->Widget() : nullptr;
    if (!w) return {};
    return QRect(w->mapToGlobal(QPoint(r.left, r.top)), QSize(r.Width(), r.Height()));
  }

  // Runs fn on the UI thread later, if the control is still there then.
  template <typename Fn>
  void Later(Fn fn) const {
    if (!isValid()) return;
    WindowAccessibility* tree = m_tree;
    CControlUI* control = m_control;
    const QAccessible::Id id = m_id;
    QPointer<QWidget> widget = tree->Widget();
    PostToUiThread([widget, tree, control, id, fn = std::move(fn)] {
      if (!widget || !tree->IsLive(control, id)) return;
      fn(control, tree->Manager());
    });
  }

  // What a press of the left button on the control does.
  static void PressLikeMouse(CControlUI* c, CPaintManagerUI* manager) {
    TEventUI event;
    event.pSender = c;
    event.ptMouse = c->GetPos().Center();
    event.dwTimestamp = manager ? CPaintManagerUI::Now() : 0;
    event.Type = EventType::kButtonDown;
    event.wParam = MK_LBUTTON;
    c->DoEvent(event);
    event.Type = EventType::kButtonUp;
    event.wParam = 0;
    c->DoEvent(event);
  }

  WindowAccessibility* m_tree;
  CControlUI* m_control;
  QAccessible::Id m_id = 0;
  Snapshot m_snapshot;
};

// ---------------------------------------------------------------------------
// The window.

namespace {

class WindowAccessible : public QAccessibleWidget {
 public:
  explicit WindowAccessible(SkinWidget* widget) : QAccessibleWidget(widget, QAccessible::Window) {}

  WindowAccessibility* Tree() const { return SkinWidget::AccessibilityOf(object()); }
  int childCount() const override {
    WindowAccessibility* tree = Tree();
    return tree && tree->Root() ? 1 : 0;
  }
  QAccessibleInterface* child(int index) const override {
    WindowAccessibility* tree = Tree();
    return index == 0 && tree ? tree->InterfaceFor(tree->Root()) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    WindowAccessibility* tree = Tree();
    return tree && child && tree->ExistingInterface(tree->Root()) == child ? 0 : -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    QAccessibleInterface* root = child(0);
    return root && root->rect().contains(x, y) ? root : nullptr;
  }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
  if (auto* widget = dynamic_cast<SkinWidget*>(object)) return new WindowAccessible(widget);
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(Factory);
}

// ---------------------------------------------------------------------------
// WindowAccessibility

WindowAccessibility::WindowAccessibility(QWidget* widget, HWND hwnd)
    : m_widget(widget), m_hwnd(hwnd), m_alive(std::make_shared<bool>(true)) {}

WindowAccessibility::~WindowAccessibility() { Shutdown(); }

void WindowAccessibility::Shutdown() {
  if (m_shutdown) return;
  m_shutdown = true;
  *m_alive = false;
  m_pending.clear();
  const auto ids = m_ids;
  m_ids.clear();
  for (const auto& [control, id] : ids) {
    if (auto* iface = static_cast<ControlAccessible*>(QAccessible::accessibleInterface(id))) iface->Detach();
    QAccessible::deleteAccessibleInterface(id);
  }
}

bool WindowAccessibility::Active() const { return !m_shutdown && QAccessible::isActive(); }

CPaintManagerUI* WindowAccessibility::Manager() const {
  if (m_shutdown) return nullptr;
  CWindowWnd* window = CWindowWnd::FromHandle(m_hwnd);
  return window ? window->GetPaintManager() : nullptr;
}

CControlUI* WindowAccessibility::Root() const {
  CPaintManagerUI* manager = Manager();
  return manager ? manager->GetRoot() : nullptr;
}

bool WindowAccessibility::IsLive(const CControlUI* control, QAccessible::Id id) const {
  if (m_shutdown) return false;
  auto it = m_ids.find(control);
  return it != m_ids.end() && it->second == id;
}

QAccessibleInterface* WindowAccessibility::ExistingInterface(const CControlUI* control) const {
  auto it = m_ids.find(control);
  return it == m_ids.end() ? nullptr : QAccessible::accessibleInterface(it->second);
}

QAccessibleInterface* WindowAccessibility::InterfaceFor(CControlUI* control) {
  if (!control || m_shutdown) return nullptr;
  if (QAccessibleInterface* existing = ExistingInterface(control)) return existing;
  // Only controls of this window's tree get an identity.
  CPaintManagerUI* manager = Manager();
  if (!manager || control->GetManager() != manager) return nullptr;
  auto* iface = new ControlAccessible(this, control);
  m_ids[control] = 0;  // live while registering (isValid is asked)
  const QAccessible::Id id = QAccessible::registerAccessibleInterface(iface);
  m_ids[control] = id;
  iface->SetId(id);
  return iface;
}

CControlUI* WindowAccessibility::AccessibleParent(CControlUI* control) {
  CControlUI* parent = control->GetParent();
  if (parent && dynamic_cast<CListBodyUI*>(parent)) parent = parent->GetParent();
  return parent;
}

std::vector<CControlUI*> WindowAccessibility::AccessibleChildren(CControlUI* control) {
  std::vector<CControlUI*> out;
  if (auto* list = dynamic_cast<CListUI*>(control)) {
    if (CListHeaderUI* header = list->GetHeader(); header && header->IsVisible()) out.push_back(header);
    const int count = list->GetCount();
    out.reserve(out.size() + static_cast<std::size_t>(std::max(0, count)));
    for (int i = 0; i < count; ++i)
      if (CControlUI* item = list->GetItemAt(i)) out.push_back(item);
    return out;
  }
  if (CContainerUI* container = control->AsContainer()) out = container->Children();
  return out;
}

void WindowAccessibility::ScheduleFlush() {
  if (m_flushScheduled) return;
  m_flushScheduled = true;
  std::weak_ptr<bool> alive = m_alive;
  QPointer<QWidget> widget = m_widget;
  PostToUiThread([this, alive, widget] {
    if (alive.expired() || !*alive.lock() || !widget) return;
    Flush();
  });
}

void WindowAccessibility::Flush() {
  m_flushScheduled = false;
  if (!Active()) {
    m_pending.clear();
    return;
  }
  std::vector<CControlUI*> tops;
  for (CControlUI* c : m_pending) {
    CControlUI* parent = AccessibleParent(c);
    bool coveredByPending = false;
    for (CControlUI* p = parent; p; p = AccessibleParent(p))
      if (m_pending.count(p)) {
        coveredByPending = true;
        break;
      }
    if (!coveredByPending) tops.push_back(c);
  }
  m_pending.clear();
  for (CControlUI* c : tops) {
    if (QAccessibleInterface* iface = InterfaceFor(c)) {
      QAccessibleEvent event(iface, QAccessible::ObjectCreated);
      QAccessible::updateAccessibility(&event);
    }
  }
}

void WindowAccessibility::ControlAdded(CControlUI* control) {
  if (!Active()) return;
  m_pending.insert(control);
  ScheduleFlush();
}

void WindowAccessibility::Forget(CControlUI* control) {
  m_pending.erase(control);
  auto it = m_ids.find(control);
  if (it == m_ids.end()) return;
  const QAccessible::Id id = it->second;
  m_ids.erase(it);
  if (auto* iface = static_cast<ControlAccessible*>(QAccessible::accessibleInterface(id))) iface->Detach();
  QAccessible::deleteAccessibleInterface(id);
}

void WindowAccessibility::ControlRemoved(CControlUI* control) {
  if (m_shutdown) return;
  m_pending.erase(control);
  if (m_ids.find(control) == m_ids.end()) return;
  // Announced for the top of the removed subtree only (its parent is still
  // known); the interfaces of the whole subtree go.
  CControlUI* parent = AccessibleParent(control);
  const bool parentStays = parent && m_ids.count(parent);
  if (Active() && parentStays) {
    if (QAccessibleInterface* iface = ExistingInterface(control)) {
      QAccessibleEvent event(iface, QAccessible::ObjectDestroyed);
      QAccessible::updateAccessibility(&event);
    }
  }
  control->FindControlIf([this](CControlUI* c) {
    Forget(c);
    return false;
  });
  Forget(control);
}

void WindowAccessibility::ControlChanged(CControlUI* control) {
  if (!Active()) return;
  auto it = m_ids.find(control);
  if (it == m_ids.end()) return;
  auto* iface = static_cast<ControlAccessible*>(QAccessible::accessibleInterface(it->second));
  if (!iface) return;
  ControlAccessible::Snapshot& last = iface->LastSnapshot();
  const ControlAccessible::Snapshot now = iface->Take();
  if (now.shown != last.shown) {
    QAccessibleEvent event(iface, now.shown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
    QAccessible::updateAccessibility(&event);
  }
  if (now.name != last.name) {
    QAccessibleEvent event(iface, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
  }
  if (now.description != last.description) {
    QAccessibleEvent event(iface, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
  }
  if (now.enabled != last.enabled) {
    QAccessible::State changed;
    changed.disabled = true;
    QAccessibleStateChangeEvent event(iface, changed);
    QAccessible::updateAccessibility(&event);
  }
  if (now.checked != last.checked) {
    QAccessible::State changed;
    changed.checked = true;
    QAccessibleStateChangeEvent event(iface, changed);
    QAccessible::updateAccessibility(&event);
  }
  if (now.selected != last.selected) {
    QAccessibleEvent event(iface, now.selected ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
    QAccessible::updateAccessibility(&event);
  }
  if (now.text != last.text) {
    QAccessibleTextUpdateEvent event(iface, 0, last.text, now.text);
    QAccessible::updateAccessibility(&event);
  }
  last = now;
}

void WindowAccessibility::FocusChanged(CControlUI* control) {
  if (!Active() || !control) return;
  if (QAccessibleInterface* iface = InterfaceFor(control)) {
    QAccessibleEvent event(iface, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
  }
}

}  // namespace tk::qt

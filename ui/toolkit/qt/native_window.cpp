#include "native_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <QWindow>

#include <unordered_set>

#include "ui/toolkit/edit.h"
#include "ui/toolkit/qt/key_map.h"
#include "ui/toolkit/qt/paint_renderer.h"
#include "ui/toolkit/qt/tray_icon.h"
#include "ui/toolkit/window.h"

namespace tk::qt {
namespace {

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
Rect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

Qt::CursorShape Shape(CursorKind kind) {
  switch (kind) {
    case CursorKind::kHand: return Qt::PointingHandCursor;
    case CursorKind::kIBeam: return Qt::IBeamCursor;
    case CursorKind::kSizeWE: return Qt::SizeHorCursor;
    case CursorKind::kSizeNS: return Qt::SizeVerCursor;
    case CursorKind::kSizeNWSE: return Qt::SizeFDiagCursor;
    case CursorKind::kSizeNESW: return Qt::SizeBDiagCursor;
    case CursorKind::kArrow: break;
  }
  return Qt::ArrowCursor;
}

Qt::Edges Edges(HitArea area) {
  switch (area) {
    case HitArea::kLeft: return Qt::LeftEdge;
    case HitArea::kTop: return Qt::TopEdge;
    case HitArea::kRight: return Qt::RightEdge;
    case HitArea::kBottom: return Qt::BottomEdge;
    case HitArea::kTopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case HitArea::kTopRight: return Qt::TopEdge | Qt::RightEdge;
    case HitArea::kBottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case HitArea::kBottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
  }
}

std::unordered_set<const QObject*>& LiveWidgets() {
  static std::unordered_set<const QObject*> live;
  return live;
}

CPaintManagerUI* ManagerOf(HWND hwnd) {
  CWindowWnd* window = CWindowWnd::FromHandle(hwnd);
  return window ? window->GetPaintManager() : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// QtNativeWindow

QtNativeWindow::QtNativeWindow(const NativeWindowParams& params, NativeWindowEvents* events)
    : m_params(params), m_widget(new SkinWidget(params, events)) {
  if (CPaintManagerUI* manager = ManagerOf(params.hwnd)) manager->SetObserver(m_widget->Accessibility());
  if (QtNativeWindow* owner = FromHandle(params.owner)) {
    // Kept above its owner without becoming its Qt child (the core decides
    // when each window goes).
    m_widget->winId();
    if (QWindow* w = m_widget->windowHandle()) w->setTransientParent(owner->Widget()->windowHandle());
  }
}

QtNativeWindow::~QtNativeWindow() {
  if (CPaintManagerUI* manager = ManagerOf(m_params.hwnd))
    if (manager->GetObserver() == m_widget->Accessibility()) manager->SetObserver(nullptr);
  // The window may go while one of its own handlers runs (a close posted
  // and handled inside a message box's loop): the widget is cut off from
  // the core now and deleted once Qt has left its handlers.
  m_widget->Detach();
  m_widget->hide();
  m_widget->deleteLater();
}

QWidget* QtNativeWindow::Widget() const { return m_widget; }

QtNativeWindow* QtNativeWindow::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  CWindowWnd* window = CWindowWnd::FromHandle(hwnd);
  return window ? dynamic_cast<QtNativeWindow*>(window->GetNativeWindow()) : nullptr;
}

void QtNativeWindow::Show(int nCmdShow) {
  QWidget* w = m_widget;
  switch (nCmdShow) {
    case SW_HIDE:
      w->hide();
      break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      w->showMinimized();
      break;
    case SW_SHOWMAXIMIZED:
      w->showMaximized();
      w->raise();
      w->activateWindow();
      break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
      w->setAttribute(Qt::WA_ShowWithoutActivating, true);
      if (nCmdShow == SW_SHOWNOACTIVATE && w->isMinimized()) w->showNormal();
      else w->show();
      w->setAttribute(Qt::WA_ShowWithoutActivating, false);
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      w->showNormal();
      w->raise();
      w->activateWindow();
      break;
    default:  // SW_SHOW, SW_SHOWDEFAULT: shown in its current state
      if (!w->isVisible()) w->show();
      w->raise();
      w->activateWindow();
      break;
  }
}

void QtNativeWindow::SetBounds(const Rect& screenRect) {
  if (screenRect.IsEmpty()) return;
  m_widget->setGeometry(ToQRect(screenRect));
  m_widget->ReportGeometry();
}

Rect QtNativeWindow::GetBounds() const { return FromQRect(m_widget->geometry()); }

void QtNativeWindow::SetTitle(std::u16string_view title) { m_widget->setWindowTitle(ToQString(title)); }

void QtNativeWindow::SetForeground() {
  if (m_widget->isMinimized()) m_widget->showNormal();
  m_widget->raise();
  m_widget->activateWindow();
}

bool QtNativeWindow::IsVisible() const { return m_widget->isVisible(); }
bool QtNativeWindow::IsMinimized() const { return m_widget->isMinimized(); }
bool QtNativeWindow::IsMaximized() const { return m_widget->isMaximized(); }

void QtNativeWindow::Invalidate(const Rect& clientRect) {
  if (clientRect.IsEmpty())
    m_widget->update();
  else
    m_widget->update(ToQRect(clientRect));
}

void QtNativeWindow::SetMinMaxSize(Size minSize, Size maxSize) {
  m_widget->setMinimumSize(std::max(0, minSize.cx), std::max(0, minSize.cy));
  m_widget->setMaximumSize(maxSize.cx > 0 ? maxSize.cx : QWIDGETSIZE_MAX,
                           maxSize.cy > 0 ? maxSize.cy : QWIDGETSIZE_MAX);
}

// ---------------------------------------------------------------------------
// SkinWidget

SkinWidget::SkinWidget(const NativeWindowParams& params, NativeWindowEvents* events)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_hwnd(params.hwnd), m_events(events) {
  setObjectName(ToQString(params.className));
  setWindowTitle(ToQString(params.title));
  setWindowIcon(DefaultAppIcon());
  setAttribute(Qt::WA_OpaquePaintEvent, true);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setAttribute(Qt::WA_QuitOnClose, false);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  if (params.exStyle & WS_EX_TOPMOST) setWindowFlag(Qt::WindowStaysOnTopHint, true);
  if (params.exStyle & WS_EX_TOOLWINDOW) setWindowFlag(Qt::Tool, true);
  if (params.minSize.cx > 0 || params.minSize.cy > 0)
    setMinimumSize(std::max(0, params.minSize.cx), std::max(0, params.minSize.cy));
  if (params.maxSize.cx > 0 || params.maxSize.cy > 0)
    setMaximumSize(params.maxSize.cx > 0 ? params.maxSize.cx : QWIDGETSIZE_MAX,
                   params.maxSize.cy > 0 ? params.maxSize.cy : QWIDGETSIZE_MAX);
  if (!params.bounds.IsEmpty()) setGeometry(ToQRect(params.bounds));
  SetRoundCorner(params.roundCorner);
  m_a11y = std::make_unique<WindowAccessibility>(this, m_hwnd);
  LiveWidgets().insert(this);
  // The core learns its first size from its own parameters.
  m_reportedSize = {width(), height()};
  m_reportedPos = {x(), y()};
}

SkinWidget::~SkinWidget() {
  LiveWidgets().erase(this);
  Detach();
}

WindowAccessibility* SkinWidget::AccessibilityOf(const QObject* object) {
  if (!object || !LiveWidgets().count(object)) return nullptr;
  return static_cast<const SkinWidget*>(object)->Accessibility();
}

void SkinWidget::Detach() {
  m_events = nullptr;
  if (m_a11y) m_a11y->Shutdown();
}

void SkinWidget::SetRoundCorner(Size round) {
  m_round = round;
  UpdateMask();
}

void SkinWidget::UpdateMask() {
  if (m_round.cx <= 0 || m_round.cy <= 0 || isMaximized()) {
    clearMask();
    return;
  }
  QPainterPath path;
  path.addRoundedRect(QRectF(rect()), m_round.cx, m_round.cy);
  setMask(QRegion(path.toFillPolygon().toPolygon()));
}

Point SkinWidget::ClientPoint(const QPointF& p) const {
  return {static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y()))};
}

UINT SkinWidget::MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) const {
  UINT keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (mods & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

void SkinWidget::UpdateCursor(Point pt) {
  if (!m_events) return;
  setCursor(Shape(m_events->OnCursor(pt)));
}

QImage SkinWidget::Render() {
  QImage image(size(), QImage::Format_ARGB32_Premultiplied);
  PaintList list;
  if (m_events) m_events->OnPaint(list, Rect{0, 0, width(), height()});
  QColor bg = QColor::fromRgba(list.background);
  image.fill(bg);
  QPainter p(&image);
  DrawPaintList(p, list);
  return image;
}

void SkinWidget::paintEvent(QPaintEvent* event) {
  QPainter p(this);
  if (!m_events) {
    p.fillRect(event->rect(), Qt::white);
    return;
  }
  m_list.ops.clear();
  m_events->OnPaint(m_list, FromQRect(event->rect()));
  p.fillRect(event->rect(), QColor::fromRgba(m_list.background));
  DrawPaintList(p, m_list);
  PaintPreedit(p);

  // Keep the input method informed: whether an edit takes text, and where
  // its caret is (the candidate window follows it).
  CPaintManagerUI* manager = ManagerOf(m_hwnd);
  const bool wantsKeys = manager && manager->FocusWantsKeys();
  const Rect caret = CaretRect(m_list);
  if (wantsKeys != testAttribute(Qt::WA_InputMethodEnabled) || !(caret == m_caret)) {
    setAttribute(Qt::WA_InputMethodEnabled, wantsKeys);
    m_caret = caret;
    if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImCursorRectangle | Qt::ImHints);
  }
}

void SkinWidget::PaintPreedit(QPainter& p) {
  if (m_preedit.isEmpty() || m_caret.IsEmpty()) return;
  // The composition, underlined, over the text after the caret.
  QFont font = QApplication::font();
  font.setPixelSize(std::max(10, m_caret.Height() - 4));
  const QFontMetrics fm(font);
  const QRect box(m_caret.left, m_caret.top, fm.horizontalAdvance(m_preedit) + 4, m_caret.Height());
  p.save();
  p.fillRect(box, QColor(0xEE, 0xF4, 0xFE));
  p.setFont(font);
  p.setPen(QColor(0x1F, 0x29, 0x37));
  p.drawText(box.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_preedit);
  p.setPen(QPen(QColor(0x1F, 0x6F, 0xEB), 1));
  p.drawLine(box.left() + 2, box.bottom(), box.right() - 2, box.bottom());
  p.restore();
}

bool SkinWidget::BeginSystemDrag(HitArea area, const QPointF& globalPos) {
  (void)globalPos;
  QWindow* w = windowHandle();
  if (!w) return false;
  if (area == HitArea::kCaption) return w->startSystemMove();
  return w->startSystemResize(Edges(area));
}

void SkinWidget::DragTo(const QPoint& globalPos) {
  const QPoint d = globalPos - m_dragStart;
  QRect g = m_dragStartGeometry;
  if (m_dragArea == HitArea::kCaption) {
    move(g.topLeft() + d);
    return;
  }
  const Qt::Edges edges = Edges(m_dragArea);
  if (edges & Qt::LeftEdge) g.setLeft(std::min(g.left() + d.x(), g.right() - minimumWidth()));
  if (edges & Qt::RightEdge) g.setRight(g.right() + d.x());
  if (edges & Qt::TopEdge) g.setTop(std::min(g.top() + d.y(), g.bottom() - minimumHeight()));
  if (edges & Qt::BottomEdge) g.setBottom(g.bottom() + d.y());
  g.setSize(g.size().expandedTo(minimumSize()).boundedTo(maximumSize()));
  setGeometry(g);
}

void SkinWidget::mousePressEvent(QMouseEvent* event) {
  if (!m_events) return;
  const Point pt = ClientPoint(event->position());
  if (event->button() == Qt::LeftButton) {
    const HitArea area = m_events->OnHitTest(pt);
    if (area != HitArea::kClient && !isMaximized()) {
      // Moving starts once the mouse moves, so a double click on the
      // caption still arrives as one.
      m_dragArea = area;
      m_dragging = false;
      m_dragStart = event->globalPosition().toPoint();
      m_dragStartGeometry = geometry();
      if (area != HitArea::kCaption && BeginSystemDrag(area, event->globalPosition())) m_dragArea = HitArea::kClient;
      return;
    }
    m_dragArea = HitArea::kClient;
    m_events->OnMouse(WM_LBUTTONDOWN, pt, MouseKeys(event->buttons(), event->modifiers()), 0);
  } else if (event->button() == Qt::RightButton) {
    m_events->OnMouse(WM_RBUTTONDOWN, pt, MouseKeys(event->buttons(), event->modifiers()), 0);
  }
}

void SkinWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_events) return;
  const Point pt = ClientPoint(event->position());
  if (event->button() == Qt::LeftButton) {
    if (m_dragArea != HitArea::kClient) {
      m_dragArea = HitArea::kClient;
      m_dragging = false;
      return;
    }
    m_events->OnMouse(WM_LBUTTONUP, pt, MouseKeys(event->buttons(), event->modifiers()), 0);
  } else if (event->button() == Qt::RightButton) {
    m_events->OnMouse(WM_RBUTTONUP, pt, MouseKeys(event->buttons(), event->modifiers()), 0);
  }
}

void SkinWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!m_events) return;
  const Point pt = ClientPoint(event->position());
  if (event->button() == Qt::LeftButton) {
    if (m_events->OnHitTest(pt) == HitArea::kCaption) {
      m_dragArea = HitArea::kClient;
      m_events->OnMouse(WM_NCLBUTTONDBLCLK, pt, 0, 0);
      return;
    }
    m_events->OnMouse(WM_LBUTTONDBLCLK, pt, MouseKeys(event->buttons(), event->modifiers()), 0);
  } else if (event->button() == Qt::RightButton) {
    m_events->OnMouse(WM_RBUTTONDOWN, pt, MouseKeys(event->buttons(), event->modifiers()), 0);
  }
}

void SkinWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!m_events) return;
  if (m_dragArea != HitArea::kClient && (event->buttons() & Qt::LeftButton)) {
    const QPoint global = event->globalPosition().toPoint();
    if (!m_dragging) {
      if ((global - m_dragStart).manhattanLength() < QApplication::startDragDistance()) return;
      m_dragging = true;
      if (BeginSystemDrag(m_dragArea, event->globalPosition())) {
        // The window manager moves the window from here on.
        m_dragArea = HitArea::kClient;
        m_dragging = false;
        return;
      }
    }
    DragTo(global);
    return;
  }
  const Point pt = ClientPoint(event->position());
  m_events->OnMouse(WM_MOUSEMOVE, pt, MouseKeys(event->buttons(), event->modifiers()), 0);
  if (m_events) UpdateCursor(pt);
}

void SkinWidget::wheelEvent(QWheelEvent* event) {
  if (!m_events) return;
  const int delta = event->angleDelta().y();
  if (delta == 0) return;
  m_events->OnMouse(WM_MOUSEWHEEL, ClientPoint(event->position()), MouseKeys(event->buttons(), event->modifiers()), delta);
}

void SkinWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (m_events) m_events->OnMouse(WM_MOUSELEAVE, {}, 0, 0);
}

void SkinWidget::keyPressEvent(QKeyEvent* event) {
  if (!m_events) return;
  const UINT mods = Modifiers(*event);
  if (const UINT vk = VirtualKey(*event)) m_events->OnKey(WM_KEYDOWN, vk, mods);
  // Typed text, as Windows' WM_CHAR: printable units only (Backspace,
  // Return, Tab and Escape act through their key codes), none while Alt
  // or Control is held.
  if (!m_events || (mods & (kModAlt | kModControl))) return;
  const QString text = event->text();
  for (QChar ch : text) {
    const char16_t unit = ch.unicode();
    if (unit < 0x20 || unit == 0x7F) continue;
    if (!m_events) return;
    m_events->OnKey(WM_CHAR, unit, mods);
  }
}

void SkinWidget::keyReleaseEvent(QKeyEvent* event) {
  if (!m_events || event->isAutoRepeat()) return;
  if (const UINT vk = VirtualKey(*event)) m_events->OnKey(WM_KEYUP, vk, Modifiers(*event));
}

void SkinWidget::inputMethodEvent(QInputMethodEvent* event) {
  if (!m_events) return;
  if (event->preeditString() != m_preedit) {
    m_preedit = event->preeditString();
    update();
  }
  for (QChar ch : event->commitString()) {
    if (!m_events) return;
    m_events->OnKey(WM_CHAR, ch.unicode(), 0);
  }
  event->accept();
}

QVariant SkinWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
  CPaintManagerUI* manager = ManagerOf(m_hwnd);
  switch (query) {
    case Qt::ImEnabled:
      return manager && manager->FocusWantsKeys();
    case Qt::ImCursorRectangle:
      return ToQRect(m_caret.IsEmpty() ? Rect{0, 0, 1, 16} : m_caret);
    case Qt::ImHints: {
      auto* edit = manager ? dynamic_cast<CEditUI*>(manager->GetFocus()) : nullptr;
      if (edit && edit->IsPasswordMode())
        return static_cast<int>(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
      return static_cast<int>(Qt::ImhNone);
    }
    default:
      return QWidget::inputMethodQuery(query);
  }
}

void SkinWidget::ReportGeometry() {
  const Size size{width(), height()};
  if (m_events && !(size == m_reportedSize)) {
    m_reportedSize = size;
    UpdateMask();
    m_events->OnResized(size);
  }
  const Point pos{x(), y()};
  if (m_events && !(pos == m_reportedPos)) {
    m_reportedPos = pos;
    m_events->OnMoved(pos);
  }
}

void SkinWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ReportGeometry();
}

void SkinWidget::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  ReportGeometry();
}

void SkinWidget::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (!m_events) return;
  if (event->type() == QEvent::WindowStateChange) {
    UpdateMask();
    const UINT state = isMinimized() ? SIZE_MINIMIZED : isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED;
    m_events->OnStateChanged(state);
  } else if (event->type() == QEvent::ActivationChange) {
    m_events->OnActivate(isActiveWindow());
  }
}

void SkinWidget::closeEvent(QCloseEvent* event) {
  // The desktop asks; the window's own rules decide (the core destroys us).
  event->ignore();
  if (m_events) m_events->OnCloseRequest();
}

bool SkinWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const std::u16string tip = m_events ? m_events->OnToolTip(ClientPoint(help->pos())) : std::u16string();
    if (tip.empty())
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), ToQString(tip), this);
    return true;
  }
  return QWidget::event(event);
}

bool SkinWidget::focusNextPrevChild(bool next) {
  (void)next;
  return false;  // Tab goes to the core, which moves its own focus.
}

}  // namespace tk::qt

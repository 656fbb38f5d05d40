// One toolkit window as a frameless top-level QWidget. The core paints
// everything (its paint list is drawn here); mouse, keys, typed text and
// input-method text go back to the core as Win32-style messages. The
// caption area moves the window, the edges resize it.
#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

class QPainter;

#include <memory>

#include "ui/toolkit/platform.h"
#include "ui/toolkit/qt/accessibility.h"

namespace tk::qt {

class SkinWidget;

class QtNativeWindow : public NativeWindow {
 public:
  QtNativeWindow(const NativeWindowParams& params, NativeWindowEvents* events);
  ~QtNativeWindow() override;

  void Show(int nCmdShow) override;
  void SetBounds(const Rect& screenRect) override;
  Rect GetBounds() const override;
  void SetTitle(std::u16string_view title) override;
  void SetForeground() override;
  bool IsVisible() const override;
  bool IsMinimized() const override;
  bool IsMaximized() const override;
  void Invalidate(const Rect& clientRect) override;
  void SetMinMaxSize(Size minSize, Size maxSize) override;

  QWidget* Widget() const;
  HWND Handle() const { return m_params.hwnd; }
  // The native window of a toolkit handle (null when it is not a live Qt window).
  static QtNativeWindow* FromHandle(HWND hwnd);

 private:
  NativeWindowParams m_params;
  SkinWidget* m_widget;  // owned; deleted (later) in the destructor
};

// The widget of a window: paints the core's list and forwards input.
class SkinWidget : public QWidget {
 public:
  SkinWidget(const NativeWindowParams& params, NativeWindowEvents* events);
  ~SkinWidget() override;

  HWND Handle() const { return m_hwnd; }
  NativeWindowEvents* Events() const { return m_events; }
  void SetRoundCorner(Size round);
  // Renders the window into an image of its size (for tests and tools).
  QImage Render();
  // Set by the window's destructor: no events reach the core after it.
  void Detach();
  // Tells the core the widget's size and place when they differ from what
  // it last heard (a hidden widget gets no resize events from Qt).
  void ReportGeometry();
  // The accessibility view of the window's controls.
  WindowAccessibility* Accessibility() const { return m_a11y.get(); }
  // The widget's accessibility view, when the object is a live SkinWidget
  // (safe to ask while Qt tears a widget down).
  static WindowAccessibility* AccessibilityOf(const QObject* object);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  Point ClientPoint(const QPointF& p) const;
  UINT MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) const;
  void UpdateCursor(Point pt);
  void UpdateMask();
  void PaintPreedit(QPainter& p);
  bool BeginSystemDrag(HitArea area, const QPointF& globalPos);
  void DragTo(const QPoint& globalPos);

  HWND m_hwnd;
  NativeWindowEvents* m_events;
  std::unique_ptr<WindowAccessibility> m_a11y;
  Size m_round;
  Size m_reportedSize{-1, -1};
  Point m_reportedPos{-100000, -100000};
  PaintList m_list;
  Rect m_caret;
  QString m_preedit;  // text being composed in an input method, shown at the caret
  // Moving or resizing by hand, when the desktop has no window manager that
  // does it for us.
  HitArea m_dragArea = HitArea::kClient;
  bool m_dragging = false;
  QPoint m_dragStart;
  QRect m_dragStartGeometry;
};

}  // namespace tk::qt

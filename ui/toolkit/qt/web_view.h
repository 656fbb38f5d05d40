// The browser control's native part: a Qt WebEngine view placed over the
// control. The engine is loaded and the view created only when the control is
// first shown; the address set before that is loaded then.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

namespace tk::qt {

class WebView {
 public:
  explicit WebView(QWidget* window);
  ~WebView();
  WebView(const WebView&) = delete;
  WebView& operator=(const WebView&) = delete;

  void Navigate(const QString& url);
  // Where the control is, in window coordinates, and whether it is shown.
  void Place(const QRect& rect, bool visible);
  bool Created() const { return !view_.isNull(); }
  QString Url() const { return url_; }
  // The loaded engine view, for tests; null before the first show.
  QWidget* View() const { return view_; }

  // Whether the browser module can be loaded at all.
  static bool Available();

 private:
  void Create();

  QPointer<QWidget> window_;
  QPointer<QWidget> view_;
  QString url_;
  bool loadedUrl_ = false;
};

}  // namespace tk::qt

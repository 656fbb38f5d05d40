// The embedded browser, built as a module of its own and loaded on the first
// page shown: linking Qt WebEngine into the phone would cost every start
// about 90 ms and 80 MB, even for users who never open a web page.
#include <QCoreApplication>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace QtWebEngineCore {
// Creates the shared OpenGL context Chromium needs. Qt calls it before the
// application exists when WebEngine is linked in; loaded later, we call it.
void initialize();
}  // namespace QtWebEngineCore

extern "C" __attribute__((visibility("default"))) QWidget* qv_create_web_view(QWidget* parent) {
  QtWebEngineCore::initialize();
  auto* view = new QWebEngineView(parent);
  view->setObjectName(QStringLiteral("webView"));
  // Nothing of the pages is kept on disk between runs.
  view->page()->profile()->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
  view->page()->profile()->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
  return view;
}

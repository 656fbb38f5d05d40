#include "web_view.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QUrl>

#include <cstdio>

namespace tk::qt {
namespace {

using CreateFn = QWidget* (*)(QWidget*);

// Beside the executable.
QString ModulePath() {
  const QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                   : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  return dir + QStringLiteral("/libqv_web_view.so");
}

CreateFn LoadModule() {
  static CreateFn create = nullptr;
  static bool tried = false;
  if (tried) return create;
  tried = true;
  // Kept loaded for the rest of the process: the engine cannot be unloaded.
  auto* lib = new QLibrary(ModulePath());
  create = reinterpret_cast<CreateFn>(lib->resolve("qv_create_web_view"));
  if (!create) std::fprintf(stderr, "web view unavailable: %s\n", qPrintable(lib->errorString()));
  return create;
}

}  // namespace

WebView::WebView(QWidget* window) : window_(window) {}

WebView::~WebView() { delete view_.data(); }

bool WebView::Available() { return QFileInfo::exists(ModulePath()); }

void WebView::Navigate(const QString& url) {
  url_ = url;
  loadedUrl_ = false;
  if (view_) {
    view_->setProperty("url", QUrl::fromUserInput(url_));
    loadedUrl_ = true;
  }
}

void WebView::Create() {
  if (view_ || !window_) return;
  CreateFn create = LoadModule();
  if (!create) return;
  view_ = create(window_);
}

void WebView::Place(const QRect& rect, bool visible) {
  if (visible && !view_ && !rect.isEmpty()) Create();
  if (!view_) return;
  view_->setGeometry(rect);
  view_->setVisible(visible && !rect.isEmpty());
  if (!loadedUrl_ && !url_.isEmpty()) {
    view_->setProperty("url", QUrl::fromUserInput(url_));
    loadedUrl_ = true;
  }
}

}  // namespace tk::qt

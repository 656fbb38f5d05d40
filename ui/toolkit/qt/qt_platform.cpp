#include "ui/toolkit/qt/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QImage>
#include <QMetaObject>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include "ui/toolkit/qt/accessibility.h"
#include "ui/toolkit/qt/application.h"
#include "ui/toolkit/qt/message_box.h"
#include "ui/toolkit/qt/native_window.h"
#include "ui/toolkit/qt/paint_renderer.h"
#include "ui/toolkit/qt/popup_menu.h"
#include "ui/toolkit/qt/qt_backend.h"
#include "ui/toolkit/qt/url_opener.h"
#include "ui/toolkit/qt/web_view.h"
#include "ui/toolkit/window.h"

namespace tk::qt {
namespace {

QWidget* OwnerWidget(HWND owner) {
  QtNativeWindow* window = QtNativeWindow::FromHandle(owner);
  return window ? window->Widget() : nullptr;
}

}  // namespace

class QtWebView : public NativeWebView {
 public:
  explicit QtWebView(QWidget* host) : m_view(host) {}
  QWidget* View() const { return m_view.View(); }
  void Navigate(std::u16string_view url) override {
    m_view.Navigate(url.empty() ? QStringLiteral("about:blank") : QString::fromStdU16String(std::u16string(url)));
  }
  void SetBounds(const Rect& clientRect) override {
    m_rect = QRect(clientRect.left, clientRect.top, clientRect.Width(), clientRect.Height());
    m_view.Place(m_rect, m_visible);
  }
  void SetVisible(bool visible) override {
    m_visible = visible;
    m_view.Place(m_rect, m_visible);
  }

 private:
  WebView m_view;
  QRect m_rect;
  bool m_visible = false;
};

QWidget* WebViewWidget(NativeWebView* view) {
  auto* qtView = dynamic_cast<QtWebView*>(view);
  return qtView ? qtView->View() : nullptr;
}

QtPlatform::QtPlatform() : m_start(std::chrono::steady_clock::now()), m_sound(*new SoundPlayer()) {}

QtPlatform::~QtPlatform() {
  // The backend goes with the process's static objects, after Qt's own:
  // its Qt objects are left to the process's end rather than destroyed
  // into a Qt that is already gone.
  for (auto& [key, icon] : m_tray) (void)icon.release();
  m_timers.clear();
}

bool QtPlatform::IsUiThread() const { return OnGuiThread(); }

void QtPlatform::PostToUiThread(std::function<void()> fn) {
  if (!fn || m_quitting.load()) return;
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  QMetaObject::invokeMethod(
      app,
      [this, fn = std::move(fn)] {
        if (!m_quitting.load()) fn();
      },
      Qt::QueuedConnection);
}

int QtPlatform::RunMessageLoop() {
  // A quit asked for before the loop started ends it at once.
  if (m_quitting.load()) return m_quitCode;
  const int code = QApplication::exec();
  return m_quitting.load() ? m_quitCode : code;
}

void QtPlatform::QuitMessageLoop(int code) {
  if (m_quitting.exchange(true)) return;
  m_quitCode = code;
  if (QCoreApplication* app = QCoreApplication::instance())
    QMetaObject::invokeMethod(app, [code] { QCoreApplication::exit(code); }, Qt::QueuedConnection);
}

std::uint64_t QtPlatform::NowMs() const {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start).count());
}

std::uint64_t QtPlatform::StartTimer(unsigned ms, std::function<void()> tick) {
  const std::uint64_t id = m_nextTimerId++;
  auto* timer = new QTimer();
  timer->setInterval(static_cast<int>(std::max(1u, ms)));
  timer->setTimerType(ms < 100 ? Qt::PreciseTimer : Qt::CoarseTimer);
  QObject::connect(timer, &QTimer::timeout, timer, std::move(tick));
  timer->start();
  m_timers[id] = timer;
  return id;
}

void QtPlatform::StopTimer(std::uint64_t id) {
  auto it = m_timers.find(id);
  if (it == m_timers.end()) return;
  if (QTimer* timer = it->second.data()) {
    // The timer may be stopping itself from its own tick.
    timer->stop();
    QObject::disconnect(timer, nullptr, nullptr, nullptr);
    timer->deleteLater();
  }
  m_timers.erase(it);
}

std::unique_ptr<NativeWindow> QtPlatform::CreateNativeWindow(const NativeWindowParams& params,
                                                             NativeWindowEvents* events) {
  return std::make_unique<QtNativeWindow>(params, events);
}

Rect QtPlatform::WorkArea() const {
  QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return {0, 0, 1280, 800};
  const QRect r = screen->availableGeometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

Point QtPlatform::CursorPos() const { return CursorPosition(); }

int QtPlatform::TextWidth(const FontSpec& font, std::u16string_view text) const {
  return qt::TextWidth(font, text);
}

int QtPlatform::LineHeight(const FontSpec& font) const { return qt::LineHeight(font); }

int QtPlatform::MessageBoxModal(const MessageBoxParams& params) {
  return RunMessageBox(OwnerWidget(params.owner), params.caption, params.text, params.type);
}

void QtPlatform::MessageBoxAsync(const MessageBoxParams& params, std::function<void(int)> done) {
  OpenMessageBox(OwnerWidget(params.owner), params.caption, params.text, params.type, std::move(done));
}

UINT QtPlatform::TrackPopupMenu(const PopupMenuParams& params) { return RunPopupMenu(params); }

bool QtPlatform::OpenUrl(std::u16string_view url) {
  m_openedUrls.emplace_back(url);
  if (m_recordUrlsOnly) return true;
  return qt::OpenUrl(std::u16string(url));
}

void QtPlatform::PlaySound(std::u16string_view path) { m_sound.Play(std::u16string(path)); }

bool QtPlatform::TrayAdd(const TrayIconParams& params) {
  auto& icon = m_tray[{params.owner, params.id}];
  if (!icon) icon = std::make_unique<TrayIcon>(params.onMouse);
  icon->SetOnMouse(params.onMouse);
  icon->Show(params.iconFile, params.tip);
  // Without a tray now the icon still waits for one to appear.
  return TrayIcon::TrayAvailable();
}

bool QtPlatform::TrayModify(const TrayIconParams& params) {
  auto it = m_tray.find({params.owner, params.id});
  if (it == m_tray.end()) return false;
  if (params.onMouse) it->second->SetOnMouse(params.onMouse);
  it->second->Show(params.iconFile, params.tip);
  return true;
}

bool QtPlatform::TrayDelete(HWND owner, UINT id) {
  auto it = m_tray.find({owner, id});
  if (it == m_tray.end()) return false;
  m_tray.erase(it);
  return true;
}

TrayIcon* QtPlatform::Tray(HWND owner, UINT id) {
  auto it = m_tray.find({owner, id});
  return it == m_tray.end() ? nullptr : it->second.get();
}

std::u16string QtPlatform::ClipboardText() const {
  return QGuiApplication::clipboard()->text().toStdU16String();
}

void QtPlatform::SetClipboardText(std::u16string_view text) {
  QGuiApplication::clipboard()->setText(QString::fromStdU16String(std::u16string(text)));
}

std::unique_ptr<NativeWebView> QtPlatform::CreateWebView(NativeWindow& host) {
  auto* window = dynamic_cast<QtNativeWindow*>(&host);
  return std::make_unique<QtWebView>(window ? window->Widget() : nullptr);
}

// ---------------------------------------------------------------------------

QtPlatform& InstallQtPlatform() {
  EnsureApplication();
  InstallAccessibility();
  if (QtPlatform* current = CurrentQtPlatform()) return *current;
  auto& platform = static_cast<QtPlatform&>(InstallPlatform(std::make_unique<QtPlatform>()));
  InstallStorageHooks();
  return platform;
}

QtPlatform* CurrentQtPlatform() { return dynamic_cast<QtPlatform*>(&CurrentPlatform()); }

bool WebViewAvailable() { return WebView::Available(); }

QWidget* WidgetOf(HWND hwnd) { return OwnerWidget(hwnd); }

QImage RenderWindow(HWND hwnd) {
  QtNativeWindow* window = QtNativeWindow::FromHandle(hwnd);
  if (!window) return {};
  return static_cast<SkinWidget*>(window->Widget())->Render();
}

bool RenderWindowToPng(HWND hwnd, const std::u16string& path) {
  const QImage image = RenderWindow(hwnd);
  return !image.isNull() && image.save(QString::fromStdU16String(path), "PNG");
}

}  // namespace tk::qt

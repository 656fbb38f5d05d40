#include "application.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QThread>
#include <QTranslator>

#include <cstdlib>
#include <thread>

namespace tk::qt {
namespace {

// QApplication keeps references to argc and argv for its whole life.
int g_argc = 1;
char g_arg0[] = "veltophone";
char* g_argv[] = {g_arg0, nullptr};

// Made once and never destroyed by static destruction: Qt's own globals
// would be gone by then. ShutdownApplication ends it in order.
QApplication* g_app = nullptr;
// Compared without asking Qt: QThread::currentThread() on a worker would
// make a Qt thread object for it.
std::thread::id g_uiThread;

void LoadTranslations(QApplication& app) {
  const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  // qtbase gives the standard buttons (是/否, 确定/取消) their Chinese texts.
  for (const char* name : {"qtbase_zh_CN", "qtmultimedia_zh_CN", "qtwebengine_zh_CN"}) {
    auto* tr = new QTranslator(&app);
    if (tr->load(QString::fromLatin1(name), dir))
      app.installTranslator(tr);
    else
      delete tr;
  }
}

void SetFont(QApplication& app) {
  // The font that ./run installs for the Chinese texts; Qt falls back to any
  // CJK font through fontconfig when it is missing.
  QFont font(QStringLiteral("WenQuanYi Micro Hei"));
  font.setPixelSize(13);
  font.setStyleHint(QFont::SansSerif);
  font.setHintingPreference(QFont::PreferNoHinting);
  app.setFont(font);
}

// The look of the few widgets Qt draws for us (message boxes, popup menus,
// tooltips), in the colours of the skins' theme.
const char kStyleSheet[] = R"(
QMessageBox { background: #FFFFFF; border: 1px solid #E3E8EF; }
QMessageBox QLabel { color: #1F2937; font-size: 14px; min-width: 200px; padding: 4px 2px; }
QDialogButtonBox { dialogbuttonbox-buttons-have-icons: 0; }
QMessageBox QPushButton {
  min-width: 76px; min-height: 30px; padding: 0 14px; border-radius: 8px;
  border: 1px solid #CBD2DD; background: #FFFFFF; color: #1F2937; font-size: 13px;
}
QMessageBox QPushButton:hover { background: #F5F7FA; }
QMessageBox QPushButton:pressed { background: #E2E8F0; }
QMessageBox QPushButton:default { border: none; background: #1F6FEB; color: #FFFFFF; }
QMessageBox QPushButton:default:hover { background: #3B82F6; }
QMessageBox QPushButton:default:pressed { background: #1A5FD0; }
QMessageBox QPushButton:focus { outline: none; }
QMenu { background: #FFFFFF; border: 1px solid #E3E8EF; border-radius: 8px; padding: 6px; }
QMenu::item { padding: 7px 28px 7px 14px; border-radius: 6px; color: #1F2937; font-size: 13px; }
QMenu::item:selected { background: #EEF4FE; color: #1F6FEB; }
QMenu::item:disabled { color: #A0A8B5; }
QMenu::separator { height: 1px; background: #E3E8EF; margin: 4px 8px; }
QToolTip { background: #1F2937; color: #FFFFFF; border: none; padding: 4px 8px; font-size: 12px; }
)";

}  // namespace

void EnsureApplication() {
  if (QCoreApplication::instance()) return;
  // Qt reads this once, when the platform integration starts.
  if (!std::getenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
    setenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1", 1);
  // Chromium's start-up chatter is not for our users.
  QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setDesktopSettingsAware(true);
  g_app = new QApplication(g_argc, g_argv);
  g_uiThread = std::this_thread::get_id();
  g_app->setApplicationName(QStringLiteral("veltophone"));
  g_app->setApplicationDisplayName(QString());
  g_app->setApplicationVersion(QStringLiteral("2.2.8"));
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  LoadTranslations(*g_app);
  SetFont(*g_app);
  g_app->setStyleSheet(QString::fromUtf8(kStyleSheet));
}

void ShutdownApplication() {
  delete g_app;
  g_app = nullptr;
}

bool OnGuiThread() {
  if (g_app) return std::this_thread::get_id() == g_uiThread;
  QCoreApplication* app = QCoreApplication::instance();  // made by someone else
  return app && QThread::currentThread() == app->thread();
}

}  // namespace tk::qt

// Time from starting a process to its first painted window, and its memory
// then: a skin window of the toolkit (the gallery, the login and main
// window skins) against a minimal Qt Widgets window. The first run of each
// is "cold" as far as the page cache allows; the rest are warm (median).
//   bench_toolkit_qt_first_paint [runs]
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gallery/gallery_window.h"
#include "ui/toolkit/qt/qt_backend.h"
#include "ui/toolkit/toolkit.h"
#include "skin_window.h"

namespace {

long RssKb() {
  QFile f(QStringLiteral("/proc/self/status"));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

// Reports once the watched widget has been painted for the first time.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Paint && !m_seen) {
      m_seen = true;
      QTimer::singleShot(0, [] {
        std::printf("painted %ld\n", RssKb());
        std::fflush(stdout);
        std::_Exit(0);
      });
    }
    return QObject::eventFilter(object, event);
  }

 private:
  bool m_seen = false;
};

using qvbench::SkinWindow;

int Child(const std::string& mode) {
  FirstPaint watcher;
  if (mode == "minimal") {
    int argc = 1;
    char arg0[] = "minimal";
    char* argv[] = {arg0, nullptr};
    QApplication app(argc, argv);
    QWidget w;
    w.resize(300, 550);
    w.installEventFilter(&watcher);
    w.show();
    return app.exec();
  }
  tk::CPaintManagerUI::SetInstancePath(u"" QV_BIN_DIR "/");
  tk::qt::InstallQtPlatform();
  tk::CWindowWnd* window = nullptr;
  if (mode == "gallery") window = new gallery::GalleryWindow;
  else window = new SkinWindow(std::u16string(mode.begin(), mode.end()));
  window->Create(nullptr, u"bench", tk::WS_OVERLAPPEDWINDOW, 0, 60, 60, 300, 550);
  tk::qt::WidgetOf(window->GetHWND())->installEventFilter(&watcher);
  window->ShowWindow(tk::SW_SHOW);
  return tk::CPaintManagerUI::MessageLoop();
}

struct Sample {
  double ms;
  long rssKb;
};

bool RunOnce(const char* self, const char* mode, Sample* out) {
  QProcess p;
  QElapsedTimer t;
  t.start();
  p.start(QString::fromLocal8Bit(self), {QStringLiteral("--child"), QString::fromLatin1(mode)});
  if (!p.waitForReadyRead(30000)) return false;
  const double ms = t.nsecsElapsed() / 1e6;
  const QByteArray line = p.readLine().trimmed();
  p.waitForFinished(5000);
  if (!line.startsWith("painted ")) return false;
  *out = {ms, line.mid(8).toLong()};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) return Child(argv[2]);
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) {
    std::printf("no display: run inside scripts/with-display\n");
    return 1;
  }
  const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 8;
  int coreArgc = 1;
  QCoreApplication core(coreArgc, argv);
  std::printf("%-14s %10s %12s %10s\n", "window", "cold ms", "warm ms(med)", "RSS MB");
  for (const char* mode : {"minimal", "gallery", "LoginWin.xml", "quova.xml"}) {
    std::vector<Sample> samples;
    for (int i = 0; i < runs; ++i) {
      Sample s;
      if (RunOnce(argv[0], mode, &s)) samples.push_back(s);
    }
    if (samples.size() < 2) {
      std::printf("%-14s failed\n", mode);
      continue;
    }
    std::vector<double> warm;
    for (size_t i = 1; i < samples.size(); ++i) warm.push_back(samples[i].ms);
    std::sort(warm.begin(), warm.end());
    std::printf("%-14s %10.1f %12.1f %10.1f\n", mode, samples[0].ms, warm[warm.size() / 2],
                samples.back().rssKb / 1024.0);
  }
  return 0;
}

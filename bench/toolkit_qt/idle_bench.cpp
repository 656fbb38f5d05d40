// Idle CPU and memory of a window program with the accessibility bus
// present (bridge on, as the phone starts it) and absent (no session bus
// reachable): the gallery window, and the phone itself when built.
//   bench_toolkit_qt_idle [seconds]     (inside scripts/with-display)
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// utime + stime in clock ticks.
long long CpuTicks(qint64 pid) {
  QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  const QByteArray s = f.readAll();
  const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
  if (fields.size() < 13) return -1;
  return fields[11].toLongLong() + fields[12].toLongLong();
}

long RssKb(qint64 pid) {
  QFile f(QStringLiteral("/proc/%1/status").arg(pid));
  if (!f.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : f.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return -1;
}

void Measure(const char* label, const QString& program, bool bus, int seconds) {
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (bus) {
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
  } else {
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/bus"));
    env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("0"));
    env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
  }
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(QFileInfo(program).absolutePath());
  p.setStandardOutputFile(QProcess::nullDevice());
  p.setStandardErrorFile(QProcess::nullDevice());
  p.start(program, {});
  if (!p.waitForStarted(10000)) {
    std::printf("%-34s could not start\n", label);
    return;
  }
  QThread::sleep(3);  // start-up is over
  const long long t0 = CpuTicks(p.processId());
  QThread::sleep(static_cast<unsigned long>(seconds));
  const long long t1 = CpuTicks(p.processId());
  const long rss = RssKb(p.processId());
  const double cpu = 100.0 * static_cast<double>(t1 - t0) / sysconf(_SC_CLK_TCK) / seconds;
  std::printf("%-34s %8.2f %% of a core %8.1f MB RSS\n", label, cpu, rss / 1024.0);
  p.terminate();
  if (!p.waitForFinished(10000)) p.kill();
  p.waitForFinished(5000);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int seconds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10;
  if (!std::getenv("DISPLAY")) {
    std::printf("no display: run inside scripts/with-display\n");
    return 1;
  }
  const QString gallery = QStringLiteral(QV_BIN_DIR "/qv-gallery");
  const QString phone = QStringLiteral(QV_BIN_DIR "/veltophone");
  std::printf("idle over %d s after a 3 s start\n", seconds);
  Measure("gallery, accessibility bus present", gallery, true, seconds);
  Measure("gallery, no bus", gallery, false, seconds);
  if (QFileInfo::exists(phone)) {
    Measure("phone (login), bus present", phone, true, seconds);
    Measure("phone (login), no bus", phone, false, seconds);
  }
  return 0;
}

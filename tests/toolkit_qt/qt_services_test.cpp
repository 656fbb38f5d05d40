// The desktop services of the Qt backend: message boxes from the UI thread
// and from workers, queued calls, popup menus, the tray icon, sounds, the
// default browser and the embedded web view.
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <map>
#include <mutex>
#include <thread>

#include "qt_test_env.h"

namespace {

using qttest::PumpUntil;
using qttest::QtBackend;

QMessageBox* OpenBox() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) return box;
  return nullptr;
}

QAbstractButton* ButtonWithText(QMessageBox* box, const QString& text) {
  for (QAbstractButton* b : box->buttons())
    if (b->text().remove(QLatin1Char('&')).startsWith(text)) return b;
  return nullptr;
}

QStringList ButtonTexts(QMessageBox* box) {
  QStringList texts;
  for (QAbstractButton* b : box->buttons()) texts << b->text();
  return texts;
}

TEST(QtServices, WorkerMessageBoxWaitsForTheAnswerGivenOnTheUiThread) {
  QtBackend();
  std::atomic<int> answer{0};
  std::thread::id shownOn;
  std::thread worker([&] { answer = tk::MessageBox(nullptr, u"有最新版本，是否升级!", u"提示", tk::MB_YESNO); });
  QMessageBox* box = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (box = OpenBox()) != nullptr; }));
  EXPECT_EQ(box->windowTitle(), QStringLiteral("提示"));
  EXPECT_EQ(box->text(), QStringLiteral("有最新版本，是否升级!"));
  // Qt's own buttons speak Chinese.
  QAbstractButton* yes = ButtonWithText(box, QStringLiteral("是"));
  ASSERT_NE(yes, nullptr) << ButtonTexts(box).join(QLatin1Char(',')).toStdString();
  ASSERT_NE(ButtonWithText(box, QStringLiteral("否")), nullptr);
  EXPECT_EQ(answer.load(), 0);  // the worker still waits
  yes->click();
  ASSERT_TRUE(PumpUntil([&] { return answer.load() != 0; }));
  worker.join();
  EXPECT_EQ(answer.load(), tk::IDYES);
}

TEST(QtServices, ClosingABoxGivesTheRefusingAnswer) {
  QtBackend();
  struct Case {
    tk::UINT type;
    int answer;
    const char16_t* button;  // the button the box must show
  };
  for (const Case& c : {Case{tk::MB_OK, tk::IDOK, u"确定"}, Case{tk::MB_OKCANCEL, tk::IDCANCEL, u"取消"},
                        Case{tk::MB_YESNO, tk::IDNO, u"否"}}) {
    std::atomic<int> answer{0};
    std::thread worker([&] { answer = tk::MessageBox(nullptr, u"文本", u"提示", c.type); });
    QMessageBox* box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = OpenBox()) != nullptr; }));
    EXPECT_NE(ButtonWithText(box, QString::fromStdU16String(c.button)), nullptr)
        << ButtonTexts(box).join(QLatin1Char(',')).toStdString();
    QTest::keyClick(box, Qt::Key_Escape);
    ASSERT_TRUE(PumpUntil([&] { return answer.load() != 0; }));
    worker.join();
    EXPECT_EQ(answer.load(), c.answer) << c.type;
    PumpUntil([] { return OpenBox() == nullptr; }, 5000);
  }
}

TEST(QtServices, BoxWithoutOwnerLeavesTheWindowsUsable) {
  if (!qttest::HaveXdotool()) GTEST_SKIP() << "needs an X display and xdotool";
  qttest::ShownGallery g;
  std::atomic<int> answer{0};
  std::thread worker([&] { answer = tk::MessageBox(nullptr, u"网络连接失败", u"提示", tk::MB_OK); });
  QMessageBox* box = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (box = OpenBox()) != nullptr; }));
  box->move(200, 650);  // away from the gallery
  g.window->ClearRecords();
  qttest::RealClick(qttest::ScreenCentre(g.window, u"gallery_btn"));
  EXPECT_TRUE(PumpUntil([&] {
    for (const auto& n : g.window->Notes())
      if (n.type == tk::kNotifyClick && n.sender == u"gallery_btn") return true;
    return false;
  }));
  EXPECT_EQ(answer.load(), 0);
  box->button(QMessageBox::Ok)->click();
  ASSERT_TRUE(PumpUntil([&] { return answer.load() != 0; }));
  worker.join();
  EXPECT_EQ(answer.load(), tk::IDOK);
}

TEST(QtServices, BoxOfAWindowIsModalToThatWindowAndAnsweredInItsLoop) {
  qttest::ShownGallery g;
  // While the gallery's own question is open (its loop runs inside
  // AskQuestion), look at the box and answer No.
  QWidget* parent = nullptr;
  Qt::WindowModality modality = Qt::NonModal;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&] {
    QMessageBox* box = OpenBox();
    if (!box) return;
    answerer.stop();
    parent = box->parentWidget();
    modality = box->windowModality();
    ButtonWithText(box, QStringLiteral("否"))->click();
  });
  answerer.start(20);
  g.window->AskQuestion();
  EXPECT_EQ(g.window->LastAnswer(), tk::IDNO);
  EXPECT_EQ(parent, g.widget);
  EXPECT_EQ(modality, Qt::WindowModal);
}

TEST(QtServices, QueuedCallsRunOnTheUiThreadInOrder) {
  QtBackend();
  constexpr int kThreads = 4, kCalls = 200;
  std::mutex mutex;
  std::map<int, std::vector<int>> seen;
  std::atomic<int> wrongThread{0}, done{0};
  const std::thread::id ui = std::this_thread::get_id();
  std::vector<std::thread> workers;
  for (int t = 0; t < kThreads; ++t)
    workers.emplace_back([&, t] {
      for (int i = 0; i < kCalls; ++i)
        tk::PostToUiThread([&, t, i] {
          if (std::this_thread::get_id() != ui) ++wrongThread;
          std::lock_guard<std::mutex> lock(mutex);
          seen[t].push_back(i);
          ++done;
        });
    });
  for (auto& w : workers) w.join();
  ASSERT_TRUE(PumpUntil([&] { return done.load() == kThreads * kCalls; }));
  EXPECT_EQ(wrongThread.load(), 0);
  for (auto& [t, calls] : seen) {
    ASSERT_EQ(calls.size(), static_cast<size_t>(kCalls));
    EXPECT_TRUE(std::is_sorted(calls.begin(), calls.end())) << "thread " << t;
  }
}

TEST(QtServices, PopupMenuReturnsTheChosenCommandBottomAligned) {
  QtBackend();
  tk::PopupMenu menu;
  menu.AppendMenu(tk::MF_STRING, 1029, u"设置菜单");
  menu.AppendMenu(tk::MF_STRING, 1027, u"Velto官方网");
  menu.AppendMenu(tk::MF_STRING, 1028, u"退出");
  QRect shownAt;
  QStringList texts;
  // Once the menu is open: note where and what it shows, then choose the
  // second item with the keyboard.
  std::function<void()> choose = [&] {
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!popup) {
      tk::PostToUiThread(choose);
      return;
    }
    shownAt = popup->geometry();
    for (QAction* a : popup->actions()) texts << a->text();
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
  };
  tk::PostToUiThread(choose);
  const tk::UINT chosen = menu.Track(nullptr, {600, 500}, tk::TPM_BOTTOMALIGN | tk::TPM_RETURNCMD);
  EXPECT_EQ(chosen, 1027u);
  EXPECT_EQ(texts, (QStringList{QStringLiteral("设置菜单"), QStringLiteral("Velto官方网"), QStringLiteral("退出")}));
  EXPECT_EQ(shownAt.left(), 600);
  EXPECT_EQ(shownAt.bottom() + 1, 500);

  // Escape chooses nothing.
  std::function<void()> dismiss = [&] {
    auto* popup = QApplication::activePopupWidget();
    if (!popup) {
      tk::PostToUiThread(dismiss);
      return;
    }
    QTest::keyClick(popup, Qt::Key_Escape);
  };
  tk::PostToUiThread(dismiss);
  EXPECT_EQ(menu.Track(nullptr, {600, 500}, tk::TPM_RETURNCMD), 0u);
}

TEST(QtServices, TrayIconClicksArriveAsTheCallbackMessage) {
  if (!qttest::HaveXdotool()) GTEST_SKIP() << "needs an X display and xdotool";
  qttest::ShownGallery g;
  tk::NOTIFYICONDATAW data;
  data.hWnd = g.window->GetHWND();
  data.uID = 2024;
  data.uFlags = tk::NIF_MESSAGE | tk::NIF_ICON | tk::NIF_TIP;
  data.uCallbackMessage = tk::WM_USER + 1;
  data.szTip = u"Velto网络电话";
  if (!tk::Shell_NotifyIcon(tk::NIM_ADD, &data)) GTEST_SKIP() << "no system tray (trayer) on this display";
  tk::qt::TrayIcon* icon = QtBackend().Tray(g.window->GetHWND(), 2024);
  ASSERT_NE(icon, nullptr);
  // Wait until the tray has taken the icon in and stopped moving it.
  QRect where, last;
  int stable = 0;
  ASSERT_TRUE(PumpUntil([&] {
    where = icon->Geometry();
    stable = where.isValid() && where.width() > 0 && where == last ? stable + 1 : 0;
    last = where;
    qttest::Pump(50);
    return stable >= 6;
  })) << "the icon never showed in the tray";
  g.window->ClearRecords();
  auto trayMessages = [&] {
    std::vector<tk::LPARAM> out;
    for (const auto& m : g.window->Messages())
      if (m.message == tk::WM_USER + 1 && m.wParam == 2024) out.push_back(m.lParam);
    return out;
  };
  qttest::RealClick({where.center().x(), where.center().y()});
  ASSERT_TRUE(PumpUntil([&] { return trayMessages().size() >= 2; }));
  EXPECT_EQ(trayMessages(), (std::vector<tk::LPARAM>{tk::WM_LBUTTONDOWN, tk::WM_LBUTTONUP}));
  g.window->ClearRecords();
  qttest::Xdo("click 3");
  ASSERT_TRUE(PumpUntil([&] { return trayMessages().size() >= 2; }));
  EXPECT_EQ(trayMessages(), (std::vector<tk::LPARAM>{tk::WM_RBUTTONDOWN, tk::WM_RBUTTONUP}));
  EXPECT_TRUE(tk::Shell_NotifyIcon(tk::NIM_DELETE, &data));
  EXPECT_EQ(QtBackend().Tray(g.window->GetHWND(), 2024), nullptr);
}

// A 16-bit mono WAV of a tone, `ms` long.
void WriteWav(const QString& path, int ms, int hz) {
  const int rate = 16000, samples = rate * ms / 1000;
  QByteArray data;
  for (int i = 0; i < samples; ++i) {
    const qint16 v = static_cast<qint16>(8000 * ((i * hz * 2 / rate) % 2 ? 1 : -1));
    data.append(reinterpret_cast<const char*>(&v), 2);
  }
  auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
  auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
  QByteArray wav = "RIFF" + le32(36 + data.size()) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(rate) +
                   le32(rate * 2) + le16(2) + le16(16) + "data" + le32(data.size()) + data;
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(wav);
}

// How many streams this process plays into the sound server now.
int OurSoundStreams() {
  QProcess pactl;
  pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
  if (!pactl.waitForFinished(5000)) return -1;
  const QString pid = QString::number(QCoreApplication::applicationPid());
  return static_cast<int>(QString::fromUtf8(pactl.readAllStandardOutput())
                              .count(QStringLiteral("application.process.id = \"%1\"").arg(pid)));
}

TEST(QtServices, ANewSoundCutsOffTheOnePlaying) {
  if (std::system("pactl info >/dev/null 2>&1") != 0) GTEST_SKIP() << "no sound server (scripts/with-display starts one)";
  auto& platform = QtBackend();
  QTemporaryDir dir;
  const QString a = dir.filePath(QStringLiteral("a.wav")), b = dir.filePath(QStringLiteral("b.wav"));
  WriteWav(a, 4000, 440);
  WriteWav(b, 4000, 660);
  tk::PlaySoundFile(a.toStdU16String());
  ASSERT_TRUE(PumpUntil([&] { return OurSoundStreams() == 1; })) << "the first sound never played";
  EXPECT_EQ(platform.Sounds().Playing(), a.toStdU16String());
  tk::PlaySoundFile(b.toStdU16String());
  ASSERT_TRUE(PumpUntil([&] { return platform.Sounds().Playing() == b.toStdU16String(); }));
  // Still one sound to be heard: the second one cut the first off.
  qttest::Pump(300);
  EXPECT_EQ(OurSoundStreams(), 1);
  EXPECT_TRUE(platform.Sounds().IsPlaying(b.toStdU16String()));
  EXPECT_FALSE(platform.Sounds().IsPlaying(a.toStdU16String()));
  // A missing file plays nothing and stops the sound; so does the empty path.
  tk::PlaySoundFile(dir.filePath(QStringLiteral("missing.wav")).toStdU16String());
  EXPECT_TRUE(PumpUntil([&] { return OurSoundStreams() == 0; }));
  EXPECT_TRUE(platform.Sounds().Playing().empty());
  tk::PlaySoundFile(a.toStdU16String());
  ASSERT_TRUE(PumpUntil([&] { return OurSoundStreams() == 1; }));
  tk::PlaySoundFile(u"");
  EXPECT_TRUE(PumpUntil([&] { return OurSoundStreams() == 0; }));
}

TEST(QtServices, UrlsGoToTheBrowserAsOneArgumentWithoutAShell) {
  if (!qttest::HaveDisplay()) GTEST_SKIP() << "the desktop's URL handling needs a display";
  QTemporaryDir dir;
  const QString log = dir.filePath(QStringLiteral("args.txt"));
  const QString marker = dir.filePath(QStringLiteral("pwned"));
  const QString browser = dir.filePath(QStringLiteral("browser.sh"));
  {
    QFile f(browser);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1'\n").arg(log).toUtf8());
  }
  QFile::setPermissions(browser, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  setenv("BROWSER", browser.toLocal8Bit().constData(), 1);
  setenv("DEFAULT_BROWSER", browser.toLocal8Bit().constData(), 1);
  auto& platform = QtBackend();
  platform.SetRecordUrlsOnly(false);
  const QString url = QStringLiteral("http://127.0.0.1:8905/index/acct?a=1&b=;touch%20") + marker;
  EXPECT_TRUE(tk::ShellOpen(url.toStdU16String()));
  ASSERT_TRUE(PumpUntil([&] { return QFile::exists(log) && QFile(log).size() > 0; }));
  QFile f(log);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QStringList args = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(args.size(), 1) << args.join(QLatin1Char('|')).toStdString();
  EXPECT_EQ(QUrl(args[0]), QUrl(url));
  EXPECT_FALSE(QFile::exists(marker));
  // Only web addresses are handed out.
  EXPECT_FALSE(tk::ShellOpen(u"file:///etc/passwd"));
  EXPECT_FALSE(tk::ShellOpen(u"javascript:alert(1)"));
  platform.SetRecordUrlsOnly(true);
}

TEST(QtServices, WebViewIsMadeWhenThePageIsFirstShown) {
  if (!qttest::HaveDisplay()) GTEST_SKIP() << "the web engine needs a display";
  QtBackend();
  if (!tk::qt::WebViewAvailable()) GTEST_SKIP() << "the web view module is not built";
  qttest::ShownGallery g;
  auto findView = [&] { return g.widget->findChild<QWidget*>(QStringLiteral("webView")); };
  EXPECT_EQ(findView(), nullptr);
  auto* web = g.window->GetPaintManager()->Find<tk::CWebBrowserUI>(u"web");
  ASSERT_NE(web, nullptr);
  web->NavigateUrl(u"data:text/html;charset=utf-8,<title>ok</title><p>页面</p>");
  qttest::Pump(100);
  EXPECT_EQ(findView(), nullptr);  // the page is not shown yet
  auto* tabs = g.window->GetPaintManager()->Find<tk::COptionUI>(u"tab_web");
  tabs->Selected(true);
  QWidget* view = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (view = findView()) != nullptr; }));
  EXPECT_TRUE(view->isVisible());
  const tk::Rect r = web->GetPos();
  EXPECT_EQ(view->geometry(), QRect(r.left, r.top, r.Width(), r.Height()));
  EXPECT_TRUE(PumpUntil([&] { return view->property("title").toString() == QStringLiteral("ok"); }, 30000))
      << view->property("title").toString().toStdString();
  // Back on the text page the view hides; it is kept for the next time.
  g.window->GetPaintManager()->Find<tk::COptionUI>(u"tab_text")->Selected(true);
  EXPECT_TRUE(PumpUntil([&] { return !view->isVisible(); }));
  EXPECT_EQ(findView(), view);
}

}  // namespace

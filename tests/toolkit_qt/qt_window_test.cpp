// Windows of the Qt backend on a real X display: painting, real mouse and
// keyboard input through hit-testing to the same notifications and window
// messages as the headless driver gives, the caption, the desktop's close.
#include <QGuiApplication>
#include <QImage>
#include <QInputMethodEvent>
#include <QScreen>
#include <QDir>

#include <set>

#include "qt_test_env.h"
#include "storage/text.h"
#include "ui/toolkit/headless/driver.h"

namespace {

using gallery::Note;
using qttest::QtBackend;
using qttest::PumpUntil;

std::vector<Note> Without(std::vector<Note> notes, std::u16string_view type) {
  std::erase_if(notes, [&](const Note& n) { return n.type == type; });
  return notes;
}

std::string Describe(const std::vector<Note>& notes) {
  std::string out;
  for (const Note& n : notes) out += qv::ToUtf8(n.type) + ":" + qv::ToUtf8(n.sender) + " ";
  return out;
}

class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!qttest::HaveXdotool()) GTEST_SKIP() << "needs an X display and xdotool (scripts/with-display)";
  }
};

// The notifications a click on a button and on an option give with the
// headless driver...
std::vector<Note> HeadlessClicks() {
  auto& platform = tk::headless::InstallHeadless();
  tk::CPaintManagerUI::SetInstancePath(u"" QV_BIN_DIR "/");
  tk::headless::Driver driver(platform);
  auto* window = new gallery::GalleryWindow;
  window->Create(nullptr, u"控件样例", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0, 880, 120, 300, 550);
  EXPECT_TRUE(window->GetSkinError().empty());
  window->ClearRecords();
  EXPECT_TRUE(driver.Click(window, u"gallery_btn"));
  EXPECT_TRUE(driver.Click(window, u"opt_b"));
  EXPECT_TRUE(driver.Click(window, u"check"));
  std::vector<Note> notes = window->Notes();
  window->DestroyWindow();
  delete window;
  return notes;
}

TEST_F(QtWindowTest, RealClicksGiveTheSameNotificationsAsTheHeadlessDriver) {
  const std::vector<Note> expected = HeadlessClicks();
  ASSERT_FALSE(expected.empty());

  qttest::ShownGallery g;
  ASSERT_NE(g.widget, nullptr);
  g.window->ClearRecords();
  for (const char16_t* name : {u"gallery_btn", u"opt_b", u"check"}) {
    const size_t before = g.window->Notes().size();
    qttest::RealClick(qttest::ScreenCentre(g.window, name));
    ASSERT_TRUE(PumpUntil([&] {
      for (size_t i = before; i < g.window->Notes().size(); ++i)
        if (g.window->Notes()[i].type == tk::kNotifyClick) return true;
      return false;
    })) << "no click from " << qv::ToUtf8(name);
    qttest::Pump(150);  // what follows the click (selectchanged ...)
  }
  EXPECT_EQ(Describe(Without(g.window->Notes(), u"killfocus")), Describe(Without(expected, u"killfocus")));
  auto* option = g.window->GetPaintManager()->Find<tk::COptionUI>(u"opt_b");
  ASSERT_NE(option, nullptr);
  EXPECT_TRUE(option->IsSelected());
  EXPECT_FALSE(g.window->GetPaintManager()->Find<tk::COptionUI>(u"opt_a")->IsSelected());
}

TEST_F(QtWindowTest, ScreenshotOfTheGalleryShowsItsControls) {
  qttest::ShownGallery g;
  ASSERT_NE(g.widget, nullptr);
  qttest::Xdo("mousemove 5 5");  // no hover colours in the picture
  qttest::Pump(300);
  const tk::Rect r = g.window->GetWindowRect();
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_NE(screen, nullptr);
  const QImage shot = screen->grabWindow(0, r.left, r.top, r.Width(), r.Height()).toImage();
  ASSERT_EQ(shot.size(), QSize(300, 550));
  QDir().mkpath(QStringLiteral(QV_ARTIFACT_DIR));
  shot.save(QStringLiteral(QV_ARTIFACT_DIR "/gallery-screen.png"));

  std::set<QRgb> colours;
  int nonWhite = 0;
  for (int y = 0; y < shot.height(); y += 2)
    for (int x = 0; x < shot.width(); x += 2) {
      const QRgb c = shot.pixel(x, y) & 0xFFFFFF;
      colours.insert(c);
      if (c != 0xFFFFFF) ++nonWhite;
    }
  EXPECT_GT(colours.size(), 50u) << "a blank or single-coloured window";
  EXPECT_GT(nonWhite, 2000);
  // The primary button is painted in the accent colour.
  const tk::Point b = qttest::ScreenCentre(g.window, u"gallery_btn");
  const QColor button = shot.pixelColor(b.x - r.left - 30, b.y - r.top);
  EXPECT_EQ(button, QColor(0x1F, 0x6F, 0xEB)) << button.name().toStdString();
  // The offscreen rendering shows the same picture.
  const QImage offscreen = tk::qt::RenderWindow(g.window->GetHWND());
  EXPECT_EQ(offscreen.pixelColor(b.x - r.left - 30, b.y - r.top), button);
}

TEST_F(QtWindowTest, KeysReachHandleMessageAsVirtualKeyCodes) {
  qttest::ShownGallery g;
  // Focus on the window, not on an edit: click the plain label.
  qttest::RealClick(qttest::ScreenCentre(g.window, u"label"));
  qttest::Pump(200);
  g.window->ClearRecords();
  qttest::Xdo("key --delay 40 5 KP_7 BackSpace a Escape numbersign");
  std::vector<tk::WPARAM> keys;
  PumpUntil([&] {
    keys.clear();
    for (const auto& m : g.window->Messages())
      if (m.message == tk::WM_KEYDOWN) keys.push_back(m.wParam);
    return keys.size() >= 6;
  });
  // Escape never reaches HandleMessage (the shared filter swallows it);
  // '#' is Shift+3: the Shift key, then the key '3', as on Windows.
  EXPECT_EQ(keys, (std::vector<tk::WPARAM>{'5', tk::VK_NUMPAD7, tk::VK_BACK, 'A', tk::VK_SHIFT, '3'}));
  EXPECT_TRUE(g.window->IsWindowVisible());
}

TEST_F(QtWindowTest, TypingGoesIntoTheFocusedEdit) {
  qttest::ShownGallery g;
  qttest::RealClick(qttest::ScreenCentre(g.window, u"edit_plain"));
  auto* edit = g.window->GetPaintManager()->Find<tk::CEditUI>(u"edit_plain");
  ASSERT_TRUE(PumpUntil([&] { return edit->IsFocused(); }));
  qttest::Xdo("type --delay 30 138abc");
  ASSERT_TRUE(PumpUntil([&] { return edit->GetText() == u"138abc"; })) << qv::ToUtf8(edit->GetText());
  qttest::Xdo("key BackSpace BackSpace");
  EXPECT_TRUE(PumpUntil([&] { return edit->GetText() == u"138a"; })) << qv::ToUtf8(edit->GetText());
  // Keys typed into an edit do not reach the window's HandleMessage.
  for (const auto& m : g.window->Messages()) EXPECT_NE(m.message, tk::WM_KEYDOWN);

  qttest::RealClick(qttest::ScreenCentre(g.window, u"edit_pwd"));
  auto* pwd = g.window->GetPaintManager()->Find<tk::CEditUI>(u"edit_pwd");
  ASSERT_TRUE(PumpUntil([&] { return pwd->IsFocused(); }));
  qttest::Xdo("type --delay 30 s3cret");
  EXPECT_TRUE(PumpUntil([&] { return pwd->GetText() == u"s3cret"; })) << qv::ToUtf8(pwd->GetText());
  bool sawTextChanged = false;
  for (const Note& n : g.window->Notes()) sawTextChanged |= n.type == tk::kNotifyTextChanged && n.sender == u"edit_pwd";
  EXPECT_TRUE(sawTextChanged);
}

TEST_F(QtWindowTest, CaptionDoubleClickArrivesAndDraggingMovesTheWindow) {
  qttest::ShownGallery g;
  const tk::Rect before = g.window->GetWindowRect();
  // The empty part of the title bar, left of the title buttons.
  const tk::Point caption{before.left + 200, before.top + 20};
  g.window->ClearRecords();
  qttest::RealClick(caption, 2);
  ASSERT_TRUE(PumpUntil([&] {
    for (const auto& m : g.window->Messages())
      if (m.message == tk::WM_NCLBUTTONDBLCLK) return true;
    return false;
  }));
  EXPECT_FALSE(g.window->IsZoomed());
  EXPECT_EQ(g.window->GetWindowRect(), before);

  qttest::MoveTo(caption);
  qttest::Xdo("mousedown 1");
  qttest::Pump(100);
  for (int step = 1; step <= 5; ++step) {
    qttest::MoveTo({caption.x - 12 * step, caption.y + 8 * step});
    qttest::Pump(40);
  }
  qttest::Xdo("mouseup 1");
  ASSERT_TRUE(PumpUntil([&] { return g.window->GetWindowRect().left == before.left - 60; }))
      << g.window->GetWindowRect().left;
  EXPECT_EQ(g.window->GetWindowRect().top, before.top + 40);
  EXPECT_EQ(g.window->GetWindowRect().Width(), 300);
  // Dragging the caption is no click on anything.
  for (const Note& n : g.window->Notes()) EXPECT_NE(n.type, tk::kNotifyClick);
}

TEST_F(QtWindowTest, MinimiseButtonAndRestore) {
  qttest::ShownGallery g;
  g.window->ClearRecords();
  qttest::RealClick(qttest::ScreenCentre(g.window, u"minbtn"));
  ASSERT_TRUE(PumpUntil([&] { return g.window->IsIconic(); }));
  g.window->ShowWindow(tk::SW_RESTORE);
  EXPECT_TRUE(PumpUntil([&] { return !g.window->IsIconic() && g.window->IsWindowVisible(); }));
  g.window->SendMessage(tk::WM_SYSCOMMAND, tk::SC_MINIMIZE, 0);
  EXPECT_TRUE(PumpUntil([&] { return g.window->IsIconic(); }));
  g.window->SendMessage(tk::WM_SYSCOMMAND, tk::SC_RESTORE, 0);
  EXPECT_TRUE(PumpUntil([&] { return !g.window->IsIconic(); }));
  g.window->ShowWindow(tk::SW_HIDE);
  EXPECT_TRUE(PumpUntil([&] { return !g.window->IsWindowVisible(); }));
  g.window->ShowWindow(tk::SW_SHOW);
  EXPECT_TRUE(PumpUntil([&] { return g.window->IsWindowVisible(); }));
}

TEST_F(QtWindowTest, ActivationArrivesAsWmActivate) {
  qttest::ShownGallery g;
  qttest::RealClick(qttest::ScreenCentre(g.window, u"label"));
  g.window->SetForeground();
  EXPECT_TRUE(PumpUntil([&] {
    for (const auto& m : g.window->Messages())
      if (m.message == tk::WM_ACTIVATE && m.wParam != tk::WA_INACTIVE) return true;
    return false;
  }));
}

TEST_F(QtWindowTest, DesktopCloseRequestPressesCloseButton) {
  qttest::ShownGallery g;
  g.window->ClearRecords();
  g.widget->close();  // what the window manager's close does
  ASSERT_TRUE(PumpUntil([&] {
    for (const Note& n : g.window->Notes())
      if (n.type == tk::kNotifyClick && n.sender == u"closebtn") return true;
    return false;
  }));
  EXPECT_TRUE(g.window->IsWindow());
}

TEST(QtInput, InputMethodTextGoesIntoTheFocusedEdit) {
  qttest::ShownGallery g;
  auto* edit = g.window->GetPaintManager()->Find<tk::CEditUI>(u"edit_plain");
  auto* pwd = g.window->GetPaintManager()->Find<tk::CEditUI>(u"edit_pwd");
  EXPECT_FALSE(g.widget->inputMethodQuery(Qt::ImEnabled).toBool());
  edit->SetFocus();
  g.widget->setFocus();
  g.widget->repaint();
  EXPECT_TRUE(g.widget->inputMethodQuery(Qt::ImEnabled).toBool());
  // The candidate window goes where the caret is.
  const QRect caret = g.widget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  const tk::Rect box = edit->GetPos();
  EXPECT_TRUE(QRect(box.left, box.top, box.Width(), box.Height()).intersects(caret)) << caret.x() << "," << caret.y();
  // Composing shows nothing in the edit yet; the commit types it.
  QInputMethodEvent composing(QStringLiteral("nihao"), {});
  QCoreApplication::sendEvent(g.widget, &composing);
  g.widget->repaint();
  EXPECT_EQ(edit->GetText(), u"");
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("你好"));
  QCoreApplication::sendEvent(g.widget, &commit);
  EXPECT_EQ(edit->GetText(), u"你好");
  // A password edit tells the input method to keep out.
  pwd->SetFocus();
  g.widget->repaint();
  const int hints = g.widget->inputMethodQuery(Qt::ImHints).toInt();
  EXPECT_TRUE(hints & Qt::ImhHiddenText);
  EXPECT_TRUE(hints & Qt::ImhSensitiveData);
}

TEST_F(QtWindowTest, WheelScrollsTheList) {
  qttest::ShownGallery g;
  g.window->RebuildList(12);
  qttest::Pump(100);
  auto* list = g.window->GetPaintManager()->Find<tk::CListUI>(u"list");
  ASSERT_GT(list->GetScrollRange().cy, 0);
  qttest::MoveTo(qttest::ScreenCentre(g.window, u"list"));
  qttest::Xdo("click 5");  // wheel down
  EXPECT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy > 0; }));
}

}  // namespace

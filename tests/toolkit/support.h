// Shared set-up of the toolkit tests: one headless platform for the
// process, a temporary skin folder with the real theme, and small windows
// built from skin text.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "ui/toolkit/headless/driver.h"
#include "ui/toolkit/resources.h"
#include "ui/toolkit/toolkit.h"

namespace tk {
inline void PrintTo(const Rect& r, std::ostream* os) {
  *os << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}
inline void PrintTo(const Size& s, std::ostream* os) { *os << "{" << s.cx << "," << s.cy << "}"; }
inline void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << "," << p.y << ")"; }
}  // namespace tk

namespace tktest {

tk::headless::HeadlessPlatform& Platform();

// A fresh folder under /tmp holding "Skins/theme.xml" (the real theme).
class SkinDir {
 public:
  SkinDir();
  ~SkinDir();
  // Writes Skins/<name> with the given bytes.
  void Write(const std::string& name, std::string_view bytes) const;
  std::string Root() const { return m_root; }
  std::u16string SkinsPath() const;

 private:
  std::string m_root;
};

// A window whose skin is given as text; records its notifications.
class TestWindow : public tk::WindowImplBase {
 public:
  TestWindow(std::u16string skinFile, std::u16string className = u"TestWindow")
      : m_skinFile(std::move(skinFile)), m_className(std::move(className)) {}

  std::u16string GetWindowClassName() const override { return m_className; }
  std::u16string GetSkinFolder() override { return u"Skins/"; }
  std::u16string GetSkinFile() override { return m_skinFile; }
  void InitWindow() override {
    initRan = true;
    if (onInit) onInit(*this);
  }
  void Notify(tk::TNotifyUI& msg) override {
    events.push_back(msg.sType + u":" + (msg.pSender ? msg.pSender->GetName() : u""));
    wparams.push_back(msg.wParam);
    if (onNotify) onNotify(msg);
  }
  tk::LRESULT HandleMessage(tk::UINT m, tk::WPARAM w, tk::LPARAM l) override {
    messages.push_back(m);
    if (onMessage) {
      bool handled = false;
      tk::LRESULT r = onMessage(m, w, l, handled);
      if (handled) return r;
    }
    return WindowImplBase::HandleMessage(m, w, l);
  }
  void OnFinalMessage(tk::HWND) override { finalRan = true; }

  tk::CPaintManagerUI& Pm() { return m_PaintManager; }
  // Events of a type, as "type:name".
  std::vector<std::u16string> Events(std::u16string_view type) const;
  bool Saw(tk::UINT message) const;

  bool initRan = false;
  bool finalRan = false;
  std::vector<std::u16string> events;
  std::vector<tk::WPARAM> wparams;
  std::vector<tk::UINT> messages;
  std::function<void(TestWindow&)> onInit;
  std::function<void(tk::TNotifyUI&)> onNotify;
  std::function<tk::LRESULT(tk::UINT, tk::WPARAM, tk::LPARAM, bool&)> onMessage;

 private:
  std::u16string m_skinFile;
  std::u16string m_className;
};

// Base fixture: a skin folder as instance path, records cleared.
class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Writes the skin and creates a visible 300x550 window from it.
  TestWindow* Open(std::string_view skinXml, int cx = 300, int cy = 550, std::u16string className = u"TestWindow");
  tk::headless::Driver& D() { return *m_driver; }

  SkinDir m_dir;
  std::unique_ptr<tk::headless::Driver> m_driver;
  std::vector<std::unique_ptr<TestWindow>> m_windows;
  int m_counter = 0;
};

std::string Utf8(std::u16string_view s);

}  // namespace tktest

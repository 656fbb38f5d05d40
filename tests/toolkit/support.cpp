#include "support.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "storage/text.h"

namespace tktest {

tk::headless::HeadlessPlatform& Platform() {
  static tk::headless::HeadlessPlatform* platform = &tk::headless::InstallHeadless();
  return *platform;
}

std::string Utf8(std::u16string_view s) { return qv::ToUtf8(s); }

SkinDir::SkinDir() {
  char tmpl[] = "/tmp/qv-toolkit-test.XXXXXX";
  char* dir = ::mkdtemp(tmpl);
  m_root = dir ? dir : "/tmp";
  std::filesystem::create_directories(m_root + "/Skins");
  std::filesystem::copy_file(std::string(QV_SKINS_DIR) + "/theme.xml", m_root + "/Skins/theme.xml");
}

SkinDir::~SkinDir() {
  std::error_code ec;
  std::filesystem::remove_all(m_root, ec);
}

void SkinDir::Write(const std::string& name, std::string_view bytes) const {
  std::ofstream out(m_root + "/Skins/" + name, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::u16string SkinDir::SkinsPath() const { return qv::FromUtf8(m_root + "/Skins/"); }

std::vector<std::u16string> TestWindow::Events(std::u16string_view type) const {
  std::vector<std::u16string> out;
  std::u16string prefix = std::u16string(type) + u":";
  for (auto& e : events)
    if (e.starts_with(prefix)) out.push_back(e);
  return out;
}

bool TestWindow::Saw(tk::UINT message) const {
  for (auto m : messages)
    if (m == message) return true;
  return false;
}

void ToolkitTest::SetUp() {
  Platform();
  tk::CPaintManagerUI::SetInstancePath(qv::FromUtf8(m_dir.Root() + "/"));
  m_driver = std::make_unique<tk::headless::Driver>(Platform());
  Platform().ClearRecords();
  Platform().ResetQuit();
  Platform().SetMessageBoxHandler(nullptr);
}

void ToolkitTest::TearDown() {
  for (auto& w : m_windows)
    if (w->GetHWND()) w->DestroyWindow();
  Platform().RunPending();
  m_windows.clear();
}

TestWindow* ToolkitTest::Open(std::string_view skinXml, int cx, int cy, std::u16string className) {
  std::string name = "skin" + std::to_string(++m_counter) + ".xml";
  m_dir.Write(name, skinXml);
  auto w = std::make_unique<TestWindow>(qv::FromUtf8(name), std::move(className));
  w->Create(nullptr, u"测试", tk::WS_OVERLAPPEDWINDOW | tk::WS_VISIBLE, 0, 0, 0, cx, cy);
  Platform().RunPending();
  m_windows.push_back(std::move(w));
  return m_windows.back().get();
}

}  // namespace tktest

// Shared set-up of the window tests: one headless toolkit per process, the
// skins of the build tree, and a fresh working folder per test (the data
// folder "QVPhone" is made in the current directory).
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "storage/text.h"
#include "ui/toolkit/headless/driver.h"
#include "ui/toolkit/headless/headless_platform.h"
#include "ui/toolkit/paint_manager.h"
#include "ui/toolkit/platform.h"

namespace uitest {

inline tk::headless::HeadlessPlatform& Platform() {
  static tk::headless::HeadlessPlatform* platform = [] {
    auto* p = &tk::headless::InstallHeadless();
    tk::InstallStorageHooks();
    tk::CPaintManagerUI::SetInstancePath(qv::Widen(QV_BIN_DIR "/"));
    return p;
  }();
  return *platform;
}

// A fresh, empty current directory for one test.
class WorkFolder {
 public:
  WorkFolder() {
    char pattern[] = "/tmp/qv-ui-test.XXXXXX";
    path_ = mkdtemp(pattern);
    old_ = std::filesystem::current_path();
    std::filesystem::current_path(path_);
    setenv("XDG_CONFIG_HOME", (path_ + "/config").c_str(), 1);
  }
  ~WorkFolder() {
    std::filesystem::current_path(old_);
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::filesystem::path old_;
};

// The message boxes recorded so far with this text.
inline int CountBoxes(std::u16string_view text) {
  int n = 0;
  for (const auto& box : Platform().MessageBoxes()) n += box.text == text ? 1 : 0;
  return n;
}

// Boxes other than the fetcher's "网络连接失败" (worker requests of the
// main window may fail where no service runs).
inline std::vector<tk::headless::MessageBoxRecord> OwnBoxes() {
  std::vector<tk::headless::MessageBoxRecord> boxes;
  for (const auto& box : Platform().MessageBoxes()) {
    if (box.text != u"网络连接失败") boxes.push_back(box);
  }
  return boxes;
}

}  // namespace uitest

#include "ui/toolkit/platform.h"

#include <atomic>
#include <mutex>
#include <vector>

#include "storage/hooks.h"
#include "ui/toolkit/headless/headless_platform.h"

namespace tk {

namespace {
std::mutex g_installMutex;
std::unique_ptr<Platform> g_owned;
std::atomic<Platform*> g_platform{nullptr};
}  // namespace

Platform& InstallPlatform(std::unique_ptr<Platform> platform) {
  std::lock_guard lock(g_installMutex);
  // The previous backend stays alive (threads may still hold it); it is
  // released at exit.
  static std::vector<std::unique_ptr<Platform>> retired;
  if (g_owned) retired.push_back(std::move(g_owned));
  g_owned = std::move(platform);
  g_platform.store(g_owned.get());
  return *g_owned;
}

Platform& CurrentPlatform() {
  Platform* p = g_platform.load();
  if (p) return *p;
  std::lock_guard lock(g_installMutex);
  if (!g_owned) {
    g_owned = std::make_unique<headless::HeadlessPlatform>();
    g_platform.store(g_owned.get());
  }
  return *g_owned;
}

void InstallStorageHooks() {
  qv::SetMessageHook([](qv::MessageOwner owner, const std::u16string& text) {
    MessageBox(static_cast<HWND>(owner), text, qv::kMessageCaption, MB_OK);
  });
  qv::SetSoundHook([](const std::u16string& path) { PlaySoundFile(path); });
}

}  // namespace tk

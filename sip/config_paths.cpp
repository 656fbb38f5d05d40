#include "config_paths.h"

#include "sip/sip.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

namespace qv {

namespace {

namespace fs = std::filesystem;

// Size of a regular file, or -1 when there is none.
long long FileSize(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  return static_cast<long long>(st.st_size);
}

std::string UserConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home && *home) return std::string(home) + "/.config";
  return {};
}

}  // namespace

std::string EngineFolder() {
  std::string base = UserConfigFolder();
  if (base.empty()) return {};
  std::string folder = base + "/Linphone";
  std::error_code ec;
  fs::create_directories(folder, ec);  // a failure shows later, as no file
  return folder;
}

ConfigFile ConfigFilePath() {
  ConfigFile config;
  if (FileSize("veltophonerc") > 0) {
    config.path = "veltophonerc";
    config.present = true;
    return config;
  }
  std::string folder = EngineFolder();
  if (folder.empty()) {
    config.path = "veltophonerc";
    return config;
  }
  config.path = folder + "/veltophonerc";
  config.present = FileSize(config.path) > 250;
  return config;
}

std::string FactoryFilePath() {
  return FileSize("veltophonerc.factory") > 0 ? "veltophonerc.factory" : "";
}

}  // namespace qv

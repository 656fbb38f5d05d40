#include "web/service_hosts.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>

namespace qv {

namespace {

std::string Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(" \t\r\n");
  if (b == std::string_view::npos) return {};
  const size_t e = s.find_last_not_of(" \t\r\n");
  return std::string(s.substr(b, e - b + 1));
}

std::string ExecutableDir() {
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  const std::string path(buf, static_cast<size_t>(n));
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash);
}

const std::map<std::string, std::string, std::less<>>& FileSettings() {
  static const std::map<std::string, std::string, std::less<>> settings = [] {
    std::map<std::string, std::string, std::less<>> m;
    std::ifstream in(ExecutableDir() + "/service.conf");
    std::string line;
    while (std::getline(in, line)) {
      const size_t hash = line.find('#');
      if (hash != std::string::npos) line.resize(hash);
      const size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      std::string key = Trim(std::string_view(line).substr(0, eq));
      if (!key.empty()) m[key] = Trim(std::string_view(line).substr(eq + 1));
    }
    return m;
  }();
  return settings;
}

struct HostSetting {
  const char* key;
  const char* fallback;
};

HostSetting SettingOf(Service service) {
  switch (service) {
    case Service::Api:
    case Service::Message: return {"QV_HOST_API", "127.0.0.1"};
    case Service::Contacts: return {"QV_HOST_CONTACTS", "127.0.0.1:8901"};
    case Service::Pay: return {"QV_HOST_PAY", "127.0.0.1:8902"};
    case Service::UserCenter: return {"QV_HOST_USERCENTER", "127.0.0.1:8903"};
    case Service::Mobile: return {"QV_HOST_MOBILE", "127.0.0.1:8904"};
    case Service::Site: return {"QV_HOST_SITE", "127.0.0.1:8905"};
    case Service::Lookup: return {"QV_HOST_LOOKUP", "127.0.0.1:8906"};
    case Service::SipDomain: return {"QV_SIP_DOMAIN", "127.0.0.1"};
  }
  return {"", ""};
}

}  // namespace

std::string ServiceSetting(std::string_view key, std::string_view fallback) {
  const std::string name(key);
  if (const char* env = std::getenv(name.c_str()); env != nullptr && *env != '\0') return env;
  const auto& file = FileSettings();
  if (auto it = file.find(key); it != file.end() && !it->second.empty()) return it->second;
  return std::string(fallback);
}

std::string ServiceHost(Service service) {
  const HostSetting s = SettingOf(service);
  return ServiceSetting(s.key, s.fallback);
}

std::string ServiceBase(Service service) {
  std::string base = "http://" + ServiceHost(service);
  if (service == Service::Api || service == Service::Message) base += ":" + std::to_string(kApiPort);
  return base;
}

}  // namespace qv

#include "web/http_get.h"

#include <curl/curl.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "storage/hooks.h"
#include "storage/text.h"
#include "web/service_hosts.h"

namespace qv {

namespace {

std::atomic<long long> connectTimeoutMs{-1};
std::atomic<long long> totalTimeoutMs{-1};

long long SettingMs(const char* key, long long fallbackSeconds) {
  const std::string text = ServiceSetting(key, "");
  char* end = nullptr;
  const double seconds = std::strtod(text.c_str(), &end);
  if (text.empty() || end == text.c_str() || !(seconds > 0) || seconds > 3600) return fallbackSeconds * 1000;
  return static_cast<long long>(seconds * 1000);
}

void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct Body {
  std::string bytes;
  bool tooLong = false;
};

size_t OnData(char* data, size_t size, size_t count, void* user) {
  auto* body = static_cast<Body*>(user);
  const size_t n = size * count;
  if (body->bytes.size() + n > kMaxReplyBytes) {
    body->tooLong = true;
    return 0;  // aborts the transfer
  }
  body->bytes.append(data, n);
  return n;
}

class EasyHandle {
 public:
  EasyHandle() : h_(curl_easy_init()) {}
  ~EasyHandle() {
    if (h_ != nullptr) curl_easy_cleanup(h_);
  }
  EasyHandle(const EasyHandle&) = delete;
  EasyHandle& operator=(const EasyHandle&) = delete;
  CURL* get() const { return h_; }

 private:
  CURL* h_;
};

}  // namespace

HttpTimeouts CurrentHttpTimeouts() {
  long long connect = connectTimeoutMs.load();
  long long total = totalTimeoutMs.load();
  if (connect < 0) connect = SettingMs("QV_HTTP_CONNECT_TIMEOUT", 5);
  if (total < 0) total = SettingMs("QV_HTTP_TIMEOUT", 10);
  return {std::chrono::milliseconds(connect), std::chrono::milliseconds(total)};
}

void SetHttpTimeouts(HttpTimeouts timeouts) {
  connectTimeoutMs = timeouts.connect.count();
  totalTimeoutMs = timeouts.total.count();
}

std::u16string HttpGet(std::string_view url, std::string_view encoding) {
  InitCurlOnce();
  EasyHandle easy;
  CURL* h = easy.get();
  if (h == nullptr) return {};

  const std::string urlText(url);
  const HttpTimeouts timeouts = CurrentHttpTimeouts();
  Body body;
  curl_easy_setopt(h, CURLOPT_URL, urlText.c_str());
  curl_easy_setopt(h, CURLOPT_USERAGENT, "UrlTest");
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connect.count()));
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.total.count()));
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(h, CURLOPT_MAXREDIRS, 5L);
  curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(h, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxReplyBytes));
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnData);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);

  const CURLcode rc = curl_easy_perform(h);
  if (rc != CURLE_OK) {
    long status = 0;
    curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
    // No status means no reply began: the server was never reached.
    if (status == 0 && !body.tooLong) ShowMessage(nullptr, kNetworkFailedText);
    return {};
  }

  std::string_view bytes = body.bytes;
  if (const size_t zero = bytes.find('\0'); zero != std::string_view::npos) bytes = bytes.substr(0, zero);
  if (encoding.empty()) return FromUtf8(bytes);
  if (encoding == "GBK") return FromAnsi(bytes);
  return {};
}

}  // namespace qv

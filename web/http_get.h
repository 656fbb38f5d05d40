// One blocking HTTP GET whose whole request is the URL (build it with
// BuildUrl). The body of any status is the reply.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// Replies longer than this are failed fetches, never partial ones.
inline constexpr std::size_t kMaxReplyBytes = 1 << 20;

// The text "网络连接失败" shown once per fetch that cannot reach its server.
inline constexpr std::u16string_view kNetworkFailedText = u"网络连接失败";

// Fetches `url` with the agent name "UrlTest" and returns the body, up to
// its first zero byte, decoded by `encoding`: "" as UTF-8, "GBK" (exactly,
// case-sensitive) as GBK; any other name gives the empty text although the
// reply was read.
//
// Failures give the empty text. When the server cannot be reached (no
// network, unknown host, refused, no reply within the time-outs) the
// message "网络连接失败" is shown once, through ShowMessage, on the calling
// thread, before HttpGet returns. A reply that fails after it began (broken
// connection, time-out while reading, body over kMaxReplyBytes) gives the
// empty text without a message.
//
// Thread-safe; keeps no state between calls.
std::u16string HttpGet(std::string_view url, std::string_view encoding = "");

struct HttpTimeouts {
  std::chrono::milliseconds connect;  // to establish the connection
  std::chrono::milliseconds total;    // for the whole fetch
};

// The time-outs in force: set by SetHttpTimeouts, else the settings
// QV_HTTP_CONNECT_TIMEOUT and QV_HTTP_TIMEOUT (seconds; see
// service_hosts.h), else 5 s and 10 s.
HttpTimeouts CurrentHttpTimeouts();
void SetHttpTimeouts(HttpTimeouts timeouts);

}  // namespace qv

#include "query.h"

#include <httplib.h>

#include "storage/text.h"

namespace qv::service {

std::string Query::Get(const std::string& key) const {
  auto it = params_.find(key);
  return it == params_.end() ? std::string() : it->second;
}

bool Query::Acceptable() const {
  for (const auto& [key, value] : params_) {
    if (key.size() > kMaxValueBytes || value.size() > kMaxValueBytes) return false;
    if (!IsValidUtf8(key) || !IsValidUtf8(value)) return false;
  }
  return true;
}

bool IsValidUtf8(std::string_view bytes) {
  // A text survives the round trip through UTF-16 unchanged exactly when it
  // is well-formed: every ill-formed sequence decodes to U+FFFD.
  return qv::ToUtf8(qv::FromUtf8(bytes)) == bytes;
}

}  // namespace qv::service

namespace qv::service {

Params ParseQuery(std::string_view target) {
  Params params;
  size_t question = target.find('?');
  if (question == std::string_view::npos) return params;
  std::string_view query = target.substr(question + 1);
  size_t hash = query.find('#');
  if (hash != std::string_view::npos) query = query.substr(0, hash);
  while (!query.empty()) {
    size_t amp = query.find('&');
    std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (pair.empty()) continue;
    size_t eq = pair.find('=');
    std::string key(pair.substr(0, eq));
    std::string value(eq == std::string_view::npos ? std::string_view() : pair.substr(eq + 1));
    params.emplace(httplib::detail::decode_url(key, true), httplib::detail::decode_url(value, true));
  }
  return params;
}

}  // namespace qv::service

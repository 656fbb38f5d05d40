#include "query.h"

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

// The decoded query of a request. Values arrive percent-encoded UTF-8; a
// request whose keys or values are not valid UTF-8, or are longer than a
// query value can sensibly be, is refused before any handler sees it.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace qv::service {

using Params = std::multimap<std::string, std::string>;

class Query {
 public:
  static constexpr size_t kMaxValueBytes = 512;

  explicit Query(const Params& params) : params_(params) {}

  // The first value of the key, or the empty text.
  std::string Get(const std::string& key) const;
  bool Has(const std::string& key) const { return params_.count(key) > 0; }

  // Every key and value valid UTF-8 and at most kMaxValueBytes long.
  bool Acceptable() const;

  const Params& params() const { return params_; }

 private:
  const Params& params_;
};

bool IsValidUtf8(std::string_view bytes);

// The query of a request target as received ("/path?a=1&b=2"): pairs split
// at '&' only, each at its first '=', keys and values percent-decoded
// ('+' is a space). A value keeps every further '='.
Params ParseQuery(std::string_view target);

}  // namespace qv::service

// The one way a request URL is built: base, fixed path, query keys in the
// given order, each value percent-encoded as UTF-8 (only the unreserved
// characters A-Z a-z 0-9 - . _ ~ stay as they are).
//
//   BuildUrl(ServiceBase(Service::Api), "/reg", {{"phone", phone}, {"pwd", pwd}})
//   -> "http://127.0.0.1:8899/reg?phone=138...&pwd=..."
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {

struct UrlParam {
  std::string_view key;      // fixed ASCII query key, written as it is
  std::u16string_view value; // any text; percent-encoded
};

// Percent-encoding of the text's UTF-8 bytes, upper-case hex digits.
std::string PercentEncode(std::u16string_view value);

// base + path, then "?" and key=value pairs joined by "&" (no "?" when
// there are no parameters).
std::string BuildUrl(std::string_view base, std::string_view path, std::initializer_list<UrlParam> params);
std::string BuildUrl(std::string_view base, std::string_view path, const std::vector<UrlParam>& params);

}  // namespace qv

#include "web/url.h"

#include "storage/text.h"

namespace qv {

namespace {

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

template <typename Params>
std::string Build(std::string_view base, std::string_view path, const Params& params) {
  std::string url;
  url.reserve(base.size() + path.size() + 64);
  url += base;
  url += path;
  char joiner = '?';
  for (const UrlParam& p : params) {
    url += joiner;
    url += p.key;
    url += '=';
    url += PercentEncode(p.value);
    joiner = '&';
  }
  return url;
}

}  // namespace

std::string PercentEncode(std::u16string_view value) {
  static const char kHex[] = "0123456789ABCDEF";
  const std::string bytes = ToUtf8(value);
  std::string out;
  out.reserve(bytes.size() * 3);
  for (char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (IsUnreserved(c)) {
      out.push_back(ch);
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

std::string BuildUrl(std::string_view base, std::string_view path, std::initializer_list<UrlParam> params) {
  return Build(base, path, params);
}

std::string BuildUrl(std::string_view base, std::string_view path, const std::vector<UrlParam>& params) {
  return Build(base, path, params);
}

}  // namespace qv

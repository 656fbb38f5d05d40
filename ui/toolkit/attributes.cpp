#include "ui/toolkit/attributes.h"

#include <climits>

namespace tk {

std::u16string_view Trim(std::u16string_view v) {
  auto space = [](char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
  while (!v.empty() && space(v.front())) v.remove_prefix(1);
  while (!v.empty() && space(v.back())) v.remove_suffix(1);
  return v;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char16_t x = a[i], y = b[i];
    if (x >= u'A' && x <= u'Z') x = x - u'A' + u'a';
    if (y >= u'A' && y <= u'Z') y = y - u'A' + u'a';
    if (x != y) return false;
  }
  return true;
}

std::u16string ToLowerAscii(std::u16string_view v) {
  std::u16string out(v);
  for (auto& c : out)
    if (c >= u'A' && c <= u'Z') c = c - u'A' + u'a';
  return out;
}

std::optional<int> ParseInt(std::u16string_view v) {
  v = Trim(v);
  if (v.empty()) return std::nullopt;
  bool neg = false;
  if (v.front() == u'-' || v.front() == u'+') {
    neg = v.front() == u'-';
    v.remove_prefix(1);
  }
  if (v.empty()) return std::nullopt;
  long long value = 0;
  for (char16_t c : v) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > 100000000) return std::nullopt;  // no skin value is this large
  }
  return static_cast<int>(neg ? -value : value);
}

std::optional<std::vector<int>> ParseIntList(std::u16string_view v) {
  std::vector<int> out;
  v = Trim(v);
  if (v.empty()) return std::nullopt;
  while (true) {
    std::size_t comma = v.find(u',');
    auto part = v.substr(0, comma);
    auto n = ParseInt(part);
    if (!n) return std::nullopt;
    out.push_back(*n);
    if (out.size() > 16) return std::nullopt;
    if (comma == std::u16string_view::npos) break;
    v.remove_prefix(comma + 1);
  }
  return out;
}

std::optional<Rect> ParseRect(std::u16string_view v) {
  auto list = ParseIntList(v);
  if (!list || list->size() != 4) return std::nullopt;
  return Rect{(*list)[0], (*list)[1], (*list)[2], (*list)[3]};
}

std::optional<Size> ParseSize(std::u16string_view v) {
  auto list = ParseIntList(v);
  if (!list) return std::nullopt;
  if (list->size() == 1) return Size{(*list)[0], (*list)[0]};
  if (list->size() != 2) return std::nullopt;
  return Size{(*list)[0], (*list)[1]};
}

std::optional<bool> ParseBool(std::u16string_view v) {
  v = Trim(v);
  if (EqualsNoCase(v, u"true") || v == u"1" || EqualsNoCase(v, u"yes")) return true;
  if (EqualsNoCase(v, u"false") || v == u"0" || EqualsNoCase(v, u"no")) return false;
  return std::nullopt;
}

std::optional<Color> ParseHexColor(std::u16string_view v) {
  v = Trim(v);
  if (!v.empty() && v.front() == u'#') {
    v.remove_prefix(1);
  } else if (v.size() > 2 && v[0] == u'0' && (v[1] == u'x' || v[1] == u'X')) {
    v.remove_prefix(2);
  }
  if (v.size() != 6 && v.size() != 8) return std::nullopt;
  Color c = 0;
  for (char16_t ch : v) {
    int d;
    if (ch >= u'0' && ch <= u'9') d = ch - u'0';
    else if (ch >= u'a' && ch <= u'f') d = ch - u'a' + 10;
    else if (ch >= u'A' && ch <= u'F') d = ch - u'A' + 10;
    else return std::nullopt;
    c = (c << 4) | static_cast<Color>(d);
  }
  if (v.size() == 6) c |= 0xFF000000u;
  return c;
}

std::vector<std::pair<std::u16string, std::u16string>> ParseAttributeList(std::u16string_view list) {
  std::vector<std::pair<std::u16string, std::u16string>> out;
  std::size_t i = 0;
  auto skipSpace = [&] {
    while (i < list.size() && (list[i] == u' ' || list[i] == u'\t' || list[i] == u'\r' || list[i] == u'\n')) ++i;
  };
  while (true) {
    skipSpace();
    if (i >= list.size()) break;
    std::size_t nameStart = i;
    while (i < list.size() && list[i] != u'=' && list[i] != u' ' && list[i] != u'\t') ++i;
    std::u16string name(list.substr(nameStart, i - nameStart));
    skipSpace();
    if (i >= list.size() || list[i] != u'=' || name.empty()) break;
    ++i;
    skipSpace();
    if (i >= list.size()) break;
    char16_t quote = list[i];
    if (quote != u'"' && quote != u'\'') break;
    ++i;
    std::size_t end = list.find(quote, i);
    if (end == std::u16string_view::npos) break;
    out.emplace_back(std::move(name), std::u16string(list.substr(i, end - i)));
    i = end + 1;
  }
  return out;
}

std::optional<ImageSpec> ParseImage(std::u16string_view v) {
  v = Trim(v);
  if (v.empty()) return std::nullopt;
  ImageSpec spec;
  if (v.find(u'=') == std::u16string_view::npos || v.find(u'\'') == std::u16string_view::npos) {
    spec.file = std::u16string(v);
    return spec;
  }
  auto pairs = ParseAttributeList(v);
  for (auto& [name, value] : pairs) {
    if (name == u"file") {
      spec.file = value;
    } else if (name == u"source") {
      if (auto r = ParseRect(value)) spec.source = *r;
    } else if (name == u"dest") {
      if (auto r = ParseRect(value)) {
        spec.dest = *r;
        spec.hasDest = true;
      }
    } else if (name == u"corner") {
      if (auto r = ParseRect(value)) spec.corner = *r;
    } else if (name == u"fade") {
      if (auto n = ParseInt(value)) spec.fade = std::clamp(*n, 0, 255);
    }
  }
  if (spec.file.empty()) return std::nullopt;
  return spec;
}

}  // namespace tk

#include "web/reply_field.h"

namespace qv {

namespace {

bool IsPunctuation(char16_t c) { return c == u'{' || c == u'}' || c == u'"' || c == u'[' || c == u']'; }

// Compares the item's name, with spaces left out, to the key.
bool NameEquals(std::u16string_view name, std::u16string_view key) {
  size_t k = 0;
  for (char16_t c : name) {
    if (c == u' ') continue;
    if (k >= key.size() || key[k] != c) return false;
    ++k;
  }
  return k == key.size();
}

}  // namespace

std::u16string ReplyField(std::u16string_view text, std::u16string_view key,
                          char16_t itemSeparator, char16_t nameSeparator) {
  if (text.empty()) return {};
  std::u16string stripped;
  std::u16string_view rest = text;
  for (char16_t c : text) {
    if (IsPunctuation(c)) {
      stripped.reserve(text.size());
      for (char16_t d : text) {
        if (!IsPunctuation(d)) stripped.push_back(d);
      }
      rest = stripped;
      break;
    }
  }
  while (!rest.empty()) {
    const size_t end = rest.find(itemSeparator);
    const std::u16string_view item = rest.substr(0, end);
    rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    if (item.empty()) continue;
    const size_t sep = item.find(nameSeparator);
    const std::u16string_view name = sep == std::u16string_view::npos ? std::u16string_view() : item.substr(0, sep);
    if (NameEquals(name, key)) {
      return std::u16string(sep == std::u16string_view::npos ? item : item.substr(sep + 1));
    }
  }
  return {};
}

}  // namespace qv

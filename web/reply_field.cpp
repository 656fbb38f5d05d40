#include "web/reply_field.h"

namespace qv {

namespace {

bool IsPunctuation(char16_t c) { return c == u'{' || c == u'}' || c == u'"' || c == u'[' || c == u']'; }

std::u16string WithoutPunctuation(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (!IsPunctuation(c)) out.push_back(c);
  }
  return out;
}

// Compares a name to the key, leaving out spaces and, when `skipPunctuation`,
// the JSON punctuation.
bool NameEquals(std::u16string_view name, std::u16string_view key, bool skipPunctuation) {
  size_t k = 0;
  for (char16_t c : name) {
    if (c == u' ' || (skipPunctuation && IsPunctuation(c))) continue;
    if (k >= key.size() || key[k] != c) return false;
    ++k;
  }
  return k == key.size();
}

bool OnlyPunctuation(std::u16string_view item) {
  for (char16_t c : item) {
    if (!IsPunctuation(c)) return false;
  }
  return true;
}

// Walks the items of `text`. When `skipPunctuation`, the text still holds
// its punctuation and every test treats it as absent; since neither
// separator is punctuation then, the positions of the separators are the
// same as in the stripped text.
std::u16string Find(std::u16string_view text, std::u16string_view key, char16_t itemSeparator,
                    char16_t nameSeparator, bool skipPunctuation) {
  std::u16string_view rest = text;
  while (!rest.empty()) {
    const size_t end = rest.find(itemSeparator);
    const std::u16string_view item = rest.substr(0, end);
    rest = end == std::u16string_view::npos ? std::u16string_view() : rest.substr(end + 1);
    if (item.empty() || (skipPunctuation && OnlyPunctuation(item))) continue;
    const size_t sep = item.find(nameSeparator);
    const std::u16string_view name = sep == std::u16string_view::npos ? std::u16string_view() : item.substr(0, sep);
    if (NameEquals(name, key, skipPunctuation)) {
      const std::u16string_view value = sep == std::u16string_view::npos ? item : item.substr(sep + 1);
      return skipPunctuation ? WithoutPunctuation(value) : std::u16string(value);
    }
  }
  return {};
}

}  // namespace

std::u16string ReplyField(std::u16string_view text, std::u16string_view key,
                          char16_t itemSeparator, char16_t nameSeparator) {
  if (text.empty()) return {};
  if (IsPunctuation(itemSeparator) || IsPunctuation(nameSeparator)) {
    const std::u16string stripped = WithoutPunctuation(text);
    return Find(stripped, key, itemSeparator, nameSeparator, false);
  }
  return Find(text, key, itemSeparator, nameSeparator, true);
}

}  // namespace qv

// ReplyField against a plain transcription of its steps (strip the
// punctuation, split, compare), on arbitrary text, keys and separators.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "storage/text.h"
#include "web/reply_field.h"

namespace {

std::u16string Reference(std::u16string text, std::u16string_view key, char16_t itemSep, char16_t nameSep) {
  if (text.empty()) return {};
  std::u16string stripped;
  for (char16_t c : text) {
    if (c != u'{' && c != u'}' && c != u'"' && c != u'[' && c != u']') stripped.push_back(c);
  }
  text = stripped;
  while (!text.empty()) {
    std::u16string item;
    const size_t pos = text.find(itemSep);
    if (pos == std::u16string::npos) {
      item = text;
      text.clear();
    } else {
      item = text.substr(0, pos);
      text = text.substr(pos + 1);
    }
    if (item.empty()) continue;
    std::u16string name, value;
    const size_t sep = item.find(nameSep);
    if (sep == std::u16string::npos) {
      value = item;
    } else {
      name = item.substr(0, sep);
      value = item.substr(sep + 1);
    }
    std::u16string bare;
    for (char16_t c : name) {
      if (c != u' ') bare.push_back(c);
    }
    if (bare == key) return value;
  }
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static const char16_t kSeparators[] = {u',', u':', u'=', u';', u' ', u'"', u'{', u'a'};
  const char16_t itemSep = kSeparators[data[0] & 7];
  const char16_t nameSep = kSeparators[(data[0] >> 3) & 7];
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  // The key is the part up to the first newline, the text what follows.
  const size_t nl = rest.find('\n');
  const std::u16string key = qv::FromUtf8(rest.substr(0, nl == std::string::npos ? 0 : nl));
  const std::u16string text = qv::FromUtf8(nl == std::string::npos ? rest : rest.substr(nl + 1));
  const std::u16string got = qv::ReplyField(text, key, itemSep, nameSep);
  if (got != Reference(text, key, itemSep, nameSep)) std::abort();
  return 0;
}

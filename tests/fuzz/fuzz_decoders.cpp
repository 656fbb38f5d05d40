// The UTF-8 and GBK decoders (and their encoders) on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "storage/text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

bool WellFormed(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const std::u16string utf8 = qv::FromUtf8(bytes);
  Check(utf8.size() <= bytes.size());
  Check(WellFormed(utf8));
  const std::string again = qv::ToUtf8(utf8);
  Check(qv::FromUtf8(again) == utf8);  // decoding is stable
  if (utf8.find(u'\uFFFD') == std::u16string::npos) Check(again == bytes);  // valid input round-trips

  const std::u16string gbk = qv::FromAnsi(bytes);
  Check(gbk.size() <= bytes.size());
  Check(WellFormed(gbk));
  const std::string back = qv::ToAnsi(gbk);
  if (gbk.find(u'\uFFFD') == std::u16string::npos) Check(qv::FromAnsi(back) == gbk);

  // Arbitrary UTF-16 (unpaired surrogates included) through both encoders.
  std::u16string units;
  for (size_t i = 0; i + 1 < size; i += 2) units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  const std::string ansi = qv::ToAnsi(units);
  Check(ansi.size() <= 2 * units.size());
  Check(qv::FromAnsi(ansi).size() <= units.size());
  Check(WellFormed(qv::FromUtf8(qv::ToUtf8(units))));
  Check(qv::LowBytes(units).size() <= units.size());
  qv::ToInt(units);
  return 0;
}

#include "web/sign.h"

#include "storage/text.h"
#include "web/md5.h"

namespace qv {

std::u16string SignText(std::u16string_view text) { return Widen(Md5::HexOf(LowBytes(text))); }

std::u16string SignAnsiText(std::u16string_view text) { return Widen(Md5::HexOf(ToAnsi(text))); }

std::u16string RequestSign(std::u16string_view id) {
  std::u16string text(id);
  text += kSignSalt;
  return SignText(text);
}

std::u16string ScramblePassword(std::u16string_view text) {
  std::string bytes = LowBytes(text);
  if (bytes.size() > 32) bytes.resize(32);
  for (char& ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      ch = static_cast<char>(187 - c);
    } else if (c >= '0' && c <= '4') {
      ch = static_cast<char>(c + 5);
    } else if (c >= '5' && c <= '9') {
      ch = static_cast<char>(c - 5);
    }
  }
  return FromAnsi(bytes);
}

}  // namespace qv

#include "protocol.h"

#include "storage/text.h"
#include "web/sign.h"

namespace qv::service {

std::string SignatureOf(std::string_view identifier) {
  return qv::ToUtf8(qv::RequestSign(qv::FromUtf8(identifier)));
}

bool SignatureMatches(std::string_view identifier, std::string_view sign) {
  return !sign.empty() && SignatureOf(identifier) == sign;
}

std::string UnscramblePassword(std::string_view scrambled) {
  return qv::ToUtf8(qv::ScramblePassword(qv::FromUtf8(scrambled)));
}

std::string ScramblePasswordText(std::string_view plain) { return UnscramblePassword(plain); }

bool IsAcceptablePassword(std::string_view plain) {
  if (plain.size() < 5 || plain.size() > 32) return false;
  for (unsigned char c : plain) {
    if (c < 0x21 || c > 0x7e) return false;
  }
  return true;
}

bool IsDigits(std::string_view text) {
  return !text.empty() && qv::IsAllDigits(qv::FromUtf8(text));
}

bool IsMobileNumber(std::string_view text) {
  return text.size() == 11 && IsDigits(text) && text[0] == '1' && text[1] >= '3';
}

bool IsDiallableNumber(std::string_view text) {
  if (!IsDigits(text)) return false;
  if (IsMobileNumber(text)) return true;
  if (text[0] == '0') return text.size() >= 10 && text.size() <= 12 && text[1] != '0';
  return text.size() == 10 && (text.substr(0, 3) == "400" || text.substr(0, 3) == "800");
}

bool ParseUid(std::string_view text, long long* uid) {
  *uid = 0;
  if (!IsDigits(text) || text.size() > 15) return false;
  long long value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  *uid = value;
  return value > 0;
}

}  // namespace qv::service

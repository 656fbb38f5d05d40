// The rules the service applies to what the phone sends: signatures,
// scrambled passwords, numbers.
#pragma once

#include <string>
#include <string_view>

namespace qv::service {

// "sign" is the MD5 of the identifier (number or uid) followed by the salt.
bool SignatureMatches(std::string_view identifier, std::string_view sign);
std::string SignatureOf(std::string_view identifier);

// The plain password behind a scrambled one (the substitution is its own
// inverse), as UTF-8.
std::string UnscramblePassword(std::string_view scrambled);
std::string ScramblePasswordText(std::string_view plain);

// A password the service accepts for a new account or a change: 5 to 32
// printable ASCII characters (it is also the SIP password).
bool IsAcceptablePassword(std::string_view plain);

// One or more ASCII digits.
bool IsDigits(std::string_view text);

// A mainland mobile number: 11 digits, "1" then 3..9.
bool IsMobileNumber(std::string_view text);

// A number a callback can be placed to: a mobile number, a fixed number
// with its area code (0 and 10 to 12 digits in all), or a 400/800 number.
bool IsDiallableNumber(std::string_view text);

// A uid as sent: 1 to 15 digits. False (and 0) otherwise.
bool ParseUid(std::string_view text, long long* uid);

}  // namespace qv::service

// Text conversions. Wide text is std::u16string (UTF-16); files and the
// SIP engine use the ANSI code page, which is GBK (code page 936); service
// replies are UTF-8. Every conversion in the program goes through here.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// UTF-8 bytes to text. Every invalid or truncated sequence becomes one
// U+FFFD per maximal invalid subpart (the usual Unicode practice).
std::u16string FromUtf8(std::string_view bytes);

// Text to UTF-8 bytes. An unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// Appends the UTF-8 bytes of one code point (at most U+10FFFF; the caller
// keeps surrogates out).
void AppendUtf8(std::string& out, char32_t cp);

// GBK (code page 936) bytes to text. A byte that starts no valid character
// becomes U+FFFD and decoding goes on with the next byte.
std::u16string FromAnsi(std::string_view bytes);

// Text to GBK bytes. A character GBK cannot represent becomes '?'.
std::string ToAnsi(std::u16string_view text);

// One byte per UTF-16 code unit, its low eight bits, up to the first zero
// byte. Used for digests, password scrambling and ToInt.
std::string LowBytes(std::u16string_view text);

// ASCII (or Latin-1) bytes widened one to one; for literals and digits.
std::u16string Widen(std::string_view latin1);

// Decimal text of a number.
std::u16string IntText(long long value);

// True when every character is '0'..'9'; true for the empty text.
bool IsAllDigits(std::u16string_view text);

// The leading decimal number as atoi reads it (leading white space, an
// optional sign, digits), over LowBytes(text); 0 when there is none.
// Values beyond the int range are clamped.
int ToInt(std::u16string_view text);

}  // namespace qv

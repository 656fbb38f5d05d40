// Request signatures and the reversible password scrambling.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The salt appended to the mobile number or the uid before digesting.
inline constexpr std::u16string_view kSignSalt = u"!*!mwtqd%@%";

// Lowercase hexadecimal MD5 digest (32 characters) of the text's bytes,
// one byte per character: the low eight bits of each UTF-16 code unit,
// up to the first zero byte.
std::u16string SignText(std::u16string_view text);

// The same digest over the text's GBK bytes; the login request signs its
// number this way. For digits and ASCII both give the same result.
std::u16string SignAnsiText(std::u16string_view text);

// The "sign" value of a request: SignText(id + kSignSalt), where id is
// the mobile number (number signature) or the uid (uid signature).
std::u16string RequestSign(std::u16string_view id);

// Letter and digit substitution over at most the first 32 bytes (low
// eight bits of each code unit): 'a'..'z'/'A'..'Z' become 187 minus the
// code, '0'..'4' five higher, '5'..'9' five lower, every other byte stays.
// Its own inverse for ASCII passwords of up to 32 characters. The bytes are
// read back as GBK.
std::u16string ScramblePassword(std::u16string_view text);

}  // namespace qv

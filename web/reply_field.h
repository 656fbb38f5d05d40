// Reading one named field out of a flat "name:value,name:value" text: a
// service reply (JSON punctuation is ignored, separators ',' and ':'), the
// settings text or a call record (separators ',' and '=').
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The value of the first item named `key`, or the empty text.
// 1. Every '{', '}', '"', '[' and ']' is removed from the whole text.
// 2. Items are split at `itemSeparator`; empty items are skipped.
// 3. An item's name is the part before its first `nameSeparator` with all
//    spaces removed (an item without one has the empty name and is all
//    value); the value is everything after it and keeps its spaces.
// 4. The first item whose name equals `key` exactly gives the result.
std::u16string ReplyField(std::u16string_view text, std::u16string_view key,
                          char16_t itemSeparator = u',', char16_t nameSeparator = u':');

}  // namespace qv

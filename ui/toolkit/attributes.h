// Parsing of attribute values as skins write them. Every parser is
// lenient about spaces and strict about the rest: a value it cannot read
// gives std::nullopt (the caller leaves the property as it was).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ui/toolkit/geometry.h"
#include "ui/toolkit/win32.h"

namespace tk {

std::optional<int> ParseInt(std::u16string_view v);
// Comma-separated integers ("1, 2,3").
std::optional<std::vector<int>> ParseIntList(std::u16string_view v);
// "l,t,r,b"
std::optional<Rect> ParseRect(std::u16string_view v);
// "cx,cy"; a single number gives both.
std::optional<Size> ParseSize(std::u16string_view v);
// "true"/"false", "1"/"0", "yes"/"no" (any case).
std::optional<bool> ParseBool(std::u16string_view v);
// "#RRGGBB" (opaque), "#AARRGGBB", "0xAARRGGBB", "AARRGGBB"; "$name" is
// resolved by SkinResources::ParseColor, not here.
std::optional<Color> ParseHexColor(std::u16string_view v);

// name="value" name2='value2' ... ; a bad list yields the pairs read so far.
std::vector<std::pair<std::u16string, std::u16string>> ParseAttributeList(std::u16string_view list);

// A skin image value: "file.png" or "file='file.png' source='l,t,r,b'
// dest='l,t,r,b' corner='l,t,r,b' fade='0..255'".
struct ImageSpec {
  std::u16string file;
  Rect source;
  Rect dest;
  bool hasDest = false;
  Rect corner;
  int fade = 255;
};
std::optional<ImageSpec> ParseImage(std::u16string_view v);

std::u16string_view Trim(std::u16string_view v);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
std::u16string ToLowerAscii(std::u16string_view v);

}  // namespace tk

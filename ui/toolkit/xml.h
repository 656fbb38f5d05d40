// A small XML reader for skin files: elements and attributes only (text
// content, comments, processing instructions and CDATA are skipped). It
// refuses what a skin never needs and an attacker likes: DOCTYPE (so no
// entity definitions), unknown entities, more than kMaxDepth levels, more
// than kMaxNodes elements, more than kMaxAttributes attributes on one
// element, names longer than 256 bytes. Input is UTF-8 (a BOM is skipped).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tk {

struct XmlNode {
  std::u16string name;
  std::vector<std::pair<std::u16string, std::u16string>> attributes;
  std::vector<XmlNode> children;
  int line = 0;

  // The value of an attribute; null when absent.
  const std::u16string* Attribute(std::u16string_view attr) const;
};

struct XmlLimits {
  int maxDepth = 64;
  int maxNodes = 20000;
  int maxAttributes = 128;
};

// Parses a whole document; returns the root element, or null with `error`
// set ("line N: ...").
std::unique_ptr<XmlNode> ParseXml(std::string_view text, const XmlLimits& limits, std::u16string* error);

}  // namespace tk

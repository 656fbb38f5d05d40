#include "ui/toolkit/xml.h"

#include "storage/text.h"

namespace tk {

const std::u16string* XmlNode::Attribute(std::u16string_view attr) const {
  for (auto& [name, value] : attributes)
    if (name == attr) return &value;
  return nullptr;
}

namespace {

constexpr std::size_t kMaxNameBytes = 256;

class Parser {
 public:
  Parser(std::string_view text, const XmlLimits& limits) : s_(text), limits_(limits) {}

  std::unique_ptr<XmlNode> Run(std::u16string* error) {
    if (s_.size() >= 3 && static_cast<unsigned char>(s_[0]) == 0xEF &&
        static_cast<unsigned char>(s_[1]) == 0xBB && static_cast<unsigned char>(s_[2]) == 0xBF)
      pos_ = 3;
    auto root = std::make_unique<XmlNode>();
    bool haveRoot = false;
    while (ok_) {
      SkipSpace();
      if (pos_ >= s_.size()) break;
      if (s_[pos_] != '<') {
        Fail(u"text outside the root element");
        break;
      }
      if (Starts("<?")) {
        SkipPast("?>");
      } else if (Starts("<!--")) {
        SkipPast("-->");
      } else if (Starts("<!")) {
        Fail(u"DOCTYPE and declarations are not allowed");
      } else {
        if (haveRoot) {
          Fail(u"more than one root element");
          break;
        }
        if (!ParseElement(*root, 1)) break;
        haveRoot = true;
      }
    }
    if (ok_ && !haveRoot) Fail(u"no root element");
    if (!ok_) {
      if (error) *error = u"line " + qv::IntText(line_) + u": " + error_;
      return nullptr;
    }
    return root;
  }

 private:
  bool Starts(std::string_view what) const { return s_.substr(pos_, what.size()) == what; }

  void Fail(std::u16string_view why) {
    if (ok_) {
      ok_ = false;
      error_ = why;
    }
  }

  void Advance(std::size_t n) {
    for (std::size_t i = 0; i < n && pos_ < s_.size(); ++i, ++pos_)
      if (s_[pos_] == '\n') ++line_;
  }

  void SkipSpace() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r' || s_[pos_] == '\n'))
      Advance(1);
  }

  void SkipPast(std::string_view end) {
    std::size_t at = s_.find(end, pos_);
    if (at == std::string_view::npos) {
      Fail(u"unterminated markup");
      pos_ = s_.size();
      return;
    }
    Advance(at + end.size() - pos_);
  }

  static bool NameChar(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == ':' || u >= 0x80;
  }

  bool ReadName(std::string_view* name) {
    std::size_t start = pos_;
    while (pos_ < s_.size() && NameChar(s_[pos_])) ++pos_;
    if (pos_ == start) {
      Fail(u"expected a name");
      return false;
    }
    if (pos_ - start > kMaxNameBytes) {
      Fail(u"name too long");
      return false;
    }
    *name = s_.substr(start, pos_ - start);
    return true;
  }

  // Decodes entities of an attribute value into UTF-8, then to UTF-16.
  bool DecodeValue(std::string_view raw, std::u16string* out) {
    std::string bytes;
    bytes.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
      char c = raw[i];
      if (c == '<') {
        Fail(u"'<' in an attribute value");
        return false;
      }
      if (c != '&') {
        bytes.push_back(c == '\t' || c == '\n' || c == '\r' ? ' ' : c);
        continue;
      }
      std::size_t semi = raw.find(';', i);
      if (semi == std::string_view::npos || semi - i > 12) {
        Fail(u"bad entity");
        return false;
      }
      std::string_view ent = raw.substr(i + 1, semi - i - 1);
      if (ent == "lt") bytes.push_back('<');
      else if (ent == "gt") bytes.push_back('>');
      else if (ent == "amp") bytes.push_back('&');
      else if (ent == "quot") bytes.push_back('"');
      else if (ent == "apos") bytes.push_back('\'');
      else if (!ent.empty() && ent[0] == '#') {
        unsigned long cp = 0;
        bool hex = ent.size() > 1 && (ent[1] == 'x' || ent[1] == 'X');
        std::string_view digits = ent.substr(hex ? 2 : 1);
        if (digits.empty() || digits.size() > 8) {
          Fail(u"bad character reference");
          return false;
        }
        for (char d : digits) {
          int v;
          if (d >= '0' && d <= '9') v = d - '0';
          else if (hex && d >= 'a' && d <= 'f') v = d - 'a' + 10;
          else if (hex && d >= 'A' && d <= 'F') v = d - 'A' + 10;
          else {
            Fail(u"bad character reference");
            return false;
          }
          cp = cp * (hex ? 16 : 10) + v;
        }
        if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
          Fail(u"bad character reference");
          return false;
        }
        qv::AppendUtf8(bytes, static_cast<char32_t>(cp));
      } else {
        Fail(u"unknown entity");
        return false;
      }
      i = semi;
    }
    *out = qv::FromUtf8(bytes);
    return true;
  }

  bool ParseElement(XmlNode& node, int depth) {
    if (depth > limits_.maxDepth) {
      Fail(u"elements nested too deeply");
      return false;
    }
    if (++nodes_ > limits_.maxNodes) {
      Fail(u"too many elements");
      return false;
    }
    node.line = line_;
    Advance(1);  // '<'
    std::string_view name;
    if (!ReadName(&name)) return false;
    node.name = qv::FromUtf8(name);
    // Attributes.
    while (true) {
      SkipSpace();
      if (pos_ >= s_.size()) {
        Fail(u"unexpected end of file in a tag");
        return false;
      }
      if (Starts("/>")) {
        Advance(2);
        return true;
      }
      if (s_[pos_] == '>') {
        Advance(1);
        break;
      }
      std::string_view attr;
      if (!ReadName(&attr)) return false;
      SkipSpace();
      if (pos_ >= s_.size() || s_[pos_] != '=') {
        Fail(u"expected '=' after an attribute name");
        return false;
      }
      Advance(1);
      SkipSpace();
      if (pos_ >= s_.size() || (s_[pos_] != '"' && s_[pos_] != '\'')) {
        Fail(u"expected a quoted attribute value");
        return false;
      }
      char quote = s_[pos_];
      std::size_t end = s_.find(quote, pos_ + 1);
      if (end == std::string_view::npos) {
        Fail(u"unterminated attribute value");
        return false;
      }
      std::u16string value;
      std::string_view raw = s_.substr(pos_ + 1, end - pos_ - 1);
      Advance(end + 1 - pos_);
      if (!DecodeValue(raw, &value)) return false;
      std::u16string attrName = qv::FromUtf8(attr);
      for (auto& existing : node.attributes)
        if (existing.first == attrName) {
          Fail(u"duplicate attribute");
          return false;
        }
      if (static_cast<int>(node.attributes.size()) >= limits_.maxAttributes) {
        Fail(u"too many attributes");
        return false;
      }
      node.attributes.emplace_back(std::move(attrName), std::move(value));
    }
    // Content.
    while (true) {
      std::size_t lt = s_.find('<', pos_);
      if (lt == std::string_view::npos) {
        Fail(u"unexpected end of file: element not closed");
        return false;
      }
      Advance(lt - pos_);  // text content is ignored
      if (Starts("</")) {
        Advance(2);
        std::string_view endName;
        if (!ReadName(&endName)) return false;
        if (qv::FromUtf8(endName) != node.name) {
          Fail(u"mismatched end tag");
          return false;
        }
        SkipSpace();
        if (pos_ >= s_.size() || s_[pos_] != '>') {
          Fail(u"expected '>'");
          return false;
        }
        Advance(1);
        return true;
      }
      if (Starts("<!--")) {
        SkipPast("-->");
      } else if (Starts("<![CDATA[")) {
        SkipPast("]]>");
      } else if (Starts("<?")) {
        SkipPast("?>");
      } else if (Starts("<!")) {
        Fail(u"declarations are not allowed");
      } else {
        node.children.emplace_back();
        if (!ParseElement(node.children.back(), depth + 1)) return false;
      }
      if (!ok_) return false;
    }
  }

  std::string_view s_;
  XmlLimits limits_;
  std::size_t pos_ = 0;
  int line_ = 1;
  int nodes_ = 0;
  bool ok_ = true;
  std::u16string error_;
};

}  // namespace

std::unique_ptr<XmlNode> ParseXml(std::string_view text, const XmlLimits& limits, std::u16string* error) {
  Parser parser(text, limits);
  return parser.Run(error);
}

}  // namespace tk

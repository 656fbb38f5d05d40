#include "reply.h"

#include <cstdio>

namespace qv::service {

std::string JsonEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char esc[8];
          std::snprintf(esc, sizeof esc, "\\u%04x", c);
          out += esc;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out;
}

Reply JsonReply(std::initializer_list<Field> fields) {
  Reply reply;
  reply.contentType = "application/json; charset=utf-8";
  reply.body = "{";
  bool first = true;
  for (const auto& [name, value] : fields) {
    if (!first) reply.body += ",";
    first = false;
    reply.body += "\"" + JsonEscape(name) + "\":\"" + JsonEscape(value) + "\"";
  }
  reply.body += "}";
  return reply;
}

Reply ResultReply(std::string_view code) { return JsonReply({{"result", code}}); }

Reply TextReply(std::string body) {
  Reply reply;
  reply.body = std::move(body);
  return reply;
}

Reply HtmlReply(std::string body, int status) {
  Reply reply;
  reply.status = status;
  reply.contentType = "text/html; charset=utf-8";
  reply.body = std::move(body);
  return reply;
}

}  // namespace qv::service

// What a handler answers: status, content type and body. The account API
// answers flat JSON objects of quoted names and values.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace qv::service {

struct Reply {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
  // Send the status line and headers, then close without the body.
  bool cutOff = false;
};

using Field = std::pair<std::string_view, std::string_view>;

// {"name":"value",...} in the given order.
Reply JsonReply(std::initializer_list<Field> fields);
// {"result":"<code>"}
Reply ResultReply(std::string_view code);
Reply TextReply(std::string body);
Reply HtmlReply(std::string body, int status = 200);

std::string JsonEscape(std::string_view text);

}  // namespace qv::service

#include "html.h"

namespace qv::service {

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Page(std::string_view title, std::string_view bodyHtml) {
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>";
  page += HtmlEscape(title);
  page +=
      "</title>\n<style>\n"
      "body{font-family:\"WenQuanYi Micro Hei\",\"Microsoft YaHei\",sans-serif;margin:0;"
      "background:#f4f7fb;color:#333;font-size:14px}\n"
      "header{background:#2f8fd8;color:#fff;padding:10px 14px;font-size:16px}\n"
      "main{padding:10px 14px}\n"
      "h1{font-size:18px;margin:8px 0}h2{font-size:15px;margin:6px 0}\n"
      ".card{background:#fff;border:1px solid #dde6f0;border-radius:4px;padding:8px 10px;margin:8px 0}\n"
      "table{border-collapse:collapse;width:100%}th,td{border-bottom:1px solid #e3e9f0;"
      "padding:4px 6px;text-align:left}\n"
      "a{color:#2f7fc8}nav a{margin-right:12px}.muted{color:#888}\n"
      "</style>\n</head>\n<body>\n<header>Velto网络电话</header>\n<main>\n";
  page += bodyHtml;
  page += "\n</main>\n</body>\n</html>\n";
  return page;
}

std::string NotFoundPage() {
  return Page("页面不存在",
              "<h1>404 页面不存在</h1><p>您访问的页面不存在或已被删除。</p>");
}

}  // namespace qv::service

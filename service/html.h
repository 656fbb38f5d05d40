// Small HTML pages in Chinese for the web sites of the service.
#pragma once

#include <string>
#include <string_view>

namespace qv::service {

// A whole page: doctype, UTF-8, a viewport for small screens, a plain style.
std::string Page(std::string_view title, std::string_view bodyHtml);

// Text made safe to stand in HTML content or a quoted attribute.
std::string HtmlEscape(std::string_view text);

// The page of an unknown path.
std::string NotFoundPage();

}  // namespace qv::service

// Opening a web address in the user's default browser.
#pragma once

#include <string>

namespace tk::qt {

// Hands the address to the desktop (xdg-open through QDesktopServices, with
// the address as one argument: no shell ever sees it). Only http and https
// addresses are opened. Returns whether the desktop accepted it.
bool OpenUrl(const std::u16string& url);

}  // namespace tk::qt

// File paths of skins and images: '\' and '/' both separate, and a path
// that does not exist as written is looked up component by component
// without regard to letter case (skins name "LoginWin.xml" and
// "Skins\calledIn.png" as on a case-insensitive file system).
#pragma once

#include <string>
#include <string_view>

namespace tk {

// '\' becomes '/'.
std::u16string NormalizeSeparators(std::u16string_view path);
bool IsAbsolutePath(std::u16string_view path);
// The existing file (or folder) for `path`, with the case found on disk;
// empty when there is none.
std::u16string FindExisting(std::u16string_view path);
// Reads a whole file of at most maxBytes; false when it cannot be read or
// is larger.
bool ReadFileLimited(std::u16string_view path, std::size_t maxBytes, std::string* out, bool* tooLarge);

}  // namespace tk

// Text files of the data folder: GBK bytes without byte-order mark or line
// ends. Files are read whole; a replacing write goes to a temporary file in
// the same folder that is then renamed over the old one, so a crash or a
// full disk leaves either the old or the new content, never a mix.
// New files are created 0600, the data folder 0700.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qv {

enum class WriteMode { Append = 0, Replace = 1 };

// Files above this size are not read (the read fails).
inline constexpr std::size_t kMaxTextFileBytes = 64u << 20;

// The whole file up to its first zero byte, decoded from GBK. A missing
// file is created empty; any failure gives the empty text.
std::u16string ReadTextFile(std::u16string_view path);

// Writes the text as GBK ('?' for what GBK cannot hold): appended to the
// end of the file (created when missing), or replacing its content. True
// when all of it was written. A failed append leaves the file as it was.
bool WriteTextFile(std::u16string_view path, std::u16string_view text, WriteMode mode);

// Byte-level forms of the above. ReadFileBytes gives false on failure
// (a missing file too, unless createMissing, which creates it empty).
bool ReadFileBytes(std::u16string_view path, std::string& bytes, bool createMissing);
bool AppendFileBytes(std::u16string_view path, std::string_view bytes);
bool ReplaceFileBytes(std::u16string_view path, std::string_view bytes);

// Creates `path` as a folder with mode 0700; an existing one is left
// alone. True when the folder exists afterwards.
bool CreatePrivateFolder(std::u16string_view path);

// For tests: called by ReplaceFileBytes after the temporary file is written
// and before it is renamed over the target (to simulate a crash there).
void SetBeforeReplaceHookForTesting(std::function<void()> hook);

}  // namespace qv

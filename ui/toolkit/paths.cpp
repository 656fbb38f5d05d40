#include "ui/toolkit/paths.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstdio>
#include <vector>

#include "storage/text.h"

namespace tk {

std::u16string NormalizeSeparators(std::u16string_view path) {
  std::u16string out(path);
  for (auto& c : out)
    if (c == u'\\') c = u'/';
  return out;
}

bool IsAbsolutePath(std::u16string_view path) { return !path.empty() && (path[0] == u'/' || path[0] == u'\\'); }

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// The entry of `dir` whose name equals `name` ignoring ASCII case.
bool FindNoCase(const std::string& dir, const std::string& name, std::string* found) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return false;
  bool ok = false;
  while (dirent* e = ::readdir(d)) {
    if (::strcasecmp(e->d_name, name.c_str()) == 0) {
      *found = e->d_name;
      ok = true;
      break;
    }
  }
  ::closedir(d);
  return ok;
}

}  // namespace

std::u16string FindExisting(std::u16string_view path) {
  std::u16string norm = NormalizeSeparators(path);
  if (norm.empty() || norm.size() > 4096) return {};
  std::string bytes = qv::ToUtf8(norm);
  if (bytes.find('\0') != std::string::npos) return {};
  if (Exists(bytes)) return norm;
  // Component by component, ignoring case.
  std::string current = bytes[0] == '/' ? "/" : "";
  std::size_t pos = bytes[0] == '/' ? 1 : 0;
  while (pos <= bytes.size()) {
    std::size_t slash = bytes.find('/', pos);
    std::string part = bytes.substr(pos, slash == std::string::npos ? std::string::npos : slash - pos);
    pos = slash == std::string::npos ? bytes.size() + 1 : slash + 1;
    if (part.empty() || part == ".") continue;
    std::string candidate = current + part;
    if (part == ".." || Exists(candidate)) {
      current = candidate + "/";
      continue;
    }
    std::string real;
    if (!FindNoCase(current.empty() ? "." : current, part, &real)) return {};
    current += real + "/";
  }
  if (!current.empty() && current.back() == '/' && current.size() > 1) current.pop_back();
  if (!Exists(current)) return {};
  return qv::FromUtf8(current);
}

bool ReadFileLimited(std::u16string_view path, std::size_t maxBytes, std::string* out, bool* tooLarge) {
  if (tooLarge) *tooLarge = false;
  std::string bytes = qv::ToUtf8(path);
  struct stat st;
  if (::stat(bytes.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (static_cast<std::size_t>(st.st_size) > maxBytes) {
    if (tooLarge) *tooLarge = true;
    return false;
  }
  FILE* f = std::fopen(bytes.c_str(), "rb");
  if (!f) return false;
  out->clear();
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
    out->append(buf, n);
    if (out->size() > maxBytes) {
      std::fclose(f);
      if (tooLarge) *tooLarge = true;
      return false;
    }
  }
  bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace tk

#include "storage/config.h"

#include <sys/stat.h>

#include <cerrno>
#include <mutex>

#include "storage/files.h"
#include "storage/text.h"

namespace qv {

namespace {

// The settings bytes up to the first zero byte. False only when the file
// exists but cannot be read.
bool ReadConfigBytes(std::string& bytes) {
  if (!ReadFileBytes(ConfigPath(), bytes, false)) {
    struct stat st;
    return ::stat(ToUtf8(ConfigPath()).c_str(), &st) != 0 && errno == ENOENT;
  }
  if (const size_t zero = bytes.find('\0'); zero != std::string::npos) bytes.resize(zero);
  return true;
}

}  // namespace

std::u16string DataFolder() { return u"QVPhone"; }

bool CreateDataFolder() { return CreatePrivateFolder(DataFolder()); }

std::u16string ConfigPath() { return DataFolder() + u"/config.conf"; }

std::u16string ReadConfig() {
  std::string bytes;
  if (!ReadConfigBytes(bytes)) return {};
  return FromAnsi(bytes);
}

bool SetConfigValue(std::u16string_view key, std::u16string_view value) {
  // A read followed by a rewrite: two at once in this process would lose one.
  static std::mutex writeMutex;
  std::lock_guard lock(writeMutex);
  std::string text;
  if (!ReadConfigBytes(text)) return false;
  // ',' and '=' are below 0x40 and so never the second byte of a GBK
  // character: the bytes can be split without decoding them.
  const std::string keyBytes = ToAnsi(key);
  std::string item = keyBytes;
  item += '=';
  item += ToAnsi(value);

  std::string_view rest = text;
  size_t prefixEnd = 0;
  while (!rest.empty()) {
    const size_t comma = rest.find(',');
    const std::string_view current = rest.substr(0, comma);
    const size_t eq = current.find('=');
    const std::string_view name = eq == std::string_view::npos ? std::string_view() : current.substr(0, eq);
    if (name == keyBytes) {
      std::string updated = text.substr(0, prefixEnd);
      updated += item;
      if (comma != std::string_view::npos && comma + 1 < rest.size()) {
        updated += ',';
        updated += rest.substr(comma + 1);
      }
      return ReplaceFileBytes(ConfigPath(), updated);
    }
    if (comma == std::string_view::npos) break;
    prefixEnd += comma + 1;
    rest = rest.substr(comma + 1);
  }
  std::string updated = text;
  if (!updated.empty()) updated += ',';
  updated += item;
  return ReplaceFileBytes(ConfigPath(), updated);
}

}  // namespace qv

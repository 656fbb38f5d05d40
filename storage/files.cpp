#include "storage/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "storage/text.h"

namespace qv {

namespace {

std::function<void()>& BeforeReplaceHook() {
  static std::function<void()> hook;
  return hook;
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return fd < 0 || ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string Native(std::u16string_view path) { return ToUtf8(path); }

std::u16string DecodeText(std::string_view bytes) {
  if (const size_t zero = bytes.find('\0'); zero != std::string_view::npos) bytes = bytes.substr(0, zero);
  return FromAnsi(bytes);
}

}  // namespace

bool ReadFileBytes(std::u16string_view path, std::string& bytes, bool createMissing) {
  bytes.clear();
  const std::string name = Native(path);
  Fd fd(::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.ok()) {
    if (errno != ENOENT || !createMissing) return false;
    Fd created(::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    return created.ok();
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  if (static_cast<unsigned long long>(st.st_size) > kMaxTextFileBytes) return false;
  bytes.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      bytes.clear();
      return false;
    }
    if (n == 0) break;
    if (bytes.size() + static_cast<size_t>(n) > kMaxTextFileBytes) {
      bytes.clear();
      return false;
    }
    bytes.append(buf, static_cast<size_t>(n));
  }
  return true;
}

bool AppendFileBytes(std::u16string_view path, std::string_view bytes) {
  const std::string name = Native(path);
  Fd fd(::open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
  if (!fd.ok()) return false;
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return false;
  if (!WriteAll(fd.get(), bytes)) {
    // Never leave half a record behind.
    if (::ftruncate(fd.get(), st.st_size) != 0) {
      // Nothing more can be done; the caller learns of the failure.
    }
    return false;
  }
  return fd.Close();
}

bool ReplaceFileBytes(std::u16string_view path, std::string_view bytes) {
  const std::string name = Native(path);
  const size_t slash = name.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : name.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
  std::string temp = dir + "." + base + ".XXXXXX";
  Fd fd(::mkostemp(temp.data(), O_CLOEXEC));  // created 0600
  if (!fd.ok()) return false;
  bool ok = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0;
  ok = fd.Close() && ok;
  if (ok) {
    if (const auto& hook = BeforeReplaceHook()) hook();
    ok = ::rename(temp.c_str(), name.c_str()) == 0;
  }
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

std::u16string ReadTextFile(std::u16string_view path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, true)) return {};
  return DecodeText(bytes);
}

bool WriteTextFile(std::u16string_view path, std::u16string_view text, WriteMode mode) {
  const std::string bytes = ToAnsi(text);
  return mode == WriteMode::Append ? AppendFileBytes(path, bytes) : ReplaceFileBytes(path, bytes);
}

bool CreatePrivateFolder(std::u16string_view path) {
  const std::string name = Native(path);
  if (::mkdir(name.c_str(), 0700) == 0) return true;
  struct stat st;
  return errno == EEXIST && ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void SetBeforeReplaceHookForTesting(std::function<void()> hook) { BeforeReplaceHook() = std::move(hook); }

}  // namespace qv

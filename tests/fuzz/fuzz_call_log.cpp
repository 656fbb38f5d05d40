// The call log: an arbitrary file, then one removal. Only records whose
// index is the chosen one may leave the file; everything else stays byte
// for byte and in order. Parsing any text must not fail.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "storage/call_log.h"
#include "storage/files.h"
#include "storage/text.h"
#include "web/reply_field.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::u16string LogPath() {
  static const std::u16string path = [] {
    const char* base = std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string dir = std::string(base) + "/qv-fuzz-XXXXXX";
    if (::mkdtemp(dir.data()) == nullptr) std::abort();
    return qv::Widen(dir + "/calledLog13800000001.called");
  }();
  return path;
}

// The file's pieces: each record with its ';', the trailing text without.
std::vector<std::string> Pieces(const std::string& bytes) {
  std::vector<std::string> pieces;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t semi = bytes.find(';', pos);
    const size_t end = semi == std::string::npos ? bytes.size() : semi + 1;
    pieces.push_back(bytes.substr(pos, end - pos));
    pos = end;
  }
  return pieces;
}

int IndexOf(const std::string& piece) {
  std::string record = piece;
  if (!record.empty() && record.back() == ';') record.pop_back();
  return qv::ToInt(qv::ReplyField(qv::FromAnsi(record), u"index", u',', u'='));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const int chosen = data[0] % 8;
  const std::string before(reinterpret_cast<const char*>(data + 1), size - 1);

  const auto records = qv::ParseCallLog(qv::FromAnsi(before));
  Check(!records.empty());

  const std::u16string path = LogPath();
  if (!qv::WriteTextFile(path, u"", qv::WriteMode::Replace)) std::abort();
  if (!qv::AppendFileBytes(path, before)) std::abort();
  Check(qv::RemoveCallRecords(path, chosen));
  std::string after;
  Check(qv::ReadFileBytes(path, after, false));

  std::string expected;
  for (const std::string& piece : Pieces(before)) {
    const bool record = piece != ";";
    if (!record || IndexOf(piece) != chosen) expected += piece;
  }
  Check(after == expected);
  for (const std::string& piece : Pieces(after)) Check(piece == ";" || IndexOf(piece) != chosen);
  return 0;
}

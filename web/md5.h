// MD5 message digest (RFC 1321).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

class Md5 {
 public:
  using Digest = std::array<std::uint8_t, 16>;

  Md5();
  void Update(const void* data, std::size_t size);
  void Update(std::string_view bytes) { Update(bytes.data(), bytes.size()); }
  Digest Finish();  // the object must not be updated afterwards

  static Digest Of(std::string_view bytes);
  // 32 lowercase hexadecimal digits.
  static std::string Hex(const Digest& digest);
  static std::string HexOf(std::string_view bytes) { return Hex(Of(bytes)); }

 private:
  void Block(const std::uint8_t* block);

  std::uint32_t state_[4];
  std::uint64_t length_ = 0;  // bytes so far
  std::uint8_t buffer_[64];
};

}  // namespace qv

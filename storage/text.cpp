#include "storage/text.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <climits>

namespace qv {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

constexpr const char* kUtf16Name =
    std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";

// One conversion descriptor per thread and direction: iconv_t is not
// thread-safe, and opening one per call costs more than the conversion.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

}  // namespace

std::u16string FromUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    int need;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need = 2;
      cp = b & 0x0F;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;  // no encoded surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      need = 3;
      cp = b & 0x07;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    size_t j = i + 1;
    bool ok = true;
    for (int k = 0; k < need; ++k) {
      if (j >= n) {
        ok = false;
        break;
      }
      const auto c = static_cast<unsigned char>(bytes[j]);
      if (c < lo || c > hi) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (c & 0x3F);
      ++j;
      lo = 0x80;
      hi = 0xBF;
    }
    if (ok) {
      AppendCodePoint(out, cp);
    } else {
      out.push_back(kReplacement);
    }
    i = j;
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    char32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::u16string FromAnsi(std::string_view bytes) {
  thread_local Converter conv(kUtf16Name, "CP936");
  std::u16string out;
  if (bytes.empty()) return out;
  // GBK never yields more UTF-16 units than it has bytes.
  out.resize(bytes.size());
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* outPtr = reinterpret_cast<char*>(out.data());
  size_t outLeft = out.size() * sizeof(char16_t);
  if (!conv.ok()) {
    for (size_t i = 0; i < bytes.size(); ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      out[i] = b < 0x80 ? b : kReplacement;
    }
    return out;
  }
  iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno == EILSEQ || errno == EINVAL) {
      // An invalid or truncated character: one replacement, skip one byte.
      *reinterpret_cast<char16_t*>(outPtr) = kReplacement;
      outPtr += sizeof(char16_t);
      outLeft -= sizeof(char16_t);
      ++in;
      --inLeft;
      iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
    } else {
      break;  // E2BIG cannot happen with this output size
    }
  }
  out.resize((outPtr - reinterpret_cast<char*>(out.data())) / sizeof(char16_t));
  return out;
}

std::string ToAnsi(std::u16string_view text) {
  thread_local Converter conv("CP936", kUtf16Name);
  std::string out;
  if (text.empty()) return out;
  out.resize(text.size() * 2);  // at most two bytes per code unit
  if (!conv.ok()) {
    for (size_t i = 0; i < text.size(); ++i) out[i] = text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
    out.resize(text.size());
    return out;
  }
  char* in = reinterpret_cast<char*>(const_cast<char16_t*>(text.data()));
  size_t inLeft = text.size() * sizeof(char16_t);
  char* outPtr = out.data();
  size_t outLeft = out.size();
  iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (iconv(conv.get(), &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
    if (errno != EILSEQ && errno != EINVAL) break;
    // Not representable (or an unpaired surrogate): '?' for the character.
    const char16_t unit = *reinterpret_cast<const char16_t*>(in);
    size_t skip = sizeof(char16_t);
    if (unit >= 0xD800 && unit <= 0xDBFF && inLeft >= 2 * sizeof(char16_t)) {
      const char16_t next = *reinterpret_cast<const char16_t*>(in + sizeof(char16_t));
      if (next >= 0xDC00 && next <= 0xDFFF) skip = 2 * sizeof(char16_t);
    }
    *outPtr++ = '?';
    --outLeft;
    in += skip;
    inLeft -= skip;
    iconv(conv.get(), nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(outPtr - out.data());
  return out;
}

std::string LowBytes(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    const char b = static_cast<char>(c & 0xFF);
    if (b == 0) break;
    out.push_back(b);
  }
  return out;
}

std::u16string Widen(std::string_view latin1) {
  std::u16string out;
  out.reserve(latin1.size());
  for (char c : latin1) out.push_back(static_cast<unsigned char>(c));
  return out;
}

std::u16string IntText(long long value) { return Widen(std::to_string(value)); }

bool IsAllDigits(std::u16string_view text) {
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

int ToInt(std::u16string_view text) {
  const std::string bytes = LowBytes(text);
  size_t i = 0;
  while (i < bytes.size() && (bytes[i] == ' ' || (bytes[i] >= '\t' && bytes[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < bytes.size() && (bytes[i] == '+' || bytes[i] == '-')) {
    negative = bytes[i] == '-';
    ++i;
  }
  long long value = 0;
  for (; i < bytes.size() && bytes[i] >= '0' && bytes[i] <= '9'; ++i) {
    value = value * 10 + (bytes[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  return static_cast<int>(value);
}

}  // namespace qv

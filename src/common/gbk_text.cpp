#include "common/gbk_text.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace qp {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `in`; on an invalid sequence writes `replacement` and skips
  // `skipOnError(in)` bytes.
  template <typename Skip>
  std::string Run(std::string_view in, std::string_view replacement, Skip skipOnError) {
    std::lock_guard<std::mutex> lock(mutex_);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(in.size() * 2 + 8);
    char buffer[4096];
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (rc != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated sequence at the end): replace and go on.
      out.append(replacement);
      size_t skip = skipOnError(std::string_view(inPtr, inLeft));
      if (skip == 0 || skip > inLeft) skip = 1;
      inPtr += skip;
      inLeft -= skip;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
  std::mutex mutex_;
};

size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) return 2;
  if ((lead & 0xF0) == 0xE0) return 3;
  if ((lead & 0xF8) == 0xF0) return 4;
  return 1;
}

Converter& ToGbk() {
  static Converter c("GBK", "UTF-8");
  return c;
}

Converter& FromGbk() {
  static Converter c("UTF-8", "GBK");
  return c;
}

}  // namespace

std::string Utf8ToGbk(std::string_view utf8) {
  return ToGbk().Run(utf8, "?", [](std::string_view rest) {
    size_t n = Utf8SequenceLength(static_cast<unsigned char>(rest[0]));
    // Skip a whole character only when it is well formed; otherwise one byte.
    for (size_t i = 1; i < n; ++i) {
      if (i >= rest.size() || (static_cast<unsigned char>(rest[i]) & 0xC0) != 0x80) return size_t{1};
    }
    return n;
  });
}

std::string GbkToUtf8(std::string_view gbk) {
  return FromGbk().Run(gbk, "\xEF\xBF\xBD", [](std::string_view) { return size_t{1}; });
}

bool IsValidUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t n;
    unsigned int cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n > text.size()) return false;
    for (size_t k = 1; k < n; ++k) {
      unsigned char t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      return false;
    }
    i += n;
  }
  return true;
}

const std::string& Gbk(std::string_view utf8Literal) {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<std::string>, std::less<>> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.find(utf8Literal);
  if (it == cache.end()) {
    it = cache.emplace(std::string(utf8Literal), std::make_unique<std::string>(Utf8ToGbk(utf8Literal))).first;
  }
  return *it->second;
}

std::string DecodeUserTextToGbk(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (IsValidUtf8(bytes)) return Utf8ToGbk(bytes);
  return std::string(bytes);
}

std::string_view CutGbk(std::string_view text, size_t limit) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t width = GbkCharacterBytes(text, end);
    if (end + width > limit) break;
    end += width;
  }
  return text.substr(0, end);
}

}  // namespace qp

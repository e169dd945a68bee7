#include "common/format.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "common/gbk_text.h"

namespace qp {

std::string FormatV(const char* format, va_list args) {
  va_list copy;
  va_copy(copy, args);
  char small[512];
  int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof small) return std::string(small, static_cast<size_t>(n));
  std::vector<char> big(static_cast<size_t>(n) + 1);
  std::vsnprintf(big.data(), big.size(), format, args);
  return std::string(big.data(), static_cast<size_t>(n));
}

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string s = FormatV(format, args);
  va_end(args);
  return s;
}

std::string FormatText(const char* utf8Format, ...) {
  const std::string& gbkFormat = Gbk(utf8Format);
  va_list args;
  va_start(args, utf8Format);
  std::string s = FormatV(gbkFormat.c_str(), args);
  va_end(args);
  return s;
}

bool FitsPrintedField(double value, int width, int decimals) {
  if (!std::isfinite(value)) return false;
  const int length = std::snprintf(nullptr, 0, "%.*f", decimals, value);
  return length > 0 && length <= width;
}

std::string SettingOutOfRangeMessage(const char* utf8Name) {
  return FormatText("%s超出范围, 不能计算 !", Utf8ToGbk(utf8Name).c_str());
}

std::string QuotedInMessage(std::string_view gbk) {
  size_t end = 0;
  for (size_t characters = 0; end < gbk.size(); ++characters) {
    if (characters == kQuotedCharacters) return std::string(gbk.substr(0, end)) + Gbk("…");
    end += GbkCharacterBytes(gbk, end);
  }
  return std::string(gbk);
}

}  // namespace qp

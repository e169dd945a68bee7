#include "common/numeric_field.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace qp {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// For a number that does not fit a double: true when it is too large, false
// when it is too small. `number` is [-]digits[.digits][e[+-]digits] with at
// least one mantissa digit. Only the order of magnitude matters here (the
// double range ends near 10^308 and 10^-324), so it is counted to within one;
// the exponent saturates, so an exponent of any length is safe.
bool BeyondLargestDouble(std::string_view number) {
  size_t i = !number.empty() && number[0] == '-' ? 1 : 0;
  int64_t significantBeforePoint = 0;  // digits from the first non-zero one
  int64_t zerosAfterPoint = 0;         // zeros between the point and the first non-zero digit
  bool nonZero = false;
  for (; i < number.size() && IsDigit(number[i]); ++i) {
    nonZero = nonZero || number[i] != '0';
    if (nonZero) ++significantBeforePoint;
  }
  if (i < number.size() && number[i] == '.') {
    for (++i; i < number.size() && IsDigit(number[i]); ++i) {
      if (nonZero) continue;
      nonZero = number[i] != '0';
      if (!nonZero) ++zerosAfterPoint;
    }
  }
  if (!nonZero) return false;  // zero is no overflow
  int64_t exponent = 0;
  if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    ++i;
    const bool negative = i < number.size() && number[i] == '-';
    if (i < number.size() && (number[i] == '-' || number[i] == '+')) ++i;
    for (; i < number.size() && IsDigit(number[i]); ++i) {
      exponent = std::min<int64_t>(exponent * 10 + (number[i] - '0'), int64_t{1} << 40);
    }
    if (negative) exponent = -exponent;
  }
  const int64_t magnitude = significantBeforePoint > 0 ? significantBeforePoint : -zerosAfterPoint;
  return magnitude + exponent > 0;
}

}  // namespace

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsNumericField(std::string_view field) {
  field = Trim(field);
  size_t digits = 0;
  for (char c : field) digits += IsDigit(c) ? 1 : 0;
  const bool hasPoint = field.find('.') != std::string_view::npos;
  const bool hasMinus = field.find('-') != std::string_view::npos;
  if (digits == field.size()) return true;
  if (digits + 1 == field.size()) return hasPoint || hasMinus;
  if (digits + 2 == field.size()) return hasPoint && hasMinus;
  return false;
}

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t mantissaDigits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissaDigits;
  }
  if (mantissaDigits == 0) return 0.0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  // from_chars is independent of the process locale and takes no '+'.
  size_t first = start;
  if (text[first] == '+') ++first;
  double value = 0.0;
  const auto result = std::from_chars(text.data() + first, text.data() + i, value);
  if (result.ec == std::errc::result_out_of_range) {
    if (!BeyondLargestDouble(text.substr(first, i - first))) return 0.0;
    return text[first] == '-' ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
  }
  if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
  return value;
}

}  // namespace qp

#include "common/numeric_field.h"

#include <cmath>
#include <charconv>

namespace qp {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

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
  if (result.ec != std::errc() || !std::isfinite(value)) return 0.0;
  return value;
}

}  // namespace qp

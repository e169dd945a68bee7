// printf-style formatting on byte strings. Formats and string arguments are
// GBK, so field widths such as %-11.10s count GBK bytes, as the report columns
// require.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

namespace qp {

// `format` is used as given (GBK or plain ASCII).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

// `utf8Format` is a UTF-8 literal from the source; it is converted to GBK
// (once, cached) before formatting. String arguments must already be GBK.
std::string FormatText(const char* utf8Format, ...) __attribute__((format(printf, 1, 2)));

// True when `value` is finite and "%.<decimals>f" prints it in at most
// `width` characters: a setting that a report prints in a fixed column must
// pass this, or the columns run together.
bool FitsPrintedField(double value, int width, int decimals);

// The message refusing setting `utf8Name` (UTF-8) whose value cannot be used
// or printed, GBK.
std::string SettingOutOfRangeMessage(const char* utf8Name);

// A text (GBK) as a message quotes it: whole when it has at most
// kQuotedCharacters characters, otherwise its first kQuotedCharacters
// characters and "…", never splitting a double-byte character. A value of
// megabytes must not become a message of megabytes.
inline constexpr size_t kQuotedCharacters = 40;
std::string QuotedInMessage(std::string_view gbkText);

}  // namespace qp

// Conversion between GBK (the encoding of every record, data file and report)
// and UTF-8 (the encoding of source files, the terminal and the toolkit).
#pragma once

#include <string>
#include <string_view>

namespace qp {

// Characters GBK cannot hold become '?'; malformed UTF-8 bytes are dropped as '?'.
std::string Utf8ToGbk(std::string_view utf8);

// Bytes that are not valid GBK become U+FFFD.
std::string GbkToUtf8(std::string_view gbk);

bool IsValidUtf8(std::string_view text);

// A UTF-8 literal in GBK, converted once and cached for the life of the process.
// The returned reference stays valid.
const std::string& Gbk(std::string_view utf8Literal);

// Reads text whose encoding is not declared: UTF-8 (a leading BOM is removed)
// when it is valid UTF-8, otherwise GBK. Returns GBK.
std::string DecodeUserTextToGbk(std::string_view bytes);

}  // namespace qp

// Conversion between GBK (the encoding of every record, data file and report)
// and UTF-8 (the encoding of source files, the terminal and the toolkit).
#pragma once

#include <cstddef>
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

// The bytes of the GBK character starting at `at` (< text.size()): 2 for a
// lead byte 0x81 or above with a byte after it, otherwise 1.
inline size_t GbkCharacterBytes(std::string_view text, size_t at) {
  return static_cast<unsigned char>(text[at]) >= 0x81 && at + 1 < text.size() ? 2 : 1;
}

// The GBK text cut to at most `limit` bytes without splitting a double-byte
// character.
std::string_view CutGbk(std::string_view text, size_t limit);

}  // namespace qp

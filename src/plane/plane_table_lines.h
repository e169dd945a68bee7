// Helpers shared by the readers of the plane input tables.
#pragma once

#include <cstdint>
#include <string_view>

#include "common/format.h"
#include "common/numeric_field.h"
#include "common/platform_services.h"
#include "common/table_line_reader.h"

namespace qp {

// Reads the lines of a table box while fewer than `limit` entries are stored.
// `readLine(line, lineNumber, entryIndex)` checks one line and stores it at
// `entryIndex`; it returns false after showing its message. `count` follows
// the entries stored, so a failed table keeps what was read before the bad
// line.
template <typename ReadLine>
bool ReadTableLines(std::string_view boxText, int limit, int32_t& count, ReadLine&& readLine) {
  count = 0;
  TableLineReader reader(boxText);
  while (count < limit && reader.Next()) {
    if (!readLine(reader.Line(), reader.LineNumber(), count)) return false;
    ++count;
  }
  return true;
}

// Shows a line message ("...第[%d]行...", a UTF-8 literal) and returns false.
inline bool FailAtLine(PlatformServices& platform, const char* utf8Format, int lineNumber) {
  platform.ShowMessage(FormatText(utf8Format, lineNumber));
  return false;
}

// A value field: present and numeric.
inline bool IsValueField(std::string_view field) { return !field.empty() && IsNumericField(field); }

}  // namespace qp

// The line reader behind every input table: one record per line, fields
// separated by ASCII commas. A blank line ends the table; what follows it is
// ignored. Line numbers are counted from 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/format.h"
#include "common/platform_services.h"

namespace qp {

class TableLineReader {
 public:
  // `boxText` is the text box's whole text (GBK, lines ending in CR LF).
  explicit TableLineReader(std::string_view boxText);

  // Moves to the next line. False when the table has ended: no text left, a
  // blank line, or a line not ended by CR LF.
  bool Next();

  std::string_view Line() const { return line_; }
  // Zero-based number of the current line (valid after Next returned true).
  int LineNumber() const { return lineNumber_; }

 private:
  std::string text_;
  size_t position_ = 0;
  std::string_view line_;
  int lineNumber_ = -1;
};

// Splits a line into `fieldCount` trimmed fields. Each separator must be a
// comma at position 1 or later of the text still to split; the last field takes
// everything after the last separator, extra commas included. Lines of at most
// 2 bytes, and lines without enough separators, are malformed (nullopt).
std::optional<std::vector<std::string>> SplitFields(std::string_view line, int fieldCount);

// A point name: 1 to 10 bytes of GBK text.
inline bool IsValidPointName(std::string_view name) { return !name.empty() && name.size() <= 10; }

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

}  // namespace qp

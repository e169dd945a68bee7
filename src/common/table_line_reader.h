// The line reader behind every input table: one record per line, fields
// separated by ASCII commas. A blank line ends the table; what follows it is
// ignored (the confirmations ask the user first: blank_line_question.h). Line
// numbers are counted from 0.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/format.h"
#include "common/platform_services.h"
#include "common/rejected_entry.h"

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
  // After Next returned false: the text from where reading stopped (empty
  // when the text ran out).
  std::string_view Unread() const { return std::string_view(text_).substr(stoppedAt_); }

 private:
  std::string text_;
  size_t position_ = 0;
  size_t stoppedAt_ = 0;
  std::string_view line_;
  int lineNumber_ = -1;
};

// A table that a blank line ends while further lines follow it: the blank
// line (zero-based) and how many non-blank lines after it are not read.
// Blank lines at the end of the text cut nothing.
struct BlankLineCut {
  int line = 0;
  int unread = 0;
};
std::optional<BlankLineCut> FindBlankLineCut(std::string_view boxText);

// Splits a line into `fieldCount` trimmed fields. Each separator must be a
// comma at position 1 or later of the text still to split; the last field takes
// everything after the last separator, extra commas included. Lines of at most
// 2 bytes, and lines without enough separators, are malformed (nullopt).
std::optional<std::vector<std::string>> SplitFields(std::string_view line, int fieldCount);

// A point name: 1 to 10 bytes of GBK text.
inline bool IsValidPointName(std::string_view name) { return !name.empty() && name.size() <= 10; }

// A table cut at its capacity: the lines read into it and the lines after
// them that were ignored. `textHash` and `textSize` identify the box text
// (trimmed) so that a caller can tell which of its tables it was.
struct TableOverflow {
  size_t textHash = 0;
  size_t textSize = 0;
  int read = 0;
  int ignored = 0;
};

// While one of these is alive on a thread, every table read there that stops
// at its capacity with lines left is noted in it. The dialogs cut such tables
// without a word; the command-line driver uses the notes to say so.
class TableOverflowRecorder {
 public:
  TableOverflowRecorder();
  ~TableOverflowRecorder();
  TableOverflowRecorder(const TableOverflowRecorder&) = delete;
  TableOverflowRecorder& operator=(const TableOverflowRecorder&) = delete;

  const std::vector<TableOverflow>& Overflows() const { return overflows_; }

  // Notes, for the recorder alive on this thread if there is one, that the
  // table `boxText` stopped after `read` entries; `rest` is its reader,
  // positioned on the last line read.
  static void NoteCut(std::string_view boxText, int read, TableLineReader& rest);
  static size_t HashOf(std::string_view boxText);

 private:
  TableOverflowRecorder* previous_;
  std::vector<TableOverflow> overflows_;
};

// Reads the lines of box `box` (its text `boxText`) while fewer than `limit`
// entries are stored. `readLine(line, lineNumber, entryIndex)` checks one line
// and stores it at `entryIndex`; a refusal it returns (FailAtLine) is handed
// on as the refusal of that line of the box. `count` follows the entries
// stored, so a failed table keeps what was read before the bad line.
template <typename ReadLine>
InputCheck ReadTableLines(std::string_view boxText, int box, int limit, int32_t& count, ReadLine&& readLine) {
  count = 0;
  TableLineReader reader(boxText);
  while (count < limit && reader.Next()) {
    InputCheck check = readLine(reader.Line(), reader.LineNumber(), count);
    if (!check) {
      if (check.rejected) {
        check.rejected->box = box;
        check.rejected->line = reader.LineNumber();
      }
      return check;
    }
    ++count;
  }
  if (count >= limit) TableOverflowRecorder::NoteCut(boxText, count, reader);
  return Accepted();
}

// Shows a line message ("...第[%d]行...", a UTF-8 literal, with the number the
// table gives the line) and refuses the line ReadTableLines is reading with it.
inline InputCheck FailAtLine(PlatformServices& platform, const char* utf8Format, int lineNumber) {
  return RejectEntry(platform, 0, 0, FormatText(utf8Format, lineNumber));
}

}  // namespace qp

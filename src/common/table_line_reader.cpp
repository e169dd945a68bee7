#include "common/table_line_reader.h"

#include "common/numeric_field.h"

#include <functional>

namespace qp {

TableLineReader::TableLineReader(std::string_view boxText) {
  text_ = std::string(Trim(boxText)) + "\r\n";
  if (text_.size() <= 2) text_.clear();
}

bool TableLineReader::Next() {
  std::string_view rest = std::string_view(text_).substr(position_);
  const size_t cr = rest.find('\r');
  const size_t lf = rest.find('\n');
  if (cr == std::string_view::npos || lf == std::string_view::npos || cr == 0 || lf != cr + 1) {
    stoppedAt_ = position_;
    position_ = text_.size();
    return false;
  }
  line_ = rest.substr(0, cr);
  position_ += lf + 1;
  ++lineNumber_;
  return true;
}

std::optional<BlankLineCut> FindBlankLineCut(std::string_view boxText) {
  TableLineReader reader(boxText);
  while (reader.Next()) {
  }
  // Only a line that begins with its line end is blank; a stray CR or LF
  // inside a line ends the table for another reason.
  const std::string_view rest = reader.Unread();
  if (rest.empty() || rest.front() != '\r') return std::nullopt;
  BlankLineCut cut;
  cut.line = reader.LineNumber() + 1;
  for (size_t start = 0; start < rest.size();) {
    size_t end = rest.find('\n', start);
    if (end == std::string_view::npos) end = rest.size();
    if (!Trim(rest.substr(start, end - start)).empty()) ++cut.unread;
    start = end + 1;
  }
  if (cut.unread == 0) return std::nullopt;
  return cut;
}

namespace {
thread_local TableOverflowRecorder* activeRecorder = nullptr;
}  // namespace

TableOverflowRecorder::TableOverflowRecorder() : previous_(activeRecorder) { activeRecorder = this; }

TableOverflowRecorder::~TableOverflowRecorder() { activeRecorder = previous_; }

size_t TableOverflowRecorder::HashOf(std::string_view boxText) {
  return std::hash<std::string_view>()(Trim(boxText));
}

void TableOverflowRecorder::NoteCut(std::string_view boxText, int read, TableLineReader& rest) {
  if (!activeRecorder) return;
  int ignored = 0;
  while (rest.Next()) ++ignored;
  if (ignored == 0) return;
  activeRecorder->overflows_.push_back({HashOf(boxText), Trim(boxText).size(), read, ignored});
}

std::optional<std::vector<std::string>> SplitFields(std::string_view line, int fieldCount) {
  if (line.size() <= 2) return std::nullopt;
  std::vector<std::string> fields;
  std::string_view rest = line;
  for (int i = 0; i + 1 < fieldCount; ++i) {
    const size_t comma = rest.find(',');
    if (comma == std::string_view::npos || comma == 0) return std::nullopt;
    fields.emplace_back(Trim(rest.substr(0, comma)));
    rest = rest.substr(comma + 1);
  }
  fields.emplace_back(Trim(rest));
  return fields;
}

}  // namespace qp

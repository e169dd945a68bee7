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
    position_ = text_.size();
    return false;
  }
  line_ = rest.substr(0, cr);
  position_ += lf + 1;
  ++lineNumber_;
  return true;
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

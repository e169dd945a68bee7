#include "app/rejected_line.h"

#include "common/gbk_text.h"

namespace qp {

std::optional<RejectedLine> FindRejectedLine(std::string_view gbkMessage, std::span<const TableMessagePrefix> tables) {
  const std::string_view open = Gbk("第[");
  const std::string_view close = Gbk("]行");
  for (const TableMessagePrefix& table : tables) {
    const std::string_view prefix = Gbk(table.prefix);
    if (gbkMessage.substr(0, prefix.size()) != prefix) continue;
    std::string_view rest = gbkMessage.substr(prefix.size());
    if (rest.substr(0, open.size()) != open) continue;
    rest.remove_prefix(open.size());
    long number = 0;
    size_t digits = 0;
    while (digits < rest.size() && digits < 9 && rest[digits] >= '0' && rest[digits] <= '9') {
      number = number * 10 + (rest[digits] - '0');
      ++digits;
    }
    if (digits == 0 || rest.substr(digits, close.size()) != close) continue;
    const long line = number - table.firstLine;
    if (line < 0) return std::nullopt;
    return RejectedLine{table.box, static_cast<int>(line)};
  }
  return std::nullopt;
}

}  // namespace qp

// Selecting the table line a refusal names: the readers and checks of the
// input tables return which box and line they refused (common/rejected_entry.h),
// and the dialogs put the cursor on that line of its box. A table the user
// would not have cut at a blank line gets that line selected the same way.
#pragma once

#include <optional>

#include "common/blank_line_question.h"
#include "common/rejected_entry.h"

namespace qp {

struct RejectedLine {
  int box = 0;
  int line = 0;  // zero-based line of the box
};

// The line a stopped action leaves selected: the blank line the user would
// not have a table cut at, when there was one, else the entry refused.
inline std::optional<RejectedLine> LineToSelect(const BlankLineRefusal& refusal,
                                                const std::optional<RejectedEntry>& rejected) {
  if (const auto& blank = refusal.Refused()) return RejectedLine{blank->box, blank->line};
  if (rejected) return RejectedLine{rejected->box, rejected->line};
  return std::nullopt;
}

}  // namespace qp

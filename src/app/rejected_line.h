// Selecting the table line a refusal names: the readers and checks of the
// input tables say which box and line they refused (common/rejected_entry.h),
// and the dialogs put the cursor on that line of its box. A table the user
// would not have cut at a blank line gets that line selected the same way.
#pragma once

#include <optional>
#include <string>

#include "common/blank_line_question.h"
#include "common/platform_services.h"
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

// Passes everything on to `base`. A message shown after a table refused an
// entry is what the user reads last: the refusal no longer selects its line.
class MessageTap : public PlatformServices {
 public:
  explicit MessageTap(PlatformServices& base) : base_(base) {}

  void ShowMessage(const std::string& text, Icon icon = Icon::None) override {
    base_.ShowMessage(text, icon);
    RejectedEntryRecorder::MessageShown();
  }
  Answer Ask(const std::string& text, Buttons buttons, Answer defaultAnswer, Icon icon = Icon::Question) override {
    return base_.Ask(text, buttons, defaultAnswer, icon);
  }
  void Beep() override { base_.Beep(); }
  std::time_t CurrentTime() override { return base_.CurrentTime(); }
  bool Launch(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingDirectory) override {
    return base_.Launch(program, arguments, workingDirectory);
  }
  void BeginWait() override { base_.BeginWait(); }
  void EndWait() override { base_.EndWait(); }

 protected:
  PlatformServices& base_;
};

}  // namespace qp

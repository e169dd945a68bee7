// Finding the table line a refusal names: the readers of the input tables
// refuse a line with a message "<table>第[n]行..." (n counted from 0 in the
// plane tables and the coordinate tools, from 1 in the height tables). The
// dialogs keep the message as it is and put the cursor on that line of its
// box. A table the user would not have cut at a blank line gets that line
// selected the same way.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/blank_line_question.h"
#include "common/platform_services.h"

namespace qp {

// A table's message prefix (UTF-8), the dialog's box it reads and the number
// its first line gets in the messages.
struct TableMessagePrefix {
  const char* prefix;
  int box;
  int firstLine;
};

struct RejectedLine {
  int box = 0;
  int line = 0;  // zero-based line of the box
};

// The line a stopped action leaves selected: the blank line the user would
// not have a table cut at, when there was one, else `named`.
inline std::optional<RejectedLine> LineToSelect(const BlankLineRefusal& refusal, std::optional<RejectedLine> named) {
  if (const auto& blank = refusal.Refused()) return RejectedLine{blank->box, blank->line};
  return named;
}

// The box and line a GBK message "<prefix>第[n]行..." names, for the first
// prefix that matches exactly up to "第["; nothing for any other message.
std::optional<RejectedLine> FindRejectedLine(std::string_view gbkMessage, std::span<const TableMessagePrefix> tables);

// Passes everything on to `base`, keeping the last message shown.
class MessageTap : public PlatformServices {
 public:
  explicit MessageTap(PlatformServices& base) : base_(base) {}

  void ShowMessage(const std::string& text, Icon icon = Icon::None) override {
    lastMessage_ = text;
    base_.ShowMessage(text, icon);
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

  // The last message shown since Forget (GBK).
  const std::string& LastMessage() const { return lastMessage_; }
  void Forget() { lastMessage_.clear(); }

 protected:
  PlatformServices& base_;

 private:
  std::string lastMessage_;
};

}  // namespace qp

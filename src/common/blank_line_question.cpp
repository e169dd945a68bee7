#include "common/blank_line_question.h"

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/table_line_reader.h"

namespace qp {
namespace {
thread_local BlankLineRefusal* activeRefusal = nullptr;
}  // namespace

BlankLineRefusal::BlankLineRefusal() : previous_(activeRefusal) { activeRefusal = this; }

BlankLineRefusal::~BlankLineRefusal() { activeRefusal = previous_; }

bool ConfirmBlankLineCut(std::string_view boxText, const TableBoxName& name, PlatformServices& platform) {
  const std::optional<BlankLineCut> cut = FindBlankLineCut(boxText);
  if (!cut) return true;
  const std::string question = FormatText("[%s]第[%d]行为空行, 其后%d行将不被读入, 继续吗?",
                                          Gbk(name.caption).c_str(), cut->line + name.firstLineNumber, cut->unread);
  if (platform.Ask(question, Buttons::YesNo, Answer::No, Icon::Warning) == Answer::Yes) return true;
  if (activeRefusal) activeRefusal->refused_ = BlankLineRefusal::Line{name.box, cut->line};
  return false;
}

bool ConfirmBlankLineCuts(std::span<const std::string> boxes, std::span<const int> order,
                          const char* (*captionOf)(int box), int firstLineNumber, PlatformServices& platform) {
  for (const int box : order) {
    if (box < 0 || static_cast<size_t>(box) >= boxes.size()) continue;
    if (!ConfirmBlankLineCut(boxes[box], {captionOf(box), box, firstLineNumber}, platform)) return false;
  }
  return true;
}

}  // namespace qp

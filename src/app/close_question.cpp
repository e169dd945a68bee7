#include "app/close_question.h"

#include "common/gbk_text.h"

namespace qp {
namespace {

// Passes messages on and gives one fixed answer to every question: the
// choice already made in the three-way question.
class AnsweredPlatform : public PlatformServices {
 public:
  AnsweredPlatform(PlatformServices& inner, Answer answer) : inner_(inner), answer_(answer) {}
  void ShowMessage(const std::string& text, Icon icon) override { inner_.ShowMessage(text, icon); }
  Answer Ask(const std::string&, Buttons, Answer, Icon) override { return answer_; }
  void Beep() override { inner_.Beep(); }
  std::time_t CurrentTime() override { return inner_.CurrentTime(); }
  bool Launch(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& workingDirectory) override {
    return inner_.Launch(program, arguments, workingDirectory);
  }
  void BeginWait() override { inner_.BeginWait(); }
  void EndWait() override { inner_.EndWait(); }

 private:
  PlatformServices& inner_;
  Answer answer_;
};

}  // namespace

bool CloseDocumentAsking(CQuorvexPDoc& doc, PlatformServices& platform) {
  const DocumentState& state = doc.State();
  if (!state.drawingModified || !state.ShowsDrawing()) {
    doc.CloseNetwork(platform);
    return true;
  }
  const Answer answer =
      platform.Ask(Gbk("请确认保存当前图形数据..."), Buttons::SaveDiscardCancel, Answer::Yes, Icon::Question);
  if (answer == Answer::Cancel) return false;
  AnsweredPlatform answered(platform, answer == Answer::Yes ? Answer::Yes : Answer::No);
  // A save that failed has said why; the moves stay on screen.
  if (answer == Answer::Yes && doc.SaveDrawing(answered) != SaveResult::Saved) return false;
  doc.CloseNetwork(answered);
  return true;
}

}  // namespace qp

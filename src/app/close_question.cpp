#include "app/close_question.h"

#include "common/gbk_text.h"

namespace qp {

bool CloseDocumentAsking(CQuorvexPDoc& doc, PlatformServices& platform) {
  DocumentState& state = doc.State();
  if (state.drawingModified && state.ShowsDrawing()) {
    const Answer answer =
        platform.Ask(Gbk("请确认保存当前图形数据..."), Buttons::SaveDiscardCancel, Answer::Yes, Icon::Question);
    if (answer == Answer::Cancel) return false;
    // A save that failed has said why; the moves stay on screen.
    if (answer == Answer::Yes && doc.SaveDrawing(platform, true) != SaveResult::Saved) return false;
    // Left unsaved: closing does not ask again.
    state.drawingModified = false;
  }
  doc.CloseNetwork(platform);
  return true;
}

}  // namespace qp

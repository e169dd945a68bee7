#include "workflow/arrange_drawing.h"

#include <memory>
#include <optional>

#include "common/format.h"
#include "common/gbk_text.h"
#include "workflow/drawing_files.h"
#include "drawing/label_arrangement.h"
#include "height/height_model_record.h"
#include "plane/plane_model_record.h"

namespace qp {
namespace {

// Arranges the texts on a copy of the network's model and puts the layout
// into the record.
std::optional<int> ArrangeRecord(const SettingsBlock& settings, DrawnNetwork shown, PlaneNetwork* plane,
                                 HeightNetwork* height, const LabelMarks& marks, const DrawContext& context) {
  if (plane && shown.plane) {
    PlaneModel model = *shown.plane;
    const std::optional<int> moved = ArrangePlaneLabels(settings, model, marks, context);
    if (moved) PutPlaneLayout(model, *plane);
    return moved;
  }
  if (!height || !shown.height) return std::nullopt;
  HeightModel model = *shown.height;
  const std::optional<int> moved = ArrangeHeightLabels(settings, model, marks, context);
  if (moved) PutHeightLayout(model, *height);
  return moved;
}

}  // namespace

ArrangeOutcome ArrangeDrawing(const std::string& dataPath, SettingsBlock& settings, DrawnNetwork shown,
                              PlaneNetwork* plane, HeightNetwork* height, const LabelMarks& marks,
                              const DrawContext& context, bool& drawingModified, PlatformServices& platform,
                              const std::function<void()>& redraw) {
  ArrangeOutcome outcome;
  // The record as it was, for a "No".
  const auto settingsBefore = std::make_unique<SettingsBlock>(settings);
  std::unique_ptr<PlaneNetwork> planeBefore = plane ? std::make_unique<PlaneNetwork>(*plane) : nullptr;
  std::unique_ptr<HeightNetwork> heightBefore = height ? std::make_unique<HeightNetwork>(*height) : nullptr;
  const std::optional<int> moved = ArrangeRecord(settings, shown, plane, height, marks, context);
  if (!moved) return outcome;
  outcome.moved = *moved;
  if (redraw) redraw();
  const std::string question = FormatText("注记整理完成, 移动了 %d 个注记。\r\n请确认保存...", *moved);
  if (platform.Ask(question, Buttons::YesNo, Answer::Yes, Icon::Question) != Answer::Yes) {
    settings = *settingsBefore;
    if (plane) *plane = *planeBefore;
    if (height) *height = *heightBefore;
    if (redraw) redraw();
    outcome.result = ArrangeResult::Restored;
    return outcome;
  }
  const std::string path = DecodeUserTextToGbk(dataPath);
  // The data file as saving writes it, and the marks beside it.
  if (!WriteGraphicData(dataPath, settings, plane, height) || !WriteLabelMarks(dataPath, marks)) {
    const char* failed = plane ? "平面网数据文件写入错误 !\r\n%s" : "高程网数据文件写入错误 !\r\n%s";
    platform.ShowMessage(FormatText(failed, path.c_str()), Icon::Error);
    drawingModified = true;
    outcome.result = ArrangeResult::Failed;
    return outcome;
  }
  drawingModified = false;
  platform.ShowMessage(path, Icon::Information);
  outcome.result = ArrangeResult::Kept;
  return outcome;
}

}  // namespace qp

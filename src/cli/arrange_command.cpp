#include "cli/arrange_command.h"

#include <memory>

#include "cli/network_file_kind.h"
#include "common/file_clash.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "workflow/arrange_drawing.h"
#include "workflow/drawing_files.h"
#include "drawing/flagged_observations.h"
#include "drawing/network_drawing.h"
#include "height/height_model_record.h"
#include "plane/plane_model_record.h"
#include "statistics/statistics_report.h"

namespace qp {
namespace {

// Arranges kind `kind` of the open network on a sheet titled for it, then
// puts its stored kind (and the title that goes with it) back before the
// record is written.
template <class Model>
int ArrangeAndSave(const CommandOptions& options, SettingsBlock& settings, Model model, int32_t& storedKind,
                   PlaneNetwork* plane, HeightNetwork* height, PlatformServices& platform) {
  const Model stored = model;
  if (options.kind) model.diagram.kind = *options.kind;
  UpdateDiagramTitle(settings, model);
  const FlaggedObservationSet flagged = FlaggedObservationsFor(options.dataPath);
  const DrawContext context{.flagged = &flagged};
  const LabelMarks marks = ReadLabelMarks(options.dataPath);
  bool modified = false;
  const auto restoreKind = [&] {
    storedKind = stored.diagram.kind;
    UpdateDiagramTitle(settings, stored);
  };
  const ArrangeOutcome outcome =
      ArrangeDrawing(options.dataPath, settings, model, plane, height, marks, context, modified, platform, restoreKind);
  switch (outcome.result) {
    case ArrangeResult::NotDrawn:
      platform.ShowMessage(Gbk(plane ? "平面网数据文件错误 !" : "高程网数据文件错误 !"), Icon::Error);
      return 1;
    case ArrangeResult::Failed:
      return 1;
    case ArrangeResult::Kept:
    case ArrangeResult::Restored:
      break;
  }
  platform.ShowMessage(FormatText("注记整理完成, 移动了 %d 个注记。", outcome.moved), Icon::Information);
  return 0;
}

}  // namespace

int RunArrangeCommand(const CommandOptions& options, PlatformServices& platform) {
  const NetworkFileKind network = NetworkFileKindOf(options.dataPath);
  if (network == NetworkFileKind::Unknown) return 2;  // checked with the usage text by the driver
  RunFiles files;
  files.dataFile = {options.dataPath, "数据文件"};
  files.inputs.push_back({StatisticsReportPathFor(options.dataPath), "统计检验报告"});
  files.inputs.push_back({StatisticsFlagsPathFor(options.dataPath), kStatisticsFlagsRole});
  files.outputs.push_back({LabelMarksPath(options.dataPath), "注记标记文件"});
  if (!CheckNoInputOverwritten(files, platform)) return 1;
  auto settings = std::make_unique<SettingsBlock>();
  if (network == NetworkFileKind::Plane) {
    auto net = std::make_unique<PlaneNetwork>();
    if (!OpenPlaneDrawing(options.dataPath, *settings, *net, platform)) return 1;
    return ArrangeAndSave(options, *settings, PlaneModelFromRecord(*net), net->displayMode, net.get(), nullptr, platform);
  }
  auto net = std::make_unique<HeightNetwork>();
  if (!OpenHeightDrawing(options.dataPath, *settings, *net, platform)) return 1;
  return ArrangeAndSave(options, *settings, HeightModelFromRecord(*net), net->diagramKind, nullptr, net.get(),
                        platform);
}

}  // namespace qp

// "H数据编辑": the whole cycle of a height network from the input dialog to
// the stored results.
#include "workflow/height_workflow.h"

#include <cstring>
#include <memory>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "height/height_adjustment.h"
#include "height/height_file.h"
#include "height/height_layout.h"
#include "height/height_model_record.h"
#include "height/height_statistics.h"
#include "statistics/statistics_report.h"

namespace qp {
namespace {

void ShowWriteError(PlatformServices& platform) { platform.ShowMessage(Gbk("高程网数据文件写入错误 !")); }

// Computes `model`, the confirmed network, into its report (opened for
// appending): the adjustment, or the precision estimate when estimating or
// without redundancy. False after "高程网解算失败 !" (and the message of the
// cause); the model holds what the computation reached.
bool ComputeHeightNetwork(HeightWorkspace& ws, HeightModel& model, NormalEquationStore& normals,
                          PlatformServices& platform) {
  bool ok = false;
  {
    WaitCursor wait(platform);
    ReportFile report;
    if (report.OpenForAppend(ws.ReportPath())) {
      model.largestCorrection = 0.0;
      HeightComputation c{model, normals, AskingThrough(platform), report, ws.section,
                          HeightExportPathFor(ws.dataPath)};
      const bool adjusting = model.mode == kHeightAdjust && model.Redundancy() > 0;
      ok = adjusting ? AdjustHeightNetwork(c) : EstimateHeightPrecision(c);
      ShowFailure(platform, c.dialogue);
      // Sections that did not reach the disk are no result.
      ok = report.Close() && ok;
      // The statistical tests go into a report of their own, beside this one.
      const StatisticsOptions options{.alpha = ws.significance};
      RenewStatisticsReport(ws.dataPath, ok, [&](const std::string& path) {
        return WriteHeightStatisticsReport(model, normals, adjusting, path, platform.CurrentTime(), options,
                                           &ws.globalTest);
      });
    }
  }
  if (!ok) platform.ShowMessage(Gbk("高程网解算失败 !"));
  return ok;
}

}  // namespace

NetworkEditResult EditHeightNetwork(HeightWorkspace& ws, PlatformServices& platform,
                                    const HeightDialogRunner& runDialog) {
  HeightNetwork& net = ws.net;
  std::memcpy(&ws.backup, &net, sizeof(HeightNetwork));

  const HeightReportTarget target{ws.ReportPath(), HeightSidePath(ws.dataPath), ws.section};
  if (!runDialog(net, target)) {
    // The dialog may have touched the record (name list, a partly parsed
    // network): the stored network comes back, or the backup when the file
    // is gone.
    if (!ReadHeightFile(ws.dataPath, ws.settings, net)) std::memcpy(&net, &ws.backup, sizeof(HeightNetwork));
    return NetworkEditResult::Cancelled;
  }

  // The diagram title.
  SetSheetText(ws.settings, kNetworkNameSlot, SlotText(net.networkName));
  if (!WriteHeightFile(ws.dataPath, ws.settings, net)) {
    ShowWriteError(platform);
    return NetworkEditResult::NotComputed;
  }
  HeightModel model = HeightModelFromRecord(net);
  if (model.PointCount() < 1 || model.Redundancy() < 0) {
    platform.ShowMessage(Gbk("高程网不满足基本条件 !"));
    return NetworkEditResult::NotComputed;
  }

  std::unique_ptr<NormalEquationStore> ownStore;
  const bool computed = ComputeHeightNetwork(ws, model, ws.Normals(ownStore), platform);
  // What the computation reached stays in the record, also when it failed.
  PutHeightResults(model, net);
  if (!computed) return NetworkEditResult::Failed;
  const HeightModel previous = HeightModelFromRecord(ws.backup);
  ws.changeLevel = HeightChangeLevel(model, previous);
  // What the user arranged on the diagram before stays where it is.
  LayOutHeightDiagram(model, previous, ws.changeLevel);
  PutHeightLayout(model, net);
  // Drawing: fit the sheet at level 256.
  ws.PrepareDiagram(platform);
  if (!WriteHeightFile(ws.dataPath, ws.settings, net)) {
    ShowWriteError(platform);
    return NetworkEditResult::Failed;
  }
  return NetworkEditResult::Computed;
}

}  // namespace qp

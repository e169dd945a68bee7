// "H数据编辑": the whole cycle of a height network from the input dialog to
// the stored results.
#include "height/height_workflow.h"

#include <cmath>
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

// A point moved further than this (m) counts as a new network geometry.
constexpr double kMovedPointMetres = 10.0;

void ShowWriteError(PlatformServices& platform) { platform.ShowMessage(Gbk("高程网数据文件写入错误 !")); }

bool SameLoops(const HeightModel& a, const HeightModel& b) {
  if (a.loops.size() != b.loops.size()) return false;
  for (size_t k = 0; k < a.loops.size(); ++k) {
    const HeightLoop& x = a.loops[k];
    const HeightLoop& y = b.loops[k];
    if (x.kind != y.kind) return false;
    for (int s = 0; s < 4; ++s) {
      if (x.names[s] != y.names[s]) return false;
    }
  }
  return true;
}

}  // namespace

std::string HeightWorkspace::HeightExportPath() const { return HeightExportPathFor(dataPath); }

int HeightChangeLevel(HeightModel& net, const HeightModel& backup) {
  const int points = net.PointCount();
  bool newPoints = false;
  if (points != net.lastComputedPointCount) {
    net.lastComputedPointCount = points;
    newPoints = true;
  }
  newPoints = newPoints || backup.PointCount() <= 1 || backup.PointCount() != points;
  for (int p = 0; p < points && !newPoints; ++p) {
    const HeightPoint& now = net.points[p];
    const HeightPoint& before = backup.points[p];
    newPoints = now.name != before.name || !(std::fabs(now.x - before.x) <= kMovedPointMetres) ||
                !(std::fabs(now.y - before.y) <= kMovedPointMetres);
  }
  if (newPoints) return 256;

  bool newObservations = net.differences.size() != backup.differences.size();
  for (size_t i = 0; i < net.differences.size() && !newObservations; ++i) {
    newObservations = net.differences[i].fromName != backup.differences[i].fromName ||
                      net.differences[i].toName != backup.differences[i].toName;
  }
  if (newObservations) return 128;
  return SameLoops(net, backup) ? 0 : 64;
}

void ApplyDefaultHeightLayout(HeightModel& net, int changeLevel) {
  const int points = net.PointCount();
  if (changeLevel >= 256 && net.coordinates.empty() && points > 0) {
    for (int i = 0; i < points; ++i) {
      const RowPosition row = DefaultRowPosition(i, points);
      net.points[i].x = row.x;
      net.points[i].y = row.y;
    }
  }
  if (changeLevel >= 128) {
    for (size_t i = 0; i < net.differences.size(); ++i) {
      HeightDifference& d = net.differences[i];
      if (!d.Joined()) continue;
      SetStraightCurve(d.curve, net.points[d.from].x, net.points[d.from].y, net.points[d.to].x, net.points[d.to].y);
    }
  }
  if (changeLevel >= 64) {
    for (HeightLoop& e : net.loops) PlaceLoopLabel(net, e);
  }
}

void PlaceLoopLabel(const HeightModel& net, HeightLoop& e) {
  LoopMiddle(
      e.kind,
      [&](int s, double& x, double& y) {
        const int p = net.Find(e.names[s]);
        if (p >= 0) x = net.points[p].x, y = net.points[p].y;
        return p >= 0;
      },
      e.labelX, e.labelY);
}

bool ComputeHeightNetwork(HeightWorkspace& ws, HeightModel& model, NormalEquationStore& normals,
                          PlatformServices& platform) {
  bool ok = false;
  {
    WaitCursor wait(platform);
    ReportFile report;
    if (report.OpenForAppend(ws.ReportPath())) {
      model.largestCorrection = 0.0;
      HeightComputation c{model, normals, ComputationDialogue::AskingThrough(platform), report, ws.section,
                          ws.HeightExportPath()};
      const bool adjusting = model.mode == kHeightAdjust && model.Redundancy() > 0;
      ok = adjusting ? AdjustHeightNetwork(c) : EstimateHeightPrecision(c);
      c.dialogue.ShowFailure(platform);
      // Sections that did not reach the disk are no result.
      ok = report.Close() && ok;
      // The statistical tests go into a report of their own, beside this one.
      StatisticsOptions options;
      options.alpha = ws.significance;
      RenewStatisticsReport(ws.dataPath, ok, [&](const std::string& path) {
        return WriteHeightStatisticsReport(model, normals, adjusting, path, platform.CurrentTime(), options);
      });
    }
  }
  if (!ok) platform.ShowMessage(Gbk("高程网解算失败 !"));
  return ok;
}

HeightEditResult EditHeightNetwork(HeightWorkspace& ws, PlatformServices& platform,
                                   const HeightDialogRunner& runDialog) {
  HeightNetwork& net = ws.net;
  std::memcpy(&ws.backup, &net, sizeof(HeightNetwork));

  const HeightReportTarget target{ws.ReportPath(), ws.SidePath(), ws.section};
  if (!runDialog(net, target)) {
    // The dialog may have touched the record (name list, a partly parsed
    // network): the stored network comes back, or the backup when the file
    // is gone.
    if (!ReadHeightFile(ws.dataPath, ws.settings, net)) std::memcpy(&net, &ws.backup, sizeof(HeightNetwork));
    return HeightEditResult::Cancelled;
  }

  // The diagram title.
  SetSheetText(ws.settings, kNetworkNameSlot, SlotText(net.networkName));
  if (!WriteHeightFile(ws.dataPath, ws.settings, net)) {
    ShowWriteError(platform);
    return HeightEditResult::NotComputed;
  }
  HeightModel model = HeightModelFromRecord(net);
  if (model.PointCount() < 1 || model.Redundancy() < 0) {
    platform.ShowMessage(Gbk("高程网不满足基本条件 !"));
    return HeightEditResult::NotComputed;
  }

  std::unique_ptr<NormalEquationStore> ownStore;
  NormalEquationStore* normals = ws.normals;
  if (!normals) {
    ownStore = std::make_unique<NormalEquationStore>();
    normals = ownStore.get();
  }
  const bool computed = ComputeHeightNetwork(ws, model, *normals, platform);
  // What the computation reached stays in the record, also when it failed.
  PutHeightResults(model, net);
  if (!computed) return HeightEditResult::Failed;
  const HeightModel previous = HeightModelFromRecord(ws.backup);
  ws.changeLevel = HeightChangeLevel(model, previous);
  // What the user arranged on the diagram before stays where it is.
  LayOutHeightDiagram(model, previous, ws.changeLevel);
  PutHeightLayout(model, net);
  // Drawing: fit the sheet at level 256.
  if (ws.drawing.prepareDiagram) {
    const std::string note = ws.drawing.prepareDiagram(ws, ws.changeLevel);
    if (!note.empty()) platform.ShowMessage(note);
  }
  if (!WriteHeightFile(ws.dataPath, ws.settings, net)) {
    ShowWriteError(platform);
    return HeightEditResult::Failed;
  }
  if (ws.drawing.refreshDisplay) ws.drawing.refreshDisplay(ws);
  if (ws.drawing.redraw) ws.drawing.redraw(ws);
  return HeightEditResult::Computed;
}

}  // namespace qp

// "H数据编辑": the whole cycle of a height network from the input dialog to
// the stored results.
#include "height/height_workflow.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "height/height_adjustment.h"
#include "height/height_checks.h"
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

bool SameLoops(const HeightNetwork& a, const HeightNetwork& b) {
  if (a.loopCount != b.loopCount) return false;
  for (int k = 0; k < BoundedCount(a.loopCount, kMaxLoopEntries); ++k) {
    const LoopEntry& x = a.loops[k];
    const LoopEntry& y = b.loops[k];
    if (x.kind != y.kind) return false;
    for (int s = 0; s < 4; ++s) {
      if (SlotText(x.names[s]) != SlotText(y.names[s])) return false;
    }
  }
  return true;
}

}  // namespace

std::string HeightWorkspace::HeightExportPath() const { return HeightExportPathFor(dataPath); }

int HeightChangeLevel(HeightNetwork& net, const HeightNetwork& backup) {
  bool newPoints = false;
  if (net.pointCount != net.lastComputedPointCount) {
    net.lastComputedPointCount = net.pointCount;
    newPoints = true;
  }
  newPoints = newPoints || backup.pointCount <= 1 || backup.pointCount != net.pointCount;
  const int points = BoundedCount(net.pointCount, kMaxHeightPoints);
  for (int p = 0; p < points && !newPoints; ++p) {
    newPoints = SlotText(net.pointName[p]) != SlotText(backup.pointName[p]) ||
                !(std::fabs(net.diagramX[p] - backup.diagramX[p]) <= kMovedPointMetres) ||
                !(std::fabs(net.diagramY[p] - backup.diagramY[p]) <= kMovedPointMetres);
  }
  if (newPoints) return 256;

  bool newObservations = net.observationCount != backup.observationCount;
  const int observations = BoundedCount(net.observationCount, kMaxHeightDifferences);
  for (int i = 0; i < observations && !newObservations; ++i) {
    newObservations = SlotText(net.from[i]) != SlotText(backup.from[i]) || SlotText(net.to[i]) != SlotText(backup.to[i]);
  }
  if (newObservations) return 128;
  return SameLoops(net, backup) ? 0 : 64;
}

void ApplyDefaultHeightLayout(HeightNetwork& net, int changeLevel) {
  const int points = BoundedCount(net.pointCount, kMaxHeightPoints);
  if (changeLevel >= 256 && net.coordinateCount == 0 && points > 0) {
    for (int i = 0; i < points; ++i) {
      const RowPosition row = DefaultRowPosition(i, points);
      net.diagramX[i] = row.x;
      net.diagramY[i] = row.y;
    }
  }
  if (changeLevel >= 128) {
    const DifferenceEnds ends = FindDifferenceEnds(net);
    for (size_t i = 0; i < ends.from.size(); ++i) {
      if (ends.from[i] < 0 || ends.to[i] < 0) continue;
      SetStraightCurve(net, static_cast<int>(i), net.diagramX[ends.from[i]], net.diagramY[ends.from[i]],
                       net.diagramX[ends.to[i]], net.diagramY[ends.to[i]]);
    }
  }
  if (changeLevel >= 64) {
    const HeightPointIndex index(net, points);
    for (int k = 0; k < BoundedCount(net.loopCount, kMaxLoopEntries); ++k) PlaceLoopLabel(net, net.loops[k], index);
  }
}

void PlaceLoopLabel(const HeightNetwork& net, LoopEntry& e, const HeightPointIndex& index) {
  const int corners = e.kind == kLoopTriangle ? 3 : e.kind == kLoopQuadrilateral ? 4 : 2;
  double x = 0.0, y = 0.0;
  int found = 0;
  for (int s = 0; s < corners; ++s) {
    const int p = index.Find(SlotText(e.names[s]));
    if (p < 0) continue;
    x += net.diagramX[p];
    y += net.diagramY[p];
    ++found;
  }
  if (found > 0) {
    e.labelX = x / found;
    e.labelY = y / found;
  }
}

bool ComputeHeightNetwork(HeightWorkspace& ws, NormalEquationStore& normals, PlatformServices& platform) {
  bool ok = false;
  {
    WaitCursor wait(platform);
    ReportFile report;
    if (report.OpenForAppend(ws.ReportPath())) {
      HeightModel model = HeightModelFromRecord(ws.net);
      model.largestCorrection = 0.0;
      HeightComputation c{model, normals, ComputationDialogue::AskingThrough(platform), report, ws.section,
                          ws.HeightExportPath()};
      const bool adjusting = model.mode == kHeightAdjust && model.Redundancy() > 0;
      ok = adjusting ? AdjustHeightNetwork(c) : EstimateHeightPrecision(c);
      // What the computation reached stays in the record, also when it failed.
      PutHeightResults(model, ws.net);
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
  if (net.pointCount < 1 || net.observationCount < net.unknownPointCount) {
    platform.ShowMessage(Gbk("高程网不满足基本条件 !"));
    return HeightEditResult::NotComputed;
  }

  std::unique_ptr<NormalEquationStore> ownStore;
  NormalEquationStore* normals = ws.normals;
  if (!normals) {
    ownStore = std::make_unique<NormalEquationStore>();
    normals = ownStore.get();
  }
  if (!ComputeHeightNetwork(ws, *normals, platform)) return HeightEditResult::Failed;

  ws.changeLevel = HeightChangeLevel(net, ws.backup);
  // What the user arranged on the diagram before stays where it is.
  LayOutHeightDiagram(net, ws.backup, ws.changeLevel);
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

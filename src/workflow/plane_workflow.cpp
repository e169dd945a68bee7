// "P数据编辑": the whole cycle of a plane network from the input dialog to
// the stored results.
#include "workflow/plane_workflow.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "geodesy/angles.h"
#include "plane/derived_height_network.h"
#include "plane/network_geometry.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "plane/plane_statistics.h"
#include "statistics/statistics_report.h"

namespace qp {
namespace {

// A point moved further than this (m) counts as a new network geometry.
constexpr double kMovedPointMetres = 10.0;

bool SameClosureChecks(const PlaneNetwork& a, const PlaneNetwork& b) {
  if (a.closureCheckCount != b.closureCheckCount) return false;
  const int count = TraverseCount(a);
  for (int t = 0; t < count; ++t) {
    // What the search found, not where the diagram put its label.
    const TraverseClosure x = ReadTraverseClosure(a, t);
    const TraverseClosure y = ReadTraverseClosure(b, t);
    if (SlotText(x.startOrientation) != SlotText(y.startOrientation) || SlotText(x.start) != SlotText(y.start) ||
        SlotText(x.end) != SlotText(y.end) || SlotText(x.endOrientation) != SlotText(y.endOrientation) ||
        x.azimuthMisclosure != y.azimuthMisclosure || x.fx != y.fx || x.fy != y.fy || x.legs != y.legs ||
        x.kind != y.kind || x.length != y.length || x.relative != y.relative) {
      return false;
    }
  }
  return true;
}

void ShowWriteError(PlatformServices& platform) { platform.ShowMessage(Gbk("平面网数据文件写入错误 !")); }

}  // namespace

int ChangeLevel(PlaneNetwork& net, const PlaneNetwork& backup) {
  bool newGeometry = false;
  if (net.pointCount != net.lastComputedPointCount) {
    net.lastComputedPointCount = net.pointCount;
    newGeometry = true;
  }
  newGeometry = newGeometry || backup.pointCount <= 1 || backup.pointCount != net.pointCount ||
                backup.knownCount != net.knownCount || backup.unknownPointCount != net.unknownPointCount;
  if (!newGeometry) {
    const int points = ClampedCount(net.pointCount, kMaxPlanePoints);
    for (int p = 0; p < points && !newGeometry; ++p) {
      newGeometry = SlotText(net.pointName[p]) != SlotText(backup.pointName[p]) ||
                    std::fabs(net.x[p] - backup.x[p]) > kMovedPointMetres ||
                    std::fabs(net.y[p] - backup.y[p]) > kMovedPointMetres;
    }
  }
  if (newGeometry) return 256;
  const bool newObservations =
      net.nonStationCount != backup.nonStationCount || net.redundancy != backup.redundancy ||
      net.unknownCount != backup.unknownCount || net.directionCount != backup.directionCount ||
      net.fixedAzimuthCount != backup.fixedAzimuthCount || net.weightedAzimuthCount != backup.weightedAzimuthCount ||
      net.reducedCount != backup.reducedCount || net.fixedDistanceCount != backup.fixedDistanceCount ||
      net.weightedDistanceCount != backup.weightedDistanceCount || !SameClosureChecks(net, backup);
  return newObservations ? 128 : 0;
}

namespace {

// Computes the confirmed network into its report (opened for appending):
// the adjustment, or the precision estimate in mode 0 and with redundancy 0.
// False after "平面网解算失败 !" (and the message of the cause).
bool ComputePlaneNetwork(PlaneWorkspace& ws, NormalEquationStore& normals, PlatformServices& platform,
                         HeightNetwork* derivedHeight) {
  PlaneNetwork& net = ws.net;
  bool ok = false;
  {
    WaitCursor wait(platform);
    ReportFile report;
    if (report.OpenForAppend(ws.ReportPath())) {
      PlaneModel model = PlaneModelFromRecord(net);
      PlaneComputation c{model, normals, AskingThrough(platform), report, ws.section,
                         CoordinateExportPathFor(ws.dataPath)};
      const bool adjusting = model.calcMode != kPrecisionEstimate && model.redundancy != 0;
      ok = adjusting ? AdjustPlaneNetwork(c) : EstimatePlanePrecision(c);
      // What the computation reached, also when it failed: the record holds it.
      PutPlaneResults(model, net);
      ShowFailure(platform, c.dialogue);
      // Sections that did not reach the disk are no result.
      ok = report.Close() && ok;
      // The statistical tests go into a report of their own, beside this one.
      const StatisticsOptions options{.alpha = ws.significance};
      RenewStatisticsReport(ws.dataPath, ok, [&](const std::string& path) {
        return WritePlaneStatisticsReport(model, normals, adjusting, path, platform.CurrentTime(), options,
                                          &ws.globalTest);
      });
      // Slope-distance modes leave a trigonometric height network beside the data file.
      if (ok && net.calcMode >= kSlopeReduced && derivedHeight) {
        const DerivedHeightWrite written = WriteDerivedHeightNetwork(model, ws.settings, ws.dataPath, *derivedHeight);
        if (const char* message = DerivedHeightWriteMessage(written)) platform.ShowMessage(Gbk(message));
      }
    }
  }
  if (!ok) platform.ShowMessage(Gbk("平面网解算失败 !"));
  return ok;
}

}  // namespace

bool CheckNearPairs(PlaneNetwork& net, PlatformServices& platform) {
  if (net.calcMode == kPrecisionEstimate || !net.breakthroughWarning) return false;
  const PlaneModel model = PlaneModelFromRecord(net);
  for (const PlaneSide& pair : model.pairs) {
    const int a = pair.ends.from;
    const int b = pair.ends.to;
    if (!pair.ends.Resolved() || (a < model.knownCount && b < model.knownCount)) continue;
    const PlanePoint& p = model.points[a];
    const PlanePoint& q = model.points[b];
    if (DistanceOf(p.x, p.y, q.x, q.y) < net.warningDistance) {
      net.displayMode = 4;  // "4部分相对误差椭圆"
      platform.Beep();      // the 100 Hz, 3 s warning tone
      return true;
    }
  }
  return false;
}

NetworkEditResult EditPlaneNetwork(PlaneWorkspace& ws, PlatformServices& platform, const PlaneDialogRunner& runDialog,
                                   HeightNetwork* derivedHeight) {
  PlaneNetwork& net = ws.net;
  std::memcpy(&ws.backup, &net, sizeof(PlaneNetwork));

  if (!runDialog(net, {PlaneDraftPath(ws.ReportPath()), PlaneConfirmationPipeline(ws)})) {
    // The dialog may have touched the record (calculation mode, name list):
    // the stored network comes back, or the backup when the file is gone.
    if (!ReadWritePlaneFile(ws.dataPath, FileDirection::Read, ws.settings, net)) {
      std::memcpy(&net, &ws.backup, sizeof(PlaneNetwork));
    }
    return NetworkEditResult::Cancelled;
  }

  SetSheetText(ws.settings, kNetworkNameSlot, SlotText(net.networkName));
  // Worked out before the record is stored, so that the stored network is
  // refilled from the record (not from the deleted draft) even when its
  // computation fails.
  ws.changeLevel = ChangeLevel(net, ws.backup);
  if (!ReadWritePlaneFile(ws.dataPath, FileDirection::Write, ws.settings, net)) {
    ShowWriteError(platform);
    return NetworkEditResult::NotComputed;
  }
  if (net.pointCount < 1 || net.unknownPointCount < 1) {
    platform.ShowMessage(Gbk("平面网不满足基本条件 !"));
    return NetworkEditResult::NotComputed;
  }

  std::unique_ptr<NormalEquationStore> ownStore;
  if (!ComputePlaneNetwork(ws, ws.Normals(ownStore), platform, derivedHeight)) return NetworkEditResult::Failed;

  // Drawing: fit the sheet (level 256) and rebuild the diagram data (128 and
  // more) before the results are stored with them.
  ws.PrepareDiagram(platform);
  if (!ReadWritePlaneFile(ws.dataPath, FileDirection::Write, ws.settings, net)) {
    ShowWriteError(platform);
    return NetworkEditResult::Failed;
  }
  CheckNearPairs(net, platform);
  return NetworkEditResult::Computed;
}

}  // namespace qp

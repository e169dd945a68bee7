#include "drawing/diagram_preparation.h"

#include "common/format.h"
#include "drawing/plane_diagram.h"
#include "drawing/sheet_fit.h"
#include "height/height_layout.h"
#include "height/height_model_record.h"
#include "plane/plane_model_record.h"

namespace qp {

// Change levels of a recomputed network.
namespace {
constexpr int kRedrawnFromScratch = 256;
constexpr int kObservationsChanged = 128;
}  // namespace

std::string SheetFitMessage(const SheetFitResult& fit) {
  if (!fit.fitted || !fit.scaleRaised) return {};
  const double s = fit.scale;
  return FormatText("控制网图超出最大图纸, 比例尺改为1:%d", s < 2147483647.0 ? static_cast<int>(s) : 2147483647);
}

std::string PreparePlaneDiagram(PlaneWorkspace& ws, int changeLevel) {
  const PlaneModel model = PlaneModelFromRecord(ws.net);
  if (changeLevel >= kRedrawnFromScratch) {
    // New points: the sheet, the ellipse scale and the closure texts start
    // afresh; the names the user placed stay beside their points.
    const SheetFitResult fit = FitSheetToNetwork(ws.settings, ws.net, model, true);
    RebuildPlaneDiagramData(ws.net, model, ws.settings.scale * 0.001);
    KeepNameOffsets(ws.net, model, ws.backup);
    return SheetFitMessage(fit);
  }
  // The same points: the ellipses follow the new results (new weights alone
  // change them), the names the user placed stay where they are, and each
  // traverse found again keeps its closure text's place (the search refills
  // its table on every confirmation); a new traverse gets the default place.
  ComputeEllipseScale(ws.net, model);
  KeepTraverseLabels(ws.net, model, ws.backup, ws.settings.scale * 0.001);
  return {};
}

std::string PrepareHeightDiagram(HeightWorkspace& ws, int changeLevel) {
  if (changeLevel < kObservationsChanged) return {};
  HeightModel model = HeightModelFromRecord(ws.net);
  std::string message;
  if (changeLevel >= kRedrawnFromScratch) message = SheetFitMessage(FitSheetToNetwork(ws.settings, model, true));
  // The lines laid out straight afresh: repeated ones bow apart at the sheet's scale.
  BowRepeatedLines(model, ws.settings.scale * 0.001);
  PutHeightLayout(model, ws.net);
  return message;
}

SheetFitResult MatchSheetToPlaneNetwork(SettingsBlock& settings, const PlaneNetwork& net) {
  return FitSheetToNetwork(settings, net, PlaneModelFromRecord(net), false);
}

SheetFitResult MatchSheetToHeightNetwork(SettingsBlock& settings, const HeightNetwork& net) {
  return FitSheetToNetwork(settings, HeightModelFromRecord(net), false);
}

}  // namespace qp

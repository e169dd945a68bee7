#include "drawing/diagram_preparation.h"

#include "drawing/plane_diagram.h"
#include "drawing/sheet_fit.h"
#include "height/height_layout.h"

namespace qp {

// Change levels of a recomputed network.
namespace {
constexpr int kRedrawnFromScratch = 256;
constexpr int kObservationsChanged = 128;
}  // namespace

void PreparePlaneDiagram(PlaneWorkspace& ws, int changeLevel) {
  if (changeLevel >= kRedrawnFromScratch) {
    // New points: the sheet, the ellipse scale and the closure texts start
    // afresh; the names the user placed stay beside their points.
    FitSheetToNetwork(ws.settings, ws.net, true);
    RebuildPlaneDiagramData(ws.net, ws.settings.scale * 0.001);
    KeepNameOffsets(ws.net, ws.backup);
    return;
  }
  // The same points: the names the user placed stay where they are, and each
  // traverse found again keeps its closure text's place (the search refills
  // its table on every confirmation); a new traverse gets the default place.
  if (changeLevel >= kObservationsChanged) ComputeEllipseScale(ws.net);
  KeepTraverseLabels(ws.net, ws.backup, ws.settings.scale * 0.001);
}

void PrepareHeightDiagram(HeightWorkspace& ws, int changeLevel) {
  if (changeLevel >= kRedrawnFromScratch) FitSheetToNetwork(ws.settings, ws.net, true);
  // The lines laid out straight afresh: repeated ones bow apart at the sheet's scale.
  if (changeLevel >= kObservationsChanged) BowRepeatedLines(ws.net, ws.settings.scale * 0.001);
}

bool MatchSheetToPlaneNetwork(SettingsBlock& settings, const PlaneNetwork& net) {
  return FitSheetToNetwork(settings, net, false);
}

bool MatchSheetToHeightNetwork(SettingsBlock& settings, const HeightNetwork& net) {
  return FitSheetToNetwork(settings, net, false);
}

}  // namespace qp

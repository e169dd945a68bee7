#include "drawing/diagram_preparation.h"

#include "drawing/sheet_fit.h"

namespace qp {

// Change levels of a recomputed network.
namespace {
constexpr int kRedrawnFromScratch = 256;
constexpr int kObservationsChanged = 128;
}  // namespace

void PreparePlaneDiagram(PlaneWorkspace& ws, int changeLevel) {
  if (changeLevel >= kRedrawnFromScratch) FitSheetToNetwork(ws.settings, ws.net, true);
  if (changeLevel >= kObservationsChanged) {
    // The diagram data of the plane network: the ellipse scale and the
    // default label positions go here.
  }
}

void PrepareHeightDiagram(HeightWorkspace& ws, int changeLevel) {
  if (changeLevel >= kRedrawnFromScratch) FitSheetToNetwork(ws.settings, ws.net, true);
}

bool MatchSheetToPlaneNetwork(SettingsBlock& settings, const PlaneNetwork& net) {
  return FitSheetToNetwork(settings, net, false);
}

bool MatchSheetToHeightNetwork(SettingsBlock& settings, const HeightNetwork& net) {
  return FitSheetToNetwork(settings, net, false);
}

}  // namespace qp

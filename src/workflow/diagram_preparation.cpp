#include "workflow/diagram_preparation.h"

#include <algorithm>
#include <iterator>

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
  PlaneModel model = PlaneModelFromRecord(ws.net);
  const PlaneModel before = PlaneModelFromRecord(ws.backup);
  std::string message;
  if (changeLevel >= kRedrawnFromScratch) {
    // New points: the sheet, the ellipse scale and the closure texts start
    // afresh; the names the user placed stay beside their points.
    message = SheetFitMessage(FitSheetToNetwork(ws.settings, model, true));
    RebuildPlaneDiagramData(model, ws.settings.scale * 0.001);  // at the fitted scale
    KeepNameOffsets(model, before);
    // The places beyond the new point list keep no name offset either.
    std::fill(std::begin(ws.net.labelOffsetX), std::end(ws.net.labelOffsetX), 0.0f);
    std::fill(std::begin(ws.net.labelOffsetY), std::end(ws.net.labelOffsetY), 0.0f);
  } else {
    // The same points: the ellipses follow the new results (new weights alone
    // change them), the names the user placed stay where they are, and each
    // traverse found again keeps its closure text's place (the search refills
    // its table on every confirmation); a new traverse gets the default place.
    ComputeEllipseScale(model);
    KeepTraverseLabels(model, before, ws.settings.scale * 0.001);
  }
  PutPlaneLayout(model, ws.net);
  return message;
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

}  // namespace qp

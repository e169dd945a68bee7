// What confirming the plane input dialog does once the input is read: the
// point list and approximate coordinates, the computability check, the
// approximate heights (modes 2-4), the side list and the raw-data report.
#include <string>

#include "common/binary_file.h"
#include "plane/plane_input_reading.h"
#include "plane/plane_model_record.h"
#include "plane/plane_point_list.h"
#include "plane/plane_raw_report.h"
#include "workflow/plane_workflow.h"

namespace qp {
namespace {

// The side of an intersection of two distances: counter-clockwise is Yes,
// the default; clockwise No; not known Cancel.
TurnAnswerer TurnAskedThrough(PlatformServices& platform) {
  return [&platform](const std::string& question) {
    const Answer answer = platform.Ask(question, Buttons::YesNoCancel, Answer::Yes, Icon::Question);
    return answer == Answer::Yes ? Turn::kCounterClockwise : answer == Answer::No ? Turn::kClockwise : Turn::kUnknown;
  };
}

}  // namespace

PlaneConfirmationSteps PlaneConfirmationPipeline(PlaneWorkspace& ws) {
  return [&ws](PlaneNetwork& net, PlatformServices& platform) {
    PlaneModel model = PlaneModelOfEnteredDirections(net);
    if (!Told(platform, PrepareComputableNetwork(model, TurnAskedThrough(platform)))) return false;
    PutPlanePointList(model, net);
    ClearClosureChecks(net);
    model = PlaneModelFromRecord(net);
    const bool heights = !IsSlopeMode(model.calcMode) || Told(platform, ComputeApproximateHeights(model));
    if (IsSlopeMode(model.calcMode)) PutPlaneHeights(model, net);
    if (!heights) {
      // The dialog closes without a raw-data report. A report left from an
      // earlier confirmation would describe another network, and the
      // computation must not append its results to it.
      RemoveFileIfExists(ws.ReportPath());
      return true;
    }
    const bool sides = bool(Told(platform, BuildSideList(model)));
    PutPlaneSides(model, net);
    if (!sides) return false;
    WaitCursor wait(platform);
    const bool written = WritePlaneRawReport(model, platform, ws.ReportPath(), ws.section, platform.CurrentTime());
    PutPlaneDirections(model, net);
    PutPlaneTraverses(model, net);
    return written;
  };
}

}  // namespace qp

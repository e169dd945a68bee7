// The whole plane network cycle behind "P数据编辑" (and the end of "P数据文件"):
// back up the record, run the input dialog, store the confirmed network,
// compute it into the report, store the results.
#pragma once

#include <string>

#include "height/height_network.h"
#include "plane/plane_input_form.h"
#include "plane/plane_network.h"
#include "workflow/network_workspace.h"

namespace qp {

using PlaneWorkspace = NetworkWorkspace<PlaneNetwork>;

// What the plane input dialog needs: its "确定" runs ConfirmPlaneForm (or
// RunPlaneConfirmation) with `steps`; its "取消" runs CancelPlaneForm with
// `draftPath`.
struct PlaneDialogTarget {
  std::string draftPath;
  PlaneConfirmationSteps steps;
};
using PlaneDialogRunner = NetworkDialogRunner<PlaneNetwork, PlaneDialogTarget>;

// The confirmation steps that follow reading the input: point list,
// approximate coordinates, computability, approximate heights, side list and
// the raw-data report.
PlaneConfirmationSteps PlaneConfirmationPipeline(PlaneWorkspace& ws);

// Modes 2-4, after a successful computation, the derived trigonometric height
// network goes into `derivedHeight` and is written beside the data file as
// "…BPT.NAH" (nothing is handed over when it is null).
NetworkEditResult EditPlaneNetwork(PlaneWorkspace& ws, PlatformServices& platform, const PlaneDialogRunner& runDialog,
                                   HeightNetwork* derivedHeight = nullptr);

// How much the confirmed network `net` differs from `backup`, the record
// before the edit: 256 when the points changed (count, names, known and
// unknown counts, a coordinate by more than 10 m), 128 when the observations
// changed, else 0. Sets net's last computed point count when it differs from
// the point count.
int ChangeLevel(PlaneNetwork& net, const PlaneNetwork& backup);

// The warning of a precision end-point pair closer than the near-pair
// distance (not in mode 0, only when the warning is switched on): display
// mode 4 and a tone. True when such a pair was found.
bool CheckNearPairs(PlaneNetwork& net, PlatformServices& platform);

}  // namespace qp

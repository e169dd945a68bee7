// The whole plane network cycle behind "P数据编辑" (and the end of "P数据文件"):
// back up the record, run the input dialog, store the confirmed network,
// compute it into the report, store the results. Toolkit-free: the desktop
// application and the command-line driver differ only in how the input
// dialog is shown (PlaneDialogRunner).
#pragma once

#include <functional>
#include <string>

#include "common/platform_services.h"
#include "common/report_file.h"
#include "common/settings_block.h"
#include "adjustment/normal_equation_store.h"
#include "plane/plane_input_form.h"
#include "plane/plane_model.h"
#include "plane/plane_network.h"

namespace qp {

struct PlaneWorkspace;

// The drawing's part of the cycle, supplied by whoever shows the diagram
// (empty until the drawing exists; the command-line driver leaves them so).
struct PlaneDrawingSteps {
  // After a successful computation, before the results are written: at level
  // 256 fit the map sheet with a newly chosen scale and rebuild the diagram
  // data (ellipse scale, default label positions), below it the ellipse
  // scale again. Gives a message for the user (GBK; empty when none).
  std::function<std::string(PlaneWorkspace&, int changeLevel)> prepareDiagram;
  // After the results are written: refill the display combo, refresh the
  // drawing state and mark the plane network as loaded.
  std::function<void(PlaneWorkspace&)> refreshDisplay;
  // Last of all, after the near-pair check: redraw the view.
  std::function<void(PlaneWorkspace&)> redraw;
};

// What the document holds for the plane network. The settings block, the
// section number and the normal equations are shared with the height network.
struct PlaneWorkspace {
  SettingsBlock& settings;
  SectionNumber& section;
  PlaneNetwork& net;
  PlaneNetwork& backup;
  std::string dataPath;  // file-system path of the .NAP file
  // The document's normal equations; when null, EditPlaneNetwork allocates
  // a store for the one computation.
  NormalEquationStore* normals = nullptr;
  PlaneDrawingSteps drawing;
  // Modes 2-4, after a successful computation: hands the derived height
  // network (BPT.NAH), derived from the computed model, to the height
  // subsystem. Empty until that exists.
  std::function<void(PlaneWorkspace&, const PlaneModel&)> handOverHeightNetwork;
  // How much the last confirmed network differs from the one before it
  // (ChangeLevel: 256, 128 or 0).
  int changeLevel = 0;
  // Significance level of the global test in the statistics report.
  double significance = 0.05;

  std::string ReportPath() const { return ReportPathFor(dataPath); }
  std::string DraftPath() const { return PlaneDraftPath(ReportPath()); }
  // "<data path without its extension>坐标数据.txt"
  std::string CoordinateExportPath() const;
};

// Shows the input dialog on `net` and returns true when it closed confirmed.
// The dialog's "确定" runs ConfirmPlaneForm (or RunPlaneConfirmation) with
// `steps`; its "取消" runs CancelPlaneForm with `draftPath`.
using PlaneDialogRunner =
    std::function<bool(PlaneNetwork& net, const std::string& draftPath, const PlaneConfirmationSteps& steps)>;

enum class PlaneEditResult {
  Cancelled,     // the dialog was cancelled; the record was read back from the file
  NotComputed,   // confirmed, but not computed (a message was shown; also when the
                 // confirmed network could not be stored)
  Failed,        // confirmed and stored; the computation failed ("平面网解算失败 !"),
                 // or its results could not be stored (a message was shown)
  Computed,      // computed; the results are in the record, the report and the file
};

// The confirmation steps that follow reading the input: point list,
// approximate coordinates, computability, approximate heights, side list and
// the raw-data report.
PlaneConfirmationSteps PlaneConfirmationPipeline(PlaneWorkspace& ws);

PlaneEditResult EditPlaneNetwork(PlaneWorkspace& ws, PlatformServices& platform, const PlaneDialogRunner& runDialog);

// How much the confirmed network `net` differs from `backup`, the record
// before the edit: 256 when the points changed (count, names, known and
// unknown counts, a coordinate by more than 10 m), 128 when the observations
// changed, else 0. Sets net's last computed point count when it differs from
// the point count.
int ChangeLevel(PlaneNetwork& net, const PlaneNetwork& backup);

// Computes the confirmed network into its report (opened for appending):
// the adjustment, or the precision estimate in mode 0 and with redundancy 0.
// False after "平面网解算失败 !" (and the message of the cause).
bool ComputePlaneNetwork(PlaneWorkspace& ws, NormalEquationStore& normals, PlatformServices& platform);

// The warning of a precision end-point pair closer than the near-pair
// distance (not in mode 0, only when the warning is switched on): display
// mode 4 and a tone. True when such a pair was found.
bool CheckNearPairs(PlaneNetwork& net, PlatformServices& platform);

}  // namespace qp

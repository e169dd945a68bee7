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
#include "plane/plane_input_form.h"
#include "plane/plane_network.h"

namespace qp {

// What the document holds for the plane network. The settings block and the
// section number are shared with the height network.
struct PlaneWorkspace {
  SettingsBlock& settings;
  SectionNumber& section;
  PlaneNetwork& net;
  PlaneNetwork& backup;
  std::string dataPath;  // file-system path of the .NAP file

  std::string ReportPath() const { return ReportPathFor(dataPath); }
  std::string DraftPath() const { return PlaneDraftPath(ReportPath()); }
};

// Shows the input dialog on `net` and returns true when it closed confirmed.
// The dialog's "确定" runs ConfirmPlaneForm (or RunPlaneConfirmation) with
// `steps`; its "取消" runs CancelPlaneForm with `draftPath`.
using PlaneDialogRunner =
    std::function<bool(PlaneNetwork& net, const std::string& draftPath, const PlaneConfirmationSteps& steps)>;

enum class PlaneEditResult {
  Cancelled,     // the dialog was cancelled; the record was read back from the file
  NotComputed,   // confirmed and stored, but not computed (a message was shown)
  Failed,        // confirmed and stored; the computation failed ("平面网解算失败 !")
  Computed,      // computed; the results are in the record, the report and the file
};

// The confirmation steps that follow reading the input: point list,
// approximate coordinates, computability, approximate heights, side list and
// the raw-data report.
PlaneConfirmationSteps PlaneConfirmationPipeline(PlaneWorkspace& ws);

PlaneEditResult EditPlaneNetwork(PlaneWorkspace& ws, PlatformServices& platform, const PlaneDialogRunner& runDialog);

}  // namespace qp

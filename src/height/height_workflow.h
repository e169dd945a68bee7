// The whole height network cycle behind "H数据编辑" (and the end of
// "H数据文件"): back up the record, run the input dialog, store the confirmed
// network, compute it into the report, lay out what the diagram needs, store
// the results. Toolkit-free: the desktop application and the command-line
// driver differ only in how the input dialog is shown (HeightDialogRunner).
#pragma once

#include <functional>
#include <string>

#include "common/platform_services.h"
#include "common/report_file.h"
#include "common/settings_block.h"
#include "height/height_input_form.h"
#include "height/height_model.h"
#include "height/height_network.h"
#include "adjustment/normal_equation_store.h"

namespace qp {

struct HeightWorkspace;

// The drawing's part of the cycle, supplied by whoever shows the diagram
// (empty until the drawing exists; the command-line driver leaves them so).
struct HeightDrawingSteps {
  // After a successful computation and the default layout, before the
  // results are written: at level 256 fit the map sheet with a newly chosen
  // scale. Gives a message for the user (GBK; empty when none).
  std::function<std::string(HeightWorkspace&, int changeLevel)> prepareDiagram;
  // After the results are written: canvas size, diagram selector, drawing ready.
  std::function<void(HeightWorkspace&)> refreshDisplay;
  // Last of all: redraw the views.
  std::function<void(HeightWorkspace&)> redraw;
};

// What the document holds for the height network. The settings block, the
// section number and the normal equations are shared with the plane network.
struct HeightWorkspace {
  SettingsBlock& settings;
  SectionNumber& section;
  HeightNetwork& net;
  HeightNetwork& backup;
  std::string dataPath;  // file-system path of the .NAH file
  // The document's normal equations; when null, EditHeightNetwork allocates
  // a store for the one computation.
  NormalEquationStore* normals = nullptr;
  HeightDrawingSteps drawing;
  // How much the last computed network differs from the one before it.
  int changeLevel = 0;

  // Significance level of the global test in the statistics report.
  double significance = 0.05;

  std::string ReportPath() const { return ReportPathFor(dataPath); }
  std::string SidePath() const { return HeightSidePath(dataPath); }
  // "<data path without its extension>高程数据.txt"
  std::string HeightExportPath() const;
};

// Shows the input dialog on `net` and returns true when it closed confirmed.
// The dialog's "确定" runs ConfirmHeightDialog (or RunHeightConfirmation)
// with `target`; its "取消" runs CancelHeightForm with target.sidePath.
using HeightDialogRunner = std::function<bool(HeightNetwork& net, const HeightReportTarget& target)>;

enum class HeightEditResult {
  Cancelled,    // the dialog was cancelled; the record was read back from the file
  NotComputed,  // confirmed, but not computed (a message was shown; also when the
                // confirmed network could not be stored)
  Failed,       // confirmed and stored; the computation failed ("高程网解算失败 !"),
                // or its results could not be stored (a message was shown)
  Computed,     // computed; the results are in the record, the report and the file
};

HeightEditResult EditHeightNetwork(HeightWorkspace& ws, PlatformServices& platform,
                                   const HeightDialogRunner& runDialog);

// Computes `model`, the confirmed network, into its report (opened for
// appending): the adjustment, or the precision estimate when estimating or
// without redundancy. False after "高程网解算失败 !" (and the message of the
// cause); the model holds what the computation reached.
bool ComputeHeightNetwork(HeightWorkspace& ws, HeightModel& model, NormalEquationStore& normals,
                          PlatformServices& platform);

}  // namespace qp

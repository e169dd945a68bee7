// What a network's edit-and-compute cycle works on, the same for the plane
// and the height network: the document's records and files, and the few
// hooks by which a front end takes part. Toolkit-free: the desktop
// application and the command-line driver differ only in how the input
// dialog is shown.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "adjustment/computation_dialogue.h"
#include "adjustment/normal_equation_store.h"
#include "common/platform_services.h"
#include "common/report_file.h"
#include "common/settings_block.h"
#include "statistics/adjustment_statistics.h"

namespace qp {

enum class NetworkEditResult {
  Cancelled,    // the dialog was cancelled; the record was read back from the file
  NotComputed,  // confirmed, but not computed (a message was shown; also when the
                // confirmed network could not be stored)
  Failed,       // confirmed and stored; the computation failed ("…网解算失败 !"),
                // or its results could not be stored (a message was shown)
  Computed,     // computed; the results are in the record, the report and the file
};

// Shows the input dialog on `net` and returns true when it closed confirmed.
// `target` is what the dialog's "确定" and "取消" need (the paths beside the
// data file, the confirmation steps).
template <class Network, class Target>
using NetworkDialogRunner = std::function<bool(Network& net, const Target& target)>;

// The settings block, the section number and the normal equations are
// shared by the plane and the height network.
template <class Network>
struct NetworkWorkspace {
  SettingsBlock& settings;
  SectionNumber& section;
  Network& net;
  Network& backup;       // the record as it was before the edit
  std::string dataPath;  // file-system path of the data file
  // The document's normal equations; when null, the cycle allocates a store
  // for the one computation.
  NormalEquationStore* normals = nullptr;
  // The drawing's part of the cycle, after a successful computation and
  // before the results are written: at level 256 fit the map sheet with a
  // newly chosen scale and lay out the diagram data again for the change
  // level. Gives a message for the user (GBK; empty when none). Empty when
  // no diagram data are kept.
  std::function<std::string(NetworkWorkspace&, int changeLevel)> prepareDiagram;
  // How much the last computed network differs from the one before it
  // (256, 128, 64 or 0).
  int changeLevel = 0;
  // Significance level of the global test in the statistics report.
  double significance = 0.05;
  // The verdict of that test once the report is written.
  GlobalTestOutcome globalTest = GlobalTestOutcome::NotMade;

  std::string ReportPath() const { return ReportPathFor(dataPath); }

  // The store the computation fills: the document's, or `own`, allocated here.
  NormalEquationStore& Normals(std::unique_ptr<NormalEquationStore>& own) {
    if (normals) return *normals;
    own = std::make_unique<NormalEquationStore>();
    return *own;
  }

  // Runs prepareDiagram for the change level and shows its message.
  void PrepareDiagram(PlatformServices& platform) {
    if (!prepareDiagram) return;
    const std::string note = prepareDiagram(*this, changeLevel);
    if (!note.empty()) platform.ShowMessage(note);
  }
};

// The adjustments' questions put on the platform: Yes/No, No by default.
inline ComputationDialogue AskingThrough(PlatformServices& platform) {
  return ComputationDialogue([&platform](const std::string& question) {
    return platform.Ask(question, Buttons::YesNo, Answer::No, Icon::Question) == Answer::Yes;
  });
}

// Shows the message that ended a failed adjustment, if any.
inline void ShowFailure(PlatformServices& platform, const ComputationDialogue& dialogue) {
  if (!dialogue.Failure().empty()) platform.ShowMessage(dialogue.Failure());
}

}  // namespace qp

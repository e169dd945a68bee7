// What a run keeps for its network commands: the plane and height records
// with their backup copies, the drawing settings block, the report section
// number and the normal equations the two networks share. The desktop
// document holds one for its whole life, the command line one per command;
// both run the edit cycles through it, so that both set them up alike.
#pragma once

#include <memory>
#include <string>

#include "workflow/height_workflow.h"
#include "workflow/plane_workflow.h"

namespace qp {

struct NetworkSession {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<PlaneNetwork> plane = std::make_unique<PlaneNetwork>();
  std::unique_ptr<PlaneNetwork> planeBackup = std::make_unique<PlaneNetwork>();
  std::unique_ptr<HeightNetwork> height = std::make_unique<HeightNetwork>();
  std::unique_ptr<HeightNetwork> heightBackup = std::make_unique<HeightNetwork>();
  std::unique_ptr<NormalEquationStore> normals = std::make_unique<NormalEquationStore>();
  SectionNumber section;
  // Significance level of the global test in the statistics reports.
  double significance = 0.05;
  // The global test's verdict of the last edit cycle (NotMade when it
  // computed nothing or made no test).
  GlobalTestOutcome globalTest = GlobalTestOutcome::NotMade;

  // "P数据编辑" on the plane record, whose data file is `dataPath`: the
  // diagram data are prepared to be stored with the results, and a
  // computation with slope distances (modes 2-4) replaces the height record
  // by the trigonometric network derived from it, written as "…BPT.NAH".
  NetworkEditResult EditPlane(const std::string& dataPath, PlatformServices& platform,
                              const PlaneDialogRunner& runDialog);
  // "H数据编辑" on the height record, the diagram data prepared alike.
  NetworkEditResult EditHeight(const std::string& dataPath, PlatformServices& platform,
                               const HeightDialogRunner& runDialog);
};

}  // namespace qp

#include "workflow/network_session.h"

#include "workflow/diagram_preparation.h"

namespace qp {

NetworkEditResult NetworkSession::EditPlane(const std::string& dataPath, PlatformServices& platform,
                                            const PlaneDialogRunner& runDialog) {
  PlaneWorkspace ws{*settings, section, *plane, *planeBackup, dataPath, normals.get(), PreparePlaneDiagram};
  ws.significance = significance;
  const NetworkEditResult result = EditPlaneNetwork(ws, platform, runDialog, height.get());
  globalTest = ws.globalTest;
  return result;
}

NetworkEditResult NetworkSession::EditHeight(const std::string& dataPath, PlatformServices& platform,
                                             const HeightDialogRunner& runDialog) {
  HeightWorkspace ws{*settings, section, *height, *heightBackup, dataPath, normals.get(), PrepareHeightDiagram};
  ws.significance = significance;
  const NetworkEditResult result = EditHeightNetwork(ws, platform, runDialog);
  globalTest = ws.globalTest;
  return result;
}

}  // namespace qp

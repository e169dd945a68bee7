#include "workflow/display_settings_file.h"

#include "workflow/drawing_files.h"
#include "drawing/plane_diagram.h"
#include "height/height_model_record.h"
#include "plane/plane_model_record.h"

namespace qp {

bool FinishPlaneDisplayDialog(bool confirmed, const std::string& dataPath, SettingsBlock& settings,
                              PlaneModel& model, PlaneNetwork& net, PlatformServices& platform) {
  if (confirmed) {
    ComputeEllipseScale(model);
    PutPlaneLayout(model, net);
  }
  return FinishSettingsDialog(confirmed, dataPath, settings, &net, nullptr, platform);
}

bool FinishHeightDisplayDialog(bool confirmed, const std::string& dataPath, SettingsBlock& settings,
                               HeightModel& model, HeightNetwork& net, PlatformServices& platform) {
  if (confirmed) PutHeightLayout(model, net);
  return FinishSettingsDialog(confirmed, dataPath, settings, nullptr, &net, platform);
}

}  // namespace qp

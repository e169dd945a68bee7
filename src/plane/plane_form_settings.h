// How the dialog shows its general settings, whether they come from the
// record or from the draft file.
#pragma once

#include <string>

#include "plane/plane_input_form.h"

namespace qp {

struct PlaneSettingValues {
  int calcMode = 0;
  int closureMode = 0;
  std::string networkName;
  double directionError = 0.0;
  double distanceFixedError = 0.0;
  double distanceScaleError = 0.0;
  double refraction = 0.0;
  double yOffset = 0.0;
  double projectionHeight = 0.0;
  int verticalAngleKind = 0;
  int distanceColumnOrder = 0;
};

// Puts the values into the edits in their display formats and selects the
// combo items. A combo index outside its items selects the first item. In
// mode 4 the national-system values replace the Y offset and the projection
// height.
void ShowPlaneSettings(PlaneInputForm& form, const PlaneSettingValues& values);

}  // namespace qp

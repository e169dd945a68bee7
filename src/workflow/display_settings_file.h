// The data file after a display settings dialog: the record takes the
// settings the dialog wrote into the model and is written, or it is read
// back when the dialog was cancelled.
#pragma once

#include <string>

#include "common/platform_services.h"
#include "common/settings_block.h"
#include "height/height_model.h"
#include "height/height_network.h"
#include "plane/plane_model.h"
#include "plane/plane_network.h"

namespace qp {

// Confirmed: the model's diagram style and closure flags are put into `net`
// (plane: and the ellipse scale recomputed for the new radius) and the data
// file is written. Cancelled: the data file is read back into `settings` and
// `net`, which stay as they were when it cannot be. True when the file
// operation succeeded (the view then redraws); whoever keeps a model builds
// it anew from `net` after.
bool FinishPlaneDisplayDialog(bool confirmed, const std::string& dataPath, SettingsBlock& settings,
                              PlaneModel& model, PlaneNetwork& net, PlatformServices& platform);
bool FinishHeightDisplayDialog(bool confirmed, const std::string& dataPath, SettingsBlock& settings,
                               HeightModel& model, HeightNetwork& net, PlatformServices& platform);

}  // namespace qp

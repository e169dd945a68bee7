// Draws an accepted network's sheet through the checking sink into the
// renderer on a counting device: what the screen view does on opening.
#pragma once

#include "common/settings_block.h"
#include "height/height_network.h"
#include "plane/plane_network.h"

namespace qp::fuzz {

// False when the sheet of `settings` cannot be drawn (then nothing may be
// emitted). The figures must be finite.
bool DrawAndCheck(SettingsBlock& settings, const PlaneNetwork* plane, const HeightNetwork* height);

}  // namespace qp::fuzz

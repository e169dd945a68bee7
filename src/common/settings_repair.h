// Values of a settings block read from a data file that cannot be used: a
// file written elsewhere (or damaged) may hold a NaN or an infinity in any
// float or double of the block. Such a field is reset when the file is read,
// and the user is told which, so that nothing non-finite is ever shown,
// drawn or written back.
#pragma once

#include <string>
#include <vector>

#include "common/settings_block.h"

namespace qp {

// Resets every float and double of `block` that is not finite: a field of
// its own (resolution, scale, corner, fonts, frame spacing) to its value in a
// new network's block (ResetSettingsBlock), a field derived from others to
// what it is derived from (the applied scale to the scale, the previous
// corner and the mapping origin to the corner, the north and east edges from
// corner, sheet size and scale, the margins in pixels from the margins in mm
// and the resolution); a derived value that is not finite either gives way to
// the new block's value. Returns the names of the fields reset (UTF-8), in
// block order; nothing else of the block changes.
std::vector<std::string> ResetNonFiniteSettings(SettingsBlock& block);

// The one message (GBK) naming what was reset in a data file just read.
std::string ResetValuesMessage(const std::vector<std::string>& utf8Names);

}  // namespace qp

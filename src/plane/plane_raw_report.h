// The raw-data report of a plane network, the last confirmation step before
// its adjustment: basic information, every input table, the mode-4 direction
// reduction, the slope reductions, the approximate coordinates, triangle and
// traverse closures with the gross-error search.
#pragma once

#include <ctime>
#include <string>

#include "common/platform_services.h"
#include "common/report_file.h"
#include "plane/plane_model.h"

namespace qp {

// Writes the raw-data report to `reportPath` (created or truncated), starting
// the section numbering again. In mode 4 the direction sets are reduced to the
// Gauss plane on the way; the traverses are found again.
// False, after its message, when the network is rank-deficient (negative
// redundancy) or the file cannot be written.
bool WritePlaneRawReport(PlaneModel& model, PlatformServices& platform, const std::string& reportPath,
                         SectionNumber& section, std::time_t now);

}  // namespace qp

// The raw-data report of a confirmed height network.
#pragma once

#include <string>

#include "common/platform_services.h"
#include "common/report_file.h"
#include "height/height_model.h"

namespace qp {

// Creates the report, writes the basic information and the input tables and,
// when adjusting, the levelling lines and closures: the closure table is
// filled anew (emptied when estimating). False, with the table as it was,
// when the report could not be created (after its message).
bool WriteHeightRawReport(HeightModel& model, PlatformServices& platform, const std::string& reportPath,
                          SectionNumber& section);

}  // namespace qp

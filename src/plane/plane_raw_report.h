// The last confirmation steps of a plane network before its adjustment: the
// approximate heights with the plane reduction of the distances, the side
// list with the check of the precision end-points, and the raw-data report
// (basic information, every input table, the mode-4 direction reduction, the
// slope reductions, the approximate coordinates, triangle and traverse
// closures with the gross-error search).
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "common/platform_services.h"
#include "common/report_file.h"
#include "plane/plane_model.h"

namespace qp {

// What a side of the network diagram stands for (the record's SideSymbol).
enum SideKind : uint8_t {
  kSideObserved = 0,          // weighted or measured side, or directions from both ends
  kSideFixed = 1,             // fixed side (or a direction side between two known points)
  kSideFixedAzimuth = 2,      // fixed azimuth
  kSideFixedWithAzimuth = 3,  // fixed side that also carries a fixed azimuth
  kSideFromStation = 4,       // directions observed at its from point only
  kSideKnownFromStation = 5,  // as 4, between two known points
  kSideToStation = 6,         // directions observed at its to point only
  kSideKnownToStation = 7,    // as 6, between two known points
};

// Modes 2-4: heights of all points from the known heights and the height
// differences of the reduced distances; in modes 3 and 4 the reduced lengths
// are then brought to the projection plane and the Gauss plane. Names every
// point whose height cannot be reached and returns false (lengths untouched).
// In modes 0 and 1 nothing is done.
bool ComputeApproximateHeights(PlaneModel& model, PlatformServices& platform);

// The side list (every pair of points joined by an observation, once, with
// its SideKind), then the precision end-point pairs: neither end may be a
// known point and the two may not be joined. False after the message.
bool BuildSideList(PlaneModel& model, PlatformServices& platform);

// Writes the raw-data report to `reportPath` (created or truncated), starting
// the section numbering again. In mode 4 the direction sets are reduced to the
// Gauss plane on the way; the traverses are found again.
// False, after its message, when the network is rank-deficient (negative
// redundancy) or the file cannot be written.
bool WritePlaneRawReport(PlaneModel& model, PlatformServices& platform, const std::string& reportPath,
                         SectionNumber& section, std::time_t now);

}  // namespace qp

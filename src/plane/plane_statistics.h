// Statistical testing of an adjusted plane network: every direction,
// distance and weighted azimuth or side with its equation row at the final
// coordinates, tested against the cofactors the adjustment left in the store.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "adjustment/normal_equation_store.h"
#include "plane/plane_model.h"
#include "statistics/adjustment_statistics.h"

namespace qp {

// The observations in the order of the report's sections: directions, distances,
// fixed azimuths and sides (untestable: they are conditions), weighted azimuths and sides.
std::vector<ObservationEntry> CollectPlaneObservations(const PlaneModel& model);

// The cofactors of the coordinate unknowns in a store that holds the inverse.
CofactorView PlaneCofactors(const PlaneModel& model, const NormalEquationStore& normals);

// Writes the statistics report of a computed network to `path`: the tests
// after an adjustment with redundancy, else a report saying why there are
// none. False when the report cannot be written. `outcome`, when given,
// receives the global test's verdict (left as it is without tests).
bool WritePlaneStatisticsReport(const PlaneModel& model, const NormalEquationStore& normals, bool adjusted,
                                const std::string& path, std::time_t now, const StatisticsOptions& options,
                                GlobalTestOutcome* outcome = nullptr);

}  // namespace qp

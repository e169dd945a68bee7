// Statistical testing of an adjusted height network: every height difference
// tested against the cofactors the adjustment left in the store.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "height/height_model.h"
#include "adjustment/normal_equation_store.h"
#include "statistics/adjustment_statistics.h"

namespace qp {

std::vector<ObservationEntry> CollectHeightObservations(const HeightModel& model);

// The cofactors of the height unknowns; for a free network the datum term of
// the normal matrix comes off again (the minimum-norm cofactors).
CofactorView HeightCofactors(const HeightModel& model, const NormalEquationStore& normals);

// The redundancy the tests use: one more in a free network, whose datum is
// chosen rather than observed.
int HeightTestRedundancy(const HeightModel& model);

// As WritePlaneStatisticsReport, for a height network.
bool WriteHeightStatisticsReport(const HeightModel& model, const NormalEquationStore& normals, bool adjusted,
                                 const std::string& path, std::time_t now, const StatisticsOptions& options,
                                 GlobalTestOutcome* outcome = nullptr);

}  // namespace qp

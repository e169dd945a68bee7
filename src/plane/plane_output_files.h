// The files a plane network's computation writes beside its data file, for
// the check that no run writes over one of its inputs.
#pragma once

#include <string>
#include <vector>

#include "common/file_clash.h"

namespace qp {

// The report, the statistics report, the coordinate export, the input draft
// and the derived trigonometric height network of the data file `dataPath`.
std::vector<FileUse> PlaneComputationOutputs(const std::string& dataPath);

}  // namespace qp

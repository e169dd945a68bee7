// The files a height network's computation writes beside its data file, for
// the check that no run writes over one of its inputs.
#pragma once

#include <string>
#include <vector>

#include "common/file_clash.h"

namespace qp {

// The report, the statistics report, the height export and the input side
// file of the data file `dataPath`.
std::vector<FileUse> HeightComputationOutputs(const std::string& dataPath);

}  // namespace qp

// Reports compared byte for byte with their golden files. With
// QUORVEX_UPDATE_GOLDEN=1 in the environment the golden file is rewritten
// instead (review every changed line before committing it).
#pragma once

#include <string>

namespace qp::testing {

// A failure names the first line where `actual` leaves the golden file, in
// UTF-8; a missing or empty golden file is a failure too.
void ExpectSameAsGolden(const std::string& actual, const std::string& goldenPath);

}  // namespace qp::testing

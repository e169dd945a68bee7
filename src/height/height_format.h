// Number texts of the height dialog.
#pragma once

#include <string>

namespace qp {

// `value` with `decimals` decimals, or with as many more (up to 12) as it
// takes to read back as the same number, so that refilling the dialog from
// the record never rounds what the user typed.
std::string LosslessDecimal(double value, int decimals);

}  // namespace qp

#include "support/golden_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "common/gbk_text.h"
#include "support/test_files.h"

namespace qp::testing {

void ExpectSameAsGolden(const std::string& actual, const std::string& goldenPath) {
  if (const char* update = std::getenv("QUORVEX_UPDATE_GOLDEN"); update && std::string(update) == "1") {
    WriteBytes(goldenPath, actual);
    return;
  }
  const std::string expected = ReadBytes(goldenPath);
  ASSERT_FALSE(expected.empty()) << "missing golden file " << goldenPath;
  if (actual == expected) return;
  std::istringstream a(actual);
  std::istringstream e(expected);
  std::string la;
  std::string le;
  for (int line = 1;; ++line) {
    const bool moreA = static_cast<bool>(std::getline(a, la));
    const bool moreE = static_cast<bool>(std::getline(e, le));
    if (!moreA && !moreE) break;
    if (la != le || moreA != moreE) {
      ADD_FAILURE() << goldenPath << " differs at line " << line << "\n  expected: " << GbkToUtf8(le)
                    << "\n  actual:   " << GbkToUtf8(la);
      return;
    }
  }
  ADD_FAILURE() << goldenPath << " differs";
}

}  // namespace qp::testing

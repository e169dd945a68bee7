// Every example network under examples/plane/ run through `quorvex plane`:
// the report NET.txt must equal its golden file byte for byte. With
// QUORVEX_UPDATE_GOLDEN=1 in the environment the golden files are rewritten
// instead (review every changed line before committing them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;
using testing::WriteBytes;

bool UpdatingGoldens() {
  const char* update = std::getenv("QUORVEX_UPDATE_GOLDEN");
  return update && std::string(update) == "1";
}

// Names the first line where the report leaves its golden file, in UTF-8.
void ExpectSameReport(const std::string& actual, const std::string& goldenPath) {
  if (UpdatingGoldens()) {
    WriteBytes(goldenPath, actual);
    return;
  }
  const std::string expected = ReadBytes(goldenPath);
  ASSERT_FALSE(expected.empty()) << "missing golden file " << goldenPath;
  if (actual == expected) return;
  std::istringstream a(actual), e(expected);
  std::string la, le;
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

struct Example {
  const char* name;
  int beeps;      // gross errors found
  int questions;  // orientation questions of distance intersections
};

class PlaneExample : public ::testing::TestWithParam<Example> {};

TEST_P(PlaneExample, ReportMatchesGolden) {
  const Example& example = GetParam();
  TempDir dir;
  ScriptedPlatform platform;
  platform.now = 1767225600;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAP");
  options.inputPath = SourcePath(std::string("examples/plane/") + example.name + ".txt");
  ASSERT_EQ(RunPlaneCommand(options, platform), 0) << platform.LastMessageUtf8();
  EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();
  EXPECT_EQ(platform.beeps, example.beeps);
  EXPECT_EQ(static_cast<int>(platform.questions.size()), example.questions);
  ExpectSameReport(ReadBytes(dir.File("NET.txt")), SourcePath(std::string("tests/plane/golden/") + example.name + ".txt"));
}

INSTANTIATE_TEST_SUITE_P(Examples, PlaneExample,
                         ::testing::Values(Example{"triangulation", 0, 0}, Example{"polar_traverse", 0, 0},
                                           Example{"intersection_resection", 0, 0}, Example{"trilateration", 0, 3},
                                           Example{"slope_mode2", 0, 0}, Example{"projected_mode3", 0, 0},
                                           Example{"national_mode4", 0, 0}, Example{"gross_errors", 2, 0}),
                         [](const ::testing::TestParamInfo<Example>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace qp

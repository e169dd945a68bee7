// Every example network under examples/plane/ run through `quorvex plane`:
// the report NET.txt must equal its golden file byte for byte. With
// QUORVEX_UPDATE_GOLDEN=1 in the environment the golden files are rewritten
// instead (review every changed line before committing them).
#include <gtest/gtest.h>

#include <string>

#include "cli/plane_command.h"
#include "support/golden_file.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ExpectSameAsGolden;
using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

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
  ExpectSameAsGolden(ReadBytes(dir.File("NET.txt")),
                     SourcePath(std::string("tests/plane/golden/") + example.name + ".txt"));
}

INSTANTIATE_TEST_SUITE_P(Examples, PlaneExample,
                         ::testing::Values(Example{"triangulation", 0, 0}, Example{"polar_traverse", 0, 0},
                                           Example{"intersection_resection", 0, 0}, Example{"trilateration", 0, 3},
                                           Example{"slope_mode2", 0, 0}, Example{"projected_mode3", 0, 0},
                                           Example{"national_mode4", 0, 0}, Example{"gross_errors", 2, 0}),
                         [](const ::testing::TestParamInfo<Example>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace qp

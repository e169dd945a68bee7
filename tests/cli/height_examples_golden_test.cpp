// Every example network under examples/height/ run through `quorvex height`:
// the report NET.txt must equal its golden file under tests/height/golden/
// byte for byte. With QUORVEX_UPDATE_GOLDEN=1 in the environment the golden
// files are rewritten instead (review every changed line before committing).
#include <gtest/gtest.h>

#include <string>

#include "cli/height_command.h"
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

class HeightExample : public ::testing::TestWithParam<const char*> {};

TEST_P(HeightExample, ReportMatchesGolden) {
  const std::string name = GetParam();
  TempDir dir;
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAH");
  options.inputPath = SourcePath("examples/height/" + name + ".txt");
  ASSERT_EQ(RunHeightCommand(options, platform), 0) << platform.LastMessageUtf8();
  EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();
  EXPECT_TRUE(platform.questions.empty());
  const std::string report = ReadBytes(dir.File("NET.txt"));
  ExpectSameAsGolden(report, SourcePath("tests/height/golden/" + name + ".txt"));

  // Computing the stored network again gives the same report.
  options.inputPath.reset();
  ASSERT_EQ(RunHeightCommand(options, platform), 0) << platform.LastMessageUtf8();
  // (The free network refills its adjusted heights as approximate ones.)
  if (name != "free") {
    EXPECT_EQ(ReadBytes(dir.File("NET.txt")), report);
  }
}

INSTANTIATE_TEST_SUITE_P(Examples, HeightExample,
                         ::testing::Values("levelling", "trigonometric", "free", "estimate", "closures"));

}  // namespace
}  // namespace qp

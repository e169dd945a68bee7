// Every example network under examples/height/ run through `quorvex height`:
// the report NET.txt must equal its golden file under tests/height/golden/
// byte for byte. With QUORVEX_UPDATE_GOLDEN=1 in the environment the golden
// files are rewritten instead (review every changed line before committing).
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

#include "cli/height_command.h"
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

// Names the first line where the report leaves its golden file, in UTF-8.
void ExpectSameReport(const std::string& actual, const std::string& goldenPath) {
  const char* update = std::getenv("QUORVEX_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
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
  ExpectSameReport(report, SourcePath("tests/height/golden/" + name + ".txt"));

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

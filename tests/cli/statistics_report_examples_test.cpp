// Every example adjusted by the command line leaves its statistics report
// beside the network's; the example with a planted blunder pins the report's
// layout byte for byte (QUORVEX_UPDATE_GOLDEN=1 rewrites it).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "full_capacity_networks.h"
#include "support/golden_file.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

// Runs an example; the statistics report in UTF-8 ("" when there is none).
std::string StatisticsOf(const std::string& example, bool height, std::string* gbk = nullptr) {
  TempDir dir;
  ScriptedPlatform platform;
  platform.now = 1767225600;
  CommandOptions options;
  options.dataPath = dir.File(height ? "NET.NAH" : "NET.NAP");
  options.inputPath = SourcePath("examples/" + example + ".txt");
  const int status = height ? RunHeightCommand(options, platform) : RunPlaneCommand(options, platform);
  EXPECT_EQ(status, 0) << example << ": " << platform.LastMessageUtf8();
  const std::string bytes = ReadBytes(dir.File("NET统计检验.txt"));
  if (gbk) *gbk = bytes;
  return GbkToUtf8(bytes);
}

TEST(StatisticsReport, EveryComputedExampleHasOne) {
  for (const char* example : {"plane/triangulation", "plane/polar_traverse", "plane/intersection_resection",
                              "plane/trilateration", "plane/slope_mode2", "plane/projected_mode3",
                              "plane/national_mode4", "plane/gross_errors", "plane/fixed_weighted",
                              "plane/design_estimate", "height/levelling", "height/trigonometric", "height/free",
                              "height/closures", "height/estimate"}) {
    SCOPED_TRACE(example);
    const std::string name(example);
    const std::string text = StatisticsOf(name, name.rfind("height/", 0) == 0);
    ASSERT_NE(text.find("统计检验"), std::string::npos);
    const bool estimate = name.find("estimate") != std::string::npos;
    EXPECT_EQ(text.find("1.整体检验") != std::string::npos, !estimate);
    EXPECT_EQ(text.find("1.不能作统计检验") != std::string::npos, estimate);
  }
}

// The largest networks the files hold are well conditioned: the rank test
// of the solver lets them through and their redundancy numbers sum to r, so
// the global test is made.
TEST(StatisticsReport, FullCapacityNetworksAreTested) {
  const bench::GridNetwork plane;
  const bench::LevellingGrid levelling;
  struct Case {
    const char* name;
    std::string input;
  };
  const Case cases[] = {
      {"NET.NAP", "[设置]\n解算方式 = 1\n控制网名 = GRID\n[已知点]\n" + plane.boxes[kKnownPointsBox] + "[概略坐标点]\n" +
                      plane.boxes[kApproxPointsBox] + "[方向观测值]\n" + plane.boxes[kDirectionsBox] +
                      "[边长观测值]\n" + plane.boxes[kDistanceLinesBox] + "[精度端点]\n" +
                      plane.boxes[kPrecisionPairsBox]},
      {"NET.NAH", "[设置]\n解算方式 = 1\n控制网名 = GRID\n网形类别 = 0\n验前误差 = 1.0\n[已知高程点]\n" + levelling.known +
                      "[高差观测值]\n" + levelling.differences + "[精度端点]\n" + levelling.pairs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ScriptedPlatform platform;
    CommandOptions options;
    options.dataPath = dir.File(c.name);
    options.inputPath = dir.File("input.txt");
    testing::WriteBytes(*options.inputPath, c.input);
    const bool height = std::string(c.name).ends_with(".NAH");
    ASSERT_EQ(height ? RunHeightCommand(options, platform) : RunPlaneCommand(options, platform), 0)
        << platform.LastMessageUtf8();
    const std::string text = GbkToUtf8(ReadBytes(dir.File("NET统计检验.txt")));
    EXPECT_NE(text.find(height ? "多余观测分量之和=  518.000" : "多余观测分量之和= 1486.000"), std::string::npos) << text;
    EXPECT_NE(text.find("χ2上限"), std::string::npos);
  }
}

TEST(StatisticsReport, PlantedBlunderIsNamedFirst) {
  std::string gbk;
  const std::string text = StatisticsOf("plane/planted_blunder", false, &gbk);
  EXPECT_NE(text.find("应首先检查: 方向(GP02 - N2)"), std::string::npos) << text;
  testing::ExpectSameAsGolden(gbk, SourcePath("tests/plane/golden/planted_blunder_statistics.txt"));
}

TEST(StatisticsReport, AFailedComputationTakesTheOldOneAway) {
  TempDir dir;
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAP");
  options.inputPath = SourcePath("examples/plane/triangulation.txt");
  ASSERT_EQ(RunPlaneCommand(options, platform), 0);
  ASSERT_TRUE(std::filesystem::exists(dir.File("NET统计检验.txt")));
  options.inputPath = SourcePath("examples/plane/not_converging.txt");
  EXPECT_EQ(RunPlaneCommand(options, platform), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("NET统计检验.txt")));
}

}  // namespace
}  // namespace qp

// The computation's side of the example networks, run through `quorvex
// plane`: a precision estimate, fixed and weighted observations, a network
// that does not converge and a rank-deficient one. The report NET.txt must
// equal its golden file byte for byte (QUORVEX_UPDATE_GOLDEN=1 rewrites the
// golden files instead; review every changed line before committing them),
// and the messages, the exit status and the stored record must say the same.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "cli/plane_command.h"
#include "common/gbk_text.h"
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

constexpr size_t kSettings = 4544;

struct Example {
  const char* name;
  std::vector<std::string> messages;  // UTF-8, in order
  bool exported;                      // the coordinate export was written
  double sigma0;                      // stored in the .NAP (0: not computed)
};

class PlaneResultExample : public ::testing::TestWithParam<Example> {};

TEST_P(PlaneResultExample, ReportMatchesGolden) {
  const Example& example = GetParam();
  TempDir dir;
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAP");
  options.inputPath = SourcePath(std::string("examples/plane/") + example.name + ".txt");
  EXPECT_EQ(RunPlaneCommand(options, platform), example.messages.empty() ? 0 : 1);
  EXPECT_EQ(platform.MessagesUtf8(), example.messages);
  EXPECT_TRUE(platform.questions.empty());
  EXPECT_EQ(std::ifstream(dir.File("NET坐标数据.txt")).good(), example.exported);
  const std::string nap = ReadBytes(dir.File("NET.NAP"));
  ASSERT_EQ(nap.size(), 803264u);
  double sigma0 = 0.0;
  std::memcpy(&sigma0, nap.data() + kSettings + 40, sizeof sigma0);
  EXPECT_NEAR(sigma0, example.sigma0, 5e-4);
  ExpectSameAsGolden(ReadBytes(dir.File("NET.txt")),
                     SourcePath(std::string("tests/plane/golden/") + example.name + ".txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Examples, PlaneResultExample,
    ::testing::Values(Example{"design_estimate", {}, false, 1.8}, Example{"fixed_weighted", {}, true, 1.466},
                      Example{"not_converging", {"法方程解算不收敛 !!!", "平面网解算失败 !"}, false, 0.0},
                      Example{"rank_deficient", {"法方程系数不满秩或超过解题容量 !!!", "平面网解算失败 !"}, false, 0.0},
                      Example{"datum_deficient", {"法方程系数不满秩或超过解题容量 !!!", "平面网解算失败 !"}, false, 0.0}),
    [](const ::testing::TestParamInfo<Example>& param) { return std::string(param.param.name); });

// Without --input the stored network is confirmed as the dialog shows it and
// computed again.
TEST(PlaneCommand, RecomputesTheStoredNetworkWithoutInput) {
  TempDir dir;
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAP");
  options.inputPath = SourcePath("examples/plane/fixed_weighted.txt");
  ASSERT_EQ(RunPlaneCommand(options, platform), 0);
  std::remove(dir.File("NET坐标数据.txt").c_str());
  options.inputPath.reset();
  ASSERT_EQ(RunPlaneCommand(options, platform), 0) << platform.LastMessageUtf8();
  EXPECT_TRUE(platform.messages.empty());
  const std::string report = GbkToUtf8(ReadBytes(dir.File("NET.txt")));
  EXPECT_NE(report.find("18.精度评定<单位权中误差=1.466  >"), std::string::npos) << report;
  EXPECT_TRUE(std::ifstream(dir.File("NET坐标数据.txt")).good());
}

}  // namespace
}  // namespace qp

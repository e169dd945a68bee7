// quorvex height: the data file is created, kept or refused; rejected input
// changes nothing; the dump is itself an input; the exit status.
#include "cli/height_command.h"
#include "cli/plane_command.h"

#include <gtest/gtest.h>

#include <vector>

#include <utility>

#include <cmath>

#include <cstring>

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "quorvex_program.h"
#include "support/command_input.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::OptionsWithInput;
using testing::ReadBytes;
using testing::RunQuorvexProgram;
using testing::ScriptedPlatform;
using testing::TempDir;
using testing::WriteBytes;

constexpr size_t kSettings = 4544;

const char* const kSmallNetwork =
    "[设置]\n解算方式 = 平差计算\n控制网名 = 测试水准网\n网形类别 = 0\n验前误差 = 1\n"
    "[已知高程点]\nA,100.000\nB,103.000\n"
    "[高差观测值]\nA,P1,1.002,1.2\nP1,P2,0.997,1.0\nP2,B,1.004,0.8\nA,P3,1.499,1.5\nP3,B,1.502,1.3\n"
    "P3,P2,0.501,0.7\n";

struct HeightCommandTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  std::string nah = dir.File("NET.NAH");

  int Run(const std::string& inputText, bool dump = false) {
    const CommandOptions options = OptionsWithInput(dir, nah, inputText, dump);
    platform.messages.clear();
    return RunHeightCommand(options, platform);
  }
  int32_t IntAt(const std::string& bytes, size_t recordOffset) {
    int32_t v;
    std::memcpy(&v, bytes.data() + kSettings + recordOffset, 4);
    return v;
  }
};

TEST_F(HeightCommandTest, NewFileHoldsTheComputedNetwork) {
  ASSERT_EQ(Run(kSmallNetwork), 0) << platform.LastMessageUtf8();
  const std::string bytes = ReadBytes(nah);
  ASSERT_EQ(bytes.size(), 596416u);
  EXPECT_EQ(IntAt(bytes, 380), 5);     // points
  EXPECT_EQ(IntAt(bytes, 174488), 6);  // height differences
  // The diagram title follows the network name.
  EXPECT_EQ(std::string(bytes.data() + 1070 + 11 * 65), Gbk("测试水准网"));
  EXPECT_NE(ReadBytes(dir.File("NET高程数据.txt")).find("P1,     101.001230\r\n"), std::string::npos);
}

TEST_F(HeightCommandTest, RejectedInputLeavesTheFileByteIdentical) {
  ASSERT_EQ(Run(kSmallNetwork), 0);
  const std::string before = ReadBytes(nah);
  EXPECT_EQ(Run("[高差观测值]\nA,B,1,1\nB,C,x,1\n"), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "高差观测值第[2]行高差不正确!");
  EXPECT_EQ(ReadBytes(nah), before);
  EXPECT_EQ(Run("[设置]\n网形类别 = 5\n"), 1);
  EXPECT_EQ(ReadBytes(nah), before);
  // A rejected network entered by hand leaves no side file behind either.
  EXPECT_FALSE(FileExists(dir.File("NET.HTP")));
}

TEST_F(HeightCommandTest, FileOfWrongLengthIsNeverOverwritten) {
  ASSERT_EQ(Run(kSmallNetwork), 0);
  for (const std::string& bad : {ReadBytes(nah).substr(1), ReadBytes(nah) + std::string(1, '\0'), std::string("x")}) {
    WriteBytes(nah, bad);
    EXPECT_EQ(Run(kSmallNetwork), 1);
    EXPECT_EQ(platform.LastMessageUtf8(), "高程网数据文件错误 !");
    EXPECT_EQ(ReadBytes(nah), bad);
  }
}

// A file of the right length holding a NaN or an infinity anywhere is damaged
// data: refused like a wrong-length file, for a dump as for a computation, and
// never rewritten.
TEST_F(HeightCommandTest, NonFiniteStoredValuesAreRefused) {
  ASSERT_EQ(Run(kSmallNetwork), 0);
  const std::string good = ReadBytes(nah);
  const double nan = std::nan(""), inf = HUGE_VAL;
  const float floatInf = HUGE_VALF;
  std::vector<std::string> damaged;
  for (const auto& [offset, value] : std::vector<std::pair<size_t, double>>{{360, nan}, {45456 + 8 * 3, -inf}, {279968 + 8 * 17, inf}}) {
    damaged.push_back(good);
    std::memcpy(damaged.back().data() + kSettings + offset, &value, 8);
  }
  damaged.push_back(good);
  std::memcpy(damaged.back().data() + kSettings + 486960 + 44, &floatInf, 4);
  for (const std::string& bad : damaged) {
    WriteBytes(nah, bad);
    for (const bool dump : {true, false}) {
      ::testing::internal::CaptureStdout();
      EXPECT_EQ(Run(dump ? "" : kSmallNetwork, dump), 1);
      EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
      EXPECT_EQ(platform.LastMessageUtf8(), "高程网数据文件错误 !");
      EXPECT_EQ(ReadBytes(nah), bad);
    }
  }
}

TEST_F(HeightCommandTest, DumpReproducesTheStoredNetwork) {
  ASSERT_EQ(Run(kSmallNetwork), 0);
  ::testing::internal::CaptureStdout();
  ASSERT_EQ(Run("", true), 0);
  const std::string dumped = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(dumped.find("解算方式 = 1\n控制网名 = 测试水准网\n网形类别 = 0\n验前误差 = 1.00\n"), std::string::npos);
  EXPECT_NE(dumped.find("[已知高程点]\nA,100.0000\nB,103.0000\n"), std::string::npos);
  EXPECT_NE(dumped.find("[高差观测值]\nA,P1,1.0020,1.20\n"), std::string::npos);
  // The dump is itself an input: confirming it stores the same network.
  const std::string first = ReadBytes(nah);
  ASSERT_EQ(Run(dumped), 0) << platform.LastMessageUtf8();
  EXPECT_EQ(ReadBytes(nah), first);
  // With --input, --dump prints the file's settings and tables and computes nothing.
  ::testing::internal::CaptureStdout();
  ASSERT_EQ(Run("[设置]\n网形类别 = 三角高程网\n[平面坐标点]\nA,1,2\n", true), 0);
  const std::string withInput = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(withInput.find("网形类别 = 1\n"), std::string::npos);
  EXPECT_NE(withInput.find("[平面坐标点]\nA,1,2\n"), std::string::npos);
  EXPECT_NE(withInput.find("[高差观测值]\n\n"), std::string::npos);
  EXPECT_EQ(ReadBytes(nah), first);
}

TEST_F(HeightCommandTest, NetworkDerivedFromAPlaneComputationIsAdjusted) {
  // A plane network with slope distances computed in mode 2 ...
  CommandOptions plane;
  plane.dataPath = dir.File("SLOPE.NAP");
  plane.inputPath = testing::SourcePath("examples/plane/slope_mode2.txt");
  ASSERT_EQ(RunPlaneCommand(plane, platform), 0) << platform.LastMessageUtf8();
  // ... hands over its height differences beside its data file, and the
  // height command adjusts them.
  nah = dir.File("SLOPEBPT.NAH");
  auto settings = std::make_unique<SettingsBlock>();
  auto derived = std::make_unique<HeightNetwork>();
  ASSERT_TRUE(ReadHeightFile(nah, *settings, *derived));
  ASSERT_GT(derived->observationCount, 2);
  ASSERT_EQ(Run(""), 0) << platform.LastMessageUtf8();
  const std::string report = GbkToUtf8(ReadBytes(dir.File("SLOPEBPT.txt")));
  EXPECT_NE(report.find("网形类别:三角高程网"), std::string::npos);
  EXPECT_NE(report.find("高程平差值"), std::string::npos);
}

TEST(QuorvexHeightBinary, ExitStatusFollowsTheContract) {
  TempDir dir;
  EXPECT_EQ(RunQuorvexProgram("height"), 2);
  WriteBytes(dir.File("bad.NAH"), "short");
  EXPECT_EQ(RunQuorvexProgram("height " + dir.File("bad.NAH")), 1);
  EXPECT_EQ(ReadBytes(dir.File("bad.NAH")), "short");
  // A new network is created (with the .NAH extension) even though its empty
  // tables cannot be computed.
  EXPECT_EQ(RunQuorvexProgram("height " + dir.File("net")), 1);
  EXPECT_EQ(ReadBytes(dir.File("net.NAH")).size(), 596416u);
  WriteBytes(dir.File("in.txt"), kSmallNetwork);
  EXPECT_EQ(RunQuorvexProgram("height " + dir.File("net") + " --input " + dir.File("in.txt")), 0);
}

}  // namespace
}  // namespace qp

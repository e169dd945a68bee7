#include "cli/plane_command.h"

#include <gtest/gtest.h>

#include <vector>

#include <utility>

#include <cmath>

#include <cstring>
#include <cstdlib>
#include <string>

#include "common/gbk_text.h"
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
    "[设置]\n解算方式 = 1\n控制网名 = 测试网\n"
    "[已知点]\nA,1000.0000,2000.0000\nB,1000.0000,3000.0000\n"
    "[方向观测值]\nA,B,0.0000\nA,C,60.0000\nB,C,0.0000\nB,A,60.0000\nC,A,0.0000\nC,B,60.0000\n"
    "[边长观测值]\nA,C,1000.0000\nB,C,1000.0000\n";

struct PlaneCommandTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  std::string nap = dir.File("NET.NAP");

  int Run(const std::string& inputText, bool dump = false) {
    const CommandOptions options = OptionsWithInput(dir, nap, inputText, dump);
    return RunPlaneCommand(options, platform);
  }
  int32_t IntAt(const std::string& bytes, size_t recordOffset) {
    int32_t v;
    std::memcpy(&v, bytes.data() + kSettings + recordOffset, 4);
    return v;
  }
};

TEST_F(PlaneCommandTest, NewFileHoldsTheConfirmedNetwork) {
  ASSERT_EQ(Run(kSmallNetwork), 0) << platform.LastMessageUtf8();
  const std::string bytes = ReadBytes(nap);
  ASSERT_EQ(bytes.size(), 803264u);
  EXPECT_EQ(IntAt(bytes, 0), 1);         // calculation mode
  EXPECT_EQ(IntAt(bytes, 11668), 2);     // known points
  EXPECT_EQ(IntAt(bytes, 47536), 6);     // directions
  EXPECT_EQ(IntAt(bytes, 256752), 2);    // distance lines
  EXPECT_EQ(std::string(bytes.data() + kSettings + 48), Gbk("测试网"));
  // The sheet's network-name slot follows the record.
  EXPECT_EQ(std::string(bytes.data() + 1070 + 11 * 65), Gbk("测试网"));
}

TEST_F(PlaneCommandTest, RejectedInputLeavesTheFileByteIdentical) {
  ASSERT_EQ(Run(kSmallNetwork), 0);
  const std::string before = ReadBytes(nap);
  EXPECT_EQ(Run("[已知点]\nA,1000.0,2000.0\nB,abc,3000.0\n"), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "已知点坐标第[1]行X坐标不正确!");
  EXPECT_EQ(ReadBytes(nap), before);
  EXPECT_EQ(Run("[设置]\n不存在 = 1\n"), 1);
  EXPECT_EQ(ReadBytes(nap), before);
}

TEST_F(PlaneCommandTest, FileOfWrongLengthIsNeverOverwritten) {
  ASSERT_EQ(Run(kSmallNetwork), 0);
  for (const std::string& bad : {ReadBytes(nap).substr(1), ReadBytes(nap) + std::string(1, '\0'), std::string("garbage")}) {
    WriteBytes(nap, bad);
    EXPECT_EQ(Run(kSmallNetwork), 1);
    EXPECT_EQ(platform.LastMessageUtf8(), "平面网数据文件错误 !");
    EXPECT_EQ(ReadBytes(nap), bad);
  }
}

// A file of the right length holding a NaN or an infinity anywhere is damaged
// data: refused like a wrong-length file, for a dump as for a computation, and
// never rewritten.
TEST_F(PlaneCommandTest, NonFiniteStoredValuesAreRefused) {
  ASSERT_EQ(Run(kSmallNetwork), 0);
  const std::string good = ReadBytes(nap);
  const double nan = std::nan(""), inf = HUGE_VAL;
  const float floatInf = HUGE_VALF;
  std::vector<std::string> damaged;
  for (const auto& [offset, value] : std::vector<std::pair<size_t, double>>{{376, nan}, {11696 + 8 * 5, -inf}, {662496, inf}}) {
    damaged.push_back(good);
    std::memcpy(damaged.back().data() + kSettings + offset, &value, 8);
  }
  damaged.push_back(good);
  std::memcpy(damaged.back().data() + kSettings + 573652 + 4 * 3, &floatInf, 4);
  for (const std::string& bad : damaged) {
    WriteBytes(nap, bad);
    for (const bool dump : {true, false}) {
      ::testing::internal::CaptureStdout();
      EXPECT_EQ(Run(dump ? "" : kSmallNetwork, dump), 1);
      EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
      EXPECT_EQ(platform.LastMessageUtf8(), "平面网数据文件错误 !");
      EXPECT_EQ(ReadBytes(nap), bad);
    }
  }
}

TEST_F(PlaneCommandTest, NamesAreMeasuredInGbkBytes) {
  // Five Chinese characters are ten GBK bytes and pass; six do not.
  EXPECT_EQ(Run("[已知点]\n五个汉字名,1,2\n六个汉字的名,3,4\n"), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "已知点坐标第[1]行起点点名[1--10个字符]不正确!");
}

TEST_F(PlaneCommandTest, DumpReproducesTheStoredTables) {
  ASSERT_EQ(Run(kSmallNetwork), 0);
  ::testing::internal::CaptureStdout();
  CommandOptions options;
  options.dataPath = nap;
  options.dump = true;
  ASSERT_EQ(RunPlaneCommand(options, platform), 0);
  const std::string dumped = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(dumped.find("控制网名 = 测试网\n"), std::string::npos);
  EXPECT_NE(dumped.find("[已知点]\nA,1000.0000,2000.0000\nB,1000.0000,3000.0000\n"), std::string::npos);
  EXPECT_NE(dumped.find("[方向观测值]\nA,B,0.000000\nA,C,60.000000\n"), std::string::npos);
  EXPECT_NE(dumped.find("[边长观测值]\nA,C,1000.0000\nB,C,1000.0000\n"), std::string::npos);
  // The dump is itself a valid input: confirming it stores the same network.
  const std::string first = ReadBytes(nap);
  ASSERT_EQ(Run(dumped), 0) << platform.LastMessageUtf8();
  EXPECT_EQ(ReadBytes(nap), first);
}

TEST_F(PlaneCommandTest, GarbageInputFilesGiveAMessage) {
  std::string garbage(100000, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 37 % 251);
  EXPECT_EQ(Run(garbage), 1);
  EXPECT_FALSE(platform.messages.empty());
  CommandOptions options;
  options.dataPath = nap;
  options.inputPath = dir.File("missing.txt");
  EXPECT_EQ(RunPlaneCommand(options, platform), 1);
  EXPECT_EQ(platform.LastMessageUtf8().rfind("输入文件不存在", 0), 0u);
}

TEST_F(PlaneCommandTest, StatisticsReportAtTheChosenLevel) {
  CommandOptions options = OptionsWithInput(dir, nap, kSmallNetwork, false);
  options.significance = 0.2;
  ASSERT_EQ(RunPlaneCommand(options, platform), 0) << platform.LastMessageUtf8();
  const std::string text = GbkToUtf8(ReadBytes(dir.File("NET统计检验.txt")));
  EXPECT_NE(text.find("测试网  统计检验"), std::string::npos) << text;
  EXPECT_NE(text.find("显著水平=      20%"), std::string::npos) << text;
  EXPECT_NE(text.find("多余观测数 r=        3"), std::string::npos);
  // The level is checked where it is read.
  const std::string net = dir.File("net.NAP");
  EXPECT_EQ(RunQuorvexProgram("plane " + net + " --alpha 0"), 2);
  EXPECT_EQ(RunQuorvexProgram("plane " + net + " --alpha 60%"), 2);
  EXPECT_EQ(RunQuorvexProgram("plane " + net + " --alpha 5% --alpha 1%"), 2);
  EXPECT_EQ(RunQuorvexProgram("zone " + dir.File("z.GST") + " --alpha 0.05"), 2);
  // Accepted, and then the empty new network stops with a message.
  EXPECT_EQ(RunQuorvexProgram("plane " + net + " --alpha 5%"), 1);
}

TEST(QuorvexBinary, ExitStatusFollowsTheContract) {
  TempDir dir;
  EXPECT_EQ(RunQuorvexProgram("--help"), 0);
  EXPECT_EQ(RunQuorvexProgram("--version"), 0);
  EXPECT_EQ(RunQuorvexProgram(""), 2);
  EXPECT_EQ(RunQuorvexProgram("frobnicate"), 2);
  EXPECT_EQ(RunQuorvexProgram("plane"), 2);
  EXPECT_EQ(RunQuorvexProgram("plane " + dir.File("a.NAP") + " --yes --no"), 2);
  EXPECT_EQ(RunQuorvexProgram("plane " + dir.File("a.NAP") + " --input"), 2);
  WriteBytes(dir.File("bad.NAP"), "short");
  EXPECT_EQ(RunQuorvexProgram("plane " + dir.File("bad.NAP")), 1);
  // A new network is created (with the .NAP extension) even though its empty
  // tables cannot be computed.
  EXPECT_EQ(RunQuorvexProgram("plane " + dir.File("net")), 1);
  EXPECT_EQ(ReadBytes(dir.File("net.NAP")).size(), 803264u);
}

TEST(QuorvexBinary, ATableCutByABlankLineIsAskedAboutAndAnsweredByTheFlags) {
  TempDir dir;
  const std::string nap = dir.File("NET.NAP");
  WriteBytes(dir.File("whole.txt"), kSmallNetwork);
  ASSERT_EQ(RunQuorvexProgram("plane " + nap + " --input " + dir.File("whole.txt")), 0);
  std::string cut = kSmallNetwork;
  cut.insert(cut.find("A,C,1000.0000\n") + 14, "\n");
  WriteBytes(dir.File("cut.txt"), cut);
  const std::string before = ReadBytes(nap);
  const std::string report = ReadBytes(dir.File("NET.txt"));
  const std::string question = "[边长观测值]第[1]行为空行, 其后1行将不被读入, 继续吗? ";
  struct Case {
    const char* flag;
    int status;
    const char* answer;
  } cases[] = {{"", 1, "否"}, {" --no", 1, "否"}, {" --yes", 0, "是"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flag);
    const std::string command = std::string(QUORVEX_CLI_PATH) + " plane " + nap + " --input " + dir.File("cut.txt") +
                                c.flag + " >/dev/null 2>" + dir.File("err.txt") + " </dev/null";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.status);
    EXPECT_EQ(ReadBytes(dir.File("err.txt")).substr(0, question.size() + 4), question + c.answer + "\n");
    // Stopped: nothing written. Answered yes: computed without the cut lines.
    EXPECT_EQ(ReadBytes(nap) == before, c.status != 0);
    EXPECT_EQ(ReadBytes(dir.File("NET.txt")) == report, c.status != 0);
  }
}

}  // namespace
}  // namespace qp

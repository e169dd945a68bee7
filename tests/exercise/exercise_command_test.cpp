#include "cli/exercise_command.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "exercise/exercise_file.h"
#include "support/command_input.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::OptionsWithInput;
using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::TempDir;
using testing::WriteBytes;

const char* const kTriangle =
    "[设置]\n方式选择 = 条件平差\n观测值个数 = 3\n条件式个数 = 1\n权函数式个数 = 1\n"
    "[系数]\n1,1,1\n[常数项]\n-6\n[权函数式]\n1,0,0\n";

struct ExerciseCommandTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  std::string sty = dir.File("EX.STY");
  std::string out;

  int Run(const std::string& inputText, bool dump = false, std::optional<int> show = std::nullopt) {
    CommandOptions options = OptionsWithInput(dir, sty, inputText, dump);
    options.show = show;
    std::ostringstream captured;
    auto* old = std::cout.rdbuf(captured.rdbuf());
    const int status = RunExerciseCommand(options, platform);
    std::cout.rdbuf(old);
    out = captured.str();
    return status;
  }
};

TEST_F(ExerciseCommandTest, TheFileWrittenByOneRunIsReadByTheNext) {
  ASSERT_EQ(Run(kTriangle), 0) << platform.LastMessageUtf8();
  EXPECT_EQ(ReadBytes(sty).size(), kExerciseFileSize);
  EXPECT_NE(out.find("# 法方程系数逆阵及未知数的解和改正数\n[系数]\n0.3333\n"), std::string::npos) << out;
  EXPECT_NE(out.find("[权]\n-2.0000\n-2.0000\n-2.0000\n"), std::string::npos) << out;
  EXPECT_NE(out.find("权倒数1 = 0.6667\n权倒数2 =\n"), std::string::npos) << out;
  EXPECT_NE(out.find("MO = 3.46\n[PVV] = 12.00\n"), std::string::npos) << out;
  const std::string first = out;
  const std::string bytes = ReadBytes(sty);
  ASSERT_EQ(Run(""), 0);
  EXPECT_EQ(out, first);
  EXPECT_EQ(ReadBytes(sty), bytes);

  ASSERT_EQ(Run("", false, 1), 0);
  EXPECT_NE(out.find("# 法方程系数和常数项\n[系数]\n3.0000\n"), std::string::npos) << out;
  EXPECT_NE(out.find("MO =\n"), std::string::npos) << out;
}

TEST_F(ExerciseCommandTest, FileOfWrongLengthIsNeverOverwritten) {
  for (const std::string& bad : {std::string(1511, '\0'), std::string(1513, '\0'), std::string("x")}) {
    WriteBytes(sty, bad);
    EXPECT_EQ(Run(kTriangle), 1);
    EXPECT_EQ(platform.LastMessageUtf8(), "平差数据文件错误 !");
    EXPECT_EQ(ReadBytes(sty), bad);
    EXPECT_EQ(out, "");
  }
}

TEST_F(ExerciseCommandTest, DumpPrintsWhatItReadsAndReadsWhatItPrints) {
  const std::string input =
      "[设置]\n未知数个数 = 2\n观测值个数 = n=3\n方式选择 = 2\n限制条件数 = 1\n"
      "[系数]\n1,0\n\n0.33333,1\n[常数项]\n1\n2\n3\n[权]\n2\n[限制条件]\n1,-1\n";
  ASSERT_EQ(Run(input, true), 0) << platform.LastMessageUtf8();
  const std::string dump = out;
  // The counts were taken together: t = 2 although it came before n = 3.
  EXPECT_NE(dump.find("方式选择 = 2\n观测值个数 = 3\n未知数个数 = 2\n限制条件数 = 1\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("[系数]\n1,0\n\n0.33333,1\n"), std::string::npos) << dump;
  EXPECT_NE(dump.find("[限制条件]\n1,-1\n"), std::string::npos) << dump;
  ASSERT_EQ(Run(dump, true), 0);
  EXPECT_EQ(out, dump);
}

TEST_F(ExerciseCommandTest, InputTheDialogCouldNotTakeIsRefusedNamingItsLine) {
  ASSERT_EQ(Run(kTriangle), 0);
  const std::string before = ReadBytes(sty);
  struct Case {
    const char* input;
    const char* message;
  } cases[] = {
      {"[设置]\n方式选择 = 间接平差\n观测值个数 = 3\n未知数个数 = 1\n[系数]\n1\n1,2\n",
       "输入文件第7行: [系数]第2行第2个值不在所选方式和个数的范围内"},
      {"[设置]\n方式选择 = 2\n[限制条件]\n1\n", "输入文件第4行: [限制条件]第1行第1个值不在所选方式和个数的范围内"},
      {"[设置]\n方式选择 = 2\n观测值个数 = 2\n[权]\n1\n1\n1\n", "输入文件第7行: [权]第3行第1个值不在所选方式和个数的范围内"},
      {"[设置]\n观测值个数 = 11\n", "输入文件第2行: 设置项[观测值个数]的值[11]不正确"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(c.input), 1) << c.input;
    EXPECT_EQ(platform.LastMessageUtf8(), c.message);
    EXPECT_EQ(ReadBytes(sty), before);
  }
}

// A run that stops with a message leaves the stored exercise byte for byte:
// neither a singular system nor an input without sections overwrites it.
TEST_F(ExerciseCommandTest, SingularSystemStopsWithItsMessageAndKeepsTheFile) {
  ASSERT_EQ(Run(kTriangle), 0) << platform.LastMessageUtf8();
  const std::string stored = ReadBytes(sty);
  for (const char* input : {"[设置]\n方式选择 = 0\n未知数个数 = 2\n[系数]\n1\n1,1\n[常数项]\n1\n1\n",
                            "[设置]\n方式选择 = 条件平差\n", "\n"}) {
    EXPECT_EQ(Run(input), 1) << input;
    EXPECT_EQ(platform.LastMessageUtf8(), "矩阵求逆条件不满足 !") << input;
    EXPECT_EQ(out, "");
    EXPECT_EQ(ReadBytes(sty), stored) << input;
  }
}

}  // namespace
}  // namespace qp

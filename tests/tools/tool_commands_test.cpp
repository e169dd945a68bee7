// The zone, transform and local commands on the bundled examples: reports
// against golden files, data files read back by the next run, the input text
// round trip and the data-file rules of the command-line driver.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "cli/local_command.h"
#include "cli/transform_command.h"
#include "cli/zone_command.h"
#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "common/report_file.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"
#include "tool_test_support.h"
#include "tools/independent_system.h"
#include "tools/system_transform.h"
#include "tools/zone_transform.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;
using testing::WriteBytes;

using CommandFunction = int (*)(const CommandOptions&, PlatformServices&);

struct ToolCommandTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  std::string out;  // what the command printed

  int Run(CommandFunction command, const std::string& dataPath, const std::string& inputPath = "",
          bool dump = false) {
    CommandOptions options;
    options.dataPath = dataPath;
    if (!inputPath.empty()) options.inputPath = inputPath;
    options.dump = dump;
    ::testing::internal::CaptureStdout();
    const int status = command(options, platform);
    out = ::testing::internal::GetCapturedStdout();
    return status;
  }
  std::string Input(const std::string& text) {
    const std::string path = dir.File("input.txt");
    WriteBytes(path, text);
    return path;
  }
  static std::string Example(const std::string& name) { return SourcePath("examples/tools/" + name); }

  // Runs the example, checks its report and output against the golden files,
  // then runs again from the data file alone: the same results come back.
  void RunExample(CommandFunction command, const std::string& dataName, const std::string& example,
                  const std::string& golden, size_t fileSize, bool sameOutputAgain = true) {
    SCOPED_TRACE(example);
    const std::string data = dir.File(dataName);
    const std::string report = ReportPathFor(data);
    ASSERT_EQ(Run(command, data, Example(example)), 0) << platform.LastMessageUtf8();
    EXPECT_EQ(ReadBytes(data).size(), fileSize);
    testing::ExpectGoldenReport(ReadBytes(report), golden + ".txt");
    testing::ExpectGoldenReport(out, golden + ".out");
    const std::string file = ReadBytes(data);
    const std::string firstReport = ReadBytes(report);
    const std::string firstOut = out;
    ASSERT_EQ(Run(command, data), 0) << platform.LastMessageUtf8();
    EXPECT_EQ(ReadBytes(data), file);
    EXPECT_EQ(ReadBytes(report), firstReport);
    if (sameOutputAgain) {
      EXPECT_EQ(out, firstOut);
    }
  }
};

TEST_F(ToolCommandTest, ExamplesMatchTheGoldenReports) {
  RunExample(RunZoneCommand, "Z54.GST", "zone_54.txt", "zone_54", kZoneFileSize);
  // 显示选择 is no part of the data file: the second run shows all columns.
  RunExample(RunZoneCommand, "Z80.GST", "zone_80.txt", "zone_80", kZoneFileSize, false);
  RunExample(RunTransformCommand, "TR.TRS", "transform.txt", "transform", kSystemFileSize);
  platform.Answering({Answer::Yes});  // freezes the reference data
  RunExample(RunLocalCommand, "L.SLT", "local_to_independent.txt", "local_to_independent", kIndependentFileSize);
  RunExample(RunLocalCommand, "L.SLT", "local_to_national.txt", "local_to_national", kIndependentFileSize);
}

TEST_F(ToolCommandTest, LocalReportsOnTheOtherEllipsoid) {
  const std::string data = dir.File("L54.SLT");
  platform.Answering({Answer::Yes});
  ASSERT_EQ(Run(RunLocalCommand, data,
                Input("[设置]\n坐标系统名称 = 54系统独立坐标\n参考点点名 = R54\n中央子午线 = 120\n"
                      "参考点X坐标 = 2834567.891\n参考点Y坐标 = 456789.012\n坐标系统 = 54坐标系统\n"
                      "投影高程面 = 1200\n设定坐标X = 10000\n设定坐标Y = 20000\n有效半径m = 15000\n"
                      "[国家坐标系统坐标]\nR54,2834567.891,456789.012\nA,2840000,460000\nB,2830000.5,450000.5\n")),
            0)
      << platform.LastMessageUtf8();
  testing::ExpectGoldenReport(ReadBytes(ReportPathFor(data)), "local54_to_independent.txt");
  ASSERT_EQ(Run(RunLocalCommand, data,
                Input("[设置]\n转换方式 = 1\n[独立坐标系统坐标]\nA,15432.109,23210.988\nC,5000,15000\n")),
            0)
      << platform.LastMessageUtf8();
  testing::ExpectGoldenReport(ReadBytes(ReportPathFor(data)), "local54_to_national.txt");
  testing::ExpectGoldenReport(out, "local54_to_national.out");
}

TEST_F(ToolCommandTest, FilesOfAnotherLengthAreRefusedAndLeftAlone) {
  struct Tool {
    CommandFunction command;
    const char* name;
    size_t size;
    const char* message;
  };
  const Tool tools[] = {
      {RunZoneCommand, "A.GST", kZoneFileSize, "换带数据文件错误 !"},
      {RunTransformCommand, "A.TRS", kSystemFileSize, "坐标转换数据文件错误 !"},
      {RunLocalCommand, "A.SLT", kIndependentFileSize, "独立坐标系统数据文件错误 !"},
  };
  for (const Tool& tool : tools) {
    SCOPED_TRACE(tool.name);
    const std::string data = dir.File(tool.name);
    for (const std::string& bad : {std::string(tool.size - 1, '\0'), std::string(tool.size + 1, '\0')}) {
      WriteBytes(data, bad);
      EXPECT_EQ(Run(tool.command, data), 1);
      EXPECT_EQ(platform.LastMessageUtf8(), tool.message);
      EXPECT_EQ(ReadBytes(data), bad);
      EXPECT_FALSE(FileExists(ReportPathFor(data)));
    }
  }
}

TEST_F(ToolCommandTest, AListCutByABlankLineIsConvertedOnlyAfterYes) {
  struct Case {
    CommandFunction command;
    const char* data;
    const char* example;
    const char* blankAfter;  // the line followed by a blank line
    const char* question;
  } cases[] = {
      {RunZoneCommand, "B.GST", "zone_54.txt", "GP02,3381234.567,512345.678\n",
       "[换带前坐标]第[2]行为空行, 其后2行将不被读入, 继续吗?"},
      // The new list, whose lines are counted from 1.
      {RunTransformCommand, "B.TRS", "transform.txt", "K1,3404931.810,513317.541\n",
       "[新坐标]第[3]行为空行, 其后3行将不被读入, 继续吗?"},
      {RunLocalCommand, "B.SLT", "local_to_independent.txt", "滨江01,3380000.000,520000.000\n",
       "[国家坐标系统坐标]第[1]行为空行, 其后2行将不被读入, 继续吗?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.example);
    const std::string data = dir.File(c.data);
    ASSERT_EQ(Run(c.command, data, Example(c.example)), 0) << platform.LastMessageUtf8();
    const std::string file = ReadBytes(data);
    const std::string report = ReadBytes(ReportPathFor(data));
    std::string text = ReadBytes(Example(c.example));
    const size_t at = text.find(c.blankAfter);
    ASSERT_NE(at, std::string::npos);
    text.insert(at + std::strlen(c.blankAfter), "\n");
    const std::string input = Input(text);

    platform = ScriptedPlatform{};  // No, the default: stopped, nothing written
    EXPECT_EQ(Run(c.command, data, input), 1);
    EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{c.question});
    EXPECT_EQ(ReadBytes(data), file);
    EXPECT_EQ(ReadBytes(ReportPathFor(data)), report);

    platform = ScriptedPlatform{};
    platform.Answering({Answer::Yes});
    EXPECT_EQ(Run(c.command, data, input), 0) << platform.LastMessageUtf8();
    EXPECT_EQ(platform.QuestionsUtf8().at(0), c.question);
    EXPECT_NE(ReadBytes(ReportPathFor(data)), report);
  }
}

TEST_F(ToolCommandTest, DumpIsAnInputThatReproducesTheRun) {
  struct Step {
    CommandFunction command;
    const char* data;
    const char* example;
  };
  platform.Answering({Answer::Yes});
  for (const Step& step : {Step{RunZoneCommand, "D.GST", "zone_54.txt"}, Step{RunTransformCommand, "D.TRS", "transform.txt"},
                           Step{RunLocalCommand, "D.SLT", "local_to_independent.txt"}}) {
    SCOPED_TRACE(step.example);
    const std::string data = dir.File(step.data);
    ASSERT_EQ(Run(step.command, data, Example(step.example)), 0) << platform.LastMessageUtf8();
    const std::string file = ReadBytes(data);
    ASSERT_EQ(Run(step.command, data, "", true), 0);
    const std::string dumped = out;
    EXPECT_EQ(ReadBytes(data), file);  // --dump computes nothing
    ASSERT_EQ(Run(step.command, data, Input(dumped)), 0) << platform.LastMessageUtf8() << "\n" << dumped;
    EXPECT_EQ(ReadBytes(data), file);
    // After --input, --dump prints that input's settings and tables back.
    ASSERT_EQ(Run(step.command, data, Input(dumped), true), 0);
    EXPECT_EQ(out, dumped);
  }
}

TEST_F(ToolCommandTest, ConfirmedReferenceDataCannotBeChangedFromAnInputFile) {
  const std::string data = dir.File("C.SLT");
  platform.Answering({Answer::Yes});
  ASSERT_EQ(Run(RunLocalCommand, data, Example("local_to_independent.txt")), 0);
  EXPECT_EQ(Run(RunLocalCommand, data, Input("[设置]\n设定坐标X = 50000\n参考点点名 = 滨江01\n[国家坐标系统坐标]\nN1,3385123.456,525432.100\n")), 0)
      << platform.LastMessageUtf8();
  EXPECT_EQ(Run(RunLocalCommand, data, Input("[设置]\n设定坐标X = 50000\n设定坐标Y = 60000\n")), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "输入文件第3行: 参考点信息已确认, 设置项[设定坐标Y]不能修改");
  EXPECT_EQ(Run(RunLocalCommand, data, Input("[设置]\n坐标系统 = 0\n")), 1);
  // An empty independent list does nothing, which the command says.
  EXPECT_EQ(Run(RunLocalCommand, data, Input("[设置]\n转换方式 = 1\n")), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "独立坐标系统数据输入不正确 !");
  // Unconfirmed, independent -> national is refused.
  const std::string fresh = dir.File("F.SLT");
  EXPECT_EQ(Run(RunLocalCommand, fresh, Input("[设置]\n转换方式 = 独立转到国家\n[独立坐标系统坐标]\nA,1,2\n")), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "参考点信息确认后才能进行独立坐标到国家坐标的转换 !");
  EXPECT_EQ(ReadBytes(fresh).size(), kIndependentFileSize);
}

}  // namespace
}  // namespace qp

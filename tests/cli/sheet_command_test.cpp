#include "cli/sheet_command.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
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
using testing::SourcePath;
using testing::TempDir;
using testing::WriteBytes;

SettingsBlock SheetOf(const std::string& path) {
  SettingsBlock b;
  const std::string bytes = ReadBytes(path);
  EXPECT_GE(bytes.size(), sizeof b);
  std::memcpy(&b, bytes.data(), sizeof b);
  return b;
}

struct SheetCommandTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  std::string nap = dir.File("NET.NAP");

  int Compute(const std::string& data, const std::string& example) {
    CommandOptions options;
    options.dataPath = data;
    if (!example.empty()) options.inputPath = SourcePath(example);
    return data.back() == 'H' ? RunHeightCommand(options, platform) : RunPlaneCommand(options, platform);
  }
  int Sheet(const std::string& data, const std::string& inputText) {
    return RunSheetCommand(OptionsWithInput(dir, data, inputText, false), platform);
  }
  std::string Dump(const std::string& data) {
    ::testing::internal::CaptureStdout();
    const int status = RunSheetCommand(OptionsWithInput(dir, data, "", true), platform);
    const std::string out = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, 0) << platform.LastMessageUtf8();
    return out;
  }
};

TEST_F(SheetCommandTest, ComputedNetworkCarriesAFittedSheetThatLaterRunsKeep) {
  ASSERT_EQ(Compute(nap, "examples/plane/triangulation.txt"), 0) << platform.LastMessageUtf8();
  const SettingsBlock fitted = SheetOf(nap);
  // Shortest side about 2190 m, 30 number widths of 1 mm: 1:73000.
  EXPECT_EQ(fitted.scale, 73000.0);
  EXPECT_EQ(std::fmod(fitted.cornerX, 100.0), 0.0);
  EXPECT_EQ(fitted.sheetHeight, 100);
  EXPECT_EQ(fitted.canvasHeightPx, 1416);

  const std::string dumped = Dump(nap);
  EXPECT_NE(dumped.find("比例尺 = 1:73000\n"), std::string::npos);
  EXPECT_NE(dumped.find("绘图单位名称 = 测绘单位\n"), std::string::npos);
  // A dump read back changes nothing.
  const std::string before = ReadBytes(nap);
  ASSERT_EQ(Sheet(nap, dumped), 0) << platform.LastMessageUtf8();
  EXPECT_TRUE(ReadBytes(nap) == before);
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_TRUE(platform.questions.empty());

  // The user's sheet...
  ASSERT_EQ(Sheet(nap, "[设置]\n比例尺 = 1:50000\n西南角X = 3.5\n图幅宽度 = 300\n说明1 = 测站点\n分辨率 = 300\n"
                       "格网方式 = 标准格网A\n"),
            0)
      << platform.LastMessageUtf8();
  const SettingsBlock mine = SheetOf(nap);
  EXPECT_EQ(mine.scale, 50000.0);
  EXPECT_EQ(mine.cornerX, 3500.0);
  EXPECT_EQ(mine.previousCornerX, fitted.cornerX);
  EXPECT_EQ(mine.gridStyle, 0);
  EXPECT_EQ(SheetText(mine, kRemarkSlot1), Gbk("测站点"));
  EXPECT_EQ(mine.canvasWidthPx, 4012);  // 340 mm at 300 dpi, down to a multiple of 4
  // ...survives computing the same network again.
  ASSERT_EQ(Compute(nap, ""), 0) << platform.LastMessageUtf8();
  EXPECT_EQ(std::memcmp(&mine, ReadBytes(nap).data(), sizeof mine), 0);
}

TEST_F(SheetCommandTest, RefusedInputAndFilesLeaveEverythingAsItWas) {
  ASSERT_EQ(Compute(nap, "examples/plane/triangulation.txt"), 0);
  const std::string before = ReadBytes(nap);
  const struct {
    const char* input;
    const char* message;
  } cases[] = {
      {"[设置]\n比例尺 = 1:0\n", "图纸比例尺分母只能是大于等于1的数字,请修改 !"},
      {"[设置]\n西南角Y = 1e3\n", "西南角Y坐标错误!"},
      {"[设置]\n图名字高 = 90\n", "输入文件第2行: 设置项[图名字高]的值[90]不正确"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(Sheet(nap, c.input), 1);
    EXPECT_EQ(platform.LastMessageUtf8(), c.message);
    EXPECT_TRUE(ReadBytes(nap) == before);
  }

  // A missing or damaged data file is the data-file error and is not written.
  EXPECT_EQ(Sheet(dir.File("missing.NAP"), ""), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "平面网数据文件错误 !");
  EXPECT_FALSE(std::ifstream(dir.File("missing.NAP")).good());
  WriteBytes(dir.File("short.nah"), "short");
  EXPECT_EQ(Sheet(dir.File("short.nah"), ""), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "高程网数据文件错误 !");
  EXPECT_EQ(ReadBytes(dir.File("short.nah")), "short");
  EXPECT_EQ(RunQuorvexProgram("sheet " + dir.File("net.txt")), 2);
}

TEST_F(SheetCommandTest, HeightSheetFollowsItsNetwork) {
  const std::string nah = dir.File("lev.nah");
  ASSERT_EQ(Compute(dir.File("lev.NAH"), "examples/height/levelling.txt"), 0) << platform.LastMessageUtf8();
  std::rename(dir.File("lev.NAH").c_str(), nah.c_str());
  const SettingsBlock fitted = SheetOf(nah);
  EXPECT_EQ(fitted.cornerX, 7900.0);  // the default layout starts at 8000 m
  EXPECT_EQ(fitted.gridStyle, 2);

  // The height dialog offers no simple frame: confirmed as it opens, the
  // sheet takes "标准格网A"; from then on a dump read back changes nothing.
  ASSERT_EQ(Sheet(nah, ""), 0) << platform.LastMessageUtf8();
  EXPECT_EQ(SheetOf(nah).gridStyle, 0);
  const std::string before = ReadBytes(nah);
  const std::string dumped = Dump(nah);
  ASSERT_EQ(Sheet(nah, dumped), 0) << platform.LastMessageUtf8();
  EXPECT_TRUE(ReadBytes(nah) == before);

  EXPECT_EQ(Sheet(nah, "[设置]\n比例尺 = 1:500\n"), 1);
  EXPECT_EQ(platform.LastMessageUtf8(),
            "输入文件第2行: 高程网图幅的比例尺、西南角和图幅尺寸由网形决定, 设置项[比例尺]不能修改");
  ASSERT_EQ(Sheet(nah, "[设置]\n格网方式 = 4\n附注1 = 高程\n"), 0);
  const SettingsBlock changed = SheetOf(nah);
  EXPECT_EQ(changed.gridStyle, 1);
  EXPECT_EQ(SheetText(changed, kNoteSlot1), Gbk("高程"));
  EXPECT_EQ(changed.scale, fitted.scale);
}

}  // namespace
}  // namespace qp

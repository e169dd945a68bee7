// A data file of the right length whose settings block or traverse table holds
// a NaN or an infinity: every command that reads it resets what is damaged,
// says so once, and prints, draws and writes only finite values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/display_command.h"
#include "cli/draw_command.h"
#include "cli/height_command.h"
#include "cli/plane_command.h"
#include "cli/sheet_command.h"
#include "common/settings_block.h"
#include "plane/plane_network.h"
#include "support/command_input.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::OptionsWithInput;
using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;
using testing::WriteBytes;

template <typename T>
void Put(std::string& bytes, size_t offset, T value) {
  std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// True when the text holds nothing a non-finite double prints as.
bool PrintsOnlyFiniteValues(const std::string& text) {
  for (const char* word : {"nan", "NaN", "NAN", "inf", "INF", "Inf"}) {
    if (text.find(word) != std::string::npos) return false;
  }
  return true;
}

struct DamagedValuesTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;

  // Runs `run` with stdout captured; returns what it printed.
  template <typename Run>
  std::string Captured(Run run, int expectedStatus) {
    platform.messages.clear();
    std::ostringstream out;
    auto* old = std::cout.rdbuf(out.rdbuf());
    const int status = run();
    std::cout.rdbuf(old);
    EXPECT_EQ(status, expectedStatus) << platform.LastMessageUtf8();
    return out.str();
  }
  // The data file `name` computed from `example` by `run`: its bytes.
  std::string Computed(const std::string& name, const char* example,
                       int (*run)(const CommandOptions&, PlatformServices&)) {
    CommandOptions compute;
    compute.dataPath = dir.File(name);
    compute.inputPath = SourcePath(example);
    EXPECT_EQ(run(compute, platform), 0) << platform.LastMessageUtf8();
    return ReadBytes(compute.dataPath);
  }
};

TEST_F(DamagedValuesTest, PlaneFileIsRepairedAndToldOnceByEveryCommand) {
  const std::string nap = dir.File("NET.NAP");
  std::string bytes = Computed("NET.NAP", "examples/plane/polar_traverse.txt", RunPlaneCommand);
  ASSERT_EQ(bytes.size(), 803264u);
  const size_t record = sizeof(SettingsBlock);
  int32_t traverses = 0;
  std::memcpy(&traverses, bytes.data() + record + offsetof(PlaneNetwork, closureCheckCount), 4);
  ASSERT_EQ(traverses, 1);

  const double nan = std::nan(""), inf = HUGE_VAL;
  Put(bytes, offsetof(SettingsBlock, cornerX), inf);
  Put(bytes, offsetof(SettingsBlock, appliedScale), nan);
  Put(bytes, offsetof(SettingsBlock, mapOriginY), -inf);
  Put(bytes, offsetof(SettingsBlock, fontSizes) + 4, std::nanf(""));  // title font width
  Put(bytes, offsetof(SettingsBlock, frameSpacing), nan);
  Put(bytes, record + kTraverseTableOffset + 72, nan);  // the relative closure T
  WriteBytes(nap, bytes);
  const std::string told =
      "数据文件中的无效数值已恢复为缺省值: 西南角X, 格网比例尺, 坐标原点Y, 图名字高, 内外边框间距, 导线闭合差(删除1条)";

  const std::string sheet =
      Captured([&] { return RunSheetCommand(OptionsWithInput(dir, nap, "", true), platform); }, 0);
  EXPECT_TRUE(PrintsOnlyFiniteValues(sheet)) << sheet;
  EXPECT_NE(sheet.find("西南角X = 8.000000"), std::string::npos) << sheet;
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{told});

  const std::string display =
      Captured([&] { return RunDisplayCommand(OptionsWithInput(dir, nap, "", true), platform); }, 0);
  EXPECT_TRUE(PrintsOnlyFiniteValues(display)) << display;
  EXPECT_EQ(display.find("万"), std::string::npos) << display;  // the damaged traverse is no longer listed
  EXPECT_EQ(platform.MessagesUtf8(), std::vector<std::string>{told});

  CommandOptions draw;
  draw.dataPath = nap;
  draw.kind = 0;
  draw.dxfPath = dir.File("NET.dxf");
  draw.svgPath = dir.File("NET.svg");
  Captured([&] { return RunDrawCommand(draw, platform); }, 0);
  ASSERT_EQ(platform.messages.size(), 2u);
  EXPECT_EQ(platform.MessagesUtf8()[0], told);
  const std::string vec = ReadBytes(dir.File("NET.vec"));
  ASSERT_GE(vec.size(), sizeof(SettingsBlock));
  SettingsBlock written;
  std::memcpy(&written, vec.data(), sizeof written);
  EXPECT_EQ(written.cornerX, 8000.0);
  EXPECT_EQ(written.appliedScale, written.scale);
  EXPECT_EQ(written.mapOriginY, written.cornerY);
  EXPECT_EQ(written.fontSizes[kTitleFont][0], 6.0f);
  EXPECT_EQ(written.frameSpacing, 10.0);
  EXPECT_TRUE(PrintsOnlyFiniteValues(vec.substr(sizeof(SettingsBlock))));
  EXPECT_TRUE(PrintsOnlyFiniteValues(ReadBytes(draw.dxfPath.value())));
  EXPECT_TRUE(PrintsOnlyFiniteValues(ReadBytes(draw.svgPath.value())));
  // Reading repairs the copy in memory; the dumps and the drawing leave the file as it was.
  EXPECT_EQ(ReadBytes(nap), bytes);

  // Computing the network again tells it once and stores the repaired block.
  platform.messages.clear();
  CommandOptions again;
  again.dataPath = nap;
  ASSERT_EQ(RunPlaneCommand(again, platform), 0) << platform.LastMessageUtf8();
  ASSERT_FALSE(platform.messages.empty());
  EXPECT_EQ(platform.MessagesUtf8()[0], told);
  EXPECT_EQ(std::count(platform.messages.begin(), platform.messages.end(), platform.messages[0]), 1);
  platform.messages.clear();
  ASSERT_EQ(RunPlaneCommand(again, platform), 0) << platform.LastMessageUtf8();
  EXPECT_TRUE(platform.messages.empty()) << platform.LastMessageUtf8();
}

TEST_F(DamagedValuesTest, HeightFileSettingsAreRepairedAndTold) {
  const std::string nah = dir.File("NET.NAH");
  std::string bytes = Computed("NET.NAH", "examples/height/levelling.txt", RunHeightCommand);
  ASSERT_EQ(bytes.size(), 596416u);
  Put(bytes, offsetof(SettingsBlock, scale), -HUGE_VAL);
  Put(bytes, offsetof(SettingsBlock, bottomMarginPx), std::nan(""));
  WriteBytes(nah, bytes);

  const std::string sheet =
      Captured([&] { return RunSheetCommand(OptionsWithInput(dir, nah, "", true), platform); }, 0);
  EXPECT_TRUE(PrintsOnlyFiniteValues(sheet)) << sheet;
  EXPECT_EQ(platform.MessagesUtf8(),
            std::vector<std::string>{"数据文件中的无效数值已恢复为缺省值: 比例尺, 下边距像素"});
  EXPECT_EQ(ReadBytes(nah), bytes);
}

}  // namespace
}  // namespace qp

// Numbers beyond the range of a double typed into a field: the field treats
// them as it treats the largest number a double holds (refused, clamped or
// out of range), never as 0. And no coordinate beyond 1e8 m is accepted.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/display_command.h"
#include "cli/height_command.h"
#include "cli/local_command.h"
#include "cli/plane_command.h"
#include "cli/sheet_command.h"
#include "cli/transform_command.h"
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

using Command = std::function<int(const CommandOptions&, PlatformServices&)>;

// What a run left: its status, its messages and the data file.
struct Outcome {
  int status = 0;
  std::vector<std::string> messages;
  std::string data;
};

// Runs `command` on data file `name` in `dir`, emptied first (and holding a
// computed plane network when `computed`), with `input`, whose "@" is `value`.
Outcome RunWith(const TempDir& dir, const Command& command, const std::string& name, bool computed,
                const std::string& input, const std::string& value) {
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) std::filesystem::remove_all(entry);
  ScriptedPlatform platform;
  const std::string data = dir.File(name);
  if (computed) {
    CommandOptions compute;
    compute.dataPath = data;
    compute.inputPath = SourcePath("examples/plane/triangulation.txt");
    EXPECT_EQ(RunPlaneCommand(compute, platform), 0) << platform.LastMessageUtf8();
    platform.messages.clear();
  }
  std::string text = input;
  text.replace(text.find('@'), 1, value);
  std::ostringstream out;
  auto* old = std::cout.rdbuf(out.rdbuf());
  Outcome o;
  o.status = command(OptionsWithInput(dir, data, text, false), platform);
  std::cout.rdbuf(old);
  o.messages = platform.MessagesUtf8();
  o.data = ReadBytes(data);
  return o;
}

TEST(HugeValues, BeyondTheDoubleRangeIsTreatedAsTheLargestValue) {
  const std::string largest(308, '9');                  // about 1e308, a double
  const std::string beyond(309, '9');  // about 1e309: beyond every double
  struct Case {
    Command command;
    const char* data;
    bool computed;
    std::string input;
    const char* message;  // the last message of both runs; nullptr: no message
  } cases[] = {
      {RunSheetCommand, "NET.NAP", true, "[设置]\n西南角X = @\n", "西南角坐标数值超出范围 !"},
      {RunSheetCommand, "NET.NAP", true, "[设置]\n西南角Y = -@\n", "西南角坐标数值超出范围 !"},
      {RunSheetCommand, "NET.NAP", true, "[设置]\n图幅高度 = @\n", nullptr},
      {RunSheetCommand, "NET.NAP", true, "[设置]\n比例尺 = 1:@\n", "图纸比例尺分母只能是大于等于1的数字,请修改 !"},
      {RunDisplayCommand, "NET.NAP", true, "[设置]\n椭圆尺度 = @\n", nullptr},
      {RunDisplayCommand, "NET.NAP", true, "[设置]\n贯通预警距离 = @\n", nullptr},
      {RunPlaneCommand, "NET.NAP", false, "[设置]\n验前中误差 = @\n", "验前中误差超出范围, 不能计算 !"},
      {RunPlaneCommand, "NET.NAP", false, "[已知点]\nA,@,500000\nB,1,2\n", "已知点坐标第[0]行X坐标不正确!"},
      {RunPlaneCommand, "NET.NAP", false, "[概略坐标点]\nP,1,-@\n", "已知概略点坐标第[0]行Y坐标不正确!"},
      {RunHeightCommand, "NET.NAH", false, "[设置]\n验前误差 = @\n", "验前误差超出范围, 不能计算 !"},
      {RunHeightCommand, "NET.NAH", false, "[平面坐标点]\nA,@,1\n", "已知点坐标第[1]行X坐标不正确!"},
      {RunTransformCommand, "T.TRS", false, "[旧坐标]\nA,1,@\n", "旧坐标点第[1]行Y坐标不正确!"},
      {RunLocalCommand, "L.SLT", false, "[设置]\n参考点X坐标 = @\n[国家坐标系统坐标]\nA,1,500000\n",
       "参考点国家坐标系统的坐标不正确 !"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input.substr(0, 20));
    TempDir dir;
    const Outcome a = RunWith(dir, c.command, c.data, c.computed, c.input, largest);
    const Outcome b = RunWith(dir, c.command, c.data, c.computed, c.input, beyond);
    EXPECT_EQ(b.status, a.status);
    EXPECT_EQ(b.messages, a.messages);
    EXPECT_TRUE(b.data == a.data);
    if (c.message) {
      EXPECT_EQ(b.status, 1);
      ASSERT_FALSE(b.messages.empty());
      EXPECT_EQ(b.messages.back(), c.message);
    }
  }
}

// Coordinates are bounded at 1e8 m: the bound itself passes, a millimetre more
// is the line's coordinate message.
TEST(HugeValues, CoordinatesBeyondOneHundredThousandKilometresAreRefused) {
  struct Case {
    Command command;
    const char* data;
    std::string input;
    const char* message;
  } cases[] = {
      {RunPlaneCommand, "NET.NAP", "[已知点]\nA,@,500000\n", "已知点坐标第[0]行X坐标不正确!"},
      {RunPlaneCommand, "NET.NAP", "[概略坐标点]\nP,1,@\n", "已知概略点坐标第[0]行Y坐标不正确!"},
      {RunHeightCommand, "NET.NAH", "[平面坐标点]\nA,1,-@\n", "已知点坐标第[1]行Y坐标不正确!"},
      {RunTransformCommand, "T.TRS", "[旧坐标]\nA,@,1\n", "旧坐标点第[1]行X坐标不正确!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    TempDir dir;
    const Outcome at = RunWith(dir, c.command, c.data, false, c.input, "100000000");
    const Outcome over = RunWith(dir, c.command, c.data, false, c.input, "100000000.001");
    EXPECT_TRUE(at.messages.empty() || at.messages.back() != c.message) << at.messages.back();
    EXPECT_EQ(over.status, 1);
    ASSERT_FALSE(over.messages.empty());
    EXPECT_EQ(over.messages.back(), c.message);
  }
}

}  // namespace
}  // namespace qp

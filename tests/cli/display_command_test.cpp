// quorvex display: the dump reads back without changing a byte, the input
// file sets the dialog's controls and the closure flags, and a missing or
// damaged data file is refused and left alone.
#include "cli/display_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>

#include "common/binary_file.h"
#include "common/gbk_text.h"
#include "drawing/declutter_setting.h"
#include "drawing/display_fixture.h"
#include "drawing/label_marks.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "plane/plane_network.h"
#include "quorvex_program.h"
#include "support/command_input.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::HeightWithLoops;
using testing::OptionsWithInput;
using testing::PlaneWithTraverses;
using testing::ReadBytes;
using testing::RunQuorvexProgram;
using testing::ScriptedPlatform;
using testing::TempDir;
using testing::WriteBytes;

struct DisplayCommandTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  std::string nap = dir.File("NET.NAP");
  std::string nah = dir.File("NET.nah");  // the kind follows the extension in any letter case

  void SetUp() override {
    auto settings = std::make_unique<SettingsBlock>();
    ResetSettingsBlock(*settings);
    auto plane = PlaneWithTraverses();
    plane->calcMode = kReducedObservations;
    plane->maxEllipseRadius = 6.4;  // shown as "6", kept when left alone
    ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Write, *settings, *plane));
    ASSERT_TRUE(WriteHeightFile(nah, *settings, *HeightWithLoops()));
  }

  int Run(const std::string& path, const std::string& inputText, bool dump = false) {
    platform.messages.clear();
    return RunDisplayCommand(OptionsWithInput(dir, path, inputText, dump), platform);
  }
  // What --dump prints.
  std::string Dump(const std::string& path, const std::string& inputText = "") {
    std::ostringstream out;
    auto* old = std::cout.rdbuf(out.rdbuf());
    const int rc = Run(path, inputText, true);
    std::cout.rdbuf(old);
    EXPECT_EQ(rc, 0) << platform.LastMessageUtf8();
    return out.str();
  }
  template <typename T>
  T At(const std::string& bytes, size_t recordOffset) {
    T v;
    std::memcpy(&v, bytes.data() + sizeof(SettingsBlock) + recordOffset, sizeof v);
    return v;
  }
};

TEST_F(DisplayCommandTest, DumpReadBackChangesNoByte) {
  for (const std::string& path : {nap, nah}) {
    const std::string before = ReadBytes(path);
    const std::string dump = Dump(path);
    ASSERT_EQ(Run(path, dump), 0) << platform.LastMessageUtf8();
    EXPECT_EQ(ReadBytes(path), before) << dump;
  }
  EXPECT_EQ(Dump(nah),
            "[设置]\n# 控制网名: 控制网名\n绘图选项 = 0\n文本字体 = 宋体\n文本字高 = 3\n数字字体 = 宋体\n数字字高 = 2\n"
            "文字颜色 = 0,0,0\n注记避让 = 0\n\n[闭合差显示]\n[Y]K1,K2,-1.75mm,2(1)\n[N]A,B,-3.02mm,2(2)\n"
            "[Y]K1,K2,D,0.33mm,4(3)\n[Y]K1,A,C,D,1.70mm,4(4)\n");
}

// "注记避让" lives beside the data file: setting it leaves every byte of the
// data file as it was, the dump shows it, and a dump read back changes nothing.
TEST_F(DisplayCommandTest, DeclutterIsKeptInTheLabelMarks) {
  for (const std::string& path : {nap, nah}) {
    const std::string before = ReadBytes(path);
    ASSERT_EQ(Run(path, "[设置]\n注记避让 = 1\n"), 0) << platform.LastMessageUtf8();
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_TRUE(DeclutterFor(path));
    const std::string dump = Dump(path);
    EXPECT_NE(dump.find("注记避让 = 1\n"), std::string::npos) << dump;
    const std::string marks = ReadBytes(LabelMarksPath(path));
    ASSERT_EQ(Run(path, dump), 0) << platform.LastMessageUtf8();
    EXPECT_EQ(ReadBytes(LabelMarksPath(path)), marks);
    ASSERT_EQ(Run(path, "[设置]\n注记避让 = 0\n"), 0);
    EXPECT_FALSE(DeclutterFor(path));
    EXPECT_FALSE(FileExists(LabelMarksPath(path)));  // nothing left to keep
    EXPECT_NE(Run(path, "[设置]\n注记避让 = 2\n"), 0);
  }
}

TEST_F(DisplayCommandTest, InputSetsTheControlsAsTheDialogDoes) {
  // A point error ellipse of 1.2 cm: at most 3 mm drawn gives the scale 1:4.
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<PlaneNetwork>();
  ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Read, *settings, *net));
  net->pointE[0] = 1.2f;
  ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Write, *settings, *net));
  const std::string input =
      "[设置]\n绘图选项 = 7\n椭圆尺度 = 2\n贯通预警 = 0\n数字字高 = 2.5\n文本字体 = 黑体\n文字颜色 = 255,0,0\n"
      "[闭合差显示]\nN\n[Y]B0,B,C,C0, 38.70s[1/14.46万](12)\n";
  ASSERT_EQ(Run(nap, input), 0) << platform.LastMessageUtf8();
  const std::string bytes = ReadBytes(nap);
  EXPECT_EQ(At<int32_t>(bytes, 662468), 7);
  EXPECT_EQ(At<double>(bytes, 662472), 3.0);
  EXPECT_EQ(At<uint8_t>(bytes, 662504), 0);
  EXPECT_EQ(At<float>(bytes, 662392), 2.5f);
  EXPECT_EQ(At<float>(bytes, 662396), 1.25f);
  EXPECT_EQ(std::string(bytes.data() + sizeof(SettingsBlock) + 662400), Gbk("黑体"));
  EXPECT_EQ(At<int32_t>(bytes, 662432), 0x0000FF);
  EXPECT_EQ(At<uint8_t>(bytes, kTraverseTableOffset + 96), 0);
  EXPECT_EQ(At<uint8_t>(bytes, kTraverseTableOffset + 2 * kTraverseEntrySize + 96), 1);
  ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Read, *settings, *net));
  EXPECT_EQ(net->ellipseScale, 4.0);
  EXPECT_FLOAT_EQ(net->maxSemiAxis, 12.0);
}

TEST_F(DisplayCommandTest, RefusedInputAndBadFilesLeaveEverythingAsItWas) {
  const std::string plane = ReadBytes(nap);
  struct Case {
    std::string input;
    std::string message;
  };
  const Case cases[] = {
      {"[设置]\n文本字高 = 6.1\n", "输入文件第2行: 设置项[文本字高]的值[6.1]不正确"},
      {"[设置]\n绘图选项 = 8\n", "输入文件第2行: 设置项[绘图选项]的值[8]不正确"},
      {"[闭合差显示]\nY\nY\nN\n", "输入文件第4行: 闭合差显示只有2行"},
      {"[闭合差显示]\nN\n", "输入文件第1行: 闭合差显示应有2行, 只给出1行"},
      {"[闭合差显示]\nN\n[Y]B0,B,C,C0, 38.71s[1/14.46万](12)\n",
       "输入文件第3行: 应为[Y]或[N]后接闭合差: B0,B,C,C0, 38.70s[1/14.46万](12)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(nap, c.input), 1) << c.input;
    EXPECT_EQ(platform.LastMessageUtf8(), c.message);
    EXPECT_EQ(ReadBytes(nap), plane);
  }

  WriteBytes(nap, plane.substr(1));
  EXPECT_EQ(Run(nap, ""), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "平面网数据文件错误 !");
  EXPECT_EQ(ReadBytes(nap), plane.substr(1));
  const std::string missing = dir.File("MISSING.NAH");
  EXPECT_EQ(Run(missing, ""), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "高程网数据文件错误 !");
  EXPECT_FALSE(FileExists(missing));

  EXPECT_EQ(RunQuorvexProgram("display " + dir.File("NET.txt")), 2);
  EXPECT_EQ(RunQuorvexProgram("display " + dir.File("NET")), 2);
  EXPECT_EQ(RunQuorvexProgram("display " + nah), 0);
}

}  // namespace
}  // namespace qp

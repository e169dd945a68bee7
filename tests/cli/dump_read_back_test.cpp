// Every dialog command's --dump is an input its own command takes back
// unchanged: the dump of the dump is the dump, for stored and for new files.
#include <gtest/gtest.h>

#include <string>

#include "cli/display_command.h"
#include "cli/exercise_command.h"
#include "cli/height_command.h"
#include "cli/local_command.h"
#include "cli/plane_command.h"
#include "cli/sheet_command.h"
#include "cli/transform_command.h"
#include "cli/zone_command.h"
#include "support/command_input.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::OptionsWithInput;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

using Command = int (*)(const CommandOptions&, PlatformServices&);

struct DumpCase {
  const char* label;
  Command command;
  const char* dataFile;
  Command fill;         // stores `example` into the data file first; nullptr: the dump starts a new file
  const char* example;  // below the source tree
  const char* shows;    // a line the dump must hold, so an empty dump cannot pass
};

const DumpCase kCases[] = {
    {"plane", RunPlaneCommand, "NET.NAP", RunPlaneCommand, "examples/plane/triangulation.txt", "闭合差 = "},
    {"new plane", RunPlaneCommand, "NET.NAP", nullptr, nullptr, "边长输入方式 = "},
    {"plane display", RunDisplayCommand, "NET.NAP", RunPlaneCommand, "examples/plane/polar_traverse.txt",
     "贯通预警 = "},
    {"plane sheet", RunSheetCommand, "NET.NAP", RunPlaneCommand, "examples/plane/triangulation.txt", "分辨率 = "},
    {"height", RunHeightCommand, "NET.NAH", RunHeightCommand, "examples/height/levelling.txt", "网形类别 = "},
    {"new height", RunHeightCommand, "NET.NAH", nullptr, nullptr, "验前误差 = "},
    {"height display", RunDisplayCommand, "NET.NAH", RunHeightCommand, "examples/height/closures.txt",
     "注记避让 = 0\n"},
    {"height sheet", RunSheetCommand, "NET.NAH", RunHeightCommand, "examples/height/trigonometric.txt",
     "图名字高 = "},
    {"zone", RunZoneCommand, "T.GST", RunZoneCommand, "examples/tools/zone_80.txt", "显示选择 = "},
    {"new zone", RunZoneCommand, "T.GST", nullptr, nullptr, "系统选择 = 0\n"},
    {"transform", RunTransformCommand, "T.TRS", RunTransformCommand, "examples/tools/transform.txt", "[新坐标]\n"},
    {"local", RunLocalCommand, "T.SLT", RunLocalCommand, "examples/tools/local_to_independent.txt", "转换方式 = "},
    {"new local", RunLocalCommand, "T.SLT", nullptr, nullptr, "有效半径m = 1000\n"},
    {"exercise", RunExerciseCommand, "E.STY", RunExerciseCommand, "examples/exercise/condition_parameters.txt",
     "附参数个数 = "},
    {"new exercise", RunExerciseCommand, "E.STY", nullptr, nullptr, "观测值个数 = "},
};

std::string Dump(Command command, const TempDir& dir, const std::string& path, const std::string& input,
                 ScriptedPlatform& platform) {
  ::testing::internal::CaptureStdout();
  const int status = command(OptionsWithInput(dir, path, input, true), platform);
  const std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(status, 0) << platform.LastMessageUtf8();
  return out;
}

TEST(DumpReadBack, EveryCommandTakesItsOwnDumpUnchanged) {
  for (const DumpCase& c : kCases) {
    SCOPED_TRACE(c.label);
    TempDir dir;
    ScriptedPlatform platform;
    const std::string path = dir.File(c.dataFile);
    if (c.fill) {
      CommandOptions options;
      options.dataPath = path;
      options.inputPath = SourcePath(c.example);
      ::testing::internal::CaptureStdout();  // the results the command prints
      const int status = c.fill(options, platform);
      ::testing::internal::GetCapturedStdout();
      ASSERT_EQ(status, 0) << platform.LastMessageUtf8();
    }
    const std::string dump = Dump(c.command, dir, path, "", platform);
    EXPECT_NE(dump.find(c.shows), std::string::npos) << dump;
    EXPECT_EQ(Dump(c.command, dir, path, dump, platform), dump);
  }
}

}  // namespace
}  // namespace qp

// No command writes over one of its inputs: a report, a picture or a data
// file named like the input text, the data file, its .vec file or the
// statistics report is refused before anything is written.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "cli/draw_command.h"
#include "cli/exercise_command.h"
#include "cli/height_command.h"
#include "cli/local_command.h"
#include "cli/plane_command.h"
#include "cli/sheet_command.h"
#include "cli/transform_command.h"
#include "cli/zone_command.h"
#include "computed_example.h"
#include "quorvex_program.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ComputeTriangulation;
using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

using Runner = int (*)(const CommandOptions&, PlatformServices&);

// Every file of the folder with its bytes.
std::map<std::string, std::string> Snapshot(const TempDir& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    files[entry.path().filename().string()] = ReadBytes(entry.path().string());
  }
  return files;
}

TEST(OverwriteGuard, RunsThatWouldWriteOverAnInputAreRefusedAndWriteNothing) {
  struct Case {
    const char* name;
    Runner run;
    const char* data;      // in the folder
    const char* example;   // copied to `input` when given
    const char* input;     // --input, in the folder
    const char* svg;       // draw: --svg, in the folder ("./" kept as spelled)
    const char* dxf;
    bool dump;
    int status;
  };
  const Case cases[] = {
      {"plane report over its input text", RunPlaneCommand, "X.NAP", "plane/triangulation.txt", "X.txt", nullptr,
       nullptr, false, 1},
      {"plane statistics report over its input", RunPlaneCommand, "X.NAP", "plane/triangulation.txt",
       "X统计检验.txt", nullptr, nullptr, false, 1},
      {"plane coordinate export over its input", RunPlaneCommand, "X.NAP", "plane/triangulation.txt",
       "X坐标数据.txt", nullptr, nullptr, false, 1},
      {"plane dump writes no report", RunPlaneCommand, "TRI.NAP", "plane/triangulation.txt", "TRI.txt", nullptr,
       nullptr, true, 0},
      {"height report over its input text", RunHeightCommand, "X.NAH", "height/levelling.txt", "X.txt", nullptr,
       nullptr, false, 1},
      {"height export over its input", RunHeightCommand, "X.NAH", "height/levelling.txt", "X高程数据.txt", nullptr,
       nullptr, false, 1},
      {"zone report over its input", RunZoneCommand, "X.GST", "tools/zone_80.txt", "X.txt", nullptr, nullptr, false, 1},
      {"transform report over its input", RunTransformCommand, "X.TRS", "tools/transform.txt", "X.txt", nullptr,
       nullptr, false, 1},
      {"local report over its input", RunLocalCommand, "X.SLT", "tools/local_to_independent.txt", "X.txt", nullptr,
       nullptr, false, 1},
      {"exercise data file over its input", RunExerciseCommand, "X.STY", "exercise/indirect.txt", "X.STY", nullptr,
       nullptr, false, 1},
      {"sheet data file over its input", RunSheetCommand, "TRI.NAP", nullptr, "TRI.NAP", nullptr, nullptr, false, 1},
      {"SVG over the data file", RunDrawCommand, "TRI.NAP", nullptr, nullptr, "TRI.NAP", nullptr, false, 1},
      {"DXF over the data file spelt otherwise", RunDrawCommand, "TRI.NAP", nullptr, nullptr, nullptr, "./TRI.NAP",
       false, 1},
      {"SVG over the .vec file", RunDrawCommand, "TRI.NAP", nullptr, nullptr, "TRI.vec", nullptr, false, 1},
      {"SVG over the statistics report", RunDrawCommand, "TRI.NAP", nullptr, nullptr, "TRI统计检验.txt", nullptr, false,
       1},
      {"SVG and DXF into one file", RunDrawCommand, "TRI.NAP", nullptr, nullptr, "a.pic", "a.pic", false, 1},
      {"SVG and DXF beside the network", RunDrawCommand, "TRI.NAP", nullptr, nullptr, "TRI.svg", "TRI.dxf", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    ComputeTriangulation(dir.File("TRI.NAP"));
    std::filesystem::remove(dir.File("TRI.vec"));
    if (c.example) {
      std::filesystem::copy_file(SourcePath(std::string("examples/") + c.example), dir.File(c.input),
                                 std::filesystem::copy_options::overwrite_existing);
    }
    const auto before = Snapshot(dir);

    CommandOptions options;
    options.dataPath = dir.File(c.data);
    if (c.input) options.inputPath = dir.File(c.input);
    if (c.svg) options.svgPath = dir.path() + "/" + c.svg;
    if (c.dxf) options.dxfPath = dir.path() + "/" + c.dxf;
    options.dump = c.dump;
    ScriptedPlatform platform;
    ::testing::internal::CaptureStdout();
    const int status = c.run(options, platform);
    ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(status, c.status) << platform.LastMessageUtf8();
    if (c.status == 0) continue;
    EXPECT_NE(platform.LastMessageUtf8().find("是同一个文件, 不能覆盖, 未写入任何文件 !"), std::string::npos)
        << platform.LastMessageUtf8();
    EXPECT_EQ(Snapshot(dir), before);
  }
}

// The driver's exit status, with the file names as a user types them.
TEST(OverwriteGuard, TheProgramExitsWithOne) {
  TempDir dir;
  ComputeTriangulation(dir.File("TRI.NAP"));
  const std::string data = ReadBytes(dir.File("TRI.NAP"));
  std::filesystem::copy_file(SourcePath("examples/plane/triangulation.txt"), dir.File("T2.txt"));
  const std::string program = "cd '" + dir.path() + "' && " + QUORVEX_CLI_PATH;
  for (const char* arguments : {" draw TRI.NAP --svg TRI.NAP", " draw TRI.NAP --dxf ./TRI.NAP",
                                " draw TRI.NAP --svg TRI.vec", " plane T2 --input T2.txt"}) {
    const int status = std::system((program + arguments + " >/dev/null 2>&1 </dev/null").c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << arguments;
    EXPECT_EQ(ReadBytes(dir.File("TRI.NAP")), data) << arguments;
    EXPECT_FALSE(std::filesystem::exists(dir.File("TRI.vec"))) << arguments;
  }
  EXPECT_EQ(ReadBytes(dir.File("T2.txt")), ReadBytes(SourcePath("examples/plane/triangulation.txt")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("T2.NAP")));
}

}  // namespace
}  // namespace qp

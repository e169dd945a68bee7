// `quorvex draw`: the drawing of a computed network written as a .vec file
// (and a DXF) without touching the data file, and its failures.
#include "cli/draw_command.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>

#include "cli/plane_command.h"
#include "common/settings_block.h"
#include "drawing/frame_and_grid.h"
#include "drawing/vec_file.h"
#include "height/height_file.h"
#include "plane/plane_file.h"
#include "computed_example.h"
#include "quorvex_program.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::RunQuorvexProgram;
using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

std::optional<VecDrawing> Parse(const std::string& bytes) {
  return ParseVecEntities(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

TEST(DrawCommand, ComputedNetworkIsExportedAndTheDataFileLeftAsItWas) {
  TempDir dir;
  ScriptedPlatform platform;
  CommandOptions plane;
  plane.dataPath = dir.File("TRI.NAP");
  plane.inputPath = SourcePath("examples/plane/triangulation.txt");
  ASSERT_EQ(RunPlaneCommand(plane, platform), 0) << platform.LastMessageUtf8();
  const std::string before = ReadBytes(plane.dataPath);

  CommandOptions draw;
  draw.dataPath = plane.dataPath;
  draw.kind = 1;
  draw.dxfPath = dir.File("TRI.dxf");
  ASSERT_EQ(RunDrawCommand(draw, platform), 0) << platform.LastMessageUtf8();
  EXPECT_EQ(platform.LastMessageUtf8(), "平面图形导出完成...\r\n" + dir.File("TRI.vec"));
  EXPECT_EQ(ReadBytes(plane.dataPath), before);

  const std::string vec = ReadBytes(dir.File("TRI.vec"));
  const auto parsed = Parse(vec);
  ASSERT_TRUE(parsed) << vec.size() << " bytes";
  ASSERT_FALSE(parsed->entities.empty());
  // The file's block is the data file's, but for the title of the kind drawn.
  const size_t title = offsetof(SettingsBlock, sheetTexts) + kDiagramTitleSlot * 65;
  EXPECT_EQ(vec.substr(0, title), before.substr(0, title));
  EXPECT_EQ(vec.substr(title + 65, 4544 - title - 65), before.substr(title + 65, 4544 - title - 65));
  EXPECT_GT(ReadBytes(draw.dxfPath.value()).size(), 1000u);
}

TEST(DrawCommand, EmptyDiagramsGiveTheSettingsAndTheFrameOnly) {
  TempDir dir;
  auto settings = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*settings);
  settings->gridStyle = 4;
  settings->showGridLabels = 1;
  auto plane = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*plane, "E.NAP");
  ASSERT_TRUE(ReadWritePlaneFile(dir.File("E.NAP"), FileDirection::Write, *settings, *plane));
  auto height = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*height, "E.NAH");
  ASSERT_TRUE(WriteHeightFile(dir.File("E.NAH"), *settings, *height));

  for (const char* name : {"E.NAP", "E.NAH"}) {
    SCOPED_TRACE(name);
    ScriptedPlatform platform;
    CommandOptions draw;
    draw.dataPath = dir.File(name);
    ASSERT_EQ(RunDrawCommand(draw, platform), 0) << platform.LastMessageUtf8();
    const std::string vec = ReadBytes(dir.File("E.vec"));
    // The frame and grid alone, drawn from the block the file carries (with
    // the diagram title of the kind).
    const auto parsed = Parse(vec);
    ASSERT_TRUE(parsed);
    const SettingsBlock& block = parsed->settings;
    const SheetGeometry sheet = *SheetGeometryOf(block);
    const auto frame = BuildVecFile(block, [&](EntitySink& sink) {
      EntityEmitter out(sink, sheet);
      DrawFrameAndGrid(out, block, DrawContext{});
    });
    ASSERT_EQ(vec.size(), frame.size());
    EXPECT_EQ(std::memcmp(vec.data() + 4544, frame.data() + 4544, frame.size() - 4544), 0);
  }
}

TEST(DrawCommand, FailuresExitWithAMessageAndWriteNothing) {
  TempDir dir;
  auto settings = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*settings);
  auto plane = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*plane, "N.NAP");
  const std::string nap = dir.File("N.NAP");
  ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Write, *settings, *plane));
  const std::string before = ReadBytes(nap);

  ScriptedPlatform platform;
  CommandOptions draw;
  draw.dataPath = nap;
  draw.dxfPath = dir.path();  // a directory
  EXPECT_EQ(RunDrawCommand(draw, platform), 1);
  EXPECT_NE(platform.LastMessageUtf8().find("DXF图形文件写入错误 !"), std::string::npos);
  EXPECT_EQ(ReadBytes(nap), before);

  draw = CommandOptions{};
  draw.dataPath = dir.File("MISSING.NAP");
  EXPECT_EQ(RunDrawCommand(draw, platform), 1);
  EXPECT_EQ(platform.LastMessageUtf8(), "平面网数据文件错误 !");
  EXPECT_FALSE(std::filesystem::exists(dir.File("MISSING.NAP")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("MISSING.vec")));

  // A damaged sheet (scale 0) is refused as a damaged data file.
  settings->scale = settings->appliedScale = 0;
  ASSERT_TRUE(ReadWritePlaneFile(dir.File("Z.NAP"), FileDirection::Write, *settings, *plane));
  draw.dataPath = dir.File("Z.NAP");
  EXPECT_EQ(RunDrawCommand(draw, platform), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File("Z.vec")));

  struct Case { std::string arguments; int status; };
  const Case cases[] = {
      {"draw " + nap + " --kind 7", 0}, {"draw " + nap + " --kind 8", 2}, {"draw " + nap + " --kind x", 2},
      {"draw " + dir.File("N.txt"), 2}, {"draw " + nap + " --input x", 2}, {"draw " + nap + " --dxf", 2},
      {"draw " + dir.File("MISSING.NAP"), 1}, {"draw " + nap + " --dxf " + dir.path(), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(RunQuorvexProgram(c.arguments), c.status) << c.arguments;
  EXPECT_EQ(ReadBytes(nap), before);
}

// A data file edited by hand with coordinates no CAD program can take: the
// DXF drawing is refused with a message (the program must not abort), and
// neither the drawing nor its temporary file is left; the other pictures are
// drawn, the far point off the paper.
TEST(DrawCommand, CoordinatesBeyondTheDxfRangeAreRefused) {
  TempDir dir;
  const std::string nap = dir.File("FAR.NAP");
  testing::ComputeTriangulation(nap);
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<PlaneNetwork>();
  ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Read, *settings, *net));
  net->x[0] = 1e300;
  net->y[1] = -1e237;
  ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Write, *settings, *net));
  const std::string before = ReadBytes(nap);

  ScriptedPlatform platform;
  CommandOptions draw;
  draw.dataPath = nap;
  draw.dxfPath = dir.File("far.dxf");
  EXPECT_EQ(RunDrawCommand(draw, platform), 1);
  EXPECT_NE(platform.LastMessageUtf8().find("DXF图形文件写入错误 !\r\n" + dir.File("far.dxf") + ": "),
            std::string::npos)
      << platform.LastMessageUtf8();
  EXPECT_NE(platform.LastMessageUtf8().find("超出DXF可写范围"), std::string::npos);

  for (int kind = 0; kind <= 7; ++kind) {
    const std::string arguments = "draw " + nap + " --kind " + std::to_string(kind);
    EXPECT_EQ(RunQuorvexProgram(arguments + " --dxf " + dir.File("far.dxf")), 1) << kind;
    EXPECT_EQ(RunQuorvexProgram(arguments + " --svg " + dir.File("far.svg")), 0) << kind;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("far.dxf")));
  EXPECT_FALSE(std::filesystem::exists(dir.File("far.dxf.tmp")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("far.svg")));
  EXPECT_EQ(ReadBytes(nap), before);
}

}  // namespace
}  // namespace qp

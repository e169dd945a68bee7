// Saving the drawing data and exporting the sheet: the questions, messages,
// the modified flag, and what happens when the file cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "common/settings_block.h"
#include "drawing/drawing_export.h"
#include "workflow/drawing_files.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ScriptedPlatform;
using testing::TempDir;

struct Drawing {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  Drawing() {
    ResetSettingsBlock(*settings);
    ResetPlaneNetwork(*net, "N.NAP");
  }
};

TEST(DrawingExport, SaveAsksWritesAndSaysWhenItCannot) {
  TempDir dir;
  Drawing d;
  struct Case {
    std::string path;
    Answer answer;
    SaveResult result;
    bool modifiedAfter;
    const char* message;  // the start of the message shown, or nothing
  };
  const Case cases[] = {
      {dir.File("N.NAP"), Answer::No, SaveResult::Declined, true, nullptr},
      {dir.File("N.NAP"), Answer::Yes, SaveResult::Saved, false, ""},
      {dir.File("missing/N.NAP"), Answer::Yes, SaveResult::Failed, true, "平面网数据文件写入错误 !\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ScriptedPlatform platform;
    platform.Answering({c.answer});
    bool modified = true;
    EXPECT_EQ(SaveGraphicData(c.path, *d.settings, d.net.get(), nullptr, modified, platform), c.result);
    EXPECT_EQ(platform.QuestionsUtf8(), std::vector<std::string>{"请确认保存当前图形数据..."});
    EXPECT_EQ(modified, c.modifiedAfter);
    if (!c.message) {
      EXPECT_TRUE(platform.messages.empty());
    } else {
      ASSERT_EQ(platform.messages.size(), 1u);
      EXPECT_EQ(platform.LastMessageUtf8(), std::string(c.message) + c.path);
    }
  }
  // The saved file reads back as the drawing.
  Drawing back;
  EXPECT_TRUE(ReadWritePlaneFile(dir.File("N.NAP"), FileDirection::Read, *back.settings, *back.net));
}

TEST(DrawingExport, ExportNamesTheFileAfterTheDataFileAndFailsQuietly) {
  TempDir dir;
  Drawing d;
  EXPECT_EQ(VecPathFor("/a/b/NET.NAP"), "/a/b/NET.vec");
  EXPECT_EQ(VecPathFor("x.nah"), "x.vec");
  ScriptedPlatform platform;
  std::string written;
  ASSERT_TRUE(ExportNetworkDrawing(dir.File("NET.NAP"), *d.settings, PlaneModelFromRecord(*d.net), platform, &written));
  EXPECT_EQ(written, dir.File("NET.vec"));
  EXPECT_EQ(platform.LastMessageUtf8(), "平面图形导出完成...\r\n" + written);
  EXPECT_TRUE(std::filesystem::exists(written));

  ScriptedPlatform quiet;
  EXPECT_FALSE(ExportNetworkDrawing(dir.File("missing/NET.NAP"), *d.settings, PlaneModelFromRecord(*d.net), quiet));
  EXPECT_TRUE(quiet.messages.empty());
}

TEST(DrawingExport, OpeningRefusesWhatCannotBeDrawnAndKeepsTheRecords) {
  TempDir dir;
  Drawing d;
  d.settings->scale = 0;  // a damaged sheet
  ASSERT_TRUE(ReadWritePlaneFile(dir.File("Z.NAP"), FileDirection::Write, *d.settings, *d.net));
  Drawing live;
  live.settings->gridStyle = 5;
  ScriptedPlatform platform;
  EXPECT_FALSE(OpenPlaneDrawing(dir.File("Z.NAP"), *live.settings, *live.net, platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "平面网数据文件错误 !");
  EXPECT_EQ(live.settings->gridStyle, 5);

  Drawing good;
  good.settings->canvasHeightPx = 4000;
  ASSERT_TRUE(ReadWritePlaneFile(dir.File("G.NAP"), FileDirection::Write, *good.settings, *good.net));
  const auto canvas = OpenPlaneDrawing(dir.File("G.NAP"), *live.settings, *live.net, platform);
  ASSERT_TRUE(canvas);
  EXPECT_EQ(canvas->heightPx, 4000);
  EXPECT_EQ(canvas->widthPx, 4248);
  EXPECT_EQ(live.settings->gridStyle, 2);
}

}  // namespace
}  // namespace qp

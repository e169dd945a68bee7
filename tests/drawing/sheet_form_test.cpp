// The map sheet dialog's confirmation over the worked examples, and its
// control actions (spin limits, title height, font choices, grid styles).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "drawing/sheet_form.h"
#include "support/scripted_platform.h"

namespace qp {
namespace {

using testing::ScriptedPlatform;

std::unique_ptr<SettingsBlock> DefaultBlock() {
  auto b = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*b);
  return b;
}

struct ConfirmCase {
  const char* name;
  std::function<void(SheetForm&)> edit;
  const char* message;  // UTF-8; nullptr: confirmed
  std::function<void(const SettingsBlock&, const ScriptedPlatform&)> verify;
};

TEST(SheetForm, ConfirmationOverTheWorkedExamples) {
  const std::string unit65(65, 'a');
  const ConfirmCase cases[] = {
      {"scale 1:", [](SheetForm& f) { f.scaleText = "1:"; }, "图纸比例尺输入或选择错误!", {}},
      {"scale 2:", [](SheetForm& f) { f.scaleText = "2:1000"; }, "图纸比例尺输入或选择错误!", {}},
      {"scale 1:0", [](SheetForm& f) { f.scaleText = "1:0"; }, "图纸比例尺分母只能是大于等于1的数字,请修改 !", {}},
      {"scale 1:abc", [](SheetForm& f) { f.scaleText = "1:abc"; }, "图纸比例尺分母只能是大于等于1的数字,请修改 !", {}},
      {"scale 1:1234.5", [](SheetForm& f) { f.scaleText = " 1:1234.5 "; }, nullptr,
       [](const SettingsBlock& b, const ScriptedPlatform&) {
         EXPECT_EQ(b.scale, 1234.5);
         EXPECT_EQ(b.appliedScale, 1234.5);
       }},
      {"scale 1:1000 and corner", [](SheetForm& f) {
         f.scaleText = "1:1000";
         f.cornerXText = "-5";
         f.cornerYText = "3500.25";
       }, nullptr,
       [](const SettingsBlock& b, const ScriptedPlatform&) {
         EXPECT_EQ(b.scale, 1000.0);
         EXPECT_EQ(b.cornerX, -5000.0);
         EXPECT_EQ(b.cornerY, 3500250.0);
         EXPECT_EQ(b.previousCornerX, 8000.0);  // the corner before
         EXPECT_EQ(b.northEdgeX, -5000.0 + 500.0);
         EXPECT_EQ(b.eastEdgeY, 3500250.0 + 500.0);
       }},
      {"corner 3.5.1", [](SheetForm& f) { f.cornerXText = "3.5.1"; }, "西南角X坐标错误!", {}},
      {"corner 1e3", [](SheetForm& f) { f.cornerXText = "1e3"; }, "西南角X坐标错误!", {}},
      {"empty corner", [](SheetForm& f) { f.cornerYText = " "; }, "西南角Y坐标错误!", {}},
      {"corner out of range", [](SheetForm& f) { f.cornerXText = "10000.5"; }, "西南角坐标数值超出范围 !", {}},
      {"note 2", [](SheetForm& f) { f.notes[1] = std::string(65, 'n'); }, "附注第二项错误!", {}},
      {"unit name 65 bytes", [&](SheetForm& f) { f.unitName = unit65; }, "单位名称错误!", {}},
      {"300 dpi oversized paper", [](SheetForm& f) {
         f.resolutionIndex = 2;
         f.sizeTexts = {"3000", "3000", "45", "35", "30", "30"};
       }, nullptr,
       [](const SettingsBlock& b, const ScriptedPlatform&) {
         EXPECT_EQ(b.resolution, 300.0f);
         EXPECT_EQ(b.sheetHeight, 2340);
         EXPECT_EQ(b.sheetWidth, 2360);
         EXPECT_EQ(b.canvasHeightPx, 28580);  // 2420 mm at 300 dpi, down to a multiple of 4
         EXPECT_EQ(b.canvasWidthPx, 28580);
         EXPECT_EQ(b.canvasWidthPx2, 28580);
         EXPECT_EQ(b.gridRows, 23);
         EXPECT_EQ(b.gridCols, 23);
         EXPECT_EQ(b.bottomMarginPx, 413.0);
         EXPECT_EQ(b.leftMarginPx, 354.0);
       }},
      {"corner in half kilometres, kilometre labels", [](SheetForm& f) {
         f.cornerXText = "3500.5";
         f.cornerYText = "2000";
         f.gridStyle = 0;
         f.showGridLabels = true;
         f.labelUnit = kLabelKilometre;
       }, nullptr,
       [](const SettingsBlock& b, const ScriptedPlatform& p) {
         ASSERT_EQ(p.QuestionsUtf8().size(), 1u);
         EXPECT_EQ(p.questionDefaults[0], Answer::No);
         EXPECT_EQ(b.showGridLabels, 1);  // No (the default) puts the labels back
       }},
      {"corner in half kilometres, metre labels", [](SheetForm& f) {
         f.cornerXText = "3500.5";
         f.cornerYText = "2000";
         f.gridStyle = 0;
         f.showGridLabels = true;
         f.labelUnit = kLabelMetre;
       }, nullptr,
       [](const SettingsBlock& b, const ScriptedPlatform& p) {
         EXPECT_TRUE(p.questions.empty());
         EXPECT_EQ(b.showGridLabels, 1);
       }},
      {"frame spacing 7.9 with labels", [](SheetForm& f) {
         f.frameSpacingText = "7.9";
         f.showGridLabels = true;
       }, nullptr, [](const SettingsBlock& b, const ScriptedPlatform&) { EXPECT_EQ(b.frameSpacing, 12.0); }},
      {"frame spacing 0.3, simple frame, no labels", [](SheetForm& f) { f.frameSpacingText = "0.3"; }, nullptr,
       [](const SettingsBlock& b, const ScriptedPlatform&) { EXPECT_NEAR(b.frameSpacing, 0.3, 1e-12); }},
      {"frame spacing 0.3 with a grid", [](SheetForm& f) {
         f.frameSpacingText = "0.3";
         f.gridStyle = 0;
       }, nullptr, [](const SettingsBlock& b, const ScriptedPlatform&) { EXPECT_EQ(b.frameSpacing, 12.0); }},
  };
  for (const ConfirmCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto block = DefaultBlock();
    const auto before = std::make_unique<SettingsBlock>(*block);
    SheetForm form(*block, false);
    c.edit(form);
    ScriptedPlatform platform;
    platform.Answering({Answer::Yes});  // "请确认输入数据结束..."
    const bool ok = form.Confirm(*block, platform);
    if (c.message) {
      EXPECT_FALSE(ok);
      EXPECT_EQ(platform.LastMessageUtf8(), c.message);
      EXPECT_EQ(std::memcmp(block.get(), before.get(), sizeof(SettingsBlock)), 0);
      continue;
    }
    ASSERT_TRUE(ok) << platform.LastMessageUtf8();
    EXPECT_TRUE(platform.messages.empty());
    ASSERT_FALSE(platform.questions.empty());
    EXPECT_EQ(GbkToUtf8(platform.questions[0]), "请确认输入数据结束...");
    platform.questions.erase(platform.questions.begin());
    platform.questionDefaults.erase(platform.questionDefaults.begin());
    c.verify(*block, platform);
  }
}

TEST(SheetForm, NoToTheClosingQuestionOrToCancelKeepsTheDialogOpen) {
  auto block = DefaultBlock();
  const auto before = std::make_unique<SettingsBlock>(*block);
  SheetForm form(*block, false);
  form.scaleText = "1:2000";
  ScriptedPlatform platform;
  EXPECT_FALSE(form.Confirm(*block, platform));  // No is the default
  EXPECT_EQ(std::memcmp(block.get(), before.get(), sizeof(SettingsBlock)), 0);
  EXPECT_FALSE(SheetForm::Cancel(platform));
  EXPECT_EQ(platform.QuestionsUtf8().back(), "请确认放弃数据输入...");
  platform.Answering({Answer::Yes});
  EXPECT_TRUE(SheetForm::Cancel(platform));
}

TEST(SheetForm, OpeningInBothModes) {
  auto block = DefaultBlock();
  block->settingsConfirmed = 0;
  block->gridStyle = 9;
  SheetForm fresh(*block, false);
  EXPECT_EQ(fresh.scaleText, "1:500");
  EXPECT_EQ(fresh.sizeTexts, (std::array<std::string, 6>{"500", "500", "45", "35", "30", "30"}));
  EXPECT_EQ(fresh.cornerXText, "");
  EXPECT_EQ(fresh.gridStyle, 0);

  block->settingsConfirmed = 1;
  block->gridStyle = 4;
  block->scale = 1234.5;
  block->textFontFace[0] = 0;
  SheetForm plane(*block, false);
  EXPECT_EQ(plane.scaleText, "1:1234");
  EXPECT_EQ(plane.cornerXText, "    8.000000");
  EXPECT_EQ(plane.gridStyle, 4);
  EXPECT_EQ(GbkToUtf8(plane.FontCaption(kTextFontButton)), "宋体:  3.2, 1.6");
  EXPECT_EQ(GbkToUtf8(plane.FontCaption(kTitleFontButton)), "宋体, 6.0");

  // Height mode: the first two styles only; scale, corner and sizes are not
  // stored by the dialog, while the canvas follows a new resolution.
  SheetForm height(*block, true);
  EXPECT_EQ(height.gridStyle, 0);
  height.SelectGridStyle(5);
  EXPECT_EQ(height.gridStyle, 1);
  EXPECT_EQ(GbkToUtf8(height.FontCaption(kTextFontButton)), "宋体:  3.5, 1.5");
  height.scaleText = "1:99";
  height.cornerXText = "garbage";
  height.resolutionIndex = 0;
  ScriptedPlatform platform;
  ASSERT_TRUE(height.ConfirmWithoutQuestion(*block, platform)) << platform.LastMessageUtf8();
  EXPECT_EQ(block->scale, 1234.5);   // untouched
  EXPECT_EQ(block->cornerX, 8000.0);
  EXPECT_EQ(block->canvasHeightPx, 2280);  // 580 mm at 100 dpi
  EXPECT_EQ(block->gridStyle, 1);
}

TEST(SheetForm, SpinsTitleHeightAndFontChoices) {
  auto block = DefaultBlock();
  SheetForm f(*block, false);
  f.Spin(kMarginBottomField, 100);
  EXPECT_EQ(f.sizeTexts[kMarginBottomField], "100");
  f.Spin(kMarginTopField, -100);
  EXPECT_EQ(f.sizeTexts[kMarginTopField], "20");
  f.Spin(kSheetHeightField, 300);  // 500 + 3000 mm, at most 2000 at 200 dpi
  EXPECT_EQ(f.sizeTexts[kSheetHeightField], "2000");
  f.resolutionIndex = 0;
  f.Spin(kSheetHeightField, 300);
  EXPECT_EQ(f.sizeTexts[kSheetHeightField], "4500");

  ScriptedPlatform platform;
  EXPECT_TRUE(SheetForm::CheckTextLength(std::string(64, 'x'), platform));
  EXPECT_FALSE(SheetForm::CheckTextLength(std::string(65, 'x'), platform));
  EXPECT_EQ(platform.LastMessageUtf8(), "长度超限!");

  for (const char* bad : {"1", "81", "7.5", "x"}) EXPECT_FALSE(f.EditTitleHeight(bad)) << bad;
  EXPECT_TRUE(f.EditTitleHeight("12"));
  EXPECT_EQ(f.FontSizes()[kTitleFont], (std::array<float, 2>{12.0f, 6.0f}));

  // At 100 dpi: 20 px = 5.08 mm; a 1 px width is below 0.5 mm and becomes half the height.
  f.ChooseFont(kNotesFontButton, {"", 20, 1, 0});
  EXPECT_FLOAT_EQ(f.FontSizes()[kNotesFont][0], 5.08f);
  EXPECT_FLOAT_EQ(f.FontSizes()[kNotesFont][1], 2.54f);
  f.ChooseFont(kTextFontButton, {std::string(31, 'F'), 10, 4, 255});
  EXPECT_EQ(f.TextFontFace(), Gbk("宋体"));  // a face of 31 bytes is ignored
  EXPECT_EQ(f.TextFontColour(), 255);
  // Too small a scale font takes its default pair on confirmation.
  f.ChooseFont(kScaleFontButton, {"", 4, 2, 0});
  platform.Answering({Answer::Yes});
  ASSERT_TRUE(f.Confirm(*block, platform));
  EXPECT_EQ(block->fontSizes[kScaleFont][0], 4.0f);
  EXPECT_EQ(block->fontSizes[kScaleFont][1], 2.0f);
  EXPECT_EQ(block->fontSizes[kTitleFont][0], 12.0f);
  EXPECT_EQ(block->sheetHeight, 4500);
}

}  // namespace
}  // namespace qp

#include "common/settings_block.h"

#include <gtest/gtest.h>

#include <memory>

#include "common/gbk_text.h"

namespace qp {
namespace {

TEST(SettingsBlock, ResetGivesTheDefaultSheet) {
  auto b = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*b);
  EXPECT_EQ(b->scale, 1000.0);
  EXPECT_EQ(b->cornerX, 8000.0);
  EXPECT_EQ(b->cornerY, 1600.0);
  EXPECT_EQ(b->northEdgeX, 8500.0);
  EXPECT_EQ(b->eastEdgeY, 2100.0);
  EXPECT_EQ(b->gridRows, 5);
  EXPECT_EQ(b->gridStyle, 2);
  EXPECT_EQ(b->frameSpacing, 10.0);
  EXPECT_EQ(b->settingsConfirmed, 1);
  // Canvas size and margins follow from 200 dpi and the 580 x 540 mm paper.
  const double dpmm = b->resolution * 0.03937007874015748;
  EXPECT_EQ(b->canvasHeightPx, static_cast<int>((b->marginTop + b->marginBottom + b->sheetHeight) * dpmm) / 4 * 4);
  EXPECT_EQ(b->canvasWidthPx, static_cast<int>((b->marginLeft + b->marginRight + b->sheetWidth) * dpmm) / 4 * 4);
  EXPECT_EQ(b->bottomMarginPx, 236.0);
  EXPECT_EQ(SheetText(*b, kNetworkNameSlot), Gbk("测量控制网"));
  EXPECT_EQ(SheetText(*b, kRemarkSlot1), "");
  EXPECT_EQ(b->fontSizes[kTitleFont][0], 6.0f);
}

TEST(SettingsBlock, SheetTextIsCutTo64Bytes) {
  auto b = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*b);
  SetSheetText(*b, kNetworkNameSlot, std::string(70, 'n'));
  EXPECT_EQ(SheetText(*b, kNetworkNameSlot), std::string(64, 'n'));
  EXPECT_EQ(SheetText(*b, kNetworkNameSlot + 1), "");  // neighbour untouched
}

}  // namespace
}  // namespace qp

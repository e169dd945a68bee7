// Fitting the sheet to a network, the scale ladder, and the repair of damaged
// settings blocks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/settings_block.h"
#include "workflow/diagram_preparation.h"
#include "drawing/sheet_canvas.h"
#include "drawing/sheet_fit.h"
#include "drawing/sheet_geometry.h"
#include "height/height_model_record.h"
#include "plane/plane_model_record.h"

namespace qp {
namespace {

TEST(SheetFit, ScaleLadder) {
  struct Case {
    double side, width, scale;
  };
  const Case cases[] = {
      {3.0, 1.0, 100},           // v = 100.00000000000001: above 100, whole tens
      {2.9, 1.0, 96},            // 96.67: whole number
      {0.01, 1.0, 1},            // a side of a centimetre still gives 1:1
      {45.0, 1.0, 1500},         // 1500.0000000000002
      {1000.0, 1.0, 33000},      // 33333.3
      {1000.0, 2.0, 16000},      // the font width divides
      {29629.0, 1.0, 980000},    // 987633.3
      {50000.0, 1.0, 1000000},   // above 1,000,000
      {300.0, 0.0, 10000},       // no usable width: 1 mm
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseSheetScale(c.side, c.width), c.scale) << c.side << " " << c.width;
}

struct PlaneFitTest : ::testing::Test {
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  std::unique_ptr<SettingsBlock> sheet = std::make_unique<SettingsBlock>();

  void SetUp() override {
    ResetPlaneNetwork(*net, "");
    ResetSettingsBlock(*sheet);
    const char* names[] = {"A", "B", "C"};
    const double xy[3][2] = {{1234.567, -2345.678}, {1234.567, -1345.678}, {2100.5, -1845.2}};
    for (int i = 0; i < 3; ++i) {
      SetSlotText(net->pointName[i], names[i]);
      net->x[i] = xy[i][0];
      net->y[i] = xy[i][1];
    }
    net->pointCount = 3;
    // A-B 1000 m, A-C about 1000.6 m, one side naming no point.
    const char* sides[3][2] = {{"A", "B"}, {"C", "A"}, {"A", "Q"}};
    for (int k = 0; k < 3; ++k) {
      SetSlotText(net->sideFrom[k], sides[k][0]);
      SetSlotText(net->sideTo[k], sides[k][1]);
    }
    net->sideCount = 3;
  }
};

TEST_F(PlaneFitTest, CornerRoundingBySizeOfScale) {
  struct Case {
    float fontWidth;
    double scale, cornerX, cornerY;
    int height, width;
  };
  // Extent with the 100 m border: X 1134.567 .. 2200.5, Y -2445.678 .. -1245.678.
  const Case cases[] = {
      {1.0f, 33000, 1100, -2400, 100, 100},   // 100 m steps toward zero; 42 x 46 mm raised to 100
      {50.0f, 660, 1130, -2440, 1625, 1828},  // 10 m steps
      // 1:83 would need 12852 x 14467 mm; 1:100 and 1:200 too much paper as well.
      {400.0f, 500, 1130, -2440, 2141, 2409},  // 2409.99..., truncated
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fontWidth);
    net->numberFontWidth = c.fontWidth;
    ASSERT_TRUE(FitSheetToNetwork(*sheet, PlaneModelFromRecord(*net), true));
    EXPECT_EQ(sheet->scale, c.scale);
    EXPECT_EQ(sheet->appliedScale, c.scale);
    EXPECT_EQ(sheet->cornerX, c.cornerX);
    EXPECT_EQ(sheet->cornerY, c.cornerY);
    EXPECT_EQ(sheet->previousCornerX, c.cornerX);
    EXPECT_EQ(sheet->mapOriginY, c.cornerY);
    EXPECT_EQ(sheet->sheetHeight, c.height);
    EXPECT_EQ(sheet->sheetWidth, c.width);
    EXPECT_EQ(sheet->northEdgeX, c.height * c.scale * 0.001 + c.cornerX);
    EXPECT_EQ(sheet->gridRows, c.height / 100);
  }
  // The last sheet at 200 dpi with margins 50/30/20/20: 2221 x 2449 mm of paper.
  EXPECT_EQ(sheet->canvasHeightPx, 17488);
  EXPECT_EQ(sheet->canvasWidthPx2, 19280);
  EXPECT_EQ(sheet->bottomMarginPx, 236.0);
  EXPECT_EQ(sheet->leftMarginPx, 157.0);
  EXPECT_EQ(sheet->marginTop, 50);
}

TEST_F(PlaneFitTest, KeepingTheScaleAndNetworksWithoutSidesOrPoints) {
  sheet->scale = 2000;
  sheet->appliedScale = 500;
  ASSERT_TRUE(FitSheetToNetwork(*sheet, PlaneModelFromRecord(*net), false));  // "边框匹配"
  EXPECT_EQ(sheet->scale, 2000);
  EXPECT_EQ(sheet->appliedScale, 2000);
  EXPECT_EQ(sheet->cornerX, 1100);
  EXPECT_EQ(sheet->sheetHeight, 542);  // 1065.933 m at 1:2000 + 10 mm

  net->sideCount = 0;
  sheet->scale = 1500;
  ASSERT_TRUE(FitSheetToNetwork(*sheet, PlaneModelFromRecord(*net), true));
  EXPECT_EQ(sheet->scale, 1500);

  // Level 128 leaves the user's sheet, level 256 fits it.
  SectionNumber section;
  auto backup = std::make_unique<PlaneNetwork>();
  PlaneWorkspace ws{*sheet, section, *net, *backup, ""};
  net->sideCount = 3;
  PreparePlaneDiagram(ws, 128);
  EXPECT_EQ(sheet->scale, 1500);
  PreparePlaneDiagram(ws, 256);
  EXPECT_EQ(sheet->scale, 33000);

  net->pointCount = 0;
  const auto before = std::make_unique<SettingsBlock>(*sheet);
  EXPECT_FALSE(FitSheetToNetwork(*sheet, PlaneModelFromRecord(*net), true));
  EXPECT_EQ(std::memcmp(sheet.get(), before.get(), sizeof(SettingsBlock)), 0);
}

TEST(SheetFit, StandardScalesAfterAScale) {
  const double cases[][2] = {{83, 100},       {100, 200},         {499.9, 500},         {500, 1000},
                             {5000, 10000},   {10000, 25000},     {400000, 500000},     {500000, 1000000},
                             {1e6, 2.5e6},    {2.5e6, 5e6},       {5e6, 1e7},           {9.9e7, 1e8}};
  for (const auto& c : cases) EXPECT_EQ(NextStandardScale(c[0]), c[1]) << c[0];
}

TEST_F(PlaneFitTest, ASheetBeyondThePaperTakesTheNextStandardScaleThatFits) {
  struct Case {
    float resolution;
    float fontWidth;  // chooses the first scale
    bool chooseScale;
    double startScale, scale;
    bool raised;
  };
  // Extent 1065.933 x 1200 m with its border; at 200 dpi 3560 mm of sheet
  // fit between the margins, at 300 dpi 2340 mm, at 100 dpi 7200 mm.
  const Case cases[] = {
      {200, 400, true, 0, 500, true},     // 1:83 chosen
      {300, 400, true, 0, 1000, true},    // 1:500 needs 2410 mm of width
      {100, 400, true, 0, 200, true},     // 1:200 takes 6010 mm
      {200, 50, true, 0, 660, false},     // fits as chosen
      {200, 1, false, 300, 500, true},    // "边框匹配" too: 4010 mm of width
      {200, 1, false, 400, 400, false},   // 3010 mm of width fit
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.resolution << " dpi, 1:" << c.startScale);
    ResetSettingsBlock(*sheet);
    sheet->resolution = c.resolution;
    if (c.startScale > 0) sheet->scale = sheet->appliedScale = c.startScale;
    net->numberFontWidth = c.fontWidth;
    const SheetFitResult fit = FitSheetToNetwork(*sheet, PlaneModelFromRecord(*net), c.chooseScale);
    ASSERT_TRUE(fit);
    EXPECT_EQ(fit.scale, c.scale);
    EXPECT_EQ(sheet->scale, c.scale);
    EXPECT_EQ(sheet->appliedScale, c.scale);
    EXPECT_EQ(fit.scaleRaised, c.raised);
    const int paper = LargestPaperSize(c.resolution);
    EXPECT_LE(sheet->marginTop + sheet->marginBottom + sheet->sheetHeight, paper);
    EXPECT_LE(sheet->marginLeft + sheet->marginRight + sheet->sheetWidth, paper);
    // The whole network, with 100 m around it, lies on the sheet.
    EXPECT_LE(sheet->cornerX, 1234.567 - 100);
    EXPECT_GE(sheet->northEdgeX, 2100.5 + 100 - 10);  // less what rounding the corner takes
    EXPECT_GE(sheet->eastEdgeY, -1345.678 + 100);
    EXPECT_EQ(SheetFitMessage(fit).empty(), !c.raised);
  }
  ResetSettingsBlock(*sheet);
  net->numberFontWidth = 400;
  EXPECT_EQ(SheetFitMessage(FitSheetToNetwork(*sheet, PlaneModelFromRecord(*net), true)),
            Gbk("控制网图超出最大图纸, 比例尺改为1:500"));
}

TEST(SheetFit, TheBorderHoldsTheNamesAndSymbolsAtSmallScales) {
  // Names of 4 characters in a 3 x 1.5 mm font: the top 5 mm above the point,
  // 3 mm to the west, 3.6 mm to the east of it; symbols 1.5 mm every way.
  const LabelReach r = NameReach("GP01", 3.0, 1.5, 1.5);
  EXPECT_DOUBLE_EQ(r.north, 5.0);
  EXPECT_DOUBLE_EQ(r.south, 1.5);
  EXPECT_DOUBLE_EQ(r.west, 3.0);
  EXPECT_NEAR(r.east, 6.6 - 3.0, 1e-6);  // the gap is a float
  const LabelReach wide = Widest(r, NameReach("P1", 8.0, 1.0, 1.5));
  EXPECT_DOUBLE_EQ(wide.north, 10.0);
  EXPECT_DOUBLE_EQ(wide.west, 3.0);

  NetworkExtent e;
  e.minX = 100000, e.maxX = 200000, e.minY = 300000, e.maxY = 500000;
  e.reach = r;
  struct Case {
    double scale;
    double south, north, west, east;  // the room the sheet keeps beyond the points, m
  };
  const Case cases[] = {
      {1000, 100, 100, 100, 100},      // 5 mm is 5 m: the 100 m border everywhere
      {50000, 100, 250, 150, 180},     // a name's west half is 150 m: 100 m would cut it
      {250000, 375, 1250, 750, 900},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    auto sheet = std::make_unique<SettingsBlock>();
    ResetSettingsBlock(*sheet);
    sheet->resolution = 100;  // 7280 mm of paper: 200 km at 1:50000 fit
    sheet->scale = sheet->appliedScale = c.scale;
    NetworkExtent x = e;  // a smaller network at 1:1000, to fit the paper
    if (c.scale == 1000) x.maxX = x.minX + 5000, x.maxY = x.minY + 5000;
    const SheetFitResult fit = FitSheetToExtent(*sheet, x, 1.0, false);
    ASSERT_EQ(fit.scale, c.scale);
    EXPECT_LE(sheet->cornerX, e.minX - c.south);
    EXPECT_GT(sheet->cornerX, e.minX - c.south - 100);  // rounded down to 100 m at most
    EXPECT_LE(sheet->cornerY, e.minY - c.west);
    EXPECT_GT(sheet->cornerY, e.minY - c.west - 100);
    EXPECT_GE(sheet->northEdgeX, x.maxX + c.north);
    EXPECT_GE(sheet->eastEdgeY, x.maxY + c.east);
  }
}

TEST_F(PlaneFitTest, ANewPointListKeepsTheMovedNamesBesideTheirPoints) {
  // Before the edit: A, B, C, D with their names moved; after it the list is
  // C, A, E (B and D gone, E new). Names are matched by name, not by place.
  auto backup = std::make_unique<PlaneNetwork>(*net);
  SetSlotText(backup->pointName[3], "D");
  backup->pointCount = 4;
  for (int i = 0; i < 4; ++i) backup->labelOffsetX[i] = backup->labelOffsetY[i] = 1.0f + i;
  struct Case {
    int lastComputed;         // of the network before the edit
    float offsets[4];         // after preparing, by place in the new list
  } cases[] = {{3, {3.0f, 1.0f, 0.0f, 0.0f}}, {-1, {0.0f, 0.0f, 0.0f, 0.0f}}};
  for (const Case& c : cases) {
    backup->lastComputedPointCount = c.lastComputed;
    const char* names[] = {"C", "A", "E"};
    for (int i = 0; i < 3; ++i) SetSlotText(net->pointName[i], names[i]);
    for (int i = 0; i < 4; ++i) net->labelOffsetX[i] = net->labelOffsetY[i] = 9.0f;  // stale
    SectionNumber section;
    PlaneWorkspace ws{*sheet, section, *net, *backup, ""};
    PreparePlaneDiagram(ws, 256);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(net->labelOffsetX[i], c.offsets[i]) << c.lastComputed << " " << i;
      EXPECT_EQ(net->labelOffsetY[i], c.offsets[i]) << c.lastComputed << " " << i;
    }
  }
}

TEST_F(PlaneFitTest, EveryRecomputationWorksOutTheEllipseScaleAgain) {
  // New weights alone (level 0) change the ellipses as much as new
  // observations: the user's largest radius holds after either.
  struct Case {
    float largestE;  // cm
    double radius;   // mm
    double k;
  };
  const Case cases[] = {{2.35f, 20, 1}, {5.0f, 10, 5}, {5.0f, 26, 1}, {0.5f, 10, 0.5}};
  SectionNumber section;
  auto backup = std::make_unique<PlaneNetwork>(*net);
  PlaneWorkspace ws{*sheet, section, *net, *backup, ""};
  for (const int level : {0, 128}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "level " << level << ", E " << c.largestE << ", radius " << c.radius);
      net->pointE[1] = c.largestE;
      net->pointF[2] = c.largestE / 2;
      net->maxEllipseRadius = c.radius;
      EXPECT_EQ(PreparePlaneDiagram(ws, level), "");
      EXPECT_DOUBLE_EQ(net->ellipseScale, c.k);
    }
  }
}

TEST(SheetFit, HeightNetworkUsesDiagramPositionsAndLines) {
  auto net = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*net, "");
  auto sheet = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*sheet);
  const char* names[] = {"BM1", "P1", "P2"};
  for (int i = 0; i < 3; ++i) {
    SetSlotText(net->pointName[i], names[i]);
    net->diagramX[i] = 8000.0 + 200.0 * i;
    net->diagramY[i] = 16000.0;
  }
  net->diagramY[2] = std::numeric_limits<double>::quiet_NaN();  // left out
  net->pointCount = 3;
  SetSlotText(net->from[0], "BM1");
  SetSlotText(net->to[0], "P1");
  net->observationCount = 1;
  ASSERT_TRUE(FitSheetToNetwork(*sheet, HeightModelFromRecord(*net), true));
  EXPECT_EQ(sheet->scale, 6600);  // 200 m x 33.3
  EXPECT_EQ(sheet->cornerX, 7900);
  EXPECT_EQ(sheet->cornerY, 15900);
  EXPECT_EQ(sheet->sheetHeight, 100);
}

TEST(SheetCanvas, PaperLimitsAndDamagedBlocks) {
  EXPECT_EQ(LargestPaperSize(100), 7280);
  EXPECT_EQ(LargestPaperSize(200), 3640);
  EXPECT_EQ(LargestPaperSize(300), 2420);
  EXPECT_EQ(LargestPaperSize(0), 0);

  auto intact = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*intact);
  const auto copy = std::make_unique<SettingsBlock>(*intact);
  EXPECT_FALSE(ClampSheetSettings(*intact));
  EXPECT_EQ(std::memcmp(intact.get(), copy.get(), sizeof(SettingsBlock)), 0);

  auto damaged = std::make_unique<SettingsBlock>(*copy);
  damaged->resolution = 0.0f;
  damaged->scale = -5;
  damaged->cornerX = std::nan("");
  damaged->marginTop = 2000000000;
  damaged->marginBottom = -7;
  damaged->sheetHeight = 2000000000;
  damaged->sheetWidth = -100;
  damaged->fontSizes[kTitleFont][0] = std::numeric_limits<float>::infinity();
  EXPECT_TRUE(ClampSheetSettings(*damaged));
  EXPECT_TRUE(SheetGeometryOf(*damaged).has_value());
  EXPECT_EQ(damaged->resolution, 200.0f);
  EXPECT_EQ(damaged->scale, 1000.0);
  EXPECT_EQ(damaged->cornerX, 0.0);
  EXPECT_EQ(damaged->marginTop, 1820);
  EXPECT_EQ(damaged->marginBottom, 0);
  EXPECT_EQ(damaged->sheetHeight, 3640 - 1820);
  EXPECT_EQ(damaged->sheetWidth, 0);
  EXPECT_LE(damaged->canvasHeightPx, kLargestCanvasPixels);
  EXPECT_EQ(damaged->fontSizes[kTitleFont][0], 6.0f);
  EXPECT_FALSE(ClampSheetSettings(*damaged));  // repaired once and for all
}

}  // namespace
}  // namespace qp

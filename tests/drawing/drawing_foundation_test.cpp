// The sheet's tables and coordinate conversions against hand-computed values.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "common/settings_block.h"
#include "drawing/drawing_tables.h"
#include "drawing/entities.h"
#include "drawing/movable_items.h"
#include "drawing/text_layout.h"
#include "drawing/sheet_geometry.h"
#include "drawing/view_transform.h"

namespace qp {
namespace {

TEST(DrawingTables, PaletteEntriesAndStyleWord) {
  EXPECT_EQ(PaletteColour(0), (Rgb{0, 0, 0}));
  EXPECT_EQ(PaletteColour(9), (Rgb{255, 0, 0}));
  EXPECT_EQ(PaletteColour(60), (Rgb{255, 128, 255}));
  EXPECT_EQ(PaletteColour(140), (Rgb{242, 242, 242}));
  EXPECT_EQ(PaletteColour(141), (Rgb{0, 0, 0}));
  EXPECT_EQ(ColourWord(Rgb{1, 2, 3}), 0x030201u);

  const DrawStyle s = DrawStyle::Make(1, 6, 9, 15);
  EXPECT_EQ(s.word, 0x0F090601u);
  EXPECT_EQ(s.PenStyleIndex(), 1);
  EXPECT_EQ(s.WeightIndex(), 6);
  EXPECT_EQ(s.PenColourIndex(), 9);
  EXPECT_TRUE(s.Filled());
  EXPECT_FALSE(DrawStyle::Make(0, 0, 0).Filled());
}

TEST(DrawingTables, LineWidthsFollowTheResolution) {
  // whole part of (dpi x hundredths x 0.0003937 + 0.55), at least 1
  struct Case { double dpi; std::array<int, 10> px; };
  const Case cases[] = {
      {150, {1, 1, 1, 2, 2, 3, 5, 6, 9, 12}},
      {200, {1, 1, 2, 2, 2, 4, 6, 8, 12, 16}},
      {300, {1, 2, 2, 3, 4, 6, 9, 12, 18, 24}},
      {600, {2, 4, 5, 6, 7, 12, 19, 24, 35, 47}},
  };
  for (const Case& c : cases) EXPECT_EQ(LineWidthsForResolution(c.dpi).px, c.px) << c.dpi;
  EXPECT_EQ(LineWidthsForResolution(std::nan("")).At(9), 1);
  EXPECT_EQ(LineWidthsForResolution(300).At(42), 24);
}

TEST(SheetGeometry, MapToCanvasAndBackOnTheDefaultSheet) {
  auto block = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*block);
  const auto sheet = SheetGeometryOf(*block);
  ASSERT_TRUE(sheet);
  // 1:1000 at 200 dpi: 1 m of ground is 7.874 pixels.
  EXPECT_EQ(MapToCanvas(*sheet, {8000, 1600}), (CanvasPoint{236, 157}));
  EXPECT_EQ(MapToCanvas(*sheet, {8100, 1650}), (CanvasPoint{236 + 787, 157 + 394}));
  for (const CanvasPoint c : {CanvasPoint{0, 0}, CanvasPoint{1000, 3000}, CanvasPoint{4563, 4247}})
    EXPECT_EQ(MapToCanvas(*sheet, CanvasToMap(*sheet, c)), c);
  EXPECT_EQ(MillimetresToPixels(300.f, 100.0), 1181);
  // Far-off or damaged coordinates saturate instead of overflowing.
  EXPECT_EQ(MapToCanvas(*sheet, {1e300, -1e300}).row, std::numeric_limits<int>::max());
  EXPECT_EQ(MapToCanvas(*sheet, {std::nan(""), 0}).row, 0);
}

TEST(SheetGeometry, DamagedBlocksAreRefused) {
  auto block = std::make_unique<SettingsBlock>();
  const auto damage = [&](auto change) {
    ResetSettingsBlock(*block);
    change(*block);
    return SheetGeometryOf(*block).has_value();
  };
  EXPECT_TRUE(damage([](SettingsBlock&) {}));
  EXPECT_FALSE(damage([](SettingsBlock& b) { b.scale = 0; }));
  EXPECT_FALSE(damage([](SettingsBlock& b) { b.scale = -500; }));
  EXPECT_FALSE(damage([](SettingsBlock& b) { b.resolution = 0; }));
  EXPECT_FALSE(damage([](SettingsBlock& b) { b.resolution = std::numeric_limits<float>::infinity(); }));
  EXPECT_FALSE(damage([](SettingsBlock& b) { b.cornerX = std::nan(""); }));
  EXPECT_FALSE(damage([](SettingsBlock& b) { b.canvasHeightPx = 2'000'000'000; }));
  EXPECT_FALSE(damage([](SettingsBlock& b) { b.leftMarginPx = 1e12; }));
}

TEST(ViewTransform, FlipZoomAndSaturation) {
  // 1024/1024 is the identity apart from the flip of the rows.
  EXPECT_EQ(CanvasToScreen({0, 777}, 4564, 1024, 1024), (ScreenPoint{777, 4563}));
  EXPECT_EQ(ScreenToCanvas({777, 4563}, 4564, 1024, 1024), (CanvasPoint{0, 777}));
  EXPECT_EQ(CanvasToScreen({100, 4564}, 4564, 1024, 7790), (ScreenPoint{4564 * 1024 / 7790, (4564 - 100 - 1) * 1024 / 7790}));
  // Damaged positions and ratios saturate instead of overflowing.
  EXPECT_EQ(CanvasToScreen({INT_MIN, INT_MAX}, INT_MAX, 65536, 1), (ScreenPoint{INT_MAX, INT_MAX}));
  EXPECT_EQ(MulDivSaturated(5, 3, 0), 0);
  EXPECT_EQ(TruncateToInt(std::nan("")), 0);
  EXPECT_EQ(TruncateToInt(-1e300), INT_MIN);
  EXPECT_EQ(TruncateToInt(-2.7), -2);
}

TEST(Entities, RecordsCarryTheirFixedFields) {
  const ShapeBlock s = MakeShapeBlock(kShapeEllipse, 4, DrawStyle::Make(0, 1, 1));
  const auto* b = reinterpret_cast<const unsigned char*>(&s);
  EXPECT_EQ(b[32], 255);
  EXPECT_EQ(b[56], 6);
  EXPECT_EQ(s.minus255, -255);
  EXPECT_EQ(b[9], 1);   // weight index
  EXPECT_EQ(b[10], 1);  // pen colour
  EXPECT_EQ(b[11], kNoFill);

  // A long text is cut at 105 bytes without splitting a double-byte character.
  std::string longText(104, 'a');
  longText += "\xB5\xE3";  // one GBK character across the limit
  const TextBlock t = MakeTextBlock({1, 2}, 900, TextFont{}, Rgb{255, 0, 0}, longText);
  EXPECT_EQ(t.length, 104);
  EXPECT_EQ(t.text[104], 0);
  EXPECT_EQ(t.colour, 0x0000FFu);
  EXPECT_FLOAT_EQ(t.gap, 0.2f);
  EXPECT_STREQ(t.face, "\xCB\xCE\xCC\xE5");  // 宋体
}

}  // namespace
}  // namespace qp

namespace qp {
namespace {

TEST(TextLayout, AdvanceBoxAndHitTest) {
  // Two GBK characters, width 2 mm, gap 0.2 mm: 2 x (2 x 2 + 0.2) = 8.4 mm.
  EXPECT_DOUBLE_EQ(TextAdvanceMillimetres("\xB2\xE2\xC1\xBF", 2.0, 0.2), 8.4);
  // A lead byte followed by an ASCII byte counts as one single-width character.
  EXPECT_DOUBLE_EQ(TextAdvanceMillimetres("\xB2" "A1", 1.0, 0.0), 2.0);
  EXPECT_DOUBLE_EQ(TextAdvanceMillimetres("\xB2", 1.0, 0.0), 1.0);

  // A text reading west to east at 1:1000 (m = 1): its box runs east from the
  // reference point and hangs south of it.
  TextFont font{.face = {}, .height = 3.0f, .width = 1.5f, .gap = 0.5f};
  const TextBlock t = MakeTextBlock({100, 200}, 900, font, Rgb{}, "AB");
  const TextBox box = TextBoxOf(t, 1.0);
  EXPECT_NEAR(box.corners[1].x, 100, 1e-9);
  EXPECT_NEAR(box.corners[1].y, 204, 1e-9);
  EXPECT_NEAR(box.corners[2].x, 97, 1e-9);

  MovableItemList items;
  items.AddText(MovableKind::PlaneName, 7, t, 1.0);
  items.AddSymbol(MovableKind::HeightPoint, 3, {98.5, 203}, 0.5);
  EXPECT_EQ(items.HitTest({99, 201}), 0);
  EXPECT_EQ(items.HitTest({98.6, 203.1}), 1);  // the symbol is on top
  EXPECT_EQ(items.HitTest({101, 201}), -1);    // north of the text
  EXPECT_EQ(items.Items()[0].index, 7);
}

}  // namespace
}  // namespace qp

#include "drawing/entity_list.h"

namespace qp {
namespace {

struct CountingSink : EntitySink {
  std::vector<std::string> seen;
  void Shape(const EntityHeader&, const ShapeBlock& b, std::span<const GroundPoint> p) override {
    seen.push_back("shape" + std::to_string(b.type) + ":" + std::to_string(p.size()));
  }
  void Text(const EntityHeader&, const TextBlock& t) override { seen.push_back(std::string(TextOf(t))); }
};

TEST(EntityList, ReplaysInOrderAndCullsToTheVisibleCanvas) {
  auto block = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*block);
  const SheetGeometry sheet = *SheetGeometryOf(*block);
  EntityList list(sheet);
  EntityEmitter out(list, sheet);
  const GroundPoint west[] = {{8100, 1610}, {8110, 1620}};  // near the south-west corner
  const GroundPoint east[] = {{8400, 2000}, {8410, 2010}, {8420, 2000}};
  out.Polyline(EntityCategory::Lines, DrawStyle::Make(0, 0, 0), west);
  out.Text(EntityCategory::Texts, {8420, 2000}, 900, TextFont{}, Rgb{}, "K7");
  out.Polygon(EntityCategory::Symbols, DrawStyle::Make(0, 1, 0, 15), east);
  ASSERT_EQ(list.Size(), 3u);

  CountingSink all;
  list.Replay(all);
  EXPECT_EQ(all.seen, (std::vector<std::string>{"shape0:2", "K7", "shape1:4"}));

  // Only the north-east part of the canvas is painted.
  const CanvasPoint ne = MapToCanvas(sheet, {8400, 2000});
  CountingSink part;
  list.Replay(part, CanvasBox{ne.row - 10, ne.row + 200, ne.column - 10, ne.column + 200});
  EXPECT_EQ(part.seen, (std::vector<std::string>{"K7", "shape1:4"}));
}

}  // namespace
}  // namespace qp

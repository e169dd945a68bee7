// What a text meets on a sheet: texts, point symbols, lines (each counted
// once however many of its pieces it crosses), the inner frame, and the
// movable texts left out of the index. At 1:1000 one paper mm is one metre,
// paper x east and y north.
#include "drawing/sheet_obstacles.h"

#include <gtest/gtest.h>

#include <vector>

namespace qp {
namespace {

TextBlock Name(GroundPoint topLeft, int chars) {
  return MakeTextBlock(topLeft, 900, TextFont{"", 3.0f, 1.5f, 0.2f}, Rgb{0, 0, 0}, std::string(chars, 'N'));
}

void Emit(SheetObstacles& sheet) {
  const auto text = MakeEntityHeader(EntityKind::Text, EntityCategory::Texts);
  sheet.Text(text, Name({100.0, 100.0}, 4));  // fixed: paper x 100..106.6, y 97..100
  sheet.Text(text, Name({100.0, 200.0}, 4));  // the movable one, left out
  // A point symbol: a 2 mm square round (50, 50).
  const GroundPoint square[] = {{51, 49}, {51, 51}, {49, 51}, {49, 49}, {51, 49}};
  sheet.Shape(MakeEntityHeader(EntityKind::Shape, EntityCategory::Symbols),
              MakeShapeBlock(kShapePolygon, 5, DrawStyle::Make(0, 0, 0)), square);
  // A long zig-zag line along paper y = 20, in many pieces.
  std::vector<GroundPoint> line;
  for (int k = 0; k <= 100; ++k) line.push_back({20.0 + (k % 2) * 0.1, 2.0 * k});
  sheet.Shape(MakeEntityHeader(EntityKind::Shape, EntityCategory::Lines),
              MakeShapeBlock(kShapePolyline, static_cast<int32_t>(line.size()), DrawStyle::Make(0, 0, 0)), line);
}

TEST(SheetObstacles, WhatATextMeets) {
  SheetObstacles sheet(1.0);
  Emit(sheet);
  ASSERT_EQ(sheet.Texts().size(), 2u);
  const int movable[] = {1};
  sheet.Index({0.0, 0.0, 300.0, 300.0}, movable, PaperBounds{0.0, 0.0, 250.0, 250.0});
  struct Case {
    GroundPoint topLeft;  // of a 4-character text
    bool texts, symbols;
    int lines;
    bool outside;
  } cases[] = {
      {{150.0, 150.0}, false, false, 0, false},  // free paper
      {{100.0, 103.3}, true, false, 0, false},   // half on the fixed text
      {{100.0, 200.0}, false, false, 0, false},  // on the movable text: not an obstacle
      {{52.0, 47.0}, false, true, 0, false},     // its lower edge over the symbol
      {{21.5, 30.0}, false, false, 1, false},    // across the line, many pieces, one line
      {{30.0, 248.0}, false, false, 0, true},    // beyond the inner frame's east edge
  };
  for (const Case& c : cases) {
    const OverlapCost cost = sheet.CostOf(*TextFootprintOf(Name(c.topLeft, 4), 1.0));
    SCOPED_TRACE(testing::Message() << c.topLeft.x << "," << c.topLeft.y);
    EXPECT_EQ(cost.texts > 0.0, c.texts);
    EXPECT_EQ(cost.symbols > 0.0, c.symbols);
    EXPECT_EQ(cost.lines, c.lines);
    EXPECT_EQ(cost.outside, c.outside);
    EXPECT_EQ(cost.Collides(), c.texts || c.symbols);
  }
  // Half on the fixed text: half its area, and the two overprint.
  const OverlapCost half = sheet.CostOf(*TextFootprintOf(Name({100.0, 103.3}, 4), 1.0));
  EXPECT_NEAR(half.texts, 0.5 + 10.0, 1e-9);
}

TEST(SheetObstacles, RotatedTextsShareAsTheCounterMeasures) {
  // The upright shortcut and the general clipping agree.
  const auto a = *TextFootprintOf(Name({100.0, 100.0}, 4), 1.0);
  for (const double dx : {0.0, 1.0, 3.3, 6.0}) {
    const auto b = *TextFootprintOf(Name({99.0, 100.0 + dx}, 4), 1.0);
    EXPECT_NEAR(FootprintShare(a, b), OverlapShare(a, b), 1e-9) << dx;
    const auto turned = *TextFootprintOf(
        MakeTextBlock({97.0, 100.0 + dx}, 0, TextFont{"", 3.0f, 1.5f, 0.2f}, Rgb{0, 0, 0}, "NNNN"), 1.0);
    EXPECT_NEAR(FootprintShare(a, turned), OverlapShare(a, turned), 1e-9) << dx;
  }
}

}  // namespace
}  // namespace qp

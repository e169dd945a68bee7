// The footprints texts are judged by, and the hand-placement marks kept
// beside a data file.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "common/binary_file.h"
#include "drawing/label_marks.h"
#include "drawing/text_footprint.h"
#include "support/test_files.h"

namespace qp {
namespace {

// A text of `chars` single-width characters at 1:1000 (m = 1 m per mm), font 3 x 1.5 mm, gap 0.2 mm.
TextBlock TextAt(GroundPoint ref, int direction, int chars) {
  return MakeTextBlock(ref, direction, TextFont{"", 3.0f, 1.5f, 0.2f}, Rgb{0, 0, 0}, std::string(chars, '8'));
}

TEST(TextFootprint, CoversTheGlyphsOnPaper) {
  // Four characters west to east: 4 x 1.7 - 0.2 = 6.6 mm long, 3 mm down from the top-left corner.
  const auto f = TextFootprintOf(TextAt({100.0, 200.0}, 900, 4), 1.0);
  ASSERT_TRUE(f);
  EXPECT_NEAR(f->minX, 200.0, 1e-6);
  EXPECT_NEAR(f->maxX, 206.6, 1e-6);
  EXPECT_NEAR(f->minY, 97.0, 1e-6);
  EXPECT_NEAR(f->maxY, 100.0, 1e-6);
  EXPECT_NEAR(f->area, 6.6 * 3.0, 1e-6);
  EXPECT_FALSE(TextFootprintOf(TextAt({0, 0}, 900, 0), 1.0));
}

TEST(TextFootprint, OverprintAndSegments) {
  const auto a = *TextFootprintOf(TextAt({100.0, 200.0}, 900, 4), 1.0);
  struct Case {
    GroundPoint ref;
    int direction;
    double share;
  } cases[] = {
      {{100.0, 200.0}, 900, 1.0},          // on top of it
      {{100.0, 203.3}, 900, 0.5},          // half along
      {{98.5, 200.0}, 900, 0.5},           // half a height down
      {{100.0, 206.6}, 900, 0.0},          // touching end to start
      {{103.0, 200.0}, 900, 0.0},          // just above
      {{97.0, 203.3}, 0, 3.0 * 3.0 / (6.6 * 3.0)},  // running north across its east half
  };
  for (const Case& c : cases) {
    const auto b = *TextFootprintOf(TextAt(c.ref, c.direction, 4), 1.0);
    EXPECT_NEAR(OverlapShare(a, b), c.share, 1e-6) << c.ref.x << "," << c.ref.y << " dir " << c.direction;
    EXPECT_EQ(Overprint(a, b), c.share > kOverprintShare);
  }
  EXPECT_TRUE(SegmentMeets({190.0, 98.0}, {210.0, 99.0}, a));   // through it
  EXPECT_TRUE(SegmentMeets({203.0, 98.0}, {203.0, 98.5}, a));   // wholly inside
  EXPECT_FALSE(SegmentMeets({190.0, 101.0}, {210.0, 101.0}, a));  // above it
  EXPECT_FALSE(SegmentMeets({195.0, 90.0}, {199.0, 110.0}, a));   // west of it
}

TEST(LabelMarks, RoundTripStaleMarksAndDamage) {
  testing::TempDir dir;
  const std::string data = dir.File("NET.NAP");
  EXPECT_TRUE(ReadLabelMarks(data).Empty());

  LabelMarks marks;
  marks.declutter = true;
  MarkPlacedByHand(marks, MovableKind::PlaneName, 3, {1.25f, -0.1f});
  MarkPlacedByHand(marks, MovableKind::LoopLabel, 7, {3812.123456789, 501.5});
  MarkPlacedByHand(marks, MovableKind::PlaneName, 3, {2.5, 0.0});  // moved again: one mark
  ASSERT_TRUE(WriteLabelMarks(data, marks));
  const LabelMarks back = ReadLabelMarks(data);
  EXPECT_TRUE(back.declutter);
  ASSERT_EQ(back.handPlaced.size(), 2u);
  EXPECT_TRUE(IsPlacedByHand(back, MovableKind::PlaneName, 3, {2.5, 0.0}));
  EXPECT_TRUE(IsPlacedByHand(back, MovableKind::LoopLabel, 7, {3812.123456789, 501.5}));
  // The text has moved since (recomputed, moved elsewhere): the mark no longer holds.
  EXPECT_FALSE(IsPlacedByHand(back, MovableKind::PlaneName, 3, {0.0, 0.0}));
  EXPECT_FALSE(IsPlacedByHand(back, MovableKind::HeightName, 3, {2.5, 0.0}));

  // Damaged lines are skipped, the rest is kept; a file of another kind reads as none.
  testing::WriteBytes(LabelMarksPath(data),
                      "# QuorvexPlus label marks 1\nhand loop x 1 2\nhand loop 2 nan 1\nhand name 1 1 1\n"
                      "hand difference 4 10 20\ngarbage\n");
  const LabelMarks damaged = ReadLabelMarks(data);
  EXPECT_FALSE(damaged.declutter);
  ASSERT_EQ(damaged.handPlaced.size(), 1u);
  EXPECT_TRUE(IsPlacedByHand(damaged, MovableKind::DifferenceText, 4, {10.0, 20.0}));
  testing::WriteBytes(LabelMarksPath(data), "declutter 1\n");
  EXPECT_TRUE(ReadLabelMarks(data).Empty());

  // Nothing to keep: the file goes.
  ASSERT_TRUE(WriteLabelMarks(data, LabelMarks{}));
  EXPECT_FALSE(FileExists(LabelMarksPath(data)));
}

TEST(LabelMarks, StoredValuesStayWithinTheTables) {
  PlaneModel plane;
  plane.points.resize(2);
  plane.points[1].labelDx = 1.5f;
  plane.traverses.resize(1);
  plane.traverses[0].labelY = 7.0;
  HeightModel height;
  height.points.resize(1);
  height.points[0] = {"A", HeightPointRole::Known, 0.0, 0.0f, 10.0, 20.0, 0.5f, -0.5f};
  height.differences.resize(1);
  height.differences[0].curve[kCurvePointCount / 2][0] = 30.0;
  height.loops.resize(1);
  height.loops[0].labelX = 40.0;
  const struct {
    bool plane;
    MovableKind kind;
    int index;
    std::optional<GroundPoint> value;
  } cases[] = {
      {true, MovableKind::PlaneName, 1, GroundPoint{1.5, 0.0}},
      {true, MovableKind::PlaneName, 2, std::nullopt},
      {true, MovableKind::PlaneName, -1, std::nullopt},
      {true, MovableKind::TraverseLabel, 0, GroundPoint{0.0, 7.0}},
      {true, MovableKind::TraverseLabel, 1, std::nullopt},
      {true, MovableKind::HeightName, 0, std::nullopt},  // not a plane item
      {false, MovableKind::HeightName, 0, GroundPoint{0.5, -0.5}},
      {false, MovableKind::HeightPoint, 0, GroundPoint{10.0, 20.0}},
      {false, MovableKind::HeightPoint, 1, std::nullopt},
      {false, MovableKind::DifferenceText, 0, GroundPoint{30.0, 0.0}},
      {false, MovableKind::DifferenceText, 1, std::nullopt},
      {false, MovableKind::LoopLabel, 0, GroundPoint{40.0, 0.0}},
      {false, MovableKind::LoopLabel, -1, std::nullopt},
      {false, MovableKind::PlaneName, 0, std::nullopt},
  };
  for (const auto& c : cases) {
    const auto got = c.plane ? StoredLabelValue(plane, c.kind, c.index) : StoredLabelValue(height, c.kind, c.index);
    ASSERT_EQ(got.has_value(), c.value.has_value()) << static_cast<int>(c.kind) << " " << c.index;
    if (got) {
      EXPECT_EQ(got->x, c.value->x);
      EXPECT_EQ(got->y, c.value->y);
    }
  }
}

}  // namespace
}  // namespace qp

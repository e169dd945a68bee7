// The height diagram after a network has grown by a point, computed as the
// command line and the desktop compute it: what the user arranged by hand
// stays, the new point takes a free place; an untouched diagram is laid out
// by default as before.
#include "height/height_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

#include "cli/height_command.h"
#include "common/name_slot.h"
#include "common/settings_block.h"
#include "drawing/height_item_moves.h"
#include "height/height_file.h"
#include "workflow/height_workflow.h"
#include "support/command_input.h"
#include "support/height_record_layout.h"
#include "support/record_drawing.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

// A, B, C, D with two lines from B to C and a triangle A, C, D.
const std::string kNetwork =
    "[设置]\n解算方式 = 1\n网形类别 = 0\n[已知高程点]\nA,100\n"
    "[高差观测值]\nA,B,1.001,1\nB,C,1.002,1\nC,A,-2.001,1\nB,C,1.000,1\nC,D,0.5,1\nD,A,-2.5,1\n";
// The same network with a known point K more (so every other point moves
// one place down the point list) and D→A observed the other way round.
const std::string kGrown =
    "[设置]\n解算方式 = 1\n网形类别 = 0\n[已知高程点]\nA,100\nK,99\n"
    "[高差观测值]\nA,B,1.001,1\nB,C,1.002,1\nC,A,-2.001,1\nB,C,1.000,1\nC,D,0.5,1\nA,D,2.5,1\nK,D,3.5,1\n";

struct HeightLayout : ::testing::Test {
  testing::TempDir dir;
  testing::ScriptedPlatform platform;
  std::string nah = dir.File("NET.NAH");
  SettingsBlock settings;
  std::unique_ptr<HeightNetwork> net = std::make_unique<HeightNetwork>();

  void Compute(const std::string& input) {
    ASSERT_EQ(RunHeightCommand(testing::OptionsWithInput(dir, nah, input, false), platform), 0)
        << platform.LastMessageUtf8();
    ASSERT_TRUE(ReadHeightFile(nah, settings, *net));
  }
  int Point(const char* name) const {
    for (int p = 0; p < net->pointCount; ++p) {
      if (SlotText(net->pointName[p]) == name) return p;
    }
    return -1;
  }
  GroundPoint At(const char* name) const {
    const int p = Point(name);
    return p < 0 ? GroundPoint{NAN, NAN} : GroundPoint{net->diagramX[p], net->diagramY[p]};
  }
  // The curve of the occurrence-th line from `from` to `to`.
  int Line(const char* from, const char* to, int occurrence = 0) const {
    for (int i = 0; i < net->observationCount; ++i) {
      if (SlotText(net->from[i]) == from && SlotText(net->to[i]) == to && occurrence-- == 0) return i;
    }
    return -1;
  }
  void ExpectStraight(int line) const {
    ASSERT_GE(line, 0);
    EXPECT_TRUE(CurveIsStraight(net->curve[line])) << line;
  }
};

TEST_F(HeightLayout, WhatWasArrangedByHandSurvivesANewPoint) {
  Compute(kNetwork);
  // The user moves C, reshapes the second B→C line, C→D and D→A, moves D's
  // name and a closure text, and saves the drawing.
  const int c = Point("C"), d = Point("D");
  testing::MoveRecordItem(*net, MovableItem{MovableKind::HeightPoint, c, At("C")}, {8500.0, 16700.0}, 1.0);
  const GroundPoint bent[3] = {{8300, 16100}, {8400, 16300}, {8450, 16500}};
  for (int line : {Line("B", "C", 1), Line("C", "D"), Line("D", "A")}) testing::SetRecordCurve(*net, line, bent);
  net->labelOffsetX[d] = 2.0f;
  net->labelOffsetY[d] = -1.0f;
  ASSERT_GT(net->loopCount, 1);
  net->loops[1].labelX += 50.0;
  const LoopEntry movedLoop = net->loops[1];
  ASSERT_TRUE(WriteHeightFile(nah, settings, *net));
  const auto before = std::make_unique<HeightNetwork>(*net);
  const auto was = [&](const char* name) {
    for (int p = 0; p < before->pointCount; ++p) {
      if (SlotText(before->pointName[p]) == name) return GroundPoint{before->diagramX[p], before->diagramY[p]};
    }
    return GroundPoint{NAN, NAN};
  };
  const int keptLine = Line("B", "C", 1), keptCD = Line("C", "D");
  double keptCurve[kCurvePointCount][2], keptCurveCD[kCurvePointCount][2];
  std::memcpy(keptCurve, net->curve[keptLine], sizeof keptCurve);
  std::memcpy(keptCurveCD, net->curve[keptCD], sizeof keptCurveCD);

  Compute(kGrown);
  ASSERT_EQ(net->pointCount, 5);
  ASSERT_NE(Point("D"), d);  // the points moved down the list
  for (const char* name : {"A", "B", "C", "D"}) EXPECT_EQ(At(name), was(name)) << name;
  EXPECT_EQ(net->labelOffsetX[Point("D")], 2.0f);
  EXPECT_EQ(net->labelOffsetY[Point("D")], -1.0f);
  EXPECT_EQ(net->labelOffsetX[Point("K")], 0.0f);
  // The reshaped lines keep their shapes; the one observed the other way
  // round is a new line, straight like the new K→D and the untouched B→C.
  EXPECT_EQ(std::memcmp(net->curve[Line("B", "C", 1)], keptCurve, sizeof keptCurve), 0);
  EXPECT_EQ(std::memcmp(net->curve[Line("C", "D")], keptCurveCD, sizeof keptCurveCD), 0);
  for (int line : {Line("A", "D"), Line("K", "D"), Line("B", "C", 0)}) ExpectStraight(line);
  // The moved closure text of the same loop stays.
  bool found = false;
  for (int k = 0; k < net->loopCount; ++k) {
    const LoopEntry& e = net->loops[k];
    if (e.kind != movedLoop.kind || std::memcmp(e.names, movedLoop.names, sizeof e.names) != 0) continue;
    found = true;
    EXPECT_EQ(e.labelX, movedLoop.labelX);
    EXPECT_EQ(e.labelY, movedLoop.labelY);
  }
  EXPECT_TRUE(found);
  // K continues the default rows east of every point kept: on none of them.
  const GroundPoint k = At("K");
  EXPECT_TRUE(k.x == 8000.0 || k.x == 8200.0) << k.x;
  EXPECT_EQ(std::fmod(k.y - 16000.0, 200.0), 0.0) << k.y;
  for (const char* name : {"A", "B", "C", "D"}) EXPECT_GE(k.y - At(name).y, 200.0) << name;
}

TEST_F(HeightLayout, AnUntouchedDiagramIsLaidOutAfreshAsBefore) {
  Compute(kNetwork);
  Compute(kGrown);
  // Exactly the default layout: rows of two points in point-list order,
  // straight lines (the second B-C line bowed at the sheet's scale), closure
  // texts at the middle of their points.
  for (int p = 0; p < net->pointCount; ++p) {
    EXPECT_EQ(net->diagramX[p], 8000.0 + 200.0 * (p % 2)) << p;
    EXPECT_EQ(net->diagramY[p], 16000.0 + 200.0 * (p / 2)) << p;
  }
  auto laidOut = std::make_unique<HeightNetwork>(*net);
  testing::ApplyDefaultLayout(*laidOut, 256);
  testing::BowRepeatedLinesOf(*laidOut, settings.scale * 0.001);
  EXPECT_FALSE(CurveIsStraight(net->curve[Line("B", "C", 1)]));
  EXPECT_EQ(std::memcmp(laidOut.get(), net.get(), sizeof(HeightNetwork)), 0);
  EXPECT_FALSE(testing::ArrangedByHand(*net));
}

// Reciprocal trigonometric levelling: four lines between A and B, two each
// way, and one from B to C.
const std::string kReciprocal =
    "[设置]\n解算方式 = 1\n网形类别 = 1\n[已知高程点]\nA,100\n"
    "[高差观测值]\nA,B,1.001,1\nB,A,-1.002,1\nA,B,1.000,1\nB,A,-1.001,1\nB,C,0.5,1\n";

TEST_F(HeightLayout, RepeatedLinesBowApartAlternatingSidesAndFollowTheirPoints) {
  Compute(kReciprocal);
  const double step = 4.0 * settings.scale * 0.001;  // 4 mm on paper: twice the 2 mm number height
  // The middle control point's offset to the right of A->B, in bow steps.
  const auto offset = [&](int line) {
    const GroundPoint a = At("A"), b = At("B");
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const double mx = net->curve[line][2][0] - (a.x + b.x) / 2, my = net->curve[line][2][1] - (a.y + b.y) / 2;
    return (-mx * (b.y - a.y) + my * (b.x - a.x)) / length / step;
  };
  const struct {
    int line;
    double steps;
  } cases[] = {{Line("A", "B", 0), 0}, {Line("B", "A", 0), 1}, {Line("A", "B", 1), -1}, {Line("B", "A", 1), 2}};
  for (const auto& c : cases) {
    ASSERT_GE(c.line, 0);
    EXPECT_NEAR(offset(c.line), c.steps, 1e-9) << c.line;
    ASSERT_TRUE(DefaultCurveBow(net->curve[c.line]).has_value()) << c.line;
    // The quarter points three quarters as far out: a smooth bow.
    const double q = net->curve[c.line][1][0] - (net->curve[c.line][0][0] * 0.75 + net->curve[c.line][4][0] * 0.25);
    const double mid = net->curve[c.line][2][0] - (net->curve[c.line][0][0] + net->curve[c.line][4][0]) / 2;
    EXPECT_NEAR(q, 0.75 * mid, 1e-6) << c.line;
  }
  ExpectStraight(Line("B", "C"));
  // Bowed defaults are not the user's work: recomputing lays them out again.
  EXPECT_FALSE(testing::ArrangedByHand(*net));
  // A moved point takes its bowed lines along with their bows.
  const int bowed = Line("B", "A", 1);
  const double before = *DefaultCurveBow(net->curve[bowed]);
  testing::MoveRecordItem(*net, MovableItem{MovableKind::HeightPoint, Point("B"), At("B")}, {8900.0, 16900.0}, 1.0);
  EXPECT_EQ(net->curve[bowed][0][0], 8900.0);
  ASSERT_TRUE(DefaultCurveBow(net->curve[bowed]).has_value());
  EXPECT_NEAR(*DefaultCurveBow(net->curve[bowed]), before, 1e-9);
  // A reshaped line is no default one and is never bowed again.
  const GroundPoint bent[3] = {{8300, 16100}, {8400, 16300}, {8450, 16500}};
  testing::SetRecordCurve(*net, bowed, bent);
  EXPECT_FALSE(DefaultCurveBow(net->curve[bowed]).has_value());
  testing::BowRepeatedLinesOf(*net, settings.scale * 0.001);
  EXPECT_EQ(net->curve[bowed][2][0], 8400.0);
}

}  // namespace
}  // namespace qp

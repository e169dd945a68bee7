// The height network diagram: curves with arrows on their middle, the texts
// of every kind and mode on computed example networks, loop closures, the
// store-back of moved items and damaged records.
#include "drawing/height_diagram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "cli/height_command.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/settings_block.h"
#include "drawing/height_item_moves.h"
#include "drawing/text_layout.h"
#include "height/height_file.h"
#include "height/height_model_record.h"
#include "workflow/height_workflow.h"
#include "support/command_input.h"
#include "support/height_record_layout.h"
#include "support/record_drawing.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

constexpr double kPi = std::numbers::pi;

struct Recorder : EntitySink {
  struct Figure {
    int type, category;
    DrawStyle style;
    std::vector<GroundPoint> points;
  };
  std::vector<Figure> shapes;
  std::vector<TextBlock> texts;
  std::string order;  // 's' shape, 't' text
  void Shape(const EntityHeader& h, const ShapeBlock& b, std::span<const GroundPoint> p) override {
    shapes.push_back({b.type, h.category, DrawStyle{b.style}, {p.begin(), p.end()}});
    order += 's';
  }
  void Text(const EntityHeader&, const TextBlock& b) override {
    texts.push_back(b);
    order += 't';
  }
  std::vector<std::string> Strings() const {
    std::vector<std::string> out;
    for (const TextBlock& t : texts) out.push_back(GbkToUtf8(TextOf(t)));
    return out;
  }
};

SheetGeometry Sheet() {
  SheetGeometry s;
  s.scale = 1000.0;  // m = 1
  s.resolution = 200.f;
  s.cornerX = 7000.0;
  s.cornerY = 15000.0;
  s.canvasHeightPx = 30000;
  s.canvasWidthPx = 30000;
  return s;
}

Recorder Draw(const HeightNetwork& net, MovableItemList* items = nullptr) {
  Recorder r;
  EntityEmitter out(r, Sheet());
  DrawHeightDiagram(out, HeightModelFromRecord(net), DrawContext{}, items);
  return r;
}

// A by-hand network of three points (A known) and two height differences:
// A→B straight eastwards, B→C bent; a triangle loop A, B, C.
std::unique_ptr<HeightNetwork> SmallNetwork() {
  auto net = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*net, "net.NAH");
  net->mode = kHeightAdjust;
  const char* names[] = {"A", "B", "C"};
  const GroundPoint at[] = {{8000, 16000}, {8000, 16200}, {8200, 16200}};
  for (int p = 0; p < 3; ++p) {
    SetSlotText(net->pointName[p], names[p]);
    net->diagramX[p] = at[p].x;
    net->diagramY[p] = at[p].y;
    net->height[p] = 100.0 + p;
  }
  net->pointCount = 3;
  net->knownCount = 1;
  net->observationCount = 2;
  SetSlotText(net->from[0], "A");
  SetSlotText(net->to[0], "B");
  SetSlotText(net->from[1], "B");
  SetSlotText(net->to[1], "C");
  net->observed[0] = 1.0;
  net->observed[1] = 1.0;
  net->loopCount = 1;
  LoopEntry& loop = net->loops[0];
  loop.kind = kLoopTriangle;
  for (int s = 0; s < 3; ++s) SetSlotText(loop.names[s], names[s]);
  loop.sections[0] = 2, loop.sections[1] = 1, loop.sections[2] = 1;
  loop.drawFlag = 1;
  testing::ApplyDefaultLayout(*net, 128);  // straight curves, the label at the centroid
  // Bend B→C: its middle control point 40 m east of the chord.
  net->curve[1][2][1] += 40.0;
  return net;
}

TEST(HeightDiagram, KindZeroCurvesWithArrowsOnTheirMiddleSymbolsAndPlainNames) {
  const auto net = SmallNetwork();
  const Recorder r = Draw(*net);
  // Two curves each with its arrow, then A's circle and cross, B's and C's circles, then three names.
  EXPECT_EQ(r.order, "sssssssssttt");
  ASSERT_EQ(r.shapes.size(), 9u);
  for (int i : {0, 2}) {
    EXPECT_EQ(r.shapes[i].type, kShapeSpline);
    EXPECT_EQ(r.shapes[i].category, 2);
    EXPECT_EQ(r.shapes[i].style, DrawStyle::Make(0, 0, 0));
    EXPECT_EQ(r.shapes[i].points.size(), 5u);
    EXPECT_EQ(r.shapes[i + 1].points.size(), 3u);
    EXPECT_EQ(r.shapes[i + 1].style.WeightIndex(), 1);
  }
  EXPECT_EQ(r.shapes[4].type, kShapeEllipse);
  EXPECT_EQ(r.shapes[4].style, DrawStyle::Make(0, 1, 0, kWhite));
  EXPECT_EQ(r.shapes[4].points[0].x, 8001.5);  // known: radius 1.5 mm
  EXPECT_EQ(r.shapes[5].type, kShapePolyline);  // the cross
  EXPECT_EQ(r.shapes[7].points[0].x, 8001.0);  // unknown: radius 1 mm
  EXPECT_EQ(r.Strings(), (std::vector<std::string>{"A", "B", "C"}));
  // Names: font height + 2 mm north, centred on the point.
  EXPECT_DOUBLE_EQ(r.texts[0].x, 8000.0 + 3.0 + 2.0);
  EXPECT_DOUBLE_EQ(r.texts[0].y, 16000.0 - 1.5 / 2);
  EXPECT_EQ(r.texts[0].direction, 900);

  // Straight A→B eastwards: the V's tip at the middle of control points 3 and 4.
  const std::vector<GroundPoint>& v = r.shapes[1].points;
  EXPECT_EQ(v[1], (GroundPoint{8000.0, 16125.0}));
  for (int arm : {0, 2}) {
    EXPECT_NEAR(std::hypot(v[arm].x - v[1].x, v[arm].y - v[1].y), 3.0, 1e-9);
    EXPECT_NEAR(v[1].y - v[arm].y, 3.0 * std::cos(0.1 * kPi), 1e-9);  // behind the tip
  }
  EXPECT_NEAR(v[0].x + v[2].x, 2 * 8000.0, 1e-9);
  // Bent B→C (northwards): the tip near the middle control point, pointing north.
  const std::vector<GroundPoint>& w = r.shapes[3].points;
  EXPECT_NEAR(w[1].x, net->curve[1][2][0], 0.5);
  EXPECT_NEAR(w[1].y, net->curve[1][2][1], 0.5);
  for (int arm : {0, 2}) EXPECT_GT(w[1].x - w[arm].x, 2.5);

}

// The record of an example network computed by the command-line driver.
std::unique_ptr<HeightNetwork> Computed(const std::string& example) {
  testing::TempDir dir;
  testing::ScriptedPlatform platform;
  const std::string nah = dir.File("NET.NAH");
  CommandOptions options;
  options.dataPath = nah;
  options.inputPath = testing::SourcePath("examples/height/" + example + ".txt");
  EXPECT_EQ(RunHeightCommand(options, platform), 0) << platform.LastMessageUtf8();
  auto net = std::make_unique<HeightNetwork>();
  SettingsBlock settings;
  EXPECT_TRUE(ReadHeightFile(nah, settings, *net));
  return net;
}

int IndexOf(const HeightNetwork& net, const char* name) {
  for (int p = 0; p < net.pointCount; ++p) {
    if (SlotText(net.pointName[p]) == name) return p;
  }
  return -1;
}

TEST(HeightDiagram, TextsOfEveryKindAndMode) {
  const auto adjusted = Computed("levelling");
  const auto designed = Computed("estimate");
  ASSERT_EQ(adjusted->mode, kHeightAdjust);
  ASSERT_EQ(designed->mode, kHeightEstimate);
  HeightNetwork& a = *adjusted;
  HeightNetwork& e = *designed;
  const int z1 = IndexOf(a, "Z1"), bm1 = IndexOf(a, "BM1"), n1 = IndexOf(e, "N1"), a1 = IndexOf(e, "A1");
  ASSERT_GE(z1, 0);
  ASSERT_GE(n1, 0);
  const double d0 = a.height[z1] - a.height[bm1];  // BM1→Z1 adjusted
  const double ep = e.pairDifference[0];
  struct Case {
    HeightNetwork* net;
    int kind;
    std::string title, firstObservation, known, unknown, firstPair;
  };
  const Case cases[] = {
      {&a, 1, "平差计算:高差观测值[Mo=" + Format("%-.2f", a.sigma0) + "]", "   1.4571(1.20)", "BM1(52.3140)", "Z1", ""},
      {&a, 2, "平差计算:高差平差值误差[Mo=" + Format("%-.2f", a.sigma0) + "]",
       Format("%9.4f", d0) + "±" + Format("%.1fmm", DifferenceError(a, 0)), "BM1",
       Format("Z1(%-.1f)", a.heightError[z1]),
       Format("%9.4f", a.pairDifference[0]) + "±" + Format("%.1fmm", a.pairError[0])},
      {&a, 3, "平差计算:高差平差值[Mo=" + Format("%-.2f", a.sigma0) + "]", Format("%9.4f", d0), "BM1(52.3140)",
       Format("Z1(%-.4f)", a.height[z1]), Format("%9.4f", a.pairDifference[0])},
      {&e, 0, "精度估算:高程控制网网图", "", "A1", "N1", ""},
      {&e, 1, "精度估算:高差观测值[Mo=" + Format("%-.2f", e.sigma0) + "]", "   2.3(1.50)", "A1(40.0000)", "N1", ""},
      {&e, 2, "精度估算:高差平差值误差[Mo=" + Format("%-.2f", e.sigma0) + "]",
       "   2.3±" + Format("%.1fmm", DifferenceError(e, 0)), "A1", Format("N1(%-.1f)", e.heightError[n1]),
       Format("%6.1f", ep) + "±" + Format("%.1fmm", e.pairError[0])},
      {&e, 3, "精度估算:高差平差值[Mo=" + Format("%-.2f", e.sigma0) + "]",
       "   2.3±" + Format("%.1fmm", DifferenceError(e, 0)), Format("A1(%-.1f)", e.height[a1]),
       Format("N1(%-.1f)", e.height[n1]), Format("%6.1f", ep) + "±" + Format("%.1fmm", e.pairError[0])},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    HeightNetwork& net = *c.net;
    net.diagramKind = c.kind;
    EXPECT_EQ(GbkToUtf8(BuildHeightDiagramTitle(HeightModelFromRecord(net))), c.title);
    const Recorder r = Draw(net);
    const std::vector<std::string> s = r.Strings();
    const int observations = c.kind == 0 ? 0 : net.observationCount;
    int loops = 0;
    for (int k = 0; k < net.loopCount; ++k) loops += net.loops[k].drawFlag != 0 && c.kind == 1 && net.mode == 1;
    const int pairs = c.kind >= 2 ? net.pairCount : 0;
    ASSERT_EQ(static_cast<int>(s.size()), observations + loops + pairs + net.pointCount);
    if (observations > 0) {
      EXPECT_EQ(s[0], c.firstObservation);
    }
    if (pairs > 0) {
      EXPECT_EQ(s[observations + loops], c.firstPair);
    }
    const int first = c.net == &a ? bm1 : a1, second = c.net == &a ? z1 : n1;
    EXPECT_EQ(s[s.size() - net.pointCount + first], c.known);
    EXPECT_EQ(s[s.size() - net.pointCount + second], c.unknown);
    // Every observation text is centred (by length x width) on its curve's
    // middle control point, never upside down, its near edge 1 mm off the
    // line or one to three text heights further out, on either side.
    for (int i = 0; i < observations; ++i) {
      const TextBlock& t = r.texts[i];
      const TextBox box = TextBoxOf(t, 1.0);
      const GroundPoint foot{(box.corners[2].x + box.corners[3].x) / 2, (box.corners[2].y + box.corners[3].y) / 2};
      const double dir = t.direction * kPi / 1800.0;
      const double dx = foot.x - net.curve[i][2][0], dy = foot.y - net.curve[i][2][1];
      const double along = dx * std::cos(dir) + dy * std::sin(dir);
      const double up = dx * std::cos(dir - kPi / 2) + dy * std::sin(dir - kPi / 2);  // towards the text's top
      EXPECT_NEAR(along, (TextAdvanceMillimetres(TextOf(t), t.width, t.gap) - t.length * t.width) / 2, 1e-6);
      const double near = up > 0 ? up : -(up + t.height);
      const double rows = (near - 1.0) / t.height;
      EXPECT_NEAR(rows, std::round(rows), 1e-6) << up;
      EXPECT_GE(rows, -1e-9);
      EXPECT_LE(rows, 3 + 1e-9);
      EXPECT_LE(t.direction, 1800);
    }
  }
}

TEST(HeightDiagram, LoopClosuresOnlyFlaggedWithSignRule) {
  const auto net = SmallNetwork();
  net->diagramKind = 1;
  net->loopCount = 4;
  const float closures[] = {0.0f, 1.234f, -2.5f, -0.0f};
  for (int k = 0; k < 4; ++k) {
    net->loops[k] = net->loops[0];
    net->loops[k].closure = closures[k];
    net->loops[k].labelX = 8100.0 + k;
  }
  net->loops[2].drawFlag = 0;
  const Recorder r = Draw(*net);
  std::vector<std::string> loops;
  for (const TextBlock& t : r.texts) {
    if (t.x >= 8100.0 && t.x < 8104.0 && t.direction == 900) loops.push_back(GbkToUtf8(TextOf(t)));
  }
  EXPECT_EQ(loops, (std::vector<std::string>{"0.00(4)", "+1.23(4)", "0.00(4)"}));
  net->mode = kHeightEstimate;  // estimating: no closures
  EXPECT_EQ(Draw(*net).texts.size(), 2u + 3u);  // observation texts and names only
}

TEST(HeightDiagram, MovedItemsAreStoredBack) {
  auto net = SmallNetwork();
  net->diagramKind = 1;
  MovableItemList items;
  Draw(*net, &items);
  auto find = [&](MovableKind kind, int index) {
    for (const MovableItem& it : items.Items()) {
      if (it.kind == kind && it.index == index) return it;
    }
    ADD_FAILURE() << "no item";
    return MovableItem{};
  };
  // The list matches the drawing: C's symbol is hit at its centre.
  EXPECT_EQ(items.Items()[items.HitTest({8200.0, 16200.0})].kind, MovableKind::HeightPoint);

  // Moving C re-places the triangle's label and keeps the bent curve attached.
  const double bentY = net->curve[1][2][1];
  testing::MoveRecordItem(*net, find(MovableKind::HeightPoint, 2), {8290.0, 16230.0}, 1.0);
  EXPECT_EQ(net->diagramX[2], 8290.0);
  EXPECT_DOUBLE_EQ(net->loops[0].labelX, (8000.0 + 8000.0 + 8290.0) / 3);
  EXPECT_DOUBLE_EQ(net->loops[0].labelY, (16000.0 + 16200.0 + 16230.0) / 3);
  EXPECT_EQ(net->curve[1][4][0], 8290.0);
  EXPECT_EQ(net->curve[1][2][1], bentY);
  // Moving B drags the straight A→B along as a straight line.
  testing::MoveRecordItem(*net, find(MovableKind::HeightPoint, 1), {8040.0, 16200.0}, 1.0);
  EXPECT_EQ(net->curve[0][2][0], 8020.0);
  EXPECT_EQ(net->curve[1][0][0], 8040.0);

  const MovableItem name = find(MovableKind::HeightName, 0);
  testing::MoveRecordItem(*net, name, {name.reference.x + 4.0, name.reference.y - 2.0}, 2.0);
  EXPECT_FLOAT_EQ(net->labelOffsetX[0], 2.0f);
  EXPECT_FLOAT_EQ(net->labelOffsetY[0], -1.0f);

  const MovableItem loop = find(MovableKind::LoopLabel, 0);
  testing::MoveRecordItem(*net, loop, {8500.0, 16500.0}, 1.0);
  EXPECT_EQ(net->loops[0].labelX, 8500.0);

  const MovableItem text = find(MovableKind::DifferenceText, 0);
  testing::MoveRecordItem(*net, text, {text.reference.x + 10.0, text.reference.y}, 1.0);
  EXPECT_EQ(net->curve[0][1][0], 8010.0 + 10.0);
  EXPECT_EQ(net->curve[0][0][0], 8000.0);  // the ends stay on their points

  const GroundPoint interior[3] = {{1, 2}, {3, 4}, {5, std::nan("")}};
  testing::SetRecordCurve(*net, 0, interior);  // refused: not finite
  EXPECT_EQ(net->curve[0][3][1], 16150.0);
  const GroundPoint good[3] = {{1, 2}, {3, 4}, {5, 6}};
  testing::SetRecordCurve(*net, 0, good);
  EXPECT_EQ(net->curve[0][3][1], 6.0);
}

TEST(HeightDiagram, DefaultLayoutInRowsWithLabelsAtTheMiddle) {
  auto net = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*net, "net.NAH");
  net->pointCount = 5;  // rows of c = 2
  for (int p = 0; p < 5; ++p) SetSlotText(net->pointName[p], Format("P%d", p));
  net->loopCount = 2;
  net->loops[0].kind = kLoopKnownLine;  // P0, P3: the midpoint
  SetSlotText(net->loops[0].names[0], "P0");
  SetSlotText(net->loops[0].names[1], "P3");
  net->loops[1].kind = kLoopQuadrilateral;  // P1..P4: the centroid
  for (int s = 0; s < 4; ++s) SetSlotText(net->loops[1].names[s], Format("P%d", s + 1));
  testing::ApplyDefaultLayout(*net, 256);
  const GroundPoint at[] = {{8000, 16000}, {8200, 16000}, {8000, 16200}, {8200, 16200}, {8000, 16400}};
  for (int p = 0; p < 5; ++p) EXPECT_EQ((GroundPoint{net->diagramX[p], net->diagramY[p]}), at[p]);
  EXPECT_EQ((GroundPoint{net->loops[0].labelX, net->loops[0].labelY}), (GroundPoint{8100, 16100}));
  EXPECT_EQ((GroundPoint{net->loops[1].labelX, net->loops[1].labelY}), (GroundPoint{8100, 16200}));
}

TEST(HeightDiagram, DamagedRecordsDrawWithinBounds) {
  auto net = SmallNetwork();
  net->diagramKind = 99;  // taken as the last kind
  net->numberFontHeight = std::nanf("");
  net->textFontWidth = -3.0f;
  net->labelOffsetX[0] = 1e30f;
  net->labelOffsetY[1] = std::nanf("");
  net->curve[0][1][0] = std::nan("");  // drawn straight between its points
  net->diagramX[2] = std::nan("");     // C is not drawn; B→C has no finite ends but keeps its curve
  net->loops[0].closure = std::nanf("");
  Recorder r = Draw(*net);
  EXPECT_EQ(GbkToUtf8(BuildHeightDiagramTitle(HeightModelFromRecord(*net))), "平差计算:高差平差值[Mo=1.00]");
  EXPECT_EQ(r.shapes[0].points[1], (GroundPoint{8000.0, 16050.0}));
  for (const TextBlock& t : r.texts) {
    EXPECT_TRUE(std::isfinite(t.x) && std::isfinite(t.y));
    EXPECT_EQ(t.height, t.height);
    EXPECT_GT(t.width, 0.0f);
    EXPECT_LT(std::fabs(t.x - 8100.0), 2000.0);  // the offset kept within a metre of paper
  }
  // Counts and capacities far beyond the tables.
  net->pointCount = 1 << 30;
  net->observationCount = -5;
  net->loopCount = 1 << 30;
  net->pairCount = 1 << 30;
  net->knownCount = 1 << 30;
  net->capacities[kCapacityPoints] = -1;
  r = Draw(*net);
  EXPECT_TRUE(r.shapes.empty() && r.texts.empty());
  net->capacities[kCapacityPoints] = 1 << 30;
  r = Draw(*net);
  EXPECT_LE(r.shapes.size(), 3u * kMaxHeightPoints);
  testing::MoveRecordItem(*net, MovableItem{MovableKind::HeightPoint, 1 << 30, {}, {}}, {1, 1}, 1.0);
  testing::MoveRecordItem(*net, MovableItem{MovableKind::LoopLabel, -1, {}, {}}, {1, 1}, 1.0);
}

}  // namespace
}  // namespace qp

// The plane diagram against geometry worked out here from the record's
// results: ellipse corners and axes, side errors and annotations with their
// places, side kinds, the breakthrough warning, ellipse scale and title,
// moved texts, and damaged records.
#include "drawing/plane_diagram.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "cli/plane_command.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "drawing/diagram_kinds.h"
#include "drawing/text_layout.h"
#include "geodesy/angles.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "plane/plane_network.h"
#include "workflow/plane_workflow.h"
#include "support/command_input.h"
#include "support/record_drawing.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ChangeLayout;
using testing::ScriptedPlatform;

struct Entity {
  bool isText = false;
  int category = 0;
  ShapeBlock shape{};
  std::vector<GroundPoint> points;
  TextBlock text{};
  std::string Utf8() const { return GbkToUtf8(TextOf(text)); }
};

class Recorder : public EntitySink {
 public:
  void Shape(const EntityHeader& h, const ShapeBlock& b, std::span<const GroundPoint> p) override {
    all.push_back(Entity{false, h.category, b, {p.begin(), p.end()}, {}});
  }
  void Text(const EntityHeader& h, const TextBlock& b) override { all.push_back(Entity{true, h.category, {}, {}, b}); }
  std::vector<Entity> all;
};

// Everything drawn, in order, with one paper millimetre `m` ground metres.
std::vector<Entity> Draw(const PlaneNetwork& net, double m, MovableItemList* items = nullptr) {
  SheetGeometry sheet;
  sheet.scale = m * 1000;
  Recorder rec;
  EntityEmitter out(rec, sheet);
  DrawPlaneDiagram(out, PlaneModelFromRecord(net), DrawContext{}, items);
  return rec.all;
}
// The ellipse scale worked out and kept in the record, as the preparation does.
double EllipseScaleOf(PlaneNetwork& net) {
  return ChangeLayout(net, [](PlaneModel& model) { return ComputeEllipseScale(model); });
}
void KeepTraverseLabelsOf(PlaneNetwork& net, const PlaneNetwork& before) {
  ChangeLayout(net, [&](PlaneModel& model) { KeepTraverseLabels(model, PlaneModelFromRecord(before)); });
}

std::vector<const Entity*> Only(const std::vector<Entity>& all, bool texts, int shapeType = -1) {
  std::vector<const Entity*> out;
  for (const Entity& e : all)
    if (e.isText == texts && (texts || e.shape.type == shapeType)) out.push_back(&e);
  return out;
}

// Azimuth of p1 -> p2 turned to read left to right.
double ReadableAzimuth(GroundPoint a, GroundPoint b) {
  const double t = std::atan2(b.y - a.y, b.x - a.x);
  return t < 0 ? t + kPi : t;
}
void ExpectNear(GroundPoint got, GroundPoint want, const std::string& what) {
  EXPECT_NEAR(got.x, want.x, 1e-6) << what;
  EXPECT_NEAR(got.y, want.y, 1e-6) << what;
}

struct Pt {
  const char* name;
  double x, y;
};
// A network built by hand, known points first; sides and pairs as name pairs.
std::unique_ptr<PlaneNetwork> Network(int calcMode, std::initializer_list<Pt> points, int known) {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "");
  net->calcMode = calcMode;
  for (const Pt& p : points) {
    SetSlotText(net->pointName[net->pointCount], Gbk(p.name));
    net->x[net->pointCount] = p.x;
    net->y[net->pointCount++] = p.y;
  }
  net->knownCount = known;
  return net;
}
void AddSide(PlaneNetwork& net, const char* from, const char* to, int symbol = 0) {
  SetSlotText(net.sideFrom[net.sideCount], from);
  SetSlotText(net.sideTo[net.sideCount], to);
  net.sideSymbol[net.sideCount++] = static_cast<uint8_t>(symbol);
}
void AddPair(PlaneNetwork& net, const char* first, const char* second) {
  SetSlotText(net.pairFirst[net.precisionPairCount], first);
  SetSlotText(net.pairSecond[net.precisionPairCount++], second);
}

TEST(PlaneDiagram, AdjustedNetworkEllipsesAndSideErrorsFollowTheResults) {
  testing::TempDir dir;
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAP");
  options.inputPath = testing::SourcePath("examples/plane/triangulation.txt");
  ASSERT_EQ(RunPlaneCommand(options, platform), 0) << platform.LastMessageUtf8();
  auto net = std::make_unique<PlaneNetwork>();
  SettingsBlock settings;
  ASSERT_TRUE(ReadWritePlaneFile(options.dataPath, FileDirection::Read, settings, *net));
  const double k = EllipseScaleOf(*net), m = 25.0, h = net->numberFontHeight;
  net->displayMode = 3;

  // What the drawing must hold, worked out from E, F, Q and the coordinates:
  // ellipse corners, major axes 2.5 mm beyond the ellipse, side-error texts.
  std::vector<std::array<GroundPoint, 4>> ellipses;
  std::vector<std::array<GroundPoint, 2>> axes;
  std::vector<std::pair<GroundPoint, std::string>> texts;
  const auto ellipse = [&](GroundPoint c, double e, double f, double q) {
    const double a = e / k * m * 10, b = f / k * m * 10, phi = DmsToRadians(q);
    const GroundPoint u{std::cos(phi), std::sin(phi)}, v{-std::sin(phi), std::cos(phi)};
    ellipses.push_back({GroundPoint{c.x - a * u.x + b * v.x, c.y - a * u.y + b * v.y},
                        {c.x - a * u.x - b * v.x, c.y - a * u.y - b * v.y},
                        {c.x + a * u.x - b * v.x, c.y + a * u.y - b * v.y},
                        {c.x + a * u.x + b * v.x, c.y + a * u.y + b * v.y}});
    return std::array<GroundPoint, 2>{Along(c, phi, -(a + 2.5 * m)), Along(c, phi, a + 2.5 * m)};
  };
  const auto index = [&](const char* slot) {
    int i = 0;
    while (i < net->pointCount && std::strncmp(net->pointName[i], slot, kNameSlotSize) != 0) ++i;
    return i;
  };
  const auto at = [&](int i) { return GroundPoint{net->x[i], net->y[i]}; };
  const auto relative = [&](GroundPoint p1, GroundPoint p2, double e, double f, double q) {
    const GroundPoint mid{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
    axes.push_back(ellipse(mid, e, f, q));
    const double alpha = ReadableAzimuth(p1, p2), d = alpha - DmsToRadians(q);
    const double ms = std::hypot(f * std::sin(d), e * std::cos(d)), mu = std::hypot(f * std::cos(d), e * std::sin(d));
    const GroundPoint anchor = Along(mid, alpha, (ms / k * 10 + 1) * m);
    texts.emplace_back(Along(anchor, alpha + kPi / 2, 0.4 * m), Format("mu=%.2fcm", mu));
    texts.emplace_back(Along(anchor, alpha - kPi / 2, (h + 0.4) * m), Format("ms=%.2fcm", ms));
    texts.emplace_back(Along(anchor, alpha + kPi / 2, (h + 0.4) * m),
                       Format("s=%.0fm", std::hypot(p2.x - p1.x, p2.y - p1.y)));
  };
  for (int i = net->knownCount; i < net->pointCount; ++i)
    ellipse({net->x[i], net->y[i]}, net->pointE[i], net->pointF[i], net->pointQ[i]);
  for (int s = 0; s < net->sideCount; ++s) {
    const int a = index(net->sideFrom[s]), b = index(net->sideTo[s]);
    if (a < net->knownCount && b < net->knownCount) continue;
    relative(at(a), at(b), net->sideE[s], net->sideF[s], net->sideQ[s]);
  }
  ASSERT_EQ(net->precisionPairCount, 1);
  relative(at(index(net->pairFirst[0])), at(index(net->pairSecond[0])), net->pairE[0], net->pairF[0], net->pairQ[0]);

  const auto drawn = Draw(*net, m);
  const auto drawnEllipses = Only(drawn, false, kShapeEllipse);
  ASSERT_EQ(drawnEllipses.size(), ellipses.size());
  ASSERT_GE(ellipses.size(), 9u);
  for (size_t e = 0; e < ellipses.size(); ++e) {
    EXPECT_EQ(drawnEllipses[e]->category, 1);
    EXPECT_EQ(DrawStyle{drawnEllipses[e]->shape.style}, DrawStyle::Make(0, 1, 1));
    for (int c = 0; c < 4; ++c) ExpectNear(drawnEllipses[e]->points[c], ellipses[e][c], "ellipse");
  }
  // A relative ellipse is followed by its axis cross, major axis first.
  size_t crosses = 0;
  for (size_t i = 0; i + 1 < drawn.size(); ++i) {
    if (drawn[i].isText || drawn[i].shape.type != kShapeEllipse || drawn[i + 1].points.size() != 2) continue;
    ASSERT_LT(crosses, axes.size());
    ExpectNear(drawn[i + 1].points[0], axes[crosses][0], "axis");
    ExpectNear(drawn[i + 1].points[1], axes[crosses++][1], "axis");
  }
  EXPECT_EQ(crosses, axes.size());
  const auto written = Only(drawn, true);
  ASSERT_EQ(written.size(), texts.size() + net->pointCount);
  for (size_t t = 0; t < texts.size(); ++t) {
    EXPECT_EQ(written[t]->Utf8(), texts[t].second);
    ExpectNear({written[t]->text.x, written[t]->text.y}, texts[t].first, texts[t].second);
  }
  // Order: sides, the kind's content, point symbols (category 10), names.
  int phase = 0;
  for (const Entity& e : drawn) {
    const int now = e.isText && e.text.height == net->textFontHeight ? 3
                    : e.category == 10                               ? 2
                    : e.isText || e.shape.type == kShapeEllipse      ? std::max(phase, 1)
                                                                     : phase;
    EXPECT_GE(now, phase);
    phase = now;
  }
  EXPECT_EQ(phase, 3);
}

TEST(PlaneDiagram, EllipseScaleTitleAndSelector) {
  struct Row {
    int calcMode;
    double radius;
    float largest;
    int kind;
    double k;
    const char* title;
  } rows[] = {
      {1, 26, 2.35f, 1, 1.0, "平差计算:点位误差椭圆(1:1.00)"},
      {1, 20, 2.35f, 2, 1.0, "平差计算:相对误差椭圆(1:1.00)"},  // 1.18, then whole
      {1, 10, 5.0f, 4, 5.0, "平差计算:部分相对误差椭圆(1:5.00)"},
      {1, 10, 2.75f, 1, 3.0, "平差计算:点位误差椭圆(1:3.00)"},  // 2.75 to the nearest whole
      {0, 6, 0.3f, 3, 0.5, "精度估算:绝对相对误差椭圆(1:0.50)"},
      {0, 6, 0.0f, 6, 1.0, "精度估算:边长方位角误差[Mo=1.80]"},  // nothing to scale
      {1, 6, 0.0001f, 5, 0.01, "平差计算:角度边长观测值"},       // never 0
      {1, NAN, 0.3f, 0, 0.5, "平差计算:控制网图"},             // radius as reset
      {1, 0, 0.3f, 99, 1.0, "平差计算:控制网图"},              // radius 3 at least; kind 0
      {1, 20, 2.35f, 7, 1.0, "平差计算:边长方位角"},
  };
  for (const Row& r : rows) {
    auto net = Network(r.calcMode, {{"A", 0, 0}, {"B", 0, 100}}, 1);
    AddSide(*net, "A", "B");
    AddPair(*net, "A", "B");
    net->sideF[0] = r.largest;
    net->pointE[1] = r.largest / 2;
    net->pairE[0] = 100.0f;  // pairs take no part
    net->maxEllipseRadius = r.radius;
    net->displayMode = r.kind;
    net->sigma0 = 1.8;
    EXPECT_DOUBLE_EQ(EllipseScaleOf(*net), r.k) << r.title;
    EXPECT_DOUBLE_EQ(net->ellipseScale, r.k);
    EXPECT_EQ(GbkToUtf8(BuildPlaneDiagramTitle(PlaneModelFromRecord(*net))), r.title);
    const auto selector = PlaneSelectorTexts(PlaneModelFromRecord(*net));
    ASSERT_EQ(selector.size(), r.calcMode ? 8u : 7u);
    EXPECT_EQ(GbkToUtf8(selector.back()), r.calcMode ? "边长方位角" : "边长方位角误差");
  }
  EXPECT_EQ(GbkToUtf8(PlaneComboTexts()[4]), "4部分相对误差椭圆");
  EXPECT_EQ(GbkToUtf8(HeightComboTexts()[0]), "0高程控制网网图");
}

// Counts and total length (paper mm) of the figures of one side 20 mm long.
TEST(PlaneDiagram, SideSymbols) {
  struct Row {
    int symbol, segments, arrows;
    double length;
  } rows[] = {{0, 1, 0, 20}, {1, 2, 0, 40},  {2, 1, 1, 20}, {3, 2, 1, 40},  {4, 6, 0, 15},
              {5, 12, 0, 30}, {6, 6, 0, 15}, {7, 12, 0, 30}, {8, 1, 0, 20}, {255, 1, 0, 20}};
  const double m = 5.0;
  for (const Row& r : rows) {
    auto net = Network(1, {{"A", 100, 200}, {"B", 100, 300}}, 2);
    AddSide(*net, "A", "B", r.symbol);
    int segments = 0, arrows = 0;
    double length = 0;
    for (const Entity& e : Draw(*net, m)) {
      if (e.isText || e.category != 1) continue;
      if (e.points.size() == 2) {
        ++segments;
        EXPECT_EQ(DrawStyle{e.shape.style}, DrawStyle::Make(0, 0, 0)) << r.symbol;
        length += std::hypot(e.points[1].x - e.points[0].x, e.points[1].y - e.points[0].y) / m;
        for (const GroundPoint& p : e.points)  // on the axis or 0.25 mm beside it
          EXPECT_TRUE(std::fabs(p.x - 100) < 1e-9 || std::fabs(std::fabs(p.x - 100) / m - 0.25) < 1e-9);
      } else {
        ++arrows;
        EXPECT_EQ(DrawStyle{e.shape.style}, DrawStyle::Make(0, 1, 0));
        ExpectNear(e.points.at(1), {100, 250}, "arrow tip");
        ExpectNear(e.points[0], Along({100, 250}, 1.4 * kPi, 4 * m), "arm");
        ExpectNear(e.points[2], Along({100, 250}, -0.4 * kPi, 4 * m), "arm");
      }
    }
    EXPECT_EQ(segments, r.segments) << r.symbol;
    EXPECT_EQ(arrows, r.arrows) << r.symbol;
    EXPECT_NEAR(length, r.length, 1e-9) << r.symbol;
  }
}

TEST(PlaneDiagram, BreakthroughWarning) {
  struct Row {
    int calcMode;
    uint8_t warning;
    double distance;
    bool warned;
  } rows[] = {{1, 1, 29.9, true}, {1, 1, 30.0, false}, {0, 1, 29.9, false}, {1, 0, 29.9, false}};
  for (const Row& r : rows) {
    auto net = Network(r.calcMode, {{"K", 0, 0}, {"P", 500, 0}, {"Q", 500, r.distance}}, 1);
    AddPair(*net, "P", "Q");
    net->warningDistance = 30;
    net->breakthroughWarning = r.warning;
    net->displayMode = 4;
    int thick = 0, dashes = 0;
    for (const Entity& e : Draw(*net, 1.0)) {
      if (e.isText || e.category != 10 || e.points.size() != 2) continue;
      thick += DrawStyle{e.shape.style} == DrawStyle::Make(0, 6, 9);
      dashes += DrawStyle{e.shape.style} == DrawStyle::Make(0, 0, 0);
    }
    EXPECT_EQ(thick, r.warned ? 1 : 0) << r.distance;
    EXPECT_EQ(dashes, r.warned ? 0 : 15) << r.distance;
    net->displayMode = 1;
    ScriptedPlatform platform;
    EXPECT_EQ(CheckNearPairs(*net, platform), r.warned);
    EXPECT_EQ(net->displayMode, r.warned ? 4 : 1);
    EXPECT_EQ(platform.beeps, r.warned ? 1 : 0);
  }
}

TEST(PlaneDiagram, AnnotationsKnownEndsAndKindSeven) {
  const double m = 2.0;
  for (int calcMode : {0, 1}) {
    const bool adjusted = calcMode != 0;
    auto net = Network(calcMode, {{"A", 0, 0}, {"B", 0, 100}, {"C", 80, 50}}, 2);
    AddSide(*net, "A", "B");
    AddSide(*net, "A", "C");
    AddPair(*net, "B", "C");
    for (float* v : {&net->sideMs[0], &net->sideMt[0], &net->sideE[0], &net->sideF[0]}) *v = 9.0f;
    net->sideMs[1] = 2.0f, net->sideMt[1] = 1.5f, net->sideE[1] = 2.0f, net->sideF[1] = 1.0f, net->sideQ[1] = 30.0f;
    net->pairMs[0] = 0.0005f, net->pairMt[0] = 0.25f, net->pairE[0] = 1.0f, net->pairF[0] = 0.5f;
    net->pointE[2] = 2.0f, net->pointF[2] = 1.0f;
    net->displayMode = 2;  // a side between known points has no ellipse
    EXPECT_EQ(Only(Draw(*net, m), false, kShapeEllipse).size(), 2u);

    net->displayMode = 6;
    std::vector<std::pair<GroundPoint, std::string>> want;
    const auto annotate = [&](GroundPoint p1, GroundPoint p2, const std::string& az, const std::string& len) {
      const double alpha = ReadableAzimuth(p1, p2);
      const GroundPoint mid{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
      want.emplace_back(Along(Along(mid, alpha, -(az.size() / 2.0) * m), alpha + kPi / 2, 0.5 * m), GbkToUtf8(az));
      want.emplace_back(Along(Along(mid, alpha, -(len.size() / 2.0) * m), alpha + kPi / 2, 2.5 * m), GbkToUtf8(len));
    };
    const double s = std::hypot(80, 50);
    const char* withError = adjusted ? "%9.6f±%-.2fs" : "%6.2f±%-.2fs";
    const char* withRatio = adjusted ? "%9.4f(1/%-.2f万)" : "%6.0f(1/%-.2f万)";
    annotate({0, 0}, {0, 100}, Format(adjusted ? "%9.6f" : "%6.2f", RadiansToDms(kPi / 2)),
             Format(adjusted ? "%9.4f" : "%6.0f", 100.0));
    annotate({0, 0}, {80, 50}, FormatText(withError, RadiansToDms(ReadableAzimuth({0, 0}, {80, 50})), 1.5),
             FormatText(withRatio, s, s * 0.01 / 2.0));
    annotate({0, 100}, {80, 50}, FormatText(withError, RadiansToDms(ReadableAzimuth({0, 100}, {80, 50})), 0.25),
             FormatText(withRatio, s, 1000.0));
    EXPECT_EQ(want[5].second, adjusted ? "  94.3398(1/1000.00万)" : "    94(1/1000.00万)");
    const auto drawn = Draw(*net, m);
    const auto texts = Only(drawn, true);
    ASSERT_EQ(texts.size(), want.size() + 3);
    for (size_t t = 0; t < want.size(); ++t) {
      EXPECT_EQ(texts[t]->Utf8(), want[t].second);
      ExpectNear({texts[t]->text.x, texts[t]->text.y}, want[t].first, want[t].second);
    }
    EXPECT_EQ(texts[want.size()]->Utf8(), "A");  // a known point's name has no error
    EXPECT_EQ(texts.back()->Utf8(), "C(2.24cm)");

    // Kind 7: plain annotations when adjusted; while estimating only the
    // network, the symbols and the names, exactly as kind 0 draws them.
    net->displayMode = 7;
    const auto seven = Draw(*net, m);
    net->displayMode = 0;
    const auto zero = Draw(*net, m);
    if (adjusted) {
      EXPECT_EQ(std::count_if(seven.begin(), seven.end(), [](const Entity& e) { return e.Utf8() == "90.000000"; }), 1);
      continue;
    }
    ASSERT_EQ(seven.size(), zero.size());
    for (size_t i = 0; i < zero.size(); ++i) {
      EXPECT_EQ(seven[i].points, zero[i].points);
      EXPECT_EQ(std::memcmp(&seven[i].text, &zero[i].text, sizeof(TextBlock)), 0);
    }
  }
}

TEST(PlaneDiagram, MovedNamesAndClosureTexts) {
  auto net = Network(1, {{"GP1", 1000, 2000}, {"GP2", 1000, 2600}, {"N1", 1300, 2300}}, 2);
  TraverseClosure t;
  SetSlotText(t.startOrientation, "GP2");
  SetSlotText(t.start, "GP1");
  SetSlotText(t.end, "GP2");
  SetSlotText(t.endOrientation, "GP1");
  t.azimuthMisclosure = 3.25f, t.relative = 123456.0, t.legs = 2, t.drawn = 1;
  StoreTraverseClosure(*net, 0, t);
  net->closureCheckCount = 1;
  net->labelOffsetX[2] = 7.0f;
  ChangeLayout(*net, [](PlaneModel& model) { RebuildPlaneDiagramData(model); });  // names on points, closure text between ends
  EXPECT_EQ(net->labelOffsetX[2], 0.0f);
  EXPECT_EQ(ReadTraverseClosure(*net, 0).labelY, 2300.0);

  net->displayMode = 5;
  const double m = 10.0;
  MovableItemList items;
  const auto drawn = Draw(*net, m, &items);
  ASSERT_EQ(items.Items().size(), 4u);  // the closure text, then three names
  const MovableItem label = items.Items()[0], name = items.Items()[3];
  EXPECT_EQ(label.kind, MovableKind::TraverseLabel);
  ExpectNear(label.reference, {1000, 2300}, "closure text");
  EXPECT_EQ(name.kind, MovableKind::PlaneName);
  ExpectNear(name.reference, {1300 + (3 + 2) * m, 2300 - 2 * 1.5 / 2 * m}, "name");
  EXPECT_EQ(std::count_if(drawn.begin(), drawn.end(),
                          [](const Entity& e) { return e.text.direction == 900 && e.Utf8() == "  3.25s[1/12.35万](2)"; }),
            1);

  ChangeLayout(*net, [&](PlaneModel& model) {
    StoreMovedPlaneItem(model, name, {name.reference.x + 5, name.reference.y - 3}, m);
  });
  EXPECT_FLOAT_EQ(net->labelOffsetX[2], 0.5f);
  EXPECT_FLOAT_EQ(net->labelOffsetY[2], -0.3f);
  ChangeLayout(*net, [&](PlaneModel& model) { StoreMovedPlaneItem(model, label, {1111, 2222}, m); });
  MovableItemList again;
  Draw(*net, m, &again);
  ExpectNear(again.Items()[0].reference, {1111, 2222}, "closure text moved");
  ExpectNear(again.Items()[3].reference, {name.reference.x + 5, name.reference.y - 3}, "name moved");
  EXPECT_EQ(again.HitTest({1111 - 0.5 * m, 2222 + m}), 0);

  // The search fills its table afresh: a traverse found before keeps its place.
  auto before = std::make_unique<PlaneNetwork>(*net);
  StoreTraverseClosure(*net, 0, t);
  KeepTraverseLabelsOf(*net, *before);
  EXPECT_EQ(ReadTraverseClosure(*net, 0).labelX, 1111.0);
  ClearClosureChecks(*before);
  KeepTraverseLabelsOf(*net, *before);
  EXPECT_EQ(ReadTraverseClosure(*net, 0).labelY, 2300.0);

  // Three loops closing on the same start point and orientation: their texts
  // are spread along the side, and a refill gives each twin its own place back.
  for (int i = 1; i < 3; ++i) StoreTraverseClosure(*net, i, t);
  net->closureCheckCount = 3;
  ChangeLayout(*net, [](PlaneModel& model) { RebuildPlaneDiagramData(model); });
  for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(ReadTraverseClosure(*net, i).labelY, 2000.0 + 600.0 * (i + 1) / 4);
  TraverseClosure moved = ReadTraverseClosure(*net, 2);
  moved.labelX = 900.0;
  StoreTraverseClosure(*net, 2, moved);
  before = std::make_unique<PlaneNetwork>(*net);
  for (int i = 0; i < 3; ++i) StoreTraverseClosure(*net, i, t);
  KeepTraverseLabelsOf(*net, *before);
  EXPECT_EQ(ReadTraverseClosure(*net, 1).labelY, 2300.0);
  EXPECT_EQ(ReadTraverseClosure(*net, 2).labelX, 900.0);
}

// A network that grows by a point is laid out afresh, but the names the
// user moved stay beside their points, wherever the points are now listed.
TEST(PlaneDiagram, MovedNamesSurviveANewPoint) {
  testing::TempDir dir;
  ScriptedPlatform platform;
  const std::string nap = dir.File("NET.NAP");
  std::string input = testing::ReadBytes(testing::SourcePath("examples/plane/polar_traverse.txt"));
  ASSERT_EQ(RunPlaneCommand(testing::OptionsWithInput(dir, nap, input, false), platform), 0)
      << platform.LastMessageUtf8();
  auto net = std::make_unique<PlaneNetwork>();
  SettingsBlock settings;
  ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Read, settings, *net));
  const auto index = [&](const char* name) {
    for (int p = 0; p < net->pointCount; ++p) {
      if (SlotText(net->pointName[p]) == name) return p;
    }
    return -1;
  };
  const int t3 = index("T3");
  ASSERT_GE(t3, 0);
  net->labelOffsetX[t3] = 4.0f;  // moved with the text-move tool and saved
  net->labelOffsetY[index("B")] = -2.5f;
  ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Write, settings, *net));

  // A second polar point P0 from A, listed before the traverse points.
  const auto insert = [&](const std::string& after, const std::string& line) {
    input.insert(input.find(after) + after.size(), line);
  };
  insert("A,A0,0.00000\n", "A,P0,60.00000\n");
  insert("[边长观测值]\n", "A,P0,500.0000\n");
  ASSERT_EQ(RunPlaneCommand(testing::OptionsWithInput(dir, nap, input, false), platform), 0)
      << platform.LastMessageUtf8();
  ASSERT_TRUE(ReadWritePlaneFile(nap, FileDirection::Read, settings, *net));
  ASSERT_GE(index("P0"), 0);
  ASSERT_NE(index("T3"), t3);
  EXPECT_EQ(net->labelOffsetX[index("T3")], 4.0f);
  EXPECT_EQ(net->labelOffsetY[index("B")], -2.5f);
  for (const char* other : {"P0", "P1", "T1", "A"}) EXPECT_EQ(net->labelOffsetX[index(other)], 0.0f) << other;
}

// Damaged records draw every kind within bounds, at finite places only.
TEST(PlaneDiagram, DamagedRecordsDrawBounded) {
  std::vector<std::unique_ptr<PlaneNetwork>> nets;
  nets.push_back(Network(1, {{"A", 0, 0}, {"B", 0, 1e7}, {"C", NAN, 5}, {"D", 1e300, -1e300}, {"E", 10, 10},
                             {"F", 1.7e308, -1.7e308}, {"G", 1.7e308, 1e308}},
                         1));
  PlaneNetwork& d = *nets[0];
  AddSide(d, "A", "B", 4);  // 10 km of paper: solid, not five million dashes
  AddSide(d, "D", "A", 5);
  AddSide(d, "C", "E", 2);
  AddSide(d, "F", "G", 3);  // figures beyond the largest double
  AddPair(d, "D", "E");
  AddPair(d, "F", "G");
  d.labelOffsetX[4] = 1e30f, d.labelOffsetY[4] = NAN;
  d.numberFontHeight = NAN, d.textFontWidth = -3;
  d.sideE[1] = INFINITY, d.sideQ[2] = NAN, d.pointE[4] = 1e30f;
  d.ellipseScale = 0;
  d.closureCheckCount = 1 << 30;
  std::mt19937 random(7);
  for (int n = 0; n < 3; ++n) {
    auto& noise = nets.emplace_back(std::make_unique<PlaneNetwork>());
    auto* bytes = reinterpret_cast<uint8_t*>(noise.get());
    for (size_t i = 0; i < sizeof(PlaneNetwork); ++i) bytes[i] = static_cast<uint8_t>(random());
    noise->pointCount = 1 << 20;
    noise->sideCount = -1;
  }
  for (auto& net : nets) {
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, 99, -3}) {
      net->displayMode = kind;
      MovableItemList items;
      const auto drawn = Draw(*net, 1.0, &items);
      EXPECT_LT(drawn.size(), 200000u);
      for (const Entity& e : drawn) {
        if (e.isText) {
          EXPECT_TRUE(std::isfinite(e.text.x) && std::isfinite(e.text.y) && e.text.height > 0);
        }
        for (const GroundPoint& p : e.points) EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
      }
      EXPECT_FALSE(BuildPlaneDiagramTitle(PlaneModelFromRecord(*net)).empty());
    }
    EllipseScaleOf(*net);
    EXPECT_TRUE(std::isfinite(net->ellipseScale) && net->ellipseScale > 0);
  }
  d.displayMode = 0;
  const auto sides = Draw(d, 1.0);
  EXPECT_LT(std::count_if(sides.begin(), sides.end(), [](const Entity& e) { return e.category == 1; }), 20);
}

}  // namespace
}  // namespace qp

// The plane diagram against geometry worked out here from the record's
// results: ellipse corners, side errors and their places, annotations, the
// side kinds, the breakthrough warning, the ellipse scale and title, moved
// texts, and damaged records.
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
#include "plane/closure_checks.h"
#include "plane/plane_file.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ScriptedPlatform;
using testing::SourcePath;
using testing::TempDir;

// Everything the diagram emits, in order.
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
  std::vector<const Entity*> Shapes(int type) const {
    std::vector<const Entity*> out;
    for (const Entity& e : all)
      if (!e.isText && e.shape.type == type) out.push_back(&e);
    return out;
  }
  std::vector<const Entity*> Texts() const {
    std::vector<const Entity*> out;
    for (const Entity& e : all)
      if (e.isText) out.push_back(&e);
    return out;
  }
  std::vector<Entity> all;
};

// One paper millimetre is `m` ground metres.
SheetGeometry Sheet(double m) {
  SheetGeometry s;
  s.scale = m * 1000;
  s.canvasHeightPx = s.canvasWidthPx = 4000;
  return s;
}

std::vector<Entity> Draw(const PlaneNetwork& net, double m, MovableItemList* items = nullptr) {
  Recorder rec;
  EntityEmitter out(rec, Sheet(m));
  DrawPlaneDiagram(out, net, DrawContext{}, items);
  return rec.all;
}

GroundPoint Along(GroundPoint p, double azimuth, double d) {
  return {p.x + d * std::cos(azimuth), p.y + d * std::sin(azimuth)};
}
double Azimuth(GroundPoint a, GroundPoint b) {
  const double t = std::atan2(b.y - a.y, b.x - a.x);
  return t < 0 ? t + 2 * kPi : t;
}
void ExpectNear(GroundPoint got, GroundPoint want, const std::string& what) {
  EXPECT_NEAR(got.x, want.x, 1e-6) << what;
  EXPECT_NEAR(got.y, want.y, 1e-6) << what;
}

// A small network built by hand: known points first.
struct Pt {
  const char* name;
  double x, y;
};
std::unique_ptr<PlaneNetwork> Network(int calcMode, std::initializer_list<Pt> points, int known) {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "");
  net->calcMode = calcMode;
  for (const Pt& p : points) {
    const int i = net->pointCount++;
    SetSlotText(net->pointName[i], Gbk(p.name));
    net->x[i] = p.x;
    net->y[i] = p.y;
  }
  net->knownCount = known;
  return net;
}
int AddSide(PlaneNetwork& net, const char* from, const char* to, int symbol = 0) {
  const int s = net.sideCount++;
  SetSlotText(net.sideFrom[s], Gbk(from));
  SetSlotText(net.sideTo[s], Gbk(to));
  net.sideSymbol[s] = static_cast<uint8_t>(symbol);
  return s;
}
int AddPair(PlaneNetwork& net, const char* first, const char* second) {
  const int p = net.precisionPairCount++;
  SetSlotText(net.pairFirst[p], Gbk(first));
  SetSlotText(net.pairSecond[p], Gbk(second));
  return p;
}

TEST(PlaneDiagram, AdjustedNetworkEllipsesAndSideErrorsFollowTheResults) {
  TempDir dir;
  ScriptedPlatform platform;
  CommandOptions options;
  options.dataPath = dir.File("NET.NAP");
  options.inputPath = SourcePath("examples/plane/triangulation.txt");
  ASSERT_EQ(RunPlaneCommand(options, platform), 0) << platform.LastMessageUtf8();
  auto net = std::make_unique<PlaneNetwork>();
  SettingsBlock settings;
  ASSERT_TRUE(ReadWritePlaneFile(options.dataPath, FileDirection::Read, settings, *net));
  ASSERT_EQ(net->precisionPairCount, 1);
  const double k = ComputeEllipseScale(*net);
  net->displayMode = 3;
  const double m = 25.0, h = net->numberFontHeight;

  // What the drawing must hold, worked out from E, F, Q and the coordinates.
  std::vector<std::array<GroundPoint, 4>> ellipses;
  std::vector<std::pair<GroundPoint, std::string>> texts;
  std::vector<std::array<GroundPoint, 2>> majorAxes;  // of the relative ellipses, 2.5 mm beyond
  const auto ellipse = [&](GroundPoint c, double e, double f, double q) {
    const double a = e / k * m * 10, b = f / k * m * 10, phi = DmsToRadians(q);
    const GroundPoint u{std::cos(phi), std::sin(phi)}, v{-std::sin(phi), std::cos(phi)};
    ellipses.push_back({GroundPoint{c.x - a * u.x + b * v.x, c.y - a * u.y + b * v.y},
                        GroundPoint{c.x - a * u.x - b * v.x, c.y - a * u.y - b * v.y},
                        GroundPoint{c.x + a * u.x - b * v.x, c.y + a * u.y - b * v.y},
                        GroundPoint{c.x + a * u.x + b * v.x, c.y + a * u.y + b * v.y}});
  };
  const auto point = [&](const char* slot) {
    for (int i = 0; i < net->pointCount; ++i)
      if (std::strncmp(net->pointName[i], slot, kNameSlotSize) == 0) return i;
    return -1;
  };
  const auto relative = [&](int i, int j, double e, double f, double q) {
    const GroundPoint p1{net->x[i], net->y[i]}, p2{net->x[j], net->y[j]};
    const GroundPoint mid{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
    ellipse(mid, e, f, q);
    const double half = e / k * m * 10 + 2.5 * m, phi = DmsToRadians(q);
    majorAxes.push_back({Along(mid, phi, -half), Along(mid, phi, half)});
    double alpha = Azimuth(p1, p2);
    if (alpha > kPi) alpha -= kPi;
    const double d = alpha - DmsToRadians(q);
    const double ms = std::hypot(f * std::sin(d), e * std::cos(d));
    const double mu = std::hypot(f * std::cos(d), e * std::sin(d));
    const GroundPoint anchor = Along(mid, alpha, (ms / k * 10 + 1) * m);
    texts.emplace_back(Along(anchor, alpha + kPi / 2, 0.4 * m), Format("mu=%.2fcm", mu));
    texts.emplace_back(Along(anchor, alpha - kPi / 2, (h + 0.4) * m), Format("ms=%.2fcm", ms));
    texts.emplace_back(Along(anchor, alpha + kPi / 2, (h + 0.4) * m),
                       Format("s=%.0fm", std::hypot(p2.x - p1.x, p2.y - p1.y)));
  };
  for (int i = net->knownCount; i < net->pointCount; ++i) ellipse({net->x[i], net->y[i]}, net->pointE[i], net->pointF[i], net->pointQ[i]);
  for (int s = 0; s < net->sideCount; ++s) {
    const int i = point(net->sideFrom[s]), j = point(net->sideTo[s]);
    if (i >= net->knownCount || j >= net->knownCount) relative(i, j, net->sideE[s], net->sideF[s], net->sideQ[s]);
  }
  relative(point(net->pairFirst[0]), point(net->pairSecond[0]), net->pairE[0], net->pairF[0], net->pairQ[0]);
  ASSERT_GE(ellipses.size(), 9u);

  Recorder rec;
  EntityEmitter out(rec, Sheet(m));
  DrawPlaneDiagram(out, *net, DrawContext{});
  const auto drawn = rec.Shapes(kShapeEllipse);
  ASSERT_EQ(drawn.size(), ellipses.size());
  for (size_t e = 0; e < drawn.size(); ++e) {
    EXPECT_EQ(drawn[e]->category, 1);
    EXPECT_EQ(DrawStyle{drawn[e]->shape.style}, DrawStyle::Make(0, 1, 1));
    for (int c = 0; c < 4; ++c) ExpectNear(drawn[e]->points[c], ellipses[e][c], "ellipse " + std::to_string(e));
  }
  // Each relative ellipse is followed by its axis cross, the major axis first.
  size_t relativeCount = 0;
  for (size_t i = 0; i + 1 < rec.all.size(); ++i) {
    if (rec.all[i].isText || rec.all[i].shape.type != kShapeEllipse) continue;
    const Entity& next = rec.all[i + 1];
    if (next.isText || next.points.size() != 2) continue;  // a point ellipse
    ASSERT_LT(relativeCount, majorAxes.size());
    ExpectNear(next.points[0], majorAxes[relativeCount][0], "axis");
    ExpectNear(next.points[1], majorAxes[relativeCount][1], "axis");
    ++relativeCount;
  }
  EXPECT_EQ(relativeCount, majorAxes.size());
  const auto written = rec.Texts();
  ASSERT_EQ(written.size(), texts.size() + net->pointCount);
  for (size_t t = 0; t < texts.size(); ++t) {
    EXPECT_EQ(written[t]->Utf8(), texts[t].second);
    ExpectNear({written[t]->text.x, written[t]->text.y}, texts[t].first, texts[t].second);
  }

  // Order: sides, the kind's content, point symbols (category 10), names.
  int phase = 0;
  for (const Entity& e : rec.all) {
    const int now = e.isText && e.text.direction == 900 && e.text.height == net->textFontHeight ? 3
                    : !e.isText && e.category == 10                                           ? 2
                    : e.isText || e.shape.type == kShapeEllipse                               ? 1
                                                                                              : phase;
    EXPECT_GE(now, phase);
    phase = now;
  }
  EXPECT_EQ(phase, 3);
}

TEST(PlaneDiagram, EllipseScaleAndTitle) {
  struct Row {
    int calcMode;
    double radius;
    float sideF;
    int kind;
    double k;
    const char* title;
  };
  const Row rows[] = {
      {1, 26, 2.35f, 1, 1.0, "平差计算:点位误差椭圆(1:1.00)"},
      {1, 20, 2.35f, 2, 1.0, "平差计算:相对误差椭圆(1:1.00)"},  // 1.18, then whole
      {1, 10, 5.0f, 4, 5.0, "平差计算:部分相对误差椭圆(1:5.00)"},
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
    net->sideF[0] = r.sideF;
    net->pointE[1] = r.sideF / 2;
    AddPair(*net, "A", "B");
    net->pairE[0] = 100.0f;  // pairs take no part
    net->maxEllipseRadius = r.radius;
    net->displayMode = r.kind;
    net->sigma0 = 1.8;
    EXPECT_DOUBLE_EQ(ComputeEllipseScale(*net), r.k) << r.title;
    EXPECT_DOUBLE_EQ(net->ellipseScale, r.k);
    EXPECT_EQ(GbkToUtf8(BuildPlaneDiagramTitle(*net)), r.title);
  }
}

// Total length (paper mm) and counts of the side figures of one side 20 mm long.
TEST(PlaneDiagram, SideSymbols) {
  struct Row {
    int symbol, segments, arrows;
    double length;
  };
  const Row rows[] = {{0, 1, 0, 20}, {1, 2, 0, 40}, {2, 1, 1, 20}, {3, 2, 1, 40},  {4, 6, 0, 15},
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
        for (const GroundPoint& p : e.points) {
          const double off = std::fabs(p.x - 100) / m;  // on the axis or 0.25 mm beside it
          EXPECT_TRUE(off < 1e-9 || std::fabs(off - 0.25) < 1e-9) << r.symbol;
        }
      } else if (e.points.size() == 3) {
        ++arrows;
        EXPECT_EQ(DrawStyle{e.shape.style}, DrawStyle::Make(0, 1, 0));
        ExpectNear(e.points[1], {100, 250}, "arrow tip");
        ExpectNear(e.points[0], Along({100, 250}, kPi / 2 + 0.9 * kPi, 4 * m), "arm");
        ExpectNear(e.points[2], Along({100, 250}, kPi / 2 - 0.9 * kPi, 4 * m), "arm");
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
  };
  const Row rows[] = {{1, 1, 29.9, true}, {1, 1, 30.0, false}, {0, 1, 29.9, false}, {1, 0, 29.9, false}};
  for (const Row& r : rows) {
    auto net = Network(r.calcMode, {{"K", 0, 0}, {"P", 500, 0}, {"Q", 500, r.distance}}, 1);
    AddPair(*net, "P", "Q");
    net->warningDistance = 30;
    net->breakthroughWarning = r.warning;
    net->displayMode = 4;
    int thick = 0, dashes = 0;
    for (const Entity& e : Draw(*net, 1.0)) {
      if (e.isText || e.category != 10 || e.points.size() != 2) continue;
      if (DrawStyle{e.shape.style} == DrawStyle::Make(0, 6, 9)) ++thick;
      if (DrawStyle{e.shape.style} == DrawStyle::Make(0, 0, 0)) ++dashes;
    }
    EXPECT_EQ(thick, r.warned ? 1 : 0) << r.distance;
    EXPECT_EQ(dashes, r.warned ? 0 : 15) << r.distance;
    net->displayMode = 1;
    ScriptedPlatform platform;
    EXPECT_EQ(BreakthroughCheck(*net, platform), r.warned);
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
    Recorder rec;
    EntityEmitter out(rec, Sheet(m));
    DrawPlaneDiagram(out, *net, DrawContext{});
    EXPECT_EQ(rec.Shapes(kShapeEllipse).size(), 2u);

    net->displayMode = 6;
    std::vector<std::string> want;
    std::vector<GroundPoint> at;
    const auto annotate = [&](GroundPoint p1, GroundPoint p2, std::string az, std::string len) {
      double alpha = Azimuth(p1, p2);
      if (alpha > kPi) alpha -= kPi;
      const GroundPoint mid{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2};
      at.push_back(Along(Along(mid, alpha, -(az.size() * 1.0 / 2) * m), alpha + kPi / 2, 0.5 * m));
      at.push_back(Along(Along(mid, alpha, -(len.size() * 1.0 / 2) * m), alpha + kPi / 2, 2.5 * m));
      want.push_back(GbkToUtf8(az));
      want.push_back(GbkToUtf8(len));
    };
    const double ac = std::hypot(80, 50), acAzimuth = RadiansToDms(Azimuth({0, 0}, {80, 50}));
    const double bc = std::hypot(80, 50), bcAzimuth = RadiansToDms(Azimuth({0, 100}, {80, 50}) - kPi);
    annotate({0, 0}, {0, 100}, Format(adjusted ? "%9.6f" : "%6.2f", RadiansToDms(kPi / 2)),
             Format(adjusted ? "%9.4f" : "%6.0f", 100.0));
    annotate({0, 0}, {80, 50}, FormatText(adjusted ? "%9.6f±%-.2fs" : "%6.2f±%-.2fs", acAzimuth, 1.5),
             FormatText(adjusted ? "%9.4f(1/%-.2f万)" : "%6.0f(1/%-.2f万)", ac, ac * 0.01 / 2.0));
    annotate({0, 100}, {80, 50}, FormatText(adjusted ? "%9.6f±%-.2fs" : "%6.2f±%-.2fs", bcAzimuth, 0.25),
             FormatText(adjusted ? "%9.4f(1/%-.2f万)" : "%6.0f(1/%-.2f万)", bc, 1000.0));
    EXPECT_EQ(want[5], adjusted ? "  94.3398(1/1000.00万)" : "    94(1/1000.00万)");
    Recorder rec6;
    EntityEmitter out6(rec6, Sheet(m));
    DrawPlaneDiagram(out6, *net, DrawContext{});
    const auto texts = rec6.Texts();
    ASSERT_EQ(texts.size(), want.size() + 3);
    for (size_t t = 0; t < want.size(); ++t) {
      EXPECT_EQ(texts[t]->Utf8(), want[t]);
      ExpectNear({texts[t]->text.x, texts[t]->text.y}, at[t], want[t]);
    }
    EXPECT_EQ(texts[want.size() + 2]->Utf8(), "C(2.24cm)");

    // Kind 7: plain annotations when adjusted; while estimating only the
    // network, the symbols and the names, exactly as kind 0 draws them.
    net->displayMode = 7;
    const auto seven = Draw(*net, m);
    net->displayMode = 0;
    const auto zero = Draw(*net, m);
    if (adjusted) {
      ASSERT_GT(seven.size(), zero.size());
      size_t plain = 0;
      for (const Entity& e : seven) plain += e.isText && e.Utf8() == "90.000000";
      EXPECT_EQ(plain, 1u);
    } else {
      ASSERT_EQ(seven.size(), zero.size());
      for (size_t i = 0; i < zero.size(); ++i) {
        EXPECT_EQ(seven[i].points, zero[i].points);
        EXPECT_EQ(std::memcmp(&seven[i].text, &zero[i].text, sizeof(TextBlock)), 0);
      }
    }
  }
}

TEST(PlaneDiagram, MovedNamesAndClosureTexts) {
  auto net = Network(1, {{"GP1", 1000, 2000}, {"GP2", 1000, 2600}, {"N1", 1300, 2300}}, 2);
  AddSide(*net, "GP1", "N1");
  TraverseClosure t;
  SetSlotText(t.startOrientation, "GP2");
  SetSlotText(t.start, "GP1");
  SetSlotText(t.end, "GP2");
  SetSlotText(t.endOrientation, "GP1");
  t.azimuthMisclosure = 3.25f;
  t.relative = 123456.0;
  t.legs = 2;
  t.drawn = 1;
  StoreTraverseClosure(*net, 0, t);
  net->closureCheckCount = 1;
  net->labelOffsetX[2] = 7.0f;
  RebuildPlaneDiagramData(*net);
  EXPECT_EQ(net->labelOffsetX[2], 0.0f);
  EXPECT_EQ(ReadTraverseClosure(*net, 0).labelX, 1000.0);
  EXPECT_EQ(ReadTraverseClosure(*net, 0).labelY, 2300.0);

  net->displayMode = 5;
  const double m = 10.0;
  MovableItemList items;
  auto drawn = Draw(*net, m, &items);
  ASSERT_EQ(items.Items().size(), 4u);  // the closure text, then three names
  const MovableItem& label = items.Items()[0];
  EXPECT_EQ(label.kind, MovableKind::TraverseLabel);
  ExpectNear(label.reference, {1000, 2300}, "closure text");
  const MovableItem& name = items.Items()[3];
  EXPECT_EQ(name.kind, MovableKind::PlaneName);
  EXPECT_EQ(name.index, 2);
  ExpectNear(name.reference, {1300 + (3 + 2) * m, 2300 - 2 * 1.5 / 2 * m}, "name");
  int closures = 0;
  for (const Entity& e : drawn) closures += e.isText && e.Utf8() == "  3.25s[1/12.35万](2)" && e.text.direction == 900;
  EXPECT_EQ(closures, 1);

  StoreMovedPlaneItem(*net, name, {name.reference.x + 5, name.reference.y - 3}, m);
  EXPECT_FLOAT_EQ(net->labelOffsetX[2], 0.5f);
  EXPECT_FLOAT_EQ(net->labelOffsetY[2], -0.3f);
  StoreMovedPlaneItem(*net, label, {1111, 2222}, m);
  MovableItemList again;
  Draw(*net, m, &again);
  ExpectNear(again.Items()[0].reference, {1111, 2222}, "closure text moved");
  ExpectNear(again.Items()[3].reference, {name.reference.x + 5, name.reference.y - 3}, "name moved");
  EXPECT_EQ(again.HitTest({1111 - 0.5 * m, 2222 + m}), 0);

  // The search fills its table afresh: a traverse found before keeps its place.
  auto before = std::make_unique<PlaneNetwork>(*net);
  StoreTraverseClosure(*net, 0, t);  // label 0, 0
  KeepTraverseLabels(*net, *before);
  EXPECT_EQ(ReadTraverseClosure(*net, 0).labelX, 1111.0);
  ClearClosureChecks(*before);
  StoreTraverseClosure(*net, 0, t);
  KeepTraverseLabels(*net, *before);
  EXPECT_EQ(ReadTraverseClosure(*net, 0).labelY, 2300.0);
}

// Damaged records: every kind draws, within bounds, with finite places only.
TEST(PlaneDiagram, DamagedRecordsDrawBounded) {
  std::vector<std::unique_ptr<PlaneNetwork>> nets;
  auto damaged = Network(1, {{"A", 0, 0}, {"B", 0, 1e7}, {"C", NAN, 5}, {"D", 1e300, -1e300}, {"E", 10, 10}, {"F", 1.7e308, -1.7e308}, {"G", 1.7e308, 1e308}}, 1);
  AddSide(*damaged, "A", "B", 4);  // 10 km of paper: solid, not five million dashes
  AddSide(*damaged, "D", "A", 5);
  AddSide(*damaged, "C", "E", 2);
  AddPair(*damaged, "D", "E");
  AddSide(*damaged, "F", "G", 3);  // figures beyond the largest double
  AddPair(*damaged, "F", "G");
  damaged->labelOffsetX[4] = 1e30f;
  damaged->labelOffsetY[4] = NAN;
  damaged->numberFontHeight = NAN;
  damaged->textFontWidth = -3;
  damaged->sideE[1] = INFINITY;
  damaged->sideQ[2] = NAN;
  damaged->pointE[4] = 1e30f;
  damaged->ellipseScale = 0;
  damaged->closureCheckCount = 1 << 30;
  nets.push_back(std::move(damaged));
  std::mt19937 random(7);
  for (int n = 0; n < 3; ++n) {
    auto noise = std::make_unique<PlaneNetwork>();
    auto* bytes = reinterpret_cast<uint8_t*>(noise.get());
    for (size_t i = 0; i < sizeof(PlaneNetwork); ++i) bytes[i] = static_cast<uint8_t>(random());
    noise->pointCount = 1 << 20;
    noise->sideCount = -1;
    nets.push_back(std::move(noise));
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
      EXPECT_FALSE(BuildPlaneDiagramTitle(*net).empty());
    }
    ComputeEllipseScale(*net);
    EXPECT_TRUE(std::isfinite(net->ellipseScale) && net->ellipseScale > 0);
  }
  nets[0]->displayMode = 0;
  int sideLines = 0;
  for (const Entity& e : Draw(*nets[0], 1.0)) sideLines += !e.isText && e.category == 1;
  EXPECT_LT(sideLines, 20);
}

TEST(DiagramKinds, SelectorsFollowTheNetwork) {
  auto net = Network(0, {}, 0);
  const auto estimated = PlaneSelectorTexts(*net);
  net->calcMode = 2;
  const auto adjusted = PlaneSelectorTexts(*net);
  ASSERT_EQ(estimated.size(), 7u);
  ASSERT_EQ(adjusted.size(), 8u);
  EXPECT_EQ(GbkToUtf8(estimated[1]), "点位误差椭圆");
  EXPECT_EQ(GbkToUtf8(adjusted[7]), "边长方位角");
  const auto combo = PlaneComboTexts();
  ASSERT_EQ(combo.size(), 8u);
  EXPECT_EQ(GbkToUtf8(combo[0]), "1控制网图");
  EXPECT_EQ(GbkToUtf8(combo[4]), "4部分相对误差椭圆");
  const auto height = HeightComboTexts();
  ASSERT_EQ(height.size(), 4u);
  EXPECT_EQ(GbkToUtf8(height[0]), "0高程控制网网图");
  EXPECT_EQ(GbkToUtf8(HeightSelectorTexts(*std::make_unique<HeightNetwork>())[3]), "高差平差值");
}

}  // namespace
}  // namespace qp

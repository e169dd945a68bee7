// The confirmation steps after the point list: approximate heights with the
// plane reduction, the side list and precision pairs, and the raw-data report
// with its closures and gross-error search. Networks are typed into the input
// form from true coordinates, as a user would enter them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/binary_file.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/settings_block.h"
#include "geodesy/angles.h"
#include "plane/plane_input_form.h"
#include "plane/plane_model_record.h"
#include "plane/plane_network.h"
#include "plane/plane_point_list.h"
#include "plane/plane_raw_report.h"
#include "workflow/plane_workflow.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::ScriptedPlatform;
using testing::TempDir;
using testing::WriteBytes;
using Names = std::vector<std::string>;

struct RawReport : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  std::unique_ptr<PlaneNetwork> backup = std::make_unique<PlaneNetwork>();
  SectionNumber section;
  PlaneWorkspace ws{*settings, section, *net, *backup, dir.File("NET.NAP")};
  PlaneInputForm form;
  std::map<std::string, std::array<double, 2>> truth;

  void SetUp() override {
    ResetPlaneNetwork(*net, "NET.NAP");
    InitializePlaneForm(form, *net, PlaneDraftPath(ws.ReportPath()));
    form.networkName = "T";
  }
  void Place(const std::string& name, double x, double y) { truth[name] = {x, y}; }
  void Add(PlaneTextBox box, const std::string& utf8Line) { form.boxes[box] += Utf8ToGbk(utf8Line) + "\r\n"; }
  void Known(const std::string& name) {
    Add(kKnownPointsBox, name + Format(",%.4f,%.4f", truth[name][0], truth[name][1]));
  }
  double Azimuth(const std::string& a, const std::string& b) {
    return AzimuthOf(truth[a][0], truth[a][1], truth[b][0], truth[b][1]);
  }
  double Length(const std::string& a, const std::string& b) {
    return DistanceOf(truth[a][0], truth[a][1], truth[b][0], truth[b][1]);
  }
  // A direction set from the true coordinates; `error` seconds are added to
  // the direction to the target named in `errorAt`.
  void Set(const std::string& station, const Names& targets, const std::string& errorAt = "", double error = 0.0) {
    for (const auto& t : targets) {
      double r = std::fmod(Azimuth(station, t) - Azimuth(station, targets[0]) + 4 * kPi, 2 * kPi);
      if (t == errorAt) r += error / kRhoSeconds;
      Add(kDirectionsBox, station + "," + t + Format(",%.6f", t == targets[0] ? 0.0 : RadiansToDms(r)));
    }
  }
  void Distance(const std::string& a, const std::string& b, double error = 0.0) {
    Add(kDistanceLinesBox, a + "," + b + Format(",%.4f", Length(a, b) + error));
  }

  bool Confirm() {
    platform.messages.clear();
    return RunPlaneConfirmation(form, *net, platform, PlaneDraftPath(ws.ReportPath()), PlaneConfirmationPipeline(ws)).accepted;
  }
  std::string Report() { return GbkToUtf8(ReadBytes(ws.ReportPath())); }
  static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

  // A connecting traverse A0-A-W1-W2-W3-B-B0 (known: A, B, A0, B0).
  void Traverse(double distanceError = 0.0, double angleError = 0.0) {
    Place("A0", 3451100, 401300);
    Place("A", 3450000, 402000);
    Place("W1", 3449300, 402800);
    Place("W2", 3449700, 403700);
    Place("W3", 3449400, 404700);
    Place("B", 3450300, 405600);
    Place("B0", 3451500, 405900);
    for (const char* k : {"A", "B", "A0", "B0"}) Known(k);
    Set("A", {"A0", "W1"});
    Set("W1", {"A", "W2"});
    Set("W2", {"W1", "W3"}, "W3", angleError);
    Set("W3", {"W2", "B"});
    Set("B", {"W3", "B0"});
    Distance("A", "W1");
    Distance("W1", "W2", distanceError);
    Distance("W2", "W3");
    Distance("W3", "B");
  }
};

TEST_F(RawReport, HeadBasicInformationAndTheEndOfTheReport) {
  Traverse();
  form.closureMode = 1;
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  const std::string gbk = ReadBytes(ws.ReportPath());
  // Title, double rule, the time line ending in the bare line feed of asctime.
  EXPECT_EQ(gbk.substr(0, 27), "\r\n\r\n" + std::string(20, ' ') + "T\r\n");
  EXPECT_TRUE(Has(gbk, std::string(21, ' ') + "Thu Jan  1 00:00:00 2026\n\r\n\r\n" + std::string(25, ' ') + "1."));
  const std::string text = Report();
  EXPECT_TRUE(Has(text, "    全网总点数:  7       已知点点数:  4       待定点点数:  3       \r\n"));
  EXPECT_TRUE(Has(text, "    概略坐标点数:0       未设站点数:  2       多余观测数:  3       \r\n"));
  EXPECT_TRUE(Has(text, "    投影面高程:  0       折光系数:    0.14    Y坐标平移:  500000   \r\n"));
  EXPECT_TRUE(Has(text, "                 5.近似坐标<个数:7   单位:米>\r\n"));
  EXPECT_EQ(text.substr(text.size() - 5), " \r\n\r\n");
  // The traverse section is the last one; the result sections continue after it.
  EXPECT_TRUE(Has(text, "                 6.导线闭合差<单位:厘米,秒>"));
  EXPECT_EQ(section.value, 7);
}

TEST_F(RawReport, TraverseIsFoundOnceWithItsClosuresInTheRecord) {
  Traverse();
  form.closureMode = 1;
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  // Found from A only (B has the higher index), with the one orientation at each end.
  ASSERT_EQ(net->closureCheckCount, 1);
  const TraverseClosure t = ReadTraverseClosure(*net, 0);
  EXPECT_EQ(Names({std::string(SlotText(t.startOrientation)), std::string(SlotText(t.start)),
                   std::string(SlotText(t.end)), std::string(SlotText(t.endOrientation))}),
            Names({"A0", "A", "B", "B0"}));
  EXPECT_EQ(t.legs, 4);
  EXPECT_EQ(t.kind, 3);
  EXPECT_EQ(t.drawn, 1);
  EXPECT_NEAR(t.length, Length("A", "W1") + Length("W1", "W2") + Length("W2", "W3") + Length("W3", "B"), 1e-3);
  // Error-free data (directions rounded to 0.005"): the relative closure is
  // capped, never infinite.
  EXPECT_LT(std::hypot(t.fx, t.fy), 0.05);
  EXPECT_LT(std::fabs(t.azimuthMisclosure), 0.05);
  EXPECT_EQ(t.relative, 5000000.0);
  // The entry sits where the layout says: O's name at 662512, the legs at +56.
  const auto* bytes = reinterpret_cast<const char*>(net.get());
  EXPECT_STREQ(bytes + 662512, "A0");
  int32_t legs = 0;
  std::memcpy(&legs, bytes + 662512 + 56, 4);
  EXPECT_EQ(legs, 4);
  // Option 1: closures only, no gross-error search.
  const std::string text = Report();
  EXPECT_TRUE(Has(text, "    1  A0           A            B            B0           \r\n"));
  EXPECT_TRUE(Has(text, "m  1/500.00万(4)\r\n"));
  EXPECT_FALSE(Has(text, "粗差"));
  EXPECT_EQ(platform.beeps, 0);

  // A second confirmation without closures empties the table.
  form.closureMode = 0;
  ASSERT_TRUE(Confirm());
  EXPECT_EQ(net->closureCheckCount, 0);
  EXPECT_FALSE(Has(Report(), "导线闭合差"));
}

TEST_F(RawReport, GrossErrorsOfDistanceAndAngleAreReportedWithABeep) {
  form.closureMode = 2;
  Traverse();
  ASSERT_TRUE(Confirm());
  EXPECT_TRUE(Has(Report(), "\r\n\r\n没有发现粗差 !!!\r\n\r\n"));
  EXPECT_EQ(platform.beeps, 0);

  // A distance 30 cm too long: the leg whose ends keep their places in the
  // forward and the backward run.
  for (auto& box : form.boxes) box.clear();
  Traverse(0.30, 0.0);
  ASSERT_TRUE(Confirm());
  std::string text = Report();
  EXPECT_TRUE(Has(text, "\r\n可能存在粗差的边长:W1--W2 粗差值:0.30米\r\n")) << text;
  EXPECT_FALSE(Has(text, "可能存在粗差的角度"));
  EXPECT_FALSE(Has(text, "没有发现粗差"));
  EXPECT_EQ(platform.beeps, 1);
  // The lines come before the traverse section.
  EXPECT_LT(text.find("可能存在粗差的边长"), text.find("导线闭合差<"));

  // An angle 30" too large at W2: the point that keeps its place.
  for (auto& box : form.boxes) box.clear();
  Traverse(0.0, 30.0);
  ASSERT_TRUE(Confirm());
  text = Report();
  const std::string angleLine = "\r\n可能存在粗差的角度:W1-W2-W3 粗差值:";
  ASSERT_TRUE(Has(text, angleLine)) << text;
  EXPECT_NEAR(std::stod(text.substr(text.find(angleLine) + angleLine.size())), 30.0, 0.05);
  // The turned legs after W2 may make one side look wrong as well; every
  // line written has its beep.
  int lines = 0;
  for (size_t at = text.find("可能存在粗差"); at != std::string::npos; at = text.find("可能存在粗差", at + 1)) ++lines;
  EXPECT_EQ(platform.beeps, 1 + lines);
}

TEST_F(RawReport, ManyPathsBetweenKnownPointsStayBounded) {
  // A ladder of 2 x 30 new points between A and B, every rung and rail
  // observed both ways with distances: the number of simple paths grows as
  // 2^30; the search stops within its leg and table limits.
  Place("A0", 0, -1000);
  Place("A", 0, 0);
  Place("B", 0, 31 * 500.0);
  Place("B0", 0, 32 * 500.0);
  for (const char* k : {"A", "B", "A0", "B0"}) Known(k);
  auto p = [](int row, int col) { return Format("L%d_%d", row, col); };
  for (int c = 0; c < 30; ++c) {
    Place(p(0, c), -200, (c + 1) * 500.0);
    Place(p(1, c), 200, (c + 1) * 500.0 + 50);
  }
  Set("A", {"A0", p(0, 0), p(1, 0)});
  Set("B", {p(0, 29), p(1, 29), "B0"});
  Distance("A", p(0, 0));
  Distance("A", p(1, 0));
  Distance(p(0, 29), "B");
  Distance(p(1, 29), "B");
  for (int c = 0; c < 30; ++c) {
    for (int r = 0; r < 2; ++r) {
      Names targets = {c == 0 ? "A" : p(r, c - 1), p(1 - r, c), c == 29 ? "B" : p(r, c + 1)};
      Set(p(r, c), targets);
      if (c < 29) Distance(p(r, c), p(r, c + 1));
    }
    Distance(p(0, c), p(1, c));
  }
  form.closureMode = 2;
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  ASSERT_GT(net->closureCheckCount, 0);
  EXPECT_LE(net->closureCheckCount, kMaxTraverses);
  const std::string text = Report();
  EXPECT_TRUE(Has(text, Format("%5d  %-13s%-13s%-13s%-13s\r\n", net->closureCheckCount, "A0", "A", "B", "B0")));
  EXPECT_TRUE(Has(text, "没有发现粗差 !!!"));
  for (int i = 0; i < net->closureCheckCount; ++i) {
    const TraverseClosure t = ReadTraverseClosure(*net, i);
    EXPECT_LT(std::hypot(t.fx, t.fy), 5.0) << i;
  }
}

TEST_F(RawReport, TriangleClosuresAndTheFerreroEstimate) {
  // Equilateral triangle: angles of exactly 60 degrees close to zero.
  Place("A", 0, 0);
  Place("B", 0, 1000);
  Place("C", 866.0254037844386, 500);
  Known("A");
  Known("B");
  Add(kDirectionsBox, "A,B,0");
  Add(kDirectionsBox, "A,C,300");
  Add(kDirectionsBox, "B,C,0");
  Add(kDirectionsBox, "B,A,300");
  Add(kDirectionsBox, "C,A,0");
  Add(kDirectionsBox, "C,B,299.5957");  // the angle at C 3" too large
  Distance("A", "C");
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  EXPECT_FALSE(Has(Report(), "三角形闭合差"));  // exactly 6 directions: no search

  form.boxes[kDirectionsBox] = Utf8ToGbk(
      "A,B,0\r\nA,C,300\r\nA,D,60\r\nB,C,0\r\nB,A,300\r\nB,D,240\r\nC,A,0\r\nC,B,299.5957\r\nD,A,0\r\nD,B,60\r\n");
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  const std::string text = Report();
  EXPECT_TRUE(Has(text, "    1  A          B          C          =    3.00\r\n"));
  EXPECT_TRUE(Has(text, "    2  A          B          D          =    0.00\r\n"));
  EXPECT_TRUE(Has(text, "     正闭合差个数=1    ;  负闭合差个数=0    ;  零闭合差个数=1    \r\n\r\n"));
  // m = sqrt(3^2 / (3 * 2))
  EXPECT_TRUE(Has(text, Format("%23s菲列罗测角中误差=%8.3f\r\n", "", std::sqrt(9.0 / 6.0))));
}

TEST_F(RawReport, SlopeReductionPairsHeightsAndThePlaneCorrection) {
  // A on the known height; B reached from A, C only from B (second pass).
  form.calcMode = kSlopeReducedProjected;
  form.projectionHeight = "0";
  form.yOffset = "500000";
  form.refraction = "0.14";
  Place("A", 3300000, 520000);
  Place("B", 3301000, 520000);
  Place("C", 3301000, 521000);
  Known("A");
  Known("B");
  Add(kKnownHeightsBox, "A,100");
  Set("A", {"B", "C"});
  Set("B", {"C", "A"});
  Set("C", {"A", "B"});
  // Horizontal sights, zenith distance 90 degrees: h comes from earth
  // curvature and refraction only.
  form.verticalAngleKind = 1;
  Add(kDistanceLinesBox, "C,B,1000,1.5,1.5,90");
  Add(kDistanceLinesBox, "A,B,1000,1.5,1.5,90");
  Add(kDistanceLinesBox, "B,A,1000,1.5,1.5,90");
  Add(kDistanceLinesBox, "A,B,1000.01,1.5,1.5,90");  // same side again: printed, not a new distance
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  const double c = (1 - 0.14) / (2 * 6373000.0);
  const double h = 1000.0 * 1000.0 * c;
  // Heights: B = A + (h - h)/2 from the pair; C = B - h in the second pass.
  const auto names = [&](int i) { return std::string(SlotText(net->pointName[i])); };
  ASSERT_EQ(names(2), "C");
  EXPECT_NEAR(net->h[0], 100.0, 1e-12);
  EXPECT_NEAR(net->h[1], 100.0, 1e-9);
  EXPECT_NEAR(net->h[2], 100.0 - h, 1e-9);
  // Mode 3: C-B at mean height 100 - h/2 and ym = 20500; A-B at 100 and 20000.
  ASSERT_EQ(net->reducedCount, 2);
  const double horizontal = std::sqrt(1000.0 * 1000.0 - h * h);
  const double r = 6373000.0;
  EXPECT_NEAR(net->reducedLength[1],
              horizontal * (1 - 100.0 / r) * (1 + 20000.0 * 20000.0 / (2 * r * r)), 1e-9);
  const std::string text = Report();
  EXPECT_TRUE(Has(text, "                 6.平距高差计算<个数:4   单位:米>\r\n"));
  const char* row = "%5d  %-11s%-11s  %10.4f  %10.4f";
  EXPECT_TRUE(Has(text, Format(row, 1, "C", "B", h, horizontal) + "\r\n"));
  EXPECT_TRUE(Has(text, Format(row, 2, "A", "B", h, horizontal) + "  dh= 134.9\r\n"));
  EXPECT_TRUE(Has(text, Format(row, 3, "B", "A", h, horizontal) + "  ds=   0.0\r\n"));
  EXPECT_TRUE(Has(text, Format(row, 4, "A", "B", h, 1000.01) + "\r\n"));
  EXPECT_TRUE(Has(text, "         7.水平距,高程投影改正边长观测值<个数:2   单位:米>\r\n"));
  EXPECT_TRUE(Has(text, "  序号 点    名               X坐标          Y坐标        H高程\r\n"));
  EXPECT_TRUE(Has(text, Format("%5d  %-16s%15.4f%15.4f  %10.4f\r\n", 3, "C", net->x[2], net->y[2], 100.0 - h)));
}

TEST_F(RawReport, UnreachableHeightsSkipTheReportAndRemoveAStaleOne) {
  form.calcMode = kSlopeReduced;
  Place("A", 3300000, 520000);
  Place("B", 3301000, 520000);
  Place("C", 3301000, 521000);
  Known("A");
  Known("B");
  Add(kKnownHeightsBox, "A,100");
  Set("A", {"B", "C"});
  Set("B", {"A", "C"});
  Add(kDistanceLinesBox, "A,C,1414.2,1.5,1.5,0");
  Add(kDistanceLinesBox, "B,C,1000,1.5,1.5,0");
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  ASSERT_TRUE(FileExists(ws.ReportPath()));

  form.boxes[kKnownHeightsBox].clear();
  EXPECT_TRUE(Confirm());  // the dialog closes all the same
  EXPECT_EQ(platform.MessagesUtf8(), Names({"待定点[A]高程不能计算出 !", "待定点[C]高程不能计算出...",
                                            "待定点[B]高程不能计算出 !", "待定点[C]高程不能计算出...",
                                            "待定点高程不能完全计算出 !"}));
  EXPECT_FALSE(FileExists(ws.ReportPath()));
}

// Heights are carried as long as a pass reaches new points, as in the height
// network: a chain typed against the direction of propagation needs one pass
// per point, far more than 32 here.
TEST(ApproximateHeights, LongChainTypedBackwardsIsStillReached) {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "chain.NAP");
  net->calcMode = kSlopeReduced;
  constexpr int kPoints = 60;
  for (int p = 0; p < kPoints; ++p) SetSlotText(net->pointName[p], Format("P%d", p));
  net->pointCount = kPoints;
  net->knownHeightCount = 1;
  SetSlotText(net->knownHeightName[0], "P0");
  net->knownHeight[0] = 100.0;
  net->reducedCount = kPoints - 1;
  for (int i = 0; i < kPoints - 1; ++i) {
    const int from = kPoints - 2 - i;  // the last leg first
    SetSlotText(net->reducedFrom[i], Format("P%d", from));
    SetSlotText(net->reducedTo[i], Format("P%d", from + 1));
    net->reducedLength[i] = 500.0;
    net->reducedHeightDiff[i] = 0.25;
  }
  PlaneModel model = PlaneModelFromRecord(*net);
  const InputCheck heights = ComputeApproximateHeights(model);
  EXPECT_TRUE(heights);
  EXPECT_TRUE(heights.notes.empty());
  EXPECT_DOUBLE_EQ(model.points[kPoints - 1].h, 100.0 + 0.25 * (kPoints - 1));
}

TEST_F(RawReport, SideKindsAndPrecisionPairs) {
  Place("K1", 0, 0);
  Place("K2", 0, 1000);
  Place("K3", 1000, 0);
  Place("P", 1000, 1000);
  Place("Q", 500, 1500);
  Place("R", 1500, 500);
  for (const char* k : {"K1", "K2", "K3"}) Known(k);
  Set("K1", {"K2", "K3", "P"});
  Set("K2", {"K1", "Q"});
  Set("P", {"K3", "R"});
  Set("K3", {"P", "K2"});
  Distance("K2", "P");
  Distance("P", "R");
  Add(kFixedDistancesBox, Format("P,K3,%.4f", Length("P", "K3")));
  Add(kFixedAzimuthsBox, Format("K3,P,%.6f", RadiansToDms(Azimuth("K3", "P"))));
  Add(kFixedAzimuthsBox, Format("Q,R,%.6f", RadiansToDms(Azimuth("Q", "R"))));
  Add(kWeightedDistancesBox, Format("Q,K2,%.4f,1", Length("Q", "K2")));
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  std::map<std::string, int> kinds;
  for (int i = 0; i < net->sideCount; ++i) {
    kinds[std::string(SlotText(net->sideFrom[i])) + "-" + std::string(SlotText(net->sideTo[i]))] = net->sideSymbol[i];
  }
  const std::map<std::string, int> expected = {
      {"P-K3", kSideFixedWithAzimuth},  // fixed side, then a fixed azimuth on it
      {"Q-R", kSideFixedAzimuth},       {"Q-K2", kSideObserved},  // weighted side, also observed from K2
      {"K2-P", kSideObserved},          {"K1-K2", kSideFixed},     // directions from both known ends
      {"K1-K3", kSideKnownFromStation}, {"K1-P", kSideFromStation}, {"P-R", kSideObserved},
      {"K3-K2", kSideKnownFromStation}};
  EXPECT_EQ(kinds, expected);

  Add(kPrecisionPairsBox, "Q,R");
  ASSERT_FALSE(Confirm());
  EXPECT_EQ(platform.MessagesUtf8(), Names({"评定精度两端点[1]必须是不相连接的两个点 !"}));
  form.boxes[kPrecisionPairsBox] = Utf8ToGbk("R,K1\r\n");
  ASSERT_FALSE(Confirm());
  EXPECT_EQ(platform.MessagesUtf8(), Names({"评定精度端点[1]不能是已知点 !"}));
  form.boxes[kPrecisionPairsBox] = Utf8ToGbk("Q,P\r\nR,K1\r\n");
  ASSERT_FALSE(Confirm());
  EXPECT_EQ(platform.MessagesUtf8(), Names({"评定精度端点[2]不能是已知点 !"}));
  // A pair naming a point the network does not have is refused by that name.
  for (const auto& [pairs, message] : {
           std::pair{"Q,P\r\nR,P2\r\n", "评定精度端点[2]的点名[P2]不是控制网中的点 !"},
           std::pair{"Q1,K1\r\n", "评定精度端点[1]的点名[Q1]不是控制网中的点 !"},
       }) {
    form.boxes[kPrecisionPairsBox] = Utf8ToGbk(pairs);
    ASSERT_FALSE(Confirm());
    EXPECT_EQ(platform.MessagesUtf8(), Names({message}));
  }
  form.boxes[kPrecisionPairsBox] = Utf8ToGbk("Q,P\r\n");
  EXPECT_TRUE(Confirm()) << platform.LastMessageUtf8();
}

TEST_F(RawReport, NationalModeReducesTheWorkingDirectionsOnly) {
  form.calcMode = kNationalSystem;
  Place("G1", 3301000, 621000);
  Place("G2", 3304200, 622800);
  Place("G3", 3302300, 625400);
  Known("G1");
  Known("G2");
  Set("G1", {"G2", "G3"});
  Set("G2", {"G3", "G1"});
  Add(kKnownHeightsBox, "G1,0");
  Add(kDistanceLinesBox, Format("G1,G3,%.4f,1.5,1.5,0", Length("G1", "G3")));
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  // Points G1, G2, G3 are entries 0, 1, 2.
  const auto delta = [&](int s, int t) {
    // Textbook arc-to-chord correction: (x_s - x_t)(2 y_s + y_t) / 6R^2, with
    // y measured from the central meridian.
    const double ys = net->y[s] - 500000.0;
    const double yt = net->y[t] - 500000.0;
    return (net->x[s] - net->x[t]) * (2.0 * ys + yt) / (6.0 * kEarthRadius * kEarthRadius);
  };
  // Set G1: G2 first (0), then G3 turned by its delta minus G2's.
  const double entered = RadiansToDms(std::fmod(Azimuth("G1", "G3") - Azimuth("G1", "G2") + 4 * kPi, 2 * kPi));
  const double expected = RadiansToDms(DmsToRadians(std::stod(Format("%.6f", entered))) + delta(0, 2) -
                                       delta(0, 1));
  EXPECT_NEAR(net->direction[net->setStart[0] + 1], expected, 1e-12);
  EXPECT_EQ(net->direction[net->setStart[0]], 0.0);
  EXPECT_EQ(net->inputDirection[1], std::stod(Format("%.6f", entered)));  // the dialog keeps what was typed
  const std::string text = Report();
  EXPECT_TRUE(Has(text, "改化后方向观测值<个数:4   单位:度.分秒>"));
  EXPECT_TRUE(Has(text, Format("%5d  %-11s%-20s%10.3f     %12.6f\r\n", 2, "G1", "G3", delta(0, 2) * kRhoSeconds,
                               net->direction[net->setStart[0] + 1])));
}

TEST_F(RawReport, RankDeficientOrUnwritableReportsWriteNothing) {
  Traverse();
  ASSERT_TRUE(Confirm());
  PlaneModel model = PlaneModelFromRecord(*net);
  model.redundancy = -1;
  const std::string path = dir.File("other.txt");
  EXPECT_FALSE(WritePlaneRawReport(model, platform, path, section, 0));
  EXPECT_EQ(platform.LastMessageUtf8(), "起始数据不足，秩亏网，不能解算 !!!");
  EXPECT_FALSE(FileExists(path));
  model.redundancy = 3;
  EXPECT_FALSE(WritePlaneRawReport(model, platform, dir.File("no/such/folder/NET.txt"), section, 0));
  EXPECT_EQ(platform.LastMessageUtf8(), "写原始数据文件打开错误 !");
}

// A damaged record gives a report with its tables kept within the record:
// counts beyond the tables or negative, set starts outside the direction
// table, a pair naming no point.
TEST_F(RawReport, DamagedCountsAndSetStartsStayWithinTheTables) {
  Traverse();
  ASSERT_TRUE(Confirm()) << platform.LastMessageUtf8();
  std::memcpy(net->pairFirst[0], "NOWHERE", 8);
  std::memcpy(net->pairSecond[0], "A", 2);
  const struct {
    int32_t pairs, fixedAzimuths, weightedSides, setStart;
    std::string pairsHead;
  } rows[] = {{1, -3, 1 << 30, 1 << 30, "评定精度两端点<个数:1>"},
              {1 << 30, 1 << 30, -1, -7, Format("评定精度两端点<个数:%d>", kMaxSmallTable)}};
  for (const auto& r : rows) {
    auto damaged = std::make_unique<PlaneNetwork>(*net);
    damaged->precisionPairCount = r.pairs;
    damaged->fixedAzimuthCount = r.fixedAzimuths;
    damaged->weightedDistanceCount = r.weightedSides;
    damaged->setStart[1] = r.setStart;
    damaged->calcMode = kNationalSystem;  // the directions are reduced by set
    const std::string path = dir.File("damaged.txt");
    PlaneModel model = PlaneModelFromRecord(*damaged);
    ASSERT_TRUE(WritePlaneRawReport(model, platform, path, section, 0));
    const std::string text = GbkToUtf8(ReadBytes(path));
    EXPECT_TRUE(Has(text, r.pairsHead)) << r.pairs;
    EXPECT_TRUE(Has(text, "    1  NOWHERE    A          \r\n"));
    EXPECT_FALSE(Has(text, "固定方位角<个数:-"));
    EXPECT_TRUE(Has(text, "改化后方向观测值"));
  }
}

}  // namespace
}  // namespace qp

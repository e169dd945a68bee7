#include "workflow/plane_workflow.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_file.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ScriptedPlatform;
using testing::TempDir;
using Messages = std::vector<std::string>;

// The triangulation of the examples: two known points, three new ones.
const std::map<PlaneTextBox, std::string> kTriangulation = {
    {kKnownPointsBox, "GP01,3805123.456,512345.678\nGP02,3806987.123,514876.543\n"},
    {kDirectionsBox,
     "GP01,GP02,0.00000\nGP01,城北,64.44094\nGP01,N3,318.26206\nGP02,GP01,0.00000\nGP02,N3,67.23510\n"
     "GP02,N2,237.54314\nGP02,城北,297.25247\n城北,GP01,0.00000\n城北,GP02,52.41160\n城北,N2,104.02286\n"
     "N2,城北,0.00000\nN2,GP02,69.07558\nN2,N3,73.09369\nN3,GP01,0.00000\nN3,N2,283.29526\nN3,GP02,288.57321\n"},
    {kDistanceLinesBox,
     "GP01,城北,3507.6820\nGP02,N2,2987.0955\n城北,N2,3295.9522\nN2,N3,5174.4473\nGP02,城北,3573.7823\n"
     "N3,GP02,2204.7387\n"},
    {kPrecisionPairsBox, "城北,N3\n"},
};

struct PlaneWorkflowTest : ::testing::Test {
  TempDir dir;
  ScriptedPlatform platform;
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  std::unique_ptr<PlaneNetwork> backup = std::make_unique<PlaneNetwork>();
  std::unique_ptr<NormalEquationStore> normals = std::make_unique<NormalEquationStore>();
  SectionNumber section;
  PlaneWorkspace ws{*settings, section, *net, *backup, dir.File("NET.NAP")};

  void SetUp() override {
    ResetSettingsBlock(*settings);
    ResetPlaneNetwork(*net, ws.dataPath);
    ASSERT_TRUE(ReadWritePlaneFile(ws.dataPath, FileDirection::Write, *settings, *net));
    ws.normals = normals.get();
  }

  // The dialog, typed and confirmed (or cancelled after the mode was changed).
  NetworkEditResult Edit(std::map<PlaneTextBox, std::string> boxes, int calcMode = 1, bool confirm = true,
                       const std::function<void()>& afterConfirm = nullptr) {
    platform.messages.clear();
    return EditPlaneNetwork(ws, platform, [&](PlaneNetwork& record, const PlaneDialogTarget& target) {
      const std::string& draft = target.draftPath;
      PlaneInputForm form;
      InitializePlaneForm(form, record, draft);
      form.networkName = Gbk("测试网");
      SelectPlaneCalcMode(form, record, calcMode);
      for (auto& [box, text] : boxes) {
        std::string crlf;
        for (char ch : text) crlf += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
        form.boxes[box] = Utf8ToGbk(crlf);
      }
      if (!confirm) return false;
      if (!RunPlaneConfirmation(form, record, platform, draft, target.steps)) return false;
      if (afterConfirm) afterConfirm();
      return true;
    });
  }
  std::unique_ptr<PlaneNetwork> Stored() {
    auto s = std::make_unique<SettingsBlock>();
    auto n = std::make_unique<PlaneNetwork>();
    EXPECT_TRUE(ReadWritePlaneFile(ws.dataPath, FileDirection::Read, *s, *n));
    return n;
  }
  std::string Report() { return GbkToUtf8(testing::ReadBytes(ws.ReportPath())); }
};

TEST_F(PlaneWorkflowTest, ComputesStoresAndExports) {
  ASSERT_EQ(Edit(kTriangulation), NetworkEditResult::Computed) << platform.LastMessageUtf8();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_EQ(ws.changeLevel, 256);
  EXPECT_EQ(SheetText(*settings, kNetworkNameSlot), Gbk("测试网"));

  const auto stored = Stored();
  EXPECT_EQ(std::memcmp(stored.get(), net.get(), sizeof(PlaneNetwork)), 0);
  EXPECT_EQ(stored->lastComputedPointCount, 5);
  EXPECT_NEAR(stored->sigma0, 0.604, 5e-4);
  EXPECT_GT(stored->pointE[2], 0.0f);

  // The result sections continue the numbering of the raw-data report.
  const std::string report = Report();
  const size_t coordinates = report.find(".坐标平差值<个数:5   单位:米>");
  ASSERT_NE(coordinates, std::string::npos);
  EXPECT_EQ(report.substr(coordinates - 18, 18), std::string(17, ' ') + "9");
  EXPECT_NE(report.find("10.方向平差值和改正数<个数:16>"), std::string::npos);
  EXPECT_NE(report.find("13.平差后边长和方位角\r\n"), std::string::npos);
  const std::string exported = testing::ReadBytes(CoordinateExportPathFor(ws.dataPath));
  EXPECT_EQ(exported.rfind("GP01, 3805123.456000,  512345.678000\r\n", 0), 0u);

  // The same network again: nothing to redraw. One direction less: the
  // observations changed.
  ASSERT_EQ(Edit(kTriangulation), NetworkEditResult::Computed);
  EXPECT_EQ(ws.changeLevel, 0);
  auto fewer = kTriangulation;
  const std::string dropped = "GP02,城北,297.25247\n";
  fewer[kDirectionsBox].erase(fewer[kDirectionsBox].find(dropped), dropped.size());
  ASSERT_EQ(Edit(fewer), NetworkEditResult::Computed);
  EXPECT_EQ(ws.changeLevel, 128);
}

TEST_F(PlaneWorkflowTest, CancelBringsBackTheStoredNetwork) {
  ASSERT_EQ(Edit(kTriangulation), NetworkEditResult::Computed);
  const auto stored = Stored();
  EXPECT_EQ(Edit(kTriangulation, 0, false), NetworkEditResult::Cancelled);
  EXPECT_EQ(net->calcMode, 1);  // the dialog had switched it to 0
  EXPECT_EQ(std::memcmp(stored.get(), net.get(), sizeof(PlaneNetwork)), 0);

  // Without the file, the record as it was before the dialog.
  std::filesystem::remove(ws.dataPath);
  EXPECT_EQ(Edit(kTriangulation, 0, false), NetworkEditResult::Cancelled);
  EXPECT_EQ(std::memcmp(stored.get(), net.get(), sizeof(PlaneNetwork)), 0);
}

// A failed computation keeps the confirmed input in the file (no results),
// refilled from the record next time.
TEST_F(PlaneWorkflowTest, AFailedComputationStoresOnlyTheInput) {
  auto deficient = kTriangulation;
  deficient[kFixedAzimuthsBox] = "GP01,GP02,53.375872\n";
  EXPECT_EQ(Edit(deficient), NetworkEditResult::Failed);
  EXPECT_EQ(platform.MessagesUtf8(), (Messages{"法方程系数不满秩或超过解题容量 !!!", "平面网解算失败 !"}));
  const auto stored = Stored();
  EXPECT_EQ(stored->fixedAzimuthCount, 1);
  EXPECT_EQ(stored->sigma0, 0.0);
  EXPECT_EQ(stored->lastComputedPointCount, 5);
  EXPECT_EQ(Report().find("坐标平差值"), std::string::npos);
  EXPECT_FALSE(std::ifstream(CoordinateExportPathFor(ws.dataPath)).good());

  // A report that went away before the computation.
  EXPECT_EQ(Edit(kTriangulation, 1, true, [&] { std::filesystem::remove(ws.ReportPath()); }),
            NetworkEditResult::Failed);
  EXPECT_EQ(platform.MessagesUtf8(), Messages{"平面网解算失败 !"});
}

TEST_F(PlaneWorkflowTest, ANetworkOfKnownPointsIsNotComputed) {
  const std::map<PlaneTextBox, std::string> known = {
      {kKnownPointsBox, "A,1000,1000\nB,1000,2000\nC,2000,1500\n"},
      {kDirectionsBox, "A,B,0\nA,C,63.26058\nB,C,0\nB,A,53.07484\n"},
  };
  EXPECT_EQ(Edit(known), NetworkEditResult::NotComputed);
  EXPECT_EQ(platform.LastMessageUtf8(), "平面网不满足基本条件 !");
  EXPECT_EQ(Stored()->directionCount, 4);
}

// Without redundancy the network is estimated: the precision section alone,
// sigma0 the prior error, the approximate coordinates kept.
// A forward intersection has no redundancy: its precision is estimated. (A
// polar point with the network's only distance is not determined at all: a
// single distance takes no part, and the normal equations are singular.)
TEST_F(PlaneWorkflowTest, NoRedundancyMeansAnEstimate) {
  const std::map<PlaneTextBox, std::string> intersection = {
      {kKnownPointsBox, "A,1000,1000\nB,1000,2000\n"},
      {kDirectionsBox, "A,B,0\nA,P,30.0000\nB,P,0\nB,A,30.0000\n"},
  };
  ASSERT_EQ(Edit(intersection), NetworkEditResult::Computed) << platform.LastMessageUtf8();
  EXPECT_EQ(net->redundancy, 0);
  EXPECT_EQ(net->sigma0, 1.8);
  const std::string report = Report();
  EXPECT_EQ(report.find("坐标平差值"), std::string::npos);
  EXPECT_NE(report.find("精度评定<单位权中误差=1.800  >"), std::string::npos);

  const std::map<PlaneTextBox, std::string> polar = {
      {kKnownPointsBox, "A,1000,1000\nB,1000,2000\n"},
      {kDirectionsBox, "A,B,0\nA,P,30.0000\n"},
      {kDistanceLinesBox, "A,P,500.0\n"},
  };
  EXPECT_EQ(Edit(polar), NetworkEditResult::Failed);
  EXPECT_EQ(platform.LastMessageUtf8(), "平面网解算失败 !");
}

TEST_F(PlaneWorkflowTest, WarnsOfAPrecisionPairCloserThanTheWarningDistance) {
  ASSERT_EQ(Edit(kTriangulation), NetworkEditResult::Computed);
  EXPECT_EQ(platform.beeps, 0);
  net->warningDistance = 5000.0;  // 城北 - N3 is about 5.4 km
  EXPECT_FALSE(CheckNearPairs(*net, platform));
  net->warningDistance = 6000.0;
  net->breakthroughWarning = 0;
  EXPECT_FALSE(CheckNearPairs(*net, platform));
  net->breakthroughWarning = 1;
  net->calcMode = kPrecisionEstimate;
  EXPECT_FALSE(CheckNearPairs(*net, platform));
  net->calcMode = 1;
  EXPECT_TRUE(CheckNearPairs(*net, platform));
  EXPECT_EQ(net->displayMode, 4);
  EXPECT_EQ(platform.beeps, 1);
}

TEST(ChangeLevel, GrowsWithWhatChanged) {
  auto before = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*before, "net.NAP");
  before->pointCount = 3;
  before->knownCount = 2;
  before->unknownPointCount = 1;
  before->lastComputedPointCount = 3;
  for (int p = 0; p < 3; ++p) {
    SetSlotText(before->pointName[p], std::string(1, static_cast<char>('A' + p)));
    before->x[p] = 1000.0 * p;
  }
  auto after = std::make_unique<PlaneNetwork>();
  auto level = [&](auto change) {
    std::memcpy(after.get(), before.get(), sizeof(PlaneNetwork));
    change(*after);
    return ChangeLevel(*after, *before);
  };
  EXPECT_EQ(level([](PlaneNetwork&) {}), 0);
  EXPECT_EQ(level([](PlaneNetwork& n) { n.x[2] += 9.9; }), 0);
  EXPECT_EQ(level([](PlaneNetwork& n) { n.y[2] -= 10.1; }), 256);
  EXPECT_EQ(level([](PlaneNetwork& n) { SetSlotText(n.pointName[1], "Z"); }), 256);
  EXPECT_EQ(level([](PlaneNetwork& n) { n.knownCount = 1; }), 256);
  EXPECT_EQ(level([](PlaneNetwork& n) { n.redundancy = 4; }), 128);
  EXPECT_EQ(level([](PlaneNetwork& n) { n.weightedDistanceCount = 1; }), 128);
  EXPECT_EQ(level([](PlaneNetwork& n) { n.closureCheckCount = 1; }), 128);
  // A network never computed is always new; the count is then taken over.
  before->lastComputedPointCount = -1;
  std::memcpy(after.get(), before.get(), sizeof(PlaneNetwork));
  EXPECT_EQ(ChangeLevel(*after, *before), 256);
  EXPECT_EQ(after->lastComputedPointCount, 3);
}

}  // namespace
}  // namespace qp

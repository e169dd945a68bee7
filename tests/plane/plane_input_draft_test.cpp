// The .PTP draft: its byte layout, the round trip of the dialog's texts and
// settings, and files that are damaged or no drafts at all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "plane_form_fixture.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

struct PlaneDraft : testing::PlaneFormTest {
  testing::TempDir dir;
  std::string path = dir.File("net.PTP");

  void SetUp() override {
    PlaneFormTest::SetUp();
    for (int k = 0; k < kPlaneTextBoxCount; ++k) Type(PlaneTextBox(k), "点" + std::to_string(k) + ",1.5,2\r\nB,3,4\r\n");
  }
  template <typename T>
  static T At(const std::string& bytes, size_t offset) {
    T v;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
  }
};

TEST_F(PlaneDraft, LayoutAndRoundTrip) {
  EXPECT_EQ(PlaneDraftPath("/data/net.txt"), "/data/net.PTP");
  form.boxes[kApproxPointsBox].clear();
  form.boxes[kDirectionsBox] = "  A,B,0 \r\n\r\n";
  form.calcMode = kSlopeReducedProjected;
  form.closureMode = 2;
  form.directionError = "0.7";
  form.projectionHeight = "120.5";
  form.yOffset = "40000";
  form.verticalAngleKind = 1;
  form.distanceColumnOrder = 1;
  form.networkName = "A" + Gbk("十六个汉字的控制网名称正好三十二");  // 33 bytes
  ASSERT_TRUE(WritePlaneDraft(path, form));

  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(At<int32_t>(bytes, 4), 3);
  EXPECT_EQ(At<int32_t>(bytes, 8), 2);
  // The name is cut to 32 bytes without splitting a character.
  EXPECT_EQ(std::string(bytes.data() + 12), "A" + Gbk("十六个汉字的控制网名称正好三十"));
  EXPECT_EQ(At<double>(bytes, 80), 0.7);
  EXPECT_EQ(At<double>(bytes, 112), 40000.0);
  EXPECT_EQ(At<double>(bytes, 120), 0.14);
  EXPECT_EQ(At<int32_t>(bytes, 132), 1);
  // Texts are trimmed and end in CR LF, an empty one too; offsets are running sums.
  const auto first = static_cast<size_t>(At<int32_t>(bytes, 140));
  EXPECT_EQ(bytes.substr(184, first), form.boxes[0]);
  EXPECT_EQ(At<int32_t>(bytes, 144), static_cast<int32_t>(first + 2));
  EXPECT_EQ(bytes.substr(184 + first + 2 + form.boxes[2].size() * 2, 7), "A,B,0\r\n");
  EXPECT_EQ(At<int32_t>(bytes, 176), static_cast<int32_t>(bytes.size() - 184));

  PlaneInputForm read;
  ASSERT_TRUE(ReadPlaneDraft(path, read));
  EXPECT_TRUE(read.restoredFromDraft);
  EXPECT_EQ(read.boxes[kKnownPointsBox], form.boxes[kKnownPointsBox]);
  EXPECT_EQ(read.boxes[kApproxPointsBox], "\r\n");
  EXPECT_EQ(read.boxes[kWeightedDistancesBox], form.boxes[kWeightedDistancesBox]);
  EXPECT_EQ(read.calcMode, kSlopeReducedProjected);
  EXPECT_EQ(read.directionError, "0.70");
  EXPECT_EQ(read.projectionHeight, "120.500");
  // What was read writes the same file again.
  ASSERT_TRUE(WritePlaneDraft(path, read));
  EXPECT_EQ(ReadBytes(path), bytes);

  // In mode 4 the national-system values are shown whatever the draft holds.
  form.calcMode = kNationalSystem;
  ASSERT_TRUE(WritePlaneDraft(path, form));
  ASSERT_TRUE(ReadPlaneDraft(path, read));
  EXPECT_EQ(read.yOffset, "500000.000");
  EXPECT_EQ(read.projectionHeight, "0.000");
}

TEST_F(PlaneDraft, DamagedFilesAreNoDrafts) {
  ASSERT_TRUE(WritePlaneDraft(path, form));
  const std::string good = ReadBytes(path);
  auto with = [&](size_t offset, auto value) {
    std::string b = good;
    std::memcpy(b.data() + offset, &value, sizeof value);
    return b;
  };
  std::string noise(5000, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 131 % 256);
  const std::string bad[] = {
      std::string(),          good.substr(0, 183),   good.substr(0, good.size() - 1),
      with(140, -1),          with(144, 3),          with(176, 0x7fffffff),
      with(4, 5),             with(8, -1),           with(132, 2),
      with(80, std::nan("")), noise,
  };
  PlaneInputForm untouched;
  untouched.networkName = "keep";
  for (size_t i = 0; i < std::size(bad); ++i) {
    WriteBytes(path, bad[i]);
    PlaneInputForm read = untouched;
    EXPECT_FALSE(ReadPlaneDraft(path, read)) << "case " << i;
    EXPECT_EQ(read.networkName, "keep") << "case " << i;
    EXPECT_EQ(read.boxes, untouched.boxes) << "case " << i;
  }
  EXPECT_FALSE(ReadPlaneDraft(dir.File("missing.PTP"), form));
  // Bytes after the last text are not part of the draft.
  WriteBytes(path, good + "tail");
  PlaneInputForm read;
  ASSERT_TRUE(ReadPlaneDraft(path, read));
  EXPECT_EQ(read.boxes[kWeightedDistancesBox], form.boxes[kWeightedDistancesBox]);
}

}  // namespace
}  // namespace qp

// The .PTP draft: its byte layout, the round trip of the dialog's texts and
// settings, and drafts that are damaged or not drafts at all.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "plane_form_fixture.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct PlaneDraft : testing::PlaneFormTest {
  TempDir dir;
  std::string path = dir.File("net.PTP");

  void FillEveryBox() {
    for (int k = 0; k < kPlaneTextBoxCount; ++k) {
      form.boxes[k] = Utf8ToGbk("点" + std::to_string(k) + ",1.5,2\r\nB,3,4\r\n");
    }
    form.boxes[kApproxPointsBox].clear();
  }
  template <typename T>
  static T At(const std::string& bytes, size_t offset) {
    T v;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
  }
};

TEST_F(PlaneDraft, PathSharesTheReportStem) {
  EXPECT_EQ(PlaneDraftPath("/data/net.txt"), "/data/net.PTP");
  EXPECT_EQ(PlaneDraftPath("ab"), "PTP");
}

TEST_F(PlaneDraft, HeaderLayout) {
  FillEveryBox();
  form.boxes[kDirectionsBox] = "  A,B,0 \r\n\r\n";  // trimmed, then one CR LF
  form.calcMode = kSlopeReducedProjected;
  form.closureMode = 2;
  form.directionError = "2.5";
  form.projectionHeight = "120.5";
  form.yOffset = "40000";
  form.refraction = "0.13";
  form.verticalAngleKind = 1;
  form.distanceColumnOrder = 1;
  ASSERT_TRUE(WritePlaneDraft(path, form));
  const std::string bytes = ReadBytes(path);
  EXPECT_EQ(At<int32_t>(bytes, 4), 3);
  EXPECT_EQ(At<int32_t>(bytes, 8), 2);
  EXPECT_EQ(std::string(bytes.data() + 12), form.networkName);
  EXPECT_EQ(At<double>(bytes, 80), 2.5);
  EXPECT_EQ(At<double>(bytes, 88), 3.0);
  EXPECT_EQ(At<double>(bytes, 96), 2.0);
  EXPECT_EQ(At<double>(bytes, 104), 120.5);
  EXPECT_EQ(At<double>(bytes, 112), 40000.0);
  EXPECT_EQ(At<double>(bytes, 120), 0.13);
  EXPECT_EQ(At<int32_t>(bytes, 128), 1);
  EXPECT_EQ(At<int32_t>(bytes, 132), 1);
  // End offsets are running sums; an empty box still takes its CR LF.
  const int32_t first = At<int32_t>(bytes, 140);
  EXPECT_EQ(first, static_cast<int32_t>(form.boxes[0].size()));
  EXPECT_EQ(At<int32_t>(bytes, 144) - first, 2);
  EXPECT_EQ(bytes.substr(184, static_cast<size_t>(first)), form.boxes[0]);
  EXPECT_EQ(At<int32_t>(bytes, 176), static_cast<int32_t>(bytes.size() - 184));
  EXPECT_NE(bytes.find("A,B,0\r\n"), std::string::npos);
}

TEST_F(PlaneDraft, RoundTripRestoresTextsAndSettings) {
  FillEveryBox();
  form.calcMode = kSlopeReduced;
  form.closureMode = 0;
  form.networkName = Gbk("十六个汉字的控制网名称正好三十二");
  form.directionError = "0.7";
  form.refraction = "0.2";
  form.verticalAngleKind = 1;
  const PlaneInputForm written = form;
  ASSERT_TRUE(WritePlaneDraft(path, written));

  PlaneInputForm read;
  ASSERT_TRUE(ReadPlaneDraft(path, read));
  auto expected = written.boxes;
  expected[kApproxPointsBox] = "\r\n";  // every text is kept with its line end, an empty one too
  EXPECT_EQ(read.boxes, expected);
  EXPECT_EQ(read.networkName, written.networkName);
  EXPECT_EQ(read.calcMode, kSlopeReduced);
  EXPECT_EQ(read.closureMode, 0);
  EXPECT_EQ(read.verticalAngleKind, 1);
  EXPECT_EQ(read.directionError, "0.70");
  EXPECT_EQ(read.distanceFixedError, "3.0");
  EXPECT_EQ(read.refraction, "0.20");
  EXPECT_EQ(read.yOffset, "500000.000");
  EXPECT_TRUE(read.restoredFromDraft);
  // Writing what was read gives the same file.
  const std::string first = ReadBytes(path);
  ASSERT_TRUE(WritePlaneDraft(path, read));
  EXPECT_EQ(ReadBytes(path), first);
}

TEST_F(PlaneDraft, ModeFourShowsTheNationalSystem) {
  form.calcMode = kNationalSystem;
  form.yOffset = "123";
  form.projectionHeight = "456";
  ASSERT_TRUE(WritePlaneDraft(path, form));
  PlaneInputForm read;
  ASSERT_TRUE(ReadPlaneDraft(path, read));
  EXPECT_EQ(read.yOffset, "500000.000");
  EXPECT_EQ(read.projectionHeight, "0.000");
}

TEST_F(PlaneDraft, LongNamesAreCutWithoutSplittingACharacter) {
  form.networkName = "A" + Gbk("十六个汉字的控制网名称正好三十二");  // 33 bytes
  ASSERT_TRUE(WritePlaneDraft(path, form));
  PlaneInputForm read;
  ASSERT_TRUE(ReadPlaneDraft(path, read));
  EXPECT_EQ(read.networkName, "A" + Gbk("十六个汉字的控制网名称正好三十"));
}

TEST_F(PlaneDraft, DamagedDraftsAreNoDrafts) {
  FillEveryBox();
  ASSERT_TRUE(WritePlaneDraft(path, form));
  const std::string good = ReadBytes(path);
  auto with = [&](size_t offset, int32_t value) {
    std::string b = good;
    std::memcpy(b.data() + offset, &value, sizeof value);
    return b;
  };
  std::string nanMu = good;
  const double nan = std::nan("");
  std::memcpy(nanMu.data() + 80, &nan, sizeof nan);
  std::string noise(5000, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>(i * 131 % 256);

  const std::string bad[] = {
      std::string(),
      good.substr(0, 183),
      good.substr(0, good.size() - 1),  // the last text runs past the end
      with(140, -1),
      with(144, 3),                      // ends before the text before it
      with(176, 0x7fffffff),
      with(4, 5),                        // no such calculation mode
      with(8, -1),
      with(132, 2),
      nanMu,
      noise,
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
  EXPECT_EQ(read.boxes[kKnownPointsBox], form.boxes[kKnownPointsBox]);
  EXPECT_EQ(read.boxes[kWeightedDistancesBox], form.boxes[kWeightedDistancesBox]);
}

}  // namespace
}  // namespace qp

// The coordinate tools' arithmetic on their records, without a form or a
// platform: what each computation returns for the cases that stop it, and
// what it leaves in the record when it succeeds.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "tools/independent_computation.h"
#include "tools/system_computation.h"
#include "tools/zone_computation.h"

namespace qp {
namespace {

struct Xy {
  double x;
  double y;
};

TEST(ZoneComputation, TheFirstPointOutOfRangeIsRefusedByItsLine) {
  const struct {
    const char* what;
    std::vector<Xy> points;
    std::optional<int> refused;
    const char* message;
  } cases[] = {
      {"inside", {{3380000, 500000}, {3390000, 38510000}}, std::nullopt, ""},
      {"beyond the pole", {{3380000, 500000}, {10100000, 500000}, {1e300, 500000}}, 1,
       "换带前坐标点第[1]行坐标超出换带计算范围!"},
      {"overflowing", {{1e300, 500000}}, 0, "换带前坐标点第[0]行坐标超出换带计算范围!"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto image = std::make_unique<ZoneTransformFile>();
    image->oldMeridian = 117.0;
    image->newMeridian = 120.0;
    image->count = static_cast<int32_t>(c.points.size());
    for (size_t i = 0; i < c.points.size(); ++i) {
      image->oldX[i] = c.points[i].x;
      image->oldY[i] = c.points[i].y;
    }
    const std::optional<RejectedEntry> refused = TransformZonePoints(*image);
    ASSERT_EQ(refused.has_value(), c.refused.has_value());
    if (!refused) continue;
    EXPECT_EQ(refused->box, 0);
    EXPECT_EQ(refused->line, *c.refused);
    EXPECT_EQ(GbkToUtf8(refused->message), c.message);
    for (int i = 0; i < *c.refused; ++i) EXPECT_TRUE(std::isfinite(image->newX[i]) && std::isfinite(image->newY[i]));
  }
}

TEST(ZoneComputation, AZoneNumberBeforeTheEastingChangesNothing) {
  auto image = std::make_unique<ZoneTransformFile>();
  image->oldMeridian = 117.0;
  image->newMeridian = 120.0;
  image->count = 2;
  const double eastings[] = {20512345.678, 512345.678};
  for (int i = 0; i < 2; ++i) {
    image->oldX[i] = 3412345.678;
    image->oldY[i] = eastings[i];
  }
  ASSERT_FALSE(TransformZonePoints(*image));
  EXPECT_NEAR(image->newX[0], image->newX[1], 1e-6);
  EXPECT_NEAR(image->newY[0], image->newY[1], 1e-6);
  EXPECT_LT(image->newY[1], 500000.0);  // west of the new meridian now
}

// Slots 1..n of a list of the .TRS record; the new points lie 100 m north
// and 200 m east of the old ones of the same name.
void FillSystemList(SystemTransformFile& image, bool newList, const std::vector<const char*>& names) {
  for (size_t i = 0; i < names.size(); ++i) {
    const double x = 3400000.0 + 1000.0 * static_cast<double>(names[i][0] - 'A');
    const double y = 500000.0 + 700.0 * static_cast<double>((names[i][0] - 'A') * (names[i][0] - 'A'));
    SetSlotText(newList ? image.newNames[i + 1] : image.oldNames[i + 1], names[i]);
    (newList ? image.newX : image.oldX)[i + 1] = newList ? x + 100.0 : x;
    (newList ? image.newY : image.oldY)[i + 1] = newList ? y + 200.0 : y;
  }
  (newList ? image.newCount : image.oldCount) = static_cast<int32_t>(names.size());
}

TEST(ZoneComputation, ZoneNumbersOfCentralMeridians) {
  const struct {
    double meridianDms;
    int width;
    std::optional<int> zone;
  } cases[] = {
      {117.0, 3, 39}, {117.0, 6, 20}, {114.0, 3, 38}, {114.0, 6, std::nullopt}, {75.0, 6, 13},
      {111.3, 3, std::nullopt}, {111.3, 6, std::nullopt},  // 111 degrees 30 minutes
      {0.0, 3, std::nullopt}, {123.0, 4, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ZoneNumberOf(c.meridianDms, c.width), c.zone) << c.meridianDms << " " << c.width;
}

TEST(SystemComputation, FittingNeedsUniqueCommonPointsAtDistinctPlaces) {
  const struct {
    std::vector<const char*> oldNames;
    std::vector<const char*> newNames;
    const char* failure;
  } cases[] = {
      {{"A", "B", "C"}, {"C", "A"}, ""},
      {{"A", "B", "C"}, {"A", "B", "D"}, "新坐标点必须是重合点 !"},
      {{"A", "B", "A"}, {"A", "B"}, "新旧坐标重合点不唯一 !"},
      {{"A", "B", "C"}, {"A", "B", "A"}, "新旧坐标重合点不唯一 !"},
      {{"A", "B", "C"}, {"A"}, "重合点数不足 !"},
      {{"A", "B"}, {"D", "C"}, "重合点数不足 !"},
      {{"A", "A2"}, {"A", "A2"}, "重合点点位重合或过于接近, 无法解算转换参数 !"},  // both at A's place
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failure);
    auto image = std::make_unique<SystemTransformFile>();
    FillSystemList(*image, false, c.oldNames);
    FillSystemList(*image, true, c.newNames);
    EXPECT_EQ(GbkToUtf8(FitSystemTransform(*image)), c.failure);
  }
}

TEST(SystemComputation, CommonPointsComeFirstAndAreCarriedOntoTheirNewPlaces) {
  auto image = std::make_unique<SystemTransformFile>();
  FillSystemList(*image, false, {"B", "E", "A", "C"});
  FillSystemList(*image, true, {"C", "A", "E"});
  ASSERT_EQ(FitSystemTransform(*image), "");
  EXPECT_EQ(image->commonCount, 3);
  EXPECT_EQ(image->parameterCount, 6);
  const char* const order[] = {"C", "A", "E", "B"};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(SlotText(image->oldNames[i]), order[i - 1]);
    // A pure shift is fitted exactly, the point that is not common too.
    EXPECT_NEAR(image->transformedX[i], image->oldX[i] + 100.0, 1e-6);
    EXPECT_NEAR(image->transformedY[i], image->oldY[i] + 200.0, 1e-6);
  }
}

// The reference data of a .SLT record: 80 system, meridian 117, H 500 m.
std::unique_ptr<IndependentSystemFile> IndependentRecord(double radius) {
  auto image = std::make_unique<IndependentSystemFile>();
  image->system = 1;
  image->meridian = 117.0;
  image->referenceX = 3380000.0;
  image->referenceY = 520000.0;
  image->height = 500.0;
  image->setX = image->setY = 50000.0;
  image->radius = radius;
  return image;
}

TEST(IndependentComputation, TheReferencePointNeedsALatitude) {
  auto image = IndependentRecord(20000.0);
  ASSERT_EQ(ComputeReference(*image), "");
  EXPECT_NEAR(image->referenceYH, 500000.0, 1e-6);
  image->referenceX = 20000000.0;
  EXPECT_EQ(GbkToUtf8(ComputeReference(*image)), "参考点信息不正确, 无法计算 !");
}

TEST(IndependentComputation, ConversionStopsAtTheFirstPointItCannotCarry) {
  const struct {
    int mode;
    double radius;
    std::vector<Xy> points;
    const char* failure;
  } cases[] = {
      {kNationalToIndependent, 1000.0, {{3380000, 520000}, {3381000, 520000}}, ""},  // on the circle
      {kNationalToIndependent, 1000.0, {{3380000, 520000}, {3380000, 521000.001}}, "国家坐标系统第[2]个超过设定的范围 !"},
      {kIndependentToNational, 1000.0, {{51000.001, 50000}}, "独立坐标系统第[1]个超过设定的范围 !"},
      {kNationalToIndependent, 1e9, {{3380000, 520000}, {20000000, 520000}}, "国家坐标系统第[2]个坐标无法转换 !"},
      {kIndependentToNational, 1e9, {{20000000, 50000}}, "独立坐标系统第[1]个坐标无法转换 !"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.failure);
    auto image = IndependentRecord(c.radius);
    ASSERT_EQ(ComputeReference(*image), "");
    image->mode = c.mode;
    const IndependentListSlots from = c.mode == kNationalToIndependent ? NationalList(*image) : IndependentList(*image);
    for (size_t i = 0; i < c.points.size(); ++i) {
      SetSlotText(from.names[i], "P");
      from.x[i] = c.points[i].x;
      from.y[i] = c.points[i].y;
    }
    from.count = static_cast<int32_t>(c.points.size());
    EXPECT_EQ(GbkToUtf8(ConvertPointList(*image)), c.failure);
  }
}

TEST(IndependentComputation, TheReferencePointGoesToItsSetPlaceAndBack) {
  auto image = IndependentRecord(20000.0);
  ASSERT_EQ(ComputeReference(*image), "");
  SetSlotText(image->nationalNames[0], "R0");
  image->nationalX[0] = image->referenceX;
  image->nationalY[0] = image->referenceY;
  image->nationalCount = 1;
  ASSERT_EQ(ConvertPointList(*image), "");
  ASSERT_EQ(image->independentCount, 1);
  EXPECT_EQ(SlotText(image->independentNames[0]), "R0");
  EXPECT_NEAR(image->independentX[0], 50000.0, 1e-6);
  EXPECT_NEAR(image->independentY[0], 50000.0, 1e-6);
  image->mode = kIndependentToNational;
  image->nationalCount = 0;
  ASSERT_EQ(ConvertPointList(*image), "");
  ASSERT_EQ(image->nationalCount, 1);
  // Back to within a tenth of a millimetre, the series' round trip.
  EXPECT_NEAR(image->nationalX[0], 3380000.0, 1e-4);
  EXPECT_NEAR(image->nationalY[0], 520000.0, 1e-4);
}

}  // namespace
}  // namespace qp

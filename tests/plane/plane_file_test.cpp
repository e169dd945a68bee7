#include "plane/plane_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

struct PlaneFileTest : ::testing::Test {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  TempDir dir;
  void SetUp() override {
    ResetSettingsBlock(*settings);
    ResetPlaneNetwork(*net, "net.NAP");
  }
};

TEST_F(PlaneFileTest, ResetRecordHoldsTheNewNetworkValues) {
  EXPECT_EQ(net->calcMode, 1);
  EXPECT_EQ(net->refraction, 0.14);
  EXPECT_EQ(net->yOffset, 500000.0);
  EXPECT_EQ(net->projectionHeight, 0.0);
  EXPECT_EQ(net->directionError, 1.8);
  EXPECT_EQ(net->distanceFixedError, 3.0);
  EXPECT_EQ(net->distanceScaleError, 2.0);
  EXPECT_EQ(net->closureMode, 1);
  EXPECT_EQ(net->lastComputedPointCount, -1);
  EXPECT_EQ(SlotText(net->networkName), Gbk("控制网名"));
  EXPECT_EQ(SlotText(net->dataFilePath), "net.NAP");
  EXPECT_EQ(net->pointCount + net->knownCount + net->directionCount + net->distanceLineCount, 0);
  EXPECT_EQ(net->limits[0], 1024);
  EXPECT_EQ(net->limits[1], 2048);
  EXPECT_EQ(net->limits[2], 64);
  EXPECT_EQ(net->limits[3], 4096);
  EXPECT_EQ(net->limits[4], 128);
}

TEST_F(PlaneFileTest, FieldsSitAtTheirFileOffsets) {
  net->knownCount = 3;
  net->x[0] = 1234.5;
  SetSlotText(net->pointName[1], "P2");
  net->closureMode = 2;
  const std::string path = dir.File("net.NAP");
  ASSERT_TRUE(ReadWritePlaneFile(path, FileDirection::Write, *settings, *net));
  const std::string bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 803264u);
  auto at = [&](size_t recordOffset) { return bytes.data() + 4544 + recordOffset; };
  int32_t i;
  double d;
  std::memcpy(&i, at(11668), 4);
  EXPECT_EQ(i, 3);
  std::memcpy(&d, at(11696), 8);
  EXPECT_EQ(d, 1234.5);
  EXPECT_EQ(std::string(at(36272 + 11), 3), std::string("P2\0", 3));
  std::memcpy(&i, at(777212), 4);
  EXPECT_EQ(i, 2);
  std::memcpy(&d, bytes.data() + 48, 8);  // settings block: scale
  EXPECT_EQ(d, 1000.0);
}

TEST_F(PlaneFileTest, WriteThenReadGivesIdenticalBytes) {
  // Fill the whole image, padding and result regions included, with a pattern.
  auto* raw = reinterpret_cast<unsigned char*>(net.get());
  for (size_t k = 0; k < sizeof(PlaneNetwork); ++k) raw[k] = static_cast<unsigned char>(k * 7 + 3);
  const std::string path = dir.File("net.NAP");
  ASSERT_TRUE(ReadWritePlaneFile(path, FileDirection::Write, *settings, *net));
  auto settings2 = std::make_unique<SettingsBlock>();
  auto net2 = std::make_unique<PlaneNetwork>();
  ASSERT_TRUE(ReadWritePlaneFile(path, FileDirection::Read, *settings2, *net2));
  EXPECT_EQ(std::memcmp(net.get(), net2.get(), sizeof(PlaneNetwork)), 0);
  EXPECT_EQ(std::memcmp(settings.get(), settings2.get(), sizeof(SettingsBlock)), 0);
}

TEST_F(PlaneFileTest, WrongLengthIsRefusedAndChangesNothing) {
  const std::string path = dir.File("net.NAP");
  ASSERT_TRUE(ReadWritePlaneFile(path, FileDirection::Write, *settings, *net));
  const std::string good = ReadBytes(path);
  auto other = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*other, "other");
  other->knownCount = 77;
  const auto before = *other;
  for (const std::string& bytes : {good.substr(0, good.size() - 1), good + "x", std::string()}) {
    WriteBytes(path, bytes);
    EXPECT_FALSE(ReadWritePlaneFile(path, FileDirection::Read, *settings, *other));
    EXPECT_EQ(std::memcmp(&before, other.get(), sizeof(PlaneNetwork)), 0);
  }
  EXPECT_FALSE(ReadWritePlaneFile(dir.File("missing.NAP"), FileDirection::Read, *settings, *other));
}

}  // namespace
}  // namespace qp

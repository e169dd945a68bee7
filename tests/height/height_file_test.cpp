// The height record and its .NAH file: reset values, byte positions of the
// file, exact-length reads that leave the record alone on failure.
#include "height/height_file.h"

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

struct HeightFileTest : ::testing::Test {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<HeightNetwork> net = std::make_unique<HeightNetwork>();
  TempDir dir;
  void SetUp() override {
    ResetSettingsBlock(*settings);
    ResetHeightNetwork(*net, "net.NAH");
  }
};

TEST_F(HeightFileTest, ResetRecordHoldsTheNewNetworkValues) {
  EXPECT_EQ(net->mode, kHeightEstimate);
  EXPECT_EQ(net->kind, kLevellingNetwork);
  EXPECT_EQ(net->priorError, 1.0);
  EXPECT_EQ(net->sigma0, 1.0);
  EXPECT_EQ(net->derivedMarker, -1);
  EXPECT_EQ(SlotText(net->networkName), Gbk("控制网名"));
  EXPECT_EQ(SlotText(net->dataFilePath), "net.NAH");
  EXPECT_EQ(net->pointCount + net->knownCount + net->observationCount + net->pairCount + net->loopCount, 0);
  EXPECT_EQ(net->capacities[0], 2048);
  EXPECT_EQ(net->capacities[1], 2560);
  EXPECT_EQ(net->capacities[2], 64);
  EXPECT_EQ(net->capacities[3], 1024);
}

TEST_F(HeightFileTest, FieldsSitAtTheirFileOffsets) {
  net->mode = kHeightAdjust;
  net->knownCount = 3;
  net->height[1] = 12.5;
  SetSlotText(net->pointName[1], "P2");
  net->observationCount = 7;
  SetSlotText(net->to[2559], "LAST");
  net->loops[1].kind = kLoopTriangle;
  SetDifferenceError(*net, 2100, 1.25f);
  const std::string path = dir.File("net.NAH");
  ASSERT_TRUE(WriteHeightFile(path, *settings, *net));
  const std::string bytes = ReadBytes(path);
  ASSERT_EQ(bytes.size(), 596416u);
  auto at = [&](size_t recordOffset) { return bytes.data() + 4544 + recordOffset; };
  auto intAt = [&](size_t offset) {
    int32_t v;
    std::memcpy(&v, at(offset), 4);
    return v;
  };
  double d;
  std::memcpy(&d, at(45456 + 8), 8);
  EXPECT_EQ(d, 12.5);
  EXPECT_EQ(intAt(0), 1);
  EXPECT_EQ(intAt(368), 3);
  EXPECT_EQ(intAt(174488), 7);
  EXPECT_EQ(intAt(585352), 2048);
  EXPECT_EQ(intAt(585368), -1);
  EXPECT_EQ(intAt(486960 + 96 + 64), kLoopTriangle);
  EXPECT_STREQ(at(22924 + 11), "P2");
  EXPECT_STREQ(at(251808 + 11 * 2559), "LAST");
  EXPECT_EQ(DifferenceError(*net, 2100), 1.25f);
}

TEST_F(HeightFileTest, ReadsOnlyFilesOfExactlyTheRightLength) {
  net->knownCount = 2;
  const std::string path = dir.File("net.NAH");
  ASSERT_TRUE(WriteHeightFile(path, *settings, *net));
  const std::string good = ReadBytes(path);

  auto loaded = std::make_unique<HeightNetwork>();
  auto loadedSettings = std::make_unique<SettingsBlock>();
  ASSERT_TRUE(ReadHeightFile(path, *loadedSettings, *loaded));
  EXPECT_EQ(std::memcmp(loaded.get(), net.get(), sizeof(HeightNetwork)), 0);
  EXPECT_EQ(std::memcmp(loadedSettings.get(), settings.get(), sizeof(SettingsBlock)), 0);

  // A failed read leaves both blocks as they were.
  std::memset(loaded.get(), 0x5a, sizeof(HeightNetwork));
  const auto before = std::make_unique<HeightNetwork>(*loaded);
  for (const std::string& bad : {good.substr(1), good + std::string(1, '\0'), std::string()}) {
    WriteBytes(path, bad);
    EXPECT_FALSE(ReadHeightFile(path, *loadedSettings, *loaded));
    EXPECT_EQ(std::memcmp(loaded.get(), before.get(), sizeof(HeightNetwork)), 0);
  }
  EXPECT_FALSE(ReadHeightFile(dir.File("missing.NAH"), *loadedSettings, *loaded));
  // A write into a folder that does not exist fails and creates nothing.
  EXPECT_FALSE(WriteHeightFile(dir.File("no/such/net.NAH"), *settings, *net));
}

}  // namespace
}  // namespace qp

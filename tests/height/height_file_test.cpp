// The .NAH file: byte positions of the record, exact-length reads that leave
// the record alone on failure.
#include "height/height_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "common/name_slot.h"
#include "support/test_files.h"

namespace qp {
namespace {

using testing::ReadBytes;
using testing::WriteBytes;

TEST(HeightFile, FieldsSitAtTheirFileOffsets) {
  testing::TempDir dir;
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<HeightNetwork>();
  ResetSettingsBlock(*settings);
  ResetHeightNetwork(*net, "net.NAH");
  net->height[1] = 12.5;
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
  std::memcpy(&d, at(360), 8);
  EXPECT_EQ(d, 1.0);  // prior error of a new network
  std::memcpy(&d, at(45456 + 8), 8);
  EXPECT_EQ(d, 12.5);
  EXPECT_EQ(intAt(585352), 2048);
  EXPECT_EQ(intAt(585364), 1024);
  EXPECT_EQ(intAt(585368), -1);
  EXPECT_EQ(intAt(486960 + 96 + 64), kLoopTriangle);
  EXPECT_STREQ(at(251808 + 11 * 2559), "LAST");

  // Reading back gives the same bytes; a file of another length is refused
  // and changes nothing.
  auto loaded = std::make_unique<HeightNetwork>();
  ASSERT_TRUE(ReadHeightFile(path, *settings, *loaded));
  EXPECT_EQ(std::memcmp(loaded.get(), net.get(), sizeof(HeightNetwork)), 0);
  EXPECT_EQ(DifferenceError(*loaded, 2100), 1.25f);
  std::memset(loaded.get(), 0x5a, sizeof(HeightNetwork));
  const auto before = std::make_unique<HeightNetwork>(*loaded);
  for (const std::string& bad : {bytes.substr(1), bytes + std::string(1, '\0'), std::string()}) {
    WriteBytes(path, bad);
    EXPECT_FALSE(ReadHeightFile(path, *settings, *loaded));
    EXPECT_EQ(std::memcmp(loaded.get(), before.get(), sizeof(HeightNetwork)), 0);
  }
  EXPECT_FALSE(WriteHeightFile(dir.File("no/such/net.NAH"), *settings, *net));
}

}  // namespace
}  // namespace qp

#include "common/settings_repair.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/gbk_text.h"

namespace qp {
namespace {

// A user's sheet: nothing of it is the new network's value.
std::unique_ptr<SettingsBlock> UsersSheet() {
  auto b = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*b);
  b->resolution = 300.0f;
  b->scale = 2000.0;
  b->cornerX = 3410000.0;
  b->cornerY = 504000.0;
  b->sheetHeight = 400;
  b->sheetWidth = 600;
  b->marginBottom = 25;
  b->marginLeft = 30;
  return b;
}

// Every float and double of the block, by its offset in the file: a NaN or an
// infinity there is reset to the value named, and no other byte changes.
TEST(SettingsRepair, EveryNonFiniteValueIsResetByName) {
  struct Case {
    size_t offset;
    bool isFloat;
    const char* name;
    double expected;
  } cases[] = {
      {44, true, "分辨率", 200.0},
      {48, false, "比例尺", 1000.0},
      {56, false, "西南角X", 8000.0},
      {64, false, "西南角Y", 1600.0},
      {72, false, "图幅北边X", 3410000.0 + 400 * 2000 * 0.001},
      {80, false, "图幅东边Y", 504000.0 + 600 * 2000 * 0.001},
      {88, false, "格网比例尺", 2000.0},
      {96, false, "原西南角X", 3410000.0},
      {104, false, "原西南角Y", 504000.0},
      {480, false, "下边距像素", 295.0},  // 25 mm at 300 dpi: 295.3 pixels
      {488, false, "左边距像素", 354.0},  // 30 mm: 354.3
      {496, false, "坐标原点X", 3410000.0},
      {504, false, "坐标原点Y", 504000.0},
      {912, true, "文本字体", 3.0},
      {916, true, "文本字体", 1.5},
      {2392, true, "图名字高", 6.0},
      {2396, true, "图名字高", 3.0},
      {2400, true, "第二行字高", 4.5},
      {2412, true, "第三行字高", 1.5},
      {2416, true, "说明字体", 3.0},
      {2424, true, "比例尺字体", 4.0},
      {2436, true, "名称字体", 2.0},
      {2440, true, "图例字体", 3.0},
      {4528, false, "内外边框间距", 10.0},
  };
  for (const Case& c : cases) {
    for (const double bad : {std::nan(""), HUGE_VAL, -HUGE_VAL}) {
      SCOPED_TRACE(c.name);
      auto block = UsersSheet();
      auto* bytes = reinterpret_cast<unsigned char*>(block.get());
      if (c.isFloat) {
        const float f = static_cast<float>(bad);
        std::memcpy(bytes + c.offset, &f, 4);
      } else {
        std::memcpy(bytes + c.offset, &bad, 8);
      }
      std::string before(reinterpret_cast<const char*>(bytes), sizeof(SettingsBlock));
      EXPECT_EQ(ResetNonFiniteSettings(*block), std::vector<std::string>{c.name});
      double value = 0.0;
      if (c.isFloat) {
        float f = 0.0f;
        std::memcpy(&f, bytes + c.offset, 4);
        value = f;
      } else {
        std::memcpy(&value, bytes + c.offset, 8);
      }
      EXPECT_EQ(value, c.expected);
      // Font sizes are reset as (height, width) pairs; every other byte stays.
      const bool pair = c.isFloat && c.offset != 44;
      const size_t from = pair ? c.offset / 8 * 8 : c.offset;
      const size_t to = pair ? from + 8 : c.offset + (c.isFloat ? 4 : 8);
      const std::string after(reinterpret_cast<const char*>(bytes), sizeof(SettingsBlock));
      EXPECT_EQ(after.substr(0, from), before.substr(0, from));
      EXPECT_EQ(after.substr(to), before.substr(to));
    }
  }
}

TEST(SettingsRepair, FiniteBlockIsLeftAsItIsAndDamageIsNamedInOneMessage) {
  auto block = UsersSheet();
  const std::string before(reinterpret_cast<const char*>(block.get()), sizeof(SettingsBlock));
  EXPECT_TRUE(ResetNonFiniteSettings(*block).empty());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.get()), sizeof(SettingsBlock)), before);

  // A derived value that cannot be derived either takes the new block's.
  block->scale = 1e308;
  block->northEdgeX = std::nan("");
  block->cornerY = HUGE_VAL;
  EXPECT_EQ(ResetNonFiniteSettings(*block), (std::vector<std::string>{"西南角Y", "图幅北边X"}));
  EXPECT_EQ(block->northEdgeX, 8500.0);
  EXPECT_EQ(block->cornerY, 1600.0);
  EXPECT_EQ(GbkToUtf8(ResetValuesMessage({"西南角Y", "图幅北边X"})),
            "数据文件中的无效数值已恢复为缺省值: 西南角Y, 图幅北边X");
}

}  // namespace
}  // namespace qp

#include "common/settings_repair.h"

#include <cmath>
#include <memory>

#include "common/format.h"
#include "common/gbk_text.h"

namespace qp {

std::vector<std::string> ResetNonFiniteSettings(SettingsBlock& b) {
  auto fresh = std::make_unique<SettingsBlock>();
  ResetSettingsBlock(*fresh);
  const SettingsBlock& d = *fresh;
  std::vector<std::string> reset;
  // A field that is not finite becomes `value`, or the new block's `fallback`
  // when `value` (derived from other fields) is not finite either.
  auto repair = [&reset](auto& field, auto value, auto fallback, const char* name) {
    if (std::isfinite(field)) return;
    field = std::isfinite(value) ? value : fallback;
    reset.emplace_back(name);
  };
  auto repairOwn = [&repair](auto& field, auto value, const char* name) { repair(field, value, value, name); };

  // Fields of their own come before the fields derived from them.
  repairOwn(b.resolution, d.resolution, "分辨率");
  repairOwn(b.scale, d.scale, "比例尺");
  repairOwn(b.cornerX, d.cornerX, "西南角X");
  repairOwn(b.cornerY, d.cornerY, "西南角Y");
  repair(b.northEdgeX, NorthEdgeOf(b), d.northEdgeX, "图幅北边X");
  repair(b.eastEdgeY, EastEdgeOf(b), d.eastEdgeY, "图幅东边Y");
  repair(b.appliedScale, b.scale, d.appliedScale, "格网比例尺");
  repair(b.previousCornerX, b.cornerX, d.previousCornerX, "原西南角X");
  repair(b.previousCornerY, b.cornerY, d.previousCornerY, "原西南角Y");
  repair(b.bottomMarginPx, MarginPixels(b.marginBottom, b.resolution, MarginRounding::Fit), d.bottomMarginPx, "下边距像素");
  repair(b.leftMarginPx, MarginPixels(b.marginLeft, b.resolution, MarginRounding::Fit), d.leftMarginPx, "左边距像素");
  repair(b.mapOriginX, b.cornerX, d.mapOriginX, "坐标原点X");
  repair(b.mapOriginY, b.cornerY, d.mapOriginY, "坐标原点Y");
  if (!std::isfinite(b.textFontHeight) || !std::isfinite(b.textFontWidth)) {
    b.textFontHeight = d.textFontHeight;
    b.textFontWidth = d.textFontWidth;
    reset.emplace_back("文本字体");
  }
  static const char* const kFontNames[kSheetFontCount] = {"图名字高",   "第二行字高", "第三行字高", "说明字体",
                                                          "比例尺字体", "名称字体",   "图例字体"};
  for (int k = 0; k < kSheetFontCount; ++k) {
    if (std::isfinite(b.fontSizes[k][0]) && std::isfinite(b.fontSizes[k][1])) continue;
    b.fontSizes[k][0] = d.fontSizes[k][0];
    b.fontSizes[k][1] = d.fontSizes[k][1];
    reset.emplace_back(kFontNames[k]);
  }
  repairOwn(b.frameSpacing, d.frameSpacing, "内外边框间距");
  return reset;
}

std::string ResetValuesMessage(const std::vector<std::string>& utf8Names) {
  std::string names;
  for (const std::string& name : utf8Names) names += (names.empty() ? "" : ", ") + name;
  return FormatText("数据文件中的无效数值已恢复为缺省值: %s", Utf8ToGbk(names).c_str());
}

}  // namespace qp

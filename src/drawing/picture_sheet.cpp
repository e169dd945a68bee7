#include "drawing/picture_sheet.h"

#include <algorithm>
#include <cmath>

#include "common/format.h"

namespace qp {
namespace {

constexpr double kFinePictureResolution = 600.0;

}  // namespace

double PictureResolution(const SettingsBlock& settings) {
  const double longest = std::max(PaperHeightMillimetres(settings), PaperWidthMillimetres(settings));
  if (longest <= 0) return kFinePictureResolution;
  // Stay a little inside the canvas limit.
  const double largest = std::floor((kMaxCanvasPixels - 64) / (longest * 0.03937007874015748));
  return std::min(kFinePictureResolution, largest);
}

std::optional<DeviceSheet> PictureSheet(const SettingsBlock& settings, double dotsPerInch, std::string* error) {
  std::string why;
  auto sheet = DeriveSheetForResolution(settings, dotsPerInch, &why);
  if (!sheet || sheet->geometry.canvasHeightPx <= 0 || sheet->geometry.canvasWidthPx <= 0) {
    if (error) *error = FormatText("图幅设置数据错误(%s),无法绘制图形", why.empty() ? "canvas size" : why.c_str());
    return std::nullopt;
  }
  return sheet;
}

}  // namespace qp

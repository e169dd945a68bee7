#include "drawing/sheet_fit.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/name_slot.h"
#include "drawing/sheet_canvas.h"
#include "drawing/text_layout.h"
#include "drawing/view_transform.h"
#include "geodesy/angles.h"

namespace qp {
namespace {

// Least ground border around the network's points, m.
constexpr double kBorder = 100.0;
// The diagram's point names: the font height plus this above the point.
constexpr double kNameAboveMm = 2.0;
// The known-point triangle's circumradius, the largest point symbol, mm.
constexpr double kSymbolReachMm = 1.5;
// A name font size that is not a number within this is damage (mm).
constexpr double kLargestFontMm = 1000.0;
// The shortest side is drawn this many number-font widths long (100 / 3).
constexpr double kSideInFontWidths = 33.333333333333336;
// The smallest sheet side, mm.
constexpr int kSmallestSheet = 100;

bool Finite(double v) { return std::isfinite(v); }

// Index of the first of `count` names, by bytes.
class NameIndex {
 public:
  template <size_t N>
  NameIndex(const char (*names)[N], int count) {
    for (int i = 0; i < count; ++i) index_.emplace(std::string(SlotText(names[i])), i);
  }
  int Find(std::string_view name) const {
    const auto it = index_.find(std::string(name));
    return it == index_.end() ? -1 : it->second;
  }

 private:
  std::unordered_map<std::string, int> index_;
};

int Bounded(int32_t count, int capacity) { return std::clamp<int32_t>(count, 0, capacity); }

double UsableFontSize(float v, double fallback) {
  return std::isfinite(v) && v > 0.0f && v < kLargestFontMm ? v : fallback;
}

// The widest reach of the names of the points with finite coordinates.
template <size_t N>
LabelReach NamesReach(const double* xs, const double* ys, const char (*names)[N], int points, float fontHeight,
                      float fontWidth) {
  const double h = UsableFontSize(fontHeight, 3.0), w = UsableFontSize(fontWidth, 1.5);
  LabelReach r = NameReach({}, h, w, kSymbolReachMm);
  for (int i = 0; i < points; ++i)
    if (Finite(xs[i]) && Finite(ys[i])) r = Widest(r, NameReach(SlotText(names[i]), h, w, kSymbolReachMm));
  return r;
}

// The sheet's ground extent and size in mm at `scale`.
struct SheetTrial {
  double minX, maxX, minY, maxY;
  int height, width;
};

SheetTrial SheetAt(const NetworkExtent& e, double scale) {
  const double m = scale * 0.001;
  SheetTrial t;
  t.minX = e.minX - std::max(kBorder, e.reach.south * m);
  t.maxX = e.maxX + std::max(kBorder, e.reach.north * m);
  t.minY = e.minY - std::max(kBorder, e.reach.west * m);
  t.maxY = e.maxY + std::max(kBorder, e.reach.east * m);
  t.height = std::max(TruncateToInt((t.maxX - t.minX) * (1.0 / scale) * 1000.0 + 10.0), kSmallestSheet);
  t.width = std::max(TruncateToInt((t.maxY - t.minY) * (1.0 / scale) * 1000.0 + 10.0), kSmallestSheet);
  return t;
}

bool FitsPaper(const SettingsBlock& b, const SheetTrial& t) {
  const int64_t paper = LargestPaperSize(b.resolution);
  return int64_t{b.marginTop} + b.marginBottom + t.height <= paper &&
         int64_t{b.marginLeft} + b.marginRight + t.width <= paper;
}

// Extent over the points with finite coordinates, shortest side over the
// named pairs with both ends among them.
template <size_t N>
std::optional<NetworkExtent> ExtentOf(const double* xs, const double* ys, const char (*names)[N], int points,
                                      const char (*from)[N], const char (*to)[N], int sides) {
  NetworkExtent e;
  bool any = false;
  for (int i = 0; i < points; ++i) {
    if (!Finite(xs[i]) || !Finite(ys[i])) continue;
    if (!any) {
      e.minX = e.maxX = xs[i];
      e.minY = e.maxY = ys[i];
      any = true;
    }
    e.minX = std::min(e.minX, xs[i]);
    e.maxX = std::max(e.maxX, xs[i]);
    e.minY = std::min(e.minY, ys[i]);
    e.maxY = std::max(e.maxY, ys[i]);
  }
  if (!any) return std::nullopt;
  const NameIndex index(names, points);
  for (int k = 0; k < sides; ++k) {
    const int a = index.Find(SlotText(from[k]));
    const int b = index.Find(SlotText(to[k]));
    if (a < 0 || b < 0) continue;
    const double s = DistanceOf(xs[a], ys[a], xs[b], ys[b]);
    if (!Finite(s) || s <= 0.0) continue;
    if (!e.shortestSide || s < *e.shortestSide) e.shortestSide = s;
  }
  return e;
}

}  // namespace

LabelReach NameReach(std::string_view name, double height, double width, double symbol) {
  const double gap = TextFont{}.gap;
  const double half = static_cast<double>(name.size()) * width / 2;
  const double glyphs = name.empty() ? 0.0 : TextAdvanceMillimetres(name, width, gap) - gap;
  LabelReach r;
  r.north = std::max(name.empty() ? 0.0 : height + kNameAboveMm, symbol);
  r.south = symbol;
  r.west = std::max(half, symbol);
  r.east = std::max(glyphs - half, symbol);
  return r;
}

LabelReach Widest(const LabelReach& a, const LabelReach& b) {
  return {std::max(a.north, b.north), std::max(a.south, b.south), std::max(a.west, b.west),
          std::max(a.east, b.east)};
}

std::optional<NetworkExtent> PlaneNetworkExtent(const PlaneNetwork& net) {
  const int points = Bounded(net.pointCount, kMaxPlanePoints);
  auto e = ExtentOf(net.x, net.y, net.pointName, points, net.sideFrom, net.sideTo, Bounded(net.sideCount, kMaxSides));
  if (e) e->reach = NamesReach(net.x, net.y, net.pointName, points, net.textFontHeight, net.textFontWidth);
  return e;
}

std::optional<NetworkExtent> HeightNetworkExtent(const HeightNetwork& net) {
  const int points = Bounded(net.pointCount, kMaxHeightPoints);
  auto e = ExtentOf(net.diagramX, net.diagramY, net.pointName, points, net.from, net.to,
                    Bounded(net.observationCount, kMaxHeightDifferences));
  if (e) e->reach = NamesReach(net.diagramX, net.diagramY, net.pointName, points, net.textFontHeight, net.textFontWidth);
  return e;
}

double ChooseSheetScale(double shortestSide, double numberFontWidth) {
  const double w = Finite(numberFontWidth) && numberFontWidth > 0.0 ? numberFontWidth : 1.0;
  double v = shortestSide * kSideInFontWidths / w;
  if (!Finite(v) || v > 1000000.0) v = 1000000.0;
  double scale;
  if (v > 100000.0) {
    scale = std::trunc(v * 0.0001) * 10000.0;
  } else if (v > 10000.0) {
    scale = std::trunc(v * 0.001) * 1000.0;
  } else if (v > 1000.0) {
    scale = std::trunc(v * 0.01) * 100.0;
  } else if (v > 100.0) {
    scale = std::trunc(v * 0.1) * 10.0;
  } else {
    scale = std::trunc(v);
  }
  // A side a few centimetres long must not give a scale of 1:0.
  return std::max(scale, 1.0);
}

SheetFitResult FitSheetToExtent(SettingsBlock& b, const NetworkExtent& extent, double numberFontWidth,
                                bool chooseScale) {
  ClampSheetSettings(b);
  if (chooseScale && extent.shortestSide) b.scale = ChooseSheetScale(*extent.shortestSide, numberFontWidth);
  SheetFitResult result{true, false, b.scale};
  SheetTrial t = SheetAt(extent, b.scale);
  while (!FitsPaper(b, t) && b.scale < kLargestSheetScale) {
    b.scale = NextStandardScale(b.scale);
    result.scaleRaised = true;
    t = SheetAt(extent, b.scale);
  }
  result.scale = b.appliedScale = b.scale;

  double step = 1.0;
  if (b.scale > 1000.0) {
    step = 100.0;
  } else if (b.scale > 100.0) {
    step = 10.0;
  }
  b.cornerX = step == 1.0 ? std::trunc(t.minX) : std::trunc(t.minX * (1.0 / step)) * step;
  b.cornerY = step == 1.0 ? std::trunc(t.minY) : std::trunc(t.minY * (1.0 / step)) * step;
  b.previousCornerX = b.mapOriginX = b.cornerX;
  b.previousCornerY = b.mapOriginY = b.cornerY;

  b.sheetHeight = t.height;
  b.sheetWidth = t.width;
  // Only a network beyond the largest scale is left to the paper's cut.
  LimitSheetToPaper(b);
  UpdateSheetCanvas(b, MarginRounding::Fit);
  UpdateSheetEdges(b);
  return result;
}

SheetFitResult FitSheetToNetwork(SettingsBlock& settings, const PlaneNetwork& net, bool chooseScale) {
  const auto extent = PlaneNetworkExtent(net);
  if (!extent) return {};
  return FitSheetToExtent(settings, *extent, net.numberFontWidth, chooseScale);
}

SheetFitResult FitSheetToNetwork(SettingsBlock& settings, const HeightNetwork& net, bool chooseScale) {
  const auto extent = HeightNetworkExtent(net);
  if (!extent) return {};
  return FitSheetToExtent(settings, *extent, net.numberFontWidth, chooseScale);
}

}  // namespace qp

#include "drawing/sheet_fit.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/name_slot.h"
#include "drawing/sheet_canvas.h"
#include "drawing/view_transform.h"
#include "geodesy/angles.h"

namespace qp {
namespace {

// Ground border around the network's points, m.
constexpr double kBorder = 100.0;
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

std::optional<NetworkExtent> PlaneNetworkExtent(const PlaneNetwork& net) {
  return ExtentOf(net.x, net.y, net.pointName, Bounded(net.pointCount, kMaxPlanePoints), net.sideFrom, net.sideTo,
                  Bounded(net.sideCount, kMaxSides));
}

std::optional<NetworkExtent> HeightNetworkExtent(const HeightNetwork& net) {
  return ExtentOf(net.diagramX, net.diagramY, net.pointName, Bounded(net.pointCount, kMaxHeightPoints), net.from,
                  net.to, Bounded(net.observationCount, kMaxHeightDifferences));
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

void FitSheetToExtent(SettingsBlock& b, const NetworkExtent& extent, double numberFontWidth, bool chooseScale) {
  ClampSheetSettings(b);
  const double minX = extent.minX - kBorder, maxX = extent.maxX + kBorder;
  const double minY = extent.minY - kBorder, maxY = extent.maxY + kBorder;

  if (chooseScale && extent.shortestSide) b.scale = ChooseSheetScale(*extent.shortestSide, numberFontWidth);
  b.appliedScale = b.scale;

  double step = 1.0;
  if (b.scale > 1000.0) {
    step = 100.0;
  } else if (b.scale > 100.0) {
    step = 10.0;
  }
  b.cornerX = step == 1.0 ? std::trunc(minX) : std::trunc(minX * (1.0 / step)) * step;
  b.cornerY = step == 1.0 ? std::trunc(minY) : std::trunc(minY * (1.0 / step)) * step;
  b.previousCornerX = b.mapOriginX = b.cornerX;
  b.previousCornerY = b.mapOriginY = b.cornerY;

  b.sheetHeight = std::max(TruncateToInt((maxX - minX) * (1.0 / b.scale) * 1000.0 + 10.0), kSmallestSheet);
  b.sheetWidth = std::max(TruncateToInt((maxY - minY) * (1.0 / b.scale) * 1000.0 + 10.0), kSmallestSheet);
  // A far-flung network with one short side would ask for metres of paper.
  LimitSheetToPaper(b);
  UpdateSheetCanvas(b, MarginRounding::Fit);
  UpdateSheetEdges(b);
}

bool FitSheetToNetwork(SettingsBlock& settings, const PlaneNetwork& net, bool chooseScale) {
  const auto extent = PlaneNetworkExtent(net);
  if (!extent) return false;
  FitSheetToExtent(settings, *extent, net.numberFontWidth, chooseScale);
  return true;
}

bool FitSheetToNetwork(SettingsBlock& settings, const HeightNetwork& net, bool chooseScale) {
  const auto extent = HeightNetworkExtent(net);
  if (!extent) return false;
  FitSheetToExtent(settings, *extent, net.numberFontWidth, chooseScale);
  return true;
}

}  // namespace qp

#include "drawing/sheet_fit.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

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

double UsableFontSize(float v, double fallback) {
  return std::isfinite(v) && v > 0.0f && v < kLargestFontMm ? v : fallback;
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

// Extent and widest name reach over the points with finite coordinates.
template <class Point>
std::optional<NetworkExtent> PointsExtent(const std::vector<Point>& points, float fontHeight, float fontWidth) {
  const double h = UsableFontSize(fontHeight, 3.0), w = UsableFontSize(fontWidth, 1.5);
  NetworkExtent e;
  e.reach = NameReach({}, h, w, kSymbolReachMm);
  bool any = false;
  for (const Point& p : points) {
    if (!Finite(p.x) || !Finite(p.y)) continue;
    if (!any) {
      e.minX = e.maxX = p.x;
      e.minY = e.maxY = p.y;
      any = true;
    }
    e.minX = std::min(e.minX, p.x);
    e.maxX = std::max(e.maxX, p.x);
    e.minY = std::min(e.minY, p.y);
    e.maxY = std::max(e.maxY, p.y);
    e.reach = Widest(e.reach, NameReach(p.name, h, w, kSymbolReachMm));
  }
  if (!any) return std::nullopt;
  return e;
}

// The line from point a to point b as the shortest side when it is shorter;
// an end that is no point or a line of no length counts for nothing.
template <class Point>
void TakeShorterSide(NetworkExtent& e, const std::vector<Point>& points, int a, int b) {
  if (a < 0 || b < 0) return;
  const double s = DistanceOf(points[a].x, points[a].y, points[b].x, points[b].y);
  if (!Finite(s) || s <= 0.0) return;
  if (!e.shortestSide || s < *e.shortestSide) e.shortestSide = s;
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

SheetFitResult FitSheetToNetwork(SettingsBlock& settings, const PlaneModel& model, bool chooseScale) {
  auto extent = PointsExtent(model.points, model.diagram.textHeight, model.diagram.textWidth);
  if (!extent) return {};
  for (const PlaneSide& side : model.sides) TakeShorterSide(*extent, model.points, side.ends.from, side.ends.to);
  return FitSheetToExtent(settings, *extent, model.diagram.numberWidth, chooseScale);
}

SheetFitResult FitSheetToNetwork(SettingsBlock& settings, const HeightModel& model, bool chooseScale) {
  auto extent = PointsExtent(model.points, model.diagram.textHeight, model.diagram.textWidth);
  if (!extent) return {};
  for (const HeightDifference& d : model.differences) TakeShorterSide(*extent, model.points, d.from, d.to);
  return FitSheetToExtent(settings, *extent, model.diagram.numberWidth, chooseScale);
}

}  // namespace qp

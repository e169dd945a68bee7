#include "drawing/sheet_obstacles.h"

#include <algorithm>
#include <cmath>


namespace qp {
namespace {

// A point symbol is a small closed figure; anything larger (a frame, a mask
// strip) is kept as its outline.
constexpr double kLargestSymbolMm = 12.0;
// Overlaps below this (mm²) are rounding, not contact.
constexpr double kTouchArea = 1e-6;
// Ellipses are kept as this many-sided polygons.
constexpr int kEllipseSides = 24;

bool Upright(const TextFootprint& f) {
  const double boxArea = (f.maxX - f.minX) * (f.maxY - f.minY);
  return std::fabs(boxArea - f.area) <= 1e-9 * std::max(1.0, boxArea);
}

PaperBounds BoundsOfPoints(std::span<const PaperPoint> p) {
  PaperBounds b{p[0].x, p[0].y, p[0].x, p[0].y};
  for (const PaperPoint& q : p) {
    b.minX = std::min(b.minX, q.x), b.maxX = std::max(b.maxX, q.x);
    b.minY = std::min(b.minY, q.y), b.maxY = std::max(b.maxY, q.y);
  }
  return b;
}

// Whether b lies wholly inside a.
bool Within(const PaperBounds& b, const PaperBounds& a) {
  return b.minX >= a.minX && b.maxX <= a.maxX && b.minY >= a.minY && b.maxY <= a.maxY;
}

}  // namespace

PaperBounds BoundsOf(const TextFootprint& f) { return {f.minX, f.minY, f.maxX, f.maxY}; }

TextFootprint Shifted(const TextFootprint& f, PaperPoint s) {
  TextFootprint g = f;
  for (PaperPoint& p : g.box) p.x += s.x, p.y += s.y;
  g.minX += s.x, g.maxX += s.x, g.minY += s.y, g.maxY += s.y;
  return g;
}

double FootprintShare(const TextFootprint& a, const TextFootprint& b) {
  if (!a.BoundsMeet(b)) return 0.0;
  if (Upright(a) && Upright(b)) {
    const double w = std::min(a.maxX, b.maxX) - std::max(a.minX, b.minX);
    const double h = std::min(a.maxY, b.maxY) - std::max(a.minY, b.minY);
    const double smaller = std::min(a.area, b.area);
    return w > 0.0 && h > 0.0 && smaller > 0.0 ? w * h / smaller : 0.0;
  }
  return OverlapShare(a, b);
}

void SheetObstacles::Text(const EntityHeader&, const TextBlock& block) {
  texts_.push_back(block);
  footprints_.push_back(TextFootprintOf(block, m_));
}

void SheetObstacles::Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) {
  if (points.empty() || !(m_ > 0.0)) return;
  std::vector<PaperPoint> paper;
  paper.reserve(points.size());
  for (const GroundPoint& g : points) {
    if (!std::isfinite(g.x) || !std::isfinite(g.y)) return;
    paper.push_back({g.y / m_, g.x / m_});
  }
  const DrawStyle style{block.style};
  if (PenStyleAt(style.PenStyleIndex()) == PenStyle::Null && !style.Filled()) return;
  switch (block.type) {
    case kShapePolygon: {
      if (paper.size() > 1 && paper.front().x == paper.back().x && paper.front().y == paper.back().y) paper.pop_back();
      if (paper.size() < 3) return;
      const PaperBounds b = BoundsOfPoints(paper);
      const bool small = b.maxX - b.minX <= kLargestSymbolMm && b.maxY - b.minY <= kLargestSymbolMm;
      const double area = std::fabs(SignedPolygonArea(paper));
      if (header.category == static_cast<uint8_t>(EntityCategory::Symbols) && small && area > 0.0) {
        symbols_.push_back({std::move(paper), b, area});
      } else {
        AddOutline(paper, true);
      }
      return;
    }
    case kShapeEllipse: {
      if (paper.size() < 4) return;
      const PaperPoint c{(paper[0].x + paper[2].x) / 2, (paper[0].y + paper[2].y) / 2};
      const PaperPoint u{(paper[0].x + paper[1].x) / 2 - c.x, (paper[0].y + paper[1].y) / 2 - c.y};
      const PaperPoint v{(paper[1].x + paper[2].x) / 2 - c.x, (paper[1].y + paper[2].y) / 2 - c.y};
      std::vector<PaperPoint> ring;
      for (int k = 0; k < kEllipseSides; ++k) {
        const double a = 2.0 * 3.14159265358979323846 * k / kEllipseSides;
        ring.push_back({c.x + std::cos(a) * u.x + std::sin(a) * v.x, c.y + std::cos(a) * u.y + std::sin(a) * v.y});
      }
      AddOutline(ring, true);
      return;
    }
    case kShapeClosedSpline:
      AddOutline(paper, true);
      return;
    default:  // polylines and open splines (through their control points)
      AddOutline(paper, false);
      return;
  }
}

void SheetObstacles::AddOutline(std::span<const PaperPoint> points, bool closed) {
  const int shape = shapes_++;
  for (size_t i = 0; i + 1 < points.size(); ++i) pieces_.push_back({points[i], points[i + 1], shape});
  if (closed && points.size() > 2) pieces_.push_back({points.back(), points.front(), shape});
}

void SheetObstacles::Index(const PaperBounds& area, std::span<const int> movable, std::optional<PaperBounds> frame) {
  frame_ = frame;
  // Cells about a name's size: a text meets a handful of them.
  constexpr double kCellMm = 6.0;
  textGrid_.emplace(area, kCellMm);
  symbolGrid_.emplace(area, kCellMm);
  pieceGrid_.emplace(area, kCellMm);
  std::vector<bool> isMovable(texts_.size(), false);
  for (const int i : movable)
    if (i >= 0 && static_cast<size_t>(i) < texts_.size()) isMovable[static_cast<size_t>(i)] = true;
  fixedTexts_.clear();
  for (size_t i = 0; i < texts_.size(); ++i) {
    if (isMovable[i] || !footprints_[i]) continue;
    textGrid_->Insert(static_cast<int>(fixedTexts_.size()), BoundsOf(*footprints_[i]));
    fixedTexts_.push_back(static_cast<int>(i));
  }
  for (size_t i = 0; i < symbols_.size(); ++i) symbolGrid_->Insert(static_cast<int>(i), symbols_[i].bounds);
  // Long lines go in as pieces about a cell long, so that each covers a few
  // cells rather than the whole box of a diagonal.
  std::vector<LinePiece> pieces;
  const double step = pieceGrid_->CellSize();
  const PaperBounds reach = pieceGrid_->Area();
  for (const LinePiece& s : pieces_) {
    const PaperBounds b{std::min(s.p.x, s.q.x), std::min(s.p.y, s.q.y), std::max(s.p.x, s.q.x), std::max(s.p.y, s.q.y)};
    if (!(b.maxX >= reach.minX && b.minX <= reach.maxX && b.maxY >= reach.minY && b.minY <= reach.maxY)) continue;
    const double length = std::hypot(s.q.x - s.p.x, s.q.y - s.p.y);
    const double span = std::max(reach.maxX - reach.minX, reach.maxY - reach.minY);
    const int n = std::clamp(static_cast<int>(std::ceil(std::min(length, 4.0 * span) / step)), 1,
                             4 * PaperGrid::kMaxCellsPerSide);
    for (int k = 0; k < n; ++k) {
      const double t0 = static_cast<double>(k) / n, t1 = static_cast<double>(k + 1) / n;
      pieces.push_back({{s.p.x + (s.q.x - s.p.x) * t0, s.p.y + (s.q.y - s.p.y) * t0},
                        {s.p.x + (s.q.x - s.p.x) * t1, s.p.y + (s.q.y - s.p.y) * t1},
                        s.shape});
    }
  }
  pieces_ = std::move(pieces);
  for (size_t i = 0; i < pieces_.size(); ++i) {
    const LinePiece& s = pieces_[i];
    pieceGrid_->Insert(static_cast<int>(i), {std::min(s.p.x, s.q.x), std::min(s.p.y, s.q.y), std::max(s.p.x, s.q.x),
                                             std::max(s.p.y, s.q.y)});
  }
  shapeSeen_.assign(static_cast<size_t>(shapes_), 0);
}

OverlapCost SheetObstacles::CostOf(const TextFootprint& f, double bound) {
  OverlapCost cost;
  if (!textGrid_) return cost;
  const PaperBounds b = BoundsOf(f);
  cost.outside = frame_ && !Within(b, *frame_);
  const auto over = [&] { return cost.Total() > bound; };
  textGrid_->ForEach(b, [&](int id) {
    if (over()) return;
    const double share = FootprintShare(f, *footprints_[static_cast<size_t>(fixedTexts_[static_cast<size_t>(id)])]);
    if (share * f.area > kTouchArea) cost.texts += share + (share > kOverprintShare ? 10.0 : 0.0);
  });
  symbolGrid_->ForEach(b, [&](int id) {
    const Symbol& s = symbols_[static_cast<size_t>(id)];
    if (over() || !s.bounds.Meets(b)) return;
    const double area = OverlapArea(s.polygon, f);
    if (area <= kTouchArea) return;
    const double share = area / std::min(s.area, f.area);
    cost.symbols += share + (share > kOverprintShare ? 10.0 : 0.0);
  });
  ++stamp_;
  pieceGrid_->ForEach(b, [&](int id) {
    const LinePiece& s = pieces_[static_cast<size_t>(id)];
    unsigned& seen = shapeSeen_[static_cast<size_t>(s.shape)];
    if (seen == stamp_ || over() || !SegmentMeets(s.p, s.q, f)) return;
    seen = stamp_;
    ++cost.lines;
  });
  return cost;
}

}  // namespace qp

#include "drawing/text_placement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawing/text_layout.h"

namespace qp {
namespace {

// Grid cell of the occupancy index (paper mm).
constexpr double kCellMm = 16.0;
// A line longer than this (paper mm) or a cell index beyond this comes from
// damaged coordinates and is left out of the index.
constexpr double kLongestLineMm = 20000.0;
constexpr double kFarthestCell = 1e6;

constexpr double kOverprintCost = 100.0;
constexpr double kLineCost = 1.0;

// Shares of a text's length a declutter candidate slides it along its line.
constexpr double kSlides[] = {0.0, 0.25, -0.25, 0.5, -0.5, 0.75, -0.75};

double TextAzimuth(const TextBlock& block) { return block.direction * 0.1 * std::numbers::pi / 180.0; }

}  // namespace

SheetOccupancy::SheetOccupancy(double m) : m_(m) {}

int64_t SheetOccupancy::CellOf(double mm) const {
  return static_cast<int64_t>(std::floor(std::clamp(mm / kCellMm, -kFarthestCell, kFarthestCell)));
}

void SheetOccupancy::InsertCell(Ref ref, int64_t cx, int64_t cy) {
  std::vector<Ref>& cell = cells_[CellKey(cx, cy)];
  if (cell.empty() || cell.back().item != ref.item || cell.back().index != ref.index) cell.push_back(ref);
}

void SheetOccupancy::Insert(Ref ref, double minX, double maxX, double minY, double maxY) {
  const int64_t x0 = CellOf(minX), x1 = CellOf(maxX), y0 = CellOf(minY), y1 = CellOf(maxY);
  // A box over many cells is damage or a giant text: its first cell stands for it.
  if ((x1 - x0 + 1) * (y1 - y0 + 1) > 4096) return InsertCell(ref, x0, y0);
  for (int64_t cx = x0; cx <= x1; ++cx)
    for (int64_t cy = y0; cy <= y1; ++cy) InsertCell(ref, cx, cy);
}

void SheetOccupancy::AddText(const TextBlock& block) {
  const auto f = TextFootprintOf(block, m_);
  if (!f) return;
  texts_.push_back(*f);
  textSeen_.push_back(0);
  Insert(Ref{Item::Text, static_cast<uint32_t>(texts_.size() - 1)}, f->minX, f->maxX, f->minY, f->maxY);
}

void SheetOccupancy::AddSymbol(GroundPoint centre, double halfMm) {
  if (!std::isfinite(centre.x) || !std::isfinite(centre.y) || !(halfMm > 0.0) || !(m_ > 0.0)) return;
  const double x = centre.y / m_, y = centre.x / m_;  // paper: x east, y north
  Symbol s{{{x - halfMm, y - halfMm}, {x + halfMm, y - halfMm}, {x + halfMm, y + halfMm}, {x - halfMm, y + halfMm}},
           x - halfMm, x + halfMm, y - halfMm, y + halfMm};
  symbols_.push_back(s);
  symbolSeen_.push_back(0);
  Insert(Ref{Item::Symbol, static_cast<uint32_t>(symbols_.size() - 1)}, s.minX, s.maxX, s.minY, s.maxY);
}

void SheetOccupancy::AddLine(GroundPoint a, GroundPoint b) {
  if (!(m_ > 0.0)) return;
  const PaperPoint p{a.y / m_, a.x / m_}, q{b.y / m_, b.x / m_};
  const double length = std::hypot(q.x - p.x, q.y - p.y);
  if (!std::isfinite(length) || length > kLongestLineMm) return;
  lines_.push_back(Line{p, q});
  lineSeen_.push_back(0);
  const Ref ref{Item::Line, static_cast<uint32_t>(lines_.size() - 1)};
  // The cells the line passes, sampled finely enough that a cell it only
  // clips is a neighbour of one sampled (queries look one cell further).
  const int steps = std::max(1, static_cast<int>(std::ceil(length / (kCellMm / 4))));
  for (int i = 0; i <= steps; ++i) {
    const double t = static_cast<double>(i) / steps;
    InsertCell(ref, CellOf(p.x + t * (q.x - p.x)), CellOf(p.y + t * (q.y - p.y)));
  }
}

double SheetOccupancy::Cost(const TextBlock& block) const {
  const auto f = TextFootprintOf(block, m_);
  if (!f) return 0.0;
  ++query_;
  double cost = 0.0;
  const int64_t x0 = CellOf(f->minX) - 1, x1 = CellOf(f->maxX) + 1;
  const int64_t y0 = CellOf(f->minY) - 1, y1 = CellOf(f->maxY) + 1;
  if ((x1 - x0 + 1) * (y1 - y0 + 1) > 4096) return 0.0;  // a giant text: nothing to choose
  for (int64_t cx = x0; cx <= x1; ++cx) {
    for (int64_t cy = y0; cy <= y1; ++cy) {
      const auto it = cells_.find(CellKey(cx, cy));
      if (it == cells_.end()) continue;
      for (const Ref& r : it->second) {
        switch (r.item) {
          case Item::Text: {
            if (textSeen_[r.index] == query_) break;
            textSeen_[r.index] = query_;
            const TextFootprint& o = texts_[r.index];
            if (!f->BoundsMeet(o)) break;
            const double area = OverlapArea(*f, o);
            cost += area;
            const double smaller = std::min(f->area, o.area);
            if (smaller > 0.0 && area / smaller > kOverprintShare) cost += kOverprintCost;
            break;
          }
          case Item::Symbol: {
            if (symbolSeen_[r.index] == query_) break;
            symbolSeen_[r.index] = query_;
            const Symbol& s = symbols_[r.index];
            if (s.maxX < f->minX || s.minX > f->maxX || s.maxY < f->minY || s.minY > f->maxY) break;
            cost += OverlapArea(std::span<const PaperPoint>(s.box, 4), *f);
            break;
          }
          case Item::Line: {
            if (lineSeen_[r.index] == query_) break;
            lineSeen_[r.index] = query_;
            if (SegmentMeets(lines_[r.index].a, lines_[r.index].b, *f)) cost += kLineCost;
            break;
          }
        }
      }
    }
  }
  return cost;
}

size_t SheetOccupancy::Cheapest(std::span<const TextBlock> candidates) const {
  size_t best = 0;
  double bestCost = 0.0;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const double c = Cost(candidates[i]);
    if (i == 0 || c < bestCost) best = i, bestCost = c;
    if (bestCost == 0.0) break;  // nothing cheaper than a free place
  }
  return best;
}

size_t SheetOccupancy::Place(std::span<const TextBlock> candidates) {
  if (candidates.empty()) return 0;
  const size_t best = Cheapest(candidates);
  AddText(candidates[best]);
  return best;
}

TextBlock ShiftedText(const TextBlock& block, double along, double across, double m) {
  const double a = TextAzimuth(block);
  const double top = a - std::numbers::pi / 2;
  TextBlock moved = block;
  moved.x += (along * std::cos(a) + across * std::cos(top)) * m;
  moved.y += (along * std::sin(a) + across * std::sin(top)) * m;
  return moved;
}

void AppendSlides(std::vector<TextBlock>& out, const TextBlock& block, bool declutter, double m) {
  if (!declutter || !(m > 0.0) || !std::isfinite(m)) {
    out.push_back(block);
    return;
  }
  const double length = TextAdvanceMillimetres(TextOf(block), block.width, block.gap);
  for (double s : kSlides) out.push_back(ShiftedText(block, s * length, 0.0, m));
}

std::vector<TextBlock> DeclutterCandidates(const TextBlock& block, GroundPoint lineFrom, double azimuth, double m) {
  std::vector<TextBlock> out;
  if (!(m > 0.0) || !std::isfinite(m)) return {block};
  const double length = TextAdvanceMillimetres(TextOf(block), block.width, block.gap);
  // The distance (mm) of the text's top edge from the line, towards its top;
  // mirrored, the top lies a text height minus that on the same side.
  const double top = TextAzimuth(block) - std::numbers::pi / 2;
  const double lineTop = std::cos(top) * std::cos(azimuth) + std::sin(top) * std::sin(azimuth);
  // Only a text running along its line can be mirrored across it.
  const bool alongLine = std::fabs(lineTop) < 0.05;
  const double d = ((block.x - lineFrom.x) * std::cos(top) + (block.y - lineFrom.y) * std::sin(top)) / m;
  const double mirror = block.height - 2.0 * d;
  for (int side = 0; side < (alongLine && std::isfinite(mirror) ? 2 : 1); ++side) {
    for (double s : kSlides) out.push_back(ShiftedText(block, s * length, side == 0 ? 0.0 : mirror, m));
  }
  return out;
}

}  // namespace qp

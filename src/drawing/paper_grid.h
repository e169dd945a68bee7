// A uniform grid of square cells over a rectangle of paper (mm), holding the
// ids of things by the cells their bounds cover, so that a search near a
// text looks at its neighbours only instead of at everything on the sheet.
// Bounds outside the rectangle are cut to it; a thing wholly outside is not
// held at all.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace qp {

struct PaperBounds {
  double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;

  bool Meets(const PaperBounds& o) const { return minX < o.maxX && o.minX < maxX && minY < o.maxY && o.minY < maxY; }
  PaperBounds Grown(double d) const { return {minX - d, minY - d, maxX + d, maxY + d}; }
};

class PaperGrid {
 public:
  // At most this many cells a side: a huge sheet gets larger cells, never a giant grid.
  static constexpr int kMaxCellsPerSide = 512;

  PaperGrid(const PaperBounds& area, double cellMm) : area_(area) {
    const double w = std::max(area.maxX - area.minX, 1.0), h = std::max(area.maxY - area.minY, 1.0);
    cell_ = std::max({cellMm, w / kMaxCellsPerSide, h / kMaxCellsPerSide});
    columns_ = std::clamp(static_cast<int>(std::ceil(w / cell_)), 1, kMaxCellsPerSide);
    rows_ = std::clamp(static_cast<int>(std::ceil(h / cell_)), 1, kMaxCellsPerSide);
    cells_.resize(static_cast<size_t>(columns_) * static_cast<size_t>(rows_));
  }

  const PaperBounds& Area() const { return area_; }
  double CellSize() const { return cell_; }

  void Insert(int id, const PaperBounds& b) {
    Cells(b, [&](std::vector<int>& c) { c.push_back(id); });
  }
  void Remove(int id, const PaperBounds& b) {
    Cells(b, [&](std::vector<int>& c) {
      const auto it = std::find(c.begin(), c.end(), id);
      if (it != c.end()) c.erase(it);
    });
  }
  // Calls `visit(id)` once for every id held in a cell that `b` covers.
  template <typename Visit>
  void ForEach(const PaperBounds& b, Visit visit) {
    ++stamp_;
    Cells(b, [&](std::vector<int>& c) {
      for (const int id : c) {
        if (static_cast<size_t>(id) >= seen_.size()) seen_.resize(static_cast<size_t>(id) + 1, 0);
        if (seen_[static_cast<size_t>(id)] == stamp_) continue;
        seen_[static_cast<size_t>(id)] = stamp_;
        visit(id);
      }
    });
  }

 private:
  // Clamped before the conversion: a far point of a damaged record has no integer cell.
  int Column(double x) const {
    return static_cast<int>(std::clamp((x - area_.minX) / cell_, 0.0, static_cast<double>(columns_ - 1)));
  }
  int Row(double y) const {
    return static_cast<int>(std::clamp((y - area_.minY) / cell_, 0.0, static_cast<double>(rows_ - 1)));
  }

  template <typename Each>
  void Cells(const PaperBounds& b, Each each) {
    if (!(b.maxX >= area_.minX && b.minX <= area_.maxX && b.maxY >= area_.minY && b.minY <= area_.maxY)) return;
    const int c0 = Column(b.minX), c1 = Column(b.maxX), r0 = Row(b.minY), r1 = Row(b.maxY);
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c) each(cells_[static_cast<size_t>(r) * static_cast<size_t>(columns_) + c]);
  }

  PaperBounds area_;
  double cell_ = 1.0;
  int columns_ = 1, rows_ = 1;
  std::vector<std::vector<int>> cells_;
  std::vector<unsigned> seen_;
  unsigned stamp_ = 0;
};

}  // namespace qp

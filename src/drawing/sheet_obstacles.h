// What a movable text must keep clear of on a sheet: every text, point
// symbol and line of the sheet's entity stream (the one every output gets),
// on paper in millimetres, indexed by a grid so that a text's neighbours are
// found without looking at everything. The sheet is drawn into it as into
// any other sink; then the movable texts are set apart and the rest indexed.
#pragma once

#include <limits>
#include <optional>
#include <span>
#include <vector>

#include "drawing/entities.h"
#include "drawing/paper_grid.h"
#include "drawing/text_footprint.h"

namespace qp {

PaperBounds BoundsOf(const TextFootprint& f);
// The footprint moved by `shift` (paper mm).
TextFootprint Shifted(const TextFootprint& f, PaperPoint shift);
// The overlap of two footprints as a share of the smaller (OverlapShare),
// taking the rectangle arithmetic when both are upright.
double FootprintShare(const TextFootprint& a, const TextFootprint& b);

// How badly a text at one place lies on the rest of the sheet.
struct OverlapCost {
  double texts = 0.0;    // per text met: its share, and 10 more when the two overprint
  double symbols = 0.0;  // per point symbol met: the same
  int lines = 0;         // lines (sides, ellipses, curves, frame and grid) crossed
  bool outside = false;  // beyond the inner frame, where printing masks it

  bool Collides() const { return texts > 0.0 || symbols > 0.0; }
  // Overprinting outweighs anything; a crossed line counts less than a slight overlap.
  double Total() const { return texts + symbols + 0.3 * lines + (outside ? 10.0 : 0.0); }
};

class SheetObstacles : public EntitySink {
 public:
  // `m`: ground metres per paper millimetre of the sheet drawn.
  explicit SheetObstacles(double m) : m_(m) {}

  void Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) override;
  void Text(const EntityHeader& header, const TextBlock& block) override;

  double M() const { return m_; }
  // Every text in drawing order, with its footprint (none for an empty text).
  const std::vector<TextBlock>& Texts() const { return texts_; }
  const std::optional<TextFootprint>& FootprintOfText(size_t i) const { return footprints_[i]; }

  // Indexes everything within `area` except the texts `movable` names
  // (indices into Texts()). `frame`, when given, is the inner frame.
  void Index(const PaperBounds& area, std::span<const int> movable, std::optional<PaperBounds> frame);

  // What a text with footprint `f` meets among the indexed obstacles. The
  // count may stop early once the total exceeds `bound`: such a place has
  // lost already.
  OverlapCost CostOf(const TextFootprint& f, double bound = std::numeric_limits<double>::infinity());

 private:
  struct Symbol {
    std::vector<PaperPoint> polygon;
    PaperBounds bounds;
    double area;
  };
  struct LinePiece {
    PaperPoint p, q;
    int shape;
  };
  void AddOutline(std::span<const PaperPoint> points, bool closed);

  double m_;
  std::vector<TextBlock> texts_;
  std::vector<std::optional<TextFootprint>> footprints_;
  std::vector<Symbol> symbols_;
  std::vector<LinePiece> pieces_;
  int shapes_ = 0;
  std::vector<int> fixedTexts_;  // indices into texts_ of the indexed texts, by grid id
  std::optional<PaperGrid> textGrid_, symbolGrid_, pieceGrid_;
  std::optional<PaperBounds> frame_;
  std::vector<unsigned> shapeSeen_;
  unsigned stamp_ = 0;
};

}  // namespace qp

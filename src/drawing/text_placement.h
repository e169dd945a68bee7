// Where the diagrams put the texts whose place is theirs to choose, and how
// the declutter option ("注记避让") moves the value texts whose place is
// otherwise fixed. All of it is judged on paper by the text footprints of
// text_footprint.h; every rule is deterministic, so the view, the print, the
// .vec and the pictures of one record get the same sheet.
//
// The measure. A candidate place costs
//   100 per text it overprints (footprints sharing more than 15 % of the
//       smaller one),
//   + the area (mm²) it shares with texts and point symbols,
//   + 1 per line (side, curve leg) that runs through it.
// Of the candidates the cheapest wins; among equal costs the earlier one, so
// a text that collides with nothing keeps the first (the classic) place.
// Texts are placed one after another in drawing order; each placed text is
// an obstacle for the later ones. The texts whose place is fixed (names,
// loop closures, direction and distance values, ellipse texts, annotations)
// are obstacles from the start, wherever they come in the drawing order.
//
// Texts placed by these rules, in every drawing:
// - Height-difference texts (height kinds 1-3) keep their place along the
//   line, centred on its middle control point; the offset across the line is
//   chosen from: 1 mm beside the line on the side the text's top faces, 1 mm
//   on the other side, then one, two and three number heights further out
//   on either side.
// - Repeated height differences (the second and further lines between the
//   same two points, either direction, as reciprocal trigonometric levelling
//   observes them) get a bowed default curve instead of a straight one: the
//   interior control points lie 3/4, 1 and 3/4 of the bow off the quarter
//   points, the bow growing by a step of max(4 mm, twice the number height)
//   for every second line, alternating sides: line 2 +1 step, line 3 -1,
//   line 4 +2, ... (the side measured from the point listed first in the
//   point table). The first line stays straight. See height_layout.h.
// - Kind 5 texts of fixed and weighted sides and azimuths ("1:" ... "4:")
//   are centred on the middle of their side, in the rows above it (the first
//   candidate, one row for sides and two for azimuths), or in the further
//   rows above and below it.
// - The default place of a traverse closure text (stored with its entry and
//   moved by hand afterwards) is chosen among points along the side from
//   its start point (the classic 1/(k+1), 2/(k+1) ... of the k texts on that
//   side first, then the middle and the points at 3/8, 5/8, 1/4, 3/4), each
//   with the text's top-left corner on the point (the classic place), the
//   text centred above the point, or centred below it, avoiding the other
//   texts of the observation-value diagram.
//
// Declutter (DrawContext::declutter, off by default): each value text whose
// place the drawing fixes and the record does not store - kind 5 direction
// and distance values, the ellipse texts of kinds 2-4, the side and pair
// annotations of kinds 6 and 7, the height-difference and pair texts of the
// height kinds - is tried at its fixed place first, then slid along its own
// line by a quarter, a half and three quarters of its length either way,
// then mirrored to the other side of the line with the same slides; the
// cheapest place wins. Names, closure texts and everything else keep their
// places.
#pragma once

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "drawing/entities.h"
#include "drawing/text_footprint.h"

namespace qp {

class SheetOccupancy {
 public:
  // `m`: ground metres per paper millimetre.
  explicit SheetOccupancy(double m);

  // A text on the sheet (ignored when it has no footprint).
  void AddText(const TextBlock& block);
  // A point symbol: a square of `halfMm` about `centre`.
  void AddSymbol(GroundPoint centre, double halfMm);
  // A line from a to b (ignored when either end is not finite or it is
  // longer than any sheet).
  void AddLine(GroundPoint a, GroundPoint b);

  // What putting `block` on the sheet costs (see above); 0 for a text
  // without footprint.
  double Cost(const TextBlock& block) const;
  // The index of the cheapest candidate (the first among equals); 0 when empty.
  size_t Cheapest(std::span<const TextBlock> candidates) const;
  // Cheapest() of the candidates, added to the sheet; returns its index.
  size_t Place(std::span<const TextBlock> candidates);

 private:
  struct Symbol {
    PaperPoint box[4];
    double minX, maxX, minY, maxY;
  };
  struct Line {
    PaperPoint a, b;
  };
  enum class Item : uint8_t { Text, Symbol, Line };
  struct Ref {
    Item item;
    uint32_t index;
  };

  void Insert(Ref ref, double minX, double maxX, double minY, double maxY);
  void InsertCell(Ref ref, int64_t cx, int64_t cy);
  static int64_t CellKey(int64_t cx, int64_t cy) { return cx * 4000037 + cy; }
  int64_t CellOf(double mm) const;

  double m_;
  std::vector<TextFootprint> texts_;
  std::vector<Symbol> symbols_;
  std::vector<Line> lines_;
  std::unordered_map<int64_t, std::vector<Ref>> cells_;
  // Each item is looked at once per query.
  mutable std::vector<uint32_t> textSeen_, symbolSeen_, lineSeen_;
  mutable uint32_t query_ = 0;
};

// The candidates of a value text whose fixed place is `block`, running along
// `azimuth` (radians): the place itself, slid along the line by a quarter,
// a half and three quarters of the text's length either way, then the same
// with the text mirrored across the line through `lineFrom` (its foot on the
// other side at the same distance). `m`: ground metres per paper millimetre.
std::vector<TextBlock> DeclutterCandidates(const TextBlock& block, GroundPoint lineFrom, double azimuth, double m);

// Appends `block` and, with `declutter`, its slides along its own direction
// as DeclutterCandidates slides it (a place chosen among rows of its own).
void AppendSlides(std::vector<TextBlock>& out, const TextBlock& block, bool declutter, double m);

// `block` moved by `along` mm in its direction and `across` mm towards its
// top (pixel fields left for EmitText to fill).
TextBlock ShiftedText(const TextBlock& block, double along, double across, double m);

}  // namespace qp

#include "drawing/plane_diagram.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/diagram_kinds.h"
#include "drawing/flagged_observations.h"
#include "drawing/text_layout.h"
#include "drawing/text_placement.h"
#include "geodesy/angles.h"
#include "plane/network_geometry.h"

namespace qp {
namespace {

constexpr double kHalfPi = kPi / 2;

// Paper sizes of the figures (mm).
constexpr double kDoubleLineOffset = 0.25;   // each line of a double line from the axis
constexpr double kDash = 1.0;                // dash and gap of a dashed line
constexpr double kMidArrowArm = 4.0;
constexpr double kArrowSpread = 0.9 * kPi;   // arms of every arrowhead from the line's azimuth
constexpr double kCrossBeyondEllipse = 2.5;  // axis cross beyond the drawn semi-axes
constexpr double kCrossArrowArm = 1.5;
constexpr double kTriangleRadius = 1.5;      // known point
constexpr double kSquareHalfSide = 1.0;      // unknown point
constexpr double kCentreHalfSide = 1.0 / 6;  // black centre of every point
constexpr double kNameAbovePoint = 2.0;      // beyond the font height

// A dashed line longer than this (paper mm, more than any sheet) can only come
// from damaged coordinates: it is drawn solid instead of as millions of dashes.
constexpr double kMaxDashedLength = 16384.0;
// A name moved further than this from its point (paper mm) is damage.
constexpr double kMaxLabelOffset = 10000.0;

constexpr DrawStyle kThinLine = DrawStyle::Make(0, kThinWeight, kBlack);
constexpr DrawStyle kArrowLine = DrawStyle::Make(0, kSymbolWeight, kBlack);
constexpr DrawStyle kSymbolOutline = DrawStyle::Make(0, kSymbolWeight, kBlack, kWhite);
constexpr DrawStyle kSymbolCentre = DrawStyle::Make(0, kThinWeight, kBlack, kBlack);
constexpr DrawStyle kEllipseLine = DrawStyle::Make(0, kSymbolWeight, kDarkRed);
constexpr DrawStyle kCrossLine = DrawStyle::Make(0, kThinWeight, kBlack);
constexpr DrawStyle kWarningLine = DrawStyle::Make(0, kFrameWeight, kRed);
// Over the line of an observation the statistical tests flag (0.25 mm).
constexpr DrawStyle kFlaggedLine = DrawStyle::Make(0, 3, kRed);

// A side's azimuth turned into the half-plane that reads left to right.
double Readable(double azimuth) { return azimuth > kPi ? azimuth - kPi : azimuth; }

// A text direction (tenths of a degree, azimuth sense) from an azimuth in radians.
int DirectionTenths(double azimuth) { return static_cast<int>(azimuth * 1800.0 / kPi); }

float UsableSize(float value, float fallback) {
  return std::isfinite(value) && value > 0.0f && value <= 100.0f ? value : fallback;
}

double ClampedLabelOffset(float mm) {
  if (!std::isfinite(mm)) return 0.0;
  return std::clamp(static_cast<double>(mm), -kMaxLabelOffset, kMaxLabelOffset);
}

int DiagramKind(const PlaneDiagramStyle& style) {
  return style.kind >= 0 && style.kind < kPlaneDiagramKinds ? style.kind : 0;
}

double UsableEllipseScale(const PlaneDiagramStyle& style) {
  const double k = style.ellipseScale;
  if (!std::isfinite(k) || k <= 0.0) return 1.0;
  return std::clamp(k, 0.01, 1e9);
}

// Whether a precision pair's line is drawn as the breakthrough warning:
// adjusted, warning on and `distance` below the warning distance.
bool PairBelowWarningDistance(const PlaneModel& model, double distance) {
  return model.Adjusted() && model.diagram.breakthroughWarning && distance < model.diagram.warningDistance;
}

class PlaneDiagram {
 public:
  // `kind` overrides the network's diagram kind when not negative.
  PlaneDiagram(EntityEmitter& out, const PlaneModel& model, const DrawContext& context, MovableItemList* items,
               int kind = -1)
      : out_(out),
        model_(model),
        items_(items),
        flagged_(context.flagged && !context.flagged->Empty() ? context.flagged : nullptr),
        m_(out.M()),
        k_(UsableEllipseScale(model.diagram)),
        kind_(kind >= 0 ? kind : DiagramKind(model.diagram)),
        adjusted_(model.Adjusted()),
        colour_(ColourFromWord(static_cast<uint32_t>(model.diagram.textColour))),
        declutter_(context.declutter),
        occupancy_(m_) {
    const PlaneDiagramStyle& style = model.diagram;
    numberFont_.face = style.numberFace;
    numberFont_.height = UsableSize(style.numberHeight, 2.0f);
    numberFont_.width = UsableSize(style.numberWidth, 1.0f);
    textFont_.face = style.textFace;
    textFont_.height = UsableSize(style.textHeight, 3.0f);
    textFont_.width = UsableSize(style.textWidth, 1.5f);
  }

  // Leaves the traverse closure texts out (while their default places are chosen).
  void SkipTraverseClosures() { skipTraverses_ = true; }

  void Draw() {
    if (!(m_ > 0.0) || !std::isfinite(m_)) return;
    // Kind 5 places its fixed and weighted observation texts; with declutter
    // the value texts of kinds 2-7 move clear.
    placing_ = kind_ == 5 || (declutter_ && kind_ >= 2);
    if (placing_) FillOccupancy();
    DrawSides();
    switch (kind_) {
      case 1:
        DrawPointEllipses();
        break;
      case 2:
        DrawRelativeEllipses(true);
        break;
      case 3:
        DrawPointEllipses();
        DrawRelativeEllipses(true);
        break;
      case 4:
        DrawRelativeEllipses(false);
        break;
      case 5:
        DrawObservationValues();
        if (adjusted_ && !skipTraverses_) DrawTraverseClosures();
        break;
      case 6:
        DrawAnnotations();
        break;
      case 7:
        if (adjusted_) DrawAnnotations();
        break;
      default:
        break;
    }
    DrawPointSymbols();
    DrawPointNames();
  }

 private:
  double Mm(double mm) const { return mm * m_; }
  GroundPoint Point(int i) const { return GroundPoint{model_.points[i].x, model_.points[i].y}; }
  bool Usable(int i) const { return i >= 0 && i < model_.pointCount() && Finite(Point(i)); }
  bool Known(int i) const { return i < model_.knownCount; }

  // Both ends of an observation, side or pair in the point table and with coordinates.
  bool Ends(const PlaneEnds& ends, int& a, int& b) const {
    a = ends.from;
    b = ends.to;
    return Usable(a) && Usable(b);
  }

  // ---- lines
  void Line(EntityCategory category, DrawStyle style, GroundPoint a, GroundPoint b) {
    if (!Finite(a) || !Finite(b)) return;  // beyond the range of a double near damaged coordinates
    const GroundPoint pts[2] = {a, b};
    out_.Polyline(category, style, pts);
  }
  // Dashes of 1 mm with 1 mm gaps from `a` towards `b`.
  void DashedLine(EntityCategory category, DrawStyle style, GroundPoint a, GroundPoint b) {
    const double length = DistanceOf(a.x, a.y, b.x, b.y) / m_;  // paper mm
    if (!std::isfinite(length) || length > kMaxDashedLength) {
      Line(category, style, a, b);
      return;
    }
    const double azimuth = AzimuthOf(a.x, a.y, b.x, b.y);
    const double c = std::cos(azimuth) * m_, s = std::sin(azimuth) * m_;
    for (int i = 0; 2.0 * kDash * i < length - kDash; ++i) {
      const double t = 2.0 * kDash * i;
      Line(category, style, GroundPoint{a.x + t * c, a.y + t * s},
           GroundPoint{a.x + (t + kDash) * c, a.y + (t + kDash) * s});
    }
  }
  // Two thin lines either side of the axis a-b, solid or dashed.
  void DoubleLine(GroundPoint a, GroundPoint b, double azimuth, bool dashed = false) {
    const double across = azimuth + kHalfPi;
    for (const double offset : {Mm(kDoubleLineOffset), -Mm(kDoubleLineOffset)}) {
      const GroundPoint from = Along(a, across, offset), to = Along(b, across, offset);
      if (dashed) {
        DashedLine(EntityCategory::Lines, kThinLine, from, to);
      } else {
        Line(EntityCategory::Lines, kThinLine, from, to);
      }
    }
  }
  // A V of two arms from `tip`, pointing along `azimuth`.
  void Arrowhead(DrawStyle style, GroundPoint tip, double azimuth, double armMm) {
    const GroundPoint pts[3] = {Along(tip, azimuth + kArrowSpread, Mm(armMm)), tip,
                                Along(tip, azimuth - kArrowSpread, Mm(armMm))};
    if (!AllFinite(pts)) return;
    out_.Polyline(EntityCategory::Lines, style, pts);
  }

  // How a side is stroked between two of its points.
  enum class Stroke { Single, Double, Dashed, DoubleDashed };
  void StrokeLine(Stroke stroke, GroundPoint a, GroundPoint b, double azimuth) {
    if (stroke == Stroke::Double || stroke == Stroke::DoubleDashed) {
      DoubleLine(a, b, azimuth, stroke == Stroke::DoubleDashed);
    } else if (stroke == Stroke::Dashed) {
      DashedLine(EntityCategory::Lines, kThinLine, a, b);
    } else {
      Line(EntityCategory::Lines, kThinLine, a, b);
    }
  }

  void DrawSides() {
    // The side symbols: the stroke of the first and of the second half (one
    // stroke end to end when they are alike), and the arrow at the middle.
    struct SideSymbol {
      Stroke first, second;
      bool arrow;
    };
    static constexpr SideSymbol kSymbols[] = {
        {Stroke::Single, Stroke::Single, false},       {Stroke::Double, Stroke::Double, false},
        {Stroke::Single, Stroke::Single, true},        {Stroke::Double, Stroke::Double, true},
        {Stroke::Single, Stroke::Dashed, false},       {Stroke::Double, Stroke::DoubleDashed, false},
        {Stroke::Dashed, Stroke::Single, false},       {Stroke::DoubleDashed, Stroke::Double, false},
    };
    for (const PlaneSide& side : model_.sides) {
      int a, b;
      if (!Ends(side.ends, a, b)) continue;
      const GroundPoint p1 = Point(a), p2 = Point(b), mid = Midpoint(p1, p2);
      const double azimuth = AzimuthOf(p1.x, p1.y, p2.x, p2.y);
      const SideSymbol& symbol = kSymbols[side.symbol < std::size(kSymbols) ? side.symbol : 0];
      if (symbol.first == symbol.second) {
        StrokeLine(symbol.first, p1, p2, azimuth);
      } else {
        StrokeLine(symbol.first, p1, mid, azimuth);
        StrokeLine(symbol.second, mid, p2, azimuth);
      }
      if (symbol.arrow) Arrowhead(kArrowLine, mid, azimuth, kMidArrowArm);
    }
  }

  // ---- texts
  // Emits the text; with `emitted`, gives the block as sent. False when its
  // place is not a finite point (nothing is sent).
  bool Emit(TextBlock block, TextBlock* emitted = nullptr) {
    const GroundPoint ref{block.x, block.y};
    if (!Finite(ref)) return false;
    const CanvasPoint c = MapToCanvas(out_.Sheet(), ref);
    block.row = c.row;
    block.column = c.column;
    EmitText(out_.Sink(), out_.Sheet(), MakeEntityHeader(EntityKind::Text, EntityCategory::Texts), block);
    if (emitted) *emitted = block;
    return true;
  }
  // A value text whose place the drawing fixes, running along the line
  // through `lineFrom` at `azimuth`: with declutter on, the cheapest of its
  // slides along the line and its mirror across it (text_placement.h).
  void Value(const TextBlock& block, GroundPoint lineFrom, double azimuth) {
    if (!placing_ || !Finite(GroundPoint{block.x, block.y})) {
      Emit(block);
      return;
    }
    if (!declutter_) {
      occupancy_.AddText(block);
      Emit(block);
      return;
    }
    const std::vector<TextBlock> candidates = DeclutterCandidates(block, lineFrom, azimuth, m_);
    Emit(candidates[occupancy_.Place(candidates)]);
  }
  void Value(const std::string& text, GroundPoint ref, double alpha, GroundPoint lineFrom) {
    Value(MakeTextBlock(ref, DirectionTenths(alpha), numberFont_, colour_, text), lineFrom, alpha);
  }

  // What the placed texts avoid from the start: the sides and pair lines,
  // the point symbols, the names and the closure texts at their stored places.
  void FillOccupancy() {
    for (const PlaneSide& side : model_.sides) {
      int a, b;
      if (Ends(side.ends, a, b)) occupancy_.AddLine(Point(a), Point(b));
    }
    for (size_t p = 0; p < model_.pairs.size() && kind_ != 5; ++p) {
      int a, b;
      if (Ends(model_.pairs[p].ends, a, b)) occupancy_.AddLine(Point(a), Point(b));
    }
    for (int i = 0; i < model_.pointCount(); ++i) {
      if (!Usable(i)) continue;
      occupancy_.AddSymbol(Point(i), Known(i) ? kTriangleRadius : kSquareHalfSide);
      occupancy_.AddText(NameBlock(i));
    }
    if (kind_ == 5 && adjusted_ && !skipTraverses_) {
      for (const PlaneTraverse& t : model_.traverses) {
        if (const auto block = TraverseBlock(t)) occupancy_.AddText(*block);
      }
    }
  }

 public:
  // The closure text of a traverse at its label position; nothing when it is
  // not drawn or has no usable place.
  std::optional<TextBlock> TraverseBlock(const PlaneTraverse& c) const {
    const GroundPoint ref{c.labelX, c.labelY};
    if (!c.drawn || !Finite(ref)) return std::nullopt;
    return MakeTextBlock(ref, 900, numberFont_, colour_,
                         FormatText("%6.2fs[1/%-.2f万](%d)", c.azimuthMisclosure, c.relative * 0.0001, c.legs));
  }

 private:
  // Half the length of a text in ground metres (characters x width / 2).
  double HalfLength(std::string_view gbk, const TextFont& font) const {
    return Mm(static_cast<double>(CutGbk(gbk, kTextSize - 1).size()) * font.width / 2);
  }

  // ---- ellipses
  // Draws the ellipse (E, F in cm, Q in D.MS) centred on `c`; gives its drawn
  // semi-axes (m) and major-axis azimuth. False when a value is unusable.
  bool Ellipse(GroundPoint c, double e, double f, double q, double& a, double& b, double& phi) {
    if (!Finite(c) || !std::isfinite(e) || !std::isfinite(f) || !std::isfinite(q)) return false;
    a = e / k_ * m_ * 10;
    b = f / k_ * m_ * 10;
    phi = DmsToRadians(q);
    if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(phi)) return false;
    const double ux = std::cos(phi), uy = std::sin(phi);
    const double vx = std::cos(phi + kHalfPi), vy = std::sin(phi + kHalfPi);
    const GroundPoint corners[4] = {
        {c.x - a * ux + b * vx, c.y - a * uy + b * vy},
        {c.x - a * ux - b * vx, c.y - a * uy - b * vy},
        {c.x + a * ux - b * vx, c.y + a * uy - b * vy},
        {c.x + a * ux + b * vx, c.y + a * uy + b * vy},
    };
    if (!AllFinite(corners)) return false;
    out_.Ellipse(EntityCategory::Lines, kEllipseLine, corners);
    return true;
  }

  void DrawPointEllipses() {
    for (int i = model_.knownCount; i < model_.pointCount(); ++i) {
      if (!Usable(i)) continue;
      double a, b, phi;
      const PlaneEllipse& e = model_.points[i].ellipse;
      Ellipse(Point(i), e.e, e.f, e.q, a, b, phi);
    }
  }

  // The axes through the centre, each beyond its drawn semi-axis, with an
  // arrowhead at the major axis's phi end and the minor axis's phi + pi/2 end.
  void AxisCross(GroundPoint c, double a, double b, double phi) {
    const double axes[2][2] = {{phi, std::fabs(a)}, {phi + kHalfPi, std::fabs(b)}};
    for (const auto& axis : axes) {
      const double half = axis[1] + Mm(kCrossBeyondEllipse);
      const GroundPoint tip = Along(c, axis[0], half);
      Line(EntityCategory::Lines, kCrossLine, Along(c, axis[0], -half), tip);
      Arrowhead(kCrossLine, tip, axis[0], kCrossArrowArm);
    }
  }

  // A side's or pair's relative ellipse at the midpoint, its axis cross and
  // the transverse error, longitudinal error and length along the side.
  void RelativeEllipse(GroundPoint p1, GroundPoint p2, double e, double f, double q) {
    const GroundPoint mid = Midpoint(p1, p2);
    double a, b, phi;
    if (!Ellipse(mid, e, f, q, a, b, phi)) return;
    AxisCross(mid, a, b, phi);
    const double alpha = Readable(AzimuthOf(p1.x, p1.y, p2.x, p2.y));
    const double s = DistanceOf(p1.x, p1.y, p2.x, p2.y);
    const double d = alpha - phi;
    const double ms = std::sqrt(f * f * std::sin(d) * std::sin(d) + e * e * std::cos(d) * std::cos(d));
    const double mu = std::sqrt(f * f * std::sin(d + kHalfPi) * std::sin(d + kHalfPi) +
                                e * e * std::cos(d + kHalfPi) * std::cos(d + kHalfPi));
    const GroundPoint anchor = Along(mid, alpha, Mm(ms / k_ * 10 + 1));
    const double h = numberFont_.height;
    Value(Format("mu=%.2fcm", mu), Along(anchor, alpha + kHalfPi, Mm(0.4)), alpha, mid);
    Value(Format("ms=%.2fcm", ms), Along(anchor, alpha - kHalfPi, Mm(h + 0.4)), alpha, mid);
    Value(Format("s=%.0fm", s), Along(anchor, alpha + kHalfPi, Mm(h + 0.4)), alpha, mid);
  }

  void DrawRelativeEllipses(bool sides) {
    for (const auto* list : {&model_.sides, &model_.pairs}) {
      if (list == &model_.sides && !sides) continue;
      for (const PlaneSide& side : *list) {
        int a, b;
        if (!Ends(side.ends, a, b) || (Known(a) && Known(b))) continue;
        const PlaneEllipse& e = side.precision.ellipse;
        RelativeEllipse(Point(a), Point(b), e.e, e.f, e.q);
      }
    }
    DrawPairLines();
  }

  void DrawPairLines() {
    for (const PlaneSide& pair : model_.pairs) {
      int a, b;
      if (!Ends(pair.ends, a, b) || (Known(a) && Known(b))) continue;
      const GroundPoint p1 = Point(a), p2 = Point(b);
      if (PairBelowWarningDistance(model_, DistanceOf(p1.x, p1.y, p2.x, p2.y))) {
        Line(EntityCategory::Symbols, kWarningLine, p1, p2);
      } else {
        DashedLine(EntityCategory::Symbols, kThinLine, p1, p2);
      }
    }
  }

  // ---- annotations (kinds 6 and 7)
  void Annotate(GroundPoint p1, GroundPoint p2, bool bothKnown, double ms, double mt) {
    const double alpha = Readable(AzimuthOf(p1.x, p1.y, p2.x, p2.y));
    const double s = DistanceOf(p1.x, p1.y, p2.x, p2.y);
    const double dms = RadiansToDms(alpha);
    std::string azimuthText, lengthText;
    if (kind_ == 7) {
      azimuthText = Format("%9.6f", dms);
      lengthText = Format("%9.4f", s);
    } else if (bothKnown) {
      azimuthText = Format(adjusted_ ? "%9.6f" : "%6.2f", dms);
      lengthText = Format(adjusted_ ? "%9.4f" : "%6.0f", s);
    } else {
      double t = s * 0.01 / (std::fabs(ms) + 1e-10);
      if (!(t <= 1000.0)) t = 1000.0;
      azimuthText = adjusted_ ? FormatText("%9.6f±%-.2fs", dms, mt) : FormatText("%6.2f±%-.2fs", dms, mt);
      lengthText = adjusted_ ? FormatText("%9.4f(1/%-.2f万)", s, t) : FormatText("%6.0f(1/%-.2f万)", s, t);
    }
    const GroundPoint mid = Midpoint(p1, p2);
    Value(azimuthText, Along(Along(mid, alpha, -HalfLength(azimuthText, numberFont_)), alpha + kHalfPi, Mm(0.5)),
          alpha, mid);
    Value(lengthText,
          Along(Along(mid, alpha, -HalfLength(lengthText, numberFont_)), alpha + kHalfPi, Mm(numberFont_.height + 0.5)),
          alpha, mid);
  }

  void DrawAnnotations() {
    const auto annotate = [&](const PlaneSide& side) {
      int a, b;
      if (Ends(side.ends, a, b)) Annotate(Point(a), Point(b), Known(a) && Known(b), side.precision.ms, side.precision.mt);
    };
    for (const PlaneSide& side : model_.sides) annotate(side);
    DrawPairLines();
    for (const PlaneSide& pair : model_.pairs) annotate(pair);
  }

  // ---- observation values (kind 5)
  // An observation the statistical tests flagged: its value in red, and its
  // line redrawn in red so that it shows even where the zoom leaves the
  // numbers out.
  bool Flagged(const char* kind, std::string_view from, std::string_view to) const {
    return flagged_ && flagged_->Contains(kind, from, to);
  }
  Rgb ValueColour(bool flagged) const { return flagged ? PaletteColour(kRed) : colour_; }

  // An observation's value on its side, the side redrawn in red when the
  // tests flagged it. Row 0 is a distance: its reference point on the side's
  // middle. A fixed or weighted side or azimuth is centred on its side in row
  // `row` above it (rows of the number height plus 0.5 mm) or, when that place
  // is taken, in another row above or below (text_placement.h).
  void SideValue(const char* kind, const PlaneEnds& ends, int row, const std::string& text) {
    int a, b;
    if (!Ends(ends, a, b)) return;
    const GroundPoint p1 = Point(a), p2 = Point(b);
    const bool flagged = Flagged(kind, ends.fromName, ends.toName);
    if (flagged) Line(EntityCategory::Lines, kFlaggedLine, p1, p2);
    const double alpha = Readable(AzimuthOf(p1.x, p1.y, p2.x, p2.y));
    if (row == 0) {
      Value(MakeTextBlock(Midpoint(p1, p2), DirectionTenths(alpha), numberFont_, ValueColour(flagged), text), p1,
            alpha);
      return;
    }
    const double h = numberFont_.height, rowMm = h + 0.5;
    const GroundPoint centred = Along(Midpoint(p1, p2), alpha, -HalfLength(text, numberFont_));
    const double tops[] = {row * rowMm,   (3 - row) * rowMm, 3 * rowMm,         4 * rowMm,
                           -(h + 1.0),    -(h + 1.0 + rowMm), -(h + 1.0 + 2 * rowMm)};
    std::vector<TextBlock> candidates;
    for (double top : tops) {
      AppendSlides(candidates,
                   MakeTextBlock(Along(centred, alpha - kHalfPi, Mm(top)), DirectionTenths(alpha), numberFont_,
                                 ValueColour(flagged), text),
                   declutter_, m_);
    }
    if (!Finite(GroundPoint{candidates[0].x, candidates[0].y})) return;
    Emit(candidates[occupancy_.Place(candidates)]);
  }

  void DrawObservationValues() {
    const double h = numberFont_.height;
    // Directions, set by set: beside the line of sight near the station.
    for (const PlaneDirection& d : model_.directions) {
      const int a = d.station;
      const int b = d.target;
      if (!Usable(a) || !Usable(b)) continue;
      const GroundPoint s = Point(a), t = Point(b);
      const double alpha = AzimuthOf(s.x, s.y, t.x, t.y);
      const GroundPoint ref = Along(Along(s, alpha, Mm(2.5)), alpha + kHalfPi, Mm(h + 0.5));
      // A flagged direction: the half of its line of sight at the station.
      const bool flagged = Flagged(kDirectionKind, model_.points[a].name, d.targetName);
      if (flagged) Line(EntityCategory::Lines, kFlaggedLine, s, Midpoint(s, t));
      Value(MakeTextBlock(ref, DirectionTenths(alpha), numberFont_, ValueColour(flagged),
                          Format(adjusted_ ? "%9.6f" : "%6.2f", d.dms)),
            s, alpha);
    }
    for (const PlaneDistance& d : model_.distances) {
      SideValue(kDistanceKind, d.ends, 0, Format(adjusted_ ? "%9.4f" : "%6.0fm", d.length));
    }
    const struct {
      const char* kind;
      const std::vector<PlaneMeasure>& list;
      int row;
      const char* format;
    } tables[] = {{kFixedDistanceKind, model_.fixedSides, 1, "1:%9.4f"},
                  {kWeightedDistanceKind, model_.weightedSides, 1, "2:%9.4f"},
                  {kFixedAzimuthKind, model_.fixedAzimuths, 2, "3:%9.6f"},
                  {kWeightedAzimuthKind, model_.weightedAzimuths, 2, "4:%9.6f"}};
    for (const auto& table : tables) {
      for (const PlaneMeasure& o : table.list) SideValue(table.kind, o.ends, table.row, Format(table.format, o.value));
    }
  }

  void DrawTraverseClosures() {
    const int count = static_cast<int>(model_.traverses.size());
    for (int t = 0; t < count; ++t) {
      const auto block = TraverseBlock(model_.traverses[t]);
      TextBlock emitted;
      if (block && Emit(*block, &emitted) && items_) items_->AddText(MovableKind::TraverseLabel, t, emitted, m_);
    }
  }

  // ---- points
  void DrawPointSymbols() {
    for (int i = 0; i < model_.pointCount(); ++i) {
      if (!Usable(i)) continue;
      const GroundPoint p = Point(i);
      if (Known(i)) {
        GroundPoint corners[3];
        for (int c = 0; c < 3; ++c) corners[c] = Along(p, c * 2 * kPi / 3, Mm(kTriangleRadius));
        if (AllFinite(corners)) out_.Polygon(EntityCategory::Symbols, kSymbolOutline, corners);
      } else {
        Square(kSymbolOutline, p, Mm(kSquareHalfSide));
      }
      Square(kSymbolCentre, p, Mm(kCentreHalfSide));
    }
  }
  void Square(DrawStyle style, GroundPoint c, double h) {
    const GroundPoint corners[4] = {{c.x + h, c.y - h}, {c.x + h, c.y + h}, {c.x - h, c.y + h}, {c.x - h, c.y - h}};
    if (AllFinite(corners)) out_.Polygon(EntityCategory::Symbols, style, corners);
  }

  // A name the font height plus 2 mm north of its point, centred on it, both
  // shifted by the point's label offset.
  TextBlock NameBlock(int i) const {
    std::string name = model_.points[i].name;
    if (kind_ == 6 && !Known(i)) {
      const double e = model_.points[i].ellipse.e, f = model_.points[i].ellipse.f;
      name = Format("%s(%.2fcm)", name.c_str(), std::sqrt(e * e + f * f));
    }
    const GroundPoint p = Point(i);
    const PlanePoint& point = model_.points[i];
    const GroundPoint ref{p.x + Mm(textFont_.height + kNameAbovePoint + ClampedLabelOffset(point.labelDx)),
                          p.y - HalfLength(name, textFont_) + Mm(ClampedLabelOffset(point.labelDy))};
    return MakeTextBlock(ref, 900, textFont_, colour_, name);
  }

  void DrawPointNames() {
    for (int i = 0; i < model_.pointCount(); ++i) {
      if (!Usable(i)) continue;
      TextBlock block;
      if (Emit(NameBlock(i), &block) && items_) items_->AddText(MovableKind::PlaneName, i, block, m_);
    }
  }

  EntityEmitter& out_;
  const PlaneModel& model_;
  MovableItemList* items_;
  const FlaggedObservationSet* flagged_;  // null when nothing is flagged
  double m_;
  double k_;
  int kind_;
  bool adjusted_;
  Rgb colour_;
  TextFont numberFont_;
  TextFont textFont_;
  bool declutter_;
  bool placing_ = false;        // texts are placed among the others (occupancy_ in use)
  bool skipTraverses_ = false;
  SheetOccupancy occupancy_;
};

// The four point names of a traverse as one key (a point the table does not
// hold as an empty name).
std::string TraverseKey(const PlaneModel& model, const PlaneTraverse& t) {
  std::string key;
  for (const int p : {t.startOrientation, t.start, t.end, t.endOrientation}) {
    if (p >= 0 && p < model.pointCount()) key += model.points[p].name;
    key += '\0';
  }
  return key;
}

}  // namespace

void DrawPlaneDiagram(EntityEmitter& out, const PlaneModel& model, const DrawContext& context,
                      MovableItemList* items) {
  PlaneDiagram(out, model, context, items).Draw();
}

std::string BuildPlaneDiagramTitle(const PlaneModel& model) {
  const std::string& prefix = Gbk(model.Adjusted() ? "平差计算:" : "精度估算:");
  const DiagramKindEntry* kind = FindDiagramKind(DiagramNetwork::Plane, DiagramKind(model.diagram));
  switch (kind->titleValue) {
    case TitleValue::EllipseScale:
      return FormatText(kind->titleFormat, prefix.c_str(), UsableEllipseScale(model.diagram));
    case TitleValue::Sigma0:
      return FormatText(kind->titleFormat, prefix.c_str(), model.sigma0);
    case TitleValue::None:
      break;
  }
  return FormatText(kind->titleFormat, prefix.c_str());
}

double ComputeEllipseScale(PlaneModel& model) {
  double largest = 0.0;
  const auto consider = [&largest](float v) {
    if (std::isfinite(v)) largest = std::max(largest, std::fabs(static_cast<double>(v)));
  };
  for (const PlanePoint& p : model.points) {
    consider(p.ellipse.e);
    consider(p.ellipse.f);
  }
  for (const PlaneSide& side : model.sides) {
    consider(side.precision.ellipse.e);
    consider(side.precision.ellipse.f);
  }
  PlaneDiagramStyle& style = model.diagram;
  style.maxSemiAxis = largest * 10;
  // The radius as the display settings allow it.
  double radius = style.maxEllipseRadius;
  if (!std::isfinite(radius)) radius = 6.0;
  radius = std::clamp(radius, kMinEllipseRadius, kMaxEllipseRadius);
  double k = 1.0;
  if (radius <= 25.0) {
    k = std::floor(style.maxSemiAxis / radius * 100 + 0.5) * 0.01;
    if (k > 1) k = std::floor(k + 0.5);
    if (!(k >= 0.01)) k = style.maxSemiAxis > 0 ? 0.01 : 1.0;
  }
  style.ellipseScale = k;
  return k;
}

namespace {

// Every text and line of a drawing, as obstacles for the texts placed after it.
class OccupancySink : public EntitySink {
 public:
  explicit OccupancySink(SheetOccupancy& sheet) : sheet_(sheet) {}
  void Shape(const EntityHeader&, const ShapeBlock& block, std::span<const GroundPoint> points) override {
    if (block.type != kShapePolyline && block.type != kShapePolygon) return;
    for (size_t i = 0; i + 1 < points.size(); ++i) sheet_.AddLine(points[i], points[i + 1]);
  }
  void Text(const EntityHeader&, const TextBlock& block) override { sheet_.AddText(block); }

 private:
  SheetOccupancy& sheet_;
};

// The classic default places: on the side of each traverse, the texts of k
// traverses on one side at 1/(k+1), 2/(k+1) ... along it. Gives the side's
// ends and the share along it per entry.
struct TraverseSide {
  int a = -1, b = -1;
  double along = 0.5;
};
std::vector<TraverseSide> TraverseSides(const PlaneModel& model) {
  const int count = static_cast<int>(model.traverses.size());
  const auto usable = [&](int i) {
    return i >= 0 && std::isfinite(model.points[i].x) && std::isfinite(model.points[i].y) ? i : -1;
  };
  std::vector<std::pair<int, int>> ends(static_cast<size_t>(count), {-1, -1});
  std::map<std::pair<int, int>, int> sharing;
  for (int i = 0; i < count; ++i) {
    const PlaneTraverse& t = model.traverses[i];
    const int start = usable(t.start);
    int other = usable(t.end);
    if (other == start || other < 0) other = usable(t.startOrientation);
    if (start < 0 || other < 0) continue;
    ends[static_cast<size_t>(i)] = {start, other};
    ++sharing[std::minmax(start, other)];
  }
  std::vector<TraverseSide> sides(static_cast<size_t>(count));
  std::map<std::pair<int, int>, int> placed;
  for (int i = 0; i < count; ++i) {
    const auto [start, other] = ends[static_cast<size_t>(i)];
    if (start < 0) continue;
    const auto side = std::minmax(start, other);
    sides[static_cast<size_t>(i)] = {side.first, side.second, (placed[side]++ + 1.0) / (sharing[side] + 1.0)};
  }
  return sides;
}

// The point `along` of the way from a to b, written so that a lone text lies
// exactly on (A + B) / 2.
GroundPoint PointAlong(const PlaneModel& model, int a, int b, double along) {
  const PlanePoint& p = model.points[a];
  const PlanePoint& q = model.points[b];
  return GroundPoint{p.x * (1.0 - along) + q.x * along, p.y * (1.0 - along) + q.y * along};
}

}  // namespace

std::vector<std::optional<GroundPoint>> DefaultTraverseLabels(const PlaneModel& model, double m) {
  const std::vector<TraverseSide> sides = TraverseSides(model);
  std::vector<std::optional<GroundPoint>> labels(sides.size());
  if (!(std::isfinite(m) && m > 0.0 && model.Adjusted())) {
    for (size_t i = 0; i < sides.size(); ++i)
      if (sides[i].a >= 0) labels[i] = PointAlong(model, sides[i].a, sides[i].b, sides[i].along);
    return labels;
  }
  // The observation-value diagram without its closure texts: what they avoid.
  SheetOccupancy sheet(m);
  OccupancySink sink(sheet);
  SheetGeometry geometry;
  geometry.scale = m * 1000.0;
  EntityEmitter out(sink, geometry);
  PlaneDiagram diagram(out, model, DrawContext{}, nullptr, 5);
  diagram.SkipTraverseClosures();
  diagram.Draw();
  const double shares[] = {0.5, 0.375, 0.625, 0.25, 0.75};
  for (size_t i = 0; i < sides.size(); ++i) {
    const TraverseSide& side = sides[i];
    if (side.a < 0) continue;
    const std::optional<TextBlock> text = diagram.TraverseBlock(model.traverses[i]);
    const GroundPoint classic = PointAlong(model, side.a, side.b, side.along);
    if (!text) {  // not drawn: the classic place
      labels[i] = classic;
      continue;
    }
    // At each point: the classic corner on it, then centred on it in the rows
    // above and below it.
    const double length = TextAdvanceMillimetres(TextOf(*text), text->width, text->gap);
    std::vector<TextBlock> candidates;
    std::vector<double> along{side.along};
    for (double s : shares)
      if (s != side.along) along.push_back(s);
    for (double t : along) {
      const GroundPoint p = PointAlong(model, side.a, side.b, t);
      const double row = text->height + 1.0;
      for (const double lift : {0.0, row, -1.0, 2 * row, -1.0 - row, 3 * row, -1.0 - 2 * row}) {
        TextBlock b = *text;
        b.x = p.x + lift * m;
        b.y = p.y - (lift == 0.0 ? 0.0 : length / 2 * m);
        candidates.push_back(b);
      }
    }
    const size_t pick = sheet.Place(candidates);
    const TextBlock& chosen = candidates[pick];
    labels[i] = GroundPoint{chosen.x, chosen.y};
  }
  return labels;
}

void RebuildPlaneDiagramData(PlaneModel& model, double m) {
  ComputeEllipseScale(model);
  for (PlanePoint& p : model.points) p.labelDx = p.labelDy = 0.0f;
  const auto labels = DefaultTraverseLabels(model, m);
  for (size_t i = 0; i < labels.size(); ++i) {
    if (!labels[i]) continue;
    model.traverses[i].labelX = labels[i]->x;
    model.traverses[i].labelY = labels[i]->y;
  }
}

void KeepTraverseLabels(PlaneModel& model, const PlaneModel& before, double m) {
  // Traverses with the same four names (two loops closing on the same start
  // and orientation) are told apart by their order in the table.
  std::unordered_map<std::string, GroundPoint> placed;
  std::unordered_map<std::string, int> seen;
  for (const PlaneTraverse& t : before.traverses) {
    const std::string name = TraverseKey(before, t);
    const std::string key = name + std::to_string(seen[name]++);
    if (std::isfinite(t.labelX) && std::isfinite(t.labelY)) placed.emplace(key, GroundPoint{t.labelX, t.labelY});
  }
  seen.clear();
  const auto defaults = DefaultTraverseLabels(model, m);
  for (size_t i = 0; i < model.traverses.size(); ++i) {
    PlaneTraverse& t = model.traverses[i];
    const std::string name = TraverseKey(model, t);
    const auto it = placed.find(name + std::to_string(seen[name]++));
    const std::optional<GroundPoint> at = it != placed.end() ? std::optional<GroundPoint>(it->second) : defaults[i];
    if (!at) continue;
    t.labelX = at->x;
    t.labelY = at->y;
  }
}

void KeepNameOffsets(PlaneModel& model, const PlaneModel& before) {
  if (before.lastComputedPointCount < 0) return;  // never drawn
  for (PlanePoint& p : model.points) {
    const int q = before.Find(p.name);
    if (q < 0) continue;
    p.labelDx = before.points[q].labelDx;
    p.labelDy = before.points[q].labelDy;
  }
}

void StoreMovedPlaneItem(PlaneModel& model, const MovableItem& item, GroundPoint newReference, double m) {
  if (!Finite(newReference) || !Finite(item.reference) || !std::isfinite(m) || m <= 0.0) return;
  switch (item.kind) {
    case MovableKind::PlaneName: {
      if (item.index < 0 || item.index >= model.pointCount()) return;
      PlanePoint& p = model.points[item.index];
      const double dx = ClampedLabelOffset(p.labelDx) + (newReference.x - item.reference.x) / m;
      const double dy = ClampedLabelOffset(p.labelDy) + (newReference.y - item.reference.y) / m;
      p.labelDx = static_cast<float>(std::clamp(dx, -kMaxLabelOffset, kMaxLabelOffset));
      p.labelDy = static_cast<float>(std::clamp(dy, -kMaxLabelOffset, kMaxLabelOffset));
      return;
    }
    case MovableKind::TraverseLabel: {
      if (item.index < 0 || item.index >= static_cast<int>(model.traverses.size())) return;
      model.traverses[item.index].labelX = newReference.x;
      model.traverses[item.index].labelY = newReference.y;
      return;
    }
    default:
      return;
  }
}

}  // namespace qp

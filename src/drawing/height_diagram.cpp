#include "drawing/height_diagram.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <optional>
#include <string_view>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "drawing/curve_sampling.h"
#include "drawing/flagged_observations.h"
#include "drawing/text_placement.h"
#include "drawing/view_transform.h"

namespace qp {
namespace {

constexpr double kPi = std::numbers::pi;
// Legs meeting at the middle control point closer to one direction than 2°
// (or than 358° the other way round) make a straight curve.
constexpr double kStraightBelow = kPi * 0.011111111111111112;
constexpr double kStraightAbove = kPi * 1.988888888888889;
constexpr double kArrowArmMm = 3.0;
constexpr double kArrowArmAngle = 0.9 * kPi;
constexpr double kKnownRadiusMm = 1.5;
constexpr double kUnknownRadiusMm = 1.0;
constexpr double kNameLiftMm = 2.0;
// Gap between a curve and the foot of its observation text.
constexpr double kObservationTextGapMm = 1.0;
constexpr double kPairTextGapMm = 1.5;

const DrawStyle kCurveStyle = DrawStyle::Make(0, kThinWeight, kBlack);
const DrawStyle kArrowStyle = DrawStyle::Make(0, kSymbolWeight, kBlack);
const DrawStyle kSymbolStyle = DrawStyle::Make(0, kSymbolWeight, kBlack, kWhite);
const DrawStyle kCrossStyle = DrawStyle::Make(0, kSymbolWeight, kBlack);
// The curve and arrow of a height difference the statistical tests flag (0.25 mm).
const DrawStyle kFlaggedStyle = DrawStyle::Make(0, 3, kRed);

// Azimuth of a→b in [0, 2π), clockwise from north.
double Azimuth(GroundPoint a, GroundPoint b) {
  const double t = std::atan2(b.y - a.y, b.x - a.x);
  return t < 0 ? t + 2 * kPi : t;
}

// A font of the network made drawable: a size that is not a positive finite
// number takes the starting size, anything absurd is kept within 0.1..100 mm.
TextFont FontOf(const std::string& face, float height, float width, float startHeight, float startWidth) {
  auto size = [](float v, float start) { return std::isfinite(v) && v > 0.0f ? std::clamp(v, 0.1f, 100.0f) : start; };
  TextFont font;
  font.face = face;
  font.height = size(height, startHeight);
  font.width = size(width, startWidth);
  return font;
}

// A text direction for an azimuth: texts never read upside down, so an
// azimuth above π is turned round. Returned in tenths of a degree with the
// azimuth they stand for.
struct TextDirection {
  int tenths;
  double azimuth;
};
TextDirection ReadableDirection(double azimuth) {
  if (azimuth > kPi) azimuth -= kPi;
  const int tenths = std::clamp(TruncateToInt(azimuth * 1800.0 / kPi + 0.5), 0, 1800);
  return TextDirection{tenths, tenths * kPi / 1800.0};
}

// The segment the arrow and the observation text of a curve sit on.
struct Segment {
  GroundPoint start, end;
};

struct Diagram {
  EntityEmitter& out;
  const HeightModel& net;
  MovableItemList* items;
  double m;
  int kind;
  bool adjusting;
  int points, known, observations;
  TextFont textFont, numberFont;
  Rgb colour;
  const FlaggedObservationSet* flagged;  // kind 1 with flags; null otherwise
  bool declutter;
  std::vector<CanvasPoint> sampled;  // reused for every curve
  // The texts, symbols and curves on the sheet, for the texts placed by
  // text_placement.h (kinds 1-3).
  SheetOccupancy occupancy;

  bool HasPoint(int p) const { return p >= 0 && p < points; }
  GroundPoint Position(int p) const { return GroundPoint{net.points[p].x, net.points[p].y}; }
  int From(int i) const { return net.differences[i].from; }
  int To(int i) const { return net.differences[i].to; }

  // Height difference i flagged by the statistical tests: drawn in red.
  bool Flagged(int i) const {
    const HeightDifference& o = net.differences[i];
    return flagged != nullptr && flagged->Contains(kHeightDifferenceKind, o.fromName, o.toName);
  }

  TextBlock Block(GroundPoint ref, int tenths, const TextFont& font, std::string_view text, bool red = false) const {
    return MakeTextBlock(ref, tenths, font, red ? PaletteColour(kRed) : colour, text);
  }
  void Text(const TextBlock& block, MovableKind itemKind, int index, bool movable) {
    EmitText(out.Sink(), out.Sheet(), MakeEntityHeader(EntityKind::Text, EntityCategory::Texts), block);
    if (items != nullptr && movable) items->AddText(itemKind, index, block, m);
  }
};

// The five control points of a curve. Damaged (non-finite) control points
// give way to the straight default line between the two points; false when
// neither can be drawn.
bool ControlPoints(const Diagram& d, int i, GroundPoint (&c)[kCurvePointCount]) {
  bool finite = true;
  for (int k = 0; k < kCurvePointCount; ++k) {
    c[k] = GroundPoint{d.net.differences[i].curve[k][0], d.net.differences[i].curve[k][1]};
    finite = finite && Finite(c[k]);
  }
  if (finite) return true;
  if (!d.HasPoint(d.From(i)) || !d.HasPoint(d.To(i))) return false;
  const GroundPoint a = d.Position(d.From(i)), b = d.Position(d.To(i));
  if (!Finite(a) || !Finite(b)) return false;
  for (int k = 0; k < kCurvePointCount; ++k) {
    const double t = k / 4.0;
    c[k] = GroundPoint{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
  }
  return true;
}

// Where the middle of a curve runs: for a straight curve the leg from the
// third to the fourth control point; otherwise the curve is sampled in canvas
// pixels as the renderer draws it and the two samples around its middle (the
// third control point, which the curve passes) give the segment, converted
// back to ground coordinates. Samples that fall on the same pixel are passed
// over, widening the segment symmetrically.
Segment CurveMiddle(Diagram& d, const GroundPoint (&c)[kCurvePointCount]) {
  const double bend = std::fabs(Azimuth(c[1], c[2]) - Azimuth(c[2], c[3]));
  if (bend < kStraightBelow || bend > kStraightAbove) return Segment{c[2], c[3]};

  CanvasPoint pixels[kCurvePointCount];
  MapToCanvas(d.out.Sheet(), c, pixels);
  d.sampled.clear();
  if (SampleSpline(pixels, false, d.sampled) != SplineStatus::Ok || d.sampled.size() < 2) return Segment{c[2], c[3]};
  const std::vector<CanvasPoint>& s = d.sampled;
  const int n = static_cast<int>(s.size());
  int i0 = n / 2 - 1, i1 = n / 2;
  while (s[i0] == s[i1] && (i0 > 0 || i1 < n - 1)) {
    if (i0 > 0) --i0;
    if (i1 < n - 1) ++i1;
  }
  return Segment{CanvasToMap(d.out.Sheet(), s[i0]), CanvasToMap(d.out.Sheet(), s[i1])};
}

void DrawArrow(Diagram& d, const Segment& seg, DrawStyle style) {
  const GroundPoint mid = Midpoint(seg.start, seg.end);
  const double a = Azimuth(seg.start, seg.end);
  const double arm = kArrowArmMm * d.m;
  const GroundPoint v[3] = {Along(mid, a + kArrowArmAngle, arm), mid, Along(mid, a - kArrowArmAngle, arm)};
  d.out.Polyline(EntityCategory::Texts, style, v);
}

std::string ObservationText(const Diagram& d, int i) {
  const HeightDifference& o = d.net.differences[i];
  const double observed = o.observed;
  const double error = o.error;
  if (d.kind == 1) return d.adjusting ? Format("%9.4f(%.2f)", observed, o.weightElement)
                                      : Format("%6.1f(%.2f)", observed, o.weightElement);
  if (!d.adjusting) return FormatText("%6.1f±%.1fmm", observed, error);
  // The adjusted difference: height of the end point minus that of the start.
  const double adjusted = d.HasPoint(d.From(i)) && d.HasPoint(d.To(i))
                              ? d.net.points[d.To(i)].height - d.net.points[d.From(i)].height
                              : observed;
  return d.kind == 2 ? FormatText("%9.4f±%.1fmm", adjusted, error) : Format("%9.4f", adjusted);
}

// The text of height difference i along its curve, centred on the third
// control point; its offset across the curve is chosen by the rules of
// text_placement.h (first: its foot a millimetre off the line on the side
// the text's top faces).
void DrawObservationText(Diagram& d, int i, const GroundPoint (&c)[kCurvePointCount], const Segment& seg) {
  const std::string text = ObservationText(d, i);
  const TextDirection dir = ReadableDirection(Azimuth(seg.start, seg.end));
  const double half = text.size() * d.numberFont.width / 2.0 * d.m;
  const double h = d.numberFont.height;
  const TextBlock top = d.Block(Along(Along(c[2], dir.azimuth + kPi, half), dir.azimuth - kPi / 2,
                                      (h + kObservationTextGapMm) * d.m),
                                dir.tenths, d.numberFont, text, d.Flagged(i));
  // Offsets towards the text's top (mm) of the foot-side and far-side rows.
  const double across[] = {0.0,    -(h + 2 * kObservationTextGapMm), h,     -(2 * h + 2 * kObservationTextGapMm),
                           2 * h,  -(3 * h + 2 * kObservationTextGapMm), 3 * h, -(4 * h + 2 * kObservationTextGapMm)};
  std::vector<TextBlock> candidates;
  for (double a : across) AppendSlides(candidates, ShiftedText(top, 0.0, a, d.m), d.declutter, d.m);
  const size_t chosen = d.occupancy.Place(candidates);
  d.Text(candidates[chosen], MovableKind::DifferenceText, i, true);
}

void DrawCurves(Diagram& d) {
  for (int i = 0; i < d.observations; ++i) {
    GroundPoint c[kCurvePointCount];
    if (!ControlPoints(d, i, c)) continue;
    const bool flagged = d.Flagged(i);
    d.out.Spline(EntityCategory::Texts, flagged ? kFlaggedStyle : kCurveStyle, c, false);
    DrawArrow(d, CurveMiddle(d, c), flagged ? kFlaggedStyle : kArrowStyle);
  }
}

void DrawObservationTexts(Diagram& d) {
  for (int i = 0; i < d.observations; ++i) {
    GroundPoint c[kCurvePointCount];
    if (!ControlPoints(d, i, c)) continue;
    DrawObservationText(d, i, c, CurveMiddle(d, c));
  }
}

// The closure text of loop k at its label position; nothing for a loop not
// drawn or damaged.
std::optional<TextBlock> LoopBlock(const Diagram& d, int k) {
  const HeightLoop& e = d.net.loops[k];
  const GroundPoint at{e.labelX, e.labelY};
  if (!e.drawn || e.kind < kLoopKnownLine || e.kind > kLoopQuadrilateral || !Finite(at) ||
      !std::isfinite(e.closure)) {
    return std::nullopt;
  }
  long long sections = 0;
  for (int32_t s : e.sections) sections += s;
  const int count = static_cast<int>(std::clamp<long long>(sections, INT32_MIN, INT32_MAX));
  const double w = e.closure == 0.0f ? 0.0 : e.closure;  // no "-0.00" for a closure of exactly 0
  const std::string text = w > 0 ? Format("+%.2f(%d)", w, count) : Format("%.2f(%d)", w, count);
  return d.Block(at, 900, d.numberFont, text);
}

int LoopsOf(const Diagram& d) { return static_cast<int>(d.net.loops.size()); }
bool DrawsLoops(const Diagram& d) { return d.kind == 1 && d.adjusting; }

void DrawLoopClosures(Diagram& d) {
  for (int k = 0; k < LoopsOf(d); ++k) {
    if (const auto block = LoopBlock(d, k)) d.Text(*block, MovableKind::LoopLabel, k, true);
  }
}

// Pair texts hang 1.5 mm below the line joining the pair, centred on its
// middle. Gives the block with the pair's middle and reading azimuth.
struct PairText {
  TextBlock block;
  GroundPoint middle;
  double azimuth;
};
std::vector<PairText> PairTexts(const Diagram& d) {
  std::vector<PairText> out;
  if (d.kind < 2) return out;
  for (const HeightPair& pair : d.net.pairs) {
    if (pair.from < 0 || pair.to < 0) continue;
    const GroundPoint pa = d.Position(pair.from), pb = d.Position(pair.to);
    if (!Finite(pa) || !Finite(pb)) continue;
    const double diff = pair.difference, error = pair.error;
    const std::string text = !d.adjusting ? FormatText("%6.1f±%.1fmm", diff, error)
                             : d.kind == 2 ? FormatText("%9.4f±%.1fmm", diff, error)
                                           : Format("%9.4f", diff);
    const TextDirection dir = ReadableDirection(Azimuth(pa, pb));
    const double half = text.size() * d.numberFont.width / 2.0 * d.m;
    const GroundPoint ref = Along(Along(Midpoint(pa, pb), dir.azimuth + kPi / 2, kPairTextGapMm * d.m),
                                  dir.azimuth + kPi, half);
    out.push_back(PairText{d.Block(ref, dir.tenths, d.numberFont, text), Midpoint(pa, pb), dir.azimuth});
  }
  return out;
}

void DrawPairTexts(Diagram& d) {
  for (const PairText& p : PairTexts(d)) {
    if (!d.declutter) {
      d.Text(p.block, MovableKind::DifferenceText, -1, false);
      continue;
    }
    const std::vector<TextBlock> candidates = DeclutterCandidates(p.block, p.middle, p.azimuth, d.m);
    d.Text(candidates[d.occupancy.Place(candidates)], MovableKind::DifferenceText, -1, false);
  }
}

void DrawSymbols(Diagram& d) {
  for (int p = 0; p < d.points; ++p) {
    const GroundPoint c = d.Position(p);
    if (!Finite(c)) continue;
    const bool known = p < d.known;
    const double r = (known ? kKnownRadiusMm : kUnknownRadiusMm) * d.m;
    const GroundPoint corners[4] = {{c.x + r, c.y - r}, {c.x + r, c.y + r}, {c.x - r, c.y + r}, {c.x - r, c.y - r}};
    d.out.Ellipse(EntityCategory::Symbols, kSymbolStyle, corners);
    if (known) {
      const GroundPoint first[2] = {Along(c, kPi / 4, r), Along(c, kPi * 5 / 4, r)};
      const GroundPoint second[2] = {Along(c, kPi * 3 / 4, r), Along(c, kPi * 7 / 4, r)};
      d.out.Polyline(EntityCategory::Symbols, kCrossStyle, first);
      d.out.Polyline(EntityCategory::Symbols, kCrossStyle, second);
    }
    if (d.items != nullptr) d.items->AddSymbol(MovableKind::HeightPoint, p, c, r);
  }
}

std::string NameText(const Diagram& d, int p) {
  const HeightPoint& point = d.net.points[p];
  const char* name = point.name.c_str();
  const bool known = p < d.known;
  if (d.kind == 1 && known) return Format("%s(%-.4f)", name, point.height);
  if (d.kind == 2 && !known) return Format("%s(%-.1f)", name, static_cast<double>(point.error));
  if (d.kind == 3) return Format(d.adjusting ? "%s(%-.4f)" : "%s(%-.1f)", name, point.height);
  return point.name;
}

// Names sit the font height plus 2 mm north of their point, centred on it,
// both shifted by the point's label offset.
std::optional<TextBlock> NameBlock(const Diagram& d, int p) {
  const GroundPoint c = d.Position(p);
  if (!Finite(c)) return std::nullopt;
  const std::string text = NameText(d, p);
  const double dx = DrawnLabelOffset(d.net.points[p].labelDx), dy = DrawnLabelOffset(d.net.points[p].labelDy);
  const GroundPoint ref{c.x + (d.textFont.height + kNameLiftMm + dx) * d.m,
                        c.y - text.size() * d.textFont.width / 2.0 * d.m + dy * d.m};
  return d.Block(ref, 900, d.textFont, text);
}

void DrawNames(Diagram& d) {
  for (int p = 0; p < d.points; ++p) {
    if (const auto block = NameBlock(d, p)) d.Text(*block, MovableKind::HeightName, p, true);
  }
}

// What the observation texts are placed among: the texts whose place is
// fixed (names, closure texts, and the pair texts unless they declutter),
// the point symbols and the curves' control polygons.
void FillOccupancy(Diagram& d) {
  for (int p = 0; p < d.points; ++p) {
    if (const auto block = NameBlock(d, p)) d.occupancy.AddText(*block);
    d.occupancy.AddSymbol(d.Position(p), p < d.known ? kKnownRadiusMm : kUnknownRadiusMm);
  }
  if (DrawsLoops(d)) {
    for (int k = 0; k < LoopsOf(d); ++k) {
      if (const auto block = LoopBlock(d, k)) d.occupancy.AddText(*block);
    }
  }
  if (!d.declutter) {
    for (const PairText& p : PairTexts(d)) d.occupancy.AddText(p.block);
  }
  for (int i = 0; i < d.observations; ++i) {
    GroundPoint c[kCurvePointCount];
    if (!ControlPoints(d, i, c)) continue;
    for (int k = 0; k + 1 < kCurvePointCount; ++k) d.occupancy.AddLine(c[k], c[k + 1]);
  }
}

}  // namespace

void DrawHeightDiagram(EntityEmitter& out, const HeightModel& net, const DrawContext& context,
                       MovableItemList* items) {
  const HeightDiagramStyle& style = net.diagram;
  Diagram d{out,
            net,
            items,
            out.M(),
            style.DrawnKind(),
            net.mode == kHeightAdjust,
            net.PointCount(),
            net.KnownCount(),
            static_cast<int>(net.differences.size()),
            FontOf(style.textFace, style.textHeight, style.textWidth, 3.0f, 1.5f),
            FontOf(style.numberFace, style.numberHeight, style.numberWidth, 2.0f, 1.0f),
            ColourFromWord(style.textColour),
            nullptr,
            context.declutter,
            {},
            SheetOccupancy(out.M())};
  if (d.kind == 1 && context.flagged != nullptr && !context.flagged->Empty()) d.flagged = context.flagged;
  if (!std::isfinite(d.m) || d.m <= 0.0) return;

  DrawCurves(d);
  if (d.kind > 0) {
    FillOccupancy(d);
    DrawObservationTexts(d);
    if (DrawsLoops(d)) DrawLoopClosures(d);
    DrawPairTexts(d);
  }
  DrawSymbols(d);
  DrawNames(d);
}

std::string BuildHeightDiagramTitle(const HeightModel& net) {
  const char* prefix = Gbk(net.mode == kHeightAdjust ? "平差计算:" : "精度估算:").c_str();
  switch (net.diagram.DrawnKind()) {
    case 1: return FormatText("%s高差观测值[Mo=%-.2f]", prefix, net.sigma0);
    case 2: return FormatText("%s高差平差值误差[Mo=%-.2f]", prefix, net.sigma0);
    case 3: return FormatText("%s高差平差值[Mo=%-.2f]", prefix, net.sigma0);
    default: return FormatText("%s高程控制网网图", prefix);
  }
}


}  // namespace qp

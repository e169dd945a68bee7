#include "drawing/frame_and_grid.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "drawing/sheet_canvas.h"
#include "drawing/text_layout.h"

namespace qp {
namespace {

// ---------------------------------------------------------------------------
// Where everything sits on the printed sheet, in paper millimetres. Ground
// lengths are these times m (scale x 0.001). "Frame line" without a qualifier
// is the outer frame line; the grid labels of the A and B layouts sit in the
// band between the inner and the outer frame.
// ---------------------------------------------------------------------------
constexpr double kGridSpacingMm = 100.0;    // grid lines and crosses every 10 cm
constexpr double kCrossArmMm = 5.0;         // each arm of a grid cross, and the inward ticks
                                            // on the inner frame of the cross styles
constexpr double kLabelClearMm = 1.0;       // band labels from the inner frame line (inside
                                            // the sheet: from the inner frame line too)
constexpr double kOuterLineClearMm = 1.0;   // band labels from the axis of the 0.8 mm outer line
constexpr double kLabelBesideMm = 0.5;      // a label beside its line (or tick), and from the
                                            // ends of the sheet's side
constexpr double kMiningLineClearMm = 0.5;  // mining: label from its grid line
constexpr double kMiningInsetExtraMm = 2.0; // mining: labels start (label height + 2) inside the frame
constexpr double kTitleAboveMm = 11.0;      // title top: h1 + h2 + h3 + 11 above the frame line
constexpr double kSecondLineAboveMm = 8.0;  // diagram title top: h2 + h3 + 8
constexpr double kThirdLineAboveMm = 3.0;   // third line top: h3 + 3
constexpr double kExtraTextAboveMm = 7.0;   // slot 13, ending at the east frame line
constexpr double kNotesTopMm = 3.0;         // first remark / note line top below the frame line
constexpr double kNotesLineGapMm = 1.0;     // between remark / note lines
constexpr double kNotesHeadingGapMm = 1.0;  // "附注:" before the first note line
constexpr double kRemarksInsetMm = 1.0;     // remarks start east of the west frame line
constexpr double kScaleTextDropMm = 3.0;    // "1:%d" top below the frame line, centred on the sheet
constexpr double kUnitNameClearMm = 2.0;    // unit name: a vertical column west of the west frame
constexpr double kUnitNameLineGapMm = 1.0;  // line, its last character level with the south frame line
constexpr double kLegendRowMm = 8.0;        // adjoining-sheet table: above the top frame line at the
constexpr double kLegendColumnMm = 15.0;    // west end, rows 8 mm, three columns 15 mm
constexpr int kLegendColumns = 3;
constexpr double kLegendAboveMm = 3.0;
constexpr double kCaptionDropMm = 0.8;      // software line: small, under the frame line, ending
constexpr float kCaptionHeightMm = 2.0f;    // at the east frame line
constexpr float kCaptionWidthMm = 1.0f;
constexpr double kOnFrameToleranceMm = 0.5; // a grid line this close to the frame is the frame

// A sheet side beyond this is damage, not paper (the canvas is at most 65536
// pixels, 16.6 m of paper at 100 dots per inch).
constexpr int kMaxSheetMm = 20000;
constexpr int kMinSheetMm = 100;
constexpr int kHorizontal = 900;  // text direction: reading west to east
constexpr int kUpwards = 0;       // reading south to north

constexpr float kDefaultFontSizes[kSheetFontCount][2] = {{6.0f, 3.0f}, {4.5f, 2.25f}, {3.0f, 1.5f}, {3.0f, 1.5f},
                                                         {4.0f, 2.0f}, {4.0f, 2.0f}, {3.0f, 1.5f}};

bool UsableSize(float v) { return std::isfinite(v) && v > 0.0f && v < 1000.0f; }

std::string TrimBlanks(std::string s) {
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  const size_t last = s.find_last_not_of(' ');
  return s.substr(first, last - first + 1);
}

std::string LastChars(const std::string& s, size_t n) { return s.size() <= n ? s : s.substr(s.size() - n); }

class SheetPainter {
 public:
  SheetPainter(EntityEmitter& out, const SettingsBlock& b, const DrawContext& context)
      : out_(out), b_(b), context_(context), m_(out.M()) {
    const std::string_view face = CutGbk(SlotText(b.textFontFace), kTextFaceSize - 1);
    face_ = face.size() > 2 ? std::string(face) : Gbk("宋体");
    labelFont_ = TextFont{face_, 3.0f, 1.5f};
    if (UsableSize(b.textFontHeight) && UsableSize(b.textFontWidth)) {
      labelFont_.height = b.textFontHeight;
      labelFont_.width = b.textFontWidth;
    }
    labelColour_ = ColourFromWord(static_cast<uint32_t>(b.textFontColour));
    gap_ = std::isfinite(b.frameSpacing) && b.frameSpacing >= 0.0 && b.frameSpacing <= 100.0 ? b.frameSpacing : 12.0;
    x0_ = b.cornerX;
    y0_ = b.cornerY;
    x1_ = b.northEdgeX;
    y1_ = b.eastEdgeY;
  }

  // The block can be drawn at all: sizes, scale and frame corners in order.
  bool Drawable() const {
    if (!(b_.scale == b_.appliedScale)) return false;
    if (b_.sheetHeight < kMinSheetMm || b_.sheetWidth < kMinSheetMm) return false;
    if (b_.sheetHeight > kMaxSheetMm || b_.sheetWidth > kMaxSheetMm) return false;
    if (!std::isfinite(x1_) || !std::isfinite(y1_) || !(x1_ > x0_) || !(y1_ > y0_)) return false;
    return std::isfinite(m_) && m_ > 0.0;
  }

  void Draw(FrameLayout layout, bool crosses) {
    // Grid line counts from the block, never more than the sheet holds.
    rows_ = std::clamp(b_.gridRows, 0, b_.sheetHeight / 100);
    cols_ = std::clamp(b_.gridCols, 0, b_.sheetWidth / 100);
    if (layout != FrameLayout::Simple && (rows_ < 1 || cols_ < 1)) return;

    if (context_.maskOutsideSheet) Mask();
    Rectangle(x0_, y0_, x1_, y1_, kThinWeight);
    if (layout != FrameLayout::Simple) {
      if (crosses) Crosses(); else GridLines();
      if (layout == FrameLayout::B) GapTicks();
    }
    Rectangle(x0_ - gap_ * m_, y0_ - gap_ * m_, x1_ + gap_ * m_, y1_ + gap_ * m_, kFrameWeight);

    if (b_.showGridLabels && Visible(labelFont_.height)) {
      if (layout == FrameLayout::Simple) CornerCoordinates(); else GridLabels(layout);
    }
    TitleBlock();
    RemarksAndNotes();
    UnitName();
    ScaleText();
    Legend();
    SoftwareLine();
  }

 private:
  double OuterSouth() const { return x0_ - gap_ * m_; }
  double OuterNorth() const { return x1_ + gap_ * m_; }
  double OuterWest() const { return y0_ - gap_ * m_; }
  double OuterEast() const { return y1_ + gap_ * m_; }
  double RowX(int i) const { return x0_ + i * kGridSpacingMm * m_; }
  double ColumnY(int j) const { return y0_ + j * kGridSpacingMm * m_; }
  bool RowInside(int i) const { return i > 0 && RowX(i) < x1_ - kOnFrameToleranceMm * m_; }
  bool ColumnInside(int j) const { return j > 0 && ColumnY(j) < y1_ - kOnFrameToleranceMm * m_; }

  // A sheet text is drawn only when it is taller than 3 pixels on screen.
  bool Visible(double heightMm) const {
    return context_.OnScreen(MillimetresToPixels(out_.Sheet().resolution, heightMm)) > 3;
  }

  TextFont FontOf(SheetFont index) const {
    float h = b_.fontSizes[index][0], w = b_.fontSizes[index][1];
    if (!UsableSize(h) || !UsableSize(w)) {
      h = kDefaultFontSizes[index][0];
      w = kDefaultFontSizes[index][1];
    }
    return TextFont{face_, h, w};
  }

  double Advance(std::string_view text, const TextFont& f) const {
    return TextAdvanceMillimetres(text, f.width, f.gap);
  }
  // The length the glyphs cover: the advance less the gap after the last one.
  double Glyphs(std::string_view text, const TextFont& f) const {
    return text.empty() ? 0.0 : std::max(0.0, Advance(text, f) - f.gap);
  }

  void Line(GroundPoint a, GroundPoint b, int weight = kThinWeight) {
    const GroundPoint pts[2] = {a, b};
    out_.Polyline(EntityCategory::Lines, DrawStyle::Make(0, weight, kBlack), pts);
  }

  void Rectangle(double xs, double ys, double xn, double ye, int weight) {
    const GroundPoint pts[4] = {{xs, ys}, {xn, ys}, {xn, ye}, {xs, ye}};
    out_.Polygon(EntityCategory::Lines, DrawStyle::Make(0, weight, kBlack), pts);
  }

  // Every sheet text, moved onto the paper where it would leave it.
  void Text(GroundPoint ref, int direction, const TextFont& f, Rgb colour, std::string_view text) {
    out_.Text(EntityCategory::Texts, OnPaper(ref, direction, f, text), direction, f, colour, text);
  }

  GroundPoint OnPaper(GroundPoint ref, int direction, const TextFont& f, std::string_view text) const {
    const SheetGeometry& s = out_.Sheet();
    const double south = CanvasRowToMapX(s, 0), north = CanvasRowToMapX(s, s.canvasHeightPx);
    const double west = CanvasColumnToMapY(s, 0), east = CanvasColumnToMapY(s, s.canvasWidthPx);
    const TextBox box = TextBoxOf(MakeTextBlock(ref, direction, f, Rgb{}, text), m_);
    double lowX = box.corners[0].x, highX = lowX, lowY = box.corners[0].y, highY = lowY;
    for (const GroundPoint& c : box.corners) {
      lowX = std::min(lowX, c.x);
      highX = std::max(highX, c.x);
      lowY = std::min(lowY, c.y);
      highY = std::max(highY, c.y);
    }
    // Past the far edge first, so that a text longer than the paper keeps its start on it.
    const auto shift = [](double low, double high, double edgeLow, double edgeHigh) {
      double d = high > edgeHigh ? edgeHigh - high : 0.0;
      if (low + d < edgeLow) d = edgeLow - low;
      return d;
    };
    if (!(north > south) || !(east > west)) return ref;
    return {ref.x + shift(lowX, highX, south, north), ref.y + shift(lowY, highY, west, east)};
  }

  // White, pen-less polygons over the canvas outside the inner frame.
  void Mask() {
    const SheetGeometry& s = out_.Sheet();
    const double south = std::min(CanvasRowToMapX(s, 0), x0_), north = std::max(CanvasRowToMapX(s, s.canvasHeightPx), x1_);
    const double west = std::min(CanvasColumnToMapY(s, 0), y0_), east = std::max(CanvasColumnToMapY(s, s.canvasWidthPx), y1_);
    const DrawStyle white = DrawStyle::Make(static_cast<int>(PenStyle::Null), 0, kWhite, kWhite);
    auto strip = [&](double xs, double ys, double xn, double ye) {
      if (!(xn > xs) || !(ye > ys)) return;
      const GroundPoint pts[4] = {{xs, ys}, {xn, ys}, {xn, ye}, {xs, ye}};
      out_.Polygon(EntityCategory::Lines, white, pts);
    };
    strip(south, west, x0_, east);
    strip(x1_, west, north, east);
    strip(x0_, west, x1_, y0_);
    strip(x0_, y1_, x1_, east);
  }

  void GridLines() {
    for (int i = 1; i <= rows_; ++i)
      if (RowInside(i)) Line({RowX(i), y0_}, {RowX(i), y1_});
    for (int j = 1; j <= cols_; ++j)
      if (ColumnInside(j)) Line({x0_, ColumnY(j)}, {x1_, ColumnY(j)});
  }

  // Crosses inside the sheet; where a grid line meets the inner frame, a
  // tick of one arm's length points inwards.
  void Crosses() {
    const double a = kCrossArmMm * m_;
    for (int i = 1; i <= rows_; ++i) {
      if (!RowInside(i)) continue;
      for (int j = 1; j <= cols_; ++j) {
        if (!ColumnInside(j)) continue;
        Line({RowX(i), ColumnY(j) - a}, {RowX(i), ColumnY(j) + a});
        Line({RowX(i) - a, ColumnY(j)}, {RowX(i) + a, ColumnY(j)});
      }
    }
    for (int i = 1; i <= rows_; ++i) {
      if (!RowInside(i)) continue;
      Line({RowX(i), y0_}, {RowX(i), y0_ + a});
      Line({RowX(i), y1_}, {RowX(i), y1_ - a});
    }
    for (int j = 1; j <= cols_; ++j) {
      if (!ColumnInside(j)) continue;
      Line({x0_, ColumnY(j)}, {x0_ + a, ColumnY(j)});
      Line({x1_, ColumnY(j)}, {x1_ - a, ColumnY(j)});
    }
  }

  // B layout: every grid line continues across the band to the outer frame.
  void GapTicks() {
    const double g = gap_ * m_;
    for (int i = 1; i <= rows_; ++i) {
      if (!RowInside(i)) continue;
      Line({RowX(i), y0_ - g}, {RowX(i), y0_});
      Line({RowX(i), y1_}, {RowX(i), y1_ + g});
    }
    for (int j = 1; j <= cols_; ++j) {
      if (!ColumnInside(j)) continue;
      Line({x0_ - g, ColumnY(j)}, {x0_, ColumnY(j)});
      Line({x1_, ColumnY(j)}, {x1_ + g, ColumnY(j)});
    }
  }

  // The label of one grid (or frame) line: the line's coordinate, its text,
  // and whether it is the last line of its side.
  struct LineLabel {
    double line;
    std::string text;
    bool last;
  };

  void GridLabels(FrameLayout layout) {
    std::vector<LineLabel> rows, columns;
    for (int i = 0; i <= rows_; ++i)
      rows.push_back({RowX(i), GridLabelText(RowX(i), b_.labelUnit, i > 0 && i < rows_), i == rows_});
    for (int j = 0; j <= cols_; ++j)
      columns.push_back({ColumnY(j), GridLabelText(ColumnY(j), b_.labelUnit, j > 0 && j < cols_), j == cols_});
    if (layout == FrameLayout::Mining) {
      MiningLabels(rows, columns);
    } else {
      BandLabels(rows, columns, layout == FrameLayout::A);
    }
  }

  // The simple frame's corner coordinates, laid out as the labels of its
  // two frame rows and two frame columns, each beside its corner.
  void CornerCoordinates() {
    const std::vector<LineLabel> rows{{x0_, CornerCoordinateText(x0_), false}, {x1_, CornerCoordinateText(x1_), true}};
    const std::vector<LineLabel> columns{{y0_, CornerCoordinateText(y0_), false},
                                         {y1_, CornerCoordinateText(y1_), true}};
    BandLabels(rows, columns, false);
  }

  // Where a label of `lengthMm` along its side starts (its low end): centred
  // on its line, or beside it (after the line, before it for the last line),
  // and always within the side from `lo` to `hi` less `reserveMm` at each end.
  double AlongSide(double line, double lengthMm, bool last, bool centred, double lo, double hi,
                   double reserveMm) const {
    double start = line + kLabelBesideMm * m_;
    if (centred) {
      start = line - lengthMm / 2 * m_;
    } else if (last) {
      start = line - (kLabelBesideMm + lengthMm) * m_;
    }
    const double first = lo + (reserveMm + kLabelBesideMm) * m_;
    const double final = hi - (reserveMm + kLabelBesideMm + lengthMm) * m_;
    return std::max(first, std::min(start, final));
  }

  // The labels of the A and B layouts and the simple frame's corners, in the
  // band between the frame lines (see the header for the rules).
  void BandLabels(const std::vector<LineLabel>& rows, const std::vector<LineLabel>& columns, bool centred) {
    const TextFont& f = labelFont_;
    const double h = f.height;
    const double room = gap_ - kLabelClearMm - kOuterLineClearMm;  // across the band
    double longestRow = 0.0;
    for (const LineLabel& r : rows) longestRow = std::max(longestRow, Glyphs(r.text, f));
    const bool inside = h > room;
    const bool upright = !inside && longestRow > room;
    // Inside the sheet the grid lines run on: a label there sits beside its line.
    centred = centred && !inside;
    // Inside the sheet the column labels take the corners; the row labels keep off them.
    const double cornerReserve = inside ? kLabelClearMm + h : 0.0;

    for (const LineLabel& r : rows) {
      const double length = Glyphs(r.text, f);
      if (upright) {
        const double start = AlongSide(r.line, length, r.last, centred, x0_, x1_, 0.0);
        Text({start, y0_ - (kLabelClearMm + h) * m_}, kUpwards, f, labelColour_, r.text);
        Text({start, y1_ + kLabelClearMm * m_}, kUpwards, f, labelColour_, r.text);
        continue;
      }
      const double top = AlongSide(r.line, h, r.last, centred, x0_, x1_, cornerReserve) + h * m_;
      const double west = inside ? y0_ + kLabelClearMm * m_ : y0_ - (kLabelClearMm + length) * m_;
      const double east = inside ? y1_ - (kLabelClearMm + length) * m_ : y1_ + kLabelClearMm * m_;
      Text({top, west}, kHorizontal, f, labelColour_, r.text);
      Text({top, east}, kHorizontal, f, labelColour_, r.text);
    }
    for (const LineLabel& c : columns) {
      const double left = AlongSide(c.line, Glyphs(c.text, f), c.last, centred, y0_, y1_, 0.0);
      const double south = inside ? x0_ + (kLabelClearMm + h) * m_ : x0_ - kLabelClearMm * m_;
      const double north = inside ? x1_ - kLabelClearMm * m_ : x1_ + (kLabelClearMm + h) * m_;
      Text({south, left}, kHorizontal, f, labelColour_, c.text);
      Text({north, left}, kHorizontal, f, labelColour_, c.text);
    }
  }

  // Mining layout: every label inside the sheet, the row labels horizontal,
  // the column labels reading northwards along their line.
  void MiningLabels(const std::vector<LineLabel>& rows, const std::vector<LineLabel>& columns) {
    const TextFont& f = labelFont_;
    const double h = f.height, inset = h + kMiningInsetExtraMm;
    for (const LineLabel& r : rows) {
      const double top = r.last ? r.line - kMiningLineClearMm * m_ : r.line + (kMiningLineClearMm + h) * m_;
      Text({top, y0_ + inset * m_}, kHorizontal, f, labelColour_, r.text);
      Text({top, y1_ - (inset + Advance(r.text, f)) * m_}, kHorizontal, f, labelColour_, r.text);
    }
    for (size_t j = 0; j < columns.size(); ++j) {
      const LineLabel& c = columns[j];
      const double left = j == 0 ? c.line + kMiningLineClearMm * m_ : c.line - (kMiningLineClearMm + h) * m_;
      Text({x0_ + inset * m_, left}, kUpwards, f, labelColour_, c.text);
      Text({x1_ - (inset + Advance(c.text, f)) * m_, left}, kUpwards, f, labelColour_, c.text);
    }
  }

  void TitleBlock() {
    const TextFont f1 = FontOf(kTitleFont), f2 = FontOf(kSecondLineFont), f3 = FontOf(kThirdLineFont);
    const double top = OuterNorth(), middle = (y0_ + y1_) / 2;
    auto centred = [&](std::string_view text, const TextFont& f, double aboveMm) {
      if (text.empty() || !Visible(f.height)) return;
      Text({top + aboveMm * m_, middle - text.size() * f.width / 2 * m_}, kHorizontal, f, Rgb{}, text);
    };
    centred(SheetText(b_, kNetworkNameSlot), f1, f1.height + f2.height + f3.height + kTitleAboveMm);
    centred(SheetText(b_, kDiagramTitleSlot), f2, f2.height + f3.height + kSecondLineAboveMm);
    centred(SlotText(b_.thirdTitleLine), f3, f3.height + kThirdLineAboveMm);
    const std::string_view extra = SheetText(b_, kExtraTextSlot);
    const TextFont fe = FontOf(kUnitFont);
    if (extra.size() > 3 && Visible(fe.height)) {
      Text({top + kExtraTextAboveMm * m_, OuterEast() - (extra.size() * 2.0 + 1.0) * m_}, kHorizontal, fe, Rgb{},
           extra);
    }
  }

  // Remarks in the left column; notes in a column of their own that ends at
  // the east frame line, headed by "附注:" on the first line's level.
  void RemarksAndNotes() {
    const TextFont f = FontOf(kNotesFont);
    if (!Visible(f.height)) return;
    const auto lineTop = [&](int j) { return OuterSouth() - (kNotesTopMm + j * (f.height + kNotesLineGapMm)) * m_; };
    double longest = -1.0;  // glyph length of the longest note drawn
    for (int j = 0; j < 4; ++j) {
      const std::string_view note = SheetText(b_, kNoteSlot1 + j);
      if (note.size() > 3) longest = std::max(longest, Glyphs(note, f));
    }
    const double notesLeft = OuterEast() - longest * m_;
    for (int j = 0; j < 4; ++j) {
      const std::string_view remark = SheetText(b_, kRemarkSlot1 + j), note = SheetText(b_, kNoteSlot1 + j);
      if (remark.size() > 3) Text({lineTop(j), OuterWest() + kRemarksInsetMm * m_}, kHorizontal, f, Rgb{}, remark);
      if (note.size() > 3) Text({lineTop(j), notesLeft}, kHorizontal, f, Rgb{}, note);
    }
    if (longest < 0.0) return;
    const std::string& heading = Gbk("附注:");
    Text({lineTop(0), notesLeft - (kNotesHeadingGapMm + Glyphs(heading, f)) * m_}, kHorizontal, f, Rgb{}, heading);
  }

  // Written top to bottom, one upright character under the other.
  void UnitName() {
    const std::string_view name = SheetText(b_, kUnitNameSlot);
    const TextFont f = FontOf(kUnitFont);
    if (name.empty() || !Visible(f.height)) return;
    std::vector<std::string_view> chars;
    for (size_t at = 0; at < name.size();) {
      const size_t n = GbkCharacterBytes(name, at);
      chars.push_back(name.substr(at, n));
      at += n;
    }
    const double pitch = f.height + kUnitNameLineGapMm;
    const double column = OuterWest() - (kUnitNameClearMm + f.width) * m_;  // centre of the column
    for (size_t k = 0; k < chars.size(); ++k) {
      const double top = OuterSouth() + (f.height + (chars.size() - 1 - k) * pitch) * m_;
      const double cw = Advance(chars[k], f) - f.gap;
      Text({top, column - cw / 2 * m_}, kHorizontal, f, Rgb{}, chars[k]);
    }
  }

  void ScaleText() {
    const TextFont f = FontOf(kScaleFont);
    if (!b_.showScale || !Visible(f.height)) return;
    const double s = b_.scale;
    const int denominator = s >= 2147483647.0 ? 2147483647 : static_cast<int>(s);
    const std::string text = Format("1:%d", denominator);
    Text({OuterSouth() - kScaleTextDropMm * m_, (y0_ + y1_) / 2 - Advance(text, f) / 2 * m_}, kHorizontal, f,
         Rgb{}, text);
  }

  // The adjoining-sheet table: the legend cells in reading order, three a row.
  void Legend() {
    int filled = 0, used = 0;
    for (int k = 0; k < 10; ++k) {
      if (!SlotText(b_.legendCells[k]).empty()) {
        ++filled;
        used = k + 1;
      }
    }
    if (filled <= 1) return;
    const TextFont f = FontOf(kLegendFont);
    const int rows = (used + kLegendColumns - 1) / kLegendColumns;
    const double bottom = OuterNorth() + kLegendAboveMm * m_, top = bottom + rows * kLegendRowMm * m_;
    const double left = OuterWest(), right = left + kLegendColumns * kLegendColumnMm * m_;
    Rectangle(bottom, left, top, right, kThinWeight);
    for (int r = 1; r < rows; ++r) Line({bottom + r * kLegendRowMm * m_, left}, {bottom + r * kLegendRowMm * m_, right});
    for (int c = 1; c < kLegendColumns; ++c)
      Line({bottom, left + c * kLegendColumnMm * m_}, {top, left + c * kLegendColumnMm * m_});
    if (!Visible(f.height)) return;
    for (int k = 0; k < used; ++k) {
      const std::string_view cell = SlotText(b_.legendCells[k]);
      if (cell.empty()) continue;
      const double rowTop = top - (k / kLegendColumns) * kLegendRowMm * m_;
      const double centre = left + (k % kLegendColumns + 0.5) * kLegendColumnMm * m_;
      Text({rowTop - (kLegendRowMm - f.height) / 2 * m_, centre - Advance(cell, f) / 2 * m_}, kHorizontal, f, Rgb{},
           cell);
    }
  }

  void SoftwareLine() {
    const TextFont f{face_, kCaptionHeightMm, kCaptionWidthMm};
    if (!Visible(f.height)) return;
    const std::string& caption = Gbk("《Quorvex》可视化平差软件");
    Text({OuterSouth() - kCaptionDropMm * m_, OuterEast() - Advance(caption, f) * m_}, kHorizontal, f, Rgb{}, caption);
  }

  EntityEmitter& out_;
  const SettingsBlock& b_;
  const DrawContext& context_;
  double m_;
  std::string face_;
  TextFont labelFont_;
  Rgb labelColour_;
  double gap_ = 10.0;
  double x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
  int rows_ = 0, cols_ = 0;
};

// True when the scale is one of the standard scales (within 0.05).
bool IsStandardScale(double scale) {
  return std::ranges::any_of(kStandardScales, [scale](double s) { return std::fabs(scale - s) <= 0.05; });
}

// Styles 1, 4 and 6 draw crosses at the grid intersections instead of lines.
bool DrawsCrosses(int gridStyle) { return gridStyle == 1 || gridStyle == 4 || gridStyle == 6; }

}  // namespace

FrameLayout FrameLayoutOf(int gridStyle, double scale) {
  if (gridStyle < 0 || gridStyle > 6) return FrameLayout::None;
  if (gridStyle == 2) return FrameLayout::Simple;
  if (!IsStandardScale(scale) || gridStyle <= 1) return FrameLayout::A;
  return gridStyle <= 4 ? FrameLayout::B : FrameLayout::Mining;
}

std::string GridLabelText(double coordinate, int labelUnit, bool shorten) {
  const double v = std::fabs(coordinate) * 0.001;
  std::string s;
  switch (labelUnit) {
    case 0: s = Format("%6.0f", v + 0.05); break;
    case 2: s = LastChars(Format("%10.2f", v + 100000.0005), 5); break;
    case 3: s = LastChars(Format("%11.3f", v + 100000.00005), 6); break;
    default: s = Format("%6.1f", v + 0.005); break;
  }
  s = TrimBlanks(s);  // the formats pad to their width; the padding is not drawn
  if (shorten) {
    const size_t point = s.find('.');
    if (point != std::string::npos && point > 2) s = s.substr(point - 2);
  }
  return s;
}

std::string CornerCoordinateText(double coordinate) {
  const std::string s = LastChars(TrimBlanks(Format("%11.3f", std::fabs(coordinate) * 0.001 + 100000.00005)), 6);
  return coordinate < 0 ? "-" + s : s;
}

void DrawFrameAndGrid(EntityEmitter& out, const SettingsBlock& block, const DrawContext& context) {
  const FrameLayout layout = FrameLayoutOf(block.gridStyle, block.scale);
  if (layout == FrameLayout::None) return;
  SheetPainter painter(out, block, context);
  if (!painter.Drawable()) return;
  painter.Draw(layout, DrawsCrosses(block.gridStyle));
}

}  // namespace qp

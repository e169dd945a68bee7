// Fitting the map sheet to a network: the sheet's corner and size are taken
// from the extent of the network's points and, when a scale is to be chosen,
// the scale is taken from the shortest side so that it is drawn 30 widths of
// the network's number font long. Around the points the sheet keeps 100 m of
// ground, or more where the point names and symbols reach further on paper at
// the sheet's scale, so that none of them is cut off by the frame. A sheet
// that would not fit on the largest paper of the resolution is drawn at the
// next larger standard scale at which it fits (the caller tells the user).
// The margins, the resolution and every other setting stay as they are.
#pragma once

#include <optional>
#include <string_view>

#include "common/settings_block.h"
#include "height/height_model.h"
#include "plane/plane_model.h"

namespace qp {

// How far beyond its point a point's name and symbol reach on paper, mm: the
// largest over the network's points in each direction.
struct LabelReach {
  double north = 0, south = 0, west = 0, east = 0;
};

// The points of a network on the ground and its shortest side.
struct NetworkExtent {
  double minX = 0, maxX = 0, minY = 0, maxY = 0;  // m, before the border
  std::optional<double> shortestSide;             // m; none without a side of positive length
  LabelReach reach;
};

// The reach of a name drawn horizontally in a font of `height` x `width` mm
// (characters of the width plus the gap), its top (height + 2) mm north of
// the point and centred on it by half its bytes x width, and of a point
// symbol reaching `symbol` mm every way.
LabelReach NameReach(std::string_view name, double height, double width, double symbol);
// The larger reach in each direction.
LabelReach Widest(const LabelReach& a, const LabelReach& b);

// What a fit did.
struct SheetFitResult {
  bool fitted = false;       // false for a network without points: nothing changed
  bool scaleRaised = false;  // the asked scale would have overrun the largest paper
  double scale = 0;          // the sheet's scale after the fit
  explicit operator bool() const { return fitted; }
};

// The scale for a shortest side s (m) and number font width w (mm): v = s x
// 33.333333333333336 / w rounded down by its size (above 1,000,000 to
// 1,000,000; above 100,000 to whole 10,000; above 10,000 to whole 1000; above
// 1000 to whole 100; above 100 to whole 10; else to a whole number, at least
// 1). A width that is not a positive number counts as 1 mm.
double ChooseSheetScale(double shortestSide, double numberFontWidth);

// Fits `settings` to the extent: with `chooseScale` and a shortest side the
// scale is chosen first, else the sheet's scale is kept; when the sheet and
// its margins would then exceed the largest paper, the next larger standard
// scale at which they fit is taken instead (up to kLargestSheetScale, beyond
// which the sheet is cut to the paper). The applied scale follows. Then the
// border (100 m, or the label reach at the scale where that is more), the
// corner (rounded to 100 m above 1:1000, to 10 m above 1:100, else to whole
// metres, toward zero), the previous corner and the mapping origin; the sheet
// size (at least 100 mm); the canvas, grid and edges. A damaged block is made
// safe first (ClampSheetSettings).
SheetFitResult FitSheetToExtent(SettingsBlock& settings, const NetworkExtent& extent, double numberFontWidth,
                                bool chooseScale);

// The two forms of the fitting, with the names and symbols of the diagram
// in the fonts of its style: the plane points and sides, the height diagram
// positions and lines. Points with coordinates that are not finite are left
// out, sides with an end that is not a point or of no length likewise.
// Nothing without a point.
SheetFitResult FitSheetToNetwork(SettingsBlock& settings, const PlaneModel& model, bool chooseScale);
SheetFitResult FitSheetToNetwork(SettingsBlock& settings, const HeightModel& model, bool chooseScale);

}  // namespace qp

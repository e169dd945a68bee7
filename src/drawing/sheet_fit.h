// Fitting the map sheet to a network: the sheet's corner and size are taken
// from the extent of the network's points (100 m of ground around them) and,
// when a scale is to be chosen, the scale is taken from the shortest side so
// that it is drawn 30 widths of the network's number font long. The margins,
// the resolution and every other setting stay as they are.
#pragma once

#include <optional>

#include "common/settings_block.h"
#include "height/height_network.h"
#include "plane/plane_network.h"

namespace qp {

// The points of a network on the ground and its shortest side.
struct NetworkExtent {
  double minX = 0, maxX = 0, minY = 0, maxY = 0;  // m, before the 100 m border
  std::optional<double> shortestSide;             // m; none without a side of positive length
};

// Plane form: the PointTable coordinates and the SideList. Height form: the
// diagram positions and the height-difference lines. Points with coordinates
// that are not finite are left out, sides with an end that is not a point or
// of no length likewise. Nothing without a point.
std::optional<NetworkExtent> PlaneNetworkExtent(const PlaneNetwork& net);
std::optional<NetworkExtent> HeightNetworkExtent(const HeightNetwork& net);

// The scale for a shortest side s (m) and number font width w (mm): v = s x
// 33.333333333333336 / w rounded down by its size (above 1,000,000 to
// 1,000,000; above 100,000 to whole 10,000; above 10,000 to whole 1000; above
// 1000 to whole 100; above 100 to whole 10; else to a whole number, at least
// 1). A width that is not a positive number counts as 1 mm.
double ChooseSheetScale(double shortestSide, double numberFontWidth);

// Fits `settings` to the extent: with `chooseScale` and a shortest side the
// scale is chosen first (the applied scale follows it); then the corner
// (rounded to 100 m above 1:1000, to 10 m above 1:100, else to whole metres,
// toward zero), the previous corner and the mapping origin; the sheet size
// (at least 100 mm, within the largest paper of the resolution); the canvas,
// grid and edges. A damaged block is made safe first (ClampSheetSettings).
void FitSheetToExtent(SettingsBlock& settings, const NetworkExtent& extent, double numberFontWidth,
                      bool chooseScale);

// The two forms of the fitting. False, with the settings unchanged, for a
// network without points.
bool FitSheetToNetwork(SettingsBlock& settings, const PlaneNetwork& net, bool chooseScale);
bool FitSheetToNetwork(SettingsBlock& settings, const HeightNetwork& net, bool chooseScale);

}  // namespace qp

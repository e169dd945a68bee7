// Closure checks of the raw-data report: triangle closures with the Ferrero
// estimate of the angle error, the search for traverses between known points
// with their azimuth and coordinate misclosures, and the gross-error search
// along each traverse.
//
// The traverses found are kept in the model (at most kMaxTraverses); the
// record keeps them in its traverse table.
#pragma once

#include <span>

#include "common/platform_services.h"
#include "common/report_file.h"
#include "plane/network_geometry.h"
#include "plane/plane_model.h"

namespace qp {

// Relative closure of a traverse of `length` metres with misclosures fx, fy
// in centimetres: length / linear misclosure, at most 5,000,000. A linear
// misclosure of 0.001 cm or less counts as closing perfectly (5,000,000).
double RelativeClosure(double length, double fx, double fy);

// The triangle section: every triple of points that observed each other,
// its closure and the Ferrero estimate. Writes nothing when there is none.
// Returns the number of triangles.
int TriangleClosures(const NetworkGeometry& geo, ReportFile& report, SectionNumber& section);

// Searches the traverses between known points, fills the model's traverses,
// tests each traverse for gross errors (closure mode 2: report lines and a
// beep) and writes the traverse section. `geo` is built on `model`.
void TraverseClosures(PlaneModel& model, const NetworkGeometry& geo, ReportFile& report, SectionNumber& section,
                      PlatformServices& platform);

// One traverse `path` = O, P, w1 .. wm, E, K (point indices): forward and
// backward runs, suspected angle and side, azimuth and coordinate closure,
// the traverse entry and, in closure mode 2, the gross-error lines. False
// when a leg cannot be computed or the traverses are full (nothing added).
bool TraverseGrossErrors(PlaneModel& model, const NetworkGeometry& geo, std::span<const int> path,
                         ReportFile& report, PlatformServices& platform, int& grossErrors);

}  // namespace qp

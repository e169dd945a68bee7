// Closure checks of the raw-data report: triangle closures with the Ferrero
// estimate of the angle error, the search for traverses between known points
// with their azimuth and coordinate misclosures, and the gross-error search
// along each traverse.
//
// The traverses found are kept in the model (at most kMaxTraverses); the
// record keeps them in its traverse table.
#pragma once

#include "common/report_file.h"
#include "plane/network_geometry.h"
#include "plane/plane_model.h"

namespace qp {

// The triangle section: every triple of points that observed each other,
// its closure and the Ferrero estimate. Writes nothing when there is none.
// Returns the number of triangles.
int TriangleClosures(const NetworkGeometry& geo, ReportFile& report, SectionNumber& section);

// Searches the traverses between known points, fills the model's traverses,
// tests each traverse for gross errors (closure mode 2: a report line for
// each) and writes the traverse section. `geo` is built on `model`. Returns
// the number of suspected gross errors, for the caller to beep once for each.
int TraverseClosures(PlaneModel& model, const NetworkGeometry& geo, ReportFile& report, SectionNumber& section);

}  // namespace qp

// Approximate heights of the network points, carried from the known heights
// along the height differences of the reduced distances, and the reduction of
// those distances to the projection plane and the Gauss plane.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "geodesy/angles.h"
#include "plane/plane_point_list.h"

namespace qp {

InputCheck ComputeApproximateHeights(PlaneModel& model) {
  if (!IsSlopeMode(model.calcMode)) return Accepted();
  std::vector<PlanePoint>& point = model.points;
  for (PlanePoint& p : point) p.h = 0.0;
  std::vector<PlaneDistance>& distances = model.distances;
  if (distances.empty()) return Accepted();

  const int n = model.pointCount();
  std::vector<uint8_t> marked(n, 0);
  int unmarked = n;
  for (const PlaneKnownHeight& known : model.knownHeights) {
    const int p = known.point;
    if (p < 0) continue;
    point[p].h = known.height;
    if (!marked[p]) --unmarked;
    marked[p] = 1;
  }

  // Each pass walks the distances in order and uses a height as soon as it is
  // known. Passes go on while they reach new points (as in the height
  // network), so that a long line typed against the direction of propagation
  // is still reached; a pass that reaches no new point ends them.
  while (unmarked > 0) {
    bool reached = false;
    for (const PlaneDistance& d : distances) {
      const int a = d.ends.from;
      const int b = d.ends.to;
      if (a < 0 || b < 0) continue;
      const double dh = d.heightDiff;
      int now = -1;
      if (!marked[a] && marked[b]) {
        point[a].h = point[b].h - dh;
        now = a;
      } else if (marked[a] && !marked[b]) {
        point[b].h = point[a].h + dh;
        now = b;
      } else {
        continue;
      }
      marked[now] = 1;
      --unmarked;
      reached = true;
    }
    if (!reached) break;
  }

  std::vector<std::string> notes;
  for (const PlaneDistance& d : distances) {
    if (d.ends.from >= 0 && !marked[d.ends.from]) {
      notes.push_back(FormatText("待定点[%s]高程不能计算出 !", d.ends.fromName.c_str()));
    }
    if (d.ends.to >= 0 && !marked[d.ends.to]) notes.push_back(FormatText("待定点[%s]高程不能计算出...", d.ends.toName.c_str()));
  }
  for (PlanePoint& p : point) {
    if (!std::isfinite(p.h)) p.h = 0.0;
  }
  if (!notes.empty()) return RefusedWith(Gbk("待定点高程不能完全计算出 !"), std::move(notes));

  if (model.calcMode == kSlopeReducedProjected || model.calcMode == kNationalSystem) {
    const double r = kEarthRadius;
    for (PlaneDistance& d : distances) {
      const int a = d.ends.from;
      const int b = d.ends.to;
      if (a < 0 || b < 0) continue;
      const double hm = (point[a].h + point[b].h) / 2.0;
      const double ym = (point[a].y + point[b].y) / 2.0 - model.yOffset;
      const double reduced =
          d.length * (1.0 - (hm - model.projectionHeight) / r) * (1.0 + ym * ym / (2.0 * r * r));
      if (std::isfinite(reduced)) d.length = reduced;
    }
  }
  return Accepted();
}

}  // namespace qp

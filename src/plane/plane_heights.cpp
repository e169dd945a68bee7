// Approximate heights of the network points, carried from the known heights
// along the height differences of the reduced distances, and the reduction of
// those distances to the projection plane and the Gauss plane.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "geodesy/angles.h"
#include "plane/network_geometry.h"
#include "plane/plane_input_reading.h"
#include "plane/plane_raw_report.h"

namespace qp {

bool ComputeApproximateHeights(PlaneNetwork& net, PlatformServices& platform) {
  if (!IsSlopeMode(net.calcMode)) return true;
  std::fill(std::begin(net.h), std::end(net.h), 0.0);
  const int count = ClampedCount(net.reducedCount, kMaxReducedDistances);
  if (count == 0) return true;

  const int n = ClampedCount(net.pointCount, kMaxPlanePoints);
  const PointNameIndex names(net);
  std::vector<uint8_t> marked(n, 0);
  int unmarked = n;
  const int heights = ClampedCount(net.knownHeightCount, kMaxSmallTable);
  for (int i = 0; i < heights; ++i) {
    const int p = names.Find(SlotText(net.knownHeightName[i]));
    if (p < 0) continue;
    net.h[p] = net.knownHeight[i];
    if (!marked[p]) --unmarked;
    marked[p] = 1;
  }

  std::vector<int> from(count), to(count);
  for (int i = 0; i < count; ++i) {
    from[i] = names.Find(SlotText(net.reducedFrom[i]));
    to[i] = names.Find(SlotText(net.reducedTo[i]));
  }
  // Each pass walks the distances in order and uses a height as soon as it is
  // known. Passes go on while they reach new points (as in the height
  // network), so that a long line typed against the direction of propagation
  // is still reached; a pass that reaches no new point ends them.
  while (unmarked > 0) {
    bool reached = false;
    for (int i = 0; i < count; ++i) {
      const int a = from[i];
      const int b = to[i];
      if (a < 0 || b < 0) continue;
      const double dh = net.reducedHeightDiff[i];
      int now = -1;
      if (!marked[a] && marked[b]) {
        net.h[a] = net.h[b] - dh;
        now = a;
      } else if (marked[a] && !marked[b]) {
        net.h[b] = net.h[a] + dh;
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

  bool complete = true;
  for (int i = 0; i < count; ++i) {
    if (from[i] >= 0 && !marked[from[i]]) {
      platform.ShowMessage(FormatText("待定点[%s]高程不能计算出 !", std::string(SlotText(net.reducedFrom[i])).c_str()));
      complete = false;
    }
    if (to[i] >= 0 && !marked[to[i]]) {
      platform.ShowMessage(FormatText("待定点[%s]高程不能计算出...", std::string(SlotText(net.reducedTo[i])).c_str()));
      complete = false;
    }
  }
  for (int p = 0; p < n; ++p) {
    if (!std::isfinite(net.h[p])) net.h[p] = 0.0;
  }
  if (!complete) {
    platform.ShowMessage(Gbk("待定点高程不能完全计算出 !"));
    return false;
  }

  if (net.calcMode == kSlopeReducedProjected || net.calcMode == kNationalSystem) {
    const double r = kEarthRadius;
    for (int i = 0; i < count; ++i) {
      const int a = from[i];
      const int b = to[i];
      if (a < 0 || b < 0) continue;
      const double hm = (net.h[a] + net.h[b]) / 2.0;
      const double ym = (net.y[a] + net.y[b]) / 2.0 - net.yOffset;
      const double reduced =
          net.reducedLength[i] * (1.0 - (hm - net.projectionHeight) / r) * (1.0 + ym * ym / (2.0 * r * r));
      if (std::isfinite(reduced)) net.reducedLength[i] = reduced;
    }
  }
  return true;
}

}  // namespace qp

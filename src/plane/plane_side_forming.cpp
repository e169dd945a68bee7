// The reduced distances: the horizontal lengths the computation uses, formed
// from the distance lines. Slope distances are reduced to the horizontal with
// earth curvature and refraction, and a distance measured from both ends is
// taken as the mean of the two reductions.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "common/format.h"
#include "common/name_slot.h"
#include "common/rejected_entry.h"
#include "geodesy/angles.h"
#include "plane/plane_input_reading.h"

namespace qp {
namespace {

using NamePair = std::pair<std::string, std::string>;

// Lines measured from one point to another: how many, and the last of them.
struct LineGroup {
  int count = 0;
  int last = -1;
};

void StoreReducedDistance(PlaneNetwork& net, const char (&from)[kNameSlotSize], const char (&to)[kNameSlotSize],
                          double length, double heightDiff) {
  const int k = net.reducedCount++;
  std::memcpy(net.reducedFrom[k], from, kNameSlotSize);
  std::memcpy(net.reducedTo[k], to, kNameSlotSize);
  net.reducedLength[k] = length;
  net.reducedHeightDiff[k] = heightDiff;
}

std::optional<SlopeReduction> ReduceLine(const PlaneNetwork& net, int line) {
  return ReduceSlopeDistance(net.lineDistance[line], net.verticalAngle[line], net.verticalAngleKind, net.refraction,
                             net.instrumentHeight[line], net.targetHeight[line]);
}

InputCheck RefuseLine(int line, PlatformServices& platform) {
  return RejectEntry(platform, kDistanceLinesBox, line, FormatText("边长观测值第[%d]行高差不正确!", line));
}

}  // namespace

std::optional<SlopeReduction> ReduceSlopeDistance(double slope, double angleDms, int angleKind, double refraction,
                                                  double instrumentHeight, double targetHeight) {
  double alpha = DmsToRadians(angleDms);
  if (angleKind == 1) alpha = alpha > kPi ? alpha - 3.0 * kPi / 2.0 : kPi / 2.0 - alpha;
  const double c = (1.0 - refraction) / (2.0 * kEarthRadius);
  const double cosAlpha = std::cos(alpha);
  const double h = slope * std::sin(alpha) + c * slope * slope * cosAlpha * cosAlpha;
  const double squared = slope * slope - h * h;
  SlopeReduction r;
  r.length = squared > 0.0 ? std::sqrt(squared) : 0.0;
  r.heightDiff = h + instrumentHeight - targetHeight;
  if (!std::isfinite(h) || !std::isfinite(r.length) || !std::isfinite(r.heightDiff)) return std::nullopt;
  return r;
}

InputCheck FormReducedDistances(PlaneNetwork& net, PlatformServices& platform) {
  net.reducedCount = 0;
  const int limit = PlaneTableLimit(net, kLimitDirections, kMaxReducedDistances);
  const int lines = std::clamp(static_cast<int>(net.distanceLineCount), 0, kMaxDistanceLines);

  if (!IsSlopeMode(net.calcMode)) {
    for (int i = 0; i < lines && net.reducedCount < limit; ++i) {
      StoreReducedDistance(net, net.lineFrom[i], net.lineTo[i], net.lineDistance[i], 0.0);
    }
    return Accepted();
  }

  std::map<NamePair, LineGroup> groups;
  for (int i = 0; i < lines; ++i) {
    LineGroup& g = groups[{std::string(SlotText(net.lineFrom[i])), std::string(SlotText(net.lineTo[i]))}];
    ++g.count;
    g.last = i;
  }

  std::set<NamePair> formed;
  for (int i = 0; i < lines && net.reducedCount < limit; ++i) {
    NamePair forward{std::string(SlotText(net.lineFrom[i])), std::string(SlotText(net.lineTo[i]))};
    NamePair backward{forward.second, forward.first};
    // A side already formed takes no further line, in either direction.
    if (formed.count(forward) != 0 || formed.count(backward) != 0) continue;

    const auto reverse = groups.find(backward);
    const LineGroup g = reverse == groups.end() ? LineGroup{} : reverse->second;
    if (g.count >= 2) {
      return Told(platform, RefusedWith(FormatText("[%s]-[%s]边长观测值重复输入2次以上 !", forward.first.c_str(),
                                                   forward.second.c_str())));
    }
    const auto here = ReduceLine(net, i);
    if (!here) return RefuseLine(i, platform);
    if (g.count == 0) {
      StoreReducedDistance(net, net.lineFrom[i], net.lineTo[i], here->length, here->heightDiff);
    } else {
      const auto there = ReduceLine(net, g.last);
      if (!there) return RefuseLine(g.last, platform);
      StoreReducedDistance(net, net.lineFrom[i], net.lineTo[i], (here->length + there->length) / 2.0,
                           (here->heightDiff - there->heightDiff) / 2.0);
    }
    formed.insert(std::move(forward));
  }
  return Accepted();
}

}  // namespace qp

// The side list: every pair of points joined by an observation, once, with
// the kind of line the network diagram draws for it; and the check of the
// point pairs whose relative precision is wanted.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/format.h"
#include "common/name_slot.h"
#include "plane/network_geometry.h"
#include "plane/plane_raw_report.h"

namespace qp {
namespace {

uint64_t PairKey(int a, int b) {
  const uint32_t lo = static_cast<uint32_t>(std::min(a, b));
  const uint32_t hi = static_cast<uint32_t>(std::max(a, b));
  return (static_cast<uint64_t>(lo) << 32) | hi;
}

struct Side {
  int from;
  int to;
  uint8_t kind;
  bool byDirections;  // first found among the directions
  bool atFrom;        // directions observed at the from point
  bool atTo;          // directions observed at the to point
};

}  // namespace

bool BuildSideList(PlaneNetwork& net, PlatformServices& platform) {
  const PointNameIndex names(net);
  const int n = ClampedCount(net.pointCount, kMaxPlanePoints);
  const int known = std::min(ClampedCount(net.knownCount, kMaxPlanePoints), n);
  std::vector<Side> sides;
  std::unordered_map<uint64_t, int> index;  // pair -> entry in `sides`

  // Adds the pair from-to unless it is there; returns its entry, -1 for a
  // name that is no network point.
  auto add = [&](const NameSlot& fromName, const NameSlot& toName, uint8_t kind, bool byDirections) {
    const int a = names.Find(SlotText(fromName));
    const int b = names.Find(SlotText(toName));
    if (a < 0 || b < 0 || a == b) return -1;
    const auto [it, added] = index.emplace(PairKey(a, b), static_cast<int>(sides.size()));
    if (added) sides.push_back({a, b, kind, byDirections, false, false});
    return it->second;
  };
  auto addTable = [&](int32_t count, const NameSlot* from, const NameSlot* to, uint8_t kind) {
    count = ClampedCount(count, kMaxSmallTable);
    for (int i = 0; i < count; ++i) add(from[i], to[i], kind, false);
  };

  addTable(net.fixedDistanceCount, net.fixedDistanceFrom, net.fixedDistanceTo, kSideFixed);
  const int fixedAzimuths = ClampedCount(net.fixedAzimuthCount, kMaxSmallTable);
  for (int i = 0; i < fixedAzimuths; ++i) {
    const int e = add(net.fixedAzimuthFrom[i], net.fixedAzimuthTo[i], kSideFixedAzimuth, false);
    if (e >= 0 && sides[e].kind == kSideFixed) sides[e].kind = kSideFixedWithAzimuth;
  }
  addTable(net.weightedDistanceCount, net.weightedDistanceFrom, net.weightedDistanceTo, kSideObserved);
  addTable(net.weightedAzimuthCount, net.weightedAzimuthFrom, net.weightedAzimuthTo, kSideObserved);
  const int reduced = ClampedCount(net.reducedCount, kMaxReducedDistances);
  for (int i = 0; i < reduced; ++i) add(net.reducedFrom[i], net.reducedTo[i], kSideObserved, false);

  // Directions, set by set; a side found here remembers from which of its
  // ends it was observed.
  if (ClampedCount(net.directionCount, kMaxDirections) > 0) {
    for (int s = 0; s < n; ++s) {
      const int begin = net.setStart[s];
      const int end = net.setStart[s + 1];
      if (begin < 0 || end > kMaxDirections || end - begin < 2) continue;
      for (int d = begin; d < end; ++d) {
        const int e = add(net.directionStation[d], net.directionTarget[d], kSideFromStation, true);
        if (e < 0 || !sides[e].byDirections) continue;
        (sides[e].from == s ? sides[e].atFrom : sides[e].atTo) = true;
      }
    }
  }
  for (Side& side : sides) {
    if (!side.byDirections) continue;
    const bool betweenKnown = side.from < known && side.to < known;
    if (side.atFrom && side.atTo) {
      side.kind = betweenKnown ? kSideFixed : kSideObserved;
    } else if (side.atFrom) {
      side.kind = betweenKnown ? kSideKnownFromStation : kSideFromStation;
    } else {
      side.kind = betweenKnown ? kSideKnownToStation : kSideToStation;
    }
  }

  const int stored = std::min(static_cast<int>(sides.size()), kMaxSides);
  for (int i = 0; i < stored; ++i) {
    std::memcpy(net.sideFrom[i], net.pointName[sides[i].from], kNameSlotSize);
    std::memcpy(net.sideTo[i], net.pointName[sides[i].to], kNameSlotSize);
    net.sideSymbol[i] = sides[i].kind;
  }
  net.sideCount = stored;

  // Relative precision is wanted between two new points that no observation
  // joins. A name that is no point of the network (most likely mistyped)
  // would have no precision at all.
  const int pairs = ClampedCount(net.precisionPairCount, kMaxSmallTable);
  for (int i = 0; i < pairs; ++i) {
    const int a = names.Find(SlotText(net.pairFirst[i]));
    const int b = names.Find(SlotText(net.pairSecond[i]));
    if (a < 0 || b < 0) {
      const std::string name(SlotText(a < 0 ? net.pairFirst[i] : net.pairSecond[i]));
      platform.ShowMessage(FormatText("评定精度端点[%d]的点名[%s]不是控制网中的点 !", i + 1, name.c_str()));
      return false;
    }
    if (a < known || b < known) {
      platform.ShowMessage(FormatText("评定精度端点[%d]不能是已知点 !", i + 1));
      return false;
    }
    if (index.count(PairKey(a, b)) > 0) {
      platform.ShowMessage(FormatText("评定精度两端点[%d]必须是不相连接的两个点 !", i + 1));
      return false;
    }
  }
  return true;
}

}  // namespace qp

// The side list: every pair of points joined by an observation, once, with
// the kind of line the network diagram draws for it; and the check of the
// point pairs whose relative precision is wanted.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/format.h"
#include "plane/plane_point_list.h"

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

InputCheck BuildSideList(PlaneModel& model) {
  const int known = model.knownCount;
  std::vector<Side> sides;
  std::unordered_map<uint64_t, int> index;  // pair -> entry in `sides`

  // Adds the pair from-to unless it is there; returns its entry, -1 for a
  // name that is no network point.
  auto add = [&](int a, int b, uint8_t kind, bool byDirections) {
    if (a < 0 || b < 0 || a == b) return -1;
    const auto [it, added] = index.emplace(PairKey(a, b), static_cast<int>(sides.size()));
    if (added) sides.push_back({a, b, kind, byDirections, false, false});
    return it->second;
  };
  auto addTable = [&](const std::vector<PlaneMeasure>& table, uint8_t kind) {
    for (const PlaneMeasure& m : table) add(m.ends.from, m.ends.to, kind, false);
  };

  addTable(model.fixedSides, kSideFixed);
  for (const PlaneMeasure& m : model.fixedAzimuths) {
    const int e = add(m.ends.from, m.ends.to, kSideFixedAzimuth, false);
    if (e >= 0 && sides[e].kind == kSideFixed) sides[e].kind = kSideFixedWithAzimuth;
  }
  addTable(model.weightedSides, kSideObserved);
  addTable(model.weightedAzimuths, kSideObserved);
  for (const PlaneDistance& d : model.distances) add(d.ends.from, d.ends.to, kSideObserved, false);

  // Directions, set by set; a side found here remembers from which of its
  // ends it was observed.
  if (model.directionCount > 0) {
    for (const PlaneDirectionSet& set : model.directionSets) {
      for (int d = set.begin; d < set.end; ++d) {
        const PlaneDirection& direction = model.directions[d];
        const int e = add(direction.station, direction.target, kSideFromStation, true);
        if (e < 0 || !sides[e].byDirections) continue;
        (sides[e].from == set.station ? sides[e].atFrom : sides[e].atTo) = true;
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
  model.sides.assign(stored, PlaneSide{});
  for (int i = 0; i < stored; ++i) {
    const Side& side = sides[i];
    model.sides[i].ends = {side.from, side.to, model.points[side.from].name, model.points[side.to].name};
    model.sides[i].symbol = side.kind;
  }

  // Relative precision is wanted between two new points that no observation
  // joins. A name that is no point of the network (most likely mistyped)
  // would have no precision at all.
  for (size_t i = 0; i < model.pairs.size(); ++i) {
    const PlaneEnds& ends = model.pairs[i].ends;
    const int pair = static_cast<int>(i) + 1;
    if (!ends.Resolved()) {
      const std::string& name = ends.from < 0 ? ends.fromName : ends.toName;
      return RefusedWith(FormatText("评定精度端点[%d]的点名[%s]不是控制网中的点 !", pair, name.c_str()));
    }
    if (ends.from < known || ends.to < known) return RefusedWith(FormatText("评定精度端点[%d]不能是已知点 !", pair));
    if (index.count(PairKey(ends.from, ends.to)) > 0) {
      return RefusedWith(FormatText("评定精度两端点[%d]必须是不相连接的两个点 !", pair));
    }
  }
  return Accepted();
}

}  // namespace qp

#include "plane/plane_point_list.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "plane/approximate_coordinates.h"
#include "plane/network_geometry.h"
#include "plane/plane_model_record.h"

namespace qp {
namespace {

using Slot = std::array<char, kNameSlotSize>;

Slot CopySlot(const NameSlot& slot) {
  Slot s;
  std::memcpy(s.data(), slot, kNameSlotSize);
  return s;
}

void StoreSlot(NameSlot& slot, const Slot& s) { std::memcpy(slot, s.data(), kNameSlotSize); }

std::string_view SlotView(const Slot& s) { return std::string_view(s.data(), strnlen(s.data(), s.size())); }

// The arrangement a selection sort leaves behind: for each position in turn
// the first entry with the smallest key among the rest is swapped into it.
// Returns, per final position, the index of the entry that ends there. A
// tournament tree over the positions yields the same arrangement, equal keys
// included, in O(m log m).
template <class Key>
std::vector<int> SelectionSortOrder(const std::vector<Key>& keys) {
  const int m = static_cast<int>(keys.size());
  std::vector<int> at(m);
  std::iota(at.begin(), at.end(), 0);
  if (m < 2) return at;
  int leaves = 1;
  while (leaves < m) leaves <<= 1;
  // Each node holds the leftmost position with the smallest key in its range
  // (-1 when the range holds no remaining position).
  std::vector<int> tree(2 * static_cast<size_t>(leaves), -1);
  auto better = [&](int left, int right) {
    if (left < 0) return right;
    if (right < 0) return left;
    return keys[at[right]] < keys[at[left]] ? right : left;
  };
  auto update = [&](int pos) {
    for (int node = (leaves + pos) / 2; node >= 1; node /= 2) tree[node] = better(tree[2 * node], tree[2 * node + 1]);
  };
  for (int pos = 0; pos < m; ++pos) tree[leaves + pos] = pos;
  for (int node = leaves - 1; node >= 1; --node) tree[node] = better(tree[2 * node], tree[2 * node + 1]);
  for (int k = 0; k + 1 < m; ++k) {
    const int smallest = tree[1];
    std::swap(at[k], at[smallest]);
    tree[leaves + k] = -1;
    update(k);
    if (smallest != k) update(smallest);
  }
  return at;
}

int GivenPointCount(const PlaneNetwork& net) {
  const int known = ClampedCount(net.knownCount, kMaxPlanePoints);
  return known + ClampedCount(net.approxCount, kMaxPlanePoints - known);
}

}  // namespace

bool CollectNetworkPoints(PlaneNetwork& net, PlatformServices& platform) {
  const int g = GivenPointCount(net);
  const int directionCount = ClampedCount(net.directionCount, kMaxDirections);
  const int reducedCount = ClampedCount(net.reducedCount, kMaxReducedDistances);
  if (g < 2 || (directionCount == 0 && reducedCount == 0)) {
    platform.ShowMessage(Gbk("基本计算条件不满足 !"));
    return false;
  }

  // The given points, then every new name in the order the observations
  // mention them. Both names of an observation are looked up before either
  // is added.
  std::unordered_set<std::string> known;
  known.reserve(2 * kMaxPlanePoints);
  for (int i = 0; i < g; ++i) known.emplace(SlotText(net.pointName[i]));
  int n = g;
  bool full = false;
  auto append = [&](std::string_view name) {
    if (n == kMaxPlanePoints) {
      full = true;
      return;
    }
    SetSlotText(net.pointName[n++], name);
  };
  auto observe = [&](const NameSlot& fromSlot, const NameSlot& toSlot) {
    const std::string_view from = SlotText(fromSlot);
    const std::string_view to = SlotText(toSlot);
    const bool newFrom = !known.count(std::string(from));
    const bool newTo = !known.count(std::string(to));
    if (newFrom) append(from);
    if (newTo) append(to);
    if (newFrom) known.emplace(from);
    if (newTo) known.emplace(to);
  };
  auto observeTable = [&](int32_t count, int capacity, const NameSlot* from, const NameSlot* to) {
    count = ClampedCount(count, capacity);
    for (int e = 0; e < count && !full; ++e) observe(from[e], to[e]);
  };
  observeTable(directionCount, kMaxDirections, net.directionStation, net.directionTarget);
  observeTable(net.fixedAzimuthCount, kMaxSmallTable, net.fixedAzimuthFrom, net.fixedAzimuthTo);
  observeTable(net.weightedAzimuthCount, kMaxSmallTable, net.weightedAzimuthFrom, net.weightedAzimuthTo);
  observeTable(reducedCount, kMaxReducedDistances, net.reducedFrom, net.reducedTo);
  observeTable(net.fixedDistanceCount, kMaxSmallTable, net.fixedDistanceFrom, net.fixedDistanceTo);
  observeTable(net.weightedDistanceCount, kMaxSmallTable, net.weightedDistanceFrom, net.weightedDistanceTo);
  if (full) {
    platform.ShowMessage(FormatText("平面网点数超过%d个 !", kMaxPlanePoints));
    return false;
  }

  net.pointCount = n;
  net.unknownPointCount = n - net.knownCount;
  OrderUnknownPoints(net);

  net.nameCount = n;
  for (int i = 0; i < n; ++i) std::memcpy(net.nameList[i], net.pointName[i], kNameSlotSize);

  if (directionCount > 0 && !BuildDirectionSets(net, platform)) return false;
  if (n == g) return true;  // every point has given coordinates
  PlaneModel model = PlaneModelFromRecord(net);
  const bool complete = ComputeApproxCoordinates(model, platform);
  PutPlaneCoordinates(model, net);
  return complete;
}

void OrderUnknownPoints(PlaneNetwork& net) {
  const int n = ClampedCount(net.pointCount, kMaxPlanePoints);
  const int g = std::min(n, GivenPointCount(net));
  if (g >= n) return;
  PlaneModel model = PlaneModelOfEnteredDirections(net);
  const NetworkGeometry geo(model, NetworkGeometry::DirectionSource::kLines);
  const bool hasDirections = model.directionCount > 0;
  const bool hasDistances = !model.distances.empty();

  std::vector<int> rank(n, -1);
  for (int i = 0; i < g; ++i) rank[i] = i;
  int nextRank = g;
  int unranked = n - g;
  // Unranked points among each point's neighbours: a pair (a, b) can rank a
  // point only from among the neighbours of a or b (with one exception below).
  std::vector<int> unrankedNear(n, 0);
  for (int q = g; q < n; ++q) {
    for (int y : geo.Neighbours(q)) ++unrankedNear[y];
  }
  auto giveRank = [&](int q) {
    rank[q] = nextRank++;
    --unranked;
    for (int y : geo.Neighbours(q)) --unrankedNear[y];
  };

  // Direction-line counts and distance joins of a and of b, one slot per point.
  std::vector<int> outA(n, 0), inA(n, 0), outB(n, 0), inB(n, 0);
  std::vector<uint8_t> distA(n, 0), distB(n, 0);
  auto fill = [&](int p, std::vector<int>& out, std::vector<int>& in, std::vector<uint8_t>& dist, bool set) {
    for (const auto& l : geo.DirectionTargets(p)) out[l.point] = set ? l.count : 0;
    for (const auto& l : geo.DirectionStations(p)) in[l.point] = set ? l.count : 0;
    for (int k : geo.DistanceNeighbours(p)) dist[k] = set ? 1 : 0;
  };

  for (int pass = 1; pass <= 24 && unranked > 0; ++pass) {
    const int unrankedBefore = unranked;
    const bool byAngleAndDistance = hasDirections && hasDistances;
    const bool byTwoAngles = pass > 3 && hasDirections;
    const bool byTwoDistances = pass > 6 && hasDistances;

    for (int a = 0; a < n && unranked > 0; ++a) {
      if (rank[a] < 0) continue;
      fill(a, outA, inA, distA, true);
      // A partner b that shares no direction line with a and no neighbour
      // with any unranked point ranks exactly the same points as any other
      // such partner: only the first of them needs a look.
      bool plainPartnerSeen = false;
      for (int b = 0; b < n && unranked > 0; ++b) {
        if (rank[b] < 0) continue;
        const bool linked = b == a || outA[b] > 0 || inA[b] > 0;
        // a->b and b->a each observed twice make HasObservedAngle(a; b, q)
        // and HasObservedAngle(b; q, a) hold for every q neither observed.
        const bool everyPoint = byTwoAngles && outA[b] == 2 && inA[b] == 2;
        if (!linked && unrankedNear[b] == 0) {
          if (plainPartnerSeen || unrankedNear[a] == 0) continue;
          plainPartnerSeen = true;
        } else if (!everyPoint && unrankedNear[a] == 0 && unrankedNear[b] == 0) {
          continue;
        }
        fill(b, outB, inB, distB, true);
        auto ranks = [&](int q) {
          const bool angleAtA = outA[b] + outA[q] == 2;  // HasObservedAngle(a; b, q)
          const bool angleAtB = outB[q] + outB[a] == 2;  // HasObservedAngle(b; q, a)
          const bool angleAtQ = inA[q] + inB[q] == 2;    // HasObservedAngle(q; a, b)
          if (byAngleAndDistance && ((angleAtA && distA[q]) || (angleAtB && distB[q]))) return true;
          if (byTwoAngles && int(angleAtA) + int(angleAtB) + int(angleAtQ) >= 2) return true;
          return byTwoDistances && distA[q] && distB[q];
        };
        if (everyPoint) {
          for (int q = 0; q < n && unranked > 0; ++q) {
            if (rank[q] < 0 && ranks(q)) giveRank(q);
          }
        } else {
          // Neighbours of a and of b, merged in table order.
          const auto na = geo.Neighbours(a);
          const auto nb = geo.Neighbours(b);
          size_t ia = 0, ib = 0;
          while ((ia < na.size() || ib < nb.size()) && unranked > 0) {
            int q;
            if (ib == nb.size() || (ia < na.size() && na[ia] < nb[ib])) {
              q = na[ia++];
            } else if (ia == na.size() || nb[ib] < na[ia]) {
              q = nb[ib++];
            } else {
              q = na[ia++];
              ++ib;
            }
            if (rank[q] < 0 && ranks(q)) giveRank(q);
          }
        }
        fill(b, outB, inB, distB, false);
      }
      fill(a, outA, inA, distA, false);
    }
    // From pass 7 on every rule is in force: a pass that ranks nothing leaves
    // nothing for the next one.
    if (pass >= 7 && unranked == unrankedBefore) break;
  }
  for (int q = 0; q < n; ++q) {
    if (rank[q] < 0) rank[q] = nextRank++;
  }

  std::vector<Slot> names(n);
  for (int p = 0; p < n; ++p) names[p] = CopySlot(net.pointName[p]);
  for (int p = 0; p < n; ++p) StoreSlot(net.pointName[rank[p]], names[p]);
}

bool BuildDirectionSets(PlaneNetwork& net, PlatformServices& platform) {
  const int n = ClampedCount(net.pointCount, kMaxPlanePoints);
  const int directionCount = ClampedCount(net.directionCount, kMaxDirections);
  const PlaneModel model = PlaneModelOfEnteredDirections(net);

  struct Entry {
    double value;
    Slot station;
    Slot target;
    int key;  // PointIndex of the station
    bool placeholder;
  };
  std::vector<Entry> entries;
  entries.reserve(static_cast<size_t>(directionCount) + n);
  std::vector<uint8_t> isStation(n, 0);
  for (int e = 0; e < directionCount; ++e) {
    const int key = model.directions[e].station;
    entries.push_back({net.direction[e], CopySlot(net.directionStation[e]), CopySlot(net.directionTarget[e]), key,
                       false});
    if (key >= 0) isStation[key] = 1;
  }
  // A point that observed nothing gets a placeholder set: one zero direction
  // to point 0.
  int nonStations = 0;
  for (int p = 0; p < n; ++p) {
    if (isStation[p]) continue;
    entries.push_back(
        {0.0, CopySlot(net.pointName[p]), CopySlot(net.pointName[0]), model.Find(model.points[p].name), true});
    ++nonStations;
  }
  net.nonStationCount = nonStations;

  // Group by station in point order.
  {
    std::vector<int> keys(entries.size());
    for (size_t e = 0; e < entries.size(); ++e) keys[e] = entries[e].key;
    const std::vector<int> order = SelectionSortOrder(keys);
    std::vector<Entry> sorted;
    sorted.reserve(entries.size());
    for (int e : order) sorted.push_back(entries[e]);
    entries = std::move(sorted);
  }
  const int total = static_cast<int>(entries.size());
  std::vector<int> first(n, -1), last(n, -1);
  for (int pos = 0; pos < total; ++pos) {
    const int key = entries[pos].key;
    if (key < 0 || key >= n) continue;
    if (first[key] < 0) first[key] = pos;
    last[key] = pos;
  }

  // Each set ascending by direction, starting with its zero direction.
  for (int p = 0; p < n; ++p) {
    if (first[p] < 0 || last[p] - first[p] + 1 < 2) continue;
    std::vector<double> values;
    for (int pos = first[p]; pos <= last[p]; ++pos) values.push_back(entries[pos].value);
    const std::vector<int> order = SelectionSortOrder(values);
    std::vector<Entry> set;
    for (int e : order) set.push_back(entries[first[p] + e]);
    std::copy(set.begin(), set.end(), entries.begin() + first[p]);
    const Entry& head = entries[first[p]];
    if (head.value > 1e-8) {
      platform.ShowMessage(FormatText("方向观测值错误:%s,%s,%.6f", std::string(SlotView(head.station)).c_str(),
                                      std::string(SlotView(head.target)).c_str(), head.value));
      return false;
    }
  }

  // A set begins at each zero direction. Every set must hold exactly one, at
  // its head (two zero directions in one set would shift every later set),
  // and every real set must keep its directions.
  bool consistent = true;
  int zeros = 0;
  for (int pos = 0; pos < total; ++pos) {
    if (entries[pos].value < 1e-6) {
      if (zeros >= n || first[zeros] != pos) consistent = false;
      ++zeros;
    }
  }
  if (zeros != n) consistent = false;
  int copied = 0;
  if (consistent) {
    for (int p = 0; p < n; ++p) {
      const int size = last[p] - first[p] + 1;
      if (size >= 2) copied += size;
    }
  }
  if (!consistent || copied != directionCount) {
    platform.ShowMessage(Gbk("方向观测值输入错误 !!!"));
    return false;
  }

  // The working table. When the placeholders do not fit beside the real
  // directions they are left out: those points keep empty sets.
  const bool keepPlaceholders = total <= kMaxDirections;
  int stored = 0;
  for (int p = 0; p < n; ++p) {
    net.setStart[p] = stored;
    for (int pos = first[p]; pos <= last[p]; ++pos) {
      const Entry& e = entries[pos];
      if (e.placeholder && !keepPlaceholders) continue;
      net.direction[stored] = e.value;
      StoreSlot(net.directionStation[stored], e.station);
      StoreSlot(net.directionTarget[stored], e.target);
      ++stored;
    }
  }
  net.setStart[n] = stored;

  // DirectionInput: the real sets in point order.
  int copy = 0;
  for (int p = 0; p < n; ++p) {
    if (last[p] - first[p] + 1 < 2) continue;
    for (int pos = first[p]; pos <= last[p]; ++pos) {
      const Entry& e = entries[pos];
      net.inputDirection[copy] = e.value;
      StoreSlot(net.inputStation[copy], e.station);
      StoreSlot(net.inputTarget[copy], e.target);
      ++copy;
    }
  }
  return true;
}

void ComputeUnknownsAndRedundancy(PlaneNetwork& net) {
  const int u = net.pointCount - net.knownCount;
  net.unknownPointCount = u;
  net.unknownCount = 2 * u + net.fixedAzimuthCount + net.fixedDistanceCount;
  const int stations = net.directionCount > 0 ? net.pointCount - net.nonStationCount : 0;
  net.redundancy = net.directionCount + net.reducedCount + net.fixedAzimuthCount + net.weightedAzimuthCount +
                   net.fixedDistanceCount + net.weightedDistanceCount - 2 * u - stations;
}

bool PrepareComputableNetwork(PlaneNetwork& net, PlatformServices& platform) {
  if (!CollectNetworkPoints(net, platform)) return false;
  ComputeUnknownsAndRedundancy(net);
  // More than two points, at least one known point, no negative redundancy.
  if (!(net.pointCount > 2 && net.knownCount > 0 && net.redundancy >= 0)) {
    platform.ShowMessage(Gbk("平面网不满足平差或精度估算条件 !!!"));
    return false;
  }
  return true;
}

}  // namespace qp

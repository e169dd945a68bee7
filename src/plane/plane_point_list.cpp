#include "plane/plane_point_list.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "plane/approximate_coordinates.h"
#include "plane/network_geometry.h"

namespace qp {
namespace {

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

}  // namespace

InputCheck CollectNetworkPoints(PlaneModel& model, const TurnAnswerer& turn) {
  const int g = model.GivenCount();
  if (g < 2 || (model.directionCount == 0 && model.distances.empty())) return RefusedWith(Gbk("基本计算条件不满足 !"));

  // The given points, then every new name in the order the observations
  // mention them. Both names of an observation are looked up before either
  // is added.
  model.points.resize(g);
  std::unordered_set<std::string> known;
  known.reserve(2 * kMaxPlanePoints);
  for (const PlanePoint& p : model.points) known.insert(p.name);
  auto full = [&] { return model.pointCount() > kMaxPlanePoints; };
  auto observe = [&](const PlaneEnds& ends) {
    if (full()) return;
    const bool newFrom = !known.count(ends.fromName);
    const bool newTo = !known.count(ends.toName);
    if (newFrom) model.points.emplace_back().name = ends.fromName;
    if (newTo) model.points.emplace_back().name = ends.toName;
    if (newFrom) known.insert(ends.fromName);
    if (newTo) known.insert(ends.toName);
  };
  for (const auto* list : {&model.enteredDirections, &model.fixedAzimuths, &model.weightedAzimuths}) {
    for (const PlaneMeasure& m : *list) observe(m.ends);
  }
  for (const PlaneDistance& d : model.distances) observe(d.ends);
  for (const auto* list : {&model.fixedSides, &model.weightedSides}) {
    for (const PlaneMeasure& m : *list) observe(m.ends);
  }
  if (full()) return RefusedWith(FormatText("平面网点数超过%d个 !", kMaxPlanePoints));

  model.ResolveNames();
  OrderUnknownPoints(model);
  if (model.directionCount > 0) {
    if (InputCheck sets = BuildDirectionSets(model); !sets) return sets;
  }
  return model.pointCount() == g ? Accepted() : ComputeApproxCoordinates(model, turn);
}

void OrderUnknownPoints(PlaneModel& model) {
  const int n = model.pointCount();
  const int g = model.GivenCount();
  if (g >= n) return;
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
          ForNeighboursOfPair(geo, a, b, [&] { return unranked > 0; }, [&](int q) {
            if (rank[q] < 0 && ranks(q)) giveRank(q);
          });
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

  std::vector<PlanePoint> ordered(n);
  for (int p = 0; p < n; ++p) ordered[rank[p]] = std::move(model.points[p]);
  model.points = std::move(ordered);
  model.ResolveNames();
}

InputCheck BuildDirectionSets(PlaneModel& model) {
  const int n = model.pointCount();
  const std::vector<PlaneMeasure>& lines = model.enteredDirections;

  struct Entry {
    double value;
    int key;   // the station's index
    int line;  // the entry in the directions as entered, -1 for a placeholder
  };
  std::vector<Entry> entries;
  entries.reserve(lines.size() + n);
  std::vector<uint8_t> isStation(n, 0);
  for (size_t e = 0; e < lines.size(); ++e) {
    const int key = lines[e].ends.from;
    entries.push_back({lines[e].value, key, static_cast<int>(e)});
    if (key >= 0) isStation[key] = 1;
  }
  // A point that observed nothing gets a placeholder set: one zero direction
  // to point 0.
  for (int p = 0; p < n; ++p) {
    if (!isStation[p]) entries.push_back({0.0, model.Find(model.points[p].name), -1});
  }
  auto target = [&](const Entry& e) -> const std::string& {
    return e.line >= 0 ? lines[e.line].ends.toName : model.points[0].name;
  };

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
      return RefusedWith(FormatText("方向观测值错误:%s,%s,%.6f", model.points[p].name.c_str(), target(head).c_str(),
                                    head.value));
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
  if (!consistent || copied != model.directionCount) return RefusedWith(Gbk("方向观测值输入错误 !!!"));

  // The sets of two or more directions, and the directions as entered set
  // by set; the placeholders of the other points are the record's.
  std::vector<PlaneMeasure> bySet;
  model.directions.clear();
  model.directionSets.clear();
  for (int p = 0; p < n; ++p) {
    if (last[p] - first[p] + 1 < 2) continue;
    const int begin = static_cast<int>(model.directions.size());
    for (int pos = first[p]; pos <= last[p]; ++pos) {
      const Entry& e = entries[pos];
      bySet.push_back(e.line >= 0 ? lines[e.line] : PlaneMeasure{{p, 0, model.points[p].name, target(e)}, 0.0});
      const PlaneMeasure& m = bySet.back();
      model.directions.push_back({p, m.ends.to, m.ends.toName, m.value});
    }
    model.directionSets.push_back({p, begin, static_cast<int>(model.directions.size())});
  }
  model.enteredDirections = std::move(bySet);
  return Accepted();
}

void ComputeRedundancy(PlaneModel& model) {
  const int stations = model.directionCount > 0 ? static_cast<int>(model.directionSets.size()) : 0;
  const size_t others = model.distances.size() + model.fixedAzimuths.size() + model.weightedAzimuths.size() +
                        model.fixedSides.size() + model.weightedSides.size();
  model.redundancy = model.directionCount + static_cast<int>(others) - 2 * model.UnknownPointCount() - stations;
}

InputCheck PrepareComputableNetwork(PlaneModel& model, const TurnAnswerer& turn) {
  if (InputCheck collected = CollectNetworkPoints(model, turn); !collected) return collected;
  ComputeRedundancy(model);
  // More than two points, at least one known point, no negative redundancy.
  if (!(model.pointCount() > 2 && model.knownCount > 0 && model.redundancy >= 0)) {
    return RefusedWith(Gbk("平面网不满足平差或精度估算条件 !!!"));
  }
  return Accepted();
}

}  // namespace qp

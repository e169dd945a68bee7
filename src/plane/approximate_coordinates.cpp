#include "plane/approximate_coordinates.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "plane/network_geometry.h"

namespace qp {

InputCheck ComputeApproxCoordinates(PlaneModel& model, const TurnAnswerer& turn) {
  const int n = model.pointCount();
  const int g = model.GivenCount();
  const int known = model.knownCount;
  NetworkGeometry geo(model, NetworkGeometry::DirectionSource::kSets);
  const bool hasDirections = model.directionCount > 0;
  const bool hasDistances = !model.distances.empty();

  ComputedFlags computed(n, 0);
  for (int i = 0; i < g; ++i) computed[i] = 1;
  int uncomputed = n - g;
  // Points without coordinates among each point's neighbours: a construction
  // from j and i can only place a neighbour of j or of i.
  std::vector<int> uncomputedNear(n, 0);
  for (int k = g; k < n; ++k) {
    for (int y : geo.Neighbours(k)) ++uncomputedNear[y];
  }
  auto settle = [&](int k) {
    if (!computed[k]) return false;
    --uncomputed;
    for (int y : geo.Neighbours(k)) --uncomputedNear[y];
    return true;
  };

  // A polar point from two computed points depends on nothing that changes
  // later, so a failed try along the point list is not repeated.
  std::vector<uint8_t> forwardFailed(n, 0), backwardFailed(n, 0);
  auto chainPolar = [&](int a, int b, int p, std::vector<uint8_t>& failed, int slot) {
    if (failed[slot] || !computed[a] || !computed[b] || computed[p]) return;
    geo.PolarPoint(a, b, p, computed);
    if (!settle(p)) failed[slot] = 1;
  };

  std::vector<int> outJ(n, 0), inJ(n, 0), outI(n, 0), inI(n, 0);
  std::vector<uint8_t> distJ(n, 0), distI(n, 0);
  auto fill = [&](int p, std::vector<int>& out, std::vector<int>& in, std::vector<uint8_t>& dist, bool set) {
    for (const auto& l : geo.DirectionTargets(p)) out[l.point] = set ? l.count : 0;
    for (const auto& l : geo.DirectionStations(p)) in[l.point] = set ? l.count : 0;
    for (int k : geo.DistanceNeighbours(p)) dist[k] = set ? 1 : 0;
  };
  std::vector<int> partnerStamp(n, -1);
  int stamp = 0;
  std::vector<int> partners;

  for (int pass = 1; pass <= 7 && uncomputed > 0; ++pass) {
    const bool byAngles = (pass > 3 || !hasDistances) && hasDirections;
    const bool byPolar = hasDirections && hasDistances;
    const bool byResection = (pass > 3 && hasDirections) || !hasDistances;
    const bool byDistances = (pass > 5 || !hasDirections) && hasDistances;

    for (int j = 0; j < n && uncomputed > 0; ++j) {
      if (!computed[j]) continue;

      // 1. Polar points forward along the point list.
      if (hasDirections && hasDistances && n >= 3) {
        for (int i = 0; i + 2 < n && uncomputed > 0; ++i) chainPolar(i, i + 1, i + 2, forwardFailed, i);
      }

      // 2. Every construction from j and another computed point i. Only some
      // partners can place anything: the points j observed or that observed
      // j, and the neighbours of j's neighbours still without coordinates.
      partners.clear();
      ++stamp;
      auto addPartner = [&](int i) {
        if (partnerStamp[i] == stamp) return;
        partnerStamp[i] = stamp;
        partners.push_back(i);
      };
      for (const auto& l : geo.DirectionTargets(j)) addPartner(l.point);
      for (const auto& l : geo.DirectionStations(j)) addPartner(l.point);
      for (int k : geo.Neighbours(j)) {
        if (computed[k]) continue;
        for (int i : geo.Neighbours(k)) addPartner(i);
      }
      std::sort(partners.begin(), partners.end());
      fill(j, outJ, inJ, distJ, true);
      for (int i : partners) {
        if (uncomputed == 0) break;
        if (i == j || !computed[i]) continue;
        if (uncomputedNear[j] == 0 && uncomputedNear[i] == 0) continue;
        fill(i, outI, inI, distI, true);
        ForNeighboursOfPair(geo, j, i, [&] { return uncomputed > 0; }, [&](int k) {
          if (k < g || k == i || k == j || computed[k]) return;
          // What each construction needs observed; without it nothing happens.
          const bool angleAtJ = outJ[i] && outJ[k];
          const bool angleAtI = outI[k] && outI[j];
          const bool angleAtK = inJ[k] && inI[k];
          if (byAngles && ((angleAtJ && angleAtI) || (angleAtJ && angleAtK) || (angleAtI && angleAtK))) {
            geo.AngleIntersection(j, i, k, computed);
            if (settle(k)) return;
          }
          if (byPolar && ((distJ[k] && angleAtJ) || (distI[k] && angleAtI))) {
            geo.PolarPoint(j, i, k, computed);
            if (settle(k)) return;
          }
          if (byResection && angleAtK) {
            geo.Resection(j, i, k, computed);
            if (settle(k)) return;
          }
          if (byDistances && distJ[k] && distI[k]) {
            geo.IntersectByDistances(j, i, k, computed, turn);
            settle(k);
          }
        });
        fill(i, outI, inI, distI, false);
      }
      fill(j, outJ, inJ, distJ, false);

      // 3. Polar points backward along the point list.
      if (hasDirections && hasDistances) {
        for (int d = n - 1; d >= known + 2 && uncomputed > 0; --d) chainPolar(d, d - 1, d - 2, backwardFailed, d);
      }
    }
  }

  std::vector<std::string> notes;
  for (int k = 0; k < n; ++k) {
    if (!computed[k]) notes.push_back(FormatText("待定点[%s]不能计算出...", model.points[k].name.c_str()));
  }
  return notes.empty() ? Accepted() : RefusedWith(Gbk("待定点不能完全计算出 !"), std::move(notes));
}

}  // namespace qp

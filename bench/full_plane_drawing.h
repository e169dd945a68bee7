// A plane network at the record's full capacity with everything a diagram
// draws: 1024 points (64 known) on a 32 x 32 grid 500 m apart, 4096 sides of
// every side kind, 2048 directions and distances, 64 entries in each small
// table and 64 precision pairs, every point and side with an error ellipse,
// 1024 traverse closure texts.
#pragma once

#include <memory>
#include <string>

#include "bench_support.h"
#include "common/format.h"
#include "common/name_slot.h"
#include "drawing/plane_diagram.h"
#include "plane/plane_network.h"
#include "plane/plane_model_record.h"

namespace qp::bench {

constexpr int kSide = 32;
constexpr double kSpacing = 500.0;

inline std::string NameOf(int i) { return Format("P%04d", i); }

inline std::unique_ptr<PlaneNetwork> FullPlaneDrawingNetwork() {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "bench.NAP");
  net->calcMode = kReducedObservations;
  net->pointCount = kMaxPlanePoints;
  net->knownCount = 64;
  for (int i = 0; i < kMaxPlanePoints; ++i) {
    SetSlotText(net->pointName[i], NameOf(i));
    net->x[i] = 3800000.0 + (i / kSide) * kSpacing + Wobble(i, 40);
    net->y[i] = 500000.0 + (i % kSide) * kSpacing + Wobble(i + 7, 40);
    net->pointE[i] = 1.0f + static_cast<float>(Wobble(i, 0.5));
    net->pointF[i] = 0.5f + static_cast<float>(Wobble(i + 1, 0.2));
    net->pointQ[i] = static_cast<float>(90 + Wobble(i, 80));
  }
  const auto at = [](int row, int column) { return row * kSide + column; };
  const auto addSide = [&](int a, int b) {
    if (net->sideCount >= kMaxSides) return;
    const int s = net->sideCount++;
    SetSlotText(net->sideFrom[s], NameOf(a));
    SetSlotText(net->sideTo[s], NameOf(b));
    net->sideSymbol[s] = static_cast<uint8_t>(s % 8);
    net->sideMs[s] = 1.2f, net->sideMt[s] = 0.8f;
    net->sideE[s] = 1.5f, net->sideF[s] = 0.7f, net->sideQ[s] = static_cast<float>(45 + Wobble(s, 40));
  };
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) {
      if (c + 1 < kSide) addSide(at(r, c), at(r, c + 1));
      if (r + 1 < kSide) addSide(at(r, c), at(r + 1, c));
      if (r + 1 < kSide && c + 1 < kSide) addSide(at(r, c), at(r + 1, c + 1));
      if (r + 1 < kSide && c > 0) addSide(at(r, c), at(r + 1, c - 1));
    }
  for (int r = 0; r + 2 < kSide && net->sideCount < kMaxSides; ++r)
    for (int c = 0; c < kSide; ++c) addSide(at(r, c), at(r + 2, c));

  // Two directions per station (its right and upper neighbours, or left and
  // lower at the edges), and a distance along each.
  for (int p = 0; p < kMaxPlanePoints; ++p) {
    const int r = p / kSide, c = p % kSide;
    const int targets[2] = {c + 1 < kSide ? at(r, c + 1) : at(r, c - 1), r + 1 < kSide ? at(r + 1, c) : at(r - 1, c)};
    net->setStart[p] = 2 * p;
    for (int d = 0; d < 2; ++d) {
      const int i = 2 * p + d;
      net->direction[i] = d == 0 ? 0.0 : 90.0 + Wobble(i, 0.001);
      SetSlotText(net->directionStation[i], NameOf(p));
      SetSlotText(net->directionTarget[i], NameOf(targets[d]));
      net->reducedLength[i] = kSpacing + Wobble(i, 50);
      SetSlotText(net->reducedFrom[i], NameOf(p));
      SetSlotText(net->reducedTo[i], NameOf(targets[d]));
    }
  }
  net->setStart[kMaxPlanePoints] = 2 * kMaxPlanePoints;
  net->directionCount = net->reducedCount = 2 * kMaxPlanePoints;
  for (int i = 0; i < kMaxSmallTable; ++i) {
    const int a = 100 + i * 13, b = a + 1;
    for (NameSlot* slot : {&net->fixedDistanceFrom[i], &net->weightedDistanceFrom[i], &net->fixedAzimuthFrom[i],
                           &net->weightedAzimuthFrom[i], &net->pairFirst[i]})
      SetSlotText(*slot, NameOf(a));
    for (NameSlot* slot : {&net->fixedDistanceTo[i], &net->weightedDistanceTo[i], &net->fixedAzimuthTo[i],
                           &net->weightedAzimuthTo[i], &net->pairSecond[i]})
      SetSlotText(*slot, NameOf(b + kSide));
    net->fixedDistance[i] = net->weightedDistance[i] = 700.0;
    net->fixedAzimuth[i] = net->weightedAzimuth[i] = 45.0;
    net->pairMs[i] = 1.1f, net->pairMt[i] = 0.9f, net->pairE[i] = 1.3f, net->pairF[i] = 0.6f, net->pairQ[i] = 30.0f;
  }
  net->fixedDistanceCount = net->weightedDistanceCount = net->fixedAzimuthCount = net->weightedAzimuthCount =
      net->precisionPairCount = kMaxSmallTable;
  for (int t = 0; t < kTraverseTableSize; ++t) {
    TraverseClosure c;
    SetSlotText(c.startOrientation, NameOf(t % 64));
    SetSlotText(c.start, NameOf((t + 1) % 64));
    SetSlotText(c.end, NameOf((t + 2) % 64));
    SetSlotText(c.endOrientation, NameOf((t + 3) % 64));
    c.azimuthMisclosure = 2.5f;
    c.relative = 45000.0;
    c.legs = 6;
    c.drawn = 1;
    StoreTraverseClosure(*net, t, c);
  }
  net->closureCheckCount = kTraverseTableSize;
  PlaneModel model = PlaneModelFromRecord(*net);
  RebuildPlaneDiagramData(model);
  PutPlaneLayout(model, *net);
  return net;
}

}  // namespace qp::bench

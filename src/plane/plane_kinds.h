// The capacities and calculation modes of a plane network, shared by the data
// file record and the network model: the values are the ones the record
// stores.
#pragma once

#include <cstdint>

namespace qp {

// The entries each table of the network may take.
inline constexpr int kMaxPlanePoints = 1024;
inline constexpr int kMaxDirections = 2048;
inline constexpr int kMaxReducedDistances = 2048;
inline constexpr int kMaxDistanceLines = 4096;
inline constexpr int kMaxSmallTable = 64;
inline constexpr int kMaxSides = 4096;

enum PlaneCalcMode : int32_t {
  kPrecisionEstimate = 0,
  kReducedObservations = 1,
  kSlopeReduced = 2,
  kSlopeReducedProjected = 3,
  kNationalSystem = 4,
};

// Calculation modes 2-4 work with slope distances, heights and vertical angles.
inline bool IsSlopeMode(int calcMode) { return calcMode >= kSlopeReduced && calcMode <= kNationalSystem; }

}  // namespace qp

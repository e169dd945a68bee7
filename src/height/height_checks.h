// The steps of a parsed height network before it is confirmed: duplicate
// names, the point list with its approximate heights, the precision pairs and
// plane coordinates. Each check shows its message and returns false.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/platform_services.h"
#include "height/height_model.h"
#include "height/height_network.h"

namespace qp {

// Points of the network by name: the first entry of the point list with that
// name (names compared bytewise).
class HeightPointIndex {
 public:
  // The first `count` entries of the point list.
  HeightPointIndex(const HeightNetwork& net, int count);
  // -1 when the name is not a point.
  int Find(std::string_view name) const;
  // Appends a point to the lookup (the caller has stored it at `index`);
  // an earlier point of the same name keeps its place.
  void Add(std::string_view name, int index);

 private:
  std::unordered_map<std::string, int> index_;
};

// The point index of each end of every height difference (-1 where absent).
struct DifferenceEnds {
  std::vector<int> from;
  std::vector<int> to;
};
DifferenceEnds FindDifferenceEnds(const HeightNetwork& net);

bool CheckDuplicateNames(const HeightNetwork& net, PlatformServices& platform);

// Completes the point list from the height differences and the coordinate
// table and sets the point counts.
bool CompleteHeightPointList(HeightNetwork& net, PlatformServices& platform);

// Carries approximate heights along the height differences to every point without one.
bool CarryApproximateHeights(HeightModel& model, PlatformServices& platform);

bool CheckHeightPrecisionPairs(const HeightModel& model, PlatformServices& platform);

// Coordinates are all or nothing; they become the diagram positions.
bool CheckHeightCoordinates(HeightModel& model, PlatformServices& platform);

}  // namespace qp

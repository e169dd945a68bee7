// Name checks across the tables once they are read: two given points may not
// share a name, and no observation may lead from a point to itself.
#include <algorithm>
#include <string>
#include <vector>

#include "common/format.h"
#include "common/name_slot.h"
#include "common/numeric_field.h"
#include "plane/plane_input_reading.h"

namespace qp {
namespace {

// The first observation (counted from 1) whose two names are equal; 0 when none.
int FirstSelfObservation(const NameSlot* from, const NameSlot* to, int count, int capacity) {
  count = std::clamp(count, 0, capacity);
  for (int i = 0; i < count; ++i) {
    if (SlotText(from[i]) == SlotText(to[i])) return i + 1;
  }
  return 0;
}

}  // namespace

bool CheckPlaneDuplicates(const PlaneNetwork& net, PlatformServices& platform) {
  const int given = std::min(std::clamp(static_cast<int>(net.knownCount), 0, kMaxPlanePoints) +
                                 std::clamp(static_cast<int>(net.approxCount), 0, kMaxPlanePoints),
                             kMaxPlanePoints);
  // The pair named is the first a row-by-row comparison of every point with
  // the later ones meets: the smallest first point of any repeated name, and
  // the next point of that name. Sorted by name and position, each repeated
  // name shows its first two positions side by side.
  std::vector<std::string> names(static_cast<size_t>(std::max(given, 0)));
  for (int i = 0; i < given; ++i) names[i] = Trim(SlotText(net.pointName[i]));
  std::vector<int> order(names.size());
  for (int i = 0; i < given; ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](int a, int b) { return names[a] != names[b] ? names[a] < names[b] : a < b; });
  int first = -1, second = -1;
  for (size_t k = 1; k < order.size(); ++k) {
    const int a = order[k - 1], b = order[k];
    const bool startsGroup = k == 1 || names[order[k - 2]] != names[a];
    if (startsGroup && names[a] == names[b] && (first < 0 || a < first)) {
      first = a;
      second = b;
    }
  }
  if (first >= 0) return ShowAndFail(platform, FormatText("已知点和已知概略坐标点的[%d]点和[%d]点点名重复 !", first + 1, second + 1));

  struct Table {
    const NameSlot* from;
    const NameSlot* to;
    int count;
    int capacity;
    const char* message;
  };
  const Table tables[] = {
      {net.inputStation, net.inputTarget, net.directionCount, kMaxDirections, "第[%d]个方向观测值点名重复!"},
      {net.fixedAzimuthFrom, net.fixedAzimuthTo, net.fixedAzimuthCount, kMaxSmallTable, "第[%d]个固定方位角点名重复!"},
      {net.weightedAzimuthFrom, net.weightedAzimuthTo, net.weightedAzimuthCount, kMaxSmallTable,
       "第[%d]个带权方位角点名重复!"},
      {net.lineFrom, net.lineTo, net.distanceLineCount, kMaxDistanceLines, "第[%d]个边长观测值点名重复!"},
      {net.fixedDistanceFrom, net.fixedDistanceTo, net.fixedDistanceCount, kMaxSmallTable, "第[%d]个基线边点名重复!"},
      {net.weightedDistanceFrom, net.weightedDistanceTo, net.weightedDistanceCount, kMaxSmallTable,
       "第[%d]个带权基线边点名重复!"},
  };
  for (const Table& t : tables) {
    if (const int n = FirstSelfObservation(t.from, t.to, t.count, t.capacity)) {
      return ShowAndFail(platform, FormatText(t.message, n));
    }
  }
  return true;
}

}  // namespace qp

// Checks of a parsed height network: duplicate names, the point list and the
// approximate heights, precision pairs and plane coordinates.
#include "height/height_checks.h"

#include <algorithm>
#include <set>
#include <utility>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/rejected_entry.h"
#include "height/height_input_form.h"

namespace qp {
namespace {

std::string Name(const HeightNameSlot& slot) { return std::string(SlotText(slot)); }

// The first pair i < j (i first, then j) of equal names among names[0..count),
// or (-1, -1).
template <typename NameAt>
std::pair<int, int> FirstEqualPair(int count, NameAt&& nameAt) {
  // For each entry the next entry of the same name.
  std::unordered_map<std::string, int> lastSeen;
  std::vector<int> next(static_cast<size_t>(count), -1);
  for (int k = count - 1; k >= 0; --k) {
    auto [it, added] = lastSeen.try_emplace(nameAt(k), k);
    if (!added) {
      next[static_cast<size_t>(k)] = it->second;
      it->second = k;
    }
  }
  for (int i = 0; i < count; ++i) {
    if (next[static_cast<size_t>(i)] >= 0) return {i, next[static_cast<size_t>(i)]};
  }
  return {-1, -1};
}

uint64_t PairKey(int a, int b) {
  const auto lo = static_cast<uint64_t>(std::min(a, b));
  const auto hi = static_cast<uint64_t>(std::max(a, b));
  return hi << 32 | lo;
}

}  // namespace

HeightPointIndex::HeightPointIndex(const HeightNetwork& net, int count) {
  index_.reserve(static_cast<size_t>(std::max(count, 0)) * 2);
  for (int i = 0; i < count; ++i) Add(SlotText(net.pointName[i]), i);
}

int HeightPointIndex::Find(std::string_view name) const {
  const auto it = index_.find(std::string(name));
  return it == index_.end() ? -1 : it->second;
}

void HeightPointIndex::Add(std::string_view name, int index) { index_.try_emplace(std::string(name), index); }

DifferenceEnds FindDifferenceEnds(const HeightNetwork& net) {
  const HeightPointIndex index(net, BoundedCount(net.pointCount, kMaxHeightPoints));
  const int n = BoundedCount(net.observationCount, kMaxHeightDifferences);
  DifferenceEnds ends;
  ends.from.resize(static_cast<size_t>(n));
  ends.to.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    ends.from[static_cast<size_t>(i)] = index.Find(SlotText(net.from[i]));
    ends.to[static_cast<size_t>(i)] = index.Find(SlotText(net.to[i]));
  }
  return ends;
}

bool CheckDuplicateNames(const HeightNetwork& net, PlatformServices& platform) {
  const int given = BoundedCount(net.knownCount + net.approxCount, kMaxHeightPoints);
  auto [i, j] = FirstEqualPair(given, [&](int k) { return Name(net.pointName[k]); });
  if (i >= 0) {
    platform.ShowMessage(FormatText("已知点和已知概略高程点的[%d]点和[%d]点点名重复 !", i + 1, j + 1));
    return false;
  }
  const int coordinates = BoundedCount(net.coordinateCount, kMaxHeightPoints);
  std::tie(i, j) = FirstEqualPair(coordinates, [&](int k) { return Name(net.coordinateName[k]); });
  if (i >= 0) {
    platform.ShowMessage(FormatText("高程点位的[%d]点和[%d]点点名重复 !", i + 1, j + 1));
    return false;
  }
  for (int k = 0; k < BoundedCount(net.observationCount, kMaxHeightDifferences); ++k) {
    if (SlotText(net.from[k]) == SlotText(net.to[k])) {
      platform.ShowMessage(FormatText("第[%d]个高差观测值点名重复!", k + 1));
      return false;
    }
  }
  return true;
}

bool CompleteHeightPointList(HeightNetwork& net, PlatformServices& platform) {
  const int capacity = HeightCapacityOf(net, kCapacityPoints);
  const int known = BoundedCount(net.knownCount, capacity);
  const int approx = BoundedCount(net.approxCount, capacity - known);
  const int observations = BoundedCount(net.observationCount, kMaxHeightDifferences);
  if (known + approx < 1 || observations == 0) {
    platform.ShowMessage(Gbk("基本计算条件不满足 !"));
    return false;
  }

  int count = known + approx;
  HeightPointIndex index(net, count);
  bool overflow = false;
  auto add = [&](std::string_view name) {
    if (index.Find(name) >= 0) return false;
    if (count >= capacity) {
      overflow = true;
      return false;
    }
    SetSlotText(net.pointName[count], name);
    net.height[count] = 0.0;
    index.Add(name, count);
    ++count;
    return true;
  };

  // Points reached from the given ones first, in the order they are reached.
  bool added = true;
  for (int pass = 0; pass < 32 && added && !overflow; ++pass) {
    added = false;
    for (int i = 0; i < observations && !overflow; ++i) {
      const bool hasFrom = index.Find(SlotText(net.from[i])) >= 0;
      const bool hasTo = index.Find(SlotText(net.to[i])) >= 0;
      if (hasFrom != hasTo) added = add(SlotText(hasFrom ? net.to[i] : net.from[i])) || added;
    }
  }
  for (int i = 0; i < observations && !overflow; ++i) {
    add(SlotText(net.from[i]));
    add(SlotText(net.to[i]));
  }
  for (int i = 0; i < BoundedCount(net.coordinateCount, kMaxHeightPoints) && !overflow; ++i) {
    add(SlotText(net.coordinateName[i]));
  }
  if (overflow) {
    platform.ShowMessage(FormatText("高程网点数超过%d个 !", capacity));
    return false;
  }
  net.pointCount = count;
  net.unknownPointCount = count - known;
  return true;
}

bool CarryApproximateHeights(HeightModel& model, PlatformServices& platform) {
  // Passes go on while they reach new points, so that a long line typed
  // against the direction of propagation is still reached.
  std::vector<char> marked;
  for (const HeightPoint& p : model.points) marked.push_back(p.role != HeightPointRole::Unknown);
  auto unmarked = std::count(marked.begin(), marked.end(), 0);
  for (bool progress = true; unmarked > 0 && progress;) {
    progress = false;
    for (const HeightDifference& d : model.differences) {
      if (!d.Joined()) continue;
      if (!marked[d.from] && marked[d.to]) {
        model.points[d.from].height = model.points[d.to].height - d.observed;
        marked[d.from] = 1;
      } else if (marked[d.from] && !marked[d.to]) {
        model.points[d.to].height = model.points[d.from].height + d.observed;
        marked[d.to] = 1;
      } else {
        continue;
      }
      --unmarked;
      progress = true;
    }
  }
  if (unmarked == 0) return true;
  for (size_t p = 0; p < model.points.size(); ++p) {
    if (!marked[p]) platform.ShowMessage(FormatText("待定点[%s]不能计算出...", model.points[p].name.c_str()));
  }
  platform.ShowMessage(Gbk("待定点不能完全计算出 !"));
  return false;
}

bool CheckHeightPrecisionPairs(const HeightModel& model, PlatformServices& platform) {
  std::set<uint64_t> observedPairs;
  for (const HeightDifference& d : model.differences) observedPairs.insert(PairKey(d.from, d.to));
  const int pairs = static_cast<int>(model.pairs.size());
  for (int k = 0; k < pairs; ++k) {
    const uint64_t key = PairKey(model.pairs[k].from, model.pairs[k].to);
    if (model.pairs[k].from < model.KnownCount() || model.pairs[k].to < model.KnownCount()) {  // also -1: no point
      return RejectEntry(platform, kHeightPairsBox, k, FormatText("精度端点第[%d]行点名不是待定点!", k + 1));
    }
    if (observedPairs.count(key)) {
      return RejectEntry(platform, kHeightPairsBox, k, FormatText("精度端点第[%d]行已存在高差观测  !", k + 1));
    }
    for (int later = k + 1; later < pairs; ++later) {
      if (key == PairKey(model.pairs[later].from, model.pairs[later].to)) {
        return RejectEntry(platform, kHeightPairsBox, k, FormatText("精度端点第[%d]行已存在  !", k + 1));
      }
    }
  }
  return true;
}

bool CheckHeightCoordinates(HeightModel& model, PlatformServices& platform) {
  const int coordinates = static_cast<int>(model.coordinates.size());
  if (coordinates != 0 && coordinates != model.PointCount()) {
    platform.ShowMessage(Gbk("高程点的平面坐标输入不完整[允许全不输入] !"));
    return false;
  }
  for (int k = 0; k < coordinates; ++k) {
    const HeightCoordinate& c = model.coordinates[k];
    const int p = model.Find(c.name);
    if (p < 0) {
      return RejectEntry(platform, kHeightCoordinatesBox, k, FormatText("已知点坐标第[%d]行点名不正确!", k + 1));
    }
    model.points[p].x = c.x;
    model.points[p].y = c.y;
  }
  return true;
}

}  // namespace qp

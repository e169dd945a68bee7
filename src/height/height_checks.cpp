// Checks of a parsed height network: duplicate names, the point list and the
// approximate heights, precision pairs and plane coordinates.
#include "height/height_checks.h"

#include <algorithm>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "common/format.h"
#include "common/gbk_text.h"
#include "common/rejected_entry.h"
#include "height/height_kinds.h"

namespace qp {
namespace {

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

InputCheck CheckDuplicateNames(const HeightModel& model) {
  auto [i, j] = FirstEqualPair(model.PointCount(), [&](int k) { return model.points[k].name; });
  if (i >= 0) return RefusedWith(FormatText("已知点和已知概略高程点的[%d]点和[%d]点点名重复 !", i + 1, j + 1));
  const int coordinates = static_cast<int>(model.coordinates.size());
  std::tie(i, j) = FirstEqualPair(coordinates, [&](int k) { return model.coordinates[k].name; });
  if (i >= 0) return RefusedWith(FormatText("高程点位的[%d]点和[%d]点点名重复 !", i + 1, j + 1));
  for (size_t k = 0; k < model.differences.size(); ++k) {
    if (model.differences[k].fromName == model.differences[k].toName) {
      return RefusedWith(FormatText("第[%d]个高差观测值点名重复!", static_cast<int>(k) + 1));
    }
  }
  return Accepted();
}

InputCheck CompleteHeightPointList(HeightModel& model) {
  if (model.PointCount() < 1 || model.differences.empty()) return RefusedWith(Gbk("基本计算条件不满足 !"));
  bool overflow = false;
  auto add = [&](const std::string& name) {
    if (model.Find(name) >= 0) return false;
    if (model.PointCount() >= model.pointCapacity) {
      overflow = true;
      return false;
    }
    model.AddUnknownPoint(name);
    return true;
  };

  // Points reached from the given ones first, in the order they are reached.
  bool added = true;
  for (int pass = 0; pass < 32 && added && !overflow; ++pass) {
    added = false;
    for (size_t i = 0; i < model.differences.size() && !overflow; ++i) {
      const HeightDifference& d = model.differences[i];
      const bool hasFrom = model.Find(d.fromName) >= 0;
      const bool hasTo = model.Find(d.toName) >= 0;
      if (hasFrom != hasTo) added = add(hasFrom ? d.toName : d.fromName) || added;
    }
  }
  for (size_t i = 0; i < model.differences.size() && !overflow; ++i) {
    add(model.differences[i].fromName);
    add(model.differences[i].toName);
  }
  for (size_t i = 0; i < model.coordinates.size() && !overflow; ++i) add(model.coordinates[i].name);
  model.Index();
  if (overflow) return RefusedWith(FormatText("高程网点数超过%d个 !", model.pointCapacity));
  return Accepted();
}

InputCheck CarryApproximateHeights(HeightModel& model) {
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
  if (unmarked == 0) return Accepted();
  std::vector<std::string> notes;
  for (size_t p = 0; p < model.points.size(); ++p) {
    if (!marked[p]) notes.push_back(FormatText("待定点[%s]不能计算出...", model.points[p].name.c_str()));
  }
  return RefusedWith(Gbk("待定点不能完全计算出 !"), std::move(notes));
}

InputCheck CheckHeightPrecisionPairs(const HeightModel& model) {
  std::set<uint64_t> observedPairs;
  for (const HeightDifference& d : model.differences) observedPairs.insert(PairKey(d.from, d.to));
  const int pairs = static_cast<int>(model.pairs.size());
  for (int k = 0; k < pairs; ++k) {
    const uint64_t key = PairKey(model.pairs[k].from, model.pairs[k].to);
    if (model.pairs[k].from < model.KnownCount() || model.pairs[k].to < model.KnownCount()) {  // also -1: no point
      return RefusedAt(kHeightPairsBox, k, FormatText("精度端点第[%d]行点名不是待定点!", k + 1));
    }
    if (observedPairs.count(key)) {
      return RefusedAt(kHeightPairsBox, k, FormatText("精度端点第[%d]行已存在高差观测  !", k + 1));
    }
    for (int later = k + 1; later < pairs; ++later) {
      if (key == PairKey(model.pairs[later].from, model.pairs[later].to)) {
        return RefusedAt(kHeightPairsBox, k, FormatText("精度端点第[%d]行已存在  !", k + 1));
      }
    }
  }
  return Accepted();
}

InputCheck CheckHeightCoordinates(HeightModel& model) {
  const int coordinates = static_cast<int>(model.coordinates.size());
  if (coordinates != 0 && coordinates != model.PointCount()) return RefusedWith(Gbk("高程点的平面坐标输入不完整[允许全不输入] !"));
  for (int k = 0; k < coordinates; ++k) {
    const HeightCoordinate& c = model.coordinates[k];
    const int p = model.Find(c.name);
    if (p < 0) {
      return RefusedAt(kHeightCoordinatesBox, k, FormatText("已知点坐标第[%d]行点名不正确!", k + 1));
    }
    model.points[p].x = c.x;
    model.points[p].y = c.y;
  }
  return Accepted();
}

}  // namespace qp

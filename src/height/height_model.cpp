#include "height/height_model.h"

namespace qp {

bool HeightModel::HoldsResults() const {
  for (const HeightPoint& p : points)
    if (p.role != HeightPointRole::Known && std::isfinite(p.error) && p.error > 0.0f) return true;
  return false;
}

void HeightModel::Index() {
  index_.clear();
  index_.reserve(points.size() * 2);
  known_ = approx_ = 0;
  for (int p = 0; p < PointCount(); ++p) {
    index_.try_emplace(points[p].name, p);
    known_ += points[p].role == HeightPointRole::Known;
    approx_ += points[p].role == HeightPointRole::Approximate;
  }
  for (HeightDifference& d : differences) {
    d.from = Find(d.fromName);
    d.to = Find(d.toName);
  }
  for (HeightPair& pair : pairs) {
    pair.from = Find(pair.fromName);
    pair.to = Find(pair.toName);
  }
}

int HeightModel::Find(std::string_view pointName) const {
  const auto it = index_.find(std::string(pointName));
  return it == index_.end() ? -1 : it->second;
}

void HeightModel::AddUnknownPoint(std::string_view pointName) {
  points.push_back({std::string(pointName)});
  index_.try_emplace(points.back().name, PointCount() - 1);
}

}  // namespace qp

#include "plane/plane_model.h"

#include <cmath>

namespace qp {

bool PlaneModel::HoldsResults() const {
  const auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
  if (positive(sigma0)) return true;
  for (const PlanePoint& p : points)
    if (positive(p.ellipse.e) || positive(p.ellipse.f)) return true;
  return false;
}

void PlaneModel::IndexNames() {
  index_.clear();
  index_.reserve(points.size() * 2);
  for (size_t i = 0; i < points.size(); ++i) index_.emplace(points[i].name, static_cast<int>(i));
}

void PlaneModel::ResolveNames() {
  IndexNames();
  auto resolve = [this](PlaneEnds& ends) {
    ends.from = Find(ends.fromName);
    ends.to = Find(ends.toName);
  };
  for (auto* list : {&enteredDirections, &fixedAzimuths, &weightedAzimuths, &fixedSides, &weightedSides}) {
    for (PlaneMeasure& m : *list) resolve(m.ends);
  }
  for (PlaneDistanceLine& l : distanceLines) resolve(l.ends);
  for (PlaneDistance& d : distances) resolve(d.ends);
  for (auto* list : {&sides, &pairs}) {
    for (PlaneSide& s : *list) resolve(s.ends);
  }
  for (PlaneKnownHeight& k : knownHeights) k.point = Find(k.name);
}

int PlaneModel::GivenCount() const {
  int given = knownCount;
  while (given < pointCount() && points[given].role == PlanePointRole::Approximate) ++given;
  return given;
}

int PlaneModel::NonStationCount() const {
  // Every station of a confirmed network has a set of two or more directions.
  return directionCount > 0 ? pointCount() - static_cast<int>(directionSets.size()) : 0;
}

int PlaneModel::Find(std::string_view name) const {
  const auto it = index_.find(std::string(name));
  return it == index_.end() ? -1 : it->second;
}

}  // namespace qp

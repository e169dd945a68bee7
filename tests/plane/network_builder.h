// Plane network records filled directly for the geometry and point-list
// tests: points with their true coordinates, and observations derived from
// them (direction sets starting at zero, exact distances).
#pragma once

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/name_slot.h"
#include "geodesy/angles.h"
#include "plane/plane_network.h"

namespace qp::testing {

struct NetworkBuilder {
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  std::map<std::string, std::pair<double, double>> truth;

  NetworkBuilder() { ResetPlaneNetwork(*net, "net.NAP"); }

  void Place(const std::string& name, double x, double y) { truth[name] = {x, y}; }

  // A point with given coordinates (known points before approximate ones).
  void Given(const std::string& name, bool known = true) {
    const int i = net->knownCount + net->approxCount;
    SetSlotText(net->pointName[i], name);
    net->x[i] = truth.at(name).first;
    net->y[i] = truth.at(name).second;
    (known ? net->knownCount : net->approxCount)++;
    net->pointCount = net->knownCount + net->approxCount;
  }

  void Direction(const std::string& station, const std::string& target, double dms) {
    const int e = net->directionCount++;
    SetSlotText(net->directionStation[e], station);
    SetSlotText(net->directionTarget[e], target);
    net->direction[e] = dms;
    net->inputDirection[e] = dms;
    SetSlotText(net->inputStation[e], station);
    SetSlotText(net->inputTarget[e], target);
  }

  double Azimuth(const std::string& from, const std::string& to) const {
    const auto& [x1, y1] = truth.at(from);
    const auto& [x2, y2] = truth.at(to);
    return AzimuthOf(x1, y1, x2, y2);
  }

  double Length(const std::string& from, const std::string& to) const {
    const auto& [x1, y1] = truth.at(from);
    const auto& [x2, y2] = truth.at(to);
    return DistanceOf(x1, y1, x2, y2);
  }

  // A direction set at `station`, the first target being the zero direction.
  void Set(const std::string& station, const std::vector<std::string>& targets) {
    const double zero = Azimuth(station, targets.front());
    for (const auto& t : targets) {
      double r = Azimuth(station, t) - zero;
      if (r < 0.0) r += 2.0 * kPi;
      Direction(station, t, t == targets.front() ? 0.0 : RadiansToDms(r));
    }
  }

  void Distance(const std::string& from, const std::string& to, double length = -1.0) {
    const int e = net->reducedCount++;
    SetSlotText(net->reducedFrom[e], from);
    SetSlotText(net->reducedTo[e], to);
    net->reducedLength[e] = length < 0.0 ? Length(from, to) : length;
  }

  void FixedDistance(const std::string& from, const std::string& to, double length) {
    const int e = net->fixedDistanceCount++;
    SetSlotText(net->fixedDistanceFrom[e], from);
    SetSlotText(net->fixedDistanceTo[e], to);
    net->fixedDistance[e] = length;
  }

  void WeightedDistance(const std::string& from, const std::string& to, double length) {
    const int e = net->weightedDistanceCount++;
    SetSlotText(net->weightedDistanceFrom[e], from);
    SetSlotText(net->weightedDistanceTo[e], to);
    net->weightedDistance[e] = length;
    net->weightedDistanceWeight[e] = 1.0;
  }

  void FixedAzimuth(const std::string& from, const std::string& to) {
    const int e = net->fixedAzimuthCount++;
    SetSlotText(net->fixedAzimuthFrom[e], from);
    SetSlotText(net->fixedAzimuthTo[e], to);
    net->fixedAzimuth[e] = RadiansToDms(Azimuth(from, to));
  }

  // Appends a point to the PointTable as the collection step would.
  void ListPoint(const std::string& name) { SetSlotText(net->pointName[net->pointCount++], name); }

  int Index(const std::string& name) const {
    for (int i = 0; i < net->pointCount; ++i) {
      if (SlotText(net->pointName[i]) == name) return i;
    }
    return -1;
  }

  std::vector<std::string> PointNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < net->pointCount; ++i) names.emplace_back(SlotText(net->pointName[i]));
    return names;
  }

  // Coordinates of a listed point are those of its true place (to `tol` m).
  bool AtTruth(const std::string& name, double tol = 1e-4) const {
    const int i = Index(name);
    return i >= 0 && std::fabs(net->x[i] - truth.at(name).first) < tol &&
           std::fabs(net->y[i] - truth.at(name).second) < tol;
  }

  std::unique_ptr<PlaneNetwork> Copy() const {
    auto copy = std::make_unique<PlaneNetwork>();
    std::memcpy(copy.get(), net.get(), sizeof(PlaneNetwork));
    return copy;
  }
};

}  // namespace qp::testing

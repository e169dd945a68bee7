// Plane network records filled directly: points with true coordinates, and
// observations derived from them (sets starting at zero, exact distances).
#pragma once

#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "common/name_slot.h"
#include "common/rejected_entry.h"
#include "geodesy/angles.h"
#include "plane/network_geometry.h"
#include "plane/plane_model_record.h"
#include "plane/plane_network.h"

namespace qp::testing {

struct NetworkBuilder {
  std::unique_ptr<PlaneNetwork> net = std::make_unique<PlaneNetwork>();
  std::map<std::string, std::array<double, 2>> truth;

  NetworkBuilder() { ResetPlaneNetwork(*net, "net.NAP"); }
  void Place(const std::string& name, double x, double y) { truth[name] = {x, y}; }

  // A point with given coordinates; known points come before approximate ones.
  void Given(const std::string& name, bool known = true) {
    const int i = net->pointCount = net->knownCount + net->approxCount;
    SetSlotText(net->pointName[i], name);
    net->x[i] = truth.at(name)[0];
    net->y[i] = truth.at(name)[1];
    (known ? net->knownCount : net->approxCount)++;
    net->pointCount++;
  }
  // A point listed after the given ones, as the collection step appends it.
  void ListPoint(const std::string& name) { SetSlotText(net->pointName[net->pointCount++], name); }

  double Azimuth(const std::string& from, const std::string& to) const {
    return AzimuthOf(truth.at(from)[0], truth.at(from)[1], truth.at(to)[0], truth.at(to)[1]);
  }
  double Length(const std::string& from, const std::string& to) const {
    return DistanceOf(truth.at(from)[0], truth.at(from)[1], truth.at(to)[0], truth.at(to)[1]);
  }

  void Direction(const std::string& station, const std::string& target, double dms) {
    const int e = net->directionCount++;
    SetSlotText(net->directionStation[e], station);
    SetSlotText(net->directionTarget[e], target);
    net->direction[e] = dms;
  }
  // A direction set at `station`, zero towards the first target.
  void Set(const std::string& station, const std::vector<std::string>& targets) {
    for (const auto& t : targets) {
      const double r = std::fmod(Azimuth(station, t) - Azimuth(station, targets[0]) + 2 * kPi, 2 * kPi);
      Direction(station, t, t == targets[0] ? 0.0 : RadiansToDms(r));
    }
  }

  void Add(int32_t& count, NameSlot* from, NameSlot* to, double* value, const std::string& a, const std::string& b,
           double v) {
    SetSlotText(from[count], a);
    SetSlotText(to[count], b);
    value[count++] = v;
  }
  void Distance(const std::string& a, const std::string& b, double length = -1.0) {
    Add(net->reducedCount, net->reducedFrom, net->reducedTo, net->reducedLength, a, b,
        length < 0.0 ? Length(a, b) : length);
  }
  void FixedDistance(const std::string& a, const std::string& b, double length) {
    Add(net->fixedDistanceCount, net->fixedDistanceFrom, net->fixedDistanceTo, net->fixedDistance, a, b, length);
  }
  void WeightedDistance(const std::string& a, const std::string& b, double length) {
    Add(net->weightedDistanceCount, net->weightedDistanceFrom, net->weightedDistanceTo, net->weightedDistance, a, b,
        length);
  }
  void FixedAzimuth(const std::string& a, const std::string& b, double dms) {
    Add(net->fixedAzimuthCount, net->fixedAzimuthFrom, net->fixedAzimuthTo, net->fixedAzimuth, a, b, dms);
  }

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
  // The listed point sits at its true place (within `tol` metres).
  bool AtTruth(const std::string& name, double tol = 1e-4) const {
    const int i = Index(name);
    return i >= 0 && std::hypot(net->x[i] - truth.at(name)[0], net->y[i] - truth.at(name)[1]) < tol;
  }
  // A step of the confirmation on the model of the record as read, and the
  // point list, sets and counts it built put back into the record (also when
  // the step failed).
  InputCheck Confirm(InputCheck (*step)(PlaneModel&, const TurnAnswerer&), const TurnAnswerer& turn = {}) {
    return Confirm([&](PlaneModel& model) { return step(model, turn); });
  }
  template <class Step>
  InputCheck Confirm(Step step) {
    PlaneModel model = PlaneModelOfEnteredDirections(*net);
    InputCheck done = step(model);
    PutPlanePointList(model, *net);
    return done;
  }
  std::unique_ptr<PlaneNetwork> Copy() const {
    auto copy = std::make_unique<PlaneNetwork>();
    std::memcpy(copy.get(), net.get(), sizeof(PlaneNetwork));
    return copy;
  }
};

// Answers the side questions of the distance intersections in turn, then
// counter-clockwise (the default button); keeps the questions in UTF-8.
struct ScriptedTurns {
  std::vector<Turn> answers;
  std::vector<std::string> questions;
  TurnAnswerer Answerer() {
    return [this](const std::string& question) {
      questions.push_back(GbkToUtf8(question));
      return questions.size() <= answers.size() ? answers[questions.size() - 1] : Turn::kCounterClockwise;
    };
  }
};

}  // namespace qp::testing

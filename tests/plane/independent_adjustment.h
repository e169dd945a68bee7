// An independent least-squares solution of a plane network for the tests,
// and the small networks they adjust.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "common/gbk_text.h"
#include "geodesy/angles.h"
#include "network_builder.h"
#include "plane/plane_adjustment.h"
#include "plane/plane_model_record.h"
#include "plane/plane_point_list.h"
#include "support/dense_matrix.h"
#include "support/scripted_platform.h"
#include "support/test_files.h"
#include "workflow/network_workspace.h"

namespace qp::testing {

// ---------------------------------------------------------------------------
// An independent least-squares solution of the same observations: explicit
// orientation unknowns, a Jacobian by central differences, the fixed
// observations as Lagrange conditions, and a dense Gaussian elimination with
// partial pivoting. Units as in the reports: cm, seconds.

struct Observation {
  enum Kind { kDirection, kDistance, kAzimuth, kSide } kind;
  int a = 0;
  int b = 0;
  double value = 0.0;  // seconds (angles) or cm (lengths)
  double weight = 1.0;
  bool fixed = false;
  int orientation = -1;  // parameter of the direction's set
};

struct Solution {
  std::vector<double> x, y;  // metres, every point
  double sigma0 = 0.0;
  Matrix q;  // cofactors of the coordinate unknowns (cm^2)
  // Per observation, in the order given: the residual (adjusted minus
  // observed) and its cofactor 1/p - J Q J^T over every parameter, the
  // orientations included (0 for a fixed observation).
  std::vector<double> v, qvv;
  // The Jacobian row of each observation and the cofactors of every
  // parameter (coordinates, then orientations).
  Matrix jacobian, qAll;
};

class IndependentAdjustment {
 public:
  IndependentAdjustment(const PlaneNetwork& net, std::vector<Observation> obs, int orientations)
      : net_(net), obs_(std::move(obs)), orientations_(orientations) {}

  Solution Solve() {
    const int known = net_.knownCount;
    const int points = net_.pointCount;
    const int coords = 2 * (points - known);
    const int params = coords + orientations_;
    Solution s;
    s.x.assign(net_.x, net_.x + points);
    s.y.assign(net_.y, net_.y + points);
    std::vector<double> z(orientations_, 0.0);
    // Orientations start from the mean difference of their set.
    std::vector<int> counts(orientations_, 0);
    for (const Observation& o : obs_) {
      if (o.kind != Observation::kDirection) continue;
      z[o.orientation] += Fold(Model(o, s.x, s.y, 0.0) - o.value);
      counts[o.orientation]++;
    }
    for (int i = 0; i < orientations_; ++i) z[i] /= counts[i];

    int constraints = 0;
    for (const Observation& o : obs_) constraints += o.fixed;
    Matrix kkt;
    for (int iteration = 0; iteration < 12; ++iteration) {
      kkt.assign(params + constraints, std::vector<double>(params + constraints, 0.0));
      Matrix rhs(params + constraints, std::vector<double>(1, 0.0));
      int row = params;
      for (const Observation& o : obs_) {
        std::vector<double> j = Jacobian(o, s.x, s.y, z, params);
        const double misclosure = Residual(o, s.x, s.y, z);
        if (o.fixed) {
          for (int c = 0; c < params; ++c) kkt[row][c] = kkt[c][row] = j[c];
          rhs[row][0] = -misclosure;
          ++row;
          continue;
        }
        for (int r = 0; r < params; ++r) {
          if (j[r] == 0.0) continue;
          rhs[r][0] -= o.weight * j[r] * misclosure;
          for (int c = 0; c < params; ++c) kkt[r][c] += o.weight * j[r] * j[c];
        }
      }
      EXPECT_TRUE(SolveDense(kkt, rhs));
      for (int p = known; p < points; ++p) {
        s.x[p] += 0.01 * rhs[2 * (p - known)][0];
        s.y[p] += 0.01 * rhs[2 * (p - known) + 1][0];
      }
      for (int i = 0; i < orientations_; ++i) z[i] += rhs[coords + i][0];
    }
    double vpv = 0.0;
    int free = 0;
    for (const Observation& o : obs_) {
      if (o.fixed) continue;
      const double v = Residual(o, s.x, s.y, z);
      vpv += o.weight * v * v;
      ++free;
    }
    s.sigma0 = std::sqrt(vpv / (free - params + constraints));
    Matrix identity(params + constraints, std::vector<double>(params + constraints, 0.0));
    for (int i = 0; i < params + constraints; ++i) identity[i][i] = 1.0;
    EXPECT_TRUE(SolveDense(kkt, identity));
    for (const Observation& o : obs_) {
      s.v.push_back(Residual(o, s.x, s.y, z));
      if (o.fixed) {
        s.qvv.push_back(0.0);
        s.jacobian.emplace_back();
        continue;
      }
      const std::vector<double> j = Jacobian(o, s.x, s.y, z, params);
      s.jacobian.push_back(j);
      double jqj = 0.0;
      for (int r = 0; r < params; ++r) {
        for (int c = 0; c < params; ++c) jqj += j[r] * identity[r][c] * j[c];
      }
      s.qvv.push_back(1.0 / o.weight - jqj);
    }
    s.qAll.assign(params, std::vector<double>(params, 0.0));
    for (int r = 0; r < params; ++r) {
      for (int c = 0; c < params; ++c) s.qAll[r][c] = identity[r][c];
    }
    s.q.assign(coords, std::vector<double>(coords, 0.0));
    for (int r = 0; r < coords; ++r) {
      for (int c = 0; c < coords; ++c) s.q[r][c] = identity[r][c];
    }
    return s;
  }

 private:
  static double Fold(double seconds) {
    const double full = 2.0 * kPi * kRhoSeconds;
    while (seconds > full / 2) seconds -= full;
    while (seconds < -full / 2) seconds += full;
    return seconds;
  }
  double Model(const Observation& o, const std::vector<double>& x, const std::vector<double>& y, double z) const {
    switch (o.kind) {
      case Observation::kDirection:
        return AzimuthOf(x[o.a], y[o.a], x[o.b], y[o.b]) * kRhoSeconds - z;
      case Observation::kAzimuth:
        return AzimuthOf(x[o.a], y[o.a], x[o.b], y[o.b]) * kRhoSeconds;
      default:
        return DistanceOf(x[o.a], y[o.a], x[o.b], y[o.b]) * 100.0;
    }
  }
  double Residual(const Observation& o, const std::vector<double>& x, const std::vector<double>& y,
                  const std::vector<double>& z) const {
    const double v = Model(o, x, y, o.orientation >= 0 ? z[o.orientation] : 0.0) - o.value;
    return o.kind == Observation::kDirection || o.kind == Observation::kAzimuth ? Fold(v) : v;
  }
  std::vector<double> Jacobian(const Observation& o, std::vector<double> x, std::vector<double> y,
                               const std::vector<double>& z, int params) const {
    std::vector<double> j(params, 0.0);
    const double h = 0.1;  // cm
    for (int p : {o.a, o.b}) {
      if (p < net_.knownCount) continue;
      const int k = 2 * (p - net_.knownCount);
      for (int axis = 0; axis < 2; ++axis) {
        double& coordinate = axis == 0 ? x[p] : y[p];
        const double keep = coordinate;
        coordinate = keep + 0.01 * h;
        const double up = Residual(o, x, y, z);
        coordinate = keep - 0.01 * h;
        const double down = Residual(o, x, y, z);
        coordinate = keep;
        j[k + axis] = (up - down) / (2.0 * h);
      }
    }
    if (o.orientation >= 0) j[2 * (net_.pointCount - net_.knownCount) + o.orientation] = -1.0;
    return j;
  }

  const PlaneNetwork& net_;
  std::vector<Observation> obs_;
  int orientations_;
};

// ---------------------------------------------------------------------------

// A network built from true coordinates with small observation errors, the
// approximate coordinates of its new points some centimetres off, and the
// same observations listed for the independent solution.
struct TestNetwork {
  NetworkBuilder b;
  std::vector<Observation> obs;
  int orientations = 0;
  int noise = 0;

  double Noise(double amplitude) { return amplitude * std::sin(1.7 * ++noise + 0.3); }

  void Points(const std::vector<std::string>& known, const std::vector<std::string>& unknown) {
    for (const auto& k : known) b.Given(k);
    for (const auto& u : unknown) b.ListPoint(u);
    for (const auto& u : unknown) {
      const int i = b.Index(u);
      b.net->x[i] = b.truth.at(u)[0] + Noise(0.2);
      b.net->y[i] = b.truth.at(u)[1] + Noise(0.2);
    }
  }
  void Set(const std::string& station, const std::vector<std::string>& targets) {
    const int z = orientations++;
    for (size_t t = 0; t < targets.size(); ++t) {
      double r = std::fmod(b.Azimuth(station, targets[t]) - b.Azimuth(station, targets[0]) + 2 * kPi, 2 * kPi);
      if (t > 0) r += Noise(2.0) / kRhoSeconds;
      const double dms = t == 0 ? 0.0 : RadiansToDms(r);
      b.Direction(station, targets[t], dms);
      obs.push_back({Observation::kDirection, b.Index(station), b.Index(targets[t]), DmsToRadians(dms) * kRhoSeconds,
                     1.0, false, z});
    }
  }
  void Distance(const std::string& a, const std::string& c) {
    const double length = b.Length(a, c) + Noise(0.01);
    b.Distance(a, c, length);
    const double m = 0.1 * b.net->distanceFixedError + 0.0001 * b.net->distanceScaleError * length;
    obs.push_back({Observation::kDistance, b.Index(a), b.Index(c), length * 100.0,
                   b.net->directionError * b.net->directionError / (m * m)});
  }
  void FixedAzimuth(const std::string& a, const std::string& c) {
    const double dms = RadiansToDms(b.Azimuth(a, c) + Noise(3.0) / kRhoSeconds);
    b.FixedAzimuth(a, c, dms);
    obs.push_back({Observation::kAzimuth, b.Index(a), b.Index(c), DmsToRadians(dms) * kRhoSeconds, 1.0, true});
  }
  void FixedSide(const std::string& a, const std::string& c) {
    const double length = b.Length(a, c) + Noise(0.02);
    b.FixedDistance(a, c, length);
    obs.push_back({Observation::kSide, b.Index(a), b.Index(c), length * 100.0, 1.0, true});
  }
  void WeightedAzimuth(const std::string& a, const std::string& c, double weight) {
    const double dms = RadiansToDms(b.Azimuth(a, c) + Noise(3.0) / kRhoSeconds);
    PlaneNetwork& n = *b.net;
    SetSlotText(n.weightedAzimuthFrom[n.weightedAzimuthCount], a);
    SetSlotText(n.weightedAzimuthTo[n.weightedAzimuthCount], c);
    n.weightedAzimuthWeight[n.weightedAzimuthCount] = weight;
    n.weightedAzimuth[n.weightedAzimuthCount++] = dms;
    obs.push_back({Observation::kAzimuth, b.Index(a), b.Index(c), DmsToRadians(dms) * kRhoSeconds, weight, false});
  }
  void WeightedSide(const std::string& a, const std::string& c, double weight) {
    const double length = b.Length(a, c) + Noise(0.02);
    b.WeightedDistance(a, c, length);
    b.net->weightedDistanceWeight[b.net->weightedDistanceCount - 1] = weight;
    obs.push_back({Observation::kSide, b.Index(a), b.Index(c), length * 100.0, weight, false});
  }
  // Sets, counts and redundancy as the confirmation leaves them.
  void Finish() {
    const InputCheck built = b.Confirm([](PlaneModel& m) {
      InputCheck sets = BuildDirectionSets(m);
      ComputeRedundancy(m);
      return sets;
    });
    ASSERT_TRUE(built) << (built.notes.empty() ? "" : GbkToUtf8(built.notes.back()));
  }
  // The counts again once the observations of the finished record changed.
  void Recount() {
    PlaneModel model = PlaneModelFromRecord(*b.net);
    ComputeRedundancy(model);
    PutPlanePointList(model, *b.net);
  }
};

struct Computation {
  std::unique_ptr<NormalEquationStore> normals = std::make_unique<NormalEquationStore>();
  ScriptedPlatform platform;
  TempDir dir;
  ReportFile report;
  SectionNumber section;
  PlaneModel model;  // the model of the last computation
  int iterations = 0;

  // A computation on the model of `net`, reporting into net.txt.
  PlaneComputation Start(const PlaneNetwork& net, const std::string& exportPath = "") {
    report.Create(dir.File("net.txt"));
    model = PlaneModelFromRecord(net);
    return {model, *normals, AskingThrough(platform), report, section, exportPath};
  }
  bool Adjust(PlaneNetwork& net, bool estimate = false) {
    PlaneComputation c = Start(net, dir.File("net坐标数据.txt"));
    const bool ok = estimate ? EstimatePlanePrecision(c) : AdjustPlaneNetwork(c);
    PutPlaneResults(model, net);
    ShowFailure(platform, c.dialogue);
    iterations = c.iterations;
    report.Close();
    return ok;
  }
  std::string Report() const { return GbkToUtf8(testing::ReadBytes(dir.File("net.txt"))); }
};

inline TestNetwork Triangulation() {
  TestNetwork t;
  NetworkBuilder& b = t.b;
  b.Place("K1", 3805123.456, 512345.678);
  b.Place("K2", 3806987.123, 514876.543);
  b.Place("P1", 3807512.250, 512101.750);
  b.Place("P2", 3809310.500, 514020.125);
  b.Place("P3", 3803980.875, 514510.375);
  t.Points({"K1", "K2"}, {"P1", "P2", "P3"});
  t.Set("K1", {"K2", "P1", "P3"});
  t.Set("K2", {"K1", "P3", "P2", "P1"});
  t.Set("P1", {"K1", "K2", "P2"});
  t.Set("P2", {"P1", "K2"});
  t.Set("P3", {"K1", "P1", "K2"});
  t.Distance("K1", "P1");
  t.Distance("K2", "P2");
  t.Distance("P1", "P2");
  t.Distance("P3", "K2");
  t.Finish();
  return t;
}

// One known point: the orientation and scale come from a fixed azimuth and a
// fixed side, with weighted observations and a constraint between new points.
// Without `oriented` the azimuths are left out: nothing orients the network,
// which is then free to rotate about the known point.
inline TestNetwork OneKnownPoint(bool oriented = true) {
  TestNetwork t;
  NetworkBuilder& b = t.b;
  b.Place("K1", 2000.0, 5000.0);
  b.Place("A", 2800.0, 5300.0);
  b.Place("B", 2500.0, 6100.0);
  b.Place("C", 1600.0, 5900.0);
  b.Place("D", 1300.0, 4700.0);
  t.Points({"K1"}, {"A", "B", "C", "D"});
  t.Set("K1", {"A", "B", "C", "D"});
  t.Set("A", {"K1", "B", "D"});
  t.Set("B", {"A", "C", "K1"});
  t.Set("C", {"B", "D", "K1"});
  t.Set("D", {"C", "K1", "A"});
  t.Distance("K1", "B");
  t.Distance("C", "D");
  if (oriented) t.FixedAzimuth("K1", "A");
  t.FixedSide("K1", "A");
  if (oriented) t.FixedAzimuth("B", "C");
  if (oriented) t.WeightedAzimuth("A", "D", 2.0);
  t.WeightedSide("B", "D", 0.5);
  t.Finish();
  return t;
}

}  // namespace qp::testing

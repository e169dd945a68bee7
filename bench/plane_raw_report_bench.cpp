// Confirming a plane network up to its written raw-data report: reading the
// input form, point list and approximate coordinates, approximate heights,
// side list, the report with its reductions, triangle and traverse closures
// and the gross-error search. No adjustment.
//
// Two generated networks:
// - "rows": the record's full capacity in mode 2. A 32 x 32 grid of points
//   500 m apart; each row is a connecting traverse between two known points
//   (64 known, each end oriented on the known point of the next row), every
//   station observing its two neighbours (2048 directions); 2048 sides (row
//   legs, column ties, some diagonals), each measured as a slope distance
//   from both ends (4096 distance lines); known heights on the first column.
// - "strip": a chain of 512 triangles in mode 1, every side observed from both
//   ends (2042 directions) and measured (1021 distances), pairs of known
//   points every 64 points: many triangles and a traverse search with a huge
//   number of paths (bounded by its leg and table limits).
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/format.h"
#include "common/settings_block.h"
#include "geodesy/angles.h"
#include "plane/plane_input_form.h"
#include "plane/plane_network.h"
#include "workflow/plane_workflow.h"

namespace qp {
namespace {

using bench::QuietPlatform;
using bench::ScratchFolder;
using bench::Wobble;

struct Point {
  std::string name;
  double x, y, h;
};

// Input form texts generated from true coordinates.
struct GeneratedNetwork {
  std::vector<Point> points;
  PlaneInputForm form;
  int noise = 0;

  GeneratedNetwork() {
    form.directionError = "1.8";
    form.distanceFixedError = "3";
    form.distanceScaleError = "2";
    form.refraction = "0.14";
    form.yOffset = "500000";
    form.projectionHeight = "0";
  }
  const Point& P(int i) const { return points[i]; }
  void Line(PlaneTextBox box, const std::string& line) { form.boxes[box] += line + "\r\n"; }
  void Known(int i) { Line(kKnownPointsBox, P(i).name + Format(",%.4f,%.4f", P(i).x, P(i).y)); }
  void Set(int station, const std::vector<int>& targets) {
    const Point& s = P(station);
    const double zero = AzimuthOf(s.x, s.y, P(targets[0]).x, P(targets[0]).y);
    for (size_t k = 0; k < targets.size(); ++k) {
      const Point& t = P(targets[k]);
      double r = std::fmod(AzimuthOf(s.x, s.y, t.x, t.y) - zero + 4.0 * kPi, 2.0 * kPi);
      if (k > 0) r += Wobble(++noise, 1.0) / kRhoSeconds;
      Line(kDirectionsBox, s.name + "," + t.name + Format(",%.6f", k == 0 ? 0.0 : RadiansToDms(r)));
    }
  }
  void Distance(int a, int b) {
    Line(kDistanceLinesBox, P(a).name + "," + P(b).name +
                                Format(",%.4f", DistanceOf(P(a).x, P(a).y, P(b).x, P(b).y) + Wobble(++noise, 0.003)));
  }
  // A slope distance a -> b with instrument and target height 1.5 m.
  void Slope(int a, int b, double refraction) {
    const double d = DistanceOf(P(a).x, P(a).y, P(b).x, P(b).y);
    const double h = P(b).h - P(a).h;
    const double s = std::sqrt(d * d + h * h);
    const double c = (1.0 - refraction) / (2.0 * kEarthRadius);
    double alpha = std::asin(h / s);
    for (int k = 0; k < 20; ++k) alpha = std::asin((h - c * s * s * std::cos(alpha) * std::cos(alpha)) / s);
    alpha += Wobble(++noise, 2.0) / kRhoSeconds;
    Line(kDistanceLinesBox, P(a).name + "," + P(b).name +
                                Format(",%.4f,1.500,1.500,%.5f", s + Wobble(++noise, 0.003), RadiansToDms(alpha)));
  }
};

GeneratedNetwork Rows() {
  constexpr int n = 32;
  GeneratedNetwork g;
  auto at = [](int r, int c) { return r * n + c; };
  int e = 0;
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c < n; ++c) {
      g.points.push_back({Format("R%02dC%02d", r, c), 3300000.0 + 500.0 * r + 60.0 * Wobble(++e, 1.0),
                          450000.0 + 500.0 * c + 60.0 * Wobble(++e, 1.0), 200.0 + 40.0 * Wobble(++e, 1.0)});
    }
  }
  g.form.calcMode = kSlopeReduced;
  g.form.closureMode = 2;
  g.form.networkName = "ROWS";
  for (int r = 0; r < n; ++r) g.Known(at(r, 0));
  for (int r = 0; r < n; ++r) g.Known(at(r, n - 1));
  for (int r = 0; r < n; ++r) {
    g.Line(kKnownHeightsBox, g.P(at(r, 0)).name + Format(",%.4f", g.P(at(r, 0)).h));
  }
  for (int r = 0; r < n; ++r) {
    const int next = r + 1 < n ? r + 1 : r - 1;
    g.Set(at(r, 0), {at(next, 0), at(r, 1)});
    for (int c = 1; c < n - 1; ++c) g.Set(at(r, c), {at(r, c - 1), at(r, c + 1)});
    g.Set(at(r, n - 1), {at(r, n - 2), at(next, n - 1)});
  }
  std::vector<std::pair<int, int>> sides;
  for (int r = 0; r < n; ++r) {
    for (int c = 0; c + 1 < n; ++c) sides.push_back({at(r, c), at(r, c + 1)});
  }
  for (int r = 0; r + 1 < n; ++r) {
    for (int c = 1; c + 1 < n; ++c) sides.push_back({at(r, c), at(r + 1, c)});
  }
  for (int c = 1; c <= 5 && sides.size() < 2048; ++c) {
    for (int r = 0; r + 1 < n && sides.size() < 2048; ++r) sides.push_back({at(r, c), at(r + 1, c + 1)});
  }
  for (const auto& [a, b] : sides) g.Slope(a, b, 0.14);
  for (const auto& [a, b] : sides) g.Slope(b, a, 0.14);
  return g;
}

GeneratedNetwork Strip() {
  constexpr int n = 512;
  GeneratedNetwork g;
  for (int k = 0; k < n; ++k) {
    g.points.push_back(
        {Format("S%03d", k), 3400000.0 + (k % 2) * 800.0 + 50.0 * Wobble(k, 1.0), 420000.0 + 500.0 * k, 0});
  }
  g.form.calcMode = kReducedObservations;
  g.form.closureMode = 2;
  g.form.networkName = "STRIP";
  for (int k = 0; k + 1 < n; k += 64) {
    g.Known(k);
    g.Known(k + 1);
  }
  for (int k = 0; k < n; ++k) {
    std::vector<int> targets;
    for (int d : {-2, -1, 1, 2}) {
      if (k + d >= 0 && k + d < n) targets.push_back(k + d);
    }
    g.Set(k, targets);
  }
  for (int k = 0; k < n; ++k) {
    if (k + 1 < n) g.Distance(k, k + 1);
    if (k + 2 < n) g.Distance(k, k + 2);
  }
  return g;
}

void Confirm(benchmark::State& state, const GeneratedNetwork& g) {
  const ScratchFolder folder("quorvex-bench-raw-report");
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<PlaneNetwork>();
  auto backup = std::make_unique<PlaneNetwork>();
  SectionNumber section;
  QuietPlatform platform;
  PlaneWorkspace ws{*settings, section, *net, *backup, folder.path() + "/NET.NAP"};
  for (auto _ : state) {
    state.PauseTiming();
    ResetPlaneNetwork(*net, ws.dataPath);
    state.ResumeTiming();
    if (!RunPlaneConfirmation(g.form, *net, platform, PlaneDraftPath(ws.ReportPath()), PlaneConfirmationPipeline(ws))) {
      state.SkipWithError("the network was not confirmed");
      break;
    }
  }
  state.counters["points"] = net->pointCount;
  state.counters["directions"] = net->directionCount;
  state.counters["distance_lines"] = net->distanceLineCount;
  state.counters["reduced"] = net->reducedCount;
  state.counters["traverses"] = net->closureCheckCount;
  state.counters["report_KiB"] = std::filesystem::file_size(ws.ReportPath()) / 1024.0;
}

void BM_ConfirmFullCapacityRows(benchmark::State& state) {
  static const GeneratedNetwork g = Rows();
  Confirm(state, g);
}
BENCHMARK(BM_ConfirmFullCapacityRows)->Unit(benchmark::kMillisecond);

void BM_ConfirmTriangleStrip(benchmark::State& state) {
  static const GeneratedNetwork g = Strip();
  Confirm(state, g);
}
BENCHMARK(BM_ConfirmTriangleStrip)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qp

BENCHMARK_MAIN();

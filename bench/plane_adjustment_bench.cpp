// A plane network at full capacity computed end to end: the input dialog's
// confirmation (point list, approximate coordinates, side list, raw-data
// report), the iterated adjustment with the solver at about 2030 unknowns,
// every result section and the stored results.
//
// The network: a 32 x 32 grid of points about 1 km apart (8 known points on
// the border, every other point with approximate coordinates some cm off),
// 512 stations with 4 directions each (2048), a distance to the east and to
// the north neighbour of each point (1984), 64 precision pairs; the
// observations carry small errors, so that the adjustment needs two
// iterations.
//
// The yardstick, measured in the same run: one dense factorisation and
// inversion of the order of the network's unknowns (reference_ms). The
// full cycle reports its fastest iteration (cycle_ms) and the ratio of the
// two (cycle_ratio), the peak resident memory of the process (peak_MiB,
// before the yardstick allocates its own matrix) against the store the
// adjustments are given (store_MiB), and the process before the records
// and the store exist (baseline_MiB).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <string>

#include "bench_support.h"
#include "reference_factorisation.h"
#include "common/format.h"
#include "common/settings_block.h"
#include "geodesy/angles.h"
#include "plane/plane_file.h"
#include "plane/plane_statistics.h"
#include "plane/plane_workflow.h"

namespace qp {
namespace {

using bench::QuietPlatform;
using bench::ScratchFolder;
using bench::Wobble;

constexpr int kSide = 32;

struct GridNetwork {
  double x[kSide][kSide];
  double y[kSide][kSide];
  std::string boxes[kPlaneTextBoxCount];

  static std::string Name(int r, int c) { return Format("G%02d%02d", r, c); }
  static bool Known(int r, int c) {
    const bool edgeR = r == 0 || r == kSide - 1, edgeC = c == 0 || c == kSide - 1;
    return (edgeR && edgeC) || (edgeR && c == kSide / 2) || (edgeC && r == kSide / 2);
  }

  GridNetwork() {
    int e = 0;
    for (int r = 0; r < kSide; ++r) {
      for (int c = 0; c < kSide; ++c) {
        x[r][c] = 3800000.0 + 1000.0 * r + 150.0 * Wobble(++e, 1.0);
        y[r][c] = 500000.0 + 1000.0 * c + 150.0 * Wobble(++e, 1.0);
        // Approximate coordinates are a few centimetres off the true ones.
        const double dx = Known(r, c) ? 0.0 : Wobble(++e, 0.05);
        const double dy = Known(r, c) ? 0.0 : Wobble(++e, 0.05);
        const std::string line = Name(r, c) + Format(",%.4f,%.4f\r\n", x[r][c] + dx, y[r][c] + dy);
        boxes[Known(r, c) ? kKnownPointsBox : kApproxPointsBox] += line;
      }
    }
    const int steps[8][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}, {1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
    for (int r = 0; r < kSide; ++r) {
      for (int c = 0; c < kSide; ++c) {
        if ((r + c) % 2 != 0) continue;
        int taken = 0;
        double zero = 0.0;
        for (const auto& s : steps) {
          const int tr = r + s[0], tc = c + s[1];
          if (tr < 0 || tc < 0 || tr >= kSide || tc >= kSide || taken == 4) continue;
          const double azimuth = AzimuthOf(x[r][c], y[r][c], x[tr][tc], y[tr][tc]);
          if (taken == 0) zero = azimuth;
          double direction = std::fmod(azimuth - zero + 4.0 * kPi, 2.0 * kPi);
          if (taken > 0) direction += Wobble(++e, 1.5) / kRhoSeconds;
          boxes[kDirectionsBox] +=
              Name(r, c) + "," + Name(tr, tc) + Format(",%.6f\r\n", taken == 0 ? 0.0 : RadiansToDms(direction));
          ++taken;
        }
        if (r + 2 < kSide && c + 2 < kSide && (r * kSide + c) % 16 == 0 &&
            std::count(boxes[kPrecisionPairsBox].begin(), boxes[kPrecisionPairsBox].end(), '\n') < 64 &&
            !Known(r, c) && !Known(r + 2, c + 2)) {
          boxes[kPrecisionPairsBox] += Name(r, c) + "," + Name(r + 2, c + 2) + "\r\n";
        }
      }
    }
    for (int r = 0; r < kSide; ++r) {
      for (int c = 0; c < kSide; ++c) {
        for (const auto& s : {std::pair{0, 1}, std::pair{1, 0}}) {
          const int tr = r + s.first, tc = c + s.second;
          if (tr >= kSide || tc >= kSide) continue;
          const double length = DistanceOf(x[r][c], y[r][c], x[tr][tc], y[tr][tc]) + Wobble(++e, 0.004);
          boxes[kDistanceLinesBox] += Name(r, c) + "," + Name(tr, tc) + Format(",%.4f\r\n", length);
        }
      }
    }
  }
};

void BM_FullCapacityPlaneNetwork(benchmark::State& state) {
  static const GridNetwork grid;
  const ScratchFolder folder("quorvex-bench-plane");
  // The process before the records and the store exist.
  state.counters["baseline_MiB"] = bench::PeakResidentMiB();
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<PlaneNetwork>();
  auto backup = std::make_unique<PlaneNetwork>();
  auto normals = std::make_unique<NormalEquationStore>();
  SectionNumber section;
  QuietPlatform platform;
  PlaneWorkspace ws{*settings, section, *net, *backup, folder.path() + "/GRID.NAP"};
  ws.normals = normals.get();
  // With argument 1 every cycle takes a new store, as a run of the
  // command-line driver does; with 0 the store is kept, as the desktop
  // program keeps it from one computation to the next.
  std::unique_ptr<NormalEquationStore> fresh;
  const double before = bench::PeakResidentMiB();
  double fastest = -1.0;
  for (auto _ : state) {
    state.PauseTiming();
    ResetSettingsBlock(*settings);
    ResetPlaneNetwork(*net, ws.dataPath);
    fresh.reset();
    state.ResumeTiming();
    const auto cycleStart = std::chrono::steady_clock::now();
    if (state.range(0) != 0) {
      fresh = std::make_unique<NormalEquationStore>();
      ws.normals = fresh.get();
    }
    const PlaneEditResult result =
        EditPlaneNetwork(ws, platform, [&](PlaneNetwork& record, const std::string& draft,
                                           const PlaneConfirmationSteps& steps) {
          PlaneInputForm form;
          InitializePlaneForm(form, record, draft);
          form.networkName = "GRID";
          for (int b = 0; b < kPlaneTextBoxCount; ++b) form.boxes[b] = grid.boxes[b];
          return RunPlaneConfirmation(form, record, platform, draft, steps);
        });
    if (result != PlaneEditResult::Computed) {
      state.SkipWithError("the network was not computed");
      break;
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - cycleStart).count();
    if (fastest < 0.0 || ms < fastest) fastest = ms;
  }
  // Memory first: the reference below needs a full matrix of its own.
  const double peak = bench::PeakResidentMiB();
  state.counters["peak_MiB"] = peak;
  state.counters["store_MiB"] = bench::SpecifiedStoreMiB();
  state.counters["growth_MiB"] = peak - before;
  // The same run's yardstick: one dense factorisation and inversion of the
  // order of the network's unknowns.
  const double reference = bench::ReferenceFactorInvertMs(net->unknownCount);
  state.counters["reference_ms"] = reference;
  state.counters["cycle_ms"] = fastest;
  state.counters["cycle_ratio"] = fastest / reference;
  state.counters["unknowns"] = net->unknownCount;
  state.counters["directions"] = net->directionCount;
  state.counters["distances"] = net->reducedCount;
  state.counters["sigma0"] = net->sigma0;
  // The statistics report alone (it is part of every iteration above), on the
  // cofactors the last computation left.
  const auto start = std::chrono::steady_clock::now();
  WritePlaneStatisticsReport(*net, *ws.normals, true, folder.path() + "/STAT.txt", 0, StatisticsOptions{});
  state.counters["statistics_ms"] =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
// The peak memory is the process's: run one case per process
// (--benchmark_filter=BM_FullCapacityPlaneNetwork/0) for its figure.
BENCHMARK(BM_FullCapacityPlaneNetwork)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The solver alone at the largest plane size: the solution of one iteration,
// and the solution followed by the cofactors of the last.
void BM_NormalEquations(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const bool inverse = state.range(1) != 0;
  auto store = std::make_unique<NormalEquationStore>();
  QuietPlatform platform;
  std::vector<double> x;
  for (auto _ : state) {
    state.PauseTiming();
    store->Clear(n);
    for (int i = 0; i < n; ++i) {
      for (int j = std::max(0, i - 40); j < i; ++j) store->At(i, j) = 0.01 * Wobble(i * n + j, 1.0);
      store->At(i, i) = 2.0;
      store->Rhs()[i] = Wobble(i, 1.0);
    }
    state.ResumeTiming();
    if (store->SolveNormal(n, x) != SolveStatus::Solved) state.SkipWithError("refused");
    if (inverse) store->CompleteInverse();
  }
}
BENCHMARK(BM_NormalEquations)->Args({2176, 0})->Args({2176, 1})->Unit(benchmark::kMillisecond);

// The yardstick alone: one dense factorisation and inversion of the order of
// the network's unknowns (2030).
BENCHMARK(bench::ReferenceFactorInvertBenchmark)
    ->Name("BM_ReferenceFactorInvert")
    ->Arg(2030)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qp

BENCHMARK_MAIN();

// A plane network at full capacity computed end to end: the input dialog's
// confirmation (point list, approximate coordinates, side list, raw-data
// report), the iterated adjustment with the solver at about 2030 unknowns,
// every result section and the stored results.
//
// The network: the plane grid of full_capacity_networks.h.
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
#include "full_capacity_networks.h"
#include "reference_factorisation.h"
#include "common/format.h"
#include "common/settings_block.h"
#include "geodesy/angles.h"
#include "plane/plane_file.h"
#include "plane/plane_model_record.h"
#include "plane/plane_statistics.h"
#include "workflow/plane_workflow.h"

namespace qp {
namespace {

using bench::QuietPlatform;
using bench::ScratchFolder;
using bench::GridNetwork;
using bench::Wobble;


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
    const NetworkEditResult result =
        EditPlaneNetwork(ws, platform, [&](PlaneNetwork& record, const PlaneDialogTarget& target) {
          PlaneInputForm form;
          InitializePlaneForm(form, record, target.draftPath);
          grid.Fill(form);
          return RunPlaneConfirmation(form, record, platform, target.draftPath, target.steps).accepted;
        });
    if (result != NetworkEditResult::Computed) {
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
  WritePlaneStatisticsReport(PlaneModelFromRecord(*net), *ws.normals, true, folder.path() + "/STAT.txt", 0, StatisticsOptions{});
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

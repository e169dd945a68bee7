// A levelling network at full capacity computed end to end: the input
// dialog's confirmation (point list, approximate heights, raw-data report
// with the levelling lines and the closure search), the adjustment with
// about 2040 unknowns, every result section, the export and the stored
// results.
//
// The network: the levelling grid of full_capacity_networks.h.
//
// The yardstick, measured in the same run: one dense factorisation and
// inversion of the order of the network's unknowns (reference_ms). The
// full cycle reports its fastest iteration (cycle_ms) and the ratio of the
// two (cycle_ratio), the peak resident memory of the process (peak_MiB,
// before the yardstick allocates its own matrix) against the store the
// adjustments are given (store_MiB), and the process before the records
// and the store exist (baseline_MiB).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "full_capacity_networks.h"
#include "reference_factorisation.h"
#include "common/format.h"
#include "common/settings_block.h"
#include "height/height_file.h"
#include "height/height_model_record.h"
#include "height/height_statistics.h"
#include "workflow/height_workflow.h"

namespace qp {
namespace {

using bench::QuietPlatform;
using bench::ScratchFolder;
using bench::LevellingGrid;
using bench::Wobble;


const LevellingGrid& Grid() {
  static const LevellingGrid grid;
  return grid;
}

bool Confirm(HeightNetwork& record, const HeightReportTarget& target, PlatformServices& platform) {
  HeightInputForm form;
  InitializeHeightForm(form, record, target.sidePath);
  Grid().Fill(form);
  return RunHeightConfirmation(form, record, platform, target).accepted;
}

void BM_FullCapacityLevellingNetwork(benchmark::State& state) {
  Grid();
  const ScratchFolder folder("quorvex-bench-height");
  // The process before the records and the store exist.
  state.counters["baseline_MiB"] = bench::PeakResidentMiB();
  auto settings = std::make_unique<SettingsBlock>();
  auto net = std::make_unique<HeightNetwork>();
  auto backup = std::make_unique<HeightNetwork>();
  auto normals = std::make_unique<NormalEquationStore>();
  SectionNumber section;
  QuietPlatform platform;
  HeightWorkspace ws{*settings, section, *net, *backup, folder.path() + "/GRID.NAH"};
  ws.normals = normals.get();
  // With argument 1 every cycle takes a new store, as a run of the
  // command-line driver does; with 0 the store is kept, as the desktop
  // program keeps it from one computation to the next.
  std::unique_ptr<NormalEquationStore> fresh;
  double fastest = -1.0;
  for (auto _ : state) {
    state.PauseTiming();
    ResetSettingsBlock(*settings);
    ResetHeightNetwork(*net, ws.dataPath);
    fresh.reset();
    state.ResumeTiming();
    const auto cycleStart = std::chrono::steady_clock::now();
    if (state.range(0) != 0) {
      fresh = std::make_unique<NormalEquationStore>();
      ws.normals = fresh.get();
    }
    const NetworkEditResult result = EditHeightNetwork(
        ws, platform, [&](HeightNetwork& record, const HeightReportTarget& target) {
          return Confirm(record, target, platform);
        });
    if (result != NetworkEditResult::Computed) {
      state.SkipWithError("the network was not computed");
      break;
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - cycleStart).count();
    if (fastest < 0.0 || ms < fastest) fastest = ms;
  }
  // Memory first: the reference below needs a full matrix of its own.
  state.counters["peak_MiB"] = bench::PeakResidentMiB();
  state.counters["store_MiB"] = bench::SpecifiedStoreMiB();
  state.counters["unknowns"] = net->unknownCount;
  // The same run's yardstick: one dense factorisation and inversion of the
  // order of the network's unknowns.
  const double reference = bench::ReferenceFactorInvertMs(net->unknownCount);
  state.counters["reference_ms"] = reference;
  state.counters["cycle_ms"] = fastest;
  state.counters["cycle_ratio"] = fastest / reference;
  state.counters["points"] = net->pointCount;
  state.counters["differences"] = net->observationCount;
  state.counters["closures"] = net->loopCount;
  state.counters["sigma0"] = net->sigma0;
  // The statistics report alone (part of every iteration above).
  const HeightModel model = HeightModelFromRecord(*net);
  const auto start = std::chrono::steady_clock::now();
  WriteHeightStatisticsReport(model, *ws.normals, true, folder.path() + "/STAT.txt", 0, StatisticsOptions{});
  state.counters["statistics_ms"] =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
// The peak memory is the process's: run one case per process
// (--benchmark_filter=BM_FullCapacityLevellingNetwork/0) for its figure.
BENCHMARK(BM_FullCapacityLevellingNetwork)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

// The confirmation alone: parsing, point list, approximate heights, the
// raw-data report with the line merging and the closure search.
void BM_FullCapacityConfirmation(benchmark::State& state) {
  Grid();
  const ScratchFolder folder("quorvex-bench-height");
  auto net = std::make_unique<HeightNetwork>();
  SectionNumber section;
  QuietPlatform platform;
  const HeightReportTarget target{folder.path() + "/GRID.txt", folder.path() + "/GRID.HTP", section};
  for (auto _ : state) {
    state.PauseTiming();
    ResetHeightNetwork(*net, "GRID.NAH");
    state.ResumeTiming();
    if (!Confirm(*net, target, platform)) {
      state.SkipWithError("the network was not confirmed");
      break;
    }
  }
  state.counters["closures"] = net->loopCount;
  state.counters["peak_MiB"] = bench::PeakResidentMiB();
}
BENCHMARK(BM_FullCapacityConfirmation)->Unit(benchmark::kMillisecond);

// The yardstick alone: one dense factorisation and inversion of the order of
// the network's unknowns (2042).
BENCHMARK(bench::ReferenceFactorInvertBenchmark)
    ->Name("BM_ReferenceFactorInvert")
    ->Arg(2042)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qp

BENCHMARK_MAIN();

// A levelling network at full capacity computed end to end: the input
// dialog's confirmation (point list, approximate heights, raw-data report
// with the levelling lines and the closure search), the adjustment with
// about 2040 unknowns, every result section, the export and the stored
// results.
//
// The network: 28 x 20 junction points 2 km apart joined to their east and
// north neighbours by levelling lines of two or three sections (1072 lines,
// 2560 sections, 1488 points between the junctions: 2048 points), six known
// points, 64 precision pairs. The sections are typed in a scrambled order,
// some against their direction, and carry small errors.
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
#include "reference_factorisation.h"
#include "common/format.h"
#include "common/settings_block.h"
#include "height/height_file.h"
#include "height/height_statistics.h"
#include "height/height_workflow.h"

namespace qp {
namespace {

using bench::QuietPlatform;
using bench::ScratchFolder;
using bench::Wobble;

constexpr int kRows = 28;
constexpr int kCols = 20;

double TrueHeight(double r, double c) { return 300.0 + 12.0 * std::sin(0.21 * r) + 9.0 * std::cos(0.17 * c) + 0.8 * r; }

struct LevellingGrid {
  std::string known, differences, pairs;

  static std::string Junction(int r, int c) { return Format("J%02d%02d", r, c); }
  static bool Known(int r, int c) {
    return (r == 0 || r == kRows - 1) && (c == 0 || c == kCols - 1 || c == kCols / 2);
  }

  LevellingGrid() {
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kCols; ++c) {
        if (Known(r, c)) known += Junction(r, c) + Format(",%.4f\r\n", TrueHeight(r, c));
      }
    }
    std::vector<std::string> lines;
    int line = 0, e = 0, inner = 0;
    for (int r = 0; r < kRows; ++r) {
      for (int c = 0; c < kCols; ++c) {
        for (auto [dr, dc] : {std::pair{0, 1}, std::pair{1, 0}}) {
          if (r + dr >= kRows || c + dc >= kCols) continue;
          // 416 of the 1072 lines have three sections, the others two.
          const int sections = (line++ * 416) % 1072 < 416 ? 3 : 2;
          std::string previous = Junction(r, c);
          double previousHeight = TrueHeight(r, c);
          for (int s = 1; s <= sections; ++s) {
            const double t = static_cast<double>(s) / sections;
            const bool last = s == sections;
            const std::string next = last ? Junction(r + dr, c + dc) : Format("Z%04d", inner++);
            const double nextHeight = TrueHeight(r + dr * t, c + dc * t);
            const double km = 2.0 / sections;
            const double h = nextHeight - previousHeight + Wobble(++e, 0.0015);
            // Every fifth section is typed from its far end.
            lines.push_back(e % 5 == 0 ? next + "," + previous + Format(",%.5f,%.3f\r\n", -h, km)
                                       : previous + "," + next + Format(",%.5f,%.3f\r\n", h, km));
            previous = next;
            previousHeight = nextHeight;
          }
        }
      }
    }
    // A scrambled order: every seventh section moved to the end.
    std::stable_partition(lines.begin(), lines.end(), [n = 0](const std::string&) mutable { return n++ % 7 != 3; });
    for (const auto& l : lines) differences += l;
    for (int k = 0; k < 64; ++k) {
      pairs += Junction(1 + k % 25, 1 + k / 25 * 5) + "," + Junction(2 + k % 25, 3 + k / 25 * 5) + "\r\n";
    }
  }
};

const LevellingGrid& Grid() {
  static const LevellingGrid grid;
  return grid;
}

bool Confirm(HeightNetwork& record, const HeightReportTarget& target, PlatformServices& platform) {
  HeightInputForm form;
  InitializeHeightForm(form, record, target.sidePath);
  form.mode = kHeightAdjust;
  form.kind = kLevellingNetwork;
  form.networkName = "GRID";
  form.priorError = "1.0";
  form.boxes[kHeightKnownBox] = Grid().known;
  form.boxes[kHeightDifferencesBox] = Grid().differences;
  form.boxes[kHeightPairsBox] = Grid().pairs;
  return RunHeightConfirmation(form, record, platform, target);
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
    const HeightEditResult result = EditHeightNetwork(
        ws, platform, [&](HeightNetwork& record, const HeightReportTarget& target) {
          return Confirm(record, target, platform);
        });
    if (result != HeightEditResult::Computed) {
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
  const auto start = std::chrono::steady_clock::now();
  WriteHeightStatisticsReport(*net, *ws.normals, true, folder.path() + "/STAT.txt", 0, StatisticsOptions{});
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

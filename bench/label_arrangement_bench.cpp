// "注记整理" on the full-capacity networks of full_capacity_networks.h, as
// computed (the plane grid: 1024 names and the traverse closure texts; the
// levelling grid: 2048 names and its loop texts), kind by kind. Each run
// draws the sheet into the obstacle index, places every movable text and
// stores the moves. Target: well under a second per kind. Measured here
// (RelWithDebInfo, one core of a shared 2-core machine): plane kinds 33-112 ms
// CPU, levelling kinds 171-501 ms.
#include <benchmark/benchmark.h>

#include <memory>

#include "bench_support.h"
#include "full_capacity_networks.h"
#include "common/settings_block.h"
#include "workflow/diagram_preparation.h"
#include "drawing/label_arrangement.h"
#include "height/height_input_form.h"
#include "height/height_model_record.h"
#include "workflow/height_workflow.h"
#include "plane/plane_input_form.h"
#include "plane/plane_model_record.h"
#include "workflow/plane_workflow.h"

namespace qp {
namespace {

using bench::QuietPlatform;
using bench::ScratchFolder;

template <typename Network>
struct Computed {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  std::unique_ptr<Network> net = std::make_unique<Network>();
};

const Computed<PlaneNetwork>& PlaneGrid() {
  static const Computed<PlaneNetwork> done = [] {
    static const bench::GridNetwork grid;
    Computed<PlaneNetwork> c;
    const ScratchFolder folder("quorvex-bench-arrange");
    auto backup = std::make_unique<PlaneNetwork>();
    SectionNumber section;
    QuietPlatform platform;
    ResetSettingsBlock(*c.settings);
    PlaneWorkspace ws{*c.settings, section, *c.net, *backup, folder.path() + "/GRID.NAP"};
    ResetPlaneNetwork(*c.net, ws.dataPath);
    ws.prepareDiagram = PreparePlaneDiagram;
    EditPlaneNetwork(ws, platform, [&](PlaneNetwork& record, const PlaneDialogTarget& target) {
      PlaneInputForm form;
      InitializePlaneForm(form, record, target.draftPath);
      grid.Fill(form);
      return RunPlaneConfirmation(form, record, platform, target.draftPath, target.steps).accepted;
    });
    return c;
  }();
  return done;
}

const Computed<HeightNetwork>& LevellingGrid() {
  static const Computed<HeightNetwork> done = [] {
    static const bench::LevellingGrid grid;
    Computed<HeightNetwork> c;
    const ScratchFolder folder("quorvex-bench-arrange");
    auto backup = std::make_unique<HeightNetwork>();
    SectionNumber section;
    QuietPlatform platform;
    ResetSettingsBlock(*c.settings);
    HeightWorkspace ws{*c.settings, section, *c.net, *backup, folder.path() + "/GRID.NAH"};
    ResetHeightNetwork(*c.net, ws.dataPath);
    ws.prepareDiagram = PrepareHeightDiagram;
    EditHeightNetwork(ws, platform, [&](HeightNetwork& record, const HeightReportTarget& target) {
      HeightInputForm form;
      InitializeHeightForm(form, record, target.sidePath);
      grid.Fill(form);
      return RunHeightConfirmation(form, record, platform, target).accepted;
    });
    return c;
  }();
  return done;
}

// Arranges the model of the computed network, drawn as kind state.range(0).
template <typename Network, typename ModelOf, typename Arrange>
void Run(benchmark::State& state, const Computed<Network>& source, ModelOf modelOf, Arrange arrange) {
  auto settings = std::make_unique<SettingsBlock>();
  int moved = -1;
  for (auto _ : state) {
    state.PauseTiming();
    *settings = *source.settings;
    auto model = modelOf(*source.net);
    model.diagram.kind = static_cast<int>(state.range(0));
    state.ResumeTiming();
    const auto result = arrange(*settings, model, LabelMarks{}, DrawContext{});
    if (!result) {
      state.SkipWithError("the sheet cannot be drawn");
      break;
    }
    moved = *result;
  }
  state.counters["moved"] = moved;
}

void BM_ArrangePlaneGrid(benchmark::State& state) {
  Run(state, PlaneGrid(), PlaneModelFromRecord, ArrangePlaneLabels);
}
BENCHMARK(BM_ArrangePlaneGrid)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

void BM_ArrangeLevellingGrid(benchmark::State& state) {
  Run(state, LevellingGrid(), HeightModelFromRecord, ArrangeHeightLabels);
}
BENCHMARK(BM_ArrangeLevellingGrid)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qp

BENCHMARK_MAIN();

// The vector export of a full-capacity plane network: the settings block,
// the diagram and the frame and grid written to a .vec image in memory.
//
// The network: 1024 points on a 32 x 32 grid about 1 km apart, 4096 sides
// (neighbours, diagonals and a few longer links), on a 1:50000 sheet of
// 700 x 700 mm with the standard grid and its labels.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_support.h"
#include "common/format.h"
#include "common/name_slot.h"
#include "common/settings_block.h"
#include "drawing/network_drawing.h"
#include "drawing/vec_file.h"
#include "plane/plane_model_record.h"
#include "plane/plane_network.h"

namespace qp {
namespace {

constexpr int kSide = 32;

std::unique_ptr<PlaneNetwork> FullNetwork() {
  auto net = std::make_unique<PlaneNetwork>();
  ResetPlaneNetwork(*net, "GRID.NAP");
  net->pointCount = kMaxPlanePoints;
  for (int r = 0; r < kSide; ++r) {
    for (int c = 0; c < kSide; ++c) {
      const int i = r * kSide + c;
      SetSlotText(net->pointName[i], Format("G%02d%02d", r, c));
      net->x[i] = 3800000.0 + 1000.0 * r + 150.0 * bench::Wobble(2 * i, 1.0);
      net->y[i] = 500000.0 + 1000.0 * c + 150.0 * bench::Wobble(2 * i + 1, 1.0);
    }
  }
  const int steps[][2] = {{0, 1}, {1, 0}, {1, 1}, {1, -1}, {2, 1}, {1, 2}};
  int n = 0;
  for (const auto& s : steps) {
    for (int r = 0; r < kSide && n < kMaxSides; ++r) {
      for (int c = 0; c < kSide && n < kMaxSides; ++c) {
        const int tr = r + s[0], tc = c + s[1];
        if (tr >= kSide || tc < 0 || tc >= kSide) continue;
        SetSlotText(net->sideFrom[n], Format("G%02d%02d", r, c));
        SetSlotText(net->sideTo[n], Format("G%02d%02d", tr, tc));
        ++n;
      }
    }
  }
  net->sideCount = n;
  return net;
}

void FullSheet(SettingsBlock& b) {
  ResetSettingsBlock(b);
  b.scale = b.appliedScale = 50000;
  b.cornerX = b.previousCornerX = b.mapOriginX = 3799000;
  b.cornerY = b.previousCornerY = b.mapOriginY = 499000;
  b.sheetHeight = b.sheetWidth = 700;
  b.northEdgeX = b.cornerX + 700 * 50.0;
  b.eastEdgeY = b.cornerY + 700 * 50.0;
  b.gridRows = b.gridCols = 7;
  b.canvasHeightPx = 6140;
  b.canvasWidthPx = b.canvasWidthPx2 = 5824;
  b.gridStyle = 0;
  b.showGridLabels = 1;
  b.showScale = 1;
}

void BM_ExportFullPlaneDrawing(benchmark::State& state) {
  const auto net = FullNetwork();
  const PlaneModel model = PlaneModelFromRecord(*net);
  auto settings = std::make_unique<SettingsBlock>();
  FullSheet(*settings);
  const DrawContext context;
  size_t bytes = 0;
  for (auto _ : state) {
    const auto vec = BuildVecFile(*settings, [&](EntitySink& sink) {
      DrawNetworkSheet(sink, *settings, model, context);
    });
    bytes = vec.size();
    benchmark::DoNotOptimize(vec.data());
  }
  const auto parsed = ParseVecEntities(BuildVecFile(*settings, [&](EntitySink& sink) {
    DrawNetworkSheet(sink, *settings, model, context);
  }));
  state.counters["points"] = net->pointCount;
  state.counters["sides"] = net->sideCount;
  state.counters["vec_bytes"] = static_cast<double>(bytes);
  state.counters["entities"] = parsed ? static_cast<double>(parsed->entities.size()) : -1;
}
BENCHMARK(BM_ExportFullPlaneDrawing)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qp

BENCHMARK_MAIN();

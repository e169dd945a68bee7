// The height network diagram of a network at full capacity (2048 points,
// 2560 height differences, every one a bent curve, 64 precision pairs, 1024
// flagged closures), drawn in every kind into a sink that only counts, with
// the movable items listed as the view's move tools do. The arrows sample
// every curve in canvas pixels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "bench_support.h"
#include "common/format.h"
#include "common/name_slot.h"
#include "drawing/height_diagram.h"
#include "height/height_layout.h"
#include "height/height_model_record.h"
#include "workflow/height_workflow.h"

namespace qp {
namespace {

struct CountingSink : EntitySink {
  long shapes = 0, texts = 0, points = 0;
  void Shape(const EntityHeader&, const ShapeBlock&, std::span<const GroundPoint> p) override {
    ++shapes;
    points += static_cast<long>(p.size());
  }
  void Text(const EntityHeader&, const TextBlock&) override { ++texts; }
};

std::unique_ptr<HeightNetwork> FullNetwork(int mode) {
  auto net = std::make_unique<HeightNetwork>();
  ResetHeightNetwork(*net, "bench.NAH");
  net->mode = mode;
  net->pointCount = kMaxHeightPoints;
  net->knownCount = 16;
  for (int p = 0; p < kMaxHeightPoints; ++p) {
    SetSlotText(net->pointName[p], Format("P%04d", p));
    net->height[p] = 100.0 + bench::Wobble(p, 20.0);
    net->heightError[p] = static_cast<float>(1.0 + bench::Wobble(p + 7, 0.5));
  }
  // 2048 points in rows of 45: each point joined to its east neighbour and,
  // for the first 512 points, to its north neighbour.
  const int c = 45;
  int i = 0;
  for (int p = 0; p < kMaxHeightPoints && i < kMaxHeightDifferences; ++p) {
    for (int step : {1, c}) {
      if (p + step >= kMaxHeightPoints || (step == 1 && (p + 1) % c == 0) || i >= kMaxHeightDifferences) continue;
      if (step == c && i >= kMaxHeightDifferences - 1) continue;
      SetSlotText(net->from[i], SlotText(net->pointName[p]));
      SetSlotText(net->to[i], SlotText(net->pointName[p + step]));
      net->observed[i] = net->height[p + step] - net->height[p];
      net->weightElement[i] = 1.0 + 0.001 * i;
      SetDifferenceError(*net, i, static_cast<float>(1.5 + bench::Wobble(i, 0.4)));
      ++i;
    }
  }
  net->observationCount = i;
  net->pairCount = kMaxHeightPairs;
  for (int k = 0; k < kMaxHeightPairs; ++k) {
    SetSlotText(net->pairFrom[k], SlotText(net->pointName[20 + 3 * k]));
    SetSlotText(net->pairTo[k], SlotText(net->pointName[400 + 5 * k]));
    net->pairDifference[k] = net->height[400 + 5 * k] - net->height[20 + 3 * k];
    net->pairError[k] = 2.0f;
  }
  net->loopCount = kMaxLoopEntries;
  for (int k = 0; k < kMaxLoopEntries; ++k) {
    LoopEntry& e = net->loops[k];
    e.kind = kLoopQuadrilateral;
    const int p = k + k / (c - 1);
    const int corners[] = {p, p + 1, p + 1 + c, p + c};
    for (int s = 0; s < 4; ++s) SetSlotText(e.names[s], SlotText(net->pointName[corners[s] % kMaxHeightPoints]));
    e.closure = static_cast<float>(bench::Wobble(k, 6.0));
    for (int s = 0; s < 4; ++s) e.sections[s] = 1 + s;
    e.drawFlag = 1;
  }
  HeightModel model = HeightModelFromRecord(*net);
  ApplyDefaultHeightLayout(model, 256);
  PutHeightLayout(model, *net);
  // Bend every curve a little so the arrows take the sampled route.
  for (int d = 0; d < net->observationCount; ++d) net->curve[d][2][0] += 15.0 + bench::Wobble(d, 5.0);
  return net;
}

SheetGeometry BenchSheet() {
  SheetGeometry s;
  s.scale = 2000.0;
  s.resolution = 200.f;
  s.cornerX = 7800.0;
  s.cornerY = 15800.0;
  s.canvasHeightPx = 30000;
  s.canvasWidthPx = 30000;
  return s;
}

void BM_HeightDiagram(benchmark::State& state) {
  const auto net = FullNetwork(state.range(1) != 0 ? kHeightAdjust : kHeightEstimate);
  net->diagramKind = static_cast<int32_t>(state.range(0));
  CountingSink sink;
  for (auto _ : state) {
    EntityEmitter out(sink, BenchSheet());
    MovableItemList items;
    DrawHeightDiagram(out, HeightModelFromRecord(*net), DrawContext{}, &items);
    benchmark::DoNotOptimize(items.Items().size());
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["shapes"] = sink.shapes / runs;
  state.counters["texts"] = sink.texts / runs;
}
BENCHMARK(BM_HeightDiagram)
    ->ArgsProduct({{0, 1, 2, 3}, {1}})
    ->Args({2, 0})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qp

BENCHMARK_MAIN();

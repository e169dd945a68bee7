// Drawing every plane diagram kind of a network at the record's full
// capacity (full_plane_drawing.h). The entities go to a sink that only counts
// them, so the time is the diagram's own. Target: well under 200 ms per kind.
#include <benchmark/benchmark.h>

#include <memory>

#include "full_plane_drawing.h"
#include "drawing/plane_diagram.h"

namespace qp {
namespace {

class CountingSink : public EntitySink {
 public:
  void Shape(const EntityHeader&, const ShapeBlock&, std::span<const GroundPoint> points) override {
    ++shapes;
    vertices += points.size();
  }
  void Text(const EntityHeader&, const TextBlock& block) override {
    ++texts;
    vertices += static_cast<size_t>(block.length);
  }
  size_t shapes = 0, texts = 0, vertices = 0;
};

void DrawKind(benchmark::State& state) {
  static const std::unique_ptr<PlaneNetwork> net = bench::FullPlaneDrawingNetwork();
  PlaneModel model = PlaneModelFromRecord(*net);
  model.diagram.kind = static_cast<int>(state.range(0));
  SheetGeometry sheet;
  sheet.scale = 10000.0;
  sheet.cornerX = 3799000.0;
  sheet.cornerY = 499000.0;
  CountingSink sink;
  for (auto _ : state) {
    EntityEmitter out(sink, sheet);
    MovableItemList items;
    DrawPlaneDiagram(out, model, DrawContext{}, &items);
    benchmark::DoNotOptimize(items.Items().data());
  }
  state.counters["shapes"] = static_cast<double>(sink.shapes) / static_cast<double>(state.iterations());
  state.counters["texts"] = static_cast<double>(sink.texts) / static_cast<double>(state.iterations());
}
BENCHMARK(DrawKind)->DenseRange(0, 7)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qp

BENCHMARK_MAIN();

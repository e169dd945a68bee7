// Drawing a full-capacity plane network diagram: about 20,000 entities as the
// diagram of a 32 x 32 grid of 1024 points sends them (point symbols, centre
// marks, names and heights, 2945 side lines with their three annotation
// texts, 1024 point error ellipses with their axes, a few hundred curves, the
// frame), rendered by the
// renderer onto a device that only counts, at the screen's 1:1 zoom and
// zoomed out; and the same stream written as an SVG picture.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "common/format.h"
#include "common/gbk_text.h"
#include "common/settings_block.h"
#include "drawing/renderer.h"
#include "drawing/svg_picture.h"

namespace qp {
namespace {

using bench::Wobble;

class CountingDevice : public DrawingDevice {
 public:
  void SetPen(Rgb, PenStyle, int) override { ++pens; }
  void SetBrush(std::optional<Rgb>) override {}
  void Polyline(std::span<const ScreenPoint> p) override { ++figures, points += p.size(); }
  void Polygon(std::span<const ScreenPoint> p) override { ++figures, points += p.size(); }
  void Glyph(ScreenPoint, std::string_view, const GlyphFont&, Rgb, bool) override { ++glyphs; }
  long pens = 0, figures = 0, points = 0, glyphs = 0;
};

// The entities kept as a sink receives them, replayed into any sink.
class EntityTape : public EntitySink {
 public:
  void Shape(const EntityHeader& h, const ShapeBlock& b, std::span<const GroundPoint> p) override {
    shapes_.push_back({h, b, {p.begin(), p.end()}});
    order_.push_back(false);
  }
  void Text(const EntityHeader& h, const TextBlock& b) override {
    texts_.push_back({h, b});
    order_.push_back(true);
  }
  void Replay(EntitySink& sink) const {
    size_t s = 0, t = 0;
    for (const bool text : order_) {
      if (text) sink.Text(texts_[t].header, texts_[t].block), ++t;
      else sink.Shape(shapes_[s].header, shapes_[s].block, shapes_[s].points), ++s;
    }
  }
  size_t size() const { return order_.size(); }

 private:
  struct StoredShape { EntityHeader header; ShapeBlock block; std::vector<GroundPoint> points; };
  struct StoredText { EntityHeader header; TextBlock block; };
  std::vector<StoredShape> shapes_;
  std::vector<StoredText> texts_;
  std::vector<bool> order_;
};

struct Sheet {
  std::unique_ptr<SettingsBlock> block = std::make_unique<SettingsBlock>();
  SheetGeometry geometry;
  EntityTape tape;
};

// A 1:10000 sheet of 2000 x 2000 mm at 200 dpi holding a 32 x 32 grid 500 m apart.
const Sheet& FullNetwork() {
  static const Sheet* sheet = [] {
    auto* s = new Sheet;
    SettingsBlock& b = *s->block;
    ResetSettingsBlock(b);
    b.scale = b.appliedScale = 10000;
    b.sheetHeight = b.sheetWidth = 2000;
    b.canvasHeightPx = (2000 + 80) * 200 * 0.03937007874015748 / 4;
    b.canvasHeightPx *= 4;
    b.canvasWidthPx = b.canvasWidthPx2 = static_cast<int>((2000 + 40) * 200 * 0.03937007874015748) / 4 * 4;
    s->geometry = *SheetGeometryOf(b);
    EntityEmitter e(s->tape, s->geometry);
    const double m = e.M();
    auto at = [&](int i, int j) {
      return GroundPoint{b.cornerX + 1000 + 500 * i + Wobble(32 * i + j, 60), b.cornerY + 1000 + 500 * j + Wobble(7 * i + j, 60)};
    };
    const TextFont nameFont{{}, 3.f, 1.5f, 0.2f};
    const TextFont numberFont{{}, 2.f, 1.f, 0.2f};
    const std::string& name = Gbk("点");
    for (int i = 0; i < 32; ++i)
      for (int j = 0; j < 32; ++j) {
        const GroundPoint p = at(i, j);
        // Sides to the east and north neighbours with their direction, distance and error texts.
        for (const auto& [di, dj] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{1, 1}}) {
          if (i + di >= 32 || j + dj >= 32) continue;
          const GroundPoint q = at(i + di, j + dj);
          e.Polyline(EntityCategory::Lines, DrawStyle::Make(0, 1, 0), std::vector<GroundPoint>{p, q});
          const GroundPoint mid{(p.x + q.x) / 2, (p.y + q.y) / 2};
          e.Text(EntityCategory::Texts, mid, di ? 0 : 900, numberFont, Rgb{}, FormatText("%.1f", 500 + Wobble(i * j, 9)));
          e.Text(EntityCategory::Texts, {mid.x - 3 * m, mid.y}, di ? 0 : 900, numberFont, Rgb{0, 0, 255}, "45.302512");
          e.Text(EntityCategory::Texts, {mid.x - 6 * m, mid.y}, di ? 0 : 900, numberFont, Rgb{255, 0, 0}, "±1.2");
        }
        // Symbol, centre mark and name.
        const double h = 1.0 * m;
        e.Polygon(EntityCategory::Symbols, DrawStyle::Make(0, 1, 0, 15),
                  std::vector<GroundPoint>{{p.x - h, p.y - h}, {p.x + h, p.y - h}, {p.x + h, p.y + h}, {p.x - h, p.y + h}});
        const double c = m / 6;
        e.Polygon(EntityCategory::Symbols, DrawStyle::Make(0, 0, 0, 0),
                  std::vector<GroundPoint>{{p.x - c, p.y - c}, {p.x + c, p.y - c}, {p.x + c, p.y + c}, {p.x - c, p.y + c}});
        e.Text(EntityCategory::Texts, {p.x + 4 * m, p.y + 2 * m}, 900, nameFont, Rgb{}, name + std::to_string(32 * i + j));
        e.Text(EntityCategory::Texts, {p.x + 1 * m, p.y + 2 * m}, 900, numberFont, Rgb{}, FormatText("%.3f", 52.5 + Wobble(i, 5)));
        // Point error ellipse and its axes.
        const double a = 4 * m + Wobble(i + j, 2 * m), bb = 2 * m, phi = 0.3 * i + 0.1 * j;
        const GroundPoint u{std::cos(phi), std::sin(phi)}, v{-std::sin(phi), std::cos(phi)};
        const GroundPoint corners[4] = {{p.x - a * u.x + bb * v.x, p.y - a * u.y + bb * v.y},
                                        {p.x - a * u.x - bb * v.x, p.y - a * u.y - bb * v.y},
                                        {p.x + a * u.x - bb * v.x, p.y + a * u.y - bb * v.y},
                                        {p.x + a * u.x + bb * v.x, p.y + a * u.y + bb * v.y}};
        e.Ellipse(EntityCategory::Lines, DrawStyle::Make(0, 1, 1), corners);
        e.Polyline(EntityCategory::Lines, DrawStyle::Make(0, 0, 1),
                   std::vector<GroundPoint>{{p.x - a * u.x, p.y - a * u.y}, {p.x + a * u.x, p.y + a * u.y}});
        e.Polyline(EntityCategory::Lines, DrawStyle::Make(0, 0, 1),
                   std::vector<GroundPoint>{{p.x - bb * v.x, p.y - bb * v.y}, {p.x + bb * v.x, p.y + bb * v.y}});
        // Every third point carries a levelling curve through four control points.
        if ((i + j) % 3 == 0 && i + 1 < 32 && j + 1 < 32)
          e.Spline(EntityCategory::Texts, DrawStyle::Make(0, 3, 12),
                   std::vector<GroundPoint>{p, at(i, j + 1), at(i + 1, j + 1), at(i + 1, j)}, (i + j) % 2 == 0);
      }
    e.Polygon(EntityCategory::Lines, DrawStyle::Make(0, 6, 0),
              std::vector<GroundPoint>{{b.cornerX, b.cornerY}, {b.cornerX + 20000, b.cornerY},
                                       {b.cornerX + 20000, b.cornerY + 20000}, {b.cornerX, b.cornerY + 20000}});
    return s;
  }();
  return *sheet;
}

void BM_RenderFullNetwork(benchmark::State& state) {
  const Sheet& sheet = FullNetwork();
  RenderSettings settings = RenderSettingsFor(sheet.geometry);
  settings.zoomDen = static_cast<int>(state.range(0));
  CountingDevice device;
  for (auto _ : state) {
    Renderer renderer(device, settings);
    sheet.tape.Replay(renderer);
    benchmark::DoNotOptimize(device.points);
  }
  state.counters["entities"] = static_cast<double>(sheet.tape.size());
  state.counters["points/pass"] = static_cast<double>(device.points) / state.iterations();
  state.counters["glyphs/pass"] = static_cast<double>(device.glyphs) / state.iterations();
}
BENCHMARK(BM_RenderFullNetwork)->Arg(1024)->Arg(8192)->Unit(benchmark::kMillisecond);

void BM_SvgPictureFullNetwork(benchmark::State& state) {
  const Sheet& sheet = FullNetwork();
  size_t bytes = 0;
  for (auto _ : state) {
    const std::string svg = SvgPictureText(*sheet.block, [&](EntitySink& sink, SettingsBlock&) { sheet.tape.Replay(sink); });
    bytes = svg.size();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_SvgPictureFullNetwork)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qp

BENCHMARK_MAIN();

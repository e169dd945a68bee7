// Repainting the drawing view's window over a full-capacity plane network
// (full_plane_drawing.h): the entity stream recorded once, replayed through
// the renderer onto a QPainter for the 1280 x 800 window, at 1:1 in the middle
// of the sheet and zoomed out to the whole drawing. Also the hover repaint of
// one name during a text move. Target: under 50 ms for a whole window.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>

#include "app/qt_drawing_device.h"
#include "drawing/entity_list.h"
#include "drawing/network_drawing.h"
#include "drawing/renderer.h"
#include "drawing/sheet_fit.h"
#include "drawing/view_state.h"
#include "full_plane_drawing.h"
#include "plane/plane_model_record.h"

namespace qp {
namespace {

constexpr int kWindowWidth = 1280, kWindowHeight = 800;

struct Scene {
  std::unique_ptr<SettingsBlock> settings = std::make_unique<SettingsBlock>();
  PlaneModel net = PlaneModelFromRecord(*bench::FullPlaneDrawingNetwork());
  std::unique_ptr<EntityList> entities;
  MovableItemList items;
  ViewState view;
  ScreenPoint scroll;
};

Scene& SceneFor(int kind, bool whole) {
  static Scene scene;
  static int builtKind = -1;
  static bool builtWhole = false;
  if (builtKind == kind && builtWhole == whole && scene.entities) return scene;
  ResetSettingsBlock(*scene.settings);
  FitSheetToNetwork(*scene.settings, scene.net, true);
  scene.net.diagram.kind = kind;
  scene.view = ViewState();
  const SettingsBlock& s = *scene.settings;
  if (whole) ToggleWholeDrawing(scene.view, kWindowWidth, kWindowHeight, s.canvasWidthPx, s.canvasHeightPx);
  const ScreenPoint size = scene.view.ScrollSize(s.canvasWidthPx, s.canvasHeightPx);
  scene.scroll = ScreenPoint{std::max(0, (size.x - kWindowWidth) / 2), std::max(0, (size.y - kWindowHeight) / 2)};
  const SheetGeometry sheet = *SheetGeometryOf(s);
  scene.entities = std::make_unique<EntityList>(sheet);
  scene.items = MovableItemList();
  DrawContext context;
  context.zoomDen = scene.view.zoomDen;
  context.maskOutsideSheet = whole;
  DrawNetworkSheet(*scene.entities, *scene.settings, scene.net, context, &scene.items);
  builtKind = kind;
  builtWhole = whole;
  return scene;
}

// Paints the part of the window `area` (window pixels) as the view does.
void Paint(QImage& image, Scene& scene, QRect area) {
  const SettingsBlock& s = *scene.settings;
  QPainter painter(&image);
  painter.setClipRect(area);
  painter.fillRect(area, Qt::white);
  painter.translate(-scene.scroll.x, -scene.scroll.y);
  const QRect exposed = area.translated(scene.scroll.x, scene.scroll.y);
  const CanvasPoint topLeft = scene.view.ScreenToCanvas(s.canvasHeightPx, {exposed.left(), exposed.top()});
  const CanvasPoint bottomRight = scene.view.ScreenToCanvas(s.canvasHeightPx, {exposed.right() + 1, exposed.bottom() + 1});
  const CanvasBox visible{bottomRight.row - 8, topLeft.row + 8, topLeft.column - 8, bottomRight.column + 8};
  QtDrawingDevice device(painter);
  RenderSettings settings = RenderSettingsFor(*SheetGeometryOf(s));
  settings.zoomDen = scene.view.zoomDen;
  Renderer renderer(device, settings);
  scene.entities->Replay(renderer, visible);
}

void RepaintWindow(benchmark::State& state) {
  Scene& scene = SceneFor(static_cast<int>(state.range(0)), state.range(1) != 0);
  QImage image(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
  for (auto _ : state) Paint(image, scene, QRect(0, 0, kWindowWidth, kWindowHeight));
  state.counters["entities"] = static_cast<double>(scene.entities->Size());
}
BENCHMARK(RepaintWindow)
    ->ArgsProduct({{0, 3, 5, 6}, {0, 1}})
    ->ArgNames({"kind", "whole"})
    ->Unit(benchmark::kMillisecond);

// A hovered name is repainted in its own small rectangle.
void RepaintHoveredName(benchmark::State& state) {
  Scene& scene = SceneFor(0, false);
  QImage image(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
  const QRect name(kWindowWidth / 2, kWindowHeight / 2, 60, 24);
  for (auto _ : state) Paint(image, scene, name);
}
BENCHMARK(RepaintHoveredName)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qp

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

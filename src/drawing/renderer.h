// Draws the entity stream onto a DrawingDevice: pens from the style word and
// the render mode, ground points through the sheet to canvas pixels and on to
// the screen with the zoom, B-spline and ellipse point lists, and texts laid
// out one character at a time. The screen view, printing and the SVG picture all
// draw through this one class.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "drawing/curve_sampling.h"
#include "drawing/drawing_device.h"
#include "drawing/entities.h"
#include "drawing/sheet_geometry.h"

namespace qp {

// How a pass draws: normal palette colours, a highlighted item, an item
// marked by a tool, or erasing an item (everything white).
enum RenderMode : int { kRenderHighlight = 0, kRenderMarked = 1, kRenderErase = 2, kRenderNormal = 3 };

inline constexpr Rgb kHighlightColour{255, 128, 255};
inline constexpr Rgb kMarkedColour{0, 255, 0};
inline constexpr Rgb kEraseColour{255, 255, 255};

struct RenderSettings {
  SheetGeometry sheet;          // canvas geometry of the device being drawn on
  int zoomNum = 1024;           // screen pixels = canvas pixels x zoomNum / zoomDen
  int zoomDen = 1024;
  LineWidths lineWidths;        // pixel widths for sheet.resolution
  int mode = kRenderNormal;     // RenderMode; a value outside 0..3 draws normally
  bool opaqueTextBackground = false;
};

// The settings for drawing `sheet` at 1:1 with line widths for its resolution.
RenderSettings RenderSettingsFor(const SheetGeometry& sheet, bool opaqueTextBackground = false);

// The message shown (once per drawing pass) when a curve could not be fitted, GBK.
const std::string& SplineFitErrorMessage();

class Renderer : public EntitySink {
 public:
  Renderer(DrawingDevice& device, const RenderSettings& settings);

  void Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) override;
  void Text(const EntityHeader& header, const TextBlock& block) override;

  void SetMode(int mode) { settings_.mode = mode; }
  const RenderSettings& Settings() const { return settings_; }

  // Curves left out of this pass because their fitting failed (damaged
  // control points): the caller shows SplineFitErrorMessage() once when this
  // is not zero, instead of a message box per curve and per repaint.
  int SplineFailures() const { return splineFailures_; }

  // Canvas pixel -> screen pixel with the zoom.
  ScreenPoint ToScreen(CanvasPoint c) const;

 private:
  void SetPenFor(DrawStyle style);
  // Closed lists are filled like polygons: with the fill colour when the style has one.
  void DrawPointList(std::span<const CanvasPoint> canvas, bool closed, DrawStyle style);

  DrawingDevice& device_;
  RenderSettings settings_;
  int splineFailures_ = 0;
  // Scratch lists reused from entity to entity.
  std::vector<CanvasPoint> canvas_;
  std::vector<CanvasPoint> samples_;
  std::vector<ScreenPoint> screen_;
  std::vector<PlacedGlyph> glyphs_;
};

}  // namespace qp

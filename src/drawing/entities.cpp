#include "drawing/entities.h"

#include <cstring>
#include <vector>

#include "common/gbk_text.h"

namespace qp {

EntityHeader MakeEntityHeader(EntityKind kind, EntityCategory category) {
  EntityHeader h;
  std::memset(&h, 0, sizeof h);
  h.kind = static_cast<uint8_t>(kind);
  h.category = static_cast<uint8_t>(category);
  return h;
}

ShapeBlock MakeShapeBlock(int32_t type, int32_t pointCount, DrawStyle style) {
  ShapeBlock b;
  std::memset(&b, 0, sizeof b);
  b.type = type;
  b.pointCount = pointCount;
  b.style = style.word;
  b.byte255 = 255;
  b.minus255 = -255;
  b.byte6 = 6;
  return b;
}

TextBlock MakeTextBlock(GroundPoint ref, int directionTenths, const TextFont& font, Rgb colour,
                        std::string_view gbkText) {
  TextBlock t;
  std::memset(&t, 0, sizeof t);
  t.x = ref.x;
  t.y = ref.y;
  t.direction = directionTenths;
  t.rotation = 0;
  t.height = font.height;
  t.width = font.width;
  t.gap = font.gap;
  t.colour = ColourWord(colour);
  const std::string_view face = font.face.empty() ? std::string_view(Gbk("宋体")) : CutGbk(font.face, kTextFaceSize - 1);
  std::memcpy(t.face, face.data(), face.size());
  const std::string_view text = CutGbk(gbkText, kTextSize - 1);
  std::memcpy(t.text, text.data(), text.size());
  t.length = static_cast<int32_t>(text.size());
  return t;
}

void EmitShape(EntitySink& sink, const EntityHeader& header, ShapeBlock block, std::span<const GroundPoint> points) {
  block.pointCount = static_cast<int32_t>(points.size());
  sink.Shape(header, block, points);
}

void EmitText(EntitySink& sink, const SheetGeometry& sheet, const EntityHeader& header, TextBlock block) {
  const CanvasPoint c = MapToCanvas(sheet, GroundPoint{block.x, block.y});
  block.row = c.row;
  block.column = c.column;
  sink.Text(header, block);
}

void EntityEmitter::Polyline(EntityCategory category, DrawStyle style, std::span<const GroundPoint> points) {
  EmitShape(sink_, MakeEntityHeader(EntityKind::Shape, category), MakeShapeBlock(kShapePolyline, 0, style), points);
}

void EntityEmitter::Polygon(EntityCategory category, DrawStyle style, std::span<const GroundPoint> points) {
  std::vector<GroundPoint> closed(points.begin(), points.end());
  if (!closed.empty()) closed.push_back(closed.front());
  EmitShape(sink_, MakeEntityHeader(EntityKind::Shape, category), MakeShapeBlock(kShapePolygon, 0, style), closed);
}

void EntityEmitter::Ellipse(EntityCategory category, DrawStyle style, const GroundPoint (&corners)[4]) {
  EmitShape(sink_, MakeEntityHeader(EntityKind::Shape, category), MakeShapeBlock(kShapeEllipse, 0, style), corners);
}

void EntityEmitter::Spline(EntityCategory category, DrawStyle style, std::span<const GroundPoint> controlPoints,
                           bool closed) {
  EmitShape(sink_, MakeEntityHeader(EntityKind::Shape, category),
            MakeShapeBlock(closed ? kShapeClosedSpline : kShapeSpline, 0, style), controlPoints);
}

void EntityEmitter::Text(EntityCategory category, GroundPoint ref, int directionTenths, const TextFont& font,
                         Rgb colour, std::string_view gbkText) {
  EmitText(sink_, sheet_, MakeEntityHeader(EntityKind::Text, category),
           MakeTextBlock(ref, directionTenths, font, colour, gbkText));
}

}  // namespace qp

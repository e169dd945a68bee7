// Drawing entities: every figure of the diagrams and of the frame is one
// shape (a styled list of ground points) or one text (a reference point with
// its font and GBK text). The records are byte-exact: they are what a .vec
// file holds after its settings block, so other installations read them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "drawing/drawing_tables.h"
#include "drawing/sheet_geometry.h"

namespace qp {

enum class EntityKind : uint8_t { Shape = 1, Text = 2 };

enum class EntityCategory : uint8_t {
  Lines = 1,    // lines and ellipses
  Texts = 2,    // texts (and the height diagram's curves)
  Symbols = 10  // point symbols and pair lines
};

struct EntityHeader {
  uint8_t kind;          // 0: 1 shape, 2 text
  uint8_t reserved1[3];  // 1
  int32_t zero4;         // 4
  uint8_t category;      // 8
  uint8_t reserved9[3];  // 9
  int32_t zero12[4];     // 12
};
static_assert(sizeof(EntityHeader) == 28);
static_assert(offsetof(EntityHeader, category) == 8);
static_assert(offsetof(EntityHeader, zero12) == 12);

// Shape types.
enum ShapeType : int32_t {
  kShapePolyline = 0,      // open, n >= 2
  kShapePolygon = 1,       // closed, n >= 3, first point repeated last
  kShapeEllipse = 9,       // the four corners of the circumscribed rectangle
  kShapeSpline = 10,       // open interpolating cubic B-spline
  kShapeClosedSpline = 11  // closed variant
};

struct ShapeBlock {
  int32_t type;             // 0
  int32_t pointCount;       // 4
  uint32_t style;           // 8, DrawStyle word
  uint8_t reserved12[4];    // 12
  int32_t zero16[4];        // 16
  uint8_t byte255;          // 32, 255
  uint8_t reserved33[3];    // 33
  int32_t minus255;         // 36, -255
  uint8_t zero40[3];        // 40
  uint8_t reserved43[5];    // 43
  int32_t zero48[2];        // 48
  uint8_t byte6;            // 56, 6
  uint8_t reserved57[135];  // 57 (bytes 57 and 122 are 0)
  int32_t zero192[5];       // 192
  uint8_t reserved212[28];  // 212
};
static_assert(sizeof(ShapeBlock) == 240);
static_assert(offsetof(ShapeBlock, style) == 8);
static_assert(offsetof(ShapeBlock, byte255) == 32);
static_assert(offsetof(ShapeBlock, minus255) == 36);
static_assert(offsetof(ShapeBlock, zero40) == 40);
static_assert(offsetof(ShapeBlock, zero48) == 48);
static_assert(offsetof(ShapeBlock, byte6) == 56);
static_assert(offsetof(ShapeBlock, zero192) == 192);

inline constexpr size_t kTextFaceSize = 31;
inline constexpr size_t kTextSize = 106;  // at most 105 bytes of text and a zero

struct TextBlock {
  int32_t row;              // 0, canvas row of the reference point (filled when emitted)
  int32_t column;           // 4
  double x;                 // 8, reference point X (m): top-left corner of the text
  double y;                 // 16
  int32_t direction;        // 24, tenths of a degree, azimuth sense (900: west to east)
  int32_t rotation;         // 28, 0 for every diagram text
  float height;             // 32, character height (mm)
  float width;              // 36, character width (mm)
  float gap;                // 40, gap after each character (mm)
  int32_t length;           // 44, text length in bytes
  uint32_t colour;          // 48, 0x00BBGGRR
  uint8_t italic;           // 52
  uint8_t underline;        // 53
  uint8_t strikeOut;        // 54
  char face[kTextFaceSize]; // 55
  char text[kTextSize];     // 86
};
static_assert(sizeof(TextBlock) == 192);
static_assert(offsetof(TextBlock, x) == 8);
static_assert(offsetof(TextBlock, direction) == 24);
static_assert(offsetof(TextBlock, height) == 32);
static_assert(offsetof(TextBlock, length) == 44);
static_assert(offsetof(TextBlock, colour) == 48);
static_assert(offsetof(TextBlock, italic) == 52);
static_assert(offsetof(TextBlock, face) == 55);
static_assert(offsetof(TextBlock, text) == 86);

// The point count a shape may carry: the largest figure the diagrams emit is a
// sampled frame or a curve's control points; anything larger in a file is damage.
inline constexpr int kMaxShapePoints = 65536;

EntityHeader MakeEntityHeader(EntityKind kind, EntityCategory category);
// A shape block with every fixed field at its value.
ShapeBlock MakeShapeBlock(int32_t type, int32_t pointCount, DrawStyle style);

// A text's font as the diagrams and the sheet keep it.
struct TextFont {
  std::string_view face;  // GBK, at most 30 bytes; empty gives "宋体"
  float height = 3.0f;    // mm
  float width = 1.5f;     // mm
  float gap = 0.2f;       // mm after each character
};

// A text block with every fixed field at its value; the text is cut to 105
// bytes without splitting a double-byte character. Row and column stay 0
// until EmitText fills them.
TextBlock MakeTextBlock(GroundPoint ref, int directionTenths, const TextFont& font, Rgb colour,
                        std::string_view gbkText);

// The part of the sheet the entities that follow belong to. Sinks that sort
// the entities (the DXF layers) take it; the .vec file has no place for it
// and the renderer draws every part alike.
enum class DrawingPart : uint8_t {
  Diagram,     // the network's lines, symbols and value texts
  PointNames,  // the texts naming the points
  Frame        // the frame, grid, title block and notes
};

// Where the entities go: the renderer, the .vec writer, the picture writers,
// or a test's recorder. Entities arrive in drawing order, Diagram first.
class EntitySink {
 public:
  virtual ~EntitySink() = default;
  virtual void BeginPart(DrawingPart) {}
  virtual void Shape(const EntityHeader& header, const ShapeBlock& block, std::span<const GroundPoint> points) = 0;
  virtual void Text(const EntityHeader& header, const TextBlock& block) = 0;
};

// Sends a shape to the sink (the block's point count is set from `points`).
void EmitShape(EntitySink& sink, const EntityHeader& header, ShapeBlock block, std::span<const GroundPoint> points);
// Fills the text's row and column from its reference point, then sends it.
void EmitText(EntitySink& sink, const SheetGeometry& sheet, const EntityHeader& header, TextBlock block);

// The diagrams' and the frame's way of emitting: ground points in, entities
// out, with the sheet's m (ground metres per paper millimetre) at hand.
class EntityEmitter {
 public:
  EntityEmitter(EntitySink& sink, const SheetGeometry& sheet) : sink_(sink), sheet_(sheet) {}

  const SheetGeometry& Sheet() const { return sheet_; }
  EntitySink& Sink() { return sink_; }
  double M() const { return sheet_.GroundPerMillimetre(); }

  void Polyline(EntityCategory category, DrawStyle style, std::span<const GroundPoint> points);
  // A closed polygon: the first point is repeated last.
  void Polygon(EntityCategory category, DrawStyle style, std::span<const GroundPoint> points);
  // An ellipse given by the four corners of its circumscribed rectangle.
  void Ellipse(EntityCategory category, DrawStyle style, const GroundPoint (&corners)[4]);
  void Spline(EntityCategory category, DrawStyle style, std::span<const GroundPoint> controlPoints, bool closed);
  void Text(EntityCategory category, GroundPoint ref, int directionTenths, const TextFont& font, Rgb colour,
            std::string_view gbkText);

 private:
  EntitySink& sink_;
  SheetGeometry sheet_;
};

}  // namespace qp

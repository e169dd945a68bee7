// A drawing device that keeps every call the renderer makes, with the pen and
// brush in force at the time, so tests can check what would be on screen.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "drawing/drawing_device.h"

namespace qp::testing {

struct RecordedPen {
  Rgb colour;
  PenStyle style = PenStyle::Solid;
  int widthPx = 0;
  friend bool operator==(const RecordedPen&, const RecordedPen&) = default;
};

struct RecordedCall {
  enum Kind { Polyline, Polygon, Glyph } kind;
  RecordedPen pen;              // Polyline, Polygon
  std::optional<Rgb> brush;     // Polygon
  std::vector<ScreenPoint> points;  // Polyline, Polygon; Glyph: its top-left corner
  std::string character;        // Glyph, GBK
  std::string face;             // Glyph, GBK
  GlyphFont font;               // Glyph, with its face cleared (kept in `face`)
  Rgb textColour;               // Glyph
  bool opaque = false;          // Glyph
};

class RecordingDevice : public DrawingDevice {
 public:
  void SetPen(Rgb colour, PenStyle style, int widthPx) override;
  void SetBrush(std::optional<Rgb> fill) override;
  void Polyline(std::span<const ScreenPoint> points) override;
  void Polygon(std::span<const ScreenPoint> points) override;
  void Glyph(ScreenPoint topLeft, std::string_view gbkCharacter, const GlyphFont& font, Rgb colour,
             bool opaqueBackground) override;

  std::vector<RecordedCall> calls;
  int Count(RecordedCall::Kind kind) const;
  // The calls of one kind, in order.
  std::vector<const RecordedCall*> Of(RecordedCall::Kind kind) const;

 private:
  RecordedPen pen_;
  std::optional<Rgb> brush_;
};

}  // namespace qp::testing

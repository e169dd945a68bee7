#include "support/recording_device.h"

namespace qp::testing {

void RecordingDevice::SetPen(Rgb colour, PenStyle style, int widthPx) { pen_ = RecordedPen{colour, style, widthPx}; }

void RecordingDevice::SetBrush(std::optional<Rgb> fill) { brush_ = fill; }

void RecordingDevice::Polyline(std::span<const ScreenPoint> points) {
  calls.push_back(RecordedCall{RecordedCall::Polyline, pen_, std::nullopt, {points.begin(), points.end()}});
}

void RecordingDevice::Polygon(std::span<const ScreenPoint> points) {
  calls.push_back(RecordedCall{RecordedCall::Polygon, pen_, brush_, {points.begin(), points.end()}});
}

void RecordingDevice::Glyph(ScreenPoint topLeft, std::string_view gbkCharacter, const GlyphFont& font, Rgb colour,
                            bool opaqueBackground) {
  RecordedCall call{RecordedCall::Glyph};
  call.points = {topLeft};
  call.character = std::string(gbkCharacter);
  call.face = std::string(font.face);
  call.font = font;
  call.font.face = {};
  call.textColour = colour;
  call.opaque = opaqueBackground;
  calls.push_back(std::move(call));
}

int RecordingDevice::Count(RecordedCall::Kind kind) const {
  int n = 0;
  for (const RecordedCall& c : calls) n += c.kind == kind;
  return n;
}

std::vector<const RecordedCall*> RecordingDevice::Of(RecordedCall::Kind kind) const {
  std::vector<const RecordedCall*> out;
  for (const RecordedCall& c : calls)
    if (c.kind == kind) out.push_back(&c);
  return out;
}

}  // namespace qp::testing

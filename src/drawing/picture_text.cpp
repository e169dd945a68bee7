#include "drawing/picture_text.h"

#include <cmath>
#include <numbers>

namespace qp {
namespace {

// Where the baseline of a Song character lies below the top of its cell, in cell heights.
constexpr double kSongAscent = 0.86;

}  // namespace

TextRunFrame TextRunFrameOf(const GlyphFont& font) {
  TextRunFrame frame;
  // Within -180..180 degrees, as a picture editor shows a turned text.
  const int tenths = ((font.escapementTenths % 3600) + 3600) % 3600;
  frame.angleDegrees = (tenths > 1800 ? tenths - 3600 : tenths) / 10.0;
  // A single-width character's natural width is half its height, its cell
  // is widthPx; a double-width one has twice both, so one factor fits all.
  if (font.heightPx > 0 && font.widthPx > 0) frame.stretch = 2.0 * font.widthPx / font.heightPx;
  frame.ascent = font.heightPx * kSongAscent;
  return frame;
}

PictureFloatPoint BaselineOrigin(ScreenPoint topLeft, const TextRunFrame& frame) {
  // "Down" of the characters, turned with the text (y grows downwards on screen).
  const double a = frame.angleDegrees * std::numbers::pi / 180.0;
  return {topLeft.x + frame.ascent * std::sin(a), topLeft.y + frame.ascent * std::cos(a)};
}

PictureFloatPoint InTextFrame(PictureFloatPoint screen, const TextRunFrame& frame) {
  const double a = frame.angleDegrees * std::numbers::pi / 180.0;
  const double x = std::cos(a) * screen.x - std::sin(a) * screen.y;
  const double y = std::sin(a) * screen.x + std::cos(a) * screen.y;
  return {frame.stretch > 0 ? x / frame.stretch : x, y};
}

int CellWidth(std::string_view gbkCharacter, const GlyphFont& font) {
  const bool doubleWidth = gbkCharacter.size() == 2 && static_cast<unsigned char>(gbkCharacter[1]) >= 0x80;
  return doubleWidth ? 2 * font.widthPx : font.widthPx;
}

std::span<const int> DashPattern(PenStyle style) {
  static constexpr int kDash[] = {18, 6}, kDot[] = {3, 3}, kDashDot[] = {9, 6, 3, 6},
                       kDashDotDot[] = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case PenStyle::Dash: return kDash;
    case PenStyle::Dot: return kDot;
    case PenStyle::DashDot: return kDashDot;
    case PenStyle::DashDotDot: return kDashDotDot;
    default: return {};
  }
}

}  // namespace qp

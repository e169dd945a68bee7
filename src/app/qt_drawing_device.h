// The drawing device on a QPainter: the screen view, the printer, PDF and
// picture files all paint the sheet through it. Texts arrive one character
// at a time with the cell size the sheet fixes; the character is drawn in a
// Song (Ming) style CJK face and stretched to its cell.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QString>

#include "drawing/drawing_device.h"

namespace qp {

// The installed face that stands for a face name of the sheet ("宋体" and
// the other Chinese names map to a Song style face).
QString SheetFontFamily(std::string_view gbkFace);

class QtDrawingDevice : public DrawingDevice {
 public:
  // `painter` must be active for the lifetime of the device.
  explicit QtDrawingDevice(QPainter& painter);

  void SetPen(Rgb colour, PenStyle style, int widthPx) override;
  void SetBrush(std::optional<Rgb> fill) override;
  void Polyline(std::span<const ScreenPoint> points) override;
  void Polygon(std::span<const ScreenPoint> points) override;
  void Glyph(ScreenPoint topLeft, std::string_view gbkCharacter, const GlyphFont& font, Rgb colour,
             bool opaqueBackground) override;

 private:
  struct CachedFont {
    QFont font;
    QFontMetricsF metrics{QFont()};
    double ascent = 0;
  };
  const CachedFont& FontFor(const GlyphFont& font);

  QPainter& painter_;
  QHash<QString, CachedFont> fonts_;
  QPolygon scratch_;
};

}  // namespace qp

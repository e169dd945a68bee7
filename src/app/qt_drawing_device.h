// The drawing device on a QPainter: the screen view, the printer, PDF and
// picture files all paint the sheet through it. Texts arrive one character
// at a time with the cell size the sheet fixes; the character is drawn in a
// Song (Ming) style CJK face and stretched to its cell.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "drawing/drawing_device.h"

namespace qp {

class QtDrawingDevice : public DrawingDevice {
 public:
  // `painter` must be active for the lifetime of the device. On a screen or
  // an image, characters are drawn from a cache of small glyph images (fast at
  // any zoom); on a printer or in a PDF they stay text.
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
    QHash<QString, double> advances;  // natural advance of each character drawn
  };
  CachedFont& FontFor(const GlyphFont& font);
  // The character of one or two GBK bytes, converted once.
  const QString& CharacterOf(std::string_view gbk);
  // The glyph drawn once into an image of its cell (colour and background included).
  const QImage& GlyphImage(const QString& ch, CachedFont& font, const std::string& fontKey, double cell,
                           double natural, QColor colour, bool opaque);

  QPainter& painter_;
  const QTransform base_;  // the painter's transform when the device was made
  const bool rasterGlyphs_;
  std::unordered_map<std::string, CachedFont> fonts_;  // nodes stay put: pointers below remain valid
  // The font of the previous glyph: consecutive glyphs mostly share one.
  std::string lastFontKey_;
  CachedFont* lastFont_ = nullptr;
  QHash<uint32_t, QString> characters_;
  const QFont* fontInPainter_ = nullptr;
  QRgb penInPainter_ = 0;
  bool penSet_ = false;
  int backgroundMode_ = -1;
  QPolygon scratch_;
};

}  // namespace qp

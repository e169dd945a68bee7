#include "app/qt_drawing_device.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

#include "app/qt_text.h"

namespace qp {
namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

Qt::PenStyle ToQtPenStyle(PenStyle s) {
  switch (s) {
    case PenStyle::Solid: return Qt::SolidLine;
    case PenStyle::Dash: return Qt::DashLine;
    case PenStyle::Dot: return Qt::DotLine;
    case PenStyle::DashDot: return Qt::DashDotLine;
    case PenStyle::DashDotDot: return Qt::DashDotDotLine;
    case PenStyle::Null: return Qt::NoPen;
  }
  return Qt::SolidLine;
}

// The Song style faces a Chinese survey sheet is printed in, best first.
const QStringList& SongFaces() {
  static const QStringList faces = {"SimSun", "NSimSun", "AR PL UMing CN", "AR PL SungtiL GB", "Noto Serif CJK SC",
                                    "Source Han Serif SC", "WenQuanYi Zen Hei", "WenQuanYi Micro Hei"};
  return faces;
}

// The installed face that stands for a face name of the sheet ("宋体" and
// the other Chinese names map to a Song style face).
QString SheetFontFamily(std::string_view gbkFace) {
  static const QString song = [] {
    const QStringList installed = QFontDatabase::families();
    for (const QString& f : SongFaces())
      if (installed.contains(f)) return f;
    return QString("serif");
  }();
  const QString face = FromGbk(gbkFace).trimmed();
  if (face.isEmpty() || face == QStringLiteral("宋体") || face == QStringLiteral("新宋体") || !QFontDatabase::hasFamily(face))
    return song;
  return face;
}

}  // namespace

QtDrawingDevice::QtDrawingDevice(QPainter& painter)
    : painter_(painter),
      base_(painter.worldTransform()),
      rasterGlyphs_(painter.device() && (painter.device()->devType() == QInternal::Image ||
                                         painter.device()->devType() == QInternal::Widget ||
                                         painter.device()->devType() == QInternal::Pixmap)) {}

void QtDrawingDevice::SetPen(Rgb colour, PenStyle style, int widthPx) {
  penSet_ = false;  // the text colour is set again before the next glyph
  QPen pen(ToQColor(colour), widthPx < 1 ? 1 : widthPx, ToQtPenStyle(style));
  // Thick lines end and join round, as a plotter pen does.
  pen.setCapStyle(widthPx > 1 ? Qt::RoundCap : Qt::FlatCap);
  pen.setJoinStyle(Qt::RoundJoin);
  painter_.setPen(pen);
}

void QtDrawingDevice::SetBrush(std::optional<Rgb> fill) {
  painter_.setBrush(fill ? QBrush(ToQColor(*fill)) : QBrush(Qt::NoBrush));
}

void QtDrawingDevice::Polyline(std::span<const ScreenPoint> points) {
  scratch_.resize(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) scratch_[static_cast<int>(i)] = QPoint(points[i].x, points[i].y);
  painter_.drawPolyline(scratch_);
}

void QtDrawingDevice::Polygon(std::span<const ScreenPoint> points) {
  scratch_.resize(static_cast<int>(points.size()));
  for (size_t i = 0; i < points.size(); ++i) scratch_[static_cast<int>(i)] = QPoint(points[i].x, points[i].y);
  painter_.drawPolygon(scratch_);
}

QtDrawingDevice::CachedFont& QtDrawingDevice::FontFor(const GlyphFont& g) {
  std::string key(g.face);
  key += '|';
  key += std::to_string(g.heightPx);
  key += static_cast<char>('0' + (g.weight >= 600 ? 1 : 0) + (g.italic ? 2 : 0) + (g.underline ? 4 : 0) +
                           (g.strikeOut ? 8 : 0));
  if (lastFont_ && key == lastFontKey_) return *lastFont_;
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    CachedFont cached;
    cached.font = QFont(SheetFontFamily(g.face));
    cached.font.setPixelSize(g.heightPx < 1 ? 1 : g.heightPx);
    cached.font.setWeight(g.weight >= 600 ? QFont::Bold : QFont::Normal);
    cached.font.setItalic(g.italic);
    cached.font.setUnderline(g.underline);
    cached.font.setStrikeOut(g.strikeOut);
    cached.font.setHintingPreference(QFont::PreferNoHinting);
    cached.metrics = QFontMetricsF(cached.font, painter_.device());
    cached.ascent = cached.metrics.ascent();
    it = fonts_.emplace(key, std::move(cached)).first;
  }
  lastFontKey_ = key;
  lastFont_ = &it->second;
  return it->second;
}

const QString& QtDrawingDevice::CharacterOf(std::string_view gbk) {
  uint32_t code = static_cast<unsigned char>(gbk[0]);
  if (gbk.size() > 1) code = code << 8 | static_cast<unsigned char>(gbk[1]);
  auto it = characters_.find(code);
  if (it == characters_.end()) it = characters_.insert(code, FromGbk(gbk));
  return *it;
}

void QtDrawingDevice::Glyph(ScreenPoint topLeft, std::string_view gbkCharacter, const GlyphFont& g, Rgb colour,
                            bool opaqueBackground) {
  if (gbkCharacter.empty()) return;
  const QString& ch = CharacterOf(gbkCharacter);
  if (ch.isEmpty() || ch == QStringLiteral(" ")) return;
  CachedFont& f = FontFor(g);
  const bool doubleWidth = gbkCharacter.size() == 2 && static_cast<unsigned char>(gbkCharacter[1]) >= 0x80;
  const double cell = (doubleWidth ? 2 : 1) * (g.widthPx < 1 ? 1 : g.widthPx);
  auto advance = f.advances.find(ch);
  if (advance == f.advances.end()) advance = f.advances.insert(ch, f.metrics.horizontalAdvance(ch));
  const double natural = *advance;

  // Only what changed from the previous glyph is handed to the painter.
  if (fontInPainter_ != &f.font) {
    painter_.setFont(f.font);
    fontInPainter_ = &f.font;
  }
  const QColor qcolour = ToQColor(colour);
  if (!penSet_ || penInPainter_ != qcolour.rgb()) {
    painter_.setPen(qcolour);
    penInPainter_ = qcolour.rgb();
    penSet_ = true;
  }
  if (backgroundMode_ != (opaqueBackground ? 1 : 0)) {
    painter_.setBackgroundMode(opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
    painter_.setBackground(Qt::white);
    backgroundMode_ = opaqueBackground ? 1 : 0;
  }
  // Escapement runs counter-clockwise from east; the screen's y axis points down.
  QTransform t;
  t.translate(topLeft.x, topLeft.y);
  if (g.escapementTenths % 3600 != 0) t.rotate(-g.escapementTenths / 10.0);
  if (rasterGlyphs_) {
    const QImage& image = GlyphImage(ch, f, lastFontKey_, cell, natural, qcolour, opaqueBackground);
    painter_.setWorldTransform(t * base_);
    painter_.drawImage(QPointF(0, 0), image);
  } else {
    if (natural > 0) t.scale(cell / natural, 1.0);
    painter_.setWorldTransform(t * base_);
    painter_.drawText(QPointF(0, f.ascent), ch);
  }
  painter_.setWorldTransform(base_);
}

const QImage& QtDrawingDevice::GlyphImage(const QString& ch, CachedFont& font, const std::string& fontKey, double cell,
                                          double natural, QColor colour, bool opaque) {
  // Shared by every paint: a sheet uses a few hundred distinct glyphs.
  static std::unordered_map<std::string, QImage> cache;
  constexpr size_t kCacheLimit = 8192;
  std::string key = fontKey;
  key += '|';
  key += ch.toStdString();
  key += '|';
  key += std::to_string(static_cast<int>(cell * 8));
  key += '|';
  key += std::to_string(colour.rgb());
  key += opaque ? 'o' : 't';
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  if (cache.size() >= kCacheLimit) cache.clear();
  const int width = std::max(1, static_cast<int>(std::ceil(cell)));
  const int height = std::max(1, font.font.pixelSize());
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(opaque ? Qt::white : Qt::transparent);
  {
    QPainter p(&image);
    p.setFont(font.font);
    p.setPen(colour);
    if (natural > 0) p.scale(cell / natural, 1.0);
    p.drawText(QPointF(0, font.ascent), ch);
  }
  return cache.emplace(std::move(key), std::move(image)).first->second;
}

}  // namespace qp

#include "app/qt_drawing_device.h"

#include <QFontDatabase>
#include <QFontMetricsF>

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

}  // namespace

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

QtDrawingDevice::QtDrawingDevice(QPainter& painter) : painter_(painter) {}

void QtDrawingDevice::SetPen(Rgb colour, PenStyle style, int widthPx) {
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

const QtDrawingDevice::CachedFont& QtDrawingDevice::FontFor(const GlyphFont& g) {
  const QString key = QString("%1|%2|%3|%4%5%6")
                          .arg(FromGbk(g.face))
                          .arg(g.heightPx)
                          .arg(g.weight)
                          .arg(g.italic)
                          .arg(g.underline)
                          .arg(g.strikeOut);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return *it;
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
  return *fonts_.insert(key, cached);
}

void QtDrawingDevice::Glyph(ScreenPoint topLeft, std::string_view gbkCharacter, const GlyphFont& g, Rgb colour,
                            bool opaqueBackground) {
  const QString ch = FromGbk(gbkCharacter);
  if (ch.isEmpty() || ch == QStringLiteral(" ")) return;
  const CachedFont& f = FontFor(g);
  const bool doubleWidth = gbkCharacter.size() == 2 && static_cast<unsigned char>(gbkCharacter[1]) >= 0x80;
  const double cell = (doubleWidth ? 2 : 1) * (g.widthPx < 1 ? 1 : g.widthPx);
  const double natural = f.metrics.horizontalAdvance(ch);
  painter_.save();
  painter_.setFont(f.font);
  painter_.setPen(ToQColor(colour));
  painter_.setBackgroundMode(opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
  painter_.setBackground(Qt::white);
  painter_.translate(topLeft.x, topLeft.y);
  // Escapement runs counter-clockwise from east; the screen's y axis points down.
  painter_.rotate(-g.escapementTenths / 10.0);
  if (natural > 0) painter_.scale(cell / natural, 1.0);
  painter_.drawText(QPointF(0, f.ascent), ch);
  painter_.restore();
}

}  // namespace qp

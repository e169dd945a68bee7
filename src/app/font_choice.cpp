#include "app/font_choice.h"

#include <QColorDialog>
#include <QFontDialog>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "app/qt_text.h"

namespace qp {
namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;

double ScreenDpi() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

FontPixels ToFontPixels(const QFont& font, double resolutionDpi) {
  FontPixels pixels;
  pixels.face = ToGbk(font.family());
  // A font given in points, or (rarely) in screen pixels.
  const double inches = font.pointSizeF() > 0 ? font.pointSizeF() / kPointsPerInch
                                              : std::max(font.pixelSize(), 0) / ScreenDpi();
  pixels.heightPx = static_cast<int>(std::lround(inches * resolutionDpi));
  if (pixels.heightPx > 0) {
    QFont sized = font;
    sized.setPixelSize(pixels.heightPx);
    pixels.widthPx = static_cast<int>(std::lround(QFontMetricsF(sized).averageCharWidth()));
  }
  return pixels;
}

QFont FontFromMillimetres(const std::string& gbkFace, double heightMm) {
  QFont font(FromGbk(gbkFace));
  if (std::isfinite(heightMm) && heightMm > 0.0) {
    font.setPointSizeF(std::clamp(heightMm / kMillimetresPerInch * kPointsPerInch, 1.0, 1000.0));
  }
  return font;
}

std::optional<QFont> SelectFont(QWidget* parent, const QFont& initial, const QString& title) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, initial, parent, title);
  if (!ok) return std::nullopt;
  return chosen;
}

QColor FromColourRef(int32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

int32_t ToColourRef(const QColor& colour) {
  return static_cast<int32_t>(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
}

bool SelectColour(QWidget* parent, int32_t& colour) {
  const QColor chosen = QColorDialog::getColor(FromColourRef(colour), parent, QStringLiteral("颜色"));
  if (!chosen.isValid()) return false;
  colour = ToColourRef(chosen);
  return true;
}

QIcon ColourSwatch(int32_t colour) {
  QPixmap swatch(14, 14);
  swatch.fill(FromColourRef(colour));
  return QIcon(swatch);
}

}  // namespace qp

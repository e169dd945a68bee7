#include "app/font_choice.h"

#include <QColorDialog>
#include <QFontDatabase>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontComboBox>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
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

constexpr double kSmallestMm = 0.5;
constexpr double kLargestMm = 100.0;
constexpr int kLargestSamplePx = 48;  // a large font's sample still fits the dialog
constexpr int kSmallestSamplePx = 16;  // the face of a small font still shows in its sample

// The face and its height in millimetres on paper, with a sample of Chinese
// text. A stored face the system lacks (宋体 on most desktops) is shown by the
// face that stands in for it, and kept unless another face is chosen.
class FontChoiceDialog : public QDialog {
 public:
  FontChoiceDialog(QWidget* parent, const QFont& initial, const QString& title)
      : QDialog(parent), storedFace_(initial.family()) {
    setObjectName(QStringLiteral("fontChoiceDialog"));
    setWindowTitle(title);
    face_ = new QFontComboBox(this);
    face_->setObjectName(QStringLiteral("fontFaceCombo"));
    face_->setWritingSystem(QFontDatabase::SimplifiedChinese);
    face_->setCurrentFont(initial);
    height_ = new QDoubleSpinBox(this);
    height_->setObjectName(QStringLiteral("fontHeightMm"));
    height_->setDecimals(2);
    height_->setSingleStep(0.5);
    height_->setRange(kSmallestMm, kLargestMm);
    height_->setSuffix(QStringLiteral(" mm"));
    const double points = initial.pointSizeF() > 0 ? initial.pointSizeF() : 10.0;
    height_->setValue(points / kPointsPerInch * kMillimetresPerInch);
    sample_ = new QLabel(QStringLiteral("控制网图 平差 宋体 AaBb 0123"), this);
    sample_->setObjectName(QStringLiteral("fontSample"));
    sample_->setMinimumHeight(kLargestSamplePx + 12);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("字体(&F)"), face_);
    form->addRow(QStringLiteral("字高(&H)"), height_);
    form->addRow(QStringLiteral("示例"), sample_);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(face_, &QFontComboBox::currentFontChanged, this, [this] {
      faceChosen_ = true;
      ShowSample();
    });
    connect(height_, &QDoubleSpinBox::valueChanged, this, [this] { ShowSample(); });
    ShowSample();
  }

  QFont Chosen() const {
    QFont font(faceChosen_ ? face_->currentFont().family() : storedFace_);
    font.setPointSizeF(height_->value() / kMillimetresPerInch * kPointsPerInch);
    return font;
  }

 private:
  void ShowSample() {
    QFont font = face_->currentFont();
    const double px = height_->value() / kMillimetresPerInch * ScreenDpi();
    font.setPixelSize(std::clamp(static_cast<int>(std::lround(px)), kSmallestSamplePx, kLargestSamplePx));
    sample_->setFont(font);
  }

  QString storedFace_;
  bool faceChosen_ = false;
  QFontComboBox* face_ = nullptr;
  QDoubleSpinBox* height_ = nullptr;
  QLabel* sample_ = nullptr;
};

QColor FromColourRef(int32_t colour) {
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

int32_t ToColourRef(const QColor& colour) {
  return static_cast<int32_t>(colour.red() | (colour.green() << 8) | (colour.blue() << 16));
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
  FontChoiceDialog dialog(parent, initial, title);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
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

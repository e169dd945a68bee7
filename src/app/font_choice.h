// Font and colour selections of the drawing dialogs. The forms keep fonts in
// millimetres on paper and take a chosen font as pixels of the sheet's
// resolution; a toolkit font deals in points. A point is 1/72
// inch, so a font of p points is p × dpi / 72 pixels high at dpi dots per
// inch: the em height the user picked becomes the same height on paper.
// The width is the font's average character width at that pixel height.
#pragma once

#include <QFont>
#include <QIcon>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>

class QWidget;

namespace qp {

// A chosen font as the forms take it: face (GBK), em height and average
// character width in pixels of `resolutionDpi`.
struct FontPixels {
  std::string face;
  int heightPx = 0;
  int widthPx = 0;
};
FontPixels ToFontPixels(const QFont& font, double resolutionDpi);

// The toolkit font of a stored face (GBK) and height in millimetres, for
// opening the selection where the user left off.
QFont FontFromMillimetres(const std::string& gbkFace, double heightMm);

// The font selection: a face and its height in millimetres, with a Chinese
// sample; nothing when it is cancelled.
std::optional<QFont> SelectFont(QWidget* parent, const QFont& initial, const QString& title);

// Colours as the records keep them (0x00BBGGRR), and the colour selection:
// true with `colour` changed when a colour was chosen.
bool SelectColour(QWidget* parent, int32_t& colour);
// A swatch of a colour for the button that chooses it.
QIcon ColourSwatch(int32_t colour);

}  // namespace qp

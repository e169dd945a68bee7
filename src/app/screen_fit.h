// Keeping windows on a laptop screen: large dialog content scrolls while the
// row of confirm buttons stays visible, and window sizes never exceed the
// screen's available area.
#pragma once

#include <QSize>

class QBoxLayout;
class QWidget;

namespace qp {

// Moves every item of `whole` except the last `keptAtEnd` into one scroll area
// that takes their place (with the stretch of the whole content), so that the
// kept items (the button row) stay on screen however small the window is.
// Returns the size the whole layout asked for before, unscrolled.
QSize ScrollContentAbove(QBoxLayout& whole, int keptAtEnd);

// Resizes `window` to `preferred`, shrunk to fit the available screen area
// with room for the window frame; the minimum size is clamped likewise.
void ResizeWithinScreen(QWidget& window, QSize preferred);

// Centres `window` over `over` (or the screen), keeping it inside the
// available screen area.
void CentreWithinScreen(QWidget& window, const QWidget* over);

}  // namespace qp

#include "app/screen_fit.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGuiApplication>
#include <QLayoutItem>
#include <QRect>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>
#include <algorithm>

namespace qp {
namespace {

// Room left for the title bar and borders a window manager adds.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;

// The available area of the screen `window` is on (or will open on: its
// parent's screen, else the primary screen).
QRect AvailableScreenArea(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen && window.parentWidget()) screen = window.parentWidget()->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 720);
}

}  // namespace

QSize ScrollContentAbove(QBoxLayout& whole, int keptAtEnd) {
  const QSize natural = whole.sizeHint();
  QWidget* owner = whole.parentWidget();
  const int moved = whole.count() - keptAtEnd;
  if (!owner || moved <= 0) return natural;

  auto* content = new QWidget;
  content->setObjectName(QStringLiteral("scrolledContent"));
  auto* column = new QBoxLayout(whole.direction(), content);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(whole.spacing());
  int stretchSum = 0;
  for (int i = 0; i < moved; ++i) {
    const int stretch = whole.stretch(0);
    stretchSum += stretch;
    QLayoutItem* item = whole.takeAt(0);
    if (QWidget* w = item->widget()) {
      column->addWidget(w, stretch, item->alignment());
      delete item;
    } else if (QLayout* l = item->layout()) {
      l->setParent(nullptr);
      column->addLayout(l, stretch);
    } else {
      column->addItem(item);  // a spacer or stretch
    }
  }
  auto* scroll = new QScrollArea(owner);
  scroll->setObjectName(QStringLiteral("contentScroll"));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setWidget(content);
  whole.insertWidget(0, scroll, std::max(stretchSum, 1));
  return natural;
}

void ResizeWithinScreen(QWidget& window, QSize preferred) {
  const QRect area = AvailableScreenArea(window);
  const QSize room(std::max(area.width() - kFrameWidth, 200), std::max(area.height() - kFrameHeight, 150));
  window.setMinimumSize(window.minimumSize().boundedTo(room));
  window.resize(preferred.boundedTo(room).expandedTo(window.minimumSize()));
}

void CentreWithinScreen(QWidget& window, const QWidget* over) {
  const QRect area = AvailableScreenArea(over ? *over : window);
  const QRect target = over ? over->frameGeometry() : area;
  QRect frame = window.frameGeometry();
  frame.moveCenter(target.center());
  const int x = std::clamp(frame.left(), area.left(), std::max(area.left(), area.right() - frame.width() + 1));
  const int y = std::clamp(frame.top(), area.top(), std::max(area.top(), area.bottom() - frame.height() + 1));
  window.move(x, y);
}

}  // namespace qp

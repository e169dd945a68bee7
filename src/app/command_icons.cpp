#include "app/command_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <cmath>

#include "workflow/document_state.h"

namespace qp {
namespace {

constexpr int kIconSize = 32;  // drawn on a 32 x 32 grid, scaled by the style
const QColor kInk(40, 60, 90);
const QColor kAccent(30, 110, 200);

// An arrow from `from` to `to` with its head at `to`.
void Arrow(QPainter& p, QPointF from, QPointF to, double head = 5.0) {
  p.drawLine(from, to);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  const QPointF left(to.x() - head * std::cos(a - 0.5), to.y() - head * std::sin(a - 0.5));
  const QPointF right(to.x() - head * std::cos(a + 0.5), to.y() - head * std::sin(a + 0.5));
  p.drawPolygon(QPolygonF({to, left, right}));
}

void About(QPainter& p) {
  p.setBrush(kAccent);
  p.drawEllipse(QRectF(3, 3, 26, 26));
  p.setBrush(Qt::white);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QRectF(14, 8, 4, 4));
  p.drawRect(QRectF(14, 14, 4, 10));
}

void ShowAll(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(10, 10, 12, 12));
  p.setBrush(kInk);
  Arrow(p, {9, 9}, {3, 3});
  Arrow(p, {23, 9}, {29, 3});
  Arrow(p, {9, 23}, {3, 29});
  Arrow(p, {23, 23}, {29, 29});
}

void ShowPosition(QPainter& p) {
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(4, 4, 18, 18));
  p.drawLine(QPointF(9, 13), QPointF(17, 13));
  p.drawLine(QPointF(13, 9), QPointF(13, 17));
  QPen handle = p.pen();
  handle.setWidthF(4.0);
  p.setPen(handle);
  p.drawLine(QPointF(20, 20), QPointF(28, 28));
}

void MoveText(QPainter& p) {
  QFont font = p.font();
  font.setPixelSize(20);
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(2, 2, 18, 22), Qt::AlignCenter, QStringLiteral("A"));
  p.setPen(QPen(kAccent, 2.0));
  p.setBrush(kAccent);
  Arrow(p, {14, 26}, {29, 26});
  Arrow(p, {24, 20}, {24, 5});
}

void MovePoint(QPainter& p) {
  p.setBrush(kInk);
  Arrow(p, {16, 16}, {16, 3});
  Arrow(p, {16, 16}, {16, 29});
  Arrow(p, {16, 16}, {3, 16});
  Arrow(p, {16, 16}, {29, 16});
  p.setBrush(Qt::white);
  p.setPen(QPen(kAccent, 2.0));
  p.drawPolygon(QPolygonF({{16, 9}, {22, 20}, {10, 20}}));  // a control point's triangle
}

void Measure(QPainter& p) {
  p.setBrush(kAccent);
  p.drawEllipse(QRectF(2, 23, 7, 7));
  p.drawEllipse(QRectF(23, 2, 7, 7));
  p.drawLine(QPointF(6, 26), QPointF(26, 6));
  // The ticks of a tape along the line.
  for (int i = 1; i < 5; ++i) {
    const double t = 6 + 4.0 * i;
    p.drawLine(QPointF(t, 32 - t), QPointF(t + 3, 35 - t));
  }
}

void SaveDrawing(QPainter& p) {
  p.setBrush(kAccent);
  p.drawPolygon(QPolygonF({{4, 4}, {24, 4}, {28, 8}, {28, 28}, {4, 28}}));  // the disk's body, one corner cut
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9, 4, 13, 8));
  p.drawRect(QRectF(8, 17, 16, 11));
}

void ArrangeLabels(QPainter& p) {
  QPen pen = p.pen();
  pen.setWidthF(3.0);
  pen.setCapStyle(Qt::RoundCap);
  p.setPen(pen);
  p.drawLine(QPointF(4, 7), QPointF(20, 7));
  p.drawLine(QPointF(10, 16), QPointF(28, 16));
  p.drawLine(QPointF(4, 25), QPointF(22, 25));
}

void Refresh(QPainter& p) {
  QPen pen(kAccent, 3.0);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(5, 5, 22, 22), 60 * 16, 300 * 16);
  p.setPen(QPen(kAccent, 1.0));
  p.setBrush(kAccent);
  p.drawPolygon(QPolygonF({{17, 1}, {25, 6}, {17, 11}}));
}

using Painter = void (*)(QPainter&);

struct IconEntry {
  int commandId;
  const char* themeName;
  Painter paint;
};

constexpr IconEntry kIcons[] = {
    {kCmdAbout, "help-about", About},
    {kCmdShowAll, "zoom-fit-best", ShowAll},
    {kCmdShowPosition, "zoom-in", ShowPosition},
    {kCmdMoveText, "insert-text", MoveText},
    {kCmdMovePoint, "transform-move", MovePoint},
    {kCmdMeasure, "measure", Measure},
    {kCmdSaveDrawing, "document-save", SaveDrawing},
    {kCmdArrangeLabels, "format-justify-fill", ArrangeLabels},
    {kCmdRefresh, "view-refresh", Refresh},
};

const IconEntry* EntryOf(int commandId) {
  for (const IconEntry& e : kIcons) {
    if (e.commandId == commandId) return &e;
  }
  return nullptr;
}

}  // namespace

const char* ThemeIconName(int commandId) {
  const IconEntry* e = EntryOf(commandId);
  return e ? e->themeName : nullptr;
}

QIcon DrawnCommandIcon(int commandId) {
  const IconEntry* e = EntryOf(commandId);
  if (!e) return {};
  QIcon icon;
  // Sharp at the usual toolbar size and at twice it.
  for (int scale : {1, 2}) {
    QPixmap pixmap(kIconSize * scale, kIconSize * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    e->paint(p);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QIcon CommandIcon(int commandId) {
  const IconEntry* e = EntryOf(commandId);
  if (!e) return {};
  return QIcon::fromTheme(QString::fromLatin1(e->themeName), DrawnCommandIcon(commandId));
}

}  // namespace qp

#include "app/icons.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <vector>

namespace brimlow {

namespace {

QColor Colour(TIconColour colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

QRectF Box(const TIconShape& shape) {
  return QRectF(QPointF(shape.points[0].x, shape.points[0].y),
                QPointF(shape.points[1].x, shape.points[1].y));
}

QPolygonF Points(const TIconShape& shape) {
  QPolygonF points;
  for (const TIconPoint& point : shape.points)
    points << QPointF(point.x, point.y);
  return points;
}

void PaintShape(QPainter& painter, const TIconShape& shape) {
  painter.setPen(shape.pen ? QPen(Colour(*shape.pen), shape.penWidth, Qt::SolidLine, Qt::RoundCap,
                                  Qt::RoundJoin)
                           : QPen(Qt::NoPen));
  painter.setBrush(shape.fill ? QBrush(Colour(*shape.fill)) : QBrush(Qt::NoBrush));
  switch (shape.kind) {
    case TIconShapeKind::Polygon: painter.drawPolygon(Points(shape)); return;
    case TIconShapeKind::Polyline: painter.drawPolyline(Points(shape)); return;
    case TIconShapeKind::Ellipse: painter.drawEllipse(Box(shape)); return;
    case TIconShapeKind::RoundedRect:
      painter.drawRoundedRect(Box(shape), shape.radius, shape.radius);
      return;
    case TIconShapeKind::Text: {
      QFont font;
      font.setPixelSize(shape.textPixels);
      font.setBold(true);
      painter.setFont(font);
      painter.drawText(Box(shape), Qt::AlignCenter, QString::fromStdString(shape.text));
      return;
    }
  }
}

// A design painted, smoothed, on a transparent image of its size.
QImage PaintIcon(const TIconDesign& design) {
  QImage image(design.size, design.size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  for (const TIconShape& shape : design.shapes)
    PaintShape(painter, shape);
  return image;
}

template <typename Draw>
std::vector<QIcon> DrawAll(int count, Draw design) {
  std::vector<QIcon> icons;
  icons.reserve(static_cast<size_t>(count));
  for (int index = 0; index < count; ++index)
    icons.emplace_back(QPixmap::fromImage(PaintIcon(design(index))));
  return icons;
}

const QIcon& Pick(const std::vector<QIcon>& icons, int index) {
  static const auto* none = new QIcon;
  if (index < 0 || static_cast<size_t>(index) >= icons.size()) return *none;
  return icons[static_cast<size_t>(index)];
}

QPixmap DrawProgramPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 32.0, size / 32.0);
  // A sheet with lines: the downloads list.
  painter.setPen(QPen(QColor(70, 90, 120), 1.2));
  painter.setBrush(QColor(250, 250, 245));
  painter.drawRoundedRect(QRectF(3, 2, 19, 25), 2, 2);
  painter.setPen(QPen(QColor(150, 170, 200), 1.6));
  for (int line = 0; line < 5; ++line)
    painter.drawLine(QPointF(6.5, 7 + line * 4), QPointF(18.5, 7 + line * 4));
  // A broom across it, sweeping to the lower right.
  painter.setPen(QPen(QColor(140, 90, 40), 2.4, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(12, 4), QPointF(23, 21));
  QPainterPath bristles;
  bristles.moveTo(20, 19);
  bristles.lineTo(26, 16);
  bristles.lineTo(31, 29);
  bristles.lineTo(23, 31);
  bristles.closeSubpath();
  painter.setPen(QPen(QColor(170, 120, 20), 1));
  painter.setBrush(QColor(235, 190, 60));
  painter.drawPath(bristles);
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 32, 33, 48})
    icon.addPixmap(DrawProgramPixmap(size));
  return icon;
}

// The images are drawn once and kept to the end of the process: pixmaps must
// not be freed after the application object is gone.
const QIcon& CategoryIcon(int index) {
  static const auto* icons =
      new std::vector<QIcon>(DrawAll(kCategoryIconCount, CategoryIconDesign));
  return Pick(*icons, index);
}

const QIcon& StateIcon(int index) {
  static const auto* icons = new std::vector<QIcon>(DrawAll(kStateIconCount, StateIconDesign));
  return Pick(*icons, index);
}

}  // namespace brimlow

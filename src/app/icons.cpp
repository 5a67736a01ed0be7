#include "app/icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <vector>

namespace brimlow {

namespace {

// Category icons combine one of five outlines with one of eleven colours, so
// that all 55 differ in shape or colour and stay apart at 16 pixels.
enum class Outline { Folder, Disc, Tile, Diamond, Triangle };
constexpr int kOutlineCount = 5;

QColor CategoryColour(int index) {
  const int hue = (index / kOutlineCount) * 360 / 11;
  return QColor::fromHsv(hue, 190, 215);
}

QPainterPath OutlinePath(Outline outline) {
  QPainterPath path;
  switch (outline) {
    case Outline::Folder:
      path.moveTo(1.5, 3.5);
      path.lineTo(6.5, 3.5);
      path.lineTo(8, 5);
      path.lineTo(14.5, 5);
      path.lineTo(14.5, 13.5);
      path.lineTo(1.5, 13.5);
      path.closeSubpath();
      break;
    case Outline::Disc: path.addEllipse(QRectF(1.5, 1.5, 13, 13)); break;
    case Outline::Tile: path.addRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3); break;
    case Outline::Diamond:
      path.moveTo(8, 0.5);
      path.lineTo(15.5, 8);
      path.lineTo(8, 15.5);
      path.lineTo(0.5, 8);
      path.closeSubpath();
      break;
    case Outline::Triangle:
      path.moveTo(8, 1);
      path.lineTo(15, 14.5);
      path.lineTo(1, 14.5);
      path.closeSubpath();
      break;
  }
  return path;
}

QIcon DrawCategoryIcon(int index) {
  QPixmap pixmap(kCategoryIconSize, kCategoryIconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor colour = CategoryColour(index);
  const QPainterPath path = OutlinePath(static_cast<Outline>(index % kOutlineCount));
  painter.setPen(QPen(colour.darker(170), 1));
  painter.setBrush(colour);
  painter.drawPath(path);
  // A light highlight keeps the shape readable on the sky-blue of marked rows.
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 150));
  painter.drawEllipse(QRectF(6, 7, 4, 4));
  return QIcon(pixmap);
}

void DrawGlyph(QPainter& painter, int state) {
  const QPen white(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter.setPen(white);
  painter.setBrush(Qt::NoBrush);
  switch (state) {
    case 0:  // paused: two bars
      painter.drawLine(QPointF(4.5, 3.5), QPointF(4.5, 8.5));
      painter.drawLine(QPointF(7.5, 3.5), QPointF(7.5, 8.5));
      return;
    case 2:  // complete: a tick
      painter.drawPolyline(QPolygonF({QPointF(3, 6.2), QPointF(5.2, 8.4), QPointF(9, 3.8)}));
      return;
    case 3:  // downloading: an arrow down
      painter.drawLine(QPointF(6, 2.5), QPointF(6, 9));
      painter.drawPolyline(QPolygonF({QPointF(3.3, 6.3), QPointF(6, 9), QPointF(8.7, 6.3)}));
      return;
    case 4:  // error: a cross
      painter.drawLine(QPointF(3.8, 3.8), QPointF(8.2, 8.2));
      painter.drawLine(QPointF(8.2, 3.8), QPointF(3.8, 8.2));
      return;
    case 6:  // scheduled: clock hands
      painter.drawLine(QPointF(6, 6), QPointF(6, 3));
      painter.drawLine(QPointF(6, 6), QPointF(8.5, 7));
      return;
    default: {
      // Codes without a meaning of their own show their number.
      QFont font;
      font.setPixelSize(state >= 10 ? 7 : 9);
      font.setBold(true);
      painter.setFont(font);
      painter.drawText(QRectF(0, 0, kStateIconSize, kStateIconSize), Qt::AlignCenter,
                       QString::number(state));
      return;
    }
  }
}

QColor StateColour(int state) {
  switch (state) {
    case 0: return QColor(230, 145, 20);
    case 2: return QColor(40, 160, 60);
    case 3: return QColor(30, 110, 220);
    case 4: return QColor(210, 40, 40);
    case 6: return QColor(130, 70, 190);
    default: return QColor::fromHsv((state * 47) % 360, 60, 120);
  }
}

QIcon DrawStateIcon(int state) {
  QPixmap pixmap(kStateIconSize, kStateIconSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  const QColor colour = StateColour(state);
  painter.setPen(QPen(colour.darker(150), 1));
  painter.setBrush(colour);
  const QRectF frame(0.5, 0.5, kStateIconSize - 1, kStateIconSize - 1);
  // The five named states are round; the other codes are square.
  if (state == 0 || state == 2 || state == 3 || state == 4 || state == 6)
    painter.drawEllipse(frame);
  else
    painter.drawRoundedRect(frame, 2, 2);
  DrawGlyph(painter, state);
  return QIcon(pixmap);
}

template <typename Draw>
std::vector<QIcon> DrawAll(int count, Draw draw) {
  std::vector<QIcon> icons;
  icons.reserve(static_cast<size_t>(count));
  for (int index = 0; index < count; ++index)
    icons.push_back(draw(index));
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
  static const auto* icons = new std::vector<QIcon>(DrawAll(kCategoryIconCount, DrawCategoryIcon));
  return Pick(*icons, index);
}

const QIcon& StateIcon(int index) {
  static const auto* icons = new std::vector<QIcon>(DrawAll(kStateIconCount, DrawStateIcon));
  return Pick(*icons, index);
}

}  // namespace brimlow

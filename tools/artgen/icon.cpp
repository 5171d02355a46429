// Paints the application icon: a jade speech bubble holding a golden question mark on a pale
// paper ground, in the colours of the background picture.
//
// It is drawn at four times its size and averaged down, which keeps the strokes crisp but
// smooth at 40 x 40.
#include "artwork.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quivella::artgen {

QImage PaintIcon() {
  constexpr int kScale = 4;
  constexpr double kSide = kIconSize * kScale;
  QImage big(kIconSize * kScale, kIconSize * kScale, QImage::Format_RGB32);
  QPainter p(&big);
  p.setRenderHint(QPainter::Antialiasing);

  // Paper ground with a thin jade frame.
  QLinearGradient ground(0.0, 0.0, 0.0, kSide);
  ground.setColorAt(0.0, QColor(222, 234, 224));
  ground.setColorAt(1.0, QColor(244, 234, 206));
  p.fillRect(QRectF(0.0, 0.0, kSide, kSide), ground);
  p.setPen(QPen(QColor(120, 158, 136), 4.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(2.0, 2.0, kSide - 4.0, kSide - 4.0));

  // The bubble: a rounded body with a tail towards the lower left.
  QPainterPath bubble;
  bubble.addRoundedRect(QRectF(14.0, 14.0, 132.0, 104.0), 34.0, 34.0);
  QPainterPath tail;
  tail.moveTo(38.0, 100.0);
  tail.lineTo(26.0, 148.0);
  tail.lineTo(76.0, 110.0);
  tail.closeSubpath();
  bubble = bubble.united(tail);
  QLinearGradient jade(0.0, 14.0, 0.0, 148.0);
  jade.setColorAt(0.0, QColor(58, 138, 118));
  jade.setColorAt(1.0, QColor(34, 100, 88));
  p.setBrush(jade);
  p.setPen(QPen(QColor(26, 70, 62), 6.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(bubble);

  // The question mark: a hook, a short stem and a dot.
  const QColor gold(250, 212, 74);
  QPainterPath hook;
  hook.moveTo(58.0, 50.0);
  hook.cubicTo(58.0, 26.0, 104.0, 24.0, 104.0, 50.0);
  hook.cubicTo(104.0, 66.0, 82.0, 66.0, 81.0, 82.0);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(gold, 17.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(hook);
  p.setPen(Qt::NoPen);
  p.setBrush(gold);
  p.drawEllipse(QPointF(81.0, 103.0), 9.5, 9.5);
  p.end();

  return big.scaled(kIconSize, kIconSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(QImage::Format_RGB888);
}

}  // namespace quivella::artgen

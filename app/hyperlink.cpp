// The hyperlink control drawn by the program.
#include "app/hyperlink.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/main_window.h"

namespace quivella {
namespace {

// The link's own font: 13 pixels high, normal weight, underlined, in the desktop's face.
QFont LinkFont(const QFont& base) {
  QFont font = base;
  font.setPixelSize(13);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(true);
  font.setStrikeOut(false);
  return font;
}

}  // namespace

Hyperlink::Hyperlink(const QString& text, const QUrl& address, QWidget* parent)
    : QWidget(parent), caption(text), target(address),
      opener(std::make_unique<DesktopLinkOpener>()) {
  setFont(LinkFont(font()));
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
  // Pointer moves must arrive without a button held, to see the pointer leave while captured.
  setMouseTracking(true);
}

void Hyperlink::SetOpener(std::unique_ptr<LinkOpener> replacement) {
  opener = std::move(replacement);
}

QColor Hyperlink::TextColor() const {
  if (hovered) {
    return QColor::fromRgb(kRed);
  }
  return QColor::fromRgb(visited ? kDarkRed : kGreen);
}

void Hyperlink::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ButtonFace());
  painter.setFont(font());
  painter.setPen(TextColor());
  painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, caption);
}

void Hyperlink::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  SetHovered(true);
}

void Hyperlink::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  SetHovered(false);
}

void Hyperlink::mouseMoveEvent(QMouseEvent* event) {
  // While captured, every move comes here; leaving the rectangle ends the hover.
  SetHovered(rect().contains(event->position().toPoint()));
  event->accept();
}

void Hyperlink::mousePressEvent(QMouseEvent* event) {
  if (!rect().contains(event->position().toPoint())) {
    SetHovered(false);  // a press outside while captured
    QWidget::mousePressEvent(event);
    return;
  }
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  visited = opener != nullptr && OpenLink(*opener, target);
  update();
  event->accept();
}

void Hyperlink::hideEvent(QHideEvent* event) {
  SetHovered(false);
  QWidget::hideEvent(event);
}

void Hyperlink::SetHovered(bool value) {
  if (hovered == value) {
    return;
  }
  hovered = value;
  if (hovered) {
    grabMouse();
  } else {
    releaseMouse();
  }
  update();
}

}  // namespace quivella

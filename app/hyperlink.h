// The hyperlink control: a caption drawn by the program, underlined and centred on button face,
// coloured by its hover and visited states. A left press opens the target at once; the visited
// state is the outcome of the last press. While the pointer is over it the control holds the
// mouse capture, so it sees the pointer leave its rectangle.
#pragma once

#include <QUrl>
#include <QWidget>
#include <memory>

#include "app/link_opener.h"

namespace quivella {

class Hyperlink : public QWidget {
  Q_OBJECT

 public:
  Hyperlink(const QString& caption, const QUrl& target, QWidget* parent);

  // Replaces the opener, so tests never start a browser.
  void SetOpener(std::unique_ptr<LinkOpener> replacement);

  QString Caption() const { return caption; }
  QUrl Target() const { return target; }
  bool IsHovered() const { return hovered; }
  bool IsVisited() const { return visited; }
  // Returns red while hovered; else dark red when the last press opened the target, green
  // otherwise.
  QColor TextColor() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void SetHovered(bool value);

  QString caption;
  QUrl target;
  std::unique_ptr<LinkOpener> opener;
  bool hovered = false;
  bool visited = false;
};

}  // namespace quivella

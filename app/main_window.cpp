// The main window and its seven controls, built from the control table.
#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <limits>

#include "app/hyperlink.h"
#include "app/result_list_view.h"
#include "search/result_list_model.h"

namespace quivella {
namespace {

constexpr const char* kBackgroundResource = ":/images/background.jpg";

// A palette where role is colour in every colour group.
void SetColour(QWidget& widget, QPalette::ColorRole role, QRgb colour) {
  QPalette palette = widget.palette();
  palette.setColor(role, QColor::fromRgb(colour));
  widget.setPalette(palette);
}

}  // namespace

QColor ButtonFace() { return QApplication::palette().color(QPalette::Active, QPalette::Button); }

QPoint CentredPlace() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    return {0, 0};
  }
  // The whole screen, taskbars included; integer division truncates toward zero.
  const QRect whole = screen->geometry();
  return {whole.x() + (whole.width() - MainWindow::kOuterWidth) / 2,
          whole.y() + (whole.height() - MainWindow::kOuterHeight) / 2};
}

MainWindow::MainWindow() : QWidget(nullptr) {
  ConfigureWindow();
  BuildControls();
  // Esc is looked at before the focused control gets it.
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::ConfigureWindow() {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QString::fromUtf8(kTitle));
  // A fixed frame with a caption bar, the system menu and the close button only.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(QApplication::windowIcon());
  // With no frame known yet the client area takes the outer size; FitOuterSize corrects it
  // once the window manager reports its frame.
  setFixedSize(kOuterWidth, kOuterHeight);
  move(CentredPlace());
  SetBackground(QPixmap(QString::fromLatin1(kBackgroundResource)));
}

void MainWindow::BuildControls() {
  QWidget* previousStop = nullptr;
  for (const ControlDescription& row : kControlTable) {
    QWidget* control = nullptr;
    switch (row.kind) {
      case ControlKind::QueryBox:
        control = BuildQueryBox(row);
        break;
      case ControlKind::ResultList:
        control = BuildResultList(row);
        break;
      case ControlKind::Label:
        control = BuildLabel(row);
        break;
      case ControlKind::Hyperlink:
        control = BuildHyperlink(row);
        break;
      case ControlKind::Timer:
        BuildTimer(row);
        break;
    }
    if (control == nullptr) {
      continue;
    }
    control->setObjectName(QString::fromUtf8(row.name));
    control->setGeometry(row.place);
    if (!row.tabStop) {
      control->setFocusPolicy(Qt::NoFocus);
    } else {
      if (previousStop != nullptr) {
        setTabOrder(previousStop, control);
      }
      previousStop = control;
    }
  }
  queryBox->setFocus(Qt::OtherFocusReason);
}

QWidget* MainWindow::BuildQueryBox(const ControlDescription& row) {
  queryBox = new QLineEdit(this);
  queryBox->setFrame(true);
  queryBox->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  queryBox->setMaxLength(std::numeric_limits<int>::max());
  queryBox->setFocusPolicy(Qt::StrongFocus);
  SetColour(*queryBox, QPalette::Text, row.textColor);
  SetColour(*queryBox, QPalette::Base, kWhite);
  // The selection is not shown while the window is inactive (a focus change within the window
  // clears it anyway).
  QPalette palette = queryBox->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight, QColor::fromRgb(kWhite));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor::fromRgb(row.textColor));
  queryBox->setPalette(palette);
  return queryBox;
}

QWidget* MainWindow::BuildResultList(const ControlDescription&) {
  resultModel = new ResultListModel(this);
  resultView = new ResultListView(resultModel, this);
  return resultView;
}

QWidget* MainWindow::BuildLabel(const ControlDescription& row) {
  auto* label = new QLabel(QString::fromUtf8(row.text), this);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(false);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setFrameShape(QFrame::NoFrame);
  label->setMargin(0);
  label->setIndent(0);
  // An opaque button-face patch on the background picture.
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, ButtonFace());
  palette.setColor(QPalette::WindowText, QColor::fromRgb(row.textColor));
  label->setPalette(palette);
  if (QString::fromUtf8(row.name) == u"标签2") {
    countLabel = label;
  }
  return label;
}

QWidget* MainWindow::BuildHyperlink(const ControlDescription& row) {
  link = new Hyperlink(QString::fromUtf8(row.text), QUrl(QString::fromLatin1(kForumLink)), this);
  return link;
}

void MainWindow::BuildTimer(const ControlDescription& row) {
  timer = new QTimer(this);
  timer->setObjectName(QString::fromUtf8(row.name));
  // A coarse timer may be off by 5% of an hour; the tick should come on the hour.
  timer->setTimerType(Qt::PreciseTimer);
  timer->setInterval(row.interval);
  timer->start();
}

QString MainWindow::QueryText() const { return queryBox->text(); }

void MainWindow::SetCountCaption(const QString& caption) { countLabel->setText(caption); }

ResultListModel& MainWindow::ResultList() { return *resultModel; }

void MainWindow::SetBackground(const QPixmap& picture) {
  background = picture;
  update();
}

void MainWindow::RaiseCreated() { emit Created(); }

bool MainWindow::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
      FitOuterSize();
      break;
    default:
      break;
  }
  return handled;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this) {
    close();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), ButtonFace());
  if (!background.isNull()) {
    // Copies at natural size from the client area's top-left, cut at the right and bottom.
    painter.drawTiledPixmap(rect(), background, QPoint(0, 0));
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  closing = true;
  timer->stop();
  event->accept();
}

void MainWindow::FitOuterSize() {
  const QWindow* handle = windowHandle();
  if (handle == nullptr || !isVisible()) {
    return;
  }
  // The outer size includes the frame the window manager draws; without one the client
  // area is the whole window.
  const QMargins frame = handle->frameMargins();
  const QSize client(kOuterWidth - frame.left() - frame.right(),
                     kOuterHeight - frame.top() - frame.bottom());
  // Only the size changes: the window manager keeps the frame where it was placed, and moving
  // the window again here would count the frame twice.
  if (client.isValid() && size() != client) {
    setFixedSize(client);
  }
}

}  // namespace quivella

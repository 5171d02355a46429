// The main window: a fixed-frame top-level window with a tiled background picture and the
// seven controls of the fixed control table (query box, result list, three labels, the forum
// hyperlink, the hourly timer).
//
// The window only raises events; the program's handlers are connected by the event wiring.
// Esc closes it from any control; closing destroys it.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QUrl>
#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QTimer;

namespace quivella {

class Hyperlink;
class ResultListModel;
class ResultListView;

// The kinds of control the window is built from.
enum class ControlKind { QueryBox, ResultList, Label, Hyperlink, Timer };

// One row of the control table. Places are in the window's client area.
struct ControlDescription {
  const char* name;  // objectName, UTF-8
  ControlKind kind;
  QRect place;       // empty for the timer, which is never shown
  const char* text;  // caption at start, UTF-8
  QRgb textColor;    // for the hyperlink: its colour when not hovered and not visited
  bool tabStop;
  int interval;      // milliseconds, timer only
};

inline constexpr QRgb kBlack = 0xff000000;
inline constexpr QRgb kWhite = 0xffffffff;
inline constexpr QRgb kBlue = 0xff0000ff;
inline constexpr QRgb kGreen = 0xff008000;
inline constexpr QRgb kRed = 0xffff0000;
inline constexpr QRgb kDarkRed = 0xff800000;

// The seven controls, in creation and tab order.
inline constexpr std::array<ControlDescription, 7> kControlTable = {{
    {"编辑框1", ControlKind::QueryBox, QRect(41, 40, 512, 32), "", kBlack, true, 0},
    {"超级列表框1", ControlKind::ResultList, QRect(40, 104, 512, 224), "", kBlue, true, 0},
    {"标签1", ControlKind::Label, QRect(48, 80, 72, 16), "共搜索到：", kBlue, false, 0},
    {"标签2", ControlKind::Label, QRect(121, 80, 72, 16), "", kBlue, false, 0},
    {"标签3", ControlKind::Label, QRect(328, 332, 261, 20), "2015.4.18 (By:reedwarbler 000-0000)",
     kGreen, false, 0},
    {"超级链接框1", ControlKind::Hyperlink, QRect(0, 330, 192, 24), "搜不到答案？欢迎来扩充答题！",
     kGreen, false, 0},
    {"时钟1", ControlKind::Timer, QRect(), "", kBlack, false, 3'600'000},
}};

// The hyperlink's target.
inline constexpr const char* kForumLink = "http://tieba.baidu.com/p/3709030136";

// The columns of the result list: caption width in pixels.
inline constexpr std::array<int, 3> kResultColumnWidths = {30, 350, 200};

class MainWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Quivella3.0 ";
  static constexpr int kOuterWidth = 599;
  static constexpr int kOuterHeight = 387;

  // Builds the window and its controls, hidden, at its centred place. The timer starts here.
  MainWindow();
  ~MainWindow() override;

  // Returns the query box's whole text.
  QString QueryText() const;
  // Sets the count label's caption; it is drawn once the running handler has returned.
  void SetCountCaption(const QString& caption);
  ResultListModel& ResultList();

  QLineEdit* QueryBox() const { return queryBox; }
  ResultListView* ResultView() const { return resultView; }
  Hyperlink* Link() const { return link; }
  QTimer* Timer() const { return timer; }

  // Replaces the background; a null picture leaves button face everywhere.
  void SetBackground(const QPixmap& picture);
  // Raises the created event.
  void RaiseCreated();
  // True once a close request has been accepted: the window is on its way to destruction.
  bool IsClosing() const { return closing; }

 signals:
  void Created();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void ConfigureWindow();
  void BuildControls();
  QWidget* BuildQueryBox(const ControlDescription& row);
  QWidget* BuildResultList(const ControlDescription& row);
  QWidget* BuildLabel(const ControlDescription& row);
  QWidget* BuildHyperlink(const ControlDescription& row);
  void BuildTimer(const ControlDescription& row);
  void FitOuterSize();

  QPixmap background;
  QLineEdit* queryBox = nullptr;
  ResultListModel* resultModel = nullptr;
  ResultListView* resultView = nullptr;
  QLabel* countLabel = nullptr;
  Hyperlink* link = nullptr;
  QTimer* timer = nullptr;
  bool closing = false;
};

// Returns the desktop's colour for the faces of buttons and dialogs.
QColor ButtonFace();

// Returns the window's outer top-left: centred over the whole primary screen, not its work
// area.
QPoint CentredPlace();

}  // namespace quivella

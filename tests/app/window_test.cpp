// The main window's fixed face: window settings, the seven controls, the background picture,
// the labels' patches, and the result list's header, selection and tooltip behaviour.
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QScreen>
#include <QTableView>
#include <QToolTip>
#include <QtTest>

#include "app/hyperlink.h"
#include "app/result_list_view.h"
#include "gui_fixture.h"
#include "search/result_list_model.h"

namespace quivella::test {
namespace {

constexpr QRgb kBlueText = 0xff0000ff;
constexpr QRgb kGreenText = 0xff008000;

// Sets the three cells of a new row; the cells hold code page 936 bytes (ASCII here).
void AddRow(ResultListModel& list, const Text& number, const Text& question, const Text& answer) {
  const int row = list.AppendRow();
  list.SetCellText(row, 0, number);
  list.SetCellText(row, 1, question);
  list.SetCellText(row, 2, answer);
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { ConfigureTestApplication(); }
  void init() { window = LoadCountingWindow(); }
  void cleanup() { delete window.data(); }

  void windowSettings() {
    QCOMPARE(window->windowTitle(), QStringLiteral("Quivella3.0 "));
    QVERIFY(window->isWindow());
    QVERIFY(window->parentWidget() == nullptr);
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowTitleHint));
    QVERIFY(flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!flags.testFlag(Qt::Tool));
    // Not resizable; the outer size counts the frame (the offscreen platform draws one).
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QCOMPARE(window->frameGeometry().size(), QSize(599, 387));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(window->frameGeometry().topLeft(),
             QPoint((screen.width() - 599) / 2, (screen.height() - 387) / 2));
    QVERIFY(!window->windowIcon().isNull());
    QCOMPARE(window->style()->name().toLower(), QStringLiteral("windows"));
  }

  void controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QRect>("place");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRgb>("textColour");
    QTest::addColumn<bool>("tabStop");
    QTest::newRow("query box") << U("编辑框1") << "QLineEdit" << QRect(41, 40, 512, 32) << QString()
                               << QRgb(0xff000000) << true;
    QTest::newRow("result list") << U("超级列表框1") << "QTableView" << QRect(40, 104, 512, 224)
                                 << QString() << kBlueText << true;
    QTest::newRow("count caption") << U("标签1") << "QLabel" << QRect(48, 80, 72, 16)
                                   << U("共搜索到：") << kBlueText << false;
    QTest::newRow("count") << U("标签2") << "QLabel" << QRect(121, 80, 72, 16) << QString()
                           << kBlueText << false;
    QTest::newRow("credit line") << U("标签3") << "QLabel" << QRect(328, 332, 261, 20)
                                 << QString() << kGreenText << false;
    QTest::newRow("hyperlink") << U("超级链接框1") << "quivella::Hyperlink" << QRect(0, 330, 192, 24)
                               << U("搜不到答案？欢迎来扩充答题！") << kGreenText << false;
  }

  void controls() {
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QRect, place);
    QFETCH(QString, text);
    QFETCH(QRgb, textColour);
    QFETCH(bool, tabStop);

    auto* control = window->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QVERIFY(control->inherits(className.toLatin1().constData()));
    QCOMPARE(control->geometry(), place);
    QVERIFY(control->isVisible());
    QVERIFY(control->isEnabled());
    QCOMPARE(control->focusPolicy() != Qt::NoFocus, tabStop);

    if (auto* box = qobject_cast<QLineEdit*>(control)) {
      QVERIFY(box->text().isEmpty());
      QCOMPARE(box->cursorPosition(), 0);
      QVERIFY(!box->hasSelectedText());
      QVERIFY(box->hasFrame());
      QCOMPARE(box->echoMode(), QLineEdit::Normal);
      QVERIFY(!box->isReadOnly());
      QVERIFY(box->maxLength() > 1'000'000);
      QCOMPARE(box->palette().color(QPalette::Text).rgba(), textColour);
      QCOMPARE(box->palette().color(QPalette::Base).rgba(), QRgb(0xffffffff));
    } else if (auto* list = qobject_cast<QTableView*>(control)) {
      QCOMPARE(list->model()->rowCount(), 0);
      QCOMPARE(list->palette().color(QPalette::Text).rgba(), textColour);
      QCOMPARE(list->palette().color(QPalette::Base).rgba(), QRgb(0xffffffff));
      QCOMPARE(list->frameShadow(), QFrame::Sunken);
    } else if (auto* label = qobject_cast<QLabel*>(control)) {
      if (!text.isEmpty()) {
        QCOMPARE(label->text(), text);
      }
      QCOMPARE(label->palette().color(QPalette::WindowText).rgba(), textColour);
      QVERIFY(label->autoFillBackground());
      QCOMPARE(label->palette().color(QPalette::Window), ButtonFace());
      QCOMPARE(label->alignment(), Qt::AlignLeft | Qt::AlignVCenter);
      QVERIFY(!label->wordWrap());
      QCOMPARE(label->frameShape(), QFrame::NoFrame);
    } else if (auto* link = qobject_cast<Hyperlink*>(control)) {
      QCOMPARE(link->Caption(), text);
      QCOMPARE(link->TextColor().rgba(), textColour);
      QCOMPARE(link->Target().scheme(), QStringLiteral("http"));
      QCOMPARE(link->Target().path(), QStringLiteral("/p/3709030136"));
      QVERIFY(!link->Target().host().isEmpty());
      QCOMPARE(link->font().pixelSize(), 13);
      QCOMPARE(link->font().weight(), QFont::Normal);
      QVERIFY(link->font().underline());
      QVERIFY(!link->font().italic());
      QVERIFY(!link->font().strikeOut());
      QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
    }
  }

  void creditLine() {
    // "2015.4.18", a blank, then "(By:" a handle, a blank and a number ")".
    const QString credit = Control<QLabel>(*window, "标签3")->text();
    static const QRegularExpression shape(
        QStringLiteral("^2015\\.4\\.18 \\(By:\\S+ [0-9][0-9-]*\\)$"));
    QVERIFY2(shape.match(credit).hasMatch(), qPrintable(credit));
  }

  void timerCountsFromCreation() {
    auto* timer = window->findChild<QTimer*>(U("时钟1"));
    QVERIFY(timer != nullptr);
    QCOMPARE(timer->interval(), 3'600'000);
    QVERIFY(!timer->isSingleShot());
    QVERIFY(timer->isActive());
    QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    // Already counting when the created event ran, before the window was shown.
    QCOMPARE(Log.created, 1);
    QVERIFY(Log.timerActiveAtCreated);
    QVERIFY(!Log.visibleAtCreated);
    QVERIFY(window->isVisible());
  }

  void backgroundTiledWithButtonFaceFallback() {
    const QImage picture(QStringLiteral(":/images/background.jpg"));
    if (picture.isNull()) {
      QSKIP("the background picture is not built in");
    }
    // A client point no control covers shows the picture from its top-left corner.
    const QPoint open(10, 10);
    QCOMPARE(window->grab().toImage().pixel(open), picture.pixel(open));
    // The empty count label is an opaque button-face patch on the picture.
    const QPoint inCountLabel(121 + 60, 80 + 8);
    QCOMPARE(QColor(window->grab().toImage().pixel(inCountLabel)), ButtonFace());

    window->SetBackground(QPixmap());  // what an undecodable picture leaves
    QCOMPARE(QColor(window->grab().toImage().pixel(open)), ButtonFace());
  }

  void resultListColumns() {
    auto* list = Control<QTableView>(*window, "超级列表框1");
    QHeaderView* header = list->horizontalHeader();
    QCOMPARE(header->count(), 3);
    const QStringList captions = {U("计"), U("题目"), U("答案")};
    const QList<int> widths = {30, 350, 200};
    for (int column = 0; column < 3; ++column) {
      QCOMPARE(list->model()->headerData(column, Qt::Horizontal).toString(), captions[column]);
      QCOMPARE(header->sectionSize(column), widths[column]);
      QCOMPARE(header->sectionResizeMode(column), QHeaderView::Interactive);
    }
    QVERIFY(!list->verticalHeader()->isVisible());
    QVERIFY(!header->sectionsMovable());
    QVERIFY(!list->isSortingEnabled());
    QVERIFY(list->showGrid());
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!list->tabKeyNavigation());
  }

  void headerClickLeavesOrder() {
    auto* list = Control<QTableView>(*window, "超级列表框1");
    ResultListModel& rows = window->ResultList();
    AddRow(rows, "1", "b?", "x\r");
    AddRow(rows, "3", "c?", "y\r");
    AddRow(rows, "2", "a?", "z\r");
    QHeaderView* header = list->horizontalHeader();
    for (int column : {1, 0, 1}) {
      const QPoint centre(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                          header->height() / 2);
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    }
    for (int visual = 0; visual < 3; ++visual) {
      QCOMPARE(list->verticalHeader()->logicalIndex(visual), visual);
    }
    QCOMPARE(rows.CellText(0, 1), Text("b?"));
    QCOMPARE(rows.CellText(1, 1), Text("c?"));
    QCOMPARE(rows.CellText(2, 1), Text("a?"));
    QVERIFY(!list->selectionModel()->hasSelection());
  }

  void selectionHiddenWhileUnfocused() {
    auto* list = Control<QTableView>(*window, "超级列表框1");
    AddRow(window->ResultList(), "1", "question?", "answer\r");
    list->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(list->hasFocus());
    list->selectRow(0);
    const QRect cell = list->visualRect(list->model()->index(0, 1));
    const QPoint blank(cell.right() - 4, cell.center().y());  // past the question's text
    const QColor focused = list->viewport()->grab().toImage().pixel(blank);
    QCOMPARE(focused, list->palette().color(QPalette::Active, QPalette::Highlight));

    window->QueryBox()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!list->hasFocus());
    QVERIFY(list->selectionModel()->isRowSelected(0, {}));
    const QColor unfocused = list->viewport()->grab().toImage().pixel(blank);
    QCOMPARE(unfocused.rgba(), QRgb(0xffffffff));
  }

  void rowLabelTooltipOnlyWhenCutOff_data() {
    QTest::addColumn<QByteArray>("label");
    QTest::addColumn<bool>("tooltip");
    QTest::newRow("fits") << QByteArray("7") << false;
    QTest::newRow("cut off") << QByteArray("123456789012") << true;
  }

  void rowLabelTooltipOnlyWhenCutOff() {
    QFETCH(QByteArray, label);
    QFETCH(bool, tooltip);
    auto* list = Control<QTableView>(*window, "超级列表框1");
    AddRow(window->ResultList(), label.toStdString(), "q?", "a\r");
    QToolTip::hideText();
    const QPoint at = list->visualRect(list->model()->index(0, 0)).center();
    QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(list->viewport(), &help);
    QCOMPARE(QToolTip::isVisible(), tooltip);
    if (tooltip) {
      QCOMPARE(QToolTip::text(), QString::fromLatin1(label));
    }
    QToolTip::hideText();
  }

 private:
  QPointer<MainWindow> window;
};

}  // namespace quivella::test

QTEST_MAIN(quivella::test::WindowTest)
#include "window_test.moc"

// What the keyboard and the query box do: start-up focus, Tab between the two tab stops, Esc
// from either, Enter and F1 ignored, one text-changed event per editing action and none at
// start-up, and the query box's handler filling the list and the count label.
#include <QClipboard>
#include <QLabel>
#include <QTableView>
#include <QtTest>

#include "app/event_wiring.h"
#include "banks/bank_state.h"
#include "gui_fixture.h"
#include "search/result_list_model.h"

namespace quivella::test {

class InputTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { ConfigureTestApplication(); }
  void init() { window = LoadCountingWindow(); }
  void cleanup() { delete window.data(); }

  void startsWithFocusInQueryBoxAndNoSearch() {
    QTRY_COMPARE(QApplication::focusWidget(), window->QueryBox());
    QCOMPARE(Log.created, 1);
    QCOMPARE(Log.textChanged, 0);
    QCOMPARE(Log.periodic, 0);
    QVERIFY(Control<QLabel>(*window, "标签2")->text().isEmpty());
    QCOMPARE(window->ResultList().RowCount(), 0);
  }

  void tabAlternatesBetweenQueryBoxAndList() {
    QWidget* box = window->QueryBox();
    QWidget* list = Control<QTableView>(*window, "超级列表框1");
    QTRY_COMPARE(QApplication::focusWidget(), box);
    // With rows in it, Tab still leaves the list instead of walking its cells.
    for (int row = 0; row < 2; ++row) {
      window->ResultList().SetCellText(window->ResultList().AppendRow(), 1, "q?");
    }
    const QList<std::pair<Qt::Key, QWidget*>> steps = {
        {Qt::Key_Tab, list}, {Qt::Key_Tab, box}, {Qt::Key_Backtab, list}, {Qt::Key_Backtab, box}};
    for (const auto& [key, expected] : steps) {
      QTest::keyClick(QApplication::focusWidget(), key);
      QCOMPARE(QApplication::focusWidget(), expected);
    }
    QCOMPARE(Log.textChanged, 0);
  }

  void escapeClosesFromEitherControl_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("query box") << U("编辑框1");
    QTest::newRow("result list") << U("超级列表框1");
  }

  void escapeClosesFromEitherControl() {
    QFETCH(QString, control);
    auto* target = window->findChild<QWidget*>(control);
    target->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key_Escape);
    QVERIFY(window->IsClosing());
    QVERIFY(CurrentMainWindow() == nullptr);
    QTRY_VERIFY(window.isNull());  // closing destroys the window
    QCOMPARE(Log.textChanged, 0);
  }

  void enterAndF1DoNothing() {
    for (QWidget* target : {static_cast<QWidget*>(window->QueryBox()),
                            static_cast<QWidget*>(Control<QTableView>(*window, "超级列表框1"))}) {
      target->setFocus(Qt::TabFocusReason);
      QTRY_COMPARE(QApplication::focusWidget(), target);
      for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F1}) {
        QTest::keyClick(target, key);
      }
      QCOMPARE(QApplication::focusWidget(), target);
    }
    QVERIFY(window->isVisible());
    QVERIFY(!window->IsClosing());
    QCOMPARE(Log.textChanged, 0);
    QVERIFY(window->QueryBox()->text().isEmpty());
  }

  void oneEventPerEdit_data() {
    QTest::addColumn<QTestEventList>("setUp");
    QTest::addColumn<QTestEventList>("edit");
    QTest::addColumn<int>("events");
    QTest::addColumn<QString>("textAfter");

    QTestEventList none;
    QTestEventList abc;
    abc.addKeyClicks(QStringLiteral("abc"));
    QTestEventList abcSelected = abc;
    abcSelected.addKeyClick(Qt::Key_A, Qt::ControlModifier);
    QTestEventList abcUndone = abc;
    abcUndone.addKeyClick(Qt::Key_Z, Qt::ControlModifier);

    QTestEventList typeOne;
    typeOne.addKeyClicks(QStringLiteral("a"));
    QTestEventList typeTwo;
    typeTwo.addKeyClicks(QStringLiteral("xy"));
    QTestEventList paste;
    paste.addKeyClick(Qt::Key_V, Qt::ControlModifier);
    QTestEventList deleteKey;
    deleteKey.addKeyClick(Qt::Key_Delete);
    QTestEventList backspace;
    backspace.addKeyClick(Qt::Key_Backspace);
    QTestEventList cut;
    cut.addKeyClick(Qt::Key_X, Qt::ControlModifier);
    QTestEventList undo;
    undo.addKeyClick(Qt::Key_Z, Qt::ControlModifier);
    QTestEventList redo;
    redo.addKeyClick(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);

    QTest::newRow("type one character") << none << typeOne << 1 << U("a");
    QTest::newRow("type two characters") << none << typeTwo << 2 << U("xy");
    QTest::newRow("paste") << none << paste << 1 << U("粘贴 text");
    QTest::newRow("delete a selection") << abcSelected << deleteKey << 1 << QString();
    QTest::newRow("backspace") << abc << backspace << 1 << U("ab");
    QTest::newRow("cut") << abcSelected << cut << 1 << QString();
    QTest::newRow("undo") << abc << undo << 1 << QString();
    QTest::newRow("redo") << abcUndone << redo << 1 << U("abc");
  }

  void oneEventPerEdit() {
    QFETCH(QTestEventList, setUp);
    QFETCH(QTestEventList, edit);
    QFETCH(int, events);
    QFETCH(QString, textAfter);
    QGuiApplication::clipboard()->setText(U("粘贴 text"));
    QLineEdit* box = window->QueryBox();
    setUp.simulate(box);
    Log.textChanged = 0;
    edit.simulate(box);
    QCOMPARE(box->text(), textAfter);
    QCOMPARE(Log.textChanged, events);
  }

  void queryChangeFillsListAndCount() {
    // The program's own handler on a small bank: two questions hold "ab", one does not.
    delete window.data();
    StartUpTable table;
    table.events = EventWiring{nullptr, &OnQueryChanged, nullptr};
    Matcher = std::make_unique<RegexObject>();
    BankText = "abc?x\r\nABD?y\r\nqq?z\r\n";
    window = &LoadMainWindow(table);
    QLineEdit* box = window->QueryBox();
    auto* count = Control<QLabel>(*window, "标签2");

    QTest::keyClicks(box, QStringLiteral("ab"));
    QCOMPARE(window->ResultList().RowCount(), 2);
    QCOMPARE(count->text(), U("2 条"));

    // An invalid pattern empties the list and leaves the count.
    QTest::keyClicks(box, QStringLiteral("("));
    QCOMPARE(window->ResultList().RowCount(), 0);
    QCOMPARE(count->text(), U("2 条"));

    // A character with no code page 936 form matches nothing; as "?" it would match all.
    QTest::keyClick(box, Qt::Key_Backspace);
    QKeyEvent thai(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, U("\u0e01"));
    QCoreApplication::sendEvent(box, &thai);
    QCOMPARE(window->ResultList().RowCount(), 0);
    QCOMPARE(count->text(), U("0 条"));

    delete window.data();
    Matcher.reset();
    BankText.clear();
  }

 private:
  QPointer<MainWindow> window;
};

}  // namespace quivella::test

QTEST_MAIN(quivella::test::InputTest)
#include "input_test.moc"

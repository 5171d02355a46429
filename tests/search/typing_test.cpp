// Typing into the real window: every keystroke runs the search against the bank in use and
// the list and count label show that keystroke's result; clearing the box lists every question.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "app/event_wiring.h"
#include "app/main_window.h"
#include "app/program.h"
#include "banks/bank_state.h"
#include "platform/cp936.h"
#include "tests/support/scratch.h"
#include "search/query_search.h"

namespace quivella::test {
namespace {

Text ReadBank(const char* name) {
  return testing::FileBytes(std::string(QUIVELLA_RESOURCES_DIR) + "/" + name).value_or("");
}

QString Shown(const Text& text) { return QString::fromStdU16String(StandardToUtf16(text)); }

// Types text into the box as one key press carrying it, as an input method delivers it.
void Type(QLineEdit* box, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
  QCoreApplication::sendEvent(box, &press);
}

}  // namespace

class TypingTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    qobject_cast<QApplication*>(QCoreApplication::instance())->setQuitOnLastWindowClosed(false);
    Matcher = std::make_unique<RegexObject>();
    BankText = ReadBank("kjxs.txt");
    QVERIFY(!BankText.empty());
    StartUpTable table;
    table.events = EventWiring{nullptr, &OnQueryChanged, nullptr};
    window = &LoadMainWindow(table);
  }

  void cleanupTestCase() {
    delete window;
    Matcher.reset();
    BankText.clear();
  }

  void everyKeystrokeShowsItsOwnResult() {
    QLineEdit* box = window->QueryBox();
    auto* count = window->findChild<QLabel*>(QString::fromUtf8("标签2"));
    QVERIFY(count != nullptr);
    QCOMPARE(count->text(), QString());  // no search before the first edit

    RegexObject reference;
    ResultListModel expected;
    const QString query = QString::fromUtf8("中国的");
    for (qsizetype i = 0; i < query.size(); ++i) {
      Type(box, query.mid(i, 1));
      const std::u16string typed = box->text().toStdU16String();
      const std::optional<Text> label =
          RunQuerySearch(reference, BankText, QueryTextFromUtf16(typed), expected);
      QVERIFY(label.has_value());
      QCOMPARE(count->text(), Shown(*label));
      QCOMPARE(window->ResultList().RowCount(), expected.RowCount());
      for (int r = 0; r < expected.RowCount(); ++r) {
        QCOMPARE(window->ResultList().CellText(r, 1), expected.CellText(r, 1));
      }
    }
    QVERIFY(count->text() != QString::fromUtf8("325 条"));

    // Clearing the box is an edit too: the empty query lists every question.
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), QString());
    QCOMPARE(count->text(), QString::fromUtf8("325 条"));
    QCOMPARE(window->ResultList().RowCount(), 325);
    QCOMPARE(window->ResultList().CellText(0, 0), Text("1"));
  }

 private:
  MainWindow* window = nullptr;
};

}  // namespace quivella::test

QTEST_MAIN(quivella::test::TypingTest)
#include "typing_test.moc"

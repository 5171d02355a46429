// The hyperlink's state machine (hover with mouse capture, open on press, visited = outcome of
// the last press, with the desktop fallback) and how the fallback finds the HTML program.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/hyperlink.h"
#include "app/link_opener.h"
#include "gui_fixture.h"

namespace quivella::test {
namespace {

constexpr QRgb kRedText = 0xffff0000;
constexpr QRgb kDarkRedText = 0xff800000;
constexpr QRgb kGreenText = 0xff008000;

// Answers with preset outcomes and records what was asked.
struct FakeOpener : LinkOpener {
  bool defaultWorks = false;
  bool fallbackWorks = false;
  int defaultCalls = 0;
  int fallbackCalls = 0;
  QUrl lastUrl;

  bool OpenWithDefaultHandler(const QUrl& url) override {
    ++defaultCalls;
    lastUrl = url;
    return defaultWorks;
  }
  bool OpenWithHtmlProgram(const QUrl& url) override {
    ++fallbackCalls;
    lastUrl = url;
    return fallbackWorks;
  }
};

void WriteFile(const QString& path, const QByteArray& contents) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(contents);
}

}  // namespace

class HyperlinkTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { ConfigureTestApplication(); }

  void init() {
    window = LoadCountingWindow();
    link = Control<Hyperlink>(*window, "超级链接框1");
    auto fake = std::make_unique<FakeOpener>();
    opener = fake.get();
    link->SetOpener(std::move(fake));
    QTest::mouseMove(window.data(), QPoint(300, 200));  // start away from the link
  }
  void cleanup() { delete window.data(); }

  void hoverTakesCaptureUntilPointerLeaves() {
    QVERIFY(!link->IsHovered());
    QTest::mouseMove(window.data(), link->geometry().center());
    QTRY_VERIFY(link->IsHovered());
    QCOMPARE(link->TextColor().rgba(), kRedText);
    QCOMPARE(QWidget::mouseGrabber(), link);

    QTest::mouseMove(link, QPoint(link->width() - 1, 2));  // still inside, captured
    QVERIFY(link->IsHovered());
    QTest::mouseMove(link, QPoint(link->width() + 20, 2));  // outside its rectangle
    QVERIFY(!link->IsHovered());
    QVERIFY(QWidget::mouseGrabber() == nullptr);
    QCOMPARE(link->TextColor().rgba(), kGreenText);
    QCOMPARE(opener->defaultCalls, 0);
  }

  void pressOpensAndSetsVisited_data() {
    QTest::addColumn<bool>("defaultWorks");
    QTest::addColumn<bool>("fallbackWorks");
    QTest::addColumn<bool>("visited");
    QTest::addColumn<int>("fallbackCalls");
    QTest::newRow("default handler opens it") << true << false << true << 0;
    QTest::newRow("HTML program opens it") << false << true << true << 1;
    QTest::newRow("nothing opens it") << false << false << false << 1;
  }

  void pressOpensAndSetsVisited() {
    QFETCH(bool, defaultWorks);
    QFETCH(bool, fallbackWorks);
    QFETCH(bool, visited);
    QFETCH(int, fallbackCalls);
    opener->defaultWorks = defaultWorks;
    opener->fallbackWorks = fallbackWorks;

    QTest::mouseMove(window.data(), link->geometry().center());
    QTRY_VERIFY(link->IsHovered());
    QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
    // Opened on the press, not on the release.
    QCOMPARE(opener->defaultCalls, 1);
    QCOMPARE(opener->fallbackCalls, fallbackCalls);
    QCOMPARE(opener->lastUrl, QUrl(QString::fromLatin1(kForumLink)));
    QCOMPARE(link->IsVisited(), visited);
    QCOMPARE(link->TextColor().rgba(), kRedText);  // still hovered
    QTest::mouseRelease(link, Qt::LeftButton, {}, link->rect().center());
    QCOMPARE(opener->defaultCalls, 1);

    QTest::mouseMove(link, QPoint(-10, -10));
    QVERIFY(!link->IsHovered());
    QCOMPARE(link->TextColor().rgba(), visited ? kDarkRedText : kGreenText);
  }

  void failedPressClearsVisited() {
    opener->defaultWorks = true;
    QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
    QVERIFY(link->IsVisited());
    opener->defaultWorks = false;
    QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
    QVERIFY(!link->IsVisited());
    // Only the left button opens.
    QTest::mousePress(link, Qt::RightButton, {}, link->rect().center());
    QCOMPARE(opener->defaultCalls, 2);
  }

  void takesNoFocus() {
    QTRY_COMPARE(QApplication::focusWidget(), window->QueryBox());
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    QCOMPARE(QApplication::focusWidget(), window->QueryBox());
    QCOMPARE(Log.textChanged, 0);
  }

  void execLineToCommand_data() {
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("command");  // program first; empty when malformed
    const QString url = QStringLiteral("http://example.test/p/1");
    QTest::newRow("url code") << "browser %u" << QStringList{"browser", url};
    QTest::newRow("file list code, options") << "browser --new-window %F"
                                             << QStringList{"browser", "--new-window", url};
    QTest::newRow("no code: address appended") << "browser" << QStringList{"browser", url};
    QTest::newRow("icon and name codes dropped")
        << "browser %i %c %k %U" << QStringList{"browser", url};
    QTest::newRow("quoted program and escaped quote")
        << "\"/opt/my browser/run\" \"say \\\"hi\\\"\" %u"
        << QStringList{"/opt/my browser/run", "say \"hi\"", url};
    QTest::newRow("literal percent") << "browser --zoom=100%% %u"
                                     << QStringList{"browser", "--zoom=100%", url};
    QTest::newRow("unclosed quote") << "\"browser %u" << QStringList{};
    QTest::newRow("only codes") << "%u" << QStringList{};
  }

  void execLineToCommand() {
    QFETCH(QString, exec);
    QFETCH(QStringList, command);
    const std::optional<LaunchCommand> made =
        CommandFromExec(exec, QUrl(QStringLiteral("http://example.test/p/1")));
    if (command.isEmpty()) {
      QVERIFY(!made.has_value());
      return;
    }
    QVERIFY(made.has_value());
    QCOMPARE(QStringList{made->program} + made->arguments, command);
  }

  void htmlProgramFromDesktopConfiguration() {
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString userConfig = root.filePath(QStringLiteral("config"));
    const QString userApps = root.filePath(QStringLiteral("share/applications"));
    const QString systemApps = root.filePath(QStringLiteral("usr/applications"));
    const QStringList configDirs = {userConfig};
    const QStringList appDirs = {userApps, systemApps};
    const QUrl url(QStringLiteral("http://example.test/p/1"));

    // Nothing registered.
    QVERIFY(!FindHtmlProgram(configDirs, appDirs, url).has_value());

    // Only the cache of the system directory lists a program for text/html.
    WriteFile(systemApps + "/viewer.desktop", "[Desktop Entry]\nName=Viewer\nExec=viewer %u\n");
    WriteFile(systemApps + "/mimeinfo.cache", "[MIME Cache]\ntext/html=viewer.desktop;\n");
    std::optional<LaunchCommand> found = FindHtmlProgram(configDirs, appDirs, url);
    QVERIFY(found.has_value());
    QCOMPARE(found->program, QStringLiteral("viewer"));

    // The user's default wins; a listed entry that is not installed is passed over, and the
    // user's copy of an entry hides the system's.
    WriteFile(systemApps + "/browser.desktop", "[Desktop Entry]\nExec=browser-system %u\n");
    WriteFile(userApps + "/browser.desktop",
              "[Desktop Entry]\nName=Browser\nExec=browser-user --new %u\n[Other]\nExec=no\n");
    WriteFile(userConfig + "/mimeapps.list",
              "[Added Associations]\ntext/html=viewer.desktop;\n"
              "[Default Applications]\ntext/html=missing.desktop;browser.desktop;\n");
    found = FindHtmlProgram(configDirs, appDirs, url);
    QVERIFY(found.has_value());
    QCOMPARE(found->program, QStringLiteral("browser-user"));
    QCOMPARE(found->arguments, (QStringList{"--new", url.toString()}));
  }

 private:
  QPointer<MainWindow> window;
  Hyperlink* link = nullptr;
  FakeOpener* opener = nullptr;
};

}  // namespace quivella::test

QTEST_MAIN(quivella::test::HyperlinkTest)
#include "hyperlink_test.moc"

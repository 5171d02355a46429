// The whole start-up and shutdown order, run in child processes because the paths end the
// process: a normal run closed by its window, a run whose window closes before the loop, a
// memory request that cannot be met, and a main window that cannot be created. The test binary
// starts itself with QUIVELLA_PROGRAM_CHILD naming the scenario; the child reports on stdout.
#include <QProcess>
#include <QtTest>
#include <cstdio>
#include <new>

#include "app/event_wiring.h"
#include "app/fatal_error.h"
#include "banks/bank_state.h"
#include "gui_fixture.h"
#include "platform/cp936.h"
#include "platform/regex/regexp_component.h"

namespace quivella::test {
namespace {

constexpr const char* kChildVariable = "QUIVELLA_PROGRAM_CHILD";

QString YesNo(bool value) { return value ? QStringLiteral("yes") : QStringLiteral("no"); }

void Report(const QString& line) {
  std::printf("%s\n", line.toUtf8().constData());
  std::fflush(stdout);
}

// The created handler of the children: leaves something for the exit cleanup to release.
void FillGlobals() {
  TempDir = "/tmp/x/";
  BankPath = "/tmp/x/sjqy.txt";
  BankText = "q?a\r\n";
}

int HandlerCalls = 0;
void CountCall() { ++HandlerCalls; }

void CloseLater() {
  FillGlobals();
  QTimer::singleShot(0, [] { CurrentMainWindow()->close(); });
}

void CloseAtOnce() {
  FillGlobals();
  CurrentMainWindow()->close();
}

void ExhaustMemoryLater() {
  FillGlobals();
  QTimer::singleShot(0, [] {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer's allocator reports instead of calling the handler; call it as the
    // standard allocator would.
    std::get_new_handler()();
#else
    volatile std::size_t huge = std::size_t{1} << 62;
    void* never = ::operator new(huge);
    Report(QStringLiteral("allocated %1").arg(reinterpret_cast<quintptr>(never)));
#endif
  });
}

void ToolkitOutOfMemoryLater() {
  FillGlobals();
  // What the toolkit does when its own allocation fails.
  QTimer::singleShot(0, [] { throw std::bad_alloc(); });
}

MainWindow* NoWindow() { return nullptr; }

// Stands in for the error box: reports the message, then lets keystrokes and a timer tick
// arrive in a nested event loop, as they would while the real box is open.
void ReportingBox(const Text& message) {
  Report(QStringLiteral("box: ") + QString::fromStdU16String(StandardToUtf16(message)));
  Report(QStringLiteral("dispatch open: %1").arg(YesNo(IsDispatchOpen())));
  if (MainWindow* window = CurrentMainWindow()) {
    QTest::keyClicks(window->QueryBox(), QStringLiteral("ab"));
    window->Timer()->start(0);
    QSignalSpy tick(window->Timer(), &QTimer::timeout);
    tick.wait(10'000);
    Report(QStringLiteral("ticks while open: %1").arg(tick.count()));
  }
  Report(QStringLiteral("handlers while open: %1").arg(HandlerCalls));
}

// Runs one scenario in this process and returns the exit code main should give.
int RunChild(const QByteArray& scenario) {
  Report(QStringLiteral("depth before: %1").arg(platform::ApartmentDepth()));
  SetFatalErrorBox(&ReportingBox);
  StartUpTable table;
  table.events = EventWiring{nullptr, &CountCall, &CountCall};
  if (scenario == "normal") {
    table.events.created = &CloseLater;
  } else if (scenario == "closed before loop") {
    table.events.created = &CloseAtOnce;
  } else if (scenario == "out of memory") {
    table.events.created = &ExhaustMemoryLater;
  } else if (scenario == "toolkit out of memory") {
    table.events.created = &ToolkitOutOfMemoryLater;
  } else if (scenario == "no window") {
    table.createMainWindow = &NoWindow;
  } else {
    return 2;
  }
  StartProgramWith(table);
  Report(QStringLiteral("returned: texts empty %1, matcher gone %2, depth %3, dispatch open %4")
             .arg(YesNo(TempDir.empty() && BankPath.empty() && BankText.empty()),
                  YesNo(Matcher == nullptr))
             .arg(platform::ApartmentDepth())
             .arg(YesNo(IsDispatchOpen())));
  return 0;
}

}  // namespace

class ProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void scenarios_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("lines");  // each must appear in the child's report
    const QStringList cleanShutdown = {
        "depth before: 0",
        "returned: texts empty yes, matcher gone yes, depth 0, dispatch open no"};
    QTest::newRow("normal") << "normal" << 0 << cleanShutdown;
    QTest::newRow("closed before loop") << "closed before loop" << 0 << cleanShutdown;
    // -1 as the shell sees it; the box saw no handler run and the process never returned.
    QTest::newRow("out of memory")
        << "out of memory" << 255
        << QStringList{U("box: 内存不足，程序无法继续运行。"), "dispatch open: no",
                       "ticks while open: 1", "handlers while open: 0"};
    QTest::newRow("toolkit out of memory")
        << "toolkit out of memory" << 255
        << QStringList{U("box: 内存不足，程序无法继续运行。"), "dispatch open: no",
                       "handlers while open: 0"};
    QTest::newRow("no window") << "no window" << 255
                               << QStringList{U("box: 无法创建主窗口。"), "dispatch open: no",
                                              "handlers while open: 0"};
  }

  void scenarios() {
    QFETCH(QString, scenario);
    QFETCH(int, exitCode);
    QFETCH(QStringList, lines);

    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kChildVariable), scenario);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForFinished(60'000));
    const QString report = QString::fromUtf8(child.readAllStandardOutput());
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QVERIFY2(child.exitCode() == exitCode, qPrintable(report));
    for (const QString& line : lines) {
      QVERIFY2(report.contains(line), qPrintable(QStringLiteral("missing \"%1\" in:\n%2")
                                                     .arg(line, report)));
    }
    if (exitCode != 0) {
      QVERIFY2(!report.contains(QStringLiteral("returned:")), qPrintable(report));
    }
  }
};

}  // namespace quivella::test

int main(int argc, char** argv) {
  const QByteArray scenario = qgetenv(quivella::test::kChildVariable);
  if (!scenario.isEmpty()) {
    return quivella::test::RunChild(scenario);
  }
  QApplication application(argc, argv);
  quivella::test::ProgramTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "program_test.moc"

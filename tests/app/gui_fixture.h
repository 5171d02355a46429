// Shared set-up of the window tests: the application configured as the program configures it,
// and a main window loaded with counting handlers in place of the program's own.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "app/main_window.h"
#include "app/program.h"

namespace quivella::test {

// What the counting handlers saw.
struct HandlerLog {
  int created = 0;
  int textChanged = 0;
  int periodic = 0;
  bool visibleAtCreated = true;
  bool timerActiveAtCreated = false;
};

inline HandlerLog Log;

inline void CountCreated() {
  ++Log.created;
  MainWindow* window = CurrentMainWindow();
  Log.visibleAtCreated = window->isVisible();
  Log.timerActiveAtCreated = window->Timer()->isActive();
}
inline void CountTextChanged() { ++Log.textChanged; }
inline void CountPeriodic() { ++Log.periodic; }

inline StartUpTable CountingTable() {
  StartUpTable table;
  table.events = EventWiring{&CountCreated, &CountTextChanged, &CountPeriodic};
  return table;
}

// Gives the test application the program's style and icon; the test decides when to quit.
inline void ConfigureTestApplication() {
  auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
  ConfigureApplication(*application);
  application->setQuitOnLastWindowClosed(false);
}

// Loads a fresh main window with counting handlers and waits until it is active.
inline QPointer<MainWindow> LoadCountingWindow() {
  Log = HandlerLog{};
  QPointer<MainWindow> window = &LoadMainWindow(CountingTable());
  if (!QTest::qWaitForWindowActive(window.data())) {
    qWarning("the main window did not become active");
  }
  return window;
}

// Spells a UTF-8 literal as a QString.
inline QString U(const char* utf8) { return QString::fromUtf8(utf8); }

template <typename T>
T* Control(MainWindow& window, const char* name) {
  return window.findChild<T*>(QString::fromUtf8(name));
}

}  // namespace quivella::test

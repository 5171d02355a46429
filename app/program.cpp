// Start-up, message loop, exit cleanup and shutdown of the program.
#include "app/program.h"

#include <QIcon>
#include <QPointer>
#include <QStyleFactory>
#include <QWindow>
#include <utility>

#include "app/fatal_error.h"
#include "app/main_window.h"
#include "banks/bank_state.h"
#include "platform/regex/regexp_component.h"

// Registers the pictures built into the core library; a static library's resources are not
// registered by themselves. Outside any namespace, as the registration macro requires.
static void RegisterImageResources() {
#ifdef QUIVELLA_HAVE_IMAGES
  Q_INIT_RESOURCE(quivella_images);
#endif
}

namespace quivella {

std::unique_ptr<RegexObject> Matcher;
ExitCleanup ExitCleanupSlot = nullptr;

namespace {

constexpr const char* kIconResource = ":/images/icon.png";

// The Qt application of the platform layer; the program has no command line of its own.
std::unique_ptr<QApplication> Application;
int ArgumentCount = 1;
char ProgramName[] = "quivella";
char* Arguments[] = {ProgramName, nullptr};

QPointer<MainWindow> TheMainWindow;

// Releases a text's storage, not only its contents.
void Release(Text& text) {
  if (!text.empty() || text.capacity() > 0) {
    Text().swap(text);
  }
}

// Brings up the platform layer: memory handler, Qt application, the component apartment.
void PlatformUp() {
  InstallMemoryHandler();
  Application = std::make_unique<QApplication>(ArgumentCount, Arguments);
  ConfigureApplication(*Application);
  platform::ApartmentInitialize();
}

// Takes the platform layer down: what is left of the window, the application, the apartment.
void PlatformDown() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  delete TheMainWindow.data();
  Application.reset();
  platform::ApartmentUninitialize();
}

// Closes the dispatch and runs the exit cleanup once.
void ShutDown() {
  CloseDispatch();
  if (const ExitCleanup cleanup = std::exchange(ExitCleanupSlot, nullptr)) {
    cleanup();
  }
  PlatformDown();
}

}  // namespace

MainWindow* CreateMainWindow() {
  auto* window = new MainWindow();
  // Create the native window now, still hidden, so a failure shows before anything else runs.
  window->winId();
  if (window->windowHandle() == nullptr) {
    delete window;
    return nullptr;
  }
  return window;
}

void ConfigureApplication(QApplication& application) {
  RegisterImageResources();
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) {
    QApplication::setStyle(style);
  }
  QApplication::setWindowIcon(QIcon(QString::fromLatin1(kIconResource)));
  // Closing the one window ends the loop.
  application.setQuitOnLastWindowClosed(true);
}

MainWindow& LoadMainWindow(const StartUpTable& table) {
  MainWindow* window = table.createMainWindow != nullptr ? table.createMainWindow() : nullptr;
  if (window == nullptr) {
    ReportFatalError(kWindowFailedMessage);
  }
  TheMainWindow = window;
  ConnectEvents(*window, table.events);
  window->RaiseCreated();
  if (CurrentMainWindow() != nullptr) {
    window->show();
    window->activateWindow();
    window->raise();
  }
  return *window;
}

MainWindow* CurrentMainWindow() {
  MainWindow* window = TheMainWindow.data();
  return window != nullptr && !window->IsClosing() ? window : nullptr;
}

void RunMessageLoop() {
  if (CurrentMainWindow() == nullptr) {
    return;
  }
  QApplication::exec();
}

void OnProgramExit() {
  Release(TempDir);
  Release(BankPath);
  Release(BankText);
  if (Matcher != nullptr) {
    Matcher->Destroy();
    Matcher.reset();
  }
}

void StartProgramWith(const StartUpTable& table) {
  PlatformUp();
  Matcher = std::make_unique<RegexObject>();
  ExitCleanupSlot = &OnProgramExit;
  LoadMainWindow(table);
  RunMessageLoop();
  ShutDown();
}

void StartProgram() { StartProgramWith(StartUpTable{}); }

}  // namespace quivella

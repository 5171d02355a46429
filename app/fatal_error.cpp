// Fatal-error reporting and the memory handler.
#include "app/fatal_error.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>

#include "app/event_wiring.h"
#include "app/program.h"
#include "platform/cp936.h"
#include "platform/regex/regexp_component.h"

namespace quivella {

// "内存不足，程序无法继续运行。" and "无法创建主窗口。" in code page 936, spelt as bytes so that
// reporting a failed memory request needs no conversion.
const Text kOutOfMemoryMessage =
    "\xC4\xDA\xB4\xE6\xB2\xBB\xD7\xE3\xA3\xAC\xB3\xCC\xD0\xF2\xCE\xDE\xB7\xA8\xBC\xCC\xD0\xF8"
    "\xD4\xCB\xD0\xD0\xA1\xA3";
const Text kWindowFailedMessage = "\xCE\xDE\xB7\xA8\xB4\xB4\xBD\xA8\xD6\xF7\xB4\xB0\xBF\xDA\xA1\xA3";

namespace {

constexpr std::size_t kMemoryReserveBytes = 1 << 20;

// Given back when memory runs out, so the error box can still be built.
std::unique_ptr<char[]> MemoryReserve;
bool Reporting = false;

// Shows the real error box: modal, with no owner window.
void ShowFatalErrorBox(const Text& message) {
  const QString text = QString::fromStdU16String(StandardToUtf16(message));
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return;
  }
  QMessageBox::critical(nullptr, QStringLiteral("错误"), text);
}

FatalErrorBox Box = &ShowFatalErrorBox;

void OnMemoryExhausted() {
  MemoryReserve.reset();
  ReportFatalError(kOutOfMemoryMessage);
}

// Ends the process on an exception nothing caught. The toolkit reports a failed allocation of
// its own by throwing std::bad_alloc past the new handler; that is the same fatal error.
[[noreturn]] void OnUncaughtException() {
  if (const std::exception_ptr exception = std::current_exception()) {
    try {
      std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
      MemoryReserve.reset();
      ReportFatalError(kOutOfMemoryMessage);
    } catch (...) {
    }
  }
  std::abort();
}

}  // namespace

void SetFatalErrorBox(FatalErrorBox box) { Box = box != nullptr ? box : &ShowFatalErrorBox; }

void ReportFatalError(const Text& message) {
  // A failure while the box is being shown (memory running out again) ends at once.
  if (!Reporting) {
    Reporting = true;
    CloseDispatch();
    Box(message);
  }
  ExitCleanupSlot = nullptr;
  platform::ApartmentUninitialize();
  std::fflush(nullptr);
  // No exit cleanup, no destructors: the state of the process cannot be trusted any more.
  std::_Exit(-1);
}

void InstallMemoryHandler() {
  if (MemoryReserve == nullptr) {
    MemoryReserve = std::make_unique<char[]>(kMemoryReserveBytes);
  }
  std::set_new_handler(&OnMemoryExhausted);
  std::set_terminate(&OnUncaughtException);
}

}  // namespace quivella

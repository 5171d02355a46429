// Fatal-error reporting: a memory request that cannot be met, or a main window that cannot be
// created. The report closes the event dispatch, shows a modal error box with no owner, empties
// the exit-cleanup slot and ends the process with exit code -1.
#pragma once

#include "platform/text.h"

namespace quivella {

// The messages of the two fatal errors, in code page 936.
extern const Text kOutOfMemoryMessage;   // "内存不足，程序无法继续运行。"
extern const Text kWindowFailedMessage;  // "无法创建主窗口。"

// Shows message in a modal error box and returns when it is dismissed.
using FatalErrorBox = void (*)(const Text& message);
// Replaces the error box, so tests never block on it; nullptr restores the real box.
void SetFatalErrorBox(FatalErrorBox box);

// Reports a fatal error and ends the process with exit code -1, without the exit cleanup.
[[noreturn]] void ReportFatalError(const Text& message);

// Routes every memory request that cannot be met to ReportFatalError, keeping a reserve that is
// given back first so the error box itself can be built: the new handler for the program's own
// requests, and the terminate handler for std::bad_alloc that the toolkit throws for its own.
void InstallMemoryHandler();

}  // namespace quivella

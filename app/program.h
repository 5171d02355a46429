// The frame of the whole program: start-up order, the global regular-expression object, the
// exit cleanup, the message loop and the shutdown sequence.
//
// Start-up: platform layer up (Qt application in the classic Windows style, the component
// apartment, the memory handler), Matcher created, OnProgramExit put in the exit-cleanup slot,
// the main window loaded (built hidden, created event handled, then shown), the message loop.
// Shutdown: dispatch closed, the exit cleanup run once, platform layer down.
#pragma once

#include <QApplication>
#include <memory>

#include "app/event_wiring.h"
#include "search/regex_object.h"

namespace quivella {

class MainWindow;

// The one regular-expression object, from before the main window is created until the exit
// cleanup.
extern std::unique_ptr<RegexObject> Matcher;

// The exit cleanup routine; filled by StartProgram, emptied when it runs or on a fatal error.
using ExitCleanup = void (*)();
extern ExitCleanup ExitCleanupSlot;

// Makes the main window with its controls, hidden; nullptr when it cannot be created.
using MainWindowFactory = MainWindow* (*)();
MainWindow* CreateMainWindow();

// What StartProgram uses; tests swap the handlers and the window factory.
struct StartUpTable {
  EventWiring events = ProgramWiring();
  MainWindowFactory createMainWindow = &CreateMainWindow;
};

// Runs the program from start-up to the end of the shutdown sequence.
void StartProgram();
// Runs the same sequence with table's handlers and window factory.
void StartProgramWith(const StartUpTable& table);

// Releases TempDir, BankPath and BankText and destroys Matcher.
void OnProgramExit();

// Gives the application the program's style and icon.
void ConfigureApplication(QApplication& application);

// Creates the main window, wires its events, raises the created event and, once its handler
// has returned, shows and activates the window. A window that cannot be created is fatal.
MainWindow& LoadMainWindow(const StartUpTable& table);

// Returns the main window while it exists and has not been closed; nullptr otherwise.
MainWindow* CurrentMainWindow();

// Takes and dispatches messages until the quit message; skipped when no window exists.
void RunMessageLoop();

}  // namespace quivella

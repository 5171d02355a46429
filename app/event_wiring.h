// The event dispatch of the application shell: the three events that reach the program's own
// code, the fixed table that routes them to their handlers, and the open/closed switch that
// stops every handler once shutdown or a fatal-error report has begun.
#pragma once

namespace quivella {

class MainWindow;

// An event handler: no arguments, no result.
using Handler = void (*)();

// Which handler each of the three events runs.
struct EventWiring {
  Handler created = nullptr;      // the main window's created event
  Handler textChanged = nullptr;  // every edit of the query box 编辑框1
  Handler periodic = nullptr;     // every tick of the timer 时钟1
};

// Returns the program's wiring: created -> ExtractBanks, text changed -> OnQueryChanged,
// periodic -> OnTimerTick.
const EventWiring& ProgramWiring();

// Runs handler when the dispatch is open; does nothing once it has closed.
void Dispatch(Handler handler);
// Closes the dispatch for good: no handler runs afterwards, also not from a nested event loop.
void CloseDispatch();
bool IsDispatchOpen();

// Routes the window's created event, the query box's edits and the timer's ticks through the
// dispatch to the handlers of wiring.
void ConnectEvents(MainWindow& window, const EventWiring& wiring);

// Handles an edit of the query box: searches the bank in use for the typed text, fills the
// result list and sets the count label 标签2 when the search gives a count.
void OnQueryChanged();

}  // namespace quivella

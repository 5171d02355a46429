// The event dispatch, the program's wiring table and the query box's handler.
#include "app/event_wiring.h"

#include <QLineEdit>
#include <QTimer>
#include <string_view>

#include "app/main_window.h"
#include "app/program.h"
#include "banks/bank_selection.h"
#include "banks/bank_state.h"
#include "banks/extraction.h"
#include "platform/cp936.h"
#include "search/query_search.h"

namespace quivella {
namespace {

// Open from start-up on; closed for good by the shutdown sequence or a fatal-error report.
bool DispatchOpen = true;

}  // namespace

const EventWiring& ProgramWiring() {
  static const EventWiring wiring{&ExtractBanks, &OnQueryChanged, &OnTimerTick};
  return wiring;
}

void Dispatch(Handler handler) {
  if (DispatchOpen && handler != nullptr) {
    handler();
  }
}

void CloseDispatch() { DispatchOpen = false; }

bool IsDispatchOpen() { return DispatchOpen; }

void ConnectEvents(MainWindow& window, const EventWiring& wiring) {
  QObject::connect(&window, &MainWindow::Created, &window,
                   [handler = wiring.created] { Dispatch(handler); });
  // textEdited comes with every user edit (typing, deleting, paste, cut, undo, redo) and never
  // from a text set by the program, so nothing fires at start-up.
  QObject::connect(window.QueryBox(), &QLineEdit::textEdited, &window,
                   [handler = wiring.textChanged] { Dispatch(handler); });
  QObject::connect(window.Timer(), &QTimer::timeout, &window,
                   [handler = wiring.periodic] { Dispatch(handler); });
}

void OnQueryChanged() {
  MainWindow* shown = CurrentMainWindow();
  if (shown == nullptr) {
    return;  // an edit that arrives while the window is being closed
  }
  MainWindow& window = *shown;
  const QString typed = window.QueryText();
  const Text query = QueryTextFromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(typed.utf16()),
                          static_cast<std::size_t>(typed.size())));
  if (const std::optional<Text> count = RunQuerySearch(*Matcher, BankText, query,
                                                       window.ResultList())) {
    window.SetCountCaption(QString::fromStdU16String(StandardToUtf16(*count)));
  }
}

}  // namespace quivella

// Choosing and loading the bank in use.
#include "banks/bank_selection.h"

#include "banks/bank_files.h"
#include "banks/bank_state.h"
#include "platform/files.h"

namespace quivella {

ClockSource SelectionClock;

std::string_view BankNameForHour(int hour) {
  return hour < KjxsFirstHour ? SjqyFileName : KjxsFileName;
}

void SelectBank() {
  const DateTime now = FetchNetworkTime(SelectionClock.url, SelectionClock.limits);
  const std::string_view name = BankNameForHour(HourOfDay(now));
  BankPath = TempDir + std::string(name);
  BankText = ReadWholeText(BankPath);
}

void OnTimerTick() { SelectBank(); }

}  // namespace quivella

// Placeholder until the bank selection lands.
#include "banks/bank_selection.h"

namespace quivella {

void SelectBank() {}
void OnTimerTick() { SelectBank(); }

}  // namespace quivella

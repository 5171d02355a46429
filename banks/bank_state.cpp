// The bank state's storage; every value is empty at process start.
#include "banks/bank_state.h"

namespace quivella {

Text TempDir;
Text BankPath;
Text BankText;

}  // namespace quivella

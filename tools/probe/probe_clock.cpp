// quivella-probe clock URL: reads the network clock from URL and prints the Beijing time it
// tells, with the hour and the bank the selection would pick:
//   YYYY-MM-DD HH:MM:SS hour=H bank=NAME
#include <cstdio>

#include "banks/bank_selection.h"
#include "banks/network_clock.h"
#include "tools/probe/probe.h"

namespace quivella::probe {

int RunClock(int argc, char** argv) {
  if (argc != 1) {
    std::fputs("usage: quivella-probe clock URL\n", stderr);
    return 2;
  }
  const DateTime now = FetchNetworkTime(argv[0]);
  const CivilTime civil = SplitDateTime(now);
  const std::string_view bank = BankNameForHour(civil.hour);
  std::printf("%04d-%02d-%02d %02d:%02d:%02d hour=%d bank=%.*s\n", civil.year, civil.month,
              civil.day, civil.hour, civil.minute, civil.second, civil.hour,
              static_cast<int>(bank.size()), bank.data());
  return 0;
}

}  // namespace quivella::probe

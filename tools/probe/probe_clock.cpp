// quivella-probe clock: not built yet.
#include <cstdio>

#include "tools/probe/probe.h"

namespace quivella::probe {

int RunClock(int, char**) {
  std::fputs("quivella-probe clock: not available yet\n", stderr);
  return 2;
}

}  // namespace quivella::probe

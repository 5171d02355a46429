// quivella-probe search: not built yet.
#include <cstdio>

#include "tools/probe/probe.h"

namespace quivella::probe {

int RunSearch(int, char**) {
  std::fputs("quivella-probe search: not available yet\n", stderr);
  return 2;
}

}  // namespace quivella::probe

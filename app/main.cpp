// The process entry point: everything happens inside StartProgram.
#include "app/program.h"

int main() {
  quivella::StartProgram();
  return 0;
}
